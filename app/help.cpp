#include "app/help.h"

#include <cstring>

#include "afx/file_find.h"
#include "afx/handles.h"
#include "afx/system_library.h"
#include "app/help_path.h"
#include "app/message_text.h"
#include "version/install_paths.h"

namespace {

constexpr char kHtmlHelpClassKey[] = "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
constexpr wchar_t kHtmlHelpFallbackModule[] = L"hhctrl.ocx";
constexpr WORD kHtmlHelpOrdinal = 15;  // HtmlHelpW
constexpr DWORD kModulePathBytes = 260;
constexpr wchar_t kHelpFolder[] = L"Help\\";
constexpr wchar_t kMissingHelpFileText[] = L"Couldn't find help file: \n%s\n\nPlease check software installation.";

// The control stays loaded for the rest of the process: nothing ever
// releases it, so it is kept as a plain handle.
struct HtmlHelpControl {
    HMODULE module = nullptr;
    HtmlHelpEntry entry = nullptr;
    bool failed = false;
};
HtmlHelpControl g_htmlHelp;

// The control's file as its class registration names it (8-bit registry),
// expanded when registered as REG_EXPAND_SZ; empty when none fits.
std::string RegisteredControlPath() {
    afx::unique_hkey key;
    if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, kHtmlHelpClassKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return {};
    char value[kModulePathBytes] = {};
    DWORD bytes = sizeof(value);
    DWORD type = 0;
    if (::RegQueryValueExA(key.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &bytes) != ERROR_SUCCESS)
        return {};
    // Data that fills the buffer without a terminator is too long a path.
    if (::strnlen(value, kModulePathBytes) >= kModulePathBytes) return {};
    if (type == REG_EXPAND_SZ) {
        char expanded[kModulePathBytes] = {};
        const DWORD needed = ::ExpandEnvironmentStringsA(value, expanded, kModulePathBytes);
        if (needed == 0 || needed > kModulePathBytes) return {};
        return expanded;
    }
    return value;
}

bool LoadHtmlHelpControl() {
    if (g_htmlHelp.failed) return false;
    if (g_htmlHelp.module == nullptr && g_htmlHelp.entry == nullptr) {
        const std::string registered = RegisteredControlPath();
        if (!registered.empty()) g_htmlHelp.module = ::LoadLibraryExA(registered.c_str(), nullptr, 0);
        if (g_htmlHelp.module == nullptr) g_htmlHelp.module = afx::LoadSystemLibrary(kHtmlHelpFallbackModule);
        if (g_htmlHelp.module == nullptr) {
            g_htmlHelp.failed = true;
            return false;
        }
    }
    if (g_htmlHelp.entry == nullptr) {
        g_htmlHelp.entry = reinterpret_cast<HtmlHelpEntry>(
            reinterpret_cast<void*>(::GetProcAddress(g_htmlHelp.module, MAKEINTRESOURCEA(kHtmlHelpOrdinal))));
        if (g_htmlHelp.entry == nullptr) {
            g_htmlHelp.failed = true;
            return false;
        }
    }
    return true;
}

}  // namespace

std::wstring GetHelpFilePath(const std::wstring& defaultHelpPath) {
    std::wstring folder = GetLocalAppPath();
    if (!folder.empty()) folder += kHelpFolder;
    return folder + HelpFileName(defaultHelpPath);
}

void OpenHelpFile(HWND caller, const std::wstring& helpFilePath, std::wstring_view page, const CWnd* reporter) {
    // The file is what must exist, and what the message names.
    if (AfxFileExists(helpFilePath)) {
        if (page.empty()) {
            AfxHtmlHelp(caller, helpFilePath, kHelpDisplayToc, 0);
        } else {
            AfxHtmlHelp(caller, HelpTopicAddress(helpFilePath, page), kHelpDisplayTopic, 0);
        }
        return;
    }
    const std::wstring text = FormatWithArgument(kMissingHelpFileText, helpFilePath);
    if (reporter != nullptr) {
        reporter->MessageBox(text, nullptr, MB_ICONERROR);
    } else {
        ::MessageBoxW(nullptr, text.c_str(), nullptr, MB_ICONERROR);
    }
}

HWND AfxHtmlHelp(HWND caller, const std::wstring& fileOrTopic, UINT command, DWORD_PTR data) {
    if (!LoadHtmlHelpControl()) return nullptr;
    return g_htmlHelp.entry(caller, fileOrTopic.c_str(), command, data);
}

void SetHtmlHelpEntry(HtmlHelpEntry entry) {
    g_htmlHelp.entry = entry;
    g_htmlHelp.failed = false;
}
