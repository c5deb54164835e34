// Reading the maker's update page, bounded in time and size: whatever the
// server does, the caller waits for it until the deadline it gives (the
// start's is UpdatePageDeadline, version/start_deadline.h: the main dialog
// on screen within ten seconds of the program's start) and no longer, and
// at most kUpdatePageLimit bytes are read. Any failure ends the reading
// silently with the text read until then (often none).
#pragma once

#include <cstddef>
#include <string>

#include "version/start_deadline.h"

inline constexpr std::size_t kUpdatePageLimit = 1u << 20;
// The page is read in chunks of at most this many bytes, each taken as text
// of the system's 8-bit code page up to its first zero byte.
inline constexpr std::size_t kUpdatePageChunk = 50;

// The maker's page, unless the environment variable VORNIX_UPDATE_URL names
// another https:// address (for testing and staging); any other value is
// ignored, since the address is handed to the browser by a program that
// runs elevated. The same address is fetched and offered to the browser.
std::wstring UpdatePageAddress();

// The page's text as read by the deadline.
std::wstring ReadUpdatePage(const std::wstring& address, StartClock::time_point deadline);
