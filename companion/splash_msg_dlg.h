// The start-up message: a small window with the caller's icon, title and
// message, on screen from the first message until the object is deleted.
#pragma once

#include "companion/message_window.h"

class CQLDXSplashMsgDlg : public CQLDXMessageWindow {
public:
    CQLDXSplashMsgDlg();
};
