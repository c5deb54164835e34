// Starting VornixUtility64.exe, built next to the driver, as a person would.
#pragma once

#include <optional>
#include <string>

#include "child_process.h"

namespace demo {

// The utility finds its companion library through CommonProgramFiles and
// then the registry's CommonFilesDir. Wine sets CommonProgramFiles from
// CommonFilesDir in every new process, whatever the parent passes, so the
// library's place is chosen by where it is copied, not by the environment.
struct UtilityLaunch {
    // The program to start; the utility built beside the driver when empty.
    std::wstring program;
    // The utility's current folder; the driver's when empty.
    std::wstring currentFolder;
    // Variables set for the utility only.
    EnvironmentOverrides environment;
    // When not empty, written as the installation's update page address
    // before the start (the utility reads no other).
    std::wstring updatePage;
};

// Starts the utility. On failure returns nothing and says why in error.
std::optional<ChildProcess> LaunchUtility(const UtilityLaunch& launch, std::wstring& error);

}  // namespace demo
