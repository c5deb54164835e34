// The installation paths read from the test prefix's real registry and the
// runtime library's environment.
#include "app/install_paths.h"

#include <gtest/gtest.h>

#include "app/registry_strings.h"
#include "test_environment.h"

namespace {

constexpr wchar_t kCurrentVersionKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion";

class InstallPaths : public ::testing::Test {
protected:
    void SetUp() override { DeleteRegistryTree(HKEY_LOCAL_MACHINE, kSuiteKey); }
    void TearDown() override { DeleteRegistryTree(HKEY_LOCAL_MACHINE, kSuiteKey); }

    static ScopedRegistryValue SetSuiteValue(const wchar_t* name, const std::wstring& text) {
        return ScopedRegistryValue(HKEY_LOCAL_MACHINE, kSuiteKey, name, text);
    }
};

}  // namespace

TEST_F(InstallPaths, SuiteValuesAreFoldersEndingInABackslash) {
    EXPECT_EQ(GetLocalAppPath(), L"");  // no suite key at all
    EXPECT_EQ(GetNetworkAppPath(), L"");

    {
        auto local = SetSuiteValue(kLocalAppPathValue, L"C:\\Suite");
        auto network = SetSuiteValue(kNetworkAppPathValue, L"\\\\server\\share\\Suite\\");
        EXPECT_EQ(GetLocalAppPath(), L"C:\\Suite\\");
        EXPECT_EQ(GetNetworkAppPath(), L"\\\\server\\share\\Suite\\");
    }
    {
        auto empty = SetSuiteValue(kLocalAppPathValue, L"");
        EXPECT_EQ(GetLocalAppPath(), L"");  // not a lone backslash
    }
    // Nothing is cached: a changed value is seen at once.
    auto first = SetSuiteValue(kLocalAppPathValue, L"D:\\One");
    EXPECT_EQ(GetLocalAppPath(), L"D:\\One\\");
    auto second = SetSuiteValue(kLocalAppPathValue, L"D:\\Two");
    EXPECT_EQ(GetLocalAppPath(), L"D:\\Two\\");
}

TEST_F(InstallPaths, ValuesLongerThanTheBufferReadAsEmpty) {
    // 1023 characters and the terminator fill the 2048-byte buffer exactly.
    const std::wstring fits = L"C:\\" + std::wstring(1020, L'a');
    auto value = SetSuiteValue(kLocalAppPathValue, fits);
    EXPECT_EQ(GetLocalAppPath(), fits + L"\\");

    const std::wstring tooLong = L"C:\\" + std::wstring(1021, L'a');
    auto longer = SetSuiteValue(kLocalAppPathValue, tooLong);
    EXPECT_EQ(GetLocalAppPath(), L"");
}

TEST_F(InstallPaths, RegistryTypeIsNotCheckedAndTextEndsAtItsFirstZero) {
    // An unterminated REG_BINARY holding UTF-16 text is read as that text.
    const wchar_t binary[] = {L'E', L':', L'\\', L'B', L'i', L'n'};
    ScopedRegistryValue raw(HKEY_LOCAL_MACHINE, kSuiteKey, kLocalAppPathValue, REG_BINARY, binary, sizeof(binary));
    EXPECT_EQ(GetLocalAppPath(), L"E:\\Bin\\");

    // A REG_MULTI_SZ stops at its first string.
    const wchar_t multi[] = L"F:\\First\0G:\\Second\0";
    ScopedRegistryValue list(HKEY_LOCAL_MACHINE, kSuiteKey, kNetworkAppPathValue, REG_MULTI_SZ, multi, sizeof(multi));
    EXPECT_EQ(GetNetworkAppPath(), L"F:\\First\\");

    // A DWORD 0x00410041 is the two characters "AA"; an odd byte count drops
    // the half character.
    const DWORD number = 0x00410041;
    ScopedRegistryValue dword(HKEY_LOCAL_MACHINE, kSuiteKey, L"Odd", REG_DWORD, &number, sizeof(number));
    EXPECT_EQ(ReadRegistryString(HKEY_LOCAL_MACHINE, kSuiteKey, L"Odd", KEY_QUERY_VALUE), L"AA");
    const char odd[] = {'X', 0, 'Y'};
    ScopedRegistryValue oddBytes(HKEY_LOCAL_MACHINE, kSuiteKey, L"Odd", REG_BINARY, odd, sizeof(odd));
    EXPECT_EQ(ReadRegistryString(HKEY_LOCAL_MACHINE, kSuiteKey, L"Odd", KEY_QUERY_VALUE), L"X");
}

TEST_F(InstallPaths, CommonFilesFoldersComeFromRegistryAndEnvironment) {
    {
        ScopedRegistryValue dir(HKEY_LOCAL_MACHINE, kCurrentVersionKey, L"CommonFilesDir",
                                std::wstring(L"C:\\Program Files\\Common Files"));
        EXPECT_EQ(GetCommonFilesFolder(), L"C:\\Program Files\\Common Files\\VELKOR\\");
    }
    {
        ScopedRegistryValue dir(HKEY_LOCAL_MACHINE, kCurrentVersionKey, L"CommonFilesDir", std::wstring(L"X:\\Shared\\"));
        EXPECT_EQ(GetCommonFilesFolder(), L"X:\\Shared\\VELKOR\\");
    }
    {
        ScopedRegistryValue none(HKEY_LOCAL_MACHINE, kCurrentVersionKey, L"CommonFilesDir", std::nullopt);
        EXPECT_EQ(GetCommonFilesFolder(), L"");  // never "VELKOR\" alone
    }
    {
        ScopedEnvironment env(L"CommonProgramFiles", std::wstring(L"Y:\\Common Files"));
        EXPECT_EQ(GetCommonProgramFilesFolder(), L"Y:\\Common Files\\VELKOR\\");
    }
    {
        ScopedEnvironment env(L"CommonProgramFiles", std::nullopt);
        EXPECT_EQ(GetCommonProgramFilesFolder(), L"");
    }
}
