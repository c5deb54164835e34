#include "afx/win_thread.h"

namespace {
thread_local CWinThread* t_thread = nullptr;
}  // namespace

CWinThread::CWinThread() {
    if (t_thread == nullptr) t_thread = this;
}

CWinThread::~CWinThread() {
    if (t_thread == this) t_thread = nullptr;
}

CWinThread* AfxGetThread() { return t_thread; }

CWnd* AfxGetMainWnd() { return t_thread != nullptr ? t_thread->m_pMainWnd : nullptr; }
