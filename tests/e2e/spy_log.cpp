#include "spy_log.h"

#include <algorithm>
#include <cwchar>
#include <string_view>

#include "paths.h"
#include "utf8.h"

namespace e2e {
namespace {

std::vector<std::wstring> Fields(std::wstring_view line) {
  std::vector<std::wstring> fields;
  for (size_t start = 0;;) {
    const size_t end = line.find(L'\t', start);
    fields.emplace_back(line.substr(start, end - start));
    if (end == std::wstring_view::npos) return fields;
    start = end + 1;
  }
}

HWND WindowFromHex(const std::wstring& hex) {
  return reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::wcstoull(hex.c_str(), nullptr, 16)));
}

// An export as the function type it has; void (*)() is the generic function
// pointer type that converts to any other without a warning.
HOOKPROC HookProcedure(HMODULE module, const char* name) {
  return reinterpret_cast<HOOKPROC>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace

bool WindowSpy::Attach(DWORD threadId) {
  module_.reset(LoadLibraryW(SpyPath().c_str()));
  if (!module_) return false;
  const HOOKPROC creationProc = HookProcedure(module_.get(), "SpyCbtProc");
  const HOOKPROC messageProc = HookProcedure(module_.get(), "SpyCallWndRetProc");
  if (creationProc == nullptr || messageProc == nullptr) return false;
  creationHook_.reset(SetWindowsHookExW(WH_CBT, creationProc, module_.get(), threadId));
  messageHook_.reset(SetWindowsHookExW(WH_CALLWNDPROCRET, messageProc, module_.get(), threadId));
  return creationHook_ && messageHook_;
}

std::vector<SpyEvent> ReadSpyLog(const std::wstring& path) {
  std::vector<SpyEvent> events;
  const std::wstring text = FromUtf8(FileBytes(path));
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find(L'\n', start);
    if (end == std::wstring::npos) break;  // a line still being written
    const std::vector<std::wstring> fields = Fields(std::wstring_view(text).substr(start, end - start));
    start = end + 1;
    if (fields.size() != 6) continue;
    events.push_back({fields[0], WindowFromHex(fields[1]), WindowFromHex(fields[2]),
                      static_cast<UINT_PTR>(std::wcstoull(fields[3].c_str(), nullptr, 10)),
                      fields[4], UnescapedText(fields[5])});
  }
  return events;
}

size_t FirstIndex(const std::vector<SpyEvent>& events,
                  const std::function<bool(const SpyEvent&)>& matches) {
  return static_cast<size_t>(std::find_if(events.begin(), events.end(), matches) - events.begin());
}

size_t FirstIndex(const std::vector<SpyEvent>& events, std::wstring_view kind, HWND window) {
  return FirstIndex(events, [&](const SpyEvent& event) {
    return event.kind == kind && event.window == window;
  });
}

bool IsStatic(const SpyEvent& event) {
  return CompareStringOrdinal(event.className.c_str(), -1, L"Static", -1, TRUE) == CSTR_EQUAL;
}

size_t FirstStaticWithText(const std::vector<SpyEvent>& events, std::wstring_view text) {
  return FirstIndex(events,
                    [&](const SpyEvent& event) { return IsStatic(event) && event.text == text; });
}

HWND WindowShowingText(const std::vector<SpyEvent>& events, std::wstring_view text) {
  const size_t at = FirstStaticWithText(events, text);
  return at < events.size() ? events[at].root : nullptr;
}

bool IsFrameworkWindowClass(const std::wstring& className) { return className.starts_with(L"Afx:"); }

size_t FirstSplashShown(const std::vector<SpyEvent>& events) {
  return FirstIndex(events, [](const SpyEvent& event) {
    return event.kind == L"show" && event.window == event.root && IsFrameworkWindowClass(event.className);
  });
}

}  // namespace e2e
