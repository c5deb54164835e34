// The main window: a modal dialog with a menu, OK and Help buttons, and an
// About item in its system menu. Its initialisation shows the companion
// library's start-up message while the start-up work runs.
#pragma once

#include <string>

#include "afx/dialog.h"
#include "afx/handles.h"
#include "afx/std_controls.h"
#include "version/start_deadline.h"

// The program's name as the user sees it: the main dialog's caption, the
// About items and the start-up message's title.
inline constexpr wchar_t kDisplayName[] = L"Vornix Utility";

class CUtilityDlg : public CDialog {
public:
    // companionLibrary: the loaded companion dialog library, or null; it
    // shows the start-up message while the dialog initialises. started: the
    // program's start, from which the update check's deadline is counted.
    CUtilityDlg(HMODULE companionLibrary, StartClock::time_point started);
    ~CUtilityDlg() override;

    // The help file the dialog's help commands open.
    void SetHelpFilePath(std::wstring path) { m_helpFilePath = std::move(path); }

    const AFX_MSGMAP* GetMessageMap() const override;
    static const AFX_MSGMAP* GetThisMessageMap();

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

    // When a system-menu command is chosen: the About item, else the default.
    void OnSysCommand(UINT id, LPARAM lParam);
    // When the dialog needs painting: the icon while minimised.
    void OnPaint();
    // When the user drags the minimised dialog: the cursor to show.
    HCURSOR OnQueryDragIcon();
    // When "Exit" is chosen in the File menu.
    void OnFileExit();
    // When "About Vornix Utility..." is chosen in the Help menu.
    void OnHelpAbout();
    // When "Help..." is chosen in the Help menu: the help file's contents.
    void OnHelpContents();
    // When the "Help..." button is pressed: the main dialog's help page.
    void OnHelpButton();

private:
    // Appends the separator and the About item to the system menu.
    void AddAboutToSystemMenu();

    HMODULE m_companionLibrary;
    StartClock::time_point m_started;
    std::wstring m_helpFilePath;
    CButton m_okButton;
    afx::unique_hicon m_icon;
};
