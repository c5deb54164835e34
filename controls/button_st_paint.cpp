// CButtonST's drawing: DrawItem and the steps it takes (face, border, image,
// caption, focus), placed as controls/button_st.h describes.
#include <vssym32.h>

#include <algorithm>
#include <cstdint>
#include <type_traits>
#include <typeinfo>
#include <utility>

#include "afx/dpi.h"
#include "afx/paint_scope.h"
#include "afx/thread_shared.h"
#include "controls/button_st.h"
#include "controls/detail/button_st_drawing.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
// The item state bits the drawing reads (the frame memo's key holds them).
constexpr UINT kStateBitsRead = ODS_SELECTED | ODS_FOCUS | ODS_DISABLED | ODS_NOFOCUSRECT | ODS_NOACCEL;

LONG Width(const RECT& r) { return r.right - r.left; }
LONG Height(const RECT& r) { return r.bottom - r.top; }

}  // namespace

POINT CButtonST::Scaled(POINT distance) const {
    return {afx::ScaleForDpi(distance.x, m_dpi), afx::ScaleForDpi(distance.y, m_dpi)};
}

int CButtonST::FaceColorIndex() const {
    if (isHover || isPressed) return kFaceHot;
    return hasFocus ? kFaceFocused : kFaceNormal;
}

button_st::Drawing& CButtonST::PrepareDrawing() {
    if (!m_drawing) m_drawing = std::make_unique<button_st::Drawing>();
    // The surfaces are the drawing thread's (a button drawn on another
    // thread than before takes that thread's).
    if (m_drawing->thread != ::GetCurrentThreadId()) {
        m_drawing->surfaces = afx::ThreadShared<button_st::Surfaces>();
        m_drawing->thread = ::GetCurrentThreadId();
    }
    return *m_drawing;
}

button_st::FrameKey CButtonST::FrameKeyOf(const DRAWITEMSTRUCT& item, std::wstring text) const {
    button_st::FrameKey key;
    auto& fixed = key.fixed;
    fixed.item = item.rcItem;
    GetClientRect(&fixed.client);
    fixed.state = item.itemState & kStateBitsRead;
    fixed.hover = isHover;
    fixed.menuOpen = menuShown && menu;
    fixed.isDefault = isDefault;
    fixed.isCheckBox = isCheckBox;
    fixed.check = checkState;
    fixed.layout = ::GetLayout(item.hDC) & LAYOUT_RTL;
    fixed.dpi = m_dpi;
    fixed.highContrast = m_highContrast;
    fixed.themed = m_face.theme != nullptr;
    const int system[] = {COLOR_BTNHIGHLIGHT, COLOR_3DLIGHT, COLOR_BTNSHADOW,
                          COLOR_3DDKSHADOW,   COLOR_BTNFACE, COLOR_BTNTEXT};
    for (std::size_t i = 0; i < std::size(system); ++i) fixed.system[i] = ::GetSysColor(system[i]);
    ::GetObjectW(::GetCurrentObject(item.hDC, OBJ_FONT), sizeof(fixed.font), &fixed.font);
    key.text = std::move(text);
    return key;
}

void CButtonST::DrawItem(LPDRAWITEMSTRUCT item) {
    if (isCheckBox) {
        isPressed = (item->itemState & ODS_SELECTED) != 0 || checkState != 0;
    } else {
        isPressed = (item->itemState & ODS_SELECTED) != 0 || (menu && menuShown);
    }
    hasFocus = item->itemState & ODS_FOCUS;
    isDisabled = item->itemState & ODS_DISABLED;
    // Asked once: a change of the dialog's DPI is told (OnDpiChangedAfterParent).
    if (m_dpi == 0) m_dpi = afx::GetWindowDpi(m_hWnd);
    m_face = FaceForDraw();
    // Focus rectangles and access-key underlines wait until the keyboard is
    // used in the window: the system's button says so in the item state.
    m_hideAccel = (item->itemState & ODS_NOACCEL) != 0;

    // A repaint of an unchanged button (as most are) puts its last frame
    // back. Only for this class itself: a derived one may draw from state
    // of its own.
    button_st::Drawing& drawing = PrepareDrawing();
    const bool plainly = button_st::DrawingPlainly();
    std::wstring text = GetWindowText();
    bool memo = !plainly && typeid(*this) == typeid(CButtonST);
    button_st::FrameKey key;
    if (memo) {
        key = FrameKeyOf(*item, text);
        memo = FaceCovers(item->rcItem, key.fixed.client);
        if (memo && drawing.frame.PutBack(key, item->hDC, item->rcItem)) return;
    }

    // Every step draws out of sight, from the same starting state whatever
    // the last draw left, and the button reaches the screen in one copy.
    afx::CPaintScope scope(item->hDC, item->rcItem, plainly ? nullptr : &drawing.surfaces->frame);
    struct UnderWay {
        button_st::Drawing& drawing;
        ~UnderWay() { drawing.scope = nullptr; }
    } const underWay{drawing};
    drawing.scope = &scope;
    if (memo && drawing.frame.PutBack(key, scope)) {
        scope.Commit();
        return;
    }

    CDC dc(scope.StartDrawing());
    RECT work = item->rcItem, content = item->rcItem;
    ::SetBkMode(dc, TRANSPARENT);
    if (m_face.theme != nullptr) {
        work = content = PaintThemedFace(&dc, item->rcItem);
    } else {
        if (SeesThrough()) {
            PaintParentBackground(&dc);
        } else {
            PaintBackground(&dc, &work);
        }
        PaintBorder(&dc, &work);
    }

    // The theme's pressed part shows the press: the content stays.
    const bool pushed = isPressed && m_face.theme == nullptr;
    RECT caption = content;
    const bool hasCaption = !text.empty();
    if (icons[0].icon) PaintIcon(&dc, hasCaption, &content, &caption, pushed, isDisabled != 0);
    if (bitmaps[0].bitmap) {
        ::SetBkColor(dc, kWhite);
        PaintBitmap(&dc, hasCaption, &content, &caption, pushed, isDisabled != 0);
    }
    if (hasCaption) PaintCaption(&dc, text, &content, &caption, pushed, isDisabled != 0);

    // In high contrast the focus is always shown, as the system's controls show it.
    if (hasFocus && (m_highContrast || (!(item->itemState & ODS_NOFOCUSRECT) && (!isFlat || drawFlatFocus)))) {
        RECT focus = work;
        const int inset = m_face.theme != nullptr ? 0 : afx::ScaleForDpi(3, m_dpi);
        ::InflateRect(&focus, -inset, -inset);
        ::DrawFocusRect(dc, &focus);
    }
    if (memo) drawing.frame.Keep(std::move(key), scope);
    scope.Commit();
}

bool CButtonST::FaceCovers(const RECT& item, const RECT& client) const {
    if (!SeesThrough() || m_face.theme != nullptr) return true;
    // The see-through face is the parent's pixels as they were cached, at
    // the client area's place and of the cache's size.
    BITMAP cached{};
    return ::EqualRect(&item, &client) && (bkBitmap.GetSafeHandle() == nullptr ||
                                           (::GetObjectW(bkBitmap.GetSafeHandle(), sizeof(cached), &cached) != 0 &&
                                            cached.bmWidth >= client.right && cached.bmHeight >= client.bottom));
}

// The face, the frames and the lines use the DC's own brush and pen, given
// each colour in turn: nothing is made and deleted on a draw.
DWORD CButtonST::PaintBackground(CDC* dc, RECT* rect) {
    if (!isFlat && (hasFocus || isDefault)) {
        ::FrameRect(*dc, rect, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        ::InflateRect(rect, -1, -1);
    }
    const COLORREF face = m_highContrast ? ::GetSysColor(COLOR_BTNFACE) : colors[FaceColorIndex()];
    const COLORREF previous = ::SetDCBrushColor(*dc, face);
    ::FillRect(*dc, rect, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
    ::SetDCBrushColor(*dc, previous);
    return 0;
}

DWORD CButtonST::PaintBorder(CDC* dc, RECT* rect) {
    if (isPressed) {
        if (isFlat) {
            if (drawBorder) dc->Draw3dRect(*rect, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
        } else {
            const COLORREF previous = ::SetDCBrushColor(*dc, ::GetSysColor(COLOR_BTNSHADOW));
            ::FrameRect(*dc, rect, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
            ::SetDCBrushColor(*dc, previous);
        }
        return 0;
    }
    if (isFlat) {
        if (isHover && drawBorder)
            dc->Draw3dRect(*rect, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
        return 0;
    }
    const LONG l = rect->left, t = rect->top, r = rect->right, b = rect->bottom;
    const struct {
        int color;
        POINT points[3];
    } lines[] = {
        {COLOR_BTNHIGHLIGHT, {{l, b - 1}, {l, t}, {r, t}}},
        {COLOR_3DLIGHT, {{l + 1, b - 1}, {l + 1, t + 1}, {r, t + 1}}},
        {COLOR_3DDKSHADOW, {{l, b - 1}, {r - 1, b - 1}, {r - 1, t - 1}}},
        {COLOR_BTNSHADOW, {{l + 1, b - 2}, {r - 2, b - 2}, {r - 2, t}}},
    };
    // The DC's pen is solid and one pixel wide, as a pen of width 0 is.
    const auto selected = afx::SelectObject(*dc, ::GetStockObject(DC_PEN));
    const COLORREF previous = ::GetDCPenColor(*dc);
    for (const auto& line : lines) {
        ::SetDCPenColor(*dc, ::GetSysColor(line.color));
        ::MoveToEx(*dc, line.points[0].x, line.points[0].y, nullptr);
        ::LineTo(*dc, line.points[1].x, line.points[1].y);
        ::LineTo(*dc, line.points[2].x, line.points[2].y);
    }
    ::SetDCPenColor(*dc, previous);
    return 0;
}

template <class Entry>
const Entry& CButtonST::ChooseImage(const Entry (&slots)[2]) const {
    const bool normal = !isPressed && (isCheckBox || !isHover);
    if constexpr (std::is_same_v<Entry, IconEntry>) {
        return normal && slots[1].icon ? slots[1] : slots[0];
    } else {
        return normal && slots[1].bitmap ? slots[1] : slots[0];
    }
}

RECT CButtonST::PlaceImage(bool hasCaption, const RECT& item, RECT* caption, bool pressed, DWORD imageWidth,
                           DWORD imageHeight) const {
    const POINT origin = Scaled(imageOrigin), push = Scaled(pushOffset);
    RECT image = item;
    const LONG width = Width(item), height = Height(item);
    const auto w = static_cast<LONG>(imageWidth), h = static_cast<LONG>(imageHeight);
    switch (align) {
        case kImageLeft:
            if (!hasCaption) {
                image.left += (width - w) / 2;
            } else {
                image.left += origin.x;
                caption->left += w + origin.x;
            }
            image.top += (height - h) / 2;
            break;
        case kImageAbove:
            image.left += (width - w) / 2;
            if (!hasCaption) {
                image.top += (height - h) / 2;
            } else {
                image.top = origin.y;
                caption->top += h;
            }
            break;
        case kImageRight: {
            RECT client{};
            GetClientRect(&client);
            if (!hasCaption) {
                image.left += (width - w) / 2;
            } else {
                const LONG captionWidth = Width(*caption);
                caption->right = captionWidth - w - origin.x;
                caption->left = origin.x;
                image.left = client.right - w - origin.x;
                image.top += (height - h) / 2;
            }
            break;
        }
        default: break;
    }
    if (pressed && !isCheckBox) ::OffsetRect(&image, push.x, push.y);
    return image;
}

void CButtonST::PaintIcon(CDC* dc, bool hasCaption, RECT* item, RECT* caption, bool pressed, bool disabled) {
    const IconEntry& icon = ChooseImage(icons);
    const RECT image = PlaceImage(hasCaption, *item, caption, pressed, icon.width, icon.height);
    DrawIconState(*dc, icon.icon.get(), image, {static_cast<LONG>(icon.width), static_cast<LONG>(icon.height)},
                  DST_ICON | (disabled ? DSS_DISABLED : 0));
}

void CButtonST::DrawIconState(HDC dc, HICON icon, const RECT& image, SIZE iconSize, UINT flags) {
    // The icon's own place decides where it goes, the right way round; the
    // extent is the image rectangle's, as the system takes it.
    const afx::CUnmirrored device(dc, {image.left, image.top, image.left + iconSize.cx, image.top + iconSize.cy});
    const POINT at{device.Rect().left, device.Rect().top};
    const SIZE extent{Width(image), Height(image)};
    const auto draw = [&] {
        ::DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, at.x, at.y, extent.cx, extent.cy, flags);
    };
    // The memo works on the buffer's pixels, so only on the buffer of the
    // draw under way and inside its area; it holds all the drawing may
    // touch: the icon at its own size drawn as it is; greyed, the extent as
    // well (the system greys the whole extent through the icon's shape) and
    // one pixel more each way, where the embossed look's highlight lies.
    const afx::CPaintScope* scope = m_drawing ? m_drawing->scope : nullptr;
    const SIZE reach = (flags & DSS_DISABLED) == 0
                           ? iconSize
                           : SIZE{std::max(iconSize.cx, extent.cx) + 1, std::max(iconSize.cy, extent.cy) + 1};
    const RECT touched{at.x, at.y, at.x + reach.cx, at.y + reach.cy};
    RECT inside{};
    if (scope == nullptr || scope->Buffer() == nullptr || scope->dc() != dc || ::IsRectEmpty(&touched) ||
        !::IntersectRect(&inside, &touched, &scope->Device()) || !::EqualRect(&inside, &touched)) {
        draw();
        return;
    }
    const button_st::IconKey key{icon,
                                 flags,
                                 extent.cx,
                                 extent.cy,
                                 ::GetTextColor(dc),
                                 ::GetBkColor(dc),
                                 ::GetSysColor(COLOR_3DHILIGHT),
                                 ::GetSysColor(COLOR_3DSHADOW)};
    m_drawing->icon.Draw(*scope->Buffer(), touched, key, draw);
}

void CButtonST::PaintBitmap(CDC* dc, bool hasCaption, RECT* item, RECT* caption, bool pressed, bool disabled) {
    const BitmapEntry& bitmap = ChooseImage(bitmaps);
    const RECT image = PlaceImage(hasCaption, *item, caption, pressed, bitmap.width, bitmap.height);
    const auto w = static_cast<int>(bitmap.width), h = static_cast<int>(bitmap.height);
    button_st::Surfaces& surfaces = *PrepareDrawing().surfaces;
    if (!surfaces.image || !surfaces.mask) return;
    const HDC imageDC = surfaces.image.get(), maskDC = surfaces.mask.get();
    const auto colorSelected = afx::SelectObject(imageDC, bitmap.bitmap.get());
    const auto maskSelected = afx::SelectObject(maskDC, bitmap.mask.get());
    const afx::CUnmirrored device(*dc, {image.left, image.top, image.left + w, image.top + h});
    const POINT at{device.Rect().left, device.Rect().top};
    if (!disabled || !grayDisabledBitmap) {
        ::BitBlt(*dc, at.x, at.y, w, h, maskDC, 0, 0, SRCAND);
        ::BitBlt(*dc, at.x, at.y, w, h, imageDC, 0, 0, SRCPAINT);
        return;
    }
    // The greyed image is composed on white in the thread's work bitmap,
    // which the system's greying then takes whole.
    const HBITMAP work = surfaces.Work({w, h});
    if (!surfaces.work || work == nullptr) return;
    {
        const HDC workDC = surfaces.work.get();
        const auto workSelected = afx::SelectObject(workDC, work);
        const RECT whole{0, 0, w, h};
        ::FillRect(workDC, &whole, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        ::SetTextColor(workDC, RGB(0, 0, 0));
        const COLORREF previous = ::SetBkColor(workDC, kWhite);
        ::BitBlt(workDC, 0, 0, w, h, maskDC, 0, 0, SRCAND);
        ::BitBlt(workDC, 0, 0, w, h, imageDC, 0, 0, SRCPAINT);
        ::SetBkColor(workDC, previous);
    }
    ::DrawStateW(*dc, nullptr, nullptr, reinterpret_cast<LPARAM>(work), 0, at.x, at.y, w, h, DST_BITMAP | DSS_DISABLED);
}

void CButtonST::PaintCaption(CDC* dc, const std::wstring& text, RECT*, RECT* caption, bool pressed, bool disabled) {
    if (pressed && !isCheckBox) {
        const POINT push = Scaled(pushOffset);
        ::OffsetRect(caption, push.x, push.y);
    }
    const UINT prefix = m_hideAccel ? DT_HIDEPREFIX : 0;
    // Centred as the system's button centres its own caption (DT_VCENTER
    // puts a line a pixel lower at some sizes).
    const RECT frame = *caption;
    RECT centred = *caption;
    ::DrawTextW(*dc, text.c_str(), -1, &centred, DT_CENTER | DT_WORDBREAK | DT_CALCRECT | prefix);
    ::OffsetRect(&centred, (Width(frame) - Width(centred)) / 2, (Height(frame) - Height(centred)) / 2);
    ::SetBkMode(*dc, TRANSPARENT);
    // Themed, in the theme's text colour for the state unless the caller chose colours.
    if (m_face.theme != nullptr && !m_callerColors &&
        afx::DrawThemePartText(m_face.theme, *dc, m_face.part, m_face.state, text, DT_CENTER | DT_WORDBREAK | prefix,
                               centred))
        return;
    if (disabled && m_face.theme == nullptr) {
        ::OffsetRect(&centred, 1, 1);
        ::SetTextColor(*dc, ::GetSysColor(COLOR_BTNHIGHLIGHT));
        ::DrawTextW(*dc, text.c_str(), -1, &centred, DT_CENTER | DT_WORDBREAK | prefix);
        ::OffsetRect(&centred, -1, -1);
        ::SetTextColor(*dc, ::GetSysColor(COLOR_BTNSHADOW));
    } else if (m_highContrast) {
        ::SetTextColor(*dc, ::GetSysColor(COLOR_BTNTEXT));
        ::SetBkColor(*dc, ::GetSysColor(COLOR_BTNFACE));
    } else {
        const int face = FaceColorIndex();
        ::SetTextColor(*dc, colors[face + 1]);
        ::SetBkColor(*dc, colors[face]);
    }
    ::DrawTextW(*dc, text.c_str(), -1, &centred, DT_CENTER | DT_WORDBREAK | prefix);
}

CButtonST::ThemedFace CButtonST::FaceForDraw() {
    if (!themedLook || m_highContrast || m_hWnd == nullptr) return {};
    if (!m_themeAsked) {
        m_theme = afx::OpenWindowTheme(m_hWnd, isFlat ? L"TOOLBAR" : L"BUTTON", m_dpi);
        m_themeAsked = true;
    }
    if (!m_theme) return {};
    if (isFlat) return {m_theme.get(), TP_BUTTON, isPressed ? TS_PRESSED : isHover ? TS_HOT : TS_NORMAL};
    const int state = isDisabled              ? PBS_DISABLED
                      : isPressed             ? PBS_PRESSED
                      : isHover               ? PBS_HOT
                      : isDefault || hasFocus ? PBS_DEFAULTED
                                              : PBS_NORMAL;
    return {m_theme.get(), BP_PUSHBUTTON, state};
}

void CButtonST::CloseTheme() {
    m_face = {};
    m_theme.reset();
    m_themeAsked = false;
}

RECT CButtonST::PaintThemedFace(CDC* dc, const RECT& item) const {
    // The corners: the background the parent draws for the button, whether
    // or not the parent is on the screen yet. Like the see-through face's
    // cache, it is taken again only when the frame is drawn again.
    afx::DrawParentBackground(m_hWnd, *dc, item);
    // At rest the flat style is nothing but what lies behind it.
    if (!isFlat || m_face.state != TS_NORMAL) afx::DrawThemePart(m_face.theme, *dc, m_face.part, m_face.state, item);
    return afx::ThemeContentRect(m_face.theme, *dc, m_face.part, m_face.state, item);
}

void CButtonST::PaintParentBackground(CDC* dc) {
    RECT client{};
    GetClientRect(&client);
    if (bkBitmap.GetSafeHandle() == nullptr && !TakeParentBackground(client)) return;
    const HDC cache = PrepareDrawing().surfaces->image.get();
    const auto selected = afx::SelectObject(cache, bkBitmap.GetSafeHandle());
    const afx::CUnmirrored face(*dc, client);
    ::BitBlt(*dc, face.Rect().left, face.Rect().top, Width(client), Height(client), cache, 0, 0, SRCCOPY);
}

bool CButtonST::TakeParentBackground(const RECT& client) {
    const HWND parent = ::GetParent(m_hWnd);
    const afx::unique_window_dc parentDC = afx::GetDC(parent);
    const HDC cache = PrepareDrawing().surfaces->image.get();
    if (!parentDC || cache == nullptr ||
        !bkBitmap.CreateCompatibleBitmap(parentDC.get().dc, Width(client), Height(client)))
        return false;
    const auto selected = afx::SelectObject(cache, bkBitmap.GetSafeHandle());
    RECT window{};
    ::GetWindowRect(m_hWnd, &window);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&window), 2);
    // Mapped into a right-to-left parent, the edges come out swapped.
    if (window.left > window.right) std::swap(window.left, window.right);
    // The cache holds the parent's pixels in the screen's order, and both
    // copies go pixel for pixel, so the face shows what lies behind it
    // whichever way the parent and the button are laid out.
    const afx::CUnmirrored behind(parentDC.get().dc, window);
    ::BitBlt(cache, 0, 0, Width(client), Height(client), parentDC.get().dc, behind.Rect().left, behind.Rect().top,
             SRCCOPY);
    return true;
}
