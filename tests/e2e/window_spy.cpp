// window_spy.dll: hook procedures that the UI driver installs on the main
// thread of the program under test. Inside that thread they record, one line
// per event, what happens to its windows, so that windows living only for
// milliseconds (the companion library's start-up message, the splash) can be
// checked afterwards, and optionally keep a picture of each top-level window.
// The environment and the log's format are in spy_protocol.h.
#include <windows.h>

#include <string>
#include <string_view>

#include "picture_file.h"
#include "spy_protocol.h"
#include "utf8.h"
#include "win_handles.h"

namespace {

std::wstring EnvironmentValue(const wchar_t* name) {
  std::wstring value(MAX_PATH, L'\0');
  DWORD length = GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
  if (length >= value.size()) {
    value.resize(length);
    length = GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
  }
  value.resize(length < value.size() ? length : 0);
  return value;
}

struct Settings {
  std::wstring logPath = EnvironmentValue(e2e::kSpyLogVariable);
  std::wstring pictureFolder = EnvironmentValue(e2e::kSpyPicturesVariable);
};

const Settings& CurrentSettings() {
  static const Settings settings;
  return settings;
}

SRWLOCK logLock = SRWLOCK_INIT;
e2e::FileHandle logFile;  // opened on the first event

std::wstring ClassOf(HWND window) {
  wchar_t name[256]{};
  GetClassNameW(window, name, 256);
  return name;
}

// The stored text, read without sending a message into the window.
std::wstring TextOf(HWND window) {
  wchar_t text[1024]{};
  InternalGetWindowText(window, text, 1024);
  return text;
}

HWND RootOf(HWND window) {
  const HWND root = GetAncestor(window, GA_ROOT);
  return root != nullptr ? root : window;
}

UINT_PTR ControlIdOf(HWND window) {
  return (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) != 0
             ? static_cast<UINT_PTR>(GetWindowLongPtrW(window, GWLP_ID))
             : 0;
}

void AppendToLog(const std::string& line) {
  const std::wstring& path = CurrentSettings().logPath;
  if (path.empty()) return;
  AcquireSRWLockExclusive(&logLock);
  if (!logFile) {
    logFile.reset(CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  }
  DWORD written = 0;
  if (logFile) WriteFile(logFile.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  ReleaseSRWLockExclusive(&logLock);
}

void Record(const wchar_t* event, HWND window, UINT_PTR controlId, std::wstring_view text) {
  const std::wstring line = std::wstring(event) + L'\t' + e2e::HexOf(window) + L'\t' +
                            e2e::HexOf(RootOf(window)) + L'\t' + std::to_wstring(controlId) +
                            L'\t' + ClassOf(window) + L'\t' + e2e::EscapedText(text) + L'\n';
  AppendToLog(e2e::Utf8(line));
}

void Record(const wchar_t* event, HWND window) {
  Record(event, window, ControlIdOf(window), TextOf(window));
}

void RecordLook(HWND window) {
  const auto font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
  LOGFONTW face{};
  if (font != nullptr && GetObjectW(font, sizeof face, &face) == sizeof face)
    Record(L"font", window, 0, std::wstring(face.lfFaceName) + L';' + std::to_wstring(face.lfHeight));
  const bool small = SendMessageW(window, WM_GETICON, ICON_SMALL, 0) != 0;
  const bool big = SendMessageW(window, WM_GETICON, ICON_BIG, 0) != 0;
  Record(L"icons", window, 0,
         std::wstring(L"small=") + (small ? L"1" : L"0") + L";big=" + (big ? L"1" : L"0"));
}

// Keeps window-<root>.bmp up to date with what the top-level window shows.
void PictureRootOf(HWND window) {
  const std::wstring& folder = CurrentSettings().pictureFolder;
  if (folder.empty()) return;
  const HWND root = RootOf(window);
  if (!IsWindowVisible(root)) return;
  const std::wstring separator = folder.back() == L'\\' ? L"" : L"\\";
  const std::wstring path = folder + separator + e2e::SpyPictureName(root);
  e2e::SaveWindowPicture(root, path.c_str());
}

// The name a window is created with; a dialog's icon or bitmap control is
// given a resource number instead of a text.
std::wstring CreationText(const CREATESTRUCTW& create) {
  const wchar_t* name = create.lpszName;
  if (name == nullptr || IS_INTRESOURCE(name)) return {};
  if (name[0] == 0xFFFF) return L"#" + std::to_wstring(static_cast<unsigned>(name[1]));
  return name;
}

void OnCbt(int code, WPARAM wParam, LPARAM lParam) {
  const HWND window = reinterpret_cast<HWND>(wParam);
  if (code == HCBT_CREATEWND) {
    const CREATESTRUCTW& create = *reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
    const UINT_PTR id =
        (create.style & WS_CHILD) != 0 ? reinterpret_cast<UINT_PTR>(create.hMenu) : 0;
    Record(L"create", window, id, CreationText(create));
  } else if (code == HCBT_DESTROYWND) {
    if (RootOf(window) == window) PictureRootOf(window);
    Record(L"destroy", window);
  }
}

void OnMessageReturned(const CWPRETSTRUCT& message) {
  switch (message.message) {
    case WM_SETTEXT:
      Record(L"text", message.hwnd);
      break;
    case WM_WINDOWPOSCHANGING: {
      // Still on screen: the last chance to picture a window that is hidden.
      const auto& position = *reinterpret_cast<const WINDOWPOS*>(message.lParam);
      if ((position.flags & SWP_HIDEWINDOW) != 0 && RootOf(message.hwnd) == message.hwnd)
        PictureRootOf(message.hwnd);
      break;
    }
    case WM_WINDOWPOSCHANGED: {
      const auto& position = *reinterpret_cast<const WINDOWPOS*>(message.lParam);
      if ((position.flags & SWP_SHOWWINDOW) != 0) {
        Record(L"show", message.hwnd);
        if (RootOf(message.hwnd) == message.hwnd) RecordLook(message.hwnd);
      }
      if ((position.flags & SWP_HIDEWINDOW) != 0) Record(L"hide", message.hwnd);
      break;
    }
    case WM_PAINT:
      Record(L"paint", message.hwnd);
      PictureRootOf(message.hwnd);
      break;
    case WM_INITDIALOG:
      Record(L"initdialog", message.hwnd);
      break;
    default:
      break;
  }
}

// Nothing may leave a hook procedure but its result.
template <typename Action>
void Guarded(Action action) noexcept {
  try {
    action();
  } catch (...) {
  }
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK SpyCbtProc(int code, WPARAM wParam,
                                                             LPARAM lParam) {
  if (code >= 0) Guarded([&] { OnCbt(code, wParam, lParam); });
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

extern "C" __declspec(dllexport) LRESULT CALLBACK SpyCallWndRetProc(int code, WPARAM wParam,
                                                                    LPARAM lParam) {
  if (code >= 0) Guarded([&] { OnMessageReturned(*reinterpret_cast<const CWPRETSTRUCT*>(lParam)); });
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
