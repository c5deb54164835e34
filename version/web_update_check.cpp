#include "version/web_update_check.h"

#include <windows.h>

#include <cwchar>
#include <memory>
#include <optional>
#include <vector>

#include "afx/file_find.h"
#include "afx/registry.h"
#include "afx/shell.h"
#include "version/install_paths.h"
#include "version/date_text.h"
#include "version/deadline_thread.h"
#include "version/update_page_reader.h"
#include "version/update_schedule.h"

namespace {

constexpr wchar_t kSupportKeyName[] = L"Support";
constexpr wchar_t kReleaseFolder[] = L"R23";
constexpr wchar_t kApplicationsFolder[] = L"Applications\\";
constexpr wchar_t kDesignerFolder[] = L"Designer\\";
constexpr wchar_t kCommonFolder[] = L"Common\\";

constexpr wchar_t kSuiteName[] = L"Vornix 2023";
constexpr wchar_t kOfferText[] =
    L"A newer version of Vornix 2023 is available.\n\nDo you want to download it from the website?\n\n"
    L"If you Cancel, you will not be prompted again.";
constexpr wchar_t kRemindLaterFormat[] = L"You will be reminded in %d days of a new update.";
constexpr wchar_t kNoMoreRemindersText[] = L"You will not be reminded of any new updates.";
constexpr UINT kOfferStyle = MB_TOPMOST | MB_ICONQUESTION | MB_YESNOCANCEL;  // 0x40023
constexpr UINT kNoticeStyle = MB_TOPMOST | MB_ICONINFORMATION | MB_OK;       // 0x40040

UpdatePageSource g_pageSource = &ReadUpdatePage;
InstalledFolderReader g_folderReader = &UpdateNewestFileTime;

// The installed programs and add-ins whose newest modification time stands
// for the installed update level.
enum class InstalledFolder { Applications, CommonRelease, Common, KORVEN, DALMIR, SOVATH, BRENIK };
struct InstalledFiles {
    InstalledFolder folder;
    const wchar_t* pattern;
};
constexpr InstalledFiles kInstalledFiles[] = {
    {InstalledFolder::Applications, L"*.exe"}, {InstalledFolder::CommonRelease, L"*.arx"},
    {InstalledFolder::Common, L"*.exe"},       {InstalledFolder::CommonRelease, L"*.fas"},
    {InstalledFolder::KORVEN, L"*.fas"},       {InstalledFolder::DALMIR, L"*.fas"},
    {InstalledFolder::SOVATH, L"*.fas"},       {InstalledFolder::BRENIK, L"*.fas"},
};

std::wstring FolderOf(InstalledFolder folder) {
    switch (folder) {
        case InstalledFolder::Applications: {
            const std::wstring network = GetNetworkAppPath();
            return network.empty() ? network : network + kApplicationsFolder;
        }
        case InstalledFolder::CommonRelease: return GetCommonFolder(kReleaseFolder);
        case InstalledFolder::Common: return GetCommonFolder(L"");
        case InstalledFolder::KORVEN: return GetModuleFolder(L"KORVEN", kReleaseFolder);
        case InstalledFolder::DALMIR: return GetModuleFolder(L"DALMIR", kReleaseFolder);
        case InstalledFolder::SOVATH: return GetModuleFolder(L"SOVATH", kReleaseFolder);
        case InstalledFolder::BRENIK: return GetModuleFolder(L"BRENIK", kReleaseFolder);
    }
    return {};
}

std::wstring Lowered(std::wstring text) {
    if (!text.empty()) ::CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

// The newest of the installed files' times and the reference, or nothing
// when the scan has not finished by the deadline. The scan runs on a thread
// of its own (version/deadline_thread.h), which shares what it writes.
std::optional<CalendarTime> NewestInstalledFileTime(CalendarTime reference, StartClock::time_point deadline) {
    struct Scan {
        std::vector<std::wstring> patterns;
        InstalledFolderReader reader;
        CalendarTime newest;
    };
    auto scan = std::make_shared<Scan>(Scan{{}, g_folderReader, reference});
    // The registry is read here; only the folders wait on the network.
    for (const InstalledFiles& files : kInstalledFiles)
        scan->patterns.push_back(FolderOf(files.folder) + files.pattern);
    if (!RunUntilDeadline(
            [scan] {
                for (const std::wstring& pattern : scan->patterns) scan->reader(scan->newest, pattern);
            },
            deadline))
        return std::nullopt;
    return scan->newest;
}

void ShowNotice(const std::wstring& text) { ::MessageBoxW(nullptr, text.c_str(), kSuiteName, kNoticeStyle); }

// Offers the download page and acts on the answer.
void OfferDownload(const std::wstring& scheduleKey, CalendarTime today, std::int32_t intervalDays) {
    switch (::MessageBoxW(nullptr, kOfferText, kSuiteName, kOfferStyle)) {
        case IDNO: {
            wchar_t text[128];
            std::swprintf(text, 128, kRemindLaterFormat, intervalDays);
            ShowNotice(text);
            break;
        }
        case IDCANCEL:
            SetNextCheckDate(scheduleKey, DaysAfter(today, kCancelPostponementDays));
            ShowNotice(kNoMoreRemindersText);
            break;
        default: AfxShellExecute(nullptr, L"open", UpdatePageAddress().c_str(), nullptr, nullptr, SW_SHOW); break;
    }
}

}  // namespace

std::wstring ScheduleKey() {
    std::wstring key = kSuiteKey;
    if (key.empty() || key.back() != L'\\') key.push_back(L'\\');
    return key + kSupportKeyName;
}

CalendarTime GetNextCheckDate(const std::wstring& scheduleKey, CalendarTime fallback) {
    const std::wstring text = ReadRegistryString(HKEY_CURRENT_USER, scheduleKey.c_str(), kCheckWebVersionDateValue);
    if (text.empty()) return fallback;
    const auto numbers = ParseStoredDate(text);
    if (!numbers) return fallback;
    const auto& [year, month, day, hour, minute, second] = *numbers;
    return MakeLocalTime(year, month, day, hour, minute, second);
}

void SetNextCheckDate(const std::wstring& scheduleKey, CalendarTime time) {
    WriteRegistryString(HKEY_CURRENT_USER, scheduleKey.c_str(), kCheckWebVersionDateValue, FormatLocalTime(time));
}

void SetUpdatePageSource(UpdatePageSource source) { g_pageSource = source != nullptr ? source : &ReadUpdatePage; }

void SetInstalledFolderReader(InstalledFolderReader reader) {
    g_folderReader = reader != nullptr ? reader : &UpdateNewestFileTime;
}

CalendarTime GetPublishedUpdateDate(CalendarTime fallback, StartClock::time_point deadline) {
    const auto date = FindPublishedDate(g_pageSource(UpdatePageAddress(), deadline));
    if (!date) return fallback;
    return MakeLocalTime((*date)[0], (*date)[1], (*date)[2]);
}

void UpdateNewestFileTime(CalendarTime& newest, const std::wstring& pattern) {
    CFileFind find;
    bool more = find.FindFile(pattern);
    while (more) {
        more = find.FindNextFile();
        const CalendarTime modified = find.GetLastWriteTime();
        if (modified > newest) newest = modified;
    }
}

std::wstring GetCommonFolder(const std::wstring& release) {
    const std::wstring network = GetNetworkAppPath();
    if (network.empty()) return network;
    std::wstring folder = network + kDesignerFolder + kCommonFolder;
    if (!release.empty()) folder += release + L"\\";
    return folder;
}

std::wstring GetModuleFolder(const std::wstring& module, const std::wstring& release) {
    const std::wstring network = GetNetworkAppPath();
    if (network.empty()) return network;
    std::wstring folder = network + kDesignerFolder + module + L"\\";
    if (!release.empty()) folder += release + L"\\";
    return folder;
}

void CheckWebVersion(StartClock::time_point pageDeadline) {
    if (Lowered(GetLocalAppPath()) != Lowered(GetNetworkAppPath())) return;

    const std::wstring scheduleKey = ScheduleKey();
    const CalendarTime reference = ReferenceDate();
    const CalendarTime today = Today();

    const ReminderInterval interval =
        IntervalFromRegistry(ReadRegistryDword(HKEY_CURRENT_USER, scheduleKey.c_str(), kCheckWebVersionDaysValue));
    if (interval.writeDefault)
        WriteRegistryDword(HKEY_CURRENT_USER, scheduleKey.c_str(), kCheckWebVersionDaysValue,
                           static_cast<DWORD>(kDefaultIntervalDays));
    const CalendarTime next = DaysAfter(today, interval.days);

    switch (ClassifySchedule(today, GetNextCheckDate(scheduleKey, reference), reference)) {
        case ScheduleState::Unscheduled:
            // The first start after installation only sets the schedule up.
            SetNextCheckDate(scheduleKey, next);
            return;
        case ScheduleState::Waiting: return;
        case ScheduleState::Due: break;
    }
    // A start that took nearly all its time already: no time for the page,
    // and a schedule moved on now would skip a whole interval.
    if (pageDeadline - StartClock::now() < kLeastPageTime) return;

    // Moved on before the fetch, so a failed fetch waits a whole interval too.
    SetNextCheckDate(scheduleKey, next);
    const CalendarTime published = GetPublishedUpdateDate(reference, pageDeadline);
    if (published == reference) return;
    const auto newest = NewestInstalledFileTime(reference, pageDeadline + kInstalledScanTime);
    if (!newest || published <= *newest) return;
    OfferDownload(scheduleKey, today, interval.days);
}
