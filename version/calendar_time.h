// Calendar times of the update schedule: signed 64-bit seconds since
// 1970-01-01 00:00:00 UTC, built from and shown as local calendar parts.
// Portable.
#pragma once

#include <cstdint>
#include <string>

using CalendarTime = std::int64_t;

inline constexpr std::int64_t kSecondsPerDay = 86400;
// How the schedule stores a date, e.g. 2023-05-17 00:00:00.
inline constexpr wchar_t kScheduleDateFormat[] = L"%Y-%m-%d %H:%M:%S";

// Builds a time from local calendar parts. A part out of range (year before
// 1970, month outside 1-12, day outside 1-31, hour outside 0-23, minute or
// second outside 0-59) raises COleException with 0x80004005; a time the
// calendar conversion rejects raises 0x80070057. The day is not checked
// against the month: 2023-02-31 is 3 March 2023.
CalendarTime MakeLocalTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

// 2000-01-01 00:00:00 local: stands for "no date".
CalendarTime ReferenceDate();

// Local midnight of the current day.
CalendarTime Today();

// The time as local calendar parts in the format (at most 128 characters;
// empty when formatting gives nothing). Raises 0x80070057 when the time has
// no local calendar parts.
std::wstring FormatLocalTime(CalendarTime time, const wchar_t* format = kScheduleDateFormat);
