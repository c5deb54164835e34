// Reading and writing single registry values. Expected failures are values:
// a key or value that cannot be read gives an empty string (or nothing), and
// the result of a write is only reported, never raised.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

// Bytes of the buffer a registry string is read into, terminator included.
inline constexpr DWORD kRegistryTextBufferBytes = 2048;

// The value's text: the registry type is not checked and the data is taken
// as UTF-16 text up to its first zero character or its end. Empty when the
// key cannot be opened with that access, the value is missing, or its data
// is longer than the 2048-byte buffer.
std::wstring ReadRegistryString(HKEY root, const wchar_t* key, const wchar_t* valueName, REGSAM access = KEY_READ);

// Creates or opens the key (non-volatile) and stores the text as a REG_SZ
// value, its characters and the terminating zero. True when it was stored.
bool WriteRegistryString(HKEY root, const wchar_t* key, const wchar_t* valueName, const std::wstring& text);

// A value read into a four-byte buffer, whatever its registry type; nothing
// when the key or value cannot be read or the data is longer than four bytes.
std::optional<DWORD> ReadRegistryDword(HKEY root, const wchar_t* key, const wchar_t* valueName);

// Creates or opens the key and stores a REG_DWORD. True when it was stored.
bool WriteRegistryDword(HKEY root, const wchar_t* key, const wchar_t* valueName, DWORD value);
