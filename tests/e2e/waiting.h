// Bounded waiting for things that happen in another process.
#pragma once

#include <windows.h>

#include <chrono>

namespace e2e {

using namespace std::chrono_literals;

// Wine starts a fresh process in a few seconds; the utility reads the
// registry and loads one library before its first window.
inline constexpr std::chrono::milliseconds kWindowTimeout = 30s;
// "Within a few seconds" for the program to end once asked to.
inline constexpr std::chrono::milliseconds kExitTimeout = 5s;
// How long nothing must happen for "nothing happened" to be believed.
inline constexpr std::chrono::milliseconds kQuietPeriod = 1500ms;
// For the screen to show what a window has painted: Wine copies it there
// shortly after, not at once.
inline constexpr std::chrono::milliseconds kScreenTimeout = 2s;
// For the spy's line about something the driver has already seen happen.
inline constexpr std::chrono::milliseconds kSpyTimeout = 2s;
inline constexpr std::chrono::milliseconds kPollInterval = 50ms;

// Polls condition until it yields a value that tests true or the timeout
// has passed, and returns the last value it yielded.
template <typename Condition>
auto WaitFor(std::chrono::milliseconds timeout, Condition condition) -> decltype(condition()) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    auto value = condition();
    if (value || std::chrono::steady_clock::now() >= deadline) return value;
    Sleep(static_cast<DWORD>(kPollInterval.count()));
  }
}

}  // namespace e2e
