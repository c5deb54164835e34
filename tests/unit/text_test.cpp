// The texts the program builds: tidied versions, the About text without a
// suite version (with one it is checked whole by tests/win/main_dialog_test),
// the help file's name and topic, folder joining and the installation messages.
#include <gtest/gtest.h>

#include "app/help_path.h"
#include "app/message_text.h"
#include "version/path_text.h"
#include "version/version_text.h"

TEST(TidyVersionString, DotsTheResourceFormAndDropsTrailingZeroParts) {
    // clang-format off
    const std::pair<std::wstring, std::wstring> rows[] = {
        {L"23, 22, 8, 1", L"23.22.8.1"}, {L"1, 0, 0, 0", L"1.0"}, {L"2023.0.0.0", L"2023.0"}, {L"23.1.0.0", L"23.1"},
        {L"1.2.3.0", L"1.2.3"},  {L"2.10.0", L"2.10"},  {L"0.0.0", L"0.0"},  {L"23.10", L"23.10"}, {L"1.0", L"1.0"},
        {L"7", L"7"},            // never given a ".0"
        {L"1,0,0,0", L"1,0,0,0"},  // commas without spaces are not the resource form
        {L"", L""},
    };
    // clang-format on
    for (auto [text, tidied] : rows) {
        const std::wstring original = text;
        TidyVersionString(text);
        EXPECT_EQ(text, tidied) << original;
    }
}

TEST(ComposeAboutText, WithoutASuiteVersionNamesTheRelease) {
    EXPECT_EQ(ComposeAboutText(L"Tool", L"1.0", L"", L"", L"(c)"),
              L"Tool Version 1.0\n\nVELKOR 2D Version 2023\n\n(c)");
}

TEST(HelpFileName, IsTheExecutablesNameWithoutBitnessOrExtension) {
    // clang-format off
    const std::pair<const wchar_t*, const wchar_t*> rows[] = {
        {L"C:\\Suite\\Tool64.exe", L"Tool.chm"},       {L"C:\\Suite\\Tool32.exe", L"Tool.chm"},
        {L"C:\\Suite\\Tool16.exe", L"Tool16.chm"},     {L"C:\\Suite\\Tool64", L"Tool.chm"},
        {L"Tool64.exe", L"Tool.chm"},                  {L"C:\\Suite.2023\\Tool64", L"Tool.chm"},
        {L"C:\\Suite\\Tool64.old.exe", L"Tool64.old.chm"},  // cut at the last dot only
    };
    // clang-format on
    for (const auto& [path, name] : rows) EXPECT_EQ(HelpFileName(path), name) << path;
    EXPECT_EQ(HelpTopicAddress(L"C:\\Suite\\Help\\Tool.chm", L"main_window.html"),
              L"C:\\Suite\\Help\\Tool.chm::/main_window.html");
}

TEST(PathsAndMessages, FoldersEndInABackslashAndPathsAreTakenLiterally) {
    const std::pair<const wchar_t*, const wchar_t*> folders[] = {
        {L"C:\\Suite", L"C:\\Suite\\"}, {L"C:\\Suite\\", L"C:\\Suite\\"}, {L"", L""}, {L"C:/Suite/", L"C:/Suite/\\"}};
    for (const auto& [path, folder] : folders) EXPECT_EQ(AddTrailingBackslash(path), folder) << path;

    EXPECT_EQ(FormatWithArgument(L"Couldn't find dll file: \n%s\n\nPlease check.", L"Q.dll"),
              L"Couldn't find dll file: \nQ.dll\n\nPlease check.");
    EXPECT_EQ(FormatWithArgument(L"[%s]", L"C:\\100%s\\%d"), L"[C:\\100%s\\%d]");
    EXPECT_EQ(FormatWithArgument(L"no placeholder", L"x"), L"no placeholder");
}
