#include "process_windows.h"

#include <algorithm>

namespace demo {
namespace {

struct Search {
    DWORD processId;  // 0: every window enumerated
    std::vector<HWND>* found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM context) noexcept {
    // No exception may leave an enumeration callback: stop enumerating instead.
    try {
        const auto& search = *reinterpret_cast<Search*>(context);
        DWORD owner = 0;
        if (search.processId != 0) GetWindowThreadProcessId(window, &owner);
        if (owner == search.processId) search.found->push_back(window);
        return TRUE;
    } catch (...) {
        return FALSE;
    }
}

template <typename Predicate>
HWND FirstVisibleWindowOf(DWORD processId, Predicate predicate) {
    const std::vector<HWND> windows = VisibleTopLevelWindowsOf(processId);
    const auto found = std::find_if(windows.begin(), windows.end(), predicate);
    return found != windows.end() ? *found : nullptr;
}

}  // namespace

std::vector<HWND> TopLevelWindowsOf(DWORD processId) {
    std::vector<HWND> windows;
    Search search{processId, &windows};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return windows;
}

std::vector<HWND> VisibleTopLevelWindowsOf(DWORD processId) {
    std::vector<HWND> windows = TopLevelWindowsOf(processId);
    std::erase_if(windows, [](HWND window) { return !IsWindowVisible(window); });
    return windows;
}

std::vector<HWND> ChildWindowsOf(HWND parent) {
    std::vector<HWND> children;
    Search search{0, &children};
    EnumChildWindows(parent, CollectWindow, reinterpret_cast<LPARAM>(&search));
    return children;
}

std::wstring ClassNameOf(HWND window) {
    wchar_t name[256]{};
    GetClassNameW(window, name, 256);
    return name;
}

std::wstring TextOf(HWND window) {
    // For a window of another process GetWindowTextW reads the stored text
    // without sending WM_GETTEXT, so a busy program cannot block it.
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool IsMessageBox(HWND window) {
    return ClassNameOf(window) == kDialogClass && GetDlgItem(window, kMessageBoxTextId) != nullptr;
}

std::wstring MessageBoxText(HWND box) { return TextOf(GetDlgItem(box, kMessageBoxTextId)); }

HWND FindMessageBox(DWORD processId) { return FirstVisibleWindowOf(processId, IsMessageBox); }

HWND FindMainDialog(DWORD processId) {
    return FirstVisibleWindowOf(processId, [](HWND window) {
        return ClassNameOf(window) == kDialogClass && GetDlgItem(window, kHelpButtonId) != nullptr;
    });
}

HWND FindOpenMenu(DWORD processId) {
    return FirstVisibleWindowOf(processId, [](HWND window) { return ClassNameOf(window) == kMenuClass; });
}

HWND FocusOfThreadOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

HWND FindSplash(DWORD processId) {
    return FirstVisibleWindowOf(processId, [](HWND window) {
        const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
        return (style & WS_POPUP) != 0 && (style & WS_CAPTION) != WS_CAPTION && ClassNameOf(window) != kMenuClass;
    });
}

HWND FindWindowShowingText(DWORD processId, std::wstring_view text) {
    return FirstVisibleWindowOf(processId, [text](HWND window) {
        const std::vector<HWND> children = ChildWindowsOf(window);
        return std::any_of(children.begin(), children.end(),
                           [text](HWND child) { return IsWindowVisible(child) && TextOf(child) == text; });
    });
}

LRESULT SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result);
    return static_cast<LRESULT>(result);
}

bool Responds(HWND window) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) != 0;
}

}  // namespace demo
