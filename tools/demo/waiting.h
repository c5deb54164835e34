// Bounded waiting for things that happen in another process.
#pragma once

#include <windows.h>

#include <chrono>

namespace demo {

using namespace std::chrono_literals;

// Wine starts a fresh process in a few seconds; the utility reads the
// registry and loads one library before its first window.
inline constexpr std::chrono::milliseconds kWindowTimeout = 30s;
// "Within a few seconds" for the program to end once asked to.
inline constexpr std::chrono::milliseconds kExitTimeout = 5s;
// How long nothing must happen for "nothing happened" to be believed.
inline constexpr std::chrono::milliseconds kQuietPeriod = 1500ms;
// For the screen to show what a window has painted: Wine copies it there
// shortly after, not at once, and another process cannot see the painting.
inline constexpr std::chrono::milliseconds kSettleTime = 300ms;
inline constexpr std::chrono::milliseconds kPollInterval = 50ms;

// Polls condition every interval until it yields a value that is true or
// the timeout has passed, and returns the last value it yielded.
template <typename Condition>
auto WaitFor(std::chrono::milliseconds timeout, Condition condition, std::chrono::milliseconds interval = kPollInterval)
    -> decltype(condition()) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        auto value = condition();
        if (value || std::chrono::steady_clock::now() >= deadline) return value;
        Sleep(static_cast<DWORD>(interval.count()));
    }
}

// Gives a window that has just appeared or changed the time to reach the screen.
inline void Settle(std::chrono::milliseconds time = kSettleTime) { Sleep(static_cast<DWORD>(time.count())); }

}  // namespace demo
