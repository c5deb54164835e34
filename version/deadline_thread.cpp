#include "version/deadline_thread.h"

#include <windows.h>

#include <memory>

#include "afx/exception_barrier.h"
#include "afx/handles.h"

namespace {

DWORD WINAPI WorkingThread(void* parameter) {
    const std::unique_ptr<std::function<void()>> work(static_cast<std::function<void()>*>(parameter));
    return AfxCallGuarded(0ul, [&] {
        // The work's own failures just end it; the caller sees it did not finish.
        try {
            (*work)();
        } catch (...) {
            return 1ul;
        }
        return 0ul;
    });
}

}  // namespace

DWORD MillisecondsLeft(StartClock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - StartClock::now()).count();
    // Beyond 49.7 days the longest finite wait: neither wrapped round to a
    // short one nor INFINITE.
    constexpr DWORD kLongest = INFINITE - 1;
    return left <= 0 ? 0 : left >= kLongest ? kLongest : static_cast<DWORD>(left);
}

bool RunUntilDeadline(std::function<void()> work, StartClock::time_point deadline) {
    auto forThread = std::make_unique<std::function<void()>>(std::move(work));
    const afx::unique_handle thread(::CreateThread(nullptr, 0, &WorkingThread, forThread.get(), 0, nullptr));
    if (!thread) return false;
    forThread.release();  // the thread owns it now
    if (::WaitForSingleObject(thread.get(), MillisecondsLeft(deadline)) != WAIT_OBJECT_0) return false;
    DWORD code = 1;
    return ::GetExitCodeThread(thread.get(), &code) && code == 0;
}
