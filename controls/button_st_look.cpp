// CButtonST's look: the settings of its face, frames, image placement and
// colours (controls/button_st.h). Every one goes through Repaint, which
// tells the drawing its last frame is out of date.
#include "controls/button_st.h"
#include "controls/detail/button_st_drawing.h"

void CButtonST::Repaint(bool repaint) {
    // Whether or not it is drawn now, the last frame is out of date.
    if (m_drawing) m_drawing->frame.Forget();
    if (repaint && m_hWnd != nullptr) ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

DWORD CButtonST::SetFlatStyle(bool flat, bool repaint) {
    CloseTheme();  // the other style draws another class's parts
    return Store(isFlat, BOOL{flat}, repaint);
}

DWORD CButtonST::SetPushOffsetStyle(std::uint8_t style, bool repaint) {
    if (style == 0) {
        pushOffset = {1, 1};
    } else if (style == 1) {
        pushOffset = {0, 2};
    } else {
        return kInvalidPushOffsetStyle;
    }
    Repaint(repaint);
    return kOk;
}

DWORD CButtonST::SetThemedLook(bool themed, bool repaint) {
    CloseTheme();
    return Store(themedLook, BOOL{themed}, repaint);
}

DWORD CButtonST::ResetColors(bool repaint) {
    m_callerColors = false;
    for (int face : {kFaceHot, kFaceNormal, kFaceFocused}) colors[face] = ::GetSysColor(COLOR_BTNFACE);
    for (int text : {kCaptionHot, kCaptionNormal, kCaptionFocused}) colors[text] = ::GetSysColor(COLOR_BTNTEXT);
    Repaint(repaint);
    return kOk;
}

DWORD CButtonST::SetColor(int index, COLORREF color, bool repaint) {
    if (index < 0 || index >= kColorCount) return kInvalidIndex;
    colors[index] = color;
    m_callerColors = true;
    Repaint(repaint);
    return kOk;
}

DWORD CButtonST::GetColor(int index, COLORREF* color) const {
    if (index < 0 || index >= kColorCount || color == nullptr) return kInvalidIndex;
    *color = colors[index];
    return kOk;
}

DWORD CButtonST::SetAlign(std::uint8_t newAlign, bool repaint) {
    if (newAlign > kImageRight) return kInvalidAlign;
    align = newAlign;
    Repaint(repaint);
    return kOk;
}

DWORD CButtonST::SetImageOrigin(POINT origin, bool repaint) { return Store(imageOrigin, origin, repaint); }

DWORD CButtonST::SetDrawTransparent(bool transparent, bool repaint) {
    return Store(drawTransparent, BOOL{transparent}, repaint);
}

DWORD CButtonST::SetDrawBorder(bool draw, bool repaint) { return Store(drawBorder, BOOL{draw}, repaint); }

DWORD CButtonST::SetDrawFlatFocus(bool draw, bool repaint) { return Store(drawFlatFocus, BOOL{draw}, repaint); }

DWORD CButtonST::SetGrayDisabledBitmap(bool gray, bool repaint) {
    return Store(grayDisabledBitmap, BOOL{gray}, repaint);
}
