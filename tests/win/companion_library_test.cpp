// Finding and loading the companion library, and its start-up message.
#include "app/companion_library.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/install_paths.h"
#include "message_box_watcher.h"
#include "res/resource.h"
#include "test_environment.h"

namespace {

constexpr wchar_t kCurrentVersionKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion";

std::wstring ModulePath(HMODULE module) {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(module, path, MAX_PATH);
    return path;
}

bool SamePath(const std::wstring& a, const std::wstring& b) { return ::lstrcmpiW(a.c_str(), b.c_str()) == 0; }

// Two common-files folders, one named by the environment and one by the
// registry, each with a VELKOR folder that holds the library only when a
// test puts it there.
class CompanionLibrary : public ::testing::Test {
protected:
    CompanionLibrary()
        : fromEnvironment_(L"CommonProgramFiles", folders_.MakeFolder(L"env")),
          fromRegistry_(HKEY_LOCAL_MACHINE, kCurrentVersionKey, L"CommonFilesDir",
                        std::optional<std::wstring>(folders_.MakeFolder(L"reg"))) {
        folders_.MakeFolder(L"env\\VELKOR");
        folders_.MakeFolder(L"reg\\VELKOR");
    }

    std::wstring PutLibrary(const wchar_t* where) const {
        const std::wstring target = folders_.Path() + where + L"\\VELKOR\\" + CompanionLibraryName();
        ::CopyFileW((TestProgramFolder() + CompanionLibraryName()).c_str(), target.c_str(), FALSE);
        return target;
    }

    TempFolder folders_;
    ScopedEnvironment fromEnvironment_;
    ScopedRegistryValue fromRegistry_;
};

struct FoundWindow {
    HWND window = nullptr;
    std::wstring text;
};

BOOL CALLBACK FindStartupMessage(HWND hwnd, LPARAM lParam) {
    auto* found = reinterpret_cast<FoundWindow*>(lParam);
    wchar_t title[256] = {};
    ::GetWindowTextW(hwnd, title, 256);
    if (::IsWindowVisible(hwnd) && std::wstring(title) == L"Vornix Utility") {
        found->window = hwnd;
        ::EnumChildWindows(
            hwnd,
            [](HWND child, LPARAM text) -> BOOL {
                wchar_t buffer[256] = {};
                ::GetWindowTextW(child, buffer, 256);
                if (buffer[0] != L'\0') *reinterpret_cast<std::wstring*>(text) = buffer;
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&found->text));
    }
    return TRUE;
}

FoundWindow StartupMessageWindow() {
    FoundWindow found;
    ::EnumThreadWindows(::GetCurrentThreadId(), &FindStartupMessage, reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace

TEST_F(CompanionLibrary, EnvironmentFolderIsTriedFirst) {
    const std::wstring fromEnv = PutLibrary(L"env");
    PutLibrary(L"reg");
    MessageBoxWatcher boxes;
    const afx::unique_hmodule library = LoadCompanionLibrary();
    ASSERT_TRUE(library);
    EXPECT_TRUE(SamePath(ModulePath(library.get()), fromEnv));
    EXPECT_TRUE(boxes.Seen().empty());
}

TEST_F(CompanionLibrary, RegistryFolderIsTheFallback) {
    const std::wstring fromReg = PutLibrary(L"reg");
    MessageBoxWatcher boxes;
    const afx::unique_hmodule library = LoadCompanionLibrary();
    ASSERT_TRUE(library);
    EXPECT_TRUE(SamePath(ModulePath(library.get()), fromReg));
    EXPECT_TRUE(boxes.Seen().empty());
}

TEST_F(CompanionLibrary, MissingLibraryIsReportedWithItsBareName) {
    MessageBoxWatcher boxes;
    EXPECT_FALSE(LoadCompanionLibrary());
    const auto seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, L"Couldn't find dll file: \nQLDXDialogsOEM64.dll\n\nPlease check software installation.");
    EXPECT_EQ(seen[0].caption, L"Error");  // no caption of its own
    EXPECT_EQ(seen[0].owner, nullptr);
}

TEST_F(CompanionLibrary, UnloadableLibraryIsReportedWithItsFullPath) {
    const std::wstring bogus = folders_.Path() + L"env\\VELKOR\\" + CompanionLibraryName();
    folders_.WriteFile(L"env\\VELKOR\\" + CompanionLibraryName(), "this is not a library");
    MessageBoxWatcher boxes;
    EXPECT_FALSE(LoadCompanionLibrary());
    const auto seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, L"Couldn't load dll file: \n" + bogus + L"\n\nPlease check software installation.");
    EXPECT_EQ(seen[0].caption, L"Error");
}

TEST_F(CompanionLibrary, StartupMessageIsOnScreenUntilTheObjectGoes) {
    PutLibrary(L"env");
    const afx::unique_hmodule library = LoadCompanionLibrary();
    ASSERT_TRUE(library);

    auto message = ShowStartupMessage(library.get(), ::GetModuleHandleW(nullptr), L"Vornix Utility",
                                      L"Starting application...", IDI_MAIN_DIALOG);
    ASSERT_NE(message, nullptr);
    const FoundWindow shown = StartupMessageWindow();
    ASSERT_NE(shown.window, nullptr);
    EXPECT_EQ(shown.text, L"Starting application...");
    EXPECT_NE(::SendMessageW(shown.window, WM_GETICON, ICON_BIG, 0), 0);

    message.reset();
    EXPECT_FALSE(::IsWindow(shown.window));
    EXPECT_EQ(StartupMessageWindow().window, nullptr);

    EXPECT_EQ(ShowStartupMessage(nullptr, ::GetModuleHandleW(nullptr), L"t", L"m", IDI_MAIN_DIALOG), nullptr);
}
