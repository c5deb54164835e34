// Real input in-process: what tools/demo/user_input.h sends, with the
// thread's messages run the way the framework's loops run them, each queued
// message offered first to PreTranslateMessage from its window up (so
// tooltips and the buttons' double-click handling see what they see in a
// dialog).
#pragma once

#include <windows.h>

#include "afx/wnd.h"
#include "user_input.h"

using demo::CentreOf;

// Runs the thread's messages until done() holds or timeoutMs has passed;
// returns done().
template <class Done>
bool PumpUntil(Done done, DWORD timeoutMs = 2000) {
    const DWORD start = ::GetTickCount();
    for (MSG msg;;) {
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!CWnd::WalkPreTranslateTree(nullptr, &msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
        if (done()) return true;
        if (::GetTickCount() - start > timeoutMs) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

inline void PumpFor(DWORD milliseconds) {
    PumpUntil([] { return false; }, milliseconds);
}

// Runs the messages already waiting, then returns.
inline void DispatchPending() {
    PumpUntil([] { return true; });
}

// Wine moves the X server's pointer along with each move, and the virtual
// desktop (another process) hears of it when its thread next waits, reading
// the X server first: a late echo would put the pointer back. The second
// message the desktop answers comes after such a reading.
inline void SettleDesktop() {
    for (int i = 0; i < 2; ++i) ::SendMessageTimeoutW(::GetDesktopWindow(), WM_NULL, 0, 0, SMTO_BLOCK, 1000, nullptr);
    DispatchPending();
}

// Moves the pointer and runs the messages until it stays there, the echoes
// of earlier moves heard first and this one's after (moved again should one
// still put it back).
inline void MovePointerTo(POINT at) {
    for (int tries = 0; tries < 5; ++tries) {
        SettleDesktop();
        demo::SendPointerTo(at);
        PumpUntil([at] { return demo::PointerIsAt(at); });
        PumpFor(30);
        SettleDesktop();
        PumpFor(30);
        if (demo::PointerIsAt(at)) return;
    }
}

// The input is in the thread's queue once SendInput returns: its messages
// are run to the last (a busy machine takes longer than any fixed wait),
// then a moment more for what they post.
inline void RunQueuedInput(UINT kinds) {
    PumpUntil([kinds] { return HIWORD(::GetQueueStatus(kinds)) == 0; });
    PumpFor(50);
}

inline void ClickLeft() {
    demo::SendLeftClick();
    RunQueuedInput(QS_MOUSEBUTTON);
}

inline void PressKey(WORD key) {
    demo::SendKey(key);
    RunQueuedInput(QS_KEY);
}
