#include "version/start_deadline.h"

#include <windows.h>

#include <algorithm>

#include "afx/file_time.h"

std::chrono::steady_clock::time_point UpdatePageDeadline() {
    using namespace std::chrono;
    const steady_clock::time_point now = steady_clock::now();
    FILETIME created{}, exited{}, kernel{}, user{}, current{};
    milliseconds sinceStart{0};
    if (::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user)) {
        ::GetSystemTimeAsFileTime(&current);
        // File times count 100 ns.
        sinceStart =
            duration_cast<milliseconds>(nanoseconds((afx::FileTimeUnits(current) - afx::FileTimeUnits(created)) * 100));
    }
    const milliseconds left =
        kStartPromise - kAfterPageReserve - std::clamp(sinceStart, milliseconds{0}, kStartPromise);
    return now + std::max(left, milliseconds{0});
}
