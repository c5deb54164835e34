// The companion dialog library's call contract, the one header the library
// and the program that loads it share: the exported factory names and the
// start-up message's virtual slots, declared once so the two can never
// disagree on their order.
#pragma once

#include <windows.h>

#include "afx/dialog.h"

// The library's start-up message object. The library makes it; the program
// calls it only through these virtual slots, which follow CDialog's in this
// order, and deletes it through the virtual destructor, which closes the
// message. The results of the calls mean nothing to the program.
class CSplashMsgDlg : public CDialog {
public:
    virtual void SetResourceInstance(HINSTANCE instance) = 0;
    virtual void SetTitleResource(UINT stringId) = 0;
    virtual void SetTitle(const wchar_t* title) = 0;
    virtual void SetMessageResource(UINT stringId) = 0;
    virtual void SetMessage(const wchar_t* message) = 0;
    virtual void SetIconResource(int iconId) = 0;

protected:
    explicit CSplashMsgDlg(UINT templateId) : CDialog(templateId) {}
};

// Exported factories, looked up by name: each returns a new object, or null.
inline constexpr char kNewSplashMsgDlgExport[] = "NewCQLDXSplashMsgDlg";
inline constexpr char kNewProgressDlgExport[] = "NewCQLDXProgressDlg";
using NewSplashMsgDlgFunction = CSplashMsgDlg* (*)();
