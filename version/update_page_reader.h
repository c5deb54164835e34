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

// The value under the suite's key in HKEY_LOCAL_MACHINE that replaces the
// maker's page (for testing and staging). Only an administrator can write
// there; the program runs elevated and hands the address to the browser, so
// nothing a standard user can set (the environment, HKEY_CURRENT_USER)
// counts.
inline constexpr wchar_t kUpdatePageAddressValue[] = L"UpdatePageAddress";

// The maker's page, unless UpdatePageAddress holds another https:// address
// (anything else is ignored). The same address is
// fetched and offered to the browser.
std::wstring UpdatePageAddress();

// Redirects the reading follows, each to an https:// address only: one to
// any other scheme (plain http, a file) ends the reading with no page, as
// does a longer chain.
inline constexpr int kUpdatePageRedirectLimit = 5;

// The page's text as read by the deadline. No cookie is sent or kept and no
// credential is offered: the page is public.
std::wstring ReadUpdatePage(const std::wstring& address, StartClock::time_point deadline);
