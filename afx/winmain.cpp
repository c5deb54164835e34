// The process entry of a program built on the framework.
#include <windows.h>

#include "afx/exception_barrier.h"
#include "afx/win_app.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int showCommand) {
    return AfxCallGuarded(-1, [&] { return AfxWinMain(instance, previous, commandLine, showCommand); });
}
