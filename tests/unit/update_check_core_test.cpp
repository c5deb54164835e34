// The update check's portable decisions: building and showing local times,
// reading the stored date and the page's date, and the schedule.
#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "afx/exception.h"
#include "version/calendar_time.h"
#include "version/date_text.h"
#include "version/update_schedule.h"

namespace {

std::int32_t StatusOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const COleException& e) {
        return e.Status();
    }
    return 0;
}

constexpr std::int32_t kFail = kStatusUnspecifiedFailure;

}  // namespace

TEST(CalendarTime, PartsAreRangeCheckedAndDaysCarryIntoTheNextMonth) {
    struct Row {
        std::array<int, 6> parts;
        std::int32_t status;
    };
    // clang-format off
    const Row rows[] = {
        {{1969, 12, 31, 0, 0, 0}, kFail}, {{2023, 0, 1, 0, 0, 0}, kFail},  {{2023, 13, 1, 0, 0, 0}, kFail},
        {{2023, 1, 0, 0, 0, 0}, kFail},   {{2023, 1, 32, 0, 0, 0}, kFail}, {{2023, 1, 1, 24, 0, 0}, kFail},
        {{2023, 1, 1, -1, 0, 0}, kFail},  {{2023, 1, 1, 0, 60, 0}, kFail}, {{2023, 1, 1, 0, 0, 60}, kFail},
        {{2023, 12, 31, 23, 59, 59}, 0},  {{INT_MAX, 1, 1, 0, 0, 0}, kStatusInvalidArgument},  // no calendar for it
    };
    // clang-format on
    for (const Row& row : rows) {
        const auto& p = row.parts;
        EXPECT_EQ(StatusOf([&] { MakeLocalTime(p[0], p[1], p[2], p[3], p[4], p[5]); }), row.status)
            << p[0] << "-" << p[1] << "-" << p[2] << " " << p[3] << ":" << p[4] << ":" << p[5];
    }
    EXPECT_EQ(MakeLocalTime(2023, 2, 31), MakeLocalTime(2023, 3, 3));
    EXPECT_EQ(MakeLocalTime(2024, 2, 30), MakeLocalTime(2024, 3, 1));  // leap year
    EXPECT_EQ(FormatLocalTime(MakeLocalTime(2023, 5, 17)), L"2023-05-17 00:00:00");
    EXPECT_EQ(FormatLocalTime(ReferenceDate()), L"2000-01-01 00:00:00");
    EXPECT_EQ(FormatLocalTime(Today()).substr(10), L" 00:00:00");
    EXPECT_EQ(StatusOf([] { FormatLocalTime(-1); }), kStatusInvalidArgument);
}

TEST(StoredDate, SixNumbersEachOfTheFirstFiveFollowedBySomeSeparator) {
    using Six = std::optional<std::array<int, 6>>;
    // clang-format off
    const std::pair<const wchar_t*, Six> rows[] = {
        {L"2023-05-17 00:00:00", Six{{2023, 5, 17, 0, 0, 0}}},
        {L"2023-5-7 8:9:10", Six{{2023, 5, 7, 8, 9, 10}}},
        {L"2023:05 17-01 02:03", Six{{2023, 5, 17, 1, 2, 3}}},    // any of the three, anywhere
        {L"2023-05-17 00:00:", Six{{2023, 5, 17, 0, 0, 0}}},      // the sixth needs no digits
        {L"x-y-z-a-b-c", Six{{0, 0, 0, 0, 0, 0}}},               // no digits read as 0
        {L"2023-13-01 00:00:00", Six{{2023, 13, 1, 0, 0, 0}}},    // range is the builder's job
        {L" 2023-05-17 00:00:00", Six{{2023, 2023, 5, 17, 0, 0}}},  // the search starts at the remaining text
        {L"2023-05-17 00:00", std::nullopt},                     // the fifth separator is missing
        {L"2023-05-17", std::nullopt},                           // a date without its time
        {L"20230517000000", std::nullopt},
        {L"", std::nullopt},
    };
    // clang-format on
    for (const auto& [text, expected] : rows) EXPECT_EQ(ParseStoredDate(text), expected) << text;

    // clang-format off
    const std::pair<const wchar_t*, int> integers[] = {
        {L"  42abc", 42}, {L"\t-7", -7}, {L"+8", 8}, {L"- 8", 0}, {L"", 0},
        {L"99999999999999999999", INT_MAX}, {L"-99999999999999999999", INT_MIN},
    };
    // clang-format on
    for (const auto& [text, value] : integers) EXPECT_EQ(LeadingInteger(text), value) << text;
}

TEST(UpdatePage, TheDateFollowsTheFirstMarkerInAnyCase) {
    using Ymd = std::optional<std::array<int, 3>>;
    // clang-format off
    const std::pair<const wchar_t*, Ymd> rows[] = {
        {L"<a href=\"Vornix_2023_Update2023_06_30.exe\">Update</a>", Ymd{{2023, 6, 30}}},
        {L"VORNIX_2023_UPDATE2023_06_30.EXE", Ymd{{2023, 6, 30}}},
        {L"vornix_2023_update2024_1_2.zip and vornix_2023_update2025_01_01.exe", Ymd{{2024, 1, 2}}},
        {L"Vornix_2023_Update_2023_06_30.exe", Ymd{{0, 2023, 6}}},  // the year reads as 0
        {L"no marker here 2023_06_30.exe", std::nullopt},
        {L"Vornix_2023_Update2023_06_30", std::nullopt},            // no "." after it
        {L"Vornix_2023_Update2023_06.exe", std::nullopt},           // only one "_"
        {L"Vornix_2023_Update2023_06.x_30", std::nullopt},          // the "." comes first
    };
    // clang-format on
    for (const auto& [page, expected] : rows) EXPECT_EQ(FindPublishedDate(page), expected) << page;
}

// The intervals as the registry gives them are rows of the whole check's
// table (tests/win/update_check_test.cpp).
TEST(Schedule, DueOnTheStoredDayAndIntervalsOfAnySign) {
    const CalendarTime reference = ReferenceDate();
    const CalendarTime today = MakeLocalTime(2023, 5, 17);
    // clang-format off
    const std::pair<CalendarTime, ScheduleState> states[] = {
        {reference, ScheduleState::Unscheduled}, {today, ScheduleState::Due},
        {today - 1, ScheduleState::Due},         {today + 1, ScheduleState::Waiting},
        {DaysAfter(today, -2), ScheduleState::Due},
    };
    // clang-format on
    for (const auto& [stored, state] : states) EXPECT_EQ(ClassifySchedule(today, stored, reference), state) << stored;

    EXPECT_EQ(DaysAfter(today, 7), MakeLocalTime(2023, 5, 24));
    EXPECT_EQ(DaysAfter(0, INT32_MAX), static_cast<std::int64_t>(INT32_MAX) * 86400);  // no 32-bit overflow
}
