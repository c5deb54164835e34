// The help file's name, derived from the executable's. Portable.
#pragma once

#include <string>
#include <string_view>

// The file name of the default help path (after its last backslash), cut
// before its last ".", without a final "32" or "64", plus ".chm":
// C:\Suite\Tool64.hlp -> Tool.chm, Tool16.exe -> Tool16.chm.
std::wstring HelpFileName(std::wstring_view defaultHelpPath);

// The help file path and "::/" and the page: an address inside the help file.
std::wstring HelpTopicAddress(const std::wstring& helpFilePath, std::wstring_view page);
