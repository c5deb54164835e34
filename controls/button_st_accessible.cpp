// CButtonST to assistive technology: what a screen reader hears of the
// button (controls/button_st.h), through the framework's accessible object.
#include <memory>
#include <string>

#include "afx/accessible.h"
#include "controls/button_st.h"

namespace {

// What the system's buttons call their default actions.
constexpr wchar_t kPress[] = L"Press";
constexpr wchar_t kCheck[] = L"Check";
constexpr wchar_t kUncheck[] = L"Uncheck";
constexpr wchar_t kOpen[] = L"Open";

// The caption as it reads: "&Open" is "Open", "&&" an ampersand.
std::wstring WithoutMnemonics(const std::wstring& caption) {
    std::wstring read;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == L'&' && i + 1 < caption.size()) ++i;
        read += caption[i];
    }
    return read;
}

class ButtonFacts final : public afx::AccessibleFacts {
public:
    explicit ButtonFacts(CButtonST& button) : m_button(button) {}

    long AccessibleRole() const override {
        if (m_button.IsCheckBox()) return ROLE_SYSTEM_CHECKBUTTON;
        return m_button.GetMenu() != nullptr ? ROLE_SYSTEM_BUTTONMENU : ROLE_SYSTEM_PUSHBUTTON;
    }
    long AccessibleState() const override {
        long state = m_button.IsHovering() ? STATE_SYSTEM_HOTTRACKED : 0;
        if (m_button.IsCheckBox()) return state | (m_button.GetCheckState() != 0 ? STATE_SYSTEM_CHECKED : 0);
        if (m_button.GetMenu() != nullptr) state |= STATE_SYSTEM_HASPOPUP;
        return state | (m_button.IsDefault() ? STATE_SYSTEM_DEFAULT : 0);
    }
    // An image-only button is named by its tooltip.
    std::wstring AccessibleName() const override {
        const std::wstring caption = WithoutMnemonics(m_button.GetWindowText());
        return !caption.empty() ? caption : m_button.GetTooltipText();
    }
    std::wstring AccessibleValue() const override { return m_button.GetLinkTarget(); }
    std::wstring AccessibleDefaultAction() const override {
        if (m_button.IsCheckBox()) return m_button.GetCheckState() != 0 ? kUncheck : kCheck;
        return m_button.GetMenu() != nullptr ? kOpen : kPress;
    }
    // A click, as the user's: it toggles, opens the menu or the link.
    void DoAccessibleDefaultAction() override { ::PostMessageW(m_button.m_hWnd, BM_CLICK, 0, 0); }

private:
    CButtonST& m_button;
};

}  // namespace

LRESULT CButtonST::OnGetObject(WPARAM wParam, LPARAM objectId) {
    const LRESULT answer = afx::CAccessibleClient::Answer(
        m_accessible, m_hWnd, [this] { return std::make_unique<ButtonFacts>(*this); }, wParam, objectId);
    return answer != 0 ? answer : Default();
}

LRESULT CButtonST::OnSetText(WPARAM, LPARAM) {
    const LRESULT result = Default();
    afx::CAccessibleClient::NotifyNameChange(m_hWnd);
    return result;
}
