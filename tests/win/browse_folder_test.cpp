// The folder browser in-process: the shell's dialog opened at the start
// folder with its path as status text, the status following the selection,
// OK and Cancel, and the shell's item lists freed.
#include <gtest/gtest.h>
#include <windows.h>
#include <objidl.h>

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

// Counts what the COM task allocator hands out and takes back. (COM
// interfaces are released, never deleted through their base.)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class CountingSpy : public IMallocSpy {
public:
    long m_live = 0;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IMallocSpy) {
            *out = this;
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    SIZE_T STDMETHODCALLTYPE PreAlloc(SIZE_T size) override { return size; }
    void* STDMETHODCALLTYPE PostAlloc(void* block) override {
        m_live += block != nullptr;
        return block;
    }
    void* STDMETHODCALLTYPE PreFree(void* block, BOOL) override {
        m_live -= block != nullptr;
        return block;
    }
    void STDMETHODCALLTYPE PostFree(BOOL) override {}
    SIZE_T STDMETHODCALLTYPE PreRealloc(void* block, SIZE_T size, void** newBlock, BOOL) override {
        *newBlock = block;
        return size;
    }
    void* STDMETHODCALLTYPE PostRealloc(void* block, BOOL) override { return block; }
    void* STDMETHODCALLTYPE PreGetSize(void* block, BOOL) override { return block; }
    SIZE_T STDMETHODCALLTYPE PostGetSize(SIZE_T size, BOOL) override { return size; }
    void* STDMETHODCALLTYPE PreDidAlloc(void* block, BOOL) override { return block; }
    int STDMETHODCALLTYPE PostDidAlloc(void*, BOOL, int actual) override { return actual; }
    void STDMETHODCALLTYPE PreHeapMinimize() override {}
    void STDMETHODCALLTYPE PostHeapMinimize() override {}
};
#pragma GCC diagnostic pop

TEST(BrowseForFolder, OpensAtTheStartFolderFollowsTheSelectionAndReturnsTheChoice) {
    TempFolder temp;
    const std::wstring start = temp.MakeFolder(L"Start"), other = temp.MakeFolder(L"Other");
    const std::wstring startPath = start.substr(0, start.size() - 1), otherPath = other.substr(0, other.size() - 1);

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
    ScriptedBrowser* current = nullptr;
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
    current = &browser;
    browser.SetBrowseFlags(BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT);
    browser.SetPrompt(L"Choose a folder:");
    browser.SetStartFolder(startPath);
    for (const Run& each : runs) {
        SCOPED_TRACE(each.name);
        run = &each;
        EXPECT_EQ(current->Browse(), each.chosen);
        if (each.chosen) {
            EXPECT_EQ(current->GetChosenPath(), each.chosenPath);
        }
    }
    EXPECT_GT(browser.m_selectionChanges, 0);
}

TEST(BrowseForFolder, TheShellsItemListsAreFreed) {
    TempFolder temp;
    const std::wstring start = temp.MakeFolder(L"Start");
    ScriptedBrowser browser([](ScriptedBrowser&, HWND dialog) { ::PostMessageW(dialog, WM_COMMAND, IDOK, 0); });
    browser.SetBrowseFlags(BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT);
    browser.SetStartFolder(start);
    ASSERT_TRUE(browser.Browse());  // the shell's caches fill on first use
    CountingSpy spy;
    if (FAILED(::CoRegisterMallocSpy(&spy))) GTEST_SKIP() << "no allocator spy here";
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(browser.Browse());
    ::CoRevokeMallocSpy();
    EXPECT_LT(spy.m_live, 5) << "one list left per Browse would show as 5";
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
