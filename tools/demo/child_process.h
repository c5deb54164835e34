// A process a driver starts and answers for: whatever happens to the
// driver's run, it does not outlive its owner.
#pragma once

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "afx/handles.h"

namespace demo {

// Variables set (or replaced) in the child's copy of the driver's environment.
using EnvironmentOverrides = std::vector<std::pair<std::wstring, std::wstring>>;

class ChildProcess {
public:
    // Starts commandLine in currentFolder (the driver's when empty). On
    // failure returns nothing, with the last-error value of CreateProcessW set.
    static std::optional<ChildProcess> Start(const std::wstring& commandLine,
                                             const EnvironmentOverrides& environment = {},
                                             const std::wstring& currentFolder = {});

    ChildProcess(ChildProcess&&) noexcept = default;
    ChildProcess& operator=(ChildProcess&& other) noexcept;  // ends the process it held
    ~ChildProcess();                                         // ends the process if it still runs

    [[nodiscard]] DWORD id() const noexcept { return m_processId; }
    [[nodiscard]] bool IsRunning() const noexcept;
    // True when the process ended within the timeout.
    bool WaitForExit(std::chrono::milliseconds timeout) const noexcept;
    // The exit code once the process has ended.
    [[nodiscard]] std::optional<DWORD> ExitCode() const noexcept;
    void Terminate() const noexcept;

private:
    explicit ChildProcess(const PROCESS_INFORMATION& started) noexcept;
    void EndIfRunning() const noexcept;

    afx::unique_handle m_process;
    DWORD m_processId = 0;
};

// Processes whose parent is parentId and whose executable file is named
// exeName (compared without case).
std::vector<DWORD> ChildProcessesNamed(DWORD parentId, const std::wstring& exeName);

}  // namespace demo
