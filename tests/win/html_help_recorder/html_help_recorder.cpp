// html_help_recorder.dll: a stand-in for the HTML Help control that the UI
// tests register in place of hhctrl.ocx. Every HtmlHelpW call is appended to
// the file named by VORNIX_HTML_HELP_LOG, one UTF-8 line
//   <command> TAB <caller window as a decimal number> TAB <file or topic> LF
// and then handed on to the real control, so the viewer still opens. Which
// page the viewer shows cannot be read from another process under Wine
// (without its HTML engine every page looks the same), so the tests read
// the call instead.
#include <windows.h>

#include <string>

namespace {

using HtmlHelpEntry = HWND(WINAPI*)(HWND, const wchar_t*, UINT, DWORD_PTR);

std::wstring LogPath() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetEnvironmentVariableW(L"VORNIX_HTML_HELP_LOG", path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(path, length) : std::wstring();
}

std::string Utf8(const std::wstring& text) {
    const int bytes =
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), bytes, nullptr, nullptr);
    return out;
}

void Record(HWND caller, const wchar_t* fileOrTopic, UINT command) {
    const std::wstring path = LogPath();
    if (path.empty()) return;
    const HANDLE file = ::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    const std::string line =
        Utf8(std::to_wstring(command) + L'\t' + std::to_wstring(reinterpret_cast<UINT_PTR>(caller)) + L'\t' +
             (fileOrTopic != nullptr ? fileOrTopic : L"") + L'\n');
    DWORD written = 0;
    ::WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    ::CloseHandle(file);
}

HtmlHelpEntry RealHtmlHelp() {
    static const HtmlHelpEntry entry = [] {
        const HMODULE control = ::LoadLibraryW(L"hhctrl.ocx");
        return control != nullptr ? reinterpret_cast<HtmlHelpEntry>(
                                        reinterpret_cast<void (*)()>(::GetProcAddress(control, MAKEINTRESOURCEA(15))))
                                  : nullptr;
    }();
    return entry;
}

}  // namespace

extern "C" HWND WINAPI HtmlHelpW(HWND caller, const wchar_t* fileOrTopic, UINT command, DWORD_PTR data) {
    // Nothing may leave through the program's call.
    try {
        Record(caller, fileOrTopic, command);
    } catch (...) {
    }
    const HtmlHelpEntry real = RealHtmlHelp();
    return real != nullptr ? real(caller, fileOrTopic, command, data) : nullptr;
}
