#include "afx/theme.h"

#include "afx/system_library.h"

namespace afx {

namespace {

constexpr wchar_t kUxTheme[] = L"uxtheme.dll";
constinit const SystemFunction<decltype(&::OpenThemeData)> kOpenThemeData{kUxTheme, "OpenThemeData"};
// Windows 10 1703 and later: a theme's sizes for another DPI than the system's.
using OpenThemeDataForDpiFunction = HTHEME(WINAPI*)(HWND, LPCWSTR, UINT);
constinit const SystemFunction<OpenThemeDataForDpiFunction> kOpenThemeDataForDpi{kUxTheme, "OpenThemeDataForDpi"};
constinit const SystemFunction<decltype(&::CloseThemeData)> kCloseThemeData{kUxTheme, "CloseThemeData"};
constinit const SystemFunction<decltype(&::DrawThemeParentBackground)> kDrawThemeParentBackground{
    kUxTheme, "DrawThemeParentBackground"};
constinit const SystemFunction<decltype(&::DrawThemeBackground)> kDrawThemeBackground{kUxTheme, "DrawThemeBackground"};
constinit const SystemFunction<decltype(&::GetThemeBackgroundContentRect)> kGetThemeBackgroundContentRect{
    kUxTheme, "GetThemeBackgroundContentRect"};
constinit const SystemFunction<decltype(&::DrawThemeText)> kDrawThemeText{kUxTheme, "DrawThemeText"};

}  // namespace

void handle_traits::CloseTheme(HTHEME theme) noexcept {
    if (const auto close = kCloseThemeData.get()) close(theme);
}

unique_htheme OpenWindowTheme(HWND window, const wchar_t* classList, UINT dpi) {
    if (const auto forDpi = kOpenThemeDataForDpi.get(); forDpi != nullptr && dpi != 0)
        return unique_htheme(forDpi(window, classList, dpi));
    const auto open = kOpenThemeData.get();
    return unique_htheme(open != nullptr ? open(window, classList) : nullptr);
}

void DrawParentBackground(HWND window, HDC dc, const RECT& area) {
    // Declared without const in older headers; the area is only read.
    RECT read = area;
    if (const auto draw = kDrawThemeParentBackground.get()) draw(window, dc, &read);
}

void DrawThemePart(HTHEME theme, HDC dc, int part, int state, const RECT& area) {
    const auto draw = kDrawThemeBackground.get();
    if (theme != nullptr && draw != nullptr) draw(theme, dc, part, state, &area, nullptr);
}

RECT ThemeContentRect(HTHEME theme, HDC dc, int part, int state, const RECT& area) {
    RECT content = area;
    const auto get = kGetThemeBackgroundContentRect.get();
    if (theme == nullptr || get == nullptr || FAILED(get(theme, dc, part, state, &area, &content))) return area;
    return content;
}

bool DrawThemePartText(HTHEME theme, HDC dc, int part, int state, const std::wstring& text, DWORD format,
                       const RECT& area) {
    const auto draw = kDrawThemeText.get();
    return theme != nullptr && draw != nullptr &&
           SUCCEEDED(draw(theme, dc, part, state, text.c_str(), static_cast<int>(text.size()), format, 0, &area));
}

}  // namespace afx
