// CButtonST's images: loading icons and bitmaps into the two slots, the
// derived greyscale and darker icons, the masks of bitmaps, and owning all
// of them (controls/button_st.h).
#include <bit>
#include <cmath>
#include <cstdint>

#include "afx/module_state.h"
#include "controls/button_st.h"
#include "controls/detail/button_st_drawing.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr double kDarkenFactor = 0.25;

// The derived colours are defined by double-precision arithmetic, and must
// come out the same in a 32-bit program, whose doubles live on the x87 unit
// with 64 significant bits: there pure white sums to just under 255 and
// truncates to 254, where doubles round the sum to 255. So the arithmetic is
// done in integers, each step rounded as a double rounds it: to 53
// significant bits, to nearest, ties to even.
using Bits = std::uint64_t;

constexpr Bits RoundToDouble(Bits value) {
    const int dropped = std::bit_width(value) - 53;
    if (dropped <= 0) return value;
    const Bits unit = Bits{1} << dropped, rest = value & (unit - 1), half = unit >> 1;
    value -= rest;
    if (rest > half || (rest == half && (value & unit) != 0)) value += unit;
    return value;
}

// The greyscale weights as doubles hold them, in units of 2^-56: the
// smallest unit of the three, so every product and sum of the formula is a
// whole number of it, and any sum up to 255 fits in 64 bits.
constexpr int kGrayScale = 56;
constexpr Bits kRedWeight = static_cast<Bits>(0.299 * 0x1p56);
constexpr Bits kGreenWeight = static_cast<Bits>(0.587 * 0x1p56);
constexpr Bits kBlueWeight = static_cast<Bits>(0.114 * 0x1p56);

// 0.587 g + 0.299 r + 0.114 b, summed in that order, truncated.
BYTE GrayLevel(COLORREF pixel) {
    const Bits green = RoundToDouble(kGreenWeight * GetGValue(pixel));
    const Bits red = RoundToDouble(kRedWeight * GetRValue(pixel));
    const Bits blue = RoundToDouble(kBlueWeight * GetBValue(pixel));
    return static_cast<BYTE>(RoundToDouble(RoundToDouble(green + red) + blue) >> kGrayScale);
}

// c - c * factor, truncated, for a factor in (0, 1]: the factor is
// mantissa * 2^-shift exactly, so c * factor is the rounded product over
// 2^shift. Its whole part w leaves n = c - w; a fraction f > 0 leaves the
// difference n - f between n - 1 and n, which rounds up to n only within
// half a unit of the last place below n (a tie goes to n, whose last bit
// is even), and truncates to n - 1 otherwise.
BYTE Darken(BYTE c, Bits mantissa, int shift) {
    const Bits product = RoundToDouble(c * mantissa);
    const Bits whole = shift < 64 ? product >> shift : 0;
    const Bits fraction = shift < 64 ? product & ((Bits{1} << shift) - 1) : product;
    const int n = c - static_cast<int>(whole);
    if (fraction == 0) return static_cast<BYTE>(n);
    const int halfUnit = shift + std::bit_width(static_cast<unsigned>(n - 1)) - 54;  // as a power of 2^-shift
    const bool roundsUp = halfUnit >= 64 || (halfUnit >= 0 && fraction <= (Bits{1} << halfUnit));
    return static_cast<BYTE>(roundsUp ? n : n - 1);
}

// A new icon of the source's size whose colour pixels are transform(pixel);
// black pixels stay black and the mask is the source's. Null when any step
// fails.
template <class Transform>
HICON TransformIcon(HICON source, Transform transform) {
    ICONINFO info{};
    if (source == nullptr || !::GetIconInfo(source, &info)) return nullptr;
    const afx::unique_hbitmap mask(info.hbmMask), color(info.hbmColor);
    const afx::unique_window_dc screen = afx::GetDC(nullptr);
    const afx::unique_hdc from(::CreateCompatibleDC(screen.get().dc)), to(::CreateCompatibleDC(screen.get().dc));
    BITMAP description{};
    if (!screen || !from || !to || !color || ::GetObjectW(color.get(), sizeof(description), &description) == 0)
        return nullptr;
    const int width = static_cast<int>(info.xHotspot) * 2, height = static_cast<int>(info.yHotspot) * 2;
    const afx::unique_hbitmap made(
        ::CreateBitmap(width, height, description.bmPlanes, description.bmBitsPixel, nullptr));
    if (!made) return nullptr;
    {
        const auto fromSelected = afx::SelectObject(from.get(), color.get());
        const auto toSelected = afx::SelectObject(to.get(), made.get());
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const COLORREF pixel = ::GetPixel(from.get(), x, y);
                ::SetPixel(to.get(), x, y, pixel == 0 ? 0 : transform(pixel));
            }
        }
    }
    ICONINFO result{TRUE, 0, 0, mask.get(), made.get()};
    return ::CreateIconIndirect(&result);  // copies both bitmaps
}

}  // namespace

void CButtonST::ReleaseImages() {
    if (m_drawing) {
        m_drawing->icon.Forget();  // a new icon may come back with an old one's handle
        m_drawing->frame.Forget();
    }
    for (IconEntry& entry : icons) entry = {};
    for (BitmapEntry& entry : bitmaps) entry = {};
    m_iconIds = {};
}

bool CButtonST::StoreIcon(IconEntry& entry, HICON icon) {
    entry.icon.reset(icon);
    ICONINFO info{};
    if (icon == nullptr || !::GetIconInfo(icon, &info)) return false;
    afx::unique_hbitmap(info.hbmMask).reset();
    afx::unique_hbitmap(info.hbmColor).reset();
    // An icon's hot spot is its centre.
    entry.width = info.xHotspot * 2;
    entry.height = info.yHotspot * 2;
    return true;
}

DWORD CButtonST::SetIcons(HICON hot, HICON normal) {
    ReleaseImages();
    afx::unique_hicon normalOwned;
    const auto selector = static_cast<std::int32_t>(reinterpret_cast<INT_PTR>(normal));
    if (selector != kGrayscaleNormal && selector != kDarkerNormal) normalOwned.reset(normal);
    if (hot != nullptr && !StoreIcon(icons[0], hot)) {
        ReleaseImages();
        return kInvalidImage;
    }
    if (normal != nullptr) {
        HICON made = selector == kDarkerNormal      ? CreateDarkerIcon(icons[0].icon.get())
                     : selector == kGrayscaleNormal ? CreateGrayscaleIcon(icons[0].icon.get())
                                                    : normalOwned.release();
        if (!StoreIcon(icons[1], made)) {
            ReleaseImages();
            return kInvalidImage;
        }
    }
    Repaint(true);
    return kOk;
}

DWORD CButtonST::SetIcons(WORD hotId, int hotWidth, int hotHeight, INT_PTR normalId, int normalWidth,
                          int normalHeight) {
    HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEW(hotId), MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
    // A size left to the system is its icon size where the button is shown.
    const UINT dpi = afx::GetWindowDpi(m_hWnd);
    const auto load = [module, dpi](WORD id, int width, int height) {
        return afx::LoadIconForSize(module, MAKEINTRESOURCEW(id),
                                    width != 0 ? width : afx::GetSystemMetricForDpi(SM_CXICON, dpi),
                                    height != 0 ? height : afx::GetSystemMetricForDpi(SM_CYICON, dpi));
    };
    HICON hot = load(hotId, hotWidth, hotHeight);
    const auto selector = static_cast<std::int32_t>(normalId);
    HICON normal = selector == 0 ? nullptr
                   : selector == kGrayscaleNormal || selector == kDarkerNormal
                       ? reinterpret_cast<HICON>(normalId)
                       : load(LOWORD(normalId), normalWidth, normalHeight);
    const DWORD result = SetIcons(hot, normal);
    if (result == kOk) m_iconIds = {hotId, hotWidth, hotHeight, normalId, normalWidth, normalHeight, dpi};
    return result;
}

void CButtonST::FollowIconDpi(UINT dpi) {
    const auto ids = m_iconIds;
    const bool systemSize = ids.hotWidth == 0 || ids.hotHeight == 0 || ids.normalWidth == 0 || ids.normalHeight == 0;
    if (ids.hot != 0 && systemSize && ids.dpi != dpi)
        SetIcons(ids.hot, ids.hotWidth, ids.hotHeight, ids.normal, ids.normalWidth, ids.normalHeight);
}

LRESULT CButtonST::OnDpiChangedAfterParent(WPARAM, LPARAM) {
    // Told twice on Windows 10 (by the system and by the dialog): once is the change.
    const UINT dpi = afx::GetWindowDpi(m_hWnd);
    if (dpi == m_dpi) return 0;
    m_dpi = dpi;
    ForgetBackground();
    CloseTheme();  // its sizes are the old DPI's
    FollowIconDpi(dpi);
    Repaint(true);
    return 0;
}

bool CButtonST::StoreBitmap(BitmapEntry& entry, HBITMAP bitmap, COLORREF transparent) {
    entry.bitmap.reset(bitmap);
    BITMAP description{};
    if (bitmap == nullptr || ::GetObjectW(bitmap, sizeof(description), &description) == 0) return false;
    entry.width = static_cast<DWORD>(description.bmWidth);
    entry.height = static_cast<DWORD>(description.bmHeight);
    entry.mask.reset(::CreateBitmap(description.bmWidth, description.bmHeight, 1, 1, nullptr));
    const afx::unique_hdc colorDC(::CreateCompatibleDC(nullptr)), maskDC(::CreateCompatibleDC(nullptr));
    if (!entry.mask || !colorDC || !maskDC) return false;
    const auto colorSelected = afx::SelectObject(colorDC.get(), bitmap);
    const auto maskSelected = afx::SelectObject(maskDC.get(), entry.mask.get());
    // Colour to monochrome: the background colour becomes white, so the
    // mask is white where the face shows through and black elsewhere.
    ::SetBkColor(colorDC.get(), transparent);
    ::BitBlt(maskDC.get(), 0, 0, description.bmWidth, description.bmHeight, colorDC.get(), 0, 0, SRCCOPY);
    // Monochrome to colour: white becomes the background (black), black the
    // text colour (white); ANDed, the transparent part of the image turns
    // black, as the SRCAND/SRCPAINT drawing needs.
    ::SetBkColor(colorDC.get(), RGB(0, 0, 0));
    ::SetTextColor(colorDC.get(), kWhite);
    ::BitBlt(colorDC.get(), 0, 0, description.bmWidth, description.bmHeight, maskDC.get(), 0, 0, SRCAND);
    return true;
}

DWORD CButtonST::SetBitmaps(HBITMAP hot, COLORREF hotTransparent, HBITMAP normal, COLORREF normalTransparent) {
    ReleaseImages();
    afx::unique_hbitmap normalOwned(normal);
    if (hot != nullptr && !StoreBitmap(bitmaps[0], hot, hotTransparent)) {
        ReleaseImages();
        return kInvalidImage;
    }
    if (normal != nullptr && !StoreBitmap(bitmaps[1], normalOwned.release(), normalTransparent)) {
        ReleaseImages();
        return kInvalidImage;
    }
    Repaint(true);
    return kOk;
}

DWORD CButtonST::SetBitmaps(WORD hotId, COLORREF hotTransparent, WORD normalId, COLORREF normalTransparent) {
    HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEW(hotId), MAKEINTRESOURCEW(2));  // RT_BITMAP
    const auto load = [module](WORD id) {
        return id == 0 ? nullptr
                       : static_cast<HBITMAP>(::LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0));
    };
    return SetBitmaps(load(hotId), hotTransparent, load(normalId), normalTransparent);
}

HICON CButtonST::CreateGrayscaleIcon(HICON icon) {
    return TransformIcon(icon, [](COLORREF pixel) {
        const BYTE g = GrayLevel(pixel);
        return RGB(g, g, g);
    });
}

HICON CButtonST::CreateDarkerIcon(HICON icon) {
    return TransformIcon(icon, [](COLORREF pixel) { return DarkenColor(pixel, kDarkenFactor); });
}

COLORREF CButtonST::DarkenColor(COLORREF color, double factor) {
    if (!(factor > 0.0) || factor > 1.0) return color;
    // Splitting a double into its mantissa and exponent is exact.
    int exponent = 0;
    const auto mantissa = static_cast<Bits>(std::ldexp(std::frexp(factor, &exponent), 53));
    const int shift = 53 - exponent;
    return RGB(Darken(GetRValue(color), mantissa, shift), Darken(GetGValue(color), mantissa, shift),
               Darken(GetBValue(color), mantissa, shift));
}
