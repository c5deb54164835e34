// The update check's Windows side: its registry values, the schedule's
// stored date and the newest-file scan, against the test prefix's real
// registry and file system.
#include "version/web_update_check.h"

#include <gtest/gtest.h>

#include <functional>

#include "afx/exception.h"
#include "afx/handles.h"
#include "app/install_paths.h"
#include "app/registry_strings.h"
#include "test_environment.h"

namespace {

constexpr wchar_t kTestKey[] = L"Software\\VELKOR\\Vornix\\2023\\Support\\UnitTest";

class UpdateCheckRegistry : public ::testing::Test {
protected:
    void SetUp() override { DeleteRegistryTree(HKEY_CURRENT_USER, kTestKey); }
    void TearDown() override { DeleteRegistryTree(HKEY_CURRENT_USER, kTestKey); }

    static void SetRaw(const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
        afx::unique_hkey key;
        ::RegCreateKeyExW(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_WRITE, nullptr, key.put(), nullptr);
        ::RegSetValueExW(key.get(), name, 0, type, static_cast<const BYTE*>(data), bytes);
    }
};

std::int32_t StatusOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const COleException& e) {
        return e.Status();
    }
    return 0;
}

FILETIME UtcMidnightFileTime(int year, int month, int day) {
    SYSTEMTIME utc{};
    utc.wYear = static_cast<WORD>(year);
    utc.wMonth = static_cast<WORD>(month);
    utc.wDay = static_cast<WORD>(day);
    FILETIME time{};
    ::SystemTimeToFileTime(&utc, &time);
    return time;
}

void SetModified(const std::wstring& path, int year, int month, int day) {
    const FILETIME time = UtcMidnightFileTime(year, month, day);
    const bool folder = (::GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY) != 0;
    afx::unique_handle file(::CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                          nullptr, OPEN_EXISTING, folder ? FILE_FLAG_BACKUP_SEMANTICS : 0, nullptr));
    ASSERT_NE(file.get(), INVALID_HANDLE_VALUE) << path.c_str();
    ::SetFileTime(file.get(), nullptr, nullptr, &time);
}

// 00:00:00 UTC of that day, as the scan compares times.
CalendarTime UtcMidnight(int year, int month, int day) {
    const FILETIME time = UtcMidnightFileTime(year, month, day);
    const std::int64_t units = (static_cast<std::int64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return (units - 116444736000000000LL) / 10000000LL;
}

}  // namespace

TEST_F(UpdateCheckRegistry, StringsAndTheFourByteIntervalWhateverTheirType) {
    EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, kTestKey, L"Missing"), L"");
    EXPECT_EQ(ReadRegistryDword(HKEY_CURRENT_USER, kTestKey, L"Missing"), std::nullopt);

    // The write creates the key and stores the terminator with the text.
    ASSERT_TRUE(WriteRegistryString(HKEY_CURRENT_USER, kTestKey, L"Text", L"2023-05-17 00:00:00"));
    EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, kTestKey, L"Text"), L"2023-05-17 00:00:00");
    DWORD type = 0, bytes = 0;
    {
        afx::unique_hkey key;
        ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, kTestKey, 0, KEY_READ, key.put()), ERROR_SUCCESS);
        ::RegQueryValueExW(key.get(), L"Text", nullptr, &type, nullptr, &bytes);
    }
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(bytes, 20 * sizeof(wchar_t));

    // Oversize text reads as empty.
    const std::wstring huge(1024, L'x');
    SetRaw(L"Huge", REG_SZ, huge.c_str(), static_cast<DWORD>((huge.size() + 1) * sizeof(wchar_t)));
    EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, kTestKey, L"Huge"), L"");

    // The interval is read into four bytes whatever its type.
    ASSERT_TRUE(WriteRegistryDword(HKEY_CURRENT_USER, kTestKey, L"Days", 14));
    EXPECT_EQ(ReadRegistryDword(HKEY_CURRENT_USER, kTestKey, L"Days"), 14u);
    const DWORD minusTwo = 0xFFFFFFFE;
    SetRaw(L"Days", REG_BINARY, &minusTwo, 4);
    EXPECT_EQ(ReadRegistryDword(HKEY_CURRENT_USER, kTestKey, L"Days"), 0xFFFFFFFEu);
    SetRaw(L"Days", REG_SZ, L"7", 4);  // "7" and its terminator: four bytes, read as a number
    EXPECT_EQ(ReadRegistryDword(HKEY_CURRENT_USER, kTestKey, L"Days"), 0x37u);
    const unsigned long long eight = 7;
    SetRaw(L"Days", REG_QWORD, &eight, 8);  // longer than four bytes: cannot be read
    EXPECT_EQ(ReadRegistryDword(HKEY_CURRENT_USER, kTestKey, L"Days"), std::nullopt);
}

TEST_F(UpdateCheckRegistry, StoredDateReadsBackAndBadDatesRaiseOrFallBack) {
    const CalendarTime fallback = ReferenceDate();
    EXPECT_EQ(GetNextCheckDate(kTestKey, fallback), fallback);  // nothing stored

    const CalendarTime may17 = MakeLocalTime(2023, 5, 17);
    SetNextCheckDate(kTestKey, may17);
    EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, kTestKey, kCheckWebVersionDateValue), L"2023-05-17 00:00:00");
    EXPECT_EQ(GetNextCheckDate(kTestKey, fallback), may17);

    WriteRegistryString(HKEY_CURRENT_USER, kTestKey, kCheckWebVersionDateValue, L"2023-05-17");
    EXPECT_EQ(GetNextCheckDate(kTestKey, fallback), fallback);  // lacks separators: unscheduled

    WriteRegistryString(HKEY_CURRENT_USER, kTestKey, kCheckWebVersionDateValue, L"2023-02-31 00:00:00");
    EXPECT_EQ(GetNextCheckDate(kTestKey, fallback), MakeLocalTime(2023, 3, 3));

    WriteRegistryString(HKEY_CURRENT_USER, kTestKey, kCheckWebVersionDateValue, L"2023-13-01 00:00:00");
    EXPECT_EQ(StatusOf([&] { GetNextCheckDate(kTestKey, fallback); }), kStatusUnspecifiedFailure);
    WriteRegistryString(HKEY_CURRENT_USER, kTestKey, kCheckWebVersionDateValue, L"2023-05-17 24:00:00");
    EXPECT_EQ(StatusOf([&] { GetNextCheckDate(kTestKey, fallback); }), kStatusUnspecifiedFailure);

    EXPECT_EQ(ScheduleKey(), L"Software\\VELKOR\\Vornix\\2023\\Support");
}

TEST(NewestFileScan, TakesTheLatestMatchingEntryFilesAndFoldersAlike) {
    TempFolder tree;
    tree.WriteFile(L"old.exe", "x");
    tree.WriteFile(L"new.exe", "x");
    tree.WriteFile(L"newest.dll", "x");  // does not match *.exe
    tree.MakeFolder(L"folder.exe");
    SetModified(tree.Path() + L"old.exe", 2021, 1, 1);
    SetModified(tree.Path() + L"new.exe", 2022, 6, 1);
    SetModified(tree.Path() + L"newest.dll", 2030, 1, 1);
    SetModified(tree.Path() + L"folder.exe", 2022, 7, 1);

    CalendarTime newest = ReferenceDate();
    UpdateNewestFileTime(newest, tree.Path() + L"*.exe");
    EXPECT_EQ(newest, UtcMidnight(2022, 7, 1));  // the folder counts too

    // A later running time is kept; a pattern matching nothing changes nothing.
    CalendarTime later = UtcMidnight(2029, 1, 1);
    UpdateNewestFileTime(later, tree.Path() + L"*.exe");
    EXPECT_EQ(later, UtcMidnight(2029, 1, 1));
    CalendarTime none = ReferenceDate();
    UpdateNewestFileTime(none, tree.Path() + L"*.fas");
    UpdateNewestFileTime(none, tree.Path() + L"missing\\*.exe");
    EXPECT_EQ(none, ReferenceDate());

    // Without a network path every folder is empty and the patterns match in
    // the current folder.
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, kSuiteKey);
    EXPECT_EQ(GetCommonFolder(L"R23"), L"");
    EXPECT_EQ(GetModuleFolder(L"KORVEN", L"R23"), L"");
    wchar_t previous[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, previous);
    ::SetCurrentDirectoryW(tree.Path().c_str());
    CalendarTime here = ReferenceDate();
    UpdateNewestFileTime(here, GetCommonFolder(L"") + L"*.exe");
    ::SetCurrentDirectoryW(previous);
    EXPECT_EQ(here, UtcMidnight(2022, 7, 1));

    ScopedRegistryValue network(HKEY_LOCAL_MACHINE, kSuiteKey, kNetworkAppPathValue, std::wstring(L"\\\\srv\\Suite"));
    EXPECT_EQ(GetCommonFolder(L"R23"), L"\\\\srv\\Suite\\Designer\\Common\\R23\\");
    EXPECT_EQ(GetCommonFolder(L""), L"\\\\srv\\Suite\\Designer\\Common\\");
    EXPECT_EQ(GetModuleFolder(L"BRENIK", L"R23"), L"\\\\srv\\Suite\\Designer\\BRENIK\\R23\\");
    EXPECT_EQ(GetModuleFolder(L"BRENIK", L""), L"\\\\srv\\Suite\\Designer\\BRENIK\\");
}
