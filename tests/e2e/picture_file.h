// Pictures of the screen or of one window, kept as 24-bit DIBs and written
// as .bmp files. Used both by the UI driver and, inside the program under
// test, by the window spy, so nothing here throws or needs more than GDI and
// a file.
#pragma once

#include <windows.h>

#include "win_handles.h"

namespace e2e {

class Picture {
 public:
  // A blank picture; valid() tells whether GDI could make it.
  Picture(int width, int height) noexcept;
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  [[nodiscard]] bool valid() const noexcept { return bits_ != nullptr && dc_; }
  [[nodiscard]] int width() const noexcept { return width_; }
  [[nodiscard]] int height() const noexcept { return height_; }
  // A memory DC drawing into the picture.
  [[nodiscard]] HDC dc() const noexcept { return dc_.get(); }

  // Copies the area of source whose top-left corner is (left, top).
  bool CopyFrom(HDC source, int left, int top) const noexcept;
  [[nodiscard]] COLORREF PixelAt(int x, int y) const noexcept;
  bool SaveBmp(const wchar_t* path) const noexcept;

 private:
  int width_;
  int height_;
  void* bits_ = nullptr;
  Bitmap bitmap_;
  MemoryDc dc_;  // declared after the bitmap: deleted while it is still selected
};

// The whole (virtual) screen as the calling thread's desktop shows it.
bool SaveScreenPicture(const wchar_t* path) noexcept;

// One window with its frame, read through its own window DC. Inside the
// window's process this sees what the window has painted even before the
// display shows it.
bool SaveWindowPicture(HWND window, const wchar_t* path) noexcept;

}  // namespace e2e
