// Owners of the Win32 handles the UI driver and the window spy use: the
// program's own wrappers (afx/handles.h), plus the two kinds only the driver
// needs, built on the same template.
#pragma once

#include <windows.h>

#include "afx/handles.h"

namespace e2e {

struct FileHandleTraits {  // files and tool-help snapshots: "none" is INVALID_HANDLE_VALUE
  using type = HANDLE;
  static type invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void close(type handle) noexcept { CloseHandle(handle); }
};

// A device context from GetDC / GetWindowDC: it goes back to its window.
struct WindowDcHandle {
  HWND window = nullptr;
  HDC dc = nullptr;
  friend bool operator==(const WindowDcHandle&, const WindowDcHandle&) = default;
};

struct WindowDcTraits {
  using type = WindowDcHandle;
  static type invalid() noexcept { return {}; }
  static void close(type handle) noexcept { ReleaseDC(handle.window, handle.dc); }
};

using KernelHandle = afx::unique_handle;  // processes, threads
using FileHandle = afx::unique_any<FileHandleTraits>;
using FindHandle = afx::unique_hfind;
using Module = afx::unique_hmodule;
using RegistryKey = afx::unique_hkey;
using WindowDc = afx::unique_any<WindowDcTraits>;
using MemoryDc = afx::unique_hdc;  // CreateCompatibleDC
using Bitmap = afx::unique_hbitmap;
using Menu = afx::unique_hmenu;
using Hook = afx::unique_hhook;

}  // namespace e2e
