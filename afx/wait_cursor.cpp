#include "afx/wait_cursor.h"

#include <windows.h>

namespace {
int g_waitCursorCount = 0;
HCURSOR g_cursorBeforeWait = nullptr;
}  // namespace

void AfxDoWaitCursor(int n) {
    g_waitCursorCount += n;
    if (g_waitCursorCount > 0) {
        HCURSOR previous = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
        if (n > 0 && g_waitCursorCount == 1) g_cursorBeforeWait = previous;
    } else {
        g_waitCursorCount = 0;
        ::SetCursor(g_cursorBeforeWait != nullptr ? g_cursorBeforeWait : ::LoadCursorW(nullptr, IDC_ARROW));
    }
}

bool AfxIsWaitCursorShown() { return g_waitCursorCount > 0; }
