// The web update check: at most once per reminder interval, compares the
// date the maker's update page gives for the suite's update file with the
// newest installed program or add-in file, and offers the download page.
//
// Runs on the user-interface thread during the main dialog's
// initialisation. Network, file and registry failures end silently in the
// documented defaults; only the date-building errors (COleException with
// 0x80004005 or 0x80070057) are raised to the caller.
#pragma once

#include <string>

#include "version/calendar_time.h"
#include "version/start_deadline.h"

// The schedule's values under HKEY_CURRENT_USER\<schedule key>.
inline constexpr wchar_t kCheckWebVersionDaysValue[] = L"CheckWebVersionDays";
inline constexpr wchar_t kCheckWebVersionDateValue[] = L"CheckWebVersionDate";

// The whole check; the page is read until pageDeadline (the start's:
// UpdatePageDeadline). A due check with less than kLeastPageTime left stays
// due, for the next start, without reading the page. The installed files
// are scanned until kInstalledScanTime past pageDeadline; a scan that has
// not finished by then (a network share that does not answer) ends the
// check without an offer, as a page that could not be read does, the
// schedule moved on: the files it did not reach may be the newest, and an
// offer of an update that is installed already would be wrong.
void CheckWebVersion(StartClock::time_point pageDeadline);

// The suite's key, a backslash if it lacks one, and "Support".
std::wstring ScheduleKey();

// The stored next-check date, or the fallback when none is stored or the
// text lacks a separator. Raises the date-building errors.
CalendarTime GetNextCheckDate(const std::wstring& scheduleKey, CalendarTime fallback);

// Stores the time as the next-check date (creating the key). Raises
// 0x80070057 when the time has no local calendar parts.
void SetNextCheckDate(const std::wstring& scheduleKey, CalendarTime time);

// The date the update page, read until the deadline, gives for the update
// file, or the fallback. Raises 0x80004005 for a date out of range.
CalendarTime GetPublishedUpdateDate(CalendarTime fallback, StartClock::time_point deadline);

// Where the check reads the update page from: ReadUpdatePage, unless
// another source is set (null: ReadUpdatePage again). Lets the program's
// tests serve pages without a network.
using UpdatePageSource = std::wstring (*)(const std::wstring& address, StartClock::time_point deadline);
void SetUpdatePageSource(UpdatePageSource source);

// Raises newest to the last modification time of every entry (file or
// folder) the wildcard pattern matches, if later.
void UpdateNewestFileTime(CalendarTime& newest, const std::wstring& pattern);

// Where the check reads the installed folders: UpdateNewestFileTime, unless
// another reader is set (null: UpdateNewestFileTime again). Lets the
// program's tests slow the scan down as a share that does not answer would.
using InstalledFolderReader = void (*)(CalendarTime& newest, const std::wstring& pattern);
void SetInstalledFolderReader(InstalledFolderReader reader);

// N + "Designer\Common\" (+ release + "\"): empty when the network
// application path N is empty.
std::wstring GetCommonFolder(const std::wstring& release);

// N + "Designer\" + module + "\" (+ release + "\"): empty when N is empty.
std::wstring GetModuleFolder(const std::wstring& module, const std::wstring& release);
