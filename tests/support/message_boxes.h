// Answering the message boxes a process shows and remembering what each
// said. A box is modal on the thread that shows it, so it is answered from a
// thread of its own; in-process and across processes alike (Wine lets
// another process read a box's texts and press its buttons).
#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct SeenMessageBox {
    std::wstring caption;
    std::wstring text;
    HWND owner = nullptr;
    // The standard buttons it has (IDOK, IDCANCEL, IDYES, IDNO, in that order).
    std::vector<int> buttons;
    // Which standard icon it shows: "error", "question", "warning",
    // "information", or "" (none, or not readable from another process).
    std::wstring icon;
};

class MessageBoxWatcher {
public:
    // Watches the process's boxes until destroyed; each is answered with
    // the next of the answers (the last one repeats) once it has been on
    // screen for answerAfter.
    explicit MessageBoxWatcher(std::vector<int> answers = {IDOK}, DWORD processId = ::GetCurrentProcessId(),
                               std::chrono::milliseconds answerAfter = std::chrono::milliseconds(0));
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

    std::vector<SeenMessageBox> Seen() const;
    // The texts of the boxes seen so far, in order.
    std::vector<std::wstring> Texts() const;

private:
    void Watch();

    struct Tracked {
        HWND box;
        int answer;
        std::chrono::steady_clock::time_point since;
        bool answered;
    };

    std::vector<int> m_answers;
    DWORD m_processId;
    std::chrono::milliseconds m_answerAfter;
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_mutex;
    std::vector<SeenMessageBox> m_seen;
    std::vector<Tracked> m_tracked;
    std::thread m_thread;
};
