#include "afx/dc.h"

#include <utility>

bool CDC::Attach(HDC dc) {
    if (m_hDC != nullptr || dc == nullptr) return false;
    m_hDC = dc;
    m_owned = true;
    return true;
}

HDC CDC::Detach() {
    m_owned = false;
    return std::exchange(m_hDC, nullptr);
}

bool CDC::CreateCompatibleDC(HDC like) { return Attach(::CreateCompatibleDC(like)); }

void CDC::DeleteDC() {
    if (m_owned) afx::unique_hdc(m_hDC).reset();
    m_hDC = nullptr;
    m_owned = false;
}

void CDC::FillSolidRect(const RECT& rect, COLORREF color) const {
    const COLORREF previous = ::SetBkColor(m_hDC, color);
    ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, previous);
}

void CDC::Draw3dRect(const RECT& rect, COLORREF topLeft, COLORREF bottomRight) const {
    const LONG width = rect.right - rect.left, height = rect.bottom - rect.top;
    FillSolidRect({rect.left, rect.top, rect.right - 1, rect.top + 1}, topLeft);
    FillSolidRect({rect.left, rect.top, rect.left + 1, rect.bottom - 1}, topLeft);
    FillSolidRect({rect.left + width - 1, rect.top, rect.right, rect.top + height}, bottomRight);
    FillSolidRect({rect.left, rect.top + height - 1, rect.right, rect.bottom}, bottomRight);
}

bool CBitmap::CreateCompatibleBitmap(HDC like, int width, int height) {
    if (m_bitmap) return false;
    m_bitmap.reset(::CreateCompatibleBitmap(like, width, height));
    return static_cast<bool>(m_bitmap);
}
