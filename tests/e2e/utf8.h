// UTF-8 for the files the driver and the spy share.
#pragma once

#include <string>
#include <string_view>

namespace e2e {

std::string Utf8(std::wstring_view text);
std::wstring FromUtf8(std::string_view text);

}  // namespace e2e
