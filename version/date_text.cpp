#include "version/date_text.h"

#include <climits>

namespace {

bool IsSpace(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); }

wchar_t AsciiLower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

}  // namespace

int LeadingInteger(std::wstring_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
    long long value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        value = value * 10 + (text[i] - L'0');
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

std::optional<std::array<int, 6>> ParseStoredDate(std::wstring_view text) {
    std::array<int, 6> numbers{};
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        numbers[i] = LeadingInteger(text);
        if (i + 1 == numbers.size()) break;
        const std::size_t separator = text.find_first_of(L"- :");
        if (separator == std::wstring_view::npos) return std::nullopt;
        text.remove_prefix(separator + 1);
    }
    return numbers;
}

std::optional<std::array<int, 3>> FindPublishedDate(std::wstring_view page) {
    const std::wstring_view marker = kUpdateFileMarker;
    std::wstring lowered(page);
    for (wchar_t& c : lowered) c = AsciiLower(c);
    std::wstring loweredMarker(marker);
    for (wchar_t& c : loweredMarker) c = AsciiLower(c);

    const std::size_t at = lowered.find(loweredMarker);
    if (at == std::wstring::npos) return std::nullopt;
    std::wstring_view rest = std::wstring_view(lowered).substr(at + marker.size());
    const std::size_t dot = rest.find(L'.');
    if (dot == std::wstring_view::npos) return std::nullopt;
    rest = rest.substr(0, dot);

    std::array<int, 3> date{};
    date[0] = LeadingInteger(rest);
    for (std::size_t part = 1; part < date.size(); ++part) {
        const std::size_t underscore = rest.find(L'_');
        if (underscore == std::wstring_view::npos) return std::nullopt;
        rest.remove_prefix(underscore + 1);
        date[part] = LeadingInteger(rest);
    }
    return date;
}
