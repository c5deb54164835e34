// How a path is put into the texts of the installation problems the
// program reports. Portable.
#pragma once

#include <string>
#include <string_view>

// The pattern with its first "%s" replaced by the argument, taken literally
// (a "%" inside the argument stays as it is).
std::wstring FormatWithArgument(std::wstring_view pattern, std::wstring_view argument);
