// The driver's side of window_spy.dll: hooking the program's main thread and
// reading back what the hooks recorded.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "spy_protocol.h"
#include "win_handles.h"

namespace e2e {

// Hooks window_spy.dll into one thread of another process. Wine loads the
// DLL into that process when the hooks are first called there, so the thread
// may still be suspended when it is attached.
class WindowSpy {
 public:
  // False, with the last-error value set, when the DLL or a hook failed.
  bool Attach(DWORD threadId);

 private:
  Module module_;
  Hook creationHook_;
  Hook messageHook_;
};

// One line of the spy's log (see spy_protocol.h).
struct SpyEvent {
  std::wstring kind;
  HWND window = nullptr;
  HWND root = nullptr;
  UINT_PTR controlId = 0;
  std::wstring className;
  std::wstring text;
};

std::vector<SpyEvent> ReadSpyLog(const std::wstring& path);

// Position of the first event that matches, or events.size() when none does.
size_t FirstIndex(const std::vector<SpyEvent>& events,
                  const std::function<bool(const SpyEvent&)>& matches);
size_t FirstIndex(const std::vector<SpyEvent>& events, std::wstring_view kind, HWND window);

bool IsStatic(const SpyEvent& event);
// The first event of a static control carrying the text.
size_t FirstStaticWithText(const std::vector<SpyEvent>& events, std::wstring_view text);
// The top-level window holding a static with the text; nullptr when none did.
HWND WindowShowingText(const std::vector<SpyEvent>& events, std::wstring_view text);
// Whether the class is one the program's framework registers for its own
// windows (the splash); dialogs and controls have system classes.
bool IsFrameworkWindowClass(const std::wstring& className);
// Where the first top-level window of a framework class was shown: the
// splash. events.size() when none was.
size_t FirstSplashShown(const std::vector<SpyEvent>& events);

}  // namespace e2e
