// The folder browser in-process: the shell's dialog opened at the start
// folder with its path as status text, the status following the selection,
// OK and Cancel, and the shell's item lists freed.
#include <gtest/gtest.h>
#include <windows.h>
#include <objidl.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <thread>
#include <string>
#include <vector>

#include "afx/shell.h"
#include "controls/browse_folder.h"
#include "run_soon.h"
#include "scoped_state.h"

namespace {

// The text of the dialog's static control that shows text, or "" when none
// is set (the status line is the static holding a path or nothing).
std::wstring StatusText(HWND dialog, const std::wstring& expected) {
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t cls[32] = {}, text[MAX_PATH] = {};
        ::GetClassNameW(child, cls, 32);
        ::GetWindowTextW(child, text, MAX_PATH);
        if (::lstrcmpiW(cls, L"Static") == 0 && expected == text) return text;
    }
    return L"<not shown>";
}

// Reads every folder on the way to path once, so that their access times,
// which Wine's dialog compares when it selects by path, stay (docs/WINE.md).
void ReadFoldersOnTheWay(std::filesystem::path folder) {
    for (; folder.has_relative_path(); folder = folder.parent_path())
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) {
        }
}

// A browser that, once the dialog is up, runs the test's script in it.
class ScriptedBrowser : public CBrowseForFolder {
public:
    using Script = std::function<void(ScriptedBrowser&, HWND dialog)>;
    explicit ScriptedBrowser(Script script) : m_script(std::move(script)) {}
    void OnDialogReady() override {
        CBrowseForFolder::OnDialogReady();
        // Settings while the dialog is open change nothing.
        SetBrowseFlags(0);
        SetPrompt(L"not shown");
        RunSoon([this] { m_script(*this, DialogWindow()); });
    }
    void OnSelectionChanged(LPCITEMIDLIST item) override {
        CBrowseForFolder::OnSelectionChanged(item);
        ++m_selectionChanges;
    }
    int m_selectionChanges = 0;

private:
    Script m_script;
};

TEST(BrowseForFolder, OpensAtTheStartFolderFollowsTheSelectionAndReturnsTheChoice) {
    TempFolder temp;
    const std::wstring start = temp.MakeFolder(L"Start"), other = temp.MakeFolder(L"Other");
    const std::wstring startPath = start.substr(0, start.size() - 1), otherPath = other.substr(0, other.size() - 1);
    ReadFoldersOnTheWay(startPath);
    ReadFoldersOnTheWay(otherPath);

    struct Run {
        const char* name;
        bool pickOther;
        int button;
        bool chosen;
        std::wstring chosenPath;
    } runs[] = {
        {"OK on the start folder", false, IDOK, true, startPath},
        {"OK after selecting another folder", true, IDOK, true, otherPath},
        {"Cancel", true, IDCANCEL, false, L""},
        {"a second run starts at the start folder again", false, IDOK, true, startPath},
    };
    const Run* run = nullptr;
    ScriptedBrowser browser([&](ScriptedBrowser& self, HWND dialog) {
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(StatusText(dialog, startPath), startPath) << "the start folder's path as status";
        if (run->pickOther) {
            self.SelectPath(otherPath.c_str());
            EXPECT_EQ(StatusText(dialog, otherPath), otherPath) << "the status follows the selection";
        }
        ::PostMessageW(dialog, WM_COMMAND, static_cast<WPARAM>(run->button), 0);
    });
    browser.SetBrowseFlags(BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT);
    browser.SetPrompt(L"Choose a folder:");
    browser.SetStartFolder(startPath);
    for (const Run& each : runs) {
        SCOPED_TRACE(each.name);
        run = &each;
        EXPECT_EQ(browser.Browse(), each.chosen);
        if (each.chosen) {
            EXPECT_EQ(browser.GetChosenPath(), each.chosenPath);
        }
    }
    EXPECT_GT(browser.m_selectionChanges, 0);
}

// The item list the shell hands back, made by the shell's allocator.
PIDLIST_ABSOLUTE g_chosen = nullptr;
PIDLIST_ABSOLUTE WINAPI ChooseWindowsFolder(BROWSEINFOW*) {
    wchar_t folder[MAX_PATH] = {};
    ::GetWindowsDirectoryW(folder, MAX_PATH);
    return g_chosen = ::ILCreateFromPathW(folder);
}

TEST(BrowseForFolder, TheChosenItemListIsFreedAndItsPathKept) {
    const BrowseForFolderFunction previous = AfxSetBrowseForFolder(&ChooseWindowsFolder);
    CBrowseForFolder browser(nullptr);
    EXPECT_TRUE(browser.Browse());
    wchar_t folder[MAX_PATH] = {};
    ::GetWindowsDirectoryW(folder, MAX_PATH);
    EXPECT_EQ(::lstrcmpiW(browser.GetChosenPath().c_str(), folder), 0);
    IMalloc* allocator = nullptr;
    ASSERT_TRUE(SUCCEEDED(::CoGetMalloc(1, &allocator)));
    EXPECT_EQ(allocator->DidAlloc(g_chosen), 0) << "given back to the allocator (looked at once: memory is reused)";
    allocator->Release();
    AfxSetBrowseForFolder(previous);
}

// The calling thread's COM apartment, "none", "single" or "multi", found by
// asking for a multithreaded one (and undoing what that did).
std::string Apartment() {
    const HRESULT asked = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (asked == RPC_E_CHANGED_MODE) return "single";
    ::CoUninitialize();
    return asked == S_FALSE ? "multi" : "none";
}

std::string g_apartmentInShell;
PIDLIST_ABSOLUTE WINAPI NoteApartment(BROWSEINFOW*) {
    g_apartmentInShell = Apartment();
    return nullptr;
}

TEST(BrowseForFolder, TheShellsDialogRunsInASingleThreadedApartmentThatIsUndoneAfter) {
    const BrowseForFolderFunction previous = AfxSetBrowseForFolder(&NoteApartment);
    struct Row {
        const char* name;
        std::optional<DWORD> initialised;  // how the thread's COM was set up before
        std::string inShell;
    } rows[] = {
        {"a thread without COM", std::nullopt, "single"},
        {"a single-threaded apartment", COINIT_APARTMENTTHREADED, "single"},
        {"a multithreaded apartment stays one", COINIT_MULTITHREADED, "multi"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::thread([&] {
            if (row.initialised) {
                ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, *row.initialised)));
            }
            const std::string before = Apartment();
            CBrowseForFolder browser(nullptr);
            EXPECT_FALSE(browser.Browse());
            EXPECT_EQ(g_apartmentInShell, row.inShell);
            EXPECT_EQ(Apartment(), before) << "as it was";
            if (row.initialised) ::CoUninitialize();
            EXPECT_EQ(Apartment(), "none") << "nothing left to undo";
        }).join();
    }
    AfxSetBrowseForFolder(previous);
}

}  // namespace
