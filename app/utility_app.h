// The application object: the start-up order, the companion library's
// lifetime and the shut-down. The program's one instance is defined in
// app_object.cpp, which only the executable links.
#pragma once

#include <chrono>
#include <string>

#include "afx/handles.h"
#include "afx/win_app.h"

class CUtilityApp : public CWinApp {
public:
    CUtilityApp() = default;
    ~CUtilityApp() override;

    const AFX_MSGMAP* GetMessageMap() const override;
    static const AFX_MSGMAP* GetThisMessageMap();

    // Prepares the environment and runs the main dialog; always false, so
    // no message loop of the application's own runs.
    BOOL InitInstance() override;
    // Releases the companion library; the framework's result is the exit code.
    int ExitInstance() override;

    // The help file the application's Help command (F1) opens; computed at
    // start-up.
    void SetHelpFilePath(std::wstring path) { m_helpFilePath = std::move(path); }

protected:
    // When the user presses F1 (the Help command the main dialog passes on):
    // the help file's contents, or the missing-file message.
    void OnHelp();

private:
    // The program's start on the start deadline's clock (StartClock,
    // version/start_deadline.h): taken when the application object is
    // made, with the program's static objects.
    const std::chrono::steady_clock::time_point m_started = std::chrono::steady_clock::now();
    afx::unique_hmodule m_companionLibrary;
    std::wstring m_helpFilePath;
};
