extern "C" __declspec(dllimport) int Greeting();
const int g_greeting = Greeting();
