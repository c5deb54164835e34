// The platform's clock and calendar, behind one small seam so the Windows
// program and the native tests compute local time with the same calls:
// 64-bit seconds since 1970-01-01 00:00:00 UTC, local calendar parts in the
// computer's time zone, daylight saving determined automatically.
// Portable: <ctime> only.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>

namespace local_clock {

std::int64_t Now();

// Makes Now answer with now() instead of the system clock (null: the system
// clock again), for tests that must know which day it is.
void SetNowSource(std::int64_t (*now)());

// The time of local calendar parts (tm_isdst is ignored: daylight saving is
// looked up). Excess days and months carry forward. Nothing when the
// platform cannot convert them.
std::optional<std::int64_t> FromLocalParts(std::tm parts);

// The local calendar parts of a time; nothing when the platform cannot
// convert it.
std::optional<std::tm> ToLocalParts(std::int64_t time);

}  // namespace local_clock
