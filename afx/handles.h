// Owning, move-only wrappers for every kind of Win32 handle the framework,
// the program, its tools and its tests own. One template, one traits struct
// per handle kind. This header needs windows.h only; the kinds of other
// areas are declared next to the code that uses them, on the same template:
// internet handles in afx/internet_session.h, COM task memory and the
// shell's item lists in afx/com_memory.h.
//
// Contract:
//  - A wrapper owns exactly one handle or none; it closes it when destroyed,
//    reset or assigned over.
//  - Closing never changes the thread's last-error value, so a wrapper going
//    out of scope cannot hide the error of the call that preceded it.
//  - Handles that are only borrowed (the DC of a WM_DRAWITEM, a window owned
//    by someone else) are never put in a wrapper.
#pragma once

#include <windows.h>

#include <utility>

#include "afx/windows_version.h"

namespace afx {

template <class Traits>
class unique_any {
public:
    using pointer = typename Traits::type;

    unique_any() noexcept = default;
    explicit unique_any(pointer h) noexcept : m_h(h) {}
    unique_any(const unique_any&) = delete;
    unique_any& operator=(const unique_any&) = delete;
    unique_any(unique_any&& other) noexcept : m_h(other.release()) {}
    unique_any& operator=(unique_any&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~unique_any() { reset(); }

    pointer get() const noexcept { return m_h; }
    explicit operator bool() const noexcept { return !(m_h == Traits::invalid()); }

    pointer release() noexcept { return std::exchange(m_h, Traits::invalid()); }

    void reset(pointer h = Traits::invalid()) noexcept {
        pointer old = std::exchange(m_h, h);
        if (!(old == Traits::invalid())) {
            const DWORD lastError = ::GetLastError();
            Traits::close(old);
            ::SetLastError(lastError);
        }
    }

    // For APIs that return a handle through an out-parameter.
    pointer* put() noexcept {
        reset();
        return &m_h;
    }

private:
    pointer m_h = Traits::invalid();
};

namespace handle_traits {

template <class T, auto CloseFn>
struct null_invalid {
    using type = T;
    static constexpr type invalid() noexcept { return nullptr; }
    static void close(type h) noexcept { CloseFn(h); }
};

// Kernel handles whose "none" is INVALID_HANDLE_VALUE: files, snapshots.
template <auto CloseFn>
struct minus_one_invalid {
    using type = HANDLE;
    static type invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(type h) noexcept { CloseFn(h); }
};

// GDI objects are deleted with DeleteObject whatever their kind; keeping the
// kinds apart in the type system stops a font from being selected as a pen.
template <class T>
struct gdi_object {
    using type = T;
    static constexpr type invalid() noexcept { return nullptr; }
    static void close(type h) noexcept { ::DeleteObject(h); }
};

// A device context from GetDC/GetWindowDC: it goes back to its window.
struct window_dc {
    HWND window = nullptr;
    HDC dc = nullptr;
    bool operator==(const window_dc&) const = default;
};
struct window_dc_traits {
    using type = window_dc;
    static type invalid() noexcept { return {}; }
    static void close(type h) noexcept { ::ReleaseDC(h.window, h.dc); }
};

// An object selected into a DC: closing selects the previous one back, so
// the DC (often borrowed) is handed back as it came.
struct selected_object {
    HDC dc = nullptr;
    HGDIOBJ previous = nullptr;
    bool operator==(const selected_object&) const = default;
};
struct selected_object_traits {
    using type = selected_object;
    static type invalid() noexcept { return {}; }
    static void close(type h) noexcept { ::SelectObject(h.dc, h.previous); }
};

inline void CloseKernelHandle(HANDLE h) noexcept { ::CloseHandle(h); }
inline void CloseFind(HANDLE h) noexcept { ::FindClose(h); }
inline void CloseKey(HKEY k) noexcept { ::RegCloseKey(k); }
inline void ReleaseModule(HMODULE m) noexcept { ::FreeLibrary(m); }
inline void DestroyIconHandle(HICON i) noexcept { ::DestroyIcon(i); }
inline void DestroyCursorHandle(HCURSOR c) noexcept { ::DestroyCursor(c); }
inline void DestroyMenuHandle(HMENU m) noexcept { ::DestroyMenu(m); }
inline void DestroyWindowHandle(HWND w) noexcept { ::DestroyWindow(w); }
inline void DeleteDcHandle(HDC dc) noexcept { ::DeleteDC(dc); }
inline void Unhook(HHOOK h) noexcept { ::UnhookWindowsHookEx(h); }
}  // namespace handle_traits

using unique_hkey = unique_any<handle_traits::null_invalid<HKEY, handle_traits::CloseKey>>;
using unique_hmodule = unique_any<handle_traits::null_invalid<HMODULE, handle_traits::ReleaseModule>>;
using unique_hicon = unique_any<handle_traits::null_invalid<HICON, handle_traits::DestroyIconHandle>>;
using unique_hcursor = unique_any<handle_traits::null_invalid<HCURSOR, handle_traits::DestroyCursorHandle>>;
using unique_hmenu = unique_any<handle_traits::null_invalid<HMENU, handle_traits::DestroyMenuHandle>>;
// A window nobody else owns (a test's or a tool's helper window); a window
// with a CWnd object is the object's.
using unique_hwnd = unique_any<handle_traits::null_invalid<HWND, handle_traits::DestroyWindowHandle>>;
// A device context this code created (CreateCompatibleDC); never a borrowed one.
using unique_hdc = unique_any<handle_traits::null_invalid<HDC, handle_traits::DeleteDcHandle>>;
using unique_window_dc = unique_any<handle_traits::window_dc_traits>;
using unique_select_object = unique_any<handle_traits::selected_object_traits>;
using unique_hhook = unique_any<handle_traits::null_invalid<HHOOK, handle_traits::Unhook>>;
using unique_hfind = unique_any<handle_traits::minus_one_invalid<&handle_traits::CloseFind>>;
// Files and tool-help snapshots (INVALID_HANDLE_VALUE when they failed).
using unique_hfile = unique_any<handle_traits::minus_one_invalid<&handle_traits::CloseKernelHandle>>;
// Processes, threads, events (null when they failed).
using unique_handle = unique_any<handle_traits::null_invalid<HANDLE, handle_traits::CloseKernelHandle>>;

using unique_hbitmap = unique_any<handle_traits::gdi_object<HBITMAP>>;
using unique_hfont = unique_any<handle_traits::gdi_object<HFONT>>;
using unique_hbrush = unique_any<handle_traits::gdi_object<HBRUSH>>;
using unique_hpen = unique_any<handle_traits::gdi_object<HPEN>>;
using unique_hrgn = unique_any<handle_traits::gdi_object<HRGN>>;

// Borrows dc for the life of the guard with object selected into it.
inline unique_select_object SelectObject(HDC dc, HGDIOBJ object) noexcept {
    HGDIOBJ previous = ::SelectObject(dc, object);
    return unique_select_object(previous != nullptr && previous != HGDI_ERROR
                                    ? handle_traits::selected_object{dc, previous}
                                    : handle_traits::selected_object{});
}

// The window's client-area DC, released to the window when the guard goes.
inline unique_window_dc GetDC(HWND window) noexcept {
    HDC dc = ::GetDC(window);
    return unique_window_dc(dc != nullptr ? handle_traits::window_dc{window, dc} : handle_traits::window_dc{});
}

}  // namespace afx
