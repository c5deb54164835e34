// UTF-8 for the text files the drivers write and read.
#pragma once

#include <string>
#include <string_view>

namespace demo {

std::string Utf8(std::wstring_view text);
std::wstring FromUtf8(std::string_view text);

}  // namespace demo
