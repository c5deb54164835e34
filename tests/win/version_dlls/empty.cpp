// The version test libraries carry nothing but their version resources.
