// The system's file times (100-ns intervals since 1601-01-01 UTC) against
// the runtime's times (seconds since 1970-01-01 UTC).
#pragma once

#include <windows.h>

#include <cstdint>

namespace afx {

// 100-ns intervals from 1601-01-01 to 1970-01-01.
inline constexpr std::int64_t kFileTimeEpochOffset = 116444736000000000LL;
inline constexpr std::int64_t kFileTimeUnitsPerSecond = 10000000LL;

inline std::int64_t FileTimeUnits(const FILETIME& time) noexcept {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
}

inline std::int64_t FileTimeToUnixSeconds(const FILETIME& time) noexcept {
    return (FileTimeUnits(time) - kFileTimeEpochOffset) / kFileTimeUnitsPerSecond;
}

inline FILETIME UnixSecondsToFileTime(std::int64_t seconds) noexcept {
    const auto units = static_cast<std::uint64_t>(seconds * kFileTimeUnitsPerSecond + kFileTimeEpochOffset);
    return {static_cast<DWORD>(units), static_cast<DWORD>(units >> 32)};
}

// Milliseconds since 1970-01-01 UTC by the system clock.
inline std::int64_t UnixMillisecondsNow() noexcept {
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    return (FileTimeUnits(now) - kFileTimeEpochOffset) / (kFileTimeUnitsPerSecond / 1000);
}

}  // namespace afx
