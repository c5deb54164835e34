// The texts the About box and the help commands are built from: tidied
// version numbers, the help file's name and topic address, the About text.
#include <gtest/gtest.h>

#include <string>

#include "app/help_path.h"
#include "version/version_text.h"

namespace {

std::wstring Tidied(std::wstring text) {
    TidyVersionString(text);
    return text;
}

}  // namespace

TEST(TidyVersionString, WritesResourceCompilerVersionsDottedWithoutTrailingZeroParts) {
    EXPECT_EQ(Tidied(L"23, 22, 8, 1"), L"23.22.8.1");
    EXPECT_EQ(Tidied(L"1, 0, 0, 0"), L"1.0");
    EXPECT_EQ(Tidied(L"2023.0.0.0"), L"2023.0");
    EXPECT_EQ(Tidied(L"23.1.0.0"), L"23.1");
    EXPECT_EQ(Tidied(L"1.2.3.0"), L"1.2.3");
    EXPECT_EQ(Tidied(L"2.10.0"), L"2.10");  // only whole ".0" parts go, not a trailing zero digit
    EXPECT_EQ(Tidied(L"0.0.0"), L"0.0");
}

TEST(TidyVersionString, LeavesVersionsWithNothingToTidyAsTheyAre) {
    EXPECT_EQ(Tidied(L"23.10"), L"23.10");
    EXPECT_EQ(Tidied(L"1.0"), L"1.0");
    EXPECT_EQ(Tidied(L"7"), L"7");              // never given a ".0"
    EXPECT_EQ(Tidied(L"1,0,0,0"), L"1,0,0,0");  // commas without spaces are not the resource form
    EXPECT_EQ(Tidied(L""), L"");
}

TEST(HelpFileName, IsTheExecutablesNameWithoutItsBitnessAndExtension) {
    EXPECT_EQ(HelpFileName(L"C:\\Suite\\Tool64.exe"), L"Tool.chm");
    EXPECT_EQ(HelpFileName(L"C:\\Suite\\Tool32.exe"), L"Tool.chm");
    EXPECT_EQ(HelpFileName(L"C:\\Suite\\Tool16.exe"), L"Tool16.chm");
    EXPECT_EQ(HelpFileName(L"C:\\Suite\\VornixUtility64.chm"), L"VornixUtility.chm");
    EXPECT_EQ(HelpFileName(L"C:\\Suite\\Tool64"), L"Tool.chm");                // no extension
    EXPECT_EQ(HelpFileName(L"Tool64.exe"), L"Tool.chm");                       // no folder
    EXPECT_EQ(HelpFileName(L"C:\\Suite.2023\\Tool64"), L"Tool.chm");           // the folder's dot is not the name's
    EXPECT_EQ(HelpFileName(L"C:\\Suite\\Tool64.old.exe"), L"Tool64.old.chm");  // cut at the last dot only
}

TEST(HelpTopicAddress, NamesThePageInsideTheHelpFile) {
    EXPECT_EQ(HelpTopicAddress(L"C:\\Suite\\Help\\VornixUtility.chm", L"main_window.html"),
              L"C:\\Suite\\Help\\VornixUtility.chm::/main_window.html");
    EXPECT_EQ(HelpTopicAddress(L"Tool.chm", L"main_window.html"), L"Tool.chm::/main_window.html");
}

TEST(ComposeAboutText, NamesProgramSuiteUpdateLevelAndCopyright) {
    EXPECT_EQ(ComposeAboutText(L"Vornix Utility", L"2023.0.1", L"2023.0", L"2", L"Copyright VELKOR"),
              L"Vornix Utility Version 2023.0.1\n\nVELKOR 2D Version 2023.0    Update 2\n\nCopyright VELKOR");
    EXPECT_EQ(ComposeAboutText(L"Vornix Utility", L"2023.0.1", L"2023.0", L"", L"Copyright VELKOR"),
              L"Vornix Utility Version 2023.0.1\n\nVELKOR 2D Version 2023.0\n\nCopyright VELKOR");
    // An executable that names no product version belongs to the 2023 suite.
    EXPECT_EQ(ComposeAboutText(L"Tool", L"1.0", L"", L"SP1", L"(c)"),
              L"Tool Version 1.0\n\nVELKOR 2D Version 2023    Update SP1\n\n(c)");
}

TEST(ComposeAboutText, WithoutVersionDataKeepsOnlyTheFixedWords) {
    EXPECT_EQ(ComposeAboutText(L"", L"", L"", L"", L""), L" Version \n\nVELKOR 2D Version 2023\n\n");
}
