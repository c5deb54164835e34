#include "version/update_schedule.h"

ScheduleState ClassifySchedule(CalendarTime today, CalendarTime stored, CalendarTime reference) {
    if (stored == reference) return ScheduleState::Unscheduled;
    if (today < stored) return ScheduleState::Waiting;
    return ScheduleState::Due;
}

ReminderInterval IntervalFromRegistry(std::optional<std::uint32_t> stored) {
    if (!stored || *stored == 0xFFFFFFFFu) return {kDefaultIntervalDays, true};
    return {static_cast<std::int32_t>(*stored), false};
}

CalendarTime DaysAfter(CalendarTime today, std::int32_t days) {
    return today + static_cast<std::int64_t>(days) * kSecondsPerDay;
}
