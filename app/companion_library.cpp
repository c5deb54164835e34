#include "app/companion_library.h"

#include <cwchar>

#include "afx/file_find.h"
#include "afx/system_library.h"
#include "app/message_text.h"
#include "version/install_paths.h"

namespace {

constexpr wchar_t kLibraryNamePattern[] = L"QLDXDialogsOEM%ls.dll";
// The maker's 64-bit library carries "64" in its name, the 32-bit one nothing.
#ifdef _WIN64
constexpr wchar_t kPlatformSuffix[] = L"64";
#else
constexpr wchar_t kPlatformSuffix[] = L"";
#endif
constexpr wchar_t kCouldntFindDllText[] = L"Couldn't find dll file: \n%s\n\nPlease check software installation.";
constexpr wchar_t kCouldntLoadDllText[] = L"Couldn't load dll file: \n%s\n\nPlease check software installation.";

void ReportInstallProblem(const wchar_t* pattern, const std::wstring& path) {
    ::MessageBoxW(nullptr, FormatWithArgument(pattern, path).c_str(), nullptr, MB_ICONERROR);
}

}  // namespace

std::wstring CompanionLibraryName() {
    wchar_t name[64];
    std::swprintf(name, 64, kLibraryNamePattern, kPlatformSuffix);
    return name;
}

afx::unique_hmodule LoadCompanionLibrary() {
    const std::wstring name = CompanionLibraryName();
    std::wstring path = GetCommonProgramFilesFolder() + name;
    if (!AfxFileExists(path)) {
        path = GetCommonFilesFolder() + name;
        if (!AfxFileExists(path)) {
            ReportInstallProblem(kCouldntFindDllText, name);
            return {};
        }
    }
    // Its dependencies from its own folder and the system's, never the
    // program's or the current one.
    afx::unique_hmodule library(afx::LoadLibraryFromItsFolder(path.c_str()));
    if (!library) ReportInstallProblem(kCouldntLoadDllText, path);
    return library;
}

std::unique_ptr<CSplashMsgDlg> ShowStartupMessage(HMODULE library, HINSTANCE resources, const wchar_t* title,
                                                  const wchar_t* message, int iconId) {
    if (library == nullptr) return nullptr;
    const auto factory = reinterpret_cast<NewSplashMsgDlgFunction>(
        reinterpret_cast<void*>(::GetProcAddress(library, kNewSplashMsgDlgExport)));
    if (factory == nullptr) return nullptr;
    std::unique_ptr<CSplashMsgDlg> dialog(factory());
    if (!dialog) return nullptr;
    dialog->SetResourceInstance(resources);
    dialog->SetTitle(title);
    dialog->SetMessage(message);
    dialog->SetIconResource(iconId);
    return dialog;
}
