// What the library's message-style dialogs share: a modeless window from
// one of the library's templates with a title, an icon from the caller's
// resources and a message line, shown without taking the focus and painted
// at once (the caller's thread is usually busy right after).
#pragma once

#include <windows.h>

#include <string>

#include "afx/handles.h"
#include "companion/companion_interface.h"

class CQLDXMessageWindow : public CSplashMsgDlg {
public:
    explicit CQLDXMessageWindow(UINT templateId);
    // Closes the window.
    ~CQLDXMessageWindow() override;

    void SetResourceInstance(HINSTANCE instance) override;
    void SetTitleResource(UINT stringId) override;
    void SetTitle(const wchar_t* title) override;
    void SetMessageResource(UINT stringId) override;
    void SetMessage(const wchar_t* message) override;
    // The caller's icon; the one shown before is released only once the
    // window and its icon control show the new one.
    void SetIconResource(int iconId) override;

protected:
    // Creates the window once there is a message to show, then brings the
    // window up to date and paints it.
    void Refresh();

private:
    UINT m_template;
    HINSTANCE m_resources = nullptr;
    std::wstring m_title;
    std::wstring m_message;
    afx::unique_hicon m_icon;
};
