#include "utility_launch.h"

#include "paths.h"

namespace demo {

std::optional<ChildProcess> LaunchUtility(const UtilityLaunch& launch, std::wstring& error) {
    std::optional<ChildProcess> process =
        ChildProcess::Start(L"\"" + UtilityPath() + L"\"", launch.environment, launch.currentFolder);
    if (!process) error = L"CreateProcessW failed with error " + std::to_wstring(GetLastError());
    return process;
}

}  // namespace demo
