#include "message_box_watcher.h"

#include <algorithm>
#include <chrono>

namespace {

constexpr int kMessageBoxTextId = 0xFFFF;

std::wstring TextOf(HWND hwnd) {
    wchar_t buffer[2048] = {};
    ::GetWindowTextW(hwnd, buffer, 2048);
    return buffer;
}

struct Candidates {
    DWORD process;
    std::vector<HWND> boxes;
};

BOOL CALLBACK CollectBoxes(HWND hwnd, LPARAM lParam) {
    // No exception can come from here: plain calls only.
    auto* candidates = reinterpret_cast<Candidates*>(lParam);
    DWORD process = 0;
    ::GetWindowThreadProcessId(hwnd, &process);
    wchar_t className[32] = {};
    ::GetClassNameW(hwnd, className, 32);
    if (process == candidates->process && std::wstring(className) == L"#32770" && ::IsWindowVisible(hwnd) &&
        ::GetDlgItem(hwnd, kMessageBoxTextId) != nullptr)
        candidates->boxes.push_back(hwnd);
    return TRUE;
}

}  // namespace

MessageBoxWatcher::MessageBoxWatcher(int answer) : answer_(answer), thread_([this] { Watch(); }) {}

MessageBoxWatcher::~MessageBoxWatcher() {
    stop_ = true;
    thread_.join();
}

std::vector<SeenMessageBox> MessageBoxWatcher::Seen() const {
    std::lock_guard lock(mutex_);
    return seen_;
}

void MessageBoxWatcher::Watch() {
    while (!stop_) {
        Candidates candidates{::GetCurrentProcessId(), {}};
        ::EnumWindows(&CollectBoxes, reinterpret_cast<LPARAM>(&candidates));
        {
            // A closed box's handle may come back for a new box.
            std::lock_guard lock(mutex_);
            std::erase_if(answered_, [](HWND h) { return !::IsWindow(h); });
        }
        for (HWND box : candidates.boxes) {
            std::lock_guard lock(mutex_);
            if (std::find(answered_.begin(), answered_.end(), box) != answered_.end()) continue;
            answered_.push_back(box);
            seen_.push_back({TextOf(box), TextOf(::GetDlgItem(box, kMessageBoxTextId)), ::GetWindow(box, GW_OWNER)});
            ::PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(answer_), 0);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}
