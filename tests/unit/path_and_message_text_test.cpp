#include <gtest/gtest.h>

#include "app/message_text.h"
#include "app/path_text.h"

TEST(AddTrailingBackslash, JoinsFoldersByPlainConcatenation) {
    EXPECT_EQ(AddTrailingBackslash(L"C:\\Suite"), L"C:\\Suite\\");
    EXPECT_EQ(AddTrailingBackslash(L"C:\\Suite\\"), L"C:\\Suite\\");
    EXPECT_EQ(AddTrailingBackslash(L""), L"");  // never a lone backslash
    EXPECT_EQ(AddTrailingBackslash(L"\\"), L"\\");
    EXPECT_EQ(AddTrailingBackslash(L"C:/Suite/"), L"C:/Suite/\\");  // only a backslash ends a folder
}

TEST(FormatWithArgument, PutsThePathIntoTheInstallationMessages) {
    EXPECT_EQ(FormatWithArgument(kCouldntFindDllText, L"QLDXDialogsOEM64.dll"),
              L"Couldn't find dll file: \nQLDXDialogsOEM64.dll\n\nPlease check software installation.");
    EXPECT_EQ(FormatWithArgument(kCouldntLoadDllText, L"C:\\Common\\VELKOR\\QLDXDialogsOEM64.dll"),
              L"Couldn't load dll file: \nC:\\Common\\VELKOR\\QLDXDialogsOEM64.dll\n\nPlease check software installation.");
    // A path is text, not a format: percent signs in it stay as they are.
    EXPECT_EQ(FormatWithArgument(L"[%s]", L"C:\\100%s\\%d"), L"[C:\\100%s\\%d]");
    EXPECT_EQ(FormatWithArgument(L"no placeholder", L"x"), L"no placeholder");
}
