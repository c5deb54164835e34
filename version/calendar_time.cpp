#include "version/calendar_time.h"

#include <cwchar>

#include "afx/exception.h"
#include "version/local_clock.h"

namespace {
constexpr std::size_t kFormattedDateLimit = 128;
}  // namespace

CalendarTime MakeLocalTime(int year, int month, int day, int hour, int minute, int second) {
    if (year < 1970 || month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 || hour > 23 || minute < 0 ||
        minute > 59 || second < 0 || second > 59)
        AfxThrowOleException(kStatusUnspecifiedFailure);
    std::tm parts{};
    parts.tm_year = year - 1900;
    parts.tm_mon = month - 1;
    parts.tm_mday = day;
    parts.tm_hour = hour;
    parts.tm_min = minute;
    parts.tm_sec = second;
    const auto time = local_clock::FromLocalParts(parts);
    if (!time) AfxThrowOleException(kStatusInvalidArgument);
    return *time;
}

CalendarTime ReferenceDate() { return MakeLocalTime(2000, 1, 1); }

CalendarTime Today() {
    const auto now = local_clock::ToLocalParts(local_clock::Now());
    if (!now) AfxThrowOleException(kStatusInvalidArgument);
    return MakeLocalTime(now->tm_year + 1900, now->tm_mon + 1, now->tm_mday);
}

std::wstring FormatLocalTime(CalendarTime time, const wchar_t* format) {
    const auto parts = local_clock::ToLocalParts(time);
    if (!parts) AfxThrowOleException(kStatusInvalidArgument);
    wchar_t buffer[kFormattedDateLimit] = {};
    const std::size_t length = std::wcsftime(buffer, kFormattedDateLimit, format, &*parts);
    return std::wstring(buffer, length);
}
