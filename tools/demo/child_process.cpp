#include "child_process.h"

#include <tlhelp32.h>

namespace demo {
namespace {

bool SameName(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

std::wstring NameOf(const std::wstring& entry) {
    // "=C:=C:\dir" entries keep their leading '=' as part of the name.
    return entry.substr(0, entry.find(L'=', 1));
}

// The driver's environment with the overrides applied, as CreateProcessW
// wants it: "name=value" strings, each ended by a zero, and a final zero.
std::vector<wchar_t> EnvironmentBlock(const EnvironmentOverrides& overrides) {
    std::vector<std::wstring> entries;
    if (wchar_t* const block = GetEnvironmentStringsW()) {
        for (const wchar_t* entry = block; *entry != L'\0'; entry += wcslen(entry) + 1) entries.emplace_back(entry);
        FreeEnvironmentStringsW(block);
    }
    for (const auto& [name, value] : overrides) {
        std::erase_if(entries, [&](const std::wstring& entry) { return SameName(NameOf(entry), name); });
        entries.push_back(name + L'=' + value);
    }
    std::vector<wchar_t> result;
    for (const std::wstring& entry : entries) {
        result.insert(result.end(), entry.begin(), entry.end());
        result.push_back(L'\0');
    }
    result.push_back(L'\0');
    return result;
}

}  // namespace

std::optional<ChildProcess> ChildProcess::Start(const std::wstring& commandLine,
                                                const EnvironmentOverrides& environment,
                                                const std::wstring& currentFolder) {
    std::vector<wchar_t> writableCommandLine(commandLine.begin(), commandLine.end());
    writableCommandLine.push_back(L'\0');
    std::vector<wchar_t> block = EnvironmentBlock(environment);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, writableCommandLine.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                        block.data(), currentFolder.empty() ? nullptr : currentFolder.c_str(), &startup, &started))
        return std::nullopt;
    const afx::unique_handle thread(started.hThread);  // not needed: the process is what is watched
    return ChildProcess(started);
}

ChildProcess::ChildProcess(const PROCESS_INFORMATION& started) noexcept
    : m_process(started.hProcess), m_processId(started.dwProcessId) {}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
    if (this != &other) {
        EndIfRunning();
        m_process = std::move(other.m_process);
        m_processId = other.m_processId;
    }
    return *this;
}

ChildProcess::~ChildProcess() { EndIfRunning(); }

void ChildProcess::EndIfRunning() const noexcept {
    if (m_process && IsRunning()) Terminate();
}

bool ChildProcess::IsRunning() const noexcept { return WaitForSingleObject(m_process.get(), 0) == WAIT_TIMEOUT; }

bool ChildProcess::WaitForExit(std::chrono::milliseconds timeout) const noexcept {
    return WaitForSingleObject(m_process.get(), static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

std::optional<DWORD> ChildProcess::ExitCode() const noexcept {
    DWORD code = 0;
    if (IsRunning() || !GetExitCodeProcess(m_process.get(), &code)) return std::nullopt;
    return code;
}

void ChildProcess::Terminate() const noexcept {
    TerminateProcess(m_process.get(), 1);
    WaitForSingleObject(m_process.get(), 5000);
}

std::vector<DWORD> ChildProcessesNamed(DWORD parentId, const std::wstring& exeName) {
    std::vector<DWORD> found;
    const afx::unique_hfile snapshot{CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0)};
    if (!snapshot) return found;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
        if (entry.th32ParentProcessID == parentId && SameName(entry.szExeFile, exeName))
            found.push_back(entry.th32ProcessID);
    }
    return found;
}

}  // namespace demo
