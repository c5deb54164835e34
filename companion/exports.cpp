// The library's entry point and its exported factories.
#include <windows.h>

#include <type_traits>

#include "afx/exception_barrier.h"
#include "afx/module_state.h"
#include "companion/companion_interface.h"
#include "companion/progress_dlg.h"
#include "companion/splash_msg_dlg.h"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    // The library's dialogs come from its own templates.
    if (reason == DLL_PROCESS_ATTACH) AfxSetResourceHandle(instance);
    return TRUE;
}

// The export names are kNewSplashMsgDlgExport and kNewProgressDlgExport.
extern "C" __declspec(dllexport) CSplashMsgDlg* NewCQLDXSplashMsgDlg() {
    return AfxCallGuarded<CSplashMsgDlg*>(nullptr, [] { return new CQLDXSplashMsgDlg; });
}
static_assert(std::is_same_v<decltype(&NewCQLDXSplashMsgDlg), NewSplashMsgDlgFunction>);

extern "C" __declspec(dllexport) CQLDXProgressDlg* NewCQLDXProgressDlg() {
    return AfxCallGuarded<CQLDXProgressDlg*>(nullptr, [] { return new CQLDXProgressDlg; });
}
