// Finding and loading the companion library, and its start-up message.
#include <gtest/gtest.h>

#include "app/companion_library.h"
#include "companion/companion_resource.h"
#include "message_boxes.h"
#include "res/resource.h"
#include "run_soon.h"
#include "scoped_state.h"

namespace {

std::wstring BuiltLibrary() { return ProgramFolder() + CompanionLibraryName(); }

std::wstring ModulePath(HMODULE module) {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(module, path, MAX_PATH);
    return path;
}

}  // namespace

// The environment's common files folder first, then the registry's; each
// failure in one message box with no owner and the platform's caption.
TEST(CompanionLibrary, FoundThroughTheEnvironmentThenTheRegistryOrReported) {
    TempFolder folders;
    const std::wstring env = folders.MakeFolder(L"env\\VELKOR"), reg = folders.MakeFolder(L"reg\\VELKOR");
    ScopedEnvironment fromEnvironment(L"CommonProgramFiles", folders.Path() + L"env");
    ScopedRegistryValue fromRegistry(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion",
                                     L"CommonFilesDir", folders.Path() + L"reg");
    const std::wstring name = CompanionLibraryName();
    struct Row {
        std::vector<std::wstring> copies;  // where the built library is put
        std::wstring bogus;                // where a file that is no library is put
        std::wstring loaded;
        std::wstring box;
    };
    const Row rows[] = {
        {{env, reg}, L"", env + name, L""},
        {{reg}, L"", reg + name, L""},
        {{}, L"", L"", L"Couldn't find dll file: \n" + name + L"\n\nPlease check software installation."},
        {{reg}, env, L"", L"Couldn't load dll file: \n" + env + name + L"\n\nPlease check software installation."},
    };
    for (const Row& row : rows) {
        ::DeleteFileW((env + name).c_str());
        ::DeleteFileW((reg + name).c_str());
        for (const std::wstring& folder : row.copies)
            ::CopyFileW(BuiltLibrary().c_str(), (folder + name).c_str(), FALSE);
        if (!row.bogus.empty()) folders.WriteFile(L"env\\VELKOR\\" + name, "this is not a library");
        MessageBoxWatcher watcher;
        const afx::unique_hmodule library = LoadCompanionLibrary();
        EXPECT_EQ(library ? ModulePath(library.get()) : L"", row.loaded);
        const auto boxes = watcher.Seen();
        ASSERT_EQ(boxes.size(), row.box.empty() ? 0u : 1u);
        if (boxes.empty()) continue;
        EXPECT_EQ(boxes[0].text, row.box);
        EXPECT_EQ(boxes[0].caption, L"Error");
        EXPECT_EQ(boxes[0].owner, nullptr);
        EXPECT_EQ(boxes[0].icon, L"error");
    }
}

TEST(CompanionLibrary, TheStartUpMessageIsOnScreenWhileItsObjectLivesAndOwnsItsIcon) {
    const afx::unique_hmodule library(::LoadLibraryW(BuiltLibrary().c_str()));
    ASSERT_TRUE(library);
    EXPECT_EQ(ShowStartupMessage(nullptr, nullptr, L"t", L"m", IDI_MAIN_DIALOG), nullptr);

    auto message = ShowStartupMessage(library.get(), ::GetModuleHandleW(nullptr), L"Vornix Utility",
                                      L"Starting application...", IDI_MAIN_DIALOG);
    ASSERT_NE(message, nullptr);
    const HWND window = FindShownWindow(L"Vornix Utility");
    ASSERT_NE(window, nullptr);
    wchar_t text[64] = {};
    ::GetDlgItemTextW(window, IDC_QLDX_MESSAGE, text, 64);
    EXPECT_STREQ(text, L"Starting application...");
    const auto first = reinterpret_cast<HICON>(::SendMessageW(window, WM_GETICON, ICON_BIG, 0));
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(first, &info));
    ::DeleteObject(info.hbmColor), ::DeleteObject(info.hbmMask);

    // A new icon replaces the old one everywhere before the old one goes.
    message->SetIconResource(IDR_MAINFRAME);
    const auto second = reinterpret_cast<HICON>(::SendMessageW(window, WM_GETICON, ICON_BIG, 0));
    EXPECT_NE(second, first);
    EXPECT_EQ(reinterpret_cast<HICON>(::SendDlgItemMessageW(window, IDC_QLDX_ICON, STM_GETICON, 0, 0)), second);
    EXPECT_FALSE(::GetIconInfo(first, &info)) << "the replaced icon is released";

    message.reset();
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_FALSE(::GetIconInfo(second, &info));
}
