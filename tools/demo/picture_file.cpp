#include "picture_file.h"

#include <memory>

#include <algorithm>

namespace demo {
namespace {

constexpr WORD kBitsPerPixel = 24;  // no alpha byte for viewers to misread

LONG RowBytes(LONG width) noexcept { return (width * (kBitsPerPixel / 8) + 3) & ~3L; }

BITMAPINFOHEADER HeaderFor(LONG width, LONG height) noexcept {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;  // bottom-up rows, the usual layout of a .bmp file
    header.biPlanes = 1;
    header.biBitCount = kBitsPerPixel;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(RowBytes(width) * height);
    return header;
}

bool WriteAll(HANDLE file, const void* data, DWORD size) noexcept {
    DWORD written = 0;
    return WriteFile(file, data, size, &written, nullptr) && written == size;
}

RECT ScreenRect() noexcept {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

}  // namespace

Picture::Picture(int width, int height) noexcept : m_width(width), m_height(height) {
    if (width <= 0 || height <= 0) return;
    BITMAPINFO info{};
    info.bmiHeader = HeaderFor(width, height);
    m_bitmap.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &m_bits, nullptr, 0));
    m_dc.reset(CreateCompatibleDC(nullptr));
    if (!m_bitmap || !m_dc) {
        m_bits = nullptr;
        return;
    }
    m_selected = afx::SelectObject(m_dc.get(), m_bitmap.get());
}

bool Picture::CopyFrom(HDC source, int left, int top) const noexcept {
    if (!valid()) return false;
    const bool copied = BitBlt(m_dc.get(), 0, 0, m_width, m_height, source, left, top, SRCCOPY | CAPTUREBLT);
    GdiFlush();
    return copied;
}

COLORREF Picture::PixelAt(int x, int y) const noexcept {
    if (!valid() || x < 0 || y < 0 || x >= m_width || y >= m_height) return CLR_INVALID;
    GdiFlush();
    const auto* row = static_cast<const BYTE*>(m_bits) + RowBytes(m_width) * (m_height - 1 - y);
    const BYTE* pixel = row + x * 3;
    return RGB(pixel[2], pixel[1], pixel[0]);
}

bool Picture::SaveBmp(const wchar_t* path) const noexcept {
    if (!valid()) return false;
    GdiFlush();
    const BITMAPINFOHEADER info = HeaderFor(m_width, m_height);
    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;  // "BM"
    header.bfOffBits = sizeof header + sizeof info;
    header.bfSize = header.bfOffBits + info.biSizeImage;
    const afx::unique_hfile file{
        CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)};
    return file && WriteAll(file.get(), &header, sizeof header) && WriteAll(file.get(), &info, sizeof info) &&
           WriteAll(file.get(), m_bits, info.biSizeImage);
}

bool SaveScreenPicture(const wchar_t* path) noexcept { return SaveScreenArea(ScreenRect(), path); }

std::unique_ptr<Picture> ScreenPicture(const RECT& area) {
    const RECT screen = ScreenRect();
    RECT cut{};
    if (!IntersectRect(&cut, &area, &screen)) return nullptr;
    const afx::unique_window_dc dc = afx::GetDC(nullptr);
    auto picture = std::make_unique<Picture>(cut.right - cut.left, cut.bottom - cut.top);
    if (!dc || !picture->CopyFrom(dc.get().dc, cut.left, cut.top)) return nullptr;
    return picture;
}

bool SaveScreenArea(const RECT& area, const wchar_t* path) noexcept {
    try {
        const std::unique_ptr<Picture> picture = ScreenPicture(area);
        return picture != nullptr && picture->SaveBmp(path);
    } catch (...) {
        return false;  // out of memory: no picture
    }
}

int Picture::Count(COLORREF color) const noexcept {
    int count = 0;
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x) count += PixelAt(x, y) == color;
    return count;
}

int Picture::Differing(const Picture& other) const noexcept {
    int count = 0;
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x) count += PixelAt(x, y) != other.PixelAt(x, y);
    return count;
}

}  // namespace demo
