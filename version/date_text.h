// Reading dates out of text: the schedule's stored date and the update
// page's file name. Portable, and fuzzed: any text gives a result or
// nothing, never a crash.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

// The leading integer of the text as the runtime's _wtoi reads it: leading
// white space, an optional sign, then digits; 0 when there are no digits.
// Out-of-range values are clamped to the int range.
int LeadingInteger(std::wstring_view text);

// The six numbers of a stored date (year, month, day, hour, minute,
// second): each is the leading integer of the remaining text, and after each
// of the first five the text continues after its first "-", " " or ":".
// Nothing when one of those five separators is missing. The numbers are not
// range-checked here.
std::optional<std::array<int, 6>> ParseStoredDate(std::wstring_view text);

// The update file's marker on the page, matched without regard to case.
inline constexpr wchar_t kUpdateFileMarker[] = L"Vornix_2023_Update";

// The date (year, month, day) the page gives for the update file: after the
// first marker, up to the next ".", the year is the leading integer, the
// month follows the first "_" and the day the next "_". Nothing when the
// marker, the "." or either "_" is missing. Not range-checked here.
std::optional<std::array<int, 3>> FindPublishedDate(std::wstring_view page);
