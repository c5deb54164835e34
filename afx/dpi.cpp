#include "afx/dpi.h"

#include "afx/handles.h"

namespace afx {

namespace {

// Where a top-level window keeps the DPI it was last told.
constexpr wchar_t kDpiProperty[] = L"Vornix.Dpi";

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
using LoadIconWithScaleDownFunction = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);

// A function of a module the process has loaded, or null.
template <class Function>
Function Find(const wchar_t* module, const char* name) {
    const HMODULE loaded = ::GetModuleHandleW(module);
    return loaded == nullptr ? nullptr
                             : reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(loaded, name)));
}

UINT SystemDpi() {
    static const UINT dpi = [] {
        const afx::unique_window_dc screen = afx::GetDC(nullptr);
        const int found = screen ? ::GetDeviceCaps(screen.get().dc, LOGPIXELSY) : 0;
        return found > 0 ? static_cast<UINT>(found) : kDefaultDpi;
    }();
    return dpi;
}

}  // namespace

UINT GetWindowDpi(HWND window) {
    if (window == nullptr) return SystemDpi();
    if (const HWND root = ::GetAncestor(window, GA_ROOT); root != nullptr)
        if (const auto told = reinterpret_cast<UINT_PTR>(::GetPropW(root, kDpiProperty)); told != 0)
            return static_cast<UINT>(told);
    static const auto forWindow = Find<GetDpiForWindowFunction>(L"user32.dll", "GetDpiForWindow");
    const UINT dpi = forWindow != nullptr ? forWindow(window) : 0;
    return dpi != 0 ? dpi : SystemDpi();
}

void SetWindowDpi(HWND topLevel, UINT dpi) {
    if (dpi != 0) {
        ::SetPropW(topLevel, kDpiProperty, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(dpi)));
    } else {
        ::RemovePropW(topLevel, kDpiProperty);
    }
}

int ScaleForDpi(int value, UINT dpi) { return ::MulDiv(value, static_cast<int>(dpi), kDefaultDpi); }

int GetSystemMetricForDpi(int index, UINT dpi) {
    static const auto forDpi = Find<GetSystemMetricsForDpiFunction>(L"user32.dll", "GetSystemMetricsForDpi");
    if (forDpi != nullptr) return forDpi(index, dpi);
    return ::MulDiv(::GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(SystemDpi()));
}

HICON LoadIconForSize(HINSTANCE module, LPCWSTR name, int cx, int cy) {
    // Not in every import library of the common controls, and not in every
    // version of them: looked up at each call in the one the caller's
    // activation context names, since a module with a manifest of its own
    // may get another version than the process's first caller did.
    const auto scaleDown = Find<LoadIconWithScaleDownFunction>(L"comctl32.dll", "LoadIconWithScaleDown");
    HICON icon = nullptr;
    if (scaleDown != nullptr && SUCCEEDED(scaleDown(module, name, cx, cy, &icon)) && icon != nullptr) return icon;
    return static_cast<HICON>(::LoadImageW(module, name, IMAGE_ICON, cx, cy, 0));
}

}  // namespace afx
