#include "utility_launch.h"

#include "demo_installation.h"
#include "paths.h"

namespace demo {

std::optional<ChildProcess> LaunchUtility(const UtilityLaunch& launch, std::wstring& error) {
    if (!launch.updatePage.empty()) {
        const Step written = WriteUpdatePageAddress(launch.updatePage);
        if (!written.ok) {
            error = written.description;
            return std::nullopt;
        }
    }
    std::optional<ChildProcess> process =
        ChildProcess::Start(L"\"" + (launch.program.empty() ? UtilityPath() : launch.program) + L"\"",
                            launch.environment, launch.currentFolder);
    if (!process) error = L"CreateProcessW failed with error " + std::to_wstring(GetLastError());
    return process;
}

}  // namespace demo
