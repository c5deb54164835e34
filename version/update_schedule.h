// The reminder schedule's decisions, apart from where its values are kept.
// Portable.
#pragma once

#include <cstdint>
#include <optional>

#include "version/calendar_time.h"

inline constexpr std::int32_t kDefaultIntervalDays = 7;
inline constexpr std::int32_t kCancelPostponementDays = 365;

enum class ScheduleState {
    Unscheduled,  // nothing stored yet: set up the schedule, no check
    Waiting,      // the next check lies after today
    Due,          // the next check is today or earlier
};

// stored is the stored next-check date, or the reference date when none.
ScheduleState ClassifySchedule(CalendarTime today, CalendarTime stored, CalendarTime reference);

// The interval from the registry's four bytes, read as signed: nothing read
// or 0xFFFFFFFF means the default, which is then written back.
struct ReminderInterval {
    std::int32_t days;
    bool writeDefault;
};
ReminderInterval IntervalFromRegistry(std::optional<std::uint32_t> stored);

// today + days whole days (days may be 0 or negative).
CalendarTime DaysAfter(CalendarTime today, std::int32_t days);
