// Reading a string value from the registry the way the installation values
// are read: a 2048-byte buffer, the registry type not checked, the data taken
// as UTF-16 text up to its first zero character or its end.
#pragma once

#include <windows.h>

#include <string>

// Bytes of the buffer a registry string is read into, terminator included.
inline constexpr DWORD kRegistryTextBufferBytes = 2048;

// The value's text; empty when the key cannot be opened with that access,
// the value is missing, or its data is longer than the buffer.
std::wstring ReadRegistryText(HKEY root, const wchar_t* key, const wchar_t* valueName, REGSAM access);
