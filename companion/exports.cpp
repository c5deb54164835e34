// The library's entry point and its exported factories.
#include <windows.h>

#include "afx/exception_barrier.h"
#include "afx/win_app.h"
#include "companion/progress_dlg.h"
#include "companion/splash_msg_dlg.h"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    // The library's dialogs come from its own templates.
    if (reason == DLL_PROCESS_ATTACH) AfxSetResourceHandle(instance);
    return TRUE;
}

extern "C" __declspec(dllexport) CQLDXSplashMsgDlg* NewCQLDXSplashMsgDlg() {
    return AfxCallGuarded<CQLDXSplashMsgDlg*>(nullptr, [] { return new CQLDXSplashMsgDlg; });
}

extern "C" __declspec(dllexport) CQLDXProgressDlg* NewCQLDXProgressDlg() {
    return AfxCallGuarded<CQLDXProgressDlg*>(nullptr, [] { return new CQLDXProgressDlg; });
}
