#include "app/companion_library.h"

#include <cwchar>

#include "app/install_paths.h"
#include "app/message_text.h"

namespace {

constexpr wchar_t kLibraryNamePattern[] = L"QLDXDialogsOEM%ls.dll";
constexpr wchar_t kPlatformSuffix[] = L"64";
constexpr char kStartupMessageFactory[] = "NewCQLDXSplashMsgDlg";

using SplashMsgFactory = CSplashMsgDlg* (*)();

bool FileExists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

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
    if (!FileExists(path)) {
        path = GetCommonFilesFolder() + name;
        if (!FileExists(path)) {
            ReportInstallProblem(kCouldntFindDllText, name);
            return {};
        }
    }
    afx::unique_hmodule library(::LoadLibraryW(path.c_str()));
    if (!library) ReportInstallProblem(kCouldntLoadDllText, path);
    return library;
}

std::unique_ptr<CSplashMsgDlg> ShowStartupMessage(HMODULE library, HINSTANCE resources, const wchar_t* title,
                                                  const wchar_t* message, int iconId) {
    if (library == nullptr) return nullptr;
    const auto factory = reinterpret_cast<SplashMsgFactory>(
        reinterpret_cast<void*>(::GetProcAddress(library, kStartupMessageFactory)));
    if (factory == nullptr) return nullptr;
    std::unique_ptr<CSplashMsgDlg> dialog(factory());
    if (!dialog) return nullptr;
    dialog->SetResourceInstance(resources);
    dialog->SetTitle(title);
    dialog->SetMessage(message);
    dialog->SetIconResource(iconId);
    return dialog;
}
