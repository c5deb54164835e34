// A copy of the elevated utility in a folder any user can write to, beside DLLs named like system
// libraries it uses, Wine preferring a DLL beside the program as Windows does (WINEDLLOVERRIDES, set
// by tests/run-windows-tests.sh): it works, and no planted DLL is ever loaded (each leaves NAME.loaded).
// version.dll only beside the 64-bit program: Wine's own user32 imports it, and only the 64-bit
// program loads user32 after restricting the search (cmake/vornix_delay_load.cmake).
#include <string>

#include "paths.h"
#include "process_windows.h"
#include "utility_run.h"
#include "waiting.h"

namespace {

constexpr const wchar_t* kPlanted[] = {
    L"wininet.dll", L"uxtheme.dll", L"dwmapi.dll", L"winmm.dll", L"oleacc.dll", L"cryptbase.dll", L"hhctrl.ocx",
#ifdef _WIN64
    L"version.dll",
#endif
};
const std::wstring kFolder = L"C:\\users\\Public\\VornixPlanted\\";
constexpr WORD kAboutCommand = 32773;
constexpr WORD kHelpCommand = 32774;

std::wstring LoadedPlants() {
    std::wstring loaded;
    for (const wchar_t* name : kPlanted)
        if (DeleteFileW((kFolder + name + L".loaded").c_str())) loaded += std::wstring(name) + L" ";
    return loaded;
}

// A visible top-level window of the process of that class other than `except`.
HWND WaitForWindowOfClass(DWORD processId, const wchar_t* className, HWND except = nullptr) {
    return demo::WaitFor(demo::kWindowTimeout, [&]() -> HWND {
        for (const HWND window : demo::VisibleTopLevelWindowsOf(processId))
            if (window != except && demo::ClassNameOf(window) == className) return window;
        return nullptr;
    });
}

class PlantedDllTest : public UtilityRun {};

TEST_F(PlantedDllTest, ACopyBesideDllsNamedLikeTheSystemsWorksAndLoadsNoneOfThem) {
    CreateDirectoryW(kFolder.c_str(), nullptr);
    const std::wstring plant = demo::DriverFolder() + L"vornix_planted_dll.dll";
    for (const wchar_t* name : kPlanted) ASSERT_TRUE(CopyFileW(plant.c_str(), (kFolder + name).c_str(), FALSE));
    const std::wstring control = kFolder + L"control.exe", copy = kFolder + L"VornixUtility.exe";
    ASSERT_TRUE(CopyFileW((demo::DriverFolder() + L"vornix_planted_control.exe").c_str(), control.c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(demo::UtilityPath().c_str(), copy.c_str(), FALSE));

    // The stand-in works: a program that imports winmm.dll takes the planted one.
    const auto controlRun = demo::ChildProcess::Start(L"\"" + control + L"\"");
    ASSERT_TRUE(controlRun && controlRun->WaitForExit(demo::kWindowTimeout));
    ASSERT_EQ(LoadedPlants(), L"winmm.dll ") << "Wine does not prefer a DLL beside the program here";

    ASSERT_NO_FATAL_FAILURE(Start(Companion::Installed, Schedule::Due, copy));
    // The check reads the page (wininet) and offers the update: No, then the reminder's OK.
    for (const int button : {IDNO, IDOK}) {
        const HWND box = demo::WaitFor(demo::kWindowTimeout, [&] { return demo::FindMessageBox(process().id()); });
        ASSERT_NE(box, nullptr) << "the offer and the reminder come before the main window";
        PostMessageW(GetDlgItem(box, button), BM_CLICK, 0, 0);
        demo::WaitFor(demo::kWindowTimeout, [&] { return !IsWindow(box); });
    }
    const HWND dialog = WaitForMainDialog(demo::kWindowTimeout);
    ASSERT_NE(dialog, nullptr);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(kAboutCommand, 0), 0);
    const HWND about = WaitForWindowOfClass(process().id(), demo::kDialogClass, dialog);
    ASSERT_NE(about, nullptr) << "the About box";
    PostMessageW(about, WM_SYSCOMMAND, SC_CLOSE, 0);
    demo::WaitFor(demo::kWindowTimeout, [&] { return !IsWindowVisible(about); });
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(kHelpCommand, 0), 0);
    const HWND help = WaitForWindowOfClass(process().id(), L"HH Parent");
    EXPECT_NE(help, nullptr) << "the help viewer";
    PostMessageW(help, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_NO_FATAL_FAILURE(ExpectEndsAfterOk(dialog));
    EXPECT_EQ(LoadedPlants(), L"") << "planted DLLs loaded";

    for (const wchar_t* name : kPlanted) DeleteFileW((kFolder + name).c_str());
    DeleteFileW(control.c_str());
    DeleteFileW(copy.c_str());
    RemoveDirectoryW(kFolder.c_str());
}

}  // namespace
