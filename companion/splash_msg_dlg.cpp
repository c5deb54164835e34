#include "companion/splash_msg_dlg.h"

#include "companion/companion_resource.h"

CQLDXSplashMsgDlg::CQLDXSplashMsgDlg() : CQLDXMessageWindow(IDD_QLDX_SPLASH_MESSAGE) {}
