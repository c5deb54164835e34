// The version test libraries carry nothing but their version resources
// (or, for one of them, none at all).
