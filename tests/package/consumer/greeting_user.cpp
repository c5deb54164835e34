// The program's use of the third-party DLL, made at its start.
extern "C" __declspec(dllimport) int Greeting();
const int g_greeting = Greeting();
