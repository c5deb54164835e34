// The control of the planting test: a program that imports winmm.dll, as the
// controls once made their programs do. Beside a planted winmm.dll it must
// load that one, or the test's stand-in for Windows' search proves nothing.
#include <windows.h>
#include <mmsystem.h>

int wmain() { return PlaySoundW(nullptr, nullptr, 0) ? 0 : 1; }
