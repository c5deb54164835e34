// The version reader on libraries built by the test suite with known
// version resources (tests/win/version_dlls), next to the test program.
#include "version/file_version.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_environment.h"

namespace {

std::vector<std::wstring> Fields(const FileVersionStrings& r) {
    return {r.Comments,        r.CompanyName,      r.FileDescription, r.FileVersion, r.InternalName,   r.LegalCopyright,
            r.LegalTrademarks, r.OriginalFilename, r.PrivateBuild,    r.ProductName, r.ProductVersion, r.SpecialBuild};
}

// Every field holds a text no version resource here has and that tidying
// leaves alone, so a field the reader did not touch is easy to tell.
FileVersionStrings Prefilled() {
    return {L"was Comments",     L"was CompanyName",    L"was FileDescription", L"was FileVersion",
            L"was InternalName", L"was LegalCopyright", L"was LegalTrademarks", L"was OriginalFilename",
            L"was PrivateBuild", L"was ProductName",    L"was ProductVersion",  L"was SpecialBuild"};
}

std::wstring TestLibrary(const wchar_t* name) { return TestProgramFolder() + L"verinfo_" + name; }

FileVersionStrings ReadFrom(const wchar_t* library, FileVersionStrings record = Prefilled()) {
    ReadFileVersionStrings(record, TestLibrary(library), L".dll");
    return record;
}

}  // namespace

TEST(FileVersionReader, ReadsAllTwelveStringsAndTidiesTheVersions) {
    const FileVersionStrings read = ReadFrom(L"english_us");
    EXPECT_EQ(Fields(read),
              (std::vector<std::wstring>{L"US comments", L"US company", L"US description", L"23.22.8.1", L"US internal",
                                         L"US copyright \u00A9", L"US trademarks", L"US original.dll", L"US private",
                                         L"US product", L"2023.0", L"US special"}));

    // The extension may as well be part of the path.
    FileVersionStrings wholeName = Prefilled();
    ReadFileVersionStrings(wholeName, TestLibrary(L"english_us") + L".dll", L"");
    EXPECT_EQ(Fields(wholeName), Fields(read));
}

TEST(FileVersionReader, ReadsTheBlockOfTheFirstTranslationOnly) {
    // English (Canada), Unicode: \StringFileInfo\100904b0\, although an
    // English (United States) block follows in the file and in its table.
    FileVersionStrings expected = Prefilled();
    expected.CompanyName = L"Canadian company";
    expected.FileDescription = L"Canadian description";
    expected.FileVersion = L"1.0";
    expected.ProductVersion = L"1,0,0,0";  // no ", ": not the resource form, and no dot to tidy
    EXPECT_EQ(Fields(ReadFrom(L"english_canada")), Fields(expected));
}

TEST(FileVersionReader, WithoutATranslationTableReadsLanguageNeutralWindowsStrings) {
    FileVersionStrings expected = Prefilled();
    expected.CompanyName = L"neutral company";
    expected.FileVersion = L"7";  // never given a ".0"
    EXPECT_EQ(Fields(ReadFrom(L"untranslated")), Fields(expected)) << "000004e4, not the 040904b0 decoy";
}

TEST(FileVersionReader, ATranslationWithoutStringsLeavesTheFieldsAsTheyWere) {
    EXPECT_EQ(Fields(ReadFrom(L"missing_block")), Fields(Prefilled())) << "no other block may be tried";

    // The block itself is sound, so the versions already in the record are
    // still tidied.
    FileVersionStrings record;
    record.FileVersion = L"5, 0, 0, 0";
    record.ProductVersion = L"5.1.0";
    record = ReadFrom(L"missing_block", record);
    EXPECT_EQ(record.FileVersion, L"5.0");
    EXPECT_EQ(record.ProductVersion, L"5.1");
}

TEST(FileVersionReader, AFileWithoutAVersionResourceLeavesTheRecordUntouched) {
    FileVersionStrings untouched = Prefilled();
    untouched.FileVersion = L"1, 0, 0, 0";  // not even tidied
    untouched.ProductVersion = L"2.0.0";
    EXPECT_EQ(Fields(ReadFrom(L"none", untouched)), Fields(untouched));
    EXPECT_EQ(Fields(ReadFrom(L"no_such_library", untouched)), Fields(untouched));
}
