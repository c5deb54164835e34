#include <gtest/gtest.h>

#include <climits>

#include "afx/exception.h"
#include "version/calendar_time.h"
#include "version/date_text.h"
#include "version/update_schedule.h"

namespace {

std::int32_t StatusOf(void (*build)()) {
    try {
        build();
    } catch (const COleException& e) {
        return e.Status();
    }
    return 0;
}

}  // namespace

TEST(CalendarTime, PartsOutOfRangeRaiseUnspecifiedFailure) {
    const auto fail = kStatusUnspecifiedFailure;
    EXPECT_EQ(StatusOf([] { MakeLocalTime(1969, 12, 31); }), fail);
    EXPECT_EQ(StatusOf([] { MakeLocalTime(2023, 0, 1); }), fail);
    EXPECT_EQ(StatusOf([] { MakeLocalTime(2023, 13, 1); }), fail);
    EXPECT_EQ(StatusOf([] { MakeLocalTime(2023, 1, 0); }), fail);
    EXPECT_EQ(StatusOf([] { MakeLocalTime(2023, 1, 32); }), fail);
    EXPECT_EQ(StatusOf([] { MakeLocalTime(2023, 1, 1, 24); }), fail);
    EXPECT_EQ(StatusOf([] { MakeLocalTime(2023, 1, 1, -1); }), fail);
    EXPECT_EQ(StatusOf([] { MakeLocalTime(2023, 1, 1, 0, 60); }), fail);
    EXPECT_EQ(StatusOf([] { MakeLocalTime(2023, 1, 1, 0, 0, 60); }), fail);
    EXPECT_EQ(StatusOf([] { MakeLocalTime(2023, 12, 31, 23, 59, 59); }), 0);
    // A year the calendar cannot convert is the other error.
    EXPECT_EQ(StatusOf([] { MakeLocalTime(INT_MAX, 1, 1); }), kStatusInvalidArgument);
}

TEST(CalendarTime, DaysBeyondTheMonthCarryForwardAndDatesRoundTrip) {
    EXPECT_EQ(MakeLocalTime(2023, 2, 31), MakeLocalTime(2023, 3, 3));
    EXPECT_EQ(MakeLocalTime(2024, 2, 30), MakeLocalTime(2024, 3, 1));  // leap year
    EXPECT_EQ(FormatLocalTime(MakeLocalTime(2023, 5, 17)), L"2023-05-17 00:00:00");
    EXPECT_EQ(FormatLocalTime(MakeLocalTime(2000, 1, 1)), L"2000-01-01 00:00:00");
    EXPECT_EQ(ReferenceDate(), MakeLocalTime(2000, 1, 1));
    EXPECT_EQ(FormatLocalTime(Today()).substr(10), L" 00:00:00");
    EXPECT_EQ(FormatLocalTime(MakeLocalTime(2023, 5, 17, 8, 9, 10), L"%d.%m.%Y"), L"17.05.2023");
    EXPECT_EQ(StatusOf([] { FormatLocalTime(-1); }), kStatusInvalidArgument);
}

TEST(StoredDate, SixNumbersWithSeparatorsAfterEachOfTheFirstFive) {
    using Six = std::array<int, 6>;
    EXPECT_EQ(ParseStoredDate(L"2023-05-17 00:00:00"), (Six{2023, 5, 17, 0, 0, 0}));
    EXPECT_EQ(ParseStoredDate(L"2023-5-7 8:9:10"), (Six{2023, 5, 7, 8, 9, 10}));
    EXPECT_EQ(ParseStoredDate(L"2023:05 17-01 02:03"), (Six{2023, 5, 17, 1, 2, 3}));  // any of the three, anywhere
    EXPECT_EQ(ParseStoredDate(L"2023-05-17 00:00:"), (Six{2023, 5, 17, 0, 0, 0}));     // the sixth needs no digits
    EXPECT_EQ(ParseStoredDate(L"2023-05-17 00:00"), std::nullopt);                       // the fifth needs its separator
    EXPECT_EQ(ParseStoredDate(L"x-y-z-a-b-c"), (Six{0, 0, 0, 0, 0, 0}));                 // no digits read as 0
    EXPECT_EQ(ParseStoredDate(L"2023-13-01 00:00:00"), (Six{2023, 13, 1, 0, 0, 0}));    // range is the builder's job
    // A date without its time lacks separators: no date at all.
    EXPECT_EQ(ParseStoredDate(L"2023-05-17"), std::nullopt);
    EXPECT_EQ(ParseStoredDate(L""), std::nullopt);
    EXPECT_EQ(ParseStoredDate(L"20230517000000"), std::nullopt);
    // The separator search starts at the remaining text, not after the number.
    EXPECT_EQ(ParseStoredDate(L" 2023-05-17 00:00:00"), (Six{2023, 2023, 5, 17, 0, 0}));
}

TEST(StoredDate, LeadingIntegerReadsLikeTheRuntime) {
    EXPECT_EQ(LeadingInteger(L"  42abc"), 42);
    EXPECT_EQ(LeadingInteger(L"\t-7"), -7);
    EXPECT_EQ(LeadingInteger(L"+8"), 8);
    EXPECT_EQ(LeadingInteger(L"- 8"), 0);
    EXPECT_EQ(LeadingInteger(L""), 0);
    EXPECT_EQ(LeadingInteger(L"99999999999999999999"), INT_MAX);
    EXPECT_EQ(LeadingInteger(L"-99999999999999999999"), INT_MIN);
}

TEST(UpdatePage, DateFollowsTheMarkerInAnyCase) {
    using Ymd = std::array<int, 3>;
    EXPECT_EQ(FindPublishedDate(L"<a href=\"Vornix_2023_Update2023_06_30.exe\">Update</a>"), (Ymd{2023, 6, 30}));
    EXPECT_EQ(FindPublishedDate(L"VORNIX_2023_UPDATE2023_06_30.EXE"), (Ymd{2023, 6, 30}));
    EXPECT_EQ(FindPublishedDate(L"vornix_2023_update2024_1_2.zip and vornix_2023_update2025_01_01.exe"),
              (Ymd{2024, 1, 2}));  // the first marker counts
    // A leading "_" reads the year as 0 (the builder then rejects it).
    EXPECT_EQ(FindPublishedDate(L"Vornix_2023_Update_2023_06_30.exe"), (Ymd{0, 2023, 6}));
    EXPECT_EQ(FindPublishedDate(L"no marker here 2023_06_30.exe"), std::nullopt);
    EXPECT_EQ(FindPublishedDate(L"Vornix_2023_Update2023_06_30"), std::nullopt);  // no "." after it
    EXPECT_EQ(FindPublishedDate(L"Vornix_2023_Update2023_06.exe"), std::nullopt);  // only one "_"
    EXPECT_EQ(FindPublishedDate(L"Vornix_2023_Update2023_06.x_30"), std::nullopt);  // the "." comes first
}

TEST(Schedule, DecisionsAtTheDayBoundaryAndWithOddIntervals) {
    const CalendarTime reference = ReferenceDate();
    const CalendarTime today = MakeLocalTime(2023, 5, 17);
    EXPECT_EQ(ClassifySchedule(today, reference, reference), ScheduleState::Unscheduled);
    EXPECT_EQ(ClassifySchedule(today, today, reference), ScheduleState::Due);
    EXPECT_EQ(ClassifySchedule(today, today - 1, reference), ScheduleState::Due);
    EXPECT_EQ(ClassifySchedule(today, today + 1, reference), ScheduleState::Waiting);
    EXPECT_EQ(ClassifySchedule(today, DaysAfter(today, 1), reference), ScheduleState::Waiting);

    EXPECT_EQ(IntervalFromRegistry(std::nullopt).days, 7);
    EXPECT_TRUE(IntervalFromRegistry(std::nullopt).writeDefault);
    EXPECT_EQ(IntervalFromRegistry(0xFFFFFFFFu).days, 7);
    EXPECT_TRUE(IntervalFromRegistry(0xFFFFFFFFu).writeDefault);
    EXPECT_EQ(IntervalFromRegistry(0u).days, 0);
    EXPECT_EQ(IntervalFromRegistry(0xFFFFFFFEu).days, -2);
    EXPECT_FALSE(IntervalFromRegistry(0xFFFFFFFEu).writeDefault);

    // 0 makes today the next date (due at every start); negative lies in the past.
    EXPECT_EQ(DaysAfter(today, 0), today);
    EXPECT_EQ(ClassifySchedule(today, DaysAfter(today, -2), reference), ScheduleState::Due);
    EXPECT_EQ(DaysAfter(today, 7), MakeLocalTime(2023, 5, 24));
    EXPECT_EQ(DaysAfter(0, INT32_MAX), static_cast<std::int64_t>(INT32_MAX) * 86400);  // no 32-bit overflow
}
