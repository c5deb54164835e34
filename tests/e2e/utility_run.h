// The end-to-end fixture: the demo installation with its programs older
// than the update the local page names, the utility started in it as a
// person would, and what its windows did, seen from outside. The page and
// the recording browser come from tests/run-windows-tests.sh.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <optional>
#include <string>

#include "child_process.h"
#include "update_page.h"

class UtilityRun : public testing::Test {
protected:
    enum class Companion { Installed, Missing };
    enum class Schedule { Due, FirstStart };

    void SetUp() override;
    void TearDown() override;

    // Starts the utility (a copy of it at `program` when given); a fatal
    // failure when it cannot be started.
    void Start(Companion companion, Schedule schedule, const std::wstring& program = {});
    // The main dialog once it is on screen, or nullptr after the timeout.
    HWND WaitForMainDialog(std::chrono::milliseconds timeout) const;
    // Clicks OK and expects the program to end with exit code 0.
    void ExpectEndsAfterOk(HWND dialog) const;

    const demo::ChildProcess& process() const { return *m_utility; }
    const demo::UpdatePage& page() const { return *m_page; }
    // The addresses the recording browser was asked to open, one per line.
    std::string BrowserLog() const;

private:
    std::optional<demo::UpdatePage> m_page;
    std::wstring m_browserLog;
    std::optional<demo::ChildProcess> m_utility;
};
