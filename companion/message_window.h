// What the library's message-style dialogs share: a modeless window from
// one of the library's templates with a title, an icon from the caller's
// resources and a message line, shown without taking the focus and painted
// at once (the caller's thread is usually busy right after).
#pragma once

#include <windows.h>

#include <string>

#include "afx/dialog.h"
#include "afx/handles.h"

class CQLDXMessageWindow : public CDialog {
public:
    explicit CQLDXMessageWindow(UINT templateId);
    // Closes the window.
    ~CQLDXMessageWindow() override;

    virtual void SetResourceInstance(HINSTANCE instance);
    virtual void SetTitleResource(UINT stringId);
    virtual void SetTitle(const wchar_t* title);
    virtual void SetMessageResource(UINT stringId);
    virtual void SetMessage(const wchar_t* message);
    virtual void SetIconResource(int iconId);

protected:
    // Creates the window once there is a message to show, then brings the
    // window up to date and paints it.
    void Refresh();
    std::wstring LoadCallerString(UINT stringId) const;

private:
    UINT m_template;
    HINSTANCE m_resources = nullptr;
    std::wstring m_title;
    std::wstring m_message;
    afx::unique_hicon m_icon;
};
