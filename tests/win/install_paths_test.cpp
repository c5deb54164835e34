// Installation paths and the registry helpers under them, against the test
// prefix's real registry and the runtime library's environment.
#include <gtest/gtest.h>

#include "afx/handles.h"
#include "afx/registry.h"
#include "scoped_state.h"
#include "version/install_paths.h"

namespace {

constexpr wchar_t kCurrentVersionKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion";

struct Value {
    DWORD type;
    std::string bytes;
};

Value Text(const std::wstring& text, bool terminated = true) {
    const auto* first = reinterpret_cast<const char*>(text.c_str());
    return {REG_SZ, std::string(first, (text.size() + (terminated ? 1 : 0)) * sizeof(wchar_t))};
}

}  // namespace

// Whatever its type, a value's data is taken as UTF-16 text up to its first
// zero or its end; a value that does not fit 2048 bytes reads as empty.
TEST(InstallPaths, SuiteValuesOfAnyTypeAndSizeReadAsFoldersOrNothing) {
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kSuiteKey);
    EXPECT_EQ(GetLocalAppPath(), L"") << "no suite key";
    const std::wstring fits = L"C:\\" + std::wstring(1020, L'a');  // 1023 characters and the zero: 2048 bytes
    const DWORD number = 0x00410041;
    const std::pair<Value, std::wstring> rows[] = {
        {Text(L"C:\\Suite"), L"C:\\Suite\\"},
        {Text(L"\\\\server\\share\\Suite\\"), L"\\\\server\\share\\Suite\\"},
        {Text(L""), L""},  // not a lone backslash
        {Text(fits), fits + L"\\"},
        {Text(fits + L"a"), L""},
        {{REG_BINARY, Text(L"E:\\Bin", false).bytes}, L"E:\\Bin\\"},
        {{REG_MULTI_SZ, Text(std::wstring(L"F:\\First\0G:\\Second\0", 19)).bytes}, L"F:\\First\\"},
        {{REG_DWORD, std::string(reinterpret_cast<const char*>(&number), 4)}, L"AA\\"},
        {{REG_BINARY, std::string("X\0Y", 3)}, L"X\\"},  // the odd byte is no character
    };
    for (const auto& [value, folder] : rows) {
        ScopedRegistryValue local(HKEY_LOCAL_MACHINE, kSuiteKey, kLocalAppPathValue, value.type, value.bytes.data(),
                                  static_cast<DWORD>(value.bytes.size()));
        ScopedRegistryValue network(HKEY_LOCAL_MACHINE, kSuiteKey, kNetworkAppPathValue, value.type, value.bytes.data(),
                                    static_cast<DWORD>(value.bytes.size()));
        EXPECT_EQ(GetLocalAppPath(), folder);
        EXPECT_EQ(GetNetworkAppPath(), folder);
    }
    EXPECT_EQ(GetLocalAppPath(), L"") << "a missing value";
}

TEST(InstallPaths, CommonFilesFoldersFromTheRegistryAndTheEnvironment) {
    const std::pair<std::optional<std::wstring>, std::wstring> rows[] = {
        {L"C:\\Program Files\\Common Files", L"C:\\Program Files\\Common Files\\VELKOR\\"},
        {L"X:\\Shared\\", L"X:\\Shared\\VELKOR\\"},
        {L"", L""},  // never "VELKOR\" alone
        {std::nullopt, L""},
    };
    for (const auto& [common, folder] : rows) {
        ScopedRegistryValue dir(HKEY_LOCAL_MACHINE, kCurrentVersionKey, L"CommonFilesDir", common);
        ScopedEnvironment env(L"CommonProgramFiles", common);
        EXPECT_EQ(GetCommonFilesFolder(), folder);
        EXPECT_EQ(GetCommonProgramFilesFolder(), folder);
    }
}

TEST(Registry, TheFourByteNumberWhateverItsTypeAndStringsWrittenWithTheirZero) {
    constexpr wchar_t kKey[] = L"Software\\VELKOR\\Vornix\\2023\\Support\\UnitTest";
    const DWORD minusTwo = 0xFFFFFFFE;
    const unsigned long long eight = 7;
    const std::pair<Value, std::optional<DWORD>> rows[] = {
        {{REG_DWORD, std::string("\x0E\0\0\0", 4)}, 14u},
        {{REG_BINARY, std::string(reinterpret_cast<const char*>(&minusTwo), 4)}, 0xFFFFFFFEu},
        {{REG_SZ, std::string("7\0\0\0", 4)}, 0x37u},  // "7" and its zero: four bytes, read as a number
        {{REG_QWORD, std::string(reinterpret_cast<const char*>(&eight), 8)}, std::nullopt},  // longer than four
    };
    for (const auto& [value, number] : rows) {
        ScopedRegistryValue days(HKEY_CURRENT_USER, kKey, L"Days", value.type, value.bytes.data(),
                                 static_cast<DWORD>(value.bytes.size()));
        EXPECT_EQ(ReadRegistryDword(HKEY_CURRENT_USER, kKey, L"Days"), number);
    }
    EXPECT_EQ(ReadRegistryDword(HKEY_CURRENT_USER, kKey, L"Missing"), std::nullopt);

    ::RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
    ASSERT_TRUE(WriteRegistryString(HKEY_CURRENT_USER, kKey, L"Text", L"2023-05-17 00:00:00"));  // creates the key
    afx::unique_hkey key;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_READ, key.put()), ERROR_SUCCESS);
    DWORD type = 0, bytes = 0;
    ::RegQueryValueExW(key.get(), L"Text", nullptr, &type, nullptr, &bytes);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(bytes, 20 * sizeof(wchar_t));
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
}
