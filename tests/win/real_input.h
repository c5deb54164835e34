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

// Moves the pointer and runs the messages until it is there (from a point
// aside when it is there already: arriving must be a move).
inline void MovePointerTo(POINT at) {
    if (demo::PointerIsAt(at)) {
        demo::SendPointerTo({at.x + 8, at.y + 8});
        PumpUntil([at] { return !demo::PointerIsAt(at); });
    }
    demo::SendPointerTo(at);
    PumpUntil([at] { return demo::PointerIsAt(at); });
    PumpFor(30);
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
