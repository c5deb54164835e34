// The promise to a user: the main dialog is on screen within kStartPromise
// of the program's start, whatever the update page's server does (takes
// the connection and never answers, or answers a byte at a time). The web
// update check, the only wait of the start, reads the page until
// UpdatePageDeadline of the program's start.
//
// The start and every deadline are on one steady clock, which nothing sets
// or steps: a wall clock moves at logon or with the time service, and the
// time it seemed to have passed since the start would decide how long the
// page may take. The program's start is taken when its application object
// is made, while the program's static objects are (7 to 16 ms after the
// process was created, measured under Wine).
#pragma once

#include <chrono>

using StartClock = std::chrono::steady_clock;

inline constexpr std::chrono::milliseconds kStartPromise{10000};
// What the start needs after the page is read: the newest-file scan (a few
// milliseconds), the offer or the main dialog shown, and Wine's slower
// window start-up.
inline constexpr std::chrono::milliseconds kAfterPageReserve{900};
// How long past the page's deadline the newest-file scan may take, out of
// kAfterPageReserve: a local scan takes milliseconds, and a network share
// that does not answer in this long is not waited for.
inline constexpr std::chrono::milliseconds kInstalledScanTime{400};
// The least time worth trying the page in: a page that answers at once took
// 0.2 s (docs/PERFORMANCE.md). With less left, a due check waits for the
// next start rather than moving the schedule on without a page.
inline constexpr std::chrono::milliseconds kLeastPageTime{500};

// The moment the reading of the update page must end in a program that
// started at start.
constexpr StartClock::time_point UpdatePageDeadline(StartClock::time_point start) {
    return start + kStartPromise - kAfterPageReserve;
}
