__declspec(dllexport) int Greeting(void) { return 42; }
