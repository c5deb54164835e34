// The promise to a user: the main dialog is on screen within kStartPromise
// of the program's start, whatever the update page's server does (takes
// the connection and never answers, or answers a byte at a time). The web
// update check, the only wait of the start, reads the page until UpdatePageDeadline.
#pragma once

#include <chrono>

inline constexpr std::chrono::milliseconds kStartPromise{10000};
// What the start needs after the page is read: the newest-file scan (a few
// milliseconds), the offer or the main dialog shown, and Wine's slower
// window start-up.
inline constexpr std::chrono::milliseconds kAfterPageReserve{900};

// The moment (steady clock) the reading of the update page must end: the
// program's start plus kStartPromise less kAfterPageReserve, counted from
// the process's creation time; never later than kStartPromise from now.
std::chrono::steady_clock::time_point UpdatePageDeadline();
