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
    static const std::pair<const wchar_t*, const wchar_t*> kIcons[] = {{IDI_ERROR, L"error"},
                                                                       {IDI_QUESTION, L"question"},
                                                                       {IDI_WARNING, L"warning"},
                                                                       {IDI_INFORMATION, L"information"}};
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
    : m_answers(std::move(answers)),
      m_processId(processId),
      m_answerAfter(answerAfter),
      m_thread([this] { Watch(); }) {}

MessageBoxWatcher::~MessageBoxWatcher() {
    m_stop = true;
    m_thread.join();
}

std::vector<SeenMessageBox> MessageBoxWatcher::Seen() const {
    std::lock_guard lock(m_mutex);
    return m_seen;
}

std::vector<std::wstring> MessageBoxWatcher::Texts() const {
    std::vector<std::wstring> texts;
    for (const SeenMessageBox& box : Seen()) texts.push_back(box.text);
    return texts;
}

void MessageBoxWatcher::Watch() {
    while (!m_stop) {
        std::erase_if(m_tracked, [](const Tracked& t) { return !::IsWindow(t.box); });  // a handle may come back
        const auto now = std::chrono::steady_clock::now();
        for (HWND box : BoxesOf(m_processId)) {
            if (std::any_of(m_tracked.begin(), m_tracked.end(), [&](const Tracked& t) { return t.box == box; }))
                continue;
            SeenMessageBox seen{demo::TextOf(box), demo::MessageBoxText(box), ::GetWindow(box, GW_OWNER), {}, {}};
            for (int id : {IDOK, IDCANCEL, IDYES, IDNO})
                if (::GetDlgItem(box, id) != nullptr) seen.buttons.push_back(id);
            if (m_processId == ::GetCurrentProcessId()) seen.icon = IconOf(box);
            std::lock_guard lock(m_mutex);
            m_seen.push_back(std::move(seen));
            const std::size_t index = std::min(m_seen.size(), m_answers.size()) - 1;
            m_tracked.push_back({box, m_answers.empty() ? IDOK : m_answers[index], now, false});
        }
        for (Tracked& t : m_tracked) {
            if (t.answered || now - t.since < m_answerAfter) continue;
            ::PostMessageW(t.box, WM_COMMAND, static_cast<WPARAM>(t.answer), 0);
            t.answered = true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}
