// Texts of the installation problems the program reports, and how a path is
// put into them. Portable.
#pragma once

#include <string>
#include <string_view>

inline constexpr wchar_t kCouldntFindDllText[] = L"Couldn't find dll file: \n%s\n\nPlease check software installation.";
inline constexpr wchar_t kCouldntLoadDllText[] = L"Couldn't load dll file: \n%s\n\nPlease check software installation.";

// The pattern with its first "%s" replaced by the argument, taken literally
// (a "%" inside the argument stays as it is).
std::wstring FormatWithArgument(std::wstring_view pattern, std::wstring_view argument);
