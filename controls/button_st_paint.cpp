// CButtonST's drawing: DrawItem and the steps it takes (face, border, image,
// caption, focus), placed as controls/button_st.h describes.
#include <algorithm>
#include <cstdint>
#include <type_traits>
#include <typeinfo>
#include <utility>

#include "controls/button_st.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

LONG Width(const RECT& r) { return r.right - r.left; }
LONG Height(const RECT& r) { return r.bottom - r.top; }

}  // namespace

int CButtonST::FaceColorIndex() const {
    if (isHover || isPressed) return kFaceHot;
    return hasFocus ? kFaceFocused : kFaceNormal;
}

void CButtonST::DrawItem(LPDRAWITEMSTRUCT item) {
    if (isCheckBox) {
        isPressed = (item->itemState & ODS_SELECTED) != 0 || checkState != 0;
    } else {
        isPressed = (item->itemState & ODS_SELECTED) != 0 || (menu && menuShown);
    }
    hasFocus = item->itemState & ODS_FOCUS;
    isDisabled = item->itemState & ODS_DISABLED;

    // Every step draws out of sight, and the button reaches the screen in
    // one copy. Without a buffer (GDI refuses one) it is drawn in place.
    const HDC screen = item->hDC;  // borrowed from the system for this draw
    const HDC buffer = m_frame.Begin(screen, item->rcItem);
    CDC dc(buffer != nullptr ? buffer : screen);

    // Nothing the drawing reads has changed since the last frame (a repaint
    // of an unchanged button, as most are): that frame goes on the screen
    // again. Only for this class itself: a derived one may draw from state
    // of its own.
    const RECT& r = item->rcItem;
    FrameKey key{r.left,
                 r.top,
                 r.right,
                 r.bottom,
                 item->itemState & (ODS_SELECTED | ODS_FOCUS | ODS_DISABLED),
                 isHover,
                 menuShown && menu,
                 isDefault,
                 checkState,
                 ::GetCurrentObject(screen, OBJ_FONT),
                 {::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_3DLIGHT), ::GetSysColor(COLOR_BTNSHADOW),
                  ::GetSysColor(COLOR_3DDKSHADOW)},
                 GetWindowText()};
    if (buffer != nullptr && m_frameValid && key == m_lastFrame && typeid(*this) == typeid(CButtonST)) {
        m_frame.End(screen, item->rcItem);
        return;
    }

    RECT work = item->rcItem;
    ::SetBkMode(dc, TRANSPARENT);
    if (drawTransparent) {
        PaintParentBackground(&dc);
    } else {
        PaintBackground(&dc, &work);
    }
    PaintBorder(&dc, &work);

    const std::wstring& text = key.text;
    RECT caption = item->rcItem;
    const bool hasCaption = !text.empty();
    if (icons[0].icon) PaintIcon(&dc, hasCaption, &item->rcItem, &caption, isPressed, isDisabled != 0);
    if (bitmaps[0].bitmap) {
        ::SetBkColor(dc, kWhite);
        PaintBitmap(&dc, hasCaption, &item->rcItem, &caption, isPressed, isDisabled != 0);
    }
    if (hasCaption) PaintCaption(&dc, text, &item->rcItem, &caption, isPressed, isDisabled != 0);

    if (hasFocus && (!isFlat || drawFlatFocus)) {
        RECT focus = work;
        ::InflateRect(&focus, -3, -3);
        ::DrawFocusRect(dc, &focus);
    }
    if (buffer != nullptr) {
        m_frame.End(screen, item->rcItem);
        m_lastFrame = std::move(key);
        m_frameValid = true;
    }
}

// The face, the frames and the lines use the DC's own brush and pen, given
// each colour in turn: nothing is made and deleted on a draw.
DWORD CButtonST::PaintBackground(CDC* dc, RECT* rect) {
    if (!isFlat && (hasFocus || isDefault)) {
        ::FrameRect(*dc, rect, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        ::InflateRect(rect, -1, -1);
    }
    const COLORREF previous = ::SetDCBrushColor(*dc, colors[FaceColorIndex()]);
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
    RECT image = item;
    const LONG width = Width(item), height = Height(item);
    const auto w = static_cast<LONG>(imageWidth), h = static_cast<LONG>(imageHeight);
    switch (align) {
        case kImageLeft:
            if (!hasCaption) {
                image.left += (width - w) / 2;
            } else {
                image.left += imageOrigin.x;
                caption->left += w + imageOrigin.x;
            }
            image.top += (height - h) / 2;
            break;
        case kImageAbove:
            image.left += (width - w) / 2;
            if (!hasCaption) {
                image.top += (height - h) / 2;
            } else {
                image.top = imageOrigin.y;
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
                caption->right = captionWidth - w - imageOrigin.x;
                caption->left = imageOrigin.x;
                image.left = client.right - w - imageOrigin.x;
                image.top += (height - h) / 2;
            }
            break;
        }
        default: break;
    }
    if (pressed && !isCheckBox) ::OffsetRect(&image, pushOffset.x, pushOffset.y);
    return image;
}

void CButtonST::PaintIcon(CDC* dc, bool hasCaption, RECT* item, RECT* caption, bool pressed, bool disabled) {
    const IconEntry& icon = ChooseImage(icons);
    const RECT image = PlaceImage(hasCaption, *item, caption, pressed, icon.width, icon.height);
    // Drawn as it is, an icon covers its own size; greyed, the whole extent.
    RECT area = image;
    if (!disabled) {
        area.right = std::min<LONG>(area.right, area.left + static_cast<LONG>(icon.width));
        area.bottom = std::min<LONG>(area.bottom, area.top + static_cast<LONG>(icon.height));
    }
    DrawIconState(*dc, icon.icon.get(), area, DST_ICON | (disabled ? DSS_DISABLED : 0));
}

void CButtonST::DrawIconState(HDC dc, HICON icon, const RECT& image, UINT flags) {
    const LONG w = Width(image), h = Height(image);
    IconMemo& memo = m_iconMemo;
    if (w > 0 && h > 0 && (memo.size.cx != w || memo.size.cy != h)) {
        // A top-down 32-bit DIB of the area, made again only when it changes size.
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        memo.selected.reset();  // let the old surface go before the DC
        memo = {};
        memo.dc.reset(::CreateCompatibleDC(dc));
        memo.surface.reset(::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (memo.dc && memo.surface) {
            memo.selected = afx::SelectObject(memo.dc.get(), memo.surface.get());
            memo.pixels = static_cast<std::uint32_t*>(bits);
            memo.size = {w, h};
        }
    }
    if (w <= 0 || h <= 0 || memo.pixels == nullptr) {
        ::DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, image.left, image.top, w, h, flags);
        return;
    }
    const auto count = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
    ::BitBlt(memo.dc.get(), 0, 0, w, h, dc, image.left, image.top, SRCCOPY);
    ::GdiFlush();
    if (memo.icon == icon && memo.flags == flags && std::equal(memo.pixels, memo.pixels + count, memo.under.begin())) {
        std::copy(memo.drawn.begin(), memo.drawn.end(), memo.pixels);
    } else {
        memo.under.assign(memo.pixels, memo.pixels + count);
        ::DrawStateW(memo.dc.get(), nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, 0, 0, w, h, flags);
        ::GdiFlush();
        memo.drawn.assign(memo.pixels, memo.pixels + count);
        memo.icon = icon;
        memo.flags = flags;
    }
    ::BitBlt(dc, image.left, image.top, w, h, memo.dc.get(), 0, 0, SRCCOPY);
}

void CButtonST::PaintBitmap(CDC* dc, bool hasCaption, RECT* item, RECT* caption, bool pressed, bool disabled) {
    const BitmapEntry& bitmap = ChooseImage(bitmaps);
    const RECT image = PlaceImage(hasCaption, *item, caption, pressed, bitmap.width, bitmap.height);
    const auto w = static_cast<int>(bitmap.width), h = static_cast<int>(bitmap.height);
    // The memory DCs are made on the first draw and kept.
    if (!m_imageDC) m_imageDC.reset(::CreateCompatibleDC(*dc));
    if (!m_maskDC) m_maskDC.reset(::CreateCompatibleDC(nullptr));
    if (!m_imageDC || !m_maskDC) return;
    const auto colorSelected = afx::SelectObject(m_imageDC.get(), bitmap.bitmap.get());
    const auto maskSelected = afx::SelectObject(m_maskDC.get(), bitmap.mask.get());
    if (!disabled || !grayDisabledBitmap) {
        ::BitBlt(*dc, image.left, image.top, w, h, m_maskDC.get(), 0, 0, SRCAND);
        ::BitBlt(*dc, image.left, image.top, w, h, m_imageDC.get(), 0, 0, SRCPAINT);
        return;
    }
    // The greyed image is composed in a work bitmap of the image's size,
    // made again only when the image's size changes.
    if (!m_workDC) m_workDC.reset(::CreateCompatibleDC(*dc));
    BITMAP held{};
    if (!m_workBitmap || ::GetObjectW(m_workBitmap.get(), sizeof(held), &held) == 0 || held.bmWidth != w ||
        held.bmHeight != h)
        m_workBitmap.reset(::CreateCompatibleBitmap(*dc, w, h));
    if (!m_workDC || !m_workBitmap) return;
    {
        const auto workSelected = afx::SelectObject(m_workDC.get(), m_workBitmap.get());
        const RECT whole{0, 0, w, h};
        ::FillRect(m_workDC.get(), &whole, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        const COLORREF previous = ::SetBkColor(m_workDC.get(), kWhite);
        ::BitBlt(m_workDC.get(), 0, 0, w, h, m_maskDC.get(), 0, 0, SRCAND);
        ::BitBlt(m_workDC.get(), 0, 0, w, h, m_imageDC.get(), 0, 0, SRCPAINT);
        ::SetBkColor(m_workDC.get(), previous);
    }
    ::DrawStateW(*dc, nullptr, nullptr, reinterpret_cast<LPARAM>(m_workBitmap.get()), 0, image.left, image.top, w, h,
                 DST_BITMAP | DSS_DISABLED);
}

void CButtonST::PaintCaption(CDC* dc, const std::wstring& text, RECT*, RECT* caption, bool pressed, bool disabled) {
    if (pressed && !isCheckBox) ::OffsetRect(caption, pushOffset.x, pushOffset.y);
    const RECT frame = *caption;
    RECT centred = *caption;
    ::DrawTextW(*dc, text.c_str(), -1, &centred, DT_CENTER | DT_WORDBREAK | DT_CALCRECT);
    ::OffsetRect(&centred, (Width(frame) - Width(centred)) / 2, (Height(frame) - Height(centred)) / 2);
    ::SetBkMode(*dc, TRANSPARENT);
    if (disabled) {
        ::OffsetRect(&centred, 1, 1);
        ::SetTextColor(*dc, ::GetSysColor(COLOR_BTNHIGHLIGHT));
        ::DrawTextW(*dc, text.c_str(), -1, &centred, DT_CENTER | DT_WORDBREAK);
        ::OffsetRect(&centred, -1, -1);
        ::SetTextColor(*dc, ::GetSysColor(COLOR_BTNSHADOW));
    } else {
        const int face = FaceColorIndex();
        ::SetTextColor(*dc, colors[face + 1]);
        ::SetBkColor(*dc, colors[face]);
    }
    ::DrawTextW(*dc, text.c_str(), -1, &centred, DT_CENTER | DT_WORDBREAK);
}

void CButtonST::PaintParentBackground(CDC* dc) {
    const HWND parent = ::GetParent(m_hWnd);
    const afx::unique_window_dc parentDC = afx::GetDC(parent);
    if (!parentDC) return;
    RECT client{}, window{};
    GetClientRect(&client);
    ::GetWindowRect(m_hWnd, &window);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&window), 2);
    if (bkDC.GetSafeHdc() == nullptr) {
        if (!bkDC.CreateCompatibleDC(parentDC.get().dc)) return;
        bkBitmap.CreateCompatibleBitmap(parentDC.get().dc, Width(client), Height(client));
        oldBkBitmap = ::SelectObject(bkDC, bkBitmap.GetSafeHandle());
        ::BitBlt(bkDC, 0, 0, Width(client), Height(client), parentDC.get().dc, window.left, window.top, SRCCOPY);
    }
    ::BitBlt(*dc, 0, 0, Width(client), Height(client), bkDC, 0, 0, SRCCOPY);
}
