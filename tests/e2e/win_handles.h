// Owners of the Win32 handles the UI driver and the window spy use: one
// move-only type per handle kind, all built on one template.
#pragma once

#include <windows.h>

#include <utility>

namespace e2e {

// Owns one handle. Traits name the handle type, the value meaning "none" and
// how the handle is let go. Letting go keeps the last-error value, so a
// failure can still be reported after the handles of its scope are gone.
template <typename Traits>
class Owned {
 public:
  using Handle = typename Traits::Handle;

  Owned() noexcept = default;
  explicit Owned(Handle handle) noexcept : handle_(handle) {}
  Owned(Owned&& other) noexcept : handle_(other.release()) {}
  Owned& operator=(Owned&& other) noexcept {
    reset(other.release());
    return *this;
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  ~Owned() { reset(); }

  [[nodiscard]] Handle get() const noexcept { return handle_; }
  [[nodiscard]] explicit operator bool() const noexcept { return !(handle_ == Traits::none()); }

  [[nodiscard]] Handle release() noexcept { return std::exchange(handle_, Traits::none()); }

  void reset(Handle handle = Traits::none()) noexcept {
    const Handle old = std::exchange(handle_, handle);
    if (old == Traits::none()) return;
    const DWORD error = GetLastError();
    Traits::close(old);
    SetLastError(error);
  }

 private:
  Handle handle_ = Traits::none();
};

struct KernelHandleTraits {  // processes, threads
  using Handle = HANDLE;
  static Handle none() noexcept { return nullptr; }
  static void close(Handle handle) noexcept { CloseHandle(handle); }
};

struct FileHandleTraits {  // files and tool-help snapshots: "none" is INVALID_HANDLE_VALUE
  using Handle = HANDLE;
  static Handle none() noexcept { return INVALID_HANDLE_VALUE; }
  static void close(Handle handle) noexcept { CloseHandle(handle); }
};

struct FindHandleTraits {  // FindFirstFileW
  using Handle = HANDLE;
  static Handle none() noexcept { return INVALID_HANDLE_VALUE; }
  static void close(Handle handle) noexcept { FindClose(handle); }
};

struct ModuleTraits {
  using Handle = HMODULE;
  static Handle none() noexcept { return nullptr; }
  static void close(Handle handle) noexcept { FreeLibrary(handle); }
};

struct RegistryKeyTraits {
  using Handle = HKEY;
  static Handle none() noexcept { return nullptr; }
  static void close(Handle handle) noexcept { RegCloseKey(handle); }
};

// A device context from GetDC / GetWindowDC: it goes back to its window.
struct WindowDcHandle {
  HWND window = nullptr;
  HDC dc = nullptr;
  friend bool operator==(const WindowDcHandle&, const WindowDcHandle&) = default;
};

struct WindowDcTraits {
  using Handle = WindowDcHandle;
  static Handle none() noexcept { return {}; }
  static void close(Handle handle) noexcept { ReleaseDC(handle.window, handle.dc); }
};

struct MemoryDcTraits {  // CreateCompatibleDC
  using Handle = HDC;
  static Handle none() noexcept { return nullptr; }
  static void close(Handle handle) noexcept { DeleteDC(handle); }
};

struct BitmapTraits {
  using Handle = HBITMAP;
  static Handle none() noexcept { return nullptr; }
  static void close(Handle handle) noexcept { DeleteObject(handle); }
};

struct MenuTraits {
  using Handle = HMENU;
  static Handle none() noexcept { return nullptr; }
  static void close(Handle handle) noexcept { DestroyMenu(handle); }
};

struct HookTraits {
  using Handle = HHOOK;
  static Handle none() noexcept { return nullptr; }
  static void close(Handle handle) noexcept { UnhookWindowsHookEx(handle); }
};

using KernelHandle = Owned<KernelHandleTraits>;
using FileHandle = Owned<FileHandleTraits>;
using FindHandle = Owned<FindHandleTraits>;
using Module = Owned<ModuleTraits>;
using RegistryKey = Owned<RegistryKeyTraits>;
using WindowDc = Owned<WindowDcTraits>;
using MemoryDc = Owned<MemoryDcTraits>;
using Bitmap = Owned<BitmapTraits>;
using Menu = Owned<MenuTraits>;
using Hook = Owned<HookTraits>;

}  // namespace e2e
