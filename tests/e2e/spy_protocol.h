// What window_spy.dll (inside the program under test) and the UI driver
// agree on: the environment that configures the spy, the lines of its log
// and the names of its pictures.
//
// Environment of the watched process:
//   VORNIX_SPY_LOG       file the event lines are appended to (UTF-8)
//   VORNIX_SPY_PICTURES  folder for window-<hwnd>.bmp pictures (optional):
//                        each top-level window as it was last painted
//
// One line per event, tab-separated:
//   event  hwnd  root-hwnd  control-id  class  text
// event: create, text, show, hide, paint, initdialog, destroy; hwnds in hex;
// text is the window's text (at create, the name it is created with), with
// \ tab newline and carriage return escaped as \\ \t \n \r.
// When a top-level window is shown, two more lines describe how it looks,
// since another process cannot ask (Wine does not pass WM_GETFONT or
// WM_GETICON between processes):
//   font   ... text "<face>;<lfHeight>"  (when the window has a font)
//   icons  ... text "small=<0|1>;big=<0|1>"
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace e2e {

inline constexpr wchar_t kSpyLogVariable[] = L"VORNIX_SPY_LOG";
inline constexpr wchar_t kSpyPicturesVariable[] = L"VORNIX_SPY_PICTURES";

inline std::wstring HexOf(const void* handle) {
  constexpr wchar_t kDigits[] = L"0123456789abcdef";
  auto number = reinterpret_cast<UINT_PTR>(handle);
  std::wstring text;
  do {
    text.insert(text.begin(), kDigits[number % 16]);
    number /= 16;
  } while (number != 0);
  return text;
}

inline std::wstring SpyPictureName(HWND root) { return L"window-" + HexOf(root) + L".bmp"; }

inline std::wstring EscapedText(std::wstring_view text) {
  std::wstring out;
  for (const wchar_t c : text) {
    switch (c) {
      case L'\\': out += L"\\\\"; break;
      case L'\t': out += L"\\t"; break;
      case L'\n': out += L"\\n"; break;
      case L'\r': out += L"\\r"; break;
      default: out += c;
    }
  }
  return out;
}

inline std::wstring UnescapedText(std::wstring_view text) {
  std::wstring out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != L'\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    switch (text[++i]) {
      case L't': out += L'\t'; break;
      case L'n': out += L'\n'; break;
      case L'r': out += L'\r'; break;
      default: out += text[i];
    }
  }
  return out;
}

}  // namespace e2e
