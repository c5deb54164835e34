// CWinThread: a thread of the user interface and its main window, the
// window that message boxes and modal dialogs opened without an owner
// belong to. The application object is the program's main thread.
#pragma once

#include "afx/cmd_target.h"

class CWnd;

class CWinThread : public CCmdTarget {
public:
    // Becomes the calling thread's object, unless the thread has one.
    CWinThread();
    ~CWinThread() override;

    CWnd* m_pMainWnd = nullptr;
};

// The calling thread's object, or null.
CWinThread* AfxGetThread();
// Its main window, or null.
CWnd* AfxGetMainWnd();
