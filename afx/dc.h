// Device contexts and the GDI objects the framework's objects keep.
#pragma once

#include <windows.h>

#include "afx/handles.h"

// The paint DC of a WM_PAINT handler: BeginPaint now, EndPaint when it goes.
class CPaintDC {
public:
    explicit CPaintDC(HWND hwnd) : m_hWnd(hwnd) { m_hDC = ::BeginPaint(hwnd, &m_ps); }
    ~CPaintDC() { ::EndPaint(m_hWnd, &m_ps); }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    HDC m_hDC;  // borrowed from the system for the duration of the paint
    PAINTSTRUCT m_ps{};

private:
    HWND m_hWnd;
};

// A device context and the drawing helpers the platform lacks. An object
// either owns its DC (Attach, CreateCompatibleDC: deleted by DeleteDC or
// with the object) or borrows one (the constructor taking a DC, as for the
// DC of a WM_DRAWITEM: never deleted here).
class CDC {
public:
    CDC() = default;
    explicit CDC(HDC borrowed) : m_hDC(borrowed) {}
    ~CDC() { DeleteDC(); }
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC m_hDC = nullptr;
    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }

    // Takes ownership of dc; false when the object already holds one.
    bool Attach(HDC dc);
    // Hands the DC back without deleting it.
    HDC Detach();
    // A memory DC compatible with like (the screen when null), owned.
    bool CreateCompatibleDC(HDC like);
    // Deletes an owned DC (a borrowed one is only let go).
    void DeleteDC();

    // Fills rect with one colour without a brush object.
    void FillSolidRect(const RECT& rect, COLORREF color) const;
    // A one-pixel frame: top and left edges in topLeft, bottom and right in
    // bottomRight (raised when the light colour is top-left).
    void Draw3dRect(const RECT& rect, COLORREF topLeft, COLORREF bottomRight) const;

private:
    bool m_owned = false;
};

// A bitmap owned by its object (deleted by DeleteObject or with it).
class CBitmap {
public:
    HBITMAP GetSafeHandle() const { return m_bitmap.get(); }
    operator HBITMAP() const { return m_bitmap.get(); }
    // A bitmap of the DC's format; false when one is held or GDI refuses.
    bool CreateCompatibleBitmap(HDC like, int width, int height);
    void DeleteObject() { m_bitmap.reset(); }

private:
    afx::unique_hbitmap m_bitmap;
};
