// Answers the message boxes the code under test shows on this process's
// windows, recording what each said. A message box is modal on the test's
// own thread, so it has to be answered from another one.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct SeenMessageBox {
    std::wstring caption;
    std::wstring text;
    HWND owner = nullptr;
};

class MessageBoxWatcher {
public:
    // Watches until destroyed; every box is answered with OK (or the
    // button given) as soon as it is seen.
    explicit MessageBoxWatcher(int answer = IDOK);
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

    std::vector<SeenMessageBox> Seen() const;

private:
    void Watch();

    int answer_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<SeenMessageBox> seen_;
    std::vector<HWND> answered_;
    std::thread thread_;
};
