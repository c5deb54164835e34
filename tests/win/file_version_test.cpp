// The version reader on libraries built with known version resources
// (version_info.rc, one variant per library) next to the test program.
#include <gtest/gtest.h>

#include <vector>

#include "scoped_state.h"
#include "version/file_version.h"

namespace {

std::vector<std::wstring> Fields(const FileVersionStrings& r) {
    return {r.Comments,        r.CompanyName,      r.FileDescription, r.FileVersion, r.InternalName,   r.LegalCopyright,
            r.LegalTrademarks, r.OriginalFilename, r.PrivateBuild,    r.ProductName, r.ProductVersion, r.SpecialBuild};
}

}  // namespace

TEST(FileVersionReader, ReadsTheFirstTranslationsBlockAndTidiesOnlyWhatASoundBlockHolds) {
    // Every field starts with a text no library has; the versions start in
    // the resource compiler's form, so tidying shows too.
    const FileVersionStrings before{L"-", L"-", L"-", L"5, 0, 0, 0", L"-",     L"-",
                                    L"-", L"-", L"-", L"-",          L"5.1.0", L"-"};
    struct Row {
        const wchar_t* library;
        std::vector<std::wstring> fields;
    };
    const Row rows[] = {
        // English (United States), Unicode: all twelve.
        {L"verinfo_english_us.dll",
         {L"US comments", L"US company", L"US description", L"23.22.8.1", L"US internal", L"US copyright \u00A9",
          L"US trademarks", L"US original.dll", L"US private", L"US product", L"2023.0", L"US special"}},
        // English (Canada) first in the table: \StringFileInfo\100904b0\ only.
        {L"verinfo_english_canada.dll",
         {L"-", L"Canadian company", L"-", L"1.0", L"-", L"-", L"-", L"-", L"-", L"-", L"1,0,0,0", L"-"}},
        // No translation table: 000004e4, never the English decoy.
        {L"verinfo_untranslated.dll",
         {L"-", L"neutral company", L"-", L"7", L"-", L"-", L"-", L"-", L"-", L"-", L"5.1", L"-"}},
        // A translation without strings: nothing read, no other block tried.
        {L"verinfo_missing_block.dll", {L"-", L"-", L"-", L"5.0", L"-", L"-", L"-", L"-", L"-", L"-", L"5.1", L"-"}},
        // No version resource, or no file: untouched, not even tidied.
        {L"verinfo_none.dll", Fields(before)},
        {L"no_such_library.dll", Fields(before)},
    };
    for (const Row& row : rows) {
        FileVersionStrings record = before;
        const std::wstring path = ProgramFolder() + row.library;
        ReadFileVersionStrings(record, path.substr(0, path.size() - 4), L".dll");
        EXPECT_EQ(Fields(record), row.fields) << row.library;
        FileVersionStrings wholeName = before;  // the extension may as well be part of the path
        ReadFileVersionStrings(wholeName, path, L"");
        EXPECT_EQ(Fields(wholeName), row.fields) << row.library;
    }
}
