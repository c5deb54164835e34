#include "message_boxes.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "process_windows.h"

namespace {

// The visible message boxes of the process.
std::vector<HWND> BoxesOf(DWORD processId) {
    std::vector<HWND> boxes = demo::VisibleTopLevelWindowsOf(processId);
    std::erase_if(boxes, [](HWND window) { return !demo::IsMessageBox(window); });
    return boxes;
}

// The icon a box shows, by its static icon control; only its own process
// can read the handle.
std::wstring IconOf(HWND box) {
    static const std::pair<const wchar_t*, const wchar_t*> kIcons[] = {
        {IDI_ERROR, L"error"}, {IDI_QUESTION, L"question"}, {IDI_WARNING, L"warning"}, {IDI_INFORMATION, L"information"}};
    for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if ((::GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) continue;
        const auto shown = reinterpret_cast<HICON>(::SendMessageW(child, STM_GETICON, 0, 0));
        for (const auto& [id, name] : kIcons)
            if (shown != nullptr && shown == ::LoadIconW(nullptr, id)) return name;
    }
    return {};
}

}  // namespace

MessageBoxWatcher::MessageBoxWatcher(std::vector<int> answers, DWORD processId, std::chrono::milliseconds answerAfter)
    : answers_(std::move(answers)), processId_(processId), answerAfter_(answerAfter), thread_([this] { Watch(); }) {}

MessageBoxWatcher::~MessageBoxWatcher() {
    stop_ = true;
    thread_.join();
}

std::vector<SeenMessageBox> MessageBoxWatcher::Seen() const {
    std::lock_guard lock(mutex_);
    return seen_;
}

std::vector<std::wstring> MessageBoxWatcher::Texts() const {
    std::vector<std::wstring> texts;
    for (const SeenMessageBox& box : Seen()) texts.push_back(box.text);
    return texts;
}

void MessageBoxWatcher::Watch() {
    while (!stop_) {
        std::erase_if(tracked_, [](const Tracked& t) { return !::IsWindow(t.box); });  // a handle may come back
        const auto now = std::chrono::steady_clock::now();
        for (HWND box : BoxesOf(processId_)) {
            if (std::any_of(tracked_.begin(), tracked_.end(), [&](const Tracked& t) { return t.box == box; })) continue;
            SeenMessageBox seen{demo::TextOf(box), demo::MessageBoxText(box),
                                ::GetWindow(box, GW_OWNER), {}, {}};
            for (int id : {IDOK, IDCANCEL, IDYES, IDNO})
                if (::GetDlgItem(box, id) != nullptr) seen.buttons.push_back(id);
            if (processId_ == ::GetCurrentProcessId()) seen.icon = IconOf(box);
            std::lock_guard lock(mutex_);
            seen_.push_back(std::move(seen));
            const std::size_t index = std::min(seen_.size(), answers_.size()) - 1;
            tracked_.push_back({box, answers_.empty() ? IDOK : answers_[index], now, false});
        }
        for (Tracked& t : tracked_) {
            if (t.answered || now - t.since < answerAfter_) continue;
            ::PostMessageW(t.box, WM_COMMAND, static_cast<WPARAM>(t.answer), 0);
            t.answered = true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}
