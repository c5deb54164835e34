// The application object: the start-up order, the companion library's
// lifetime and the shut-down.
#pragma once

#include <string>

#include "afx/handles.h"
#include "afx/win_app.h"

// The program's name as the user sees it: the main dialog's caption, the
// About items and the start-up message's title.
inline constexpr wchar_t kDisplayName[] = L"Vornix Utility";
// Root of the framework's per-user settings, under HKEY_CURRENT_USER\Software.
inline constexpr wchar_t kAppRegistryKey[] = L"VELKOR\\Vornix\\2023";

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

    // The loaded companion library, or null when it could not be loaded.
    HMODULE GetCompanionLibrary() const { return m_companionLibrary.get(); }

protected:
    // When the user presses F1 (the Help command the main dialog passes on):
    // the help file's contents, or the missing-file message.
    void OnHelp();

private:
    afx::unique_hmodule m_companionLibrary;
    std::wstring m_helpFilePath;  // filled from the process's on first use
};

CUtilityApp& TheUtilityApp();
