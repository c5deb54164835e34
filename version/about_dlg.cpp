#include "version/about_dlg.h"

#include <windows.h>
#include <shellapi.h>

#include "afx/data_exchange.h"
#include "afx/registry.h"
#include "res/resource.h"
#include "version/install_paths.h"
#include "version/file_version.h"
#include "version/version_text.h"

namespace {

// The program path as the process was started: the first argument of the
// command line, with or without quotes.
std::wstring ProgramPathFromCommandLine() {
    int count = 0;
    wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::wstring path = arguments != nullptr && count > 0 ? std::wstring(arguments[0]) : std::wstring();
    ::LocalFree(arguments);
    return path;
}

struct SplitPath {
    std::wstring folder;     // up to and including the last backslash
    std::wstring name;       // after it, without the extension
    std::wstring extension;  // from the last dot after the last backslash, lower-cased
};

SplitPath Split(const std::wstring& path) {
    SplitPath split;
    const std::size_t slash = path.rfind(L'\\');
    const std::size_t dot = path.rfind(L'.');
    if (dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash)) {
        split.extension = path.substr(dot);
        if (!split.extension.empty())
            ::CharLowerBuffW(split.extension.data(), static_cast<DWORD>(split.extension.size()));
    }
    split.folder = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
    split.name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    if (const std::size_t nameDot = split.name.rfind(L'.'); nameDot != std::wstring::npos) split.name.erase(nameDot);
    return split;
}

}  // namespace

std::wstring GetAboutText() {
    const SplitPath program = Split(ProgramPathFromCommandLine());
    FileVersionStrings version;
    ReadFileVersionStrings(version, program.folder + program.name, program.extension);
    const std::wstring update = ReadRegistryString(HKEY_LOCAL_MACHINE, kSuiteKey, kProductUpdateValue);
    return ComposeAboutText(version.FileDescription, version.FileVersion, version.ProductVersion, update,
                            version.LegalCopyright);
}

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX, nullptr) {}

CAboutDlg::~CAboutDlg() = default;

const AFX_MSGMAP* CAboutDlg::GetThisMessageMap() {
    static constexpr AFX_MSGMAP map{&CDialog::GetThisMessageMap, {}};
    return &map;
}

const AFX_MSGMAP* CAboutDlg::GetMessageMap() const { return GetThisMessageMap(); }

void CAboutDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_ABOUT_ICON, m_icon);
    DDX_Text(dx, IDC_ABOUT_TEXT, m_aboutText);
}

BOOL CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_aboutText = GetAboutText();
    UpdateData(false);
    return TRUE;
}

void ShowAboutBox() {
    CAboutDlg about;
    about.DoModal();
}
