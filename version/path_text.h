// Joining folder paths. A folder path is either empty or ends in a
// backslash, so a file name or a further folder is joined by plain
// concatenation. Portable.
#pragma once

#include <string>

// "" stays ""; a path not ending in a backslash gets one; others unchanged.
std::wstring AddTrailingBackslash(std::wstring path);
