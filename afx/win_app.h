// CWinApp: the one application object. Construct exactly one as a global;
// the process entry calls AfxWinMain, which gives it its instance and names
// (AfxWinInit) and runs InitInstance. When InitInstance returns false no
// message loop runs and ExitInstance's result is the exit code.
#pragma once

#include <windows.h>

#include <string>

#include "afx/module_state.h"
#include "afx/win_thread.h"

class CWinApp : public CWinThread {
public:
    // A null name means the executable's base name. Errors that reach the
    // framework's barrier are reported in AfxMessageBox from now on.
    explicit CWinApp(const wchar_t* appName = nullptr);
    ~CWinApp() override;

    const AFX_MSGMAP* GetMessageMap() const override;
    static const AFX_MSGMAP* GetThisMessageMap();

    // Start-up; true runs the message loop (Run), false ends the program.
    virtual BOOL InitInstance();
    // Shut-down; the result is the process's exit code: the code WM_QUIT
    // carried when the application's loop ended, else 0.
    virtual int ExitInstance();
    // The application's own message loop, for programs that keep running
    // after InitInstance; ends with WM_QUIT and returns ExitInstance's result.
    virtual int Run();

    // Makes HKEY_CURRENT_USER\Software\<key> the root of the application's
    // per-user settings.
    void SetRegistryKey(const wchar_t* key);
    const std::wstring& GetRegistryKey() const { return m_registryKey; }

    const std::wstring& GetAppName() const { return AfxGetAppName(); }
    // The executable's full path with its extension replaced by ".chm".
    const std::wstring& GetDefaultHelpFilePath() const { return m_helpFilePath; }

    HINSTANCE m_hInstance = nullptr;

private:
    friend bool AfxWinInit(HINSTANCE);
    void InitNames(HINSTANCE instance);

    std::wstring m_appName;
    std::wstring m_helpFilePath;
    std::wstring m_registryKey;
    int m_exitCode = 0;
};

CWinApp* AfxGetApp();

// A message box owned by the main window, captioned with the application's name.
int AfxMessageBox(const std::wstring& text, UINT type = MB_OK);

// Gives the application object its instance and its names (the executable's
// base name unless it has one). AfxWinMain does this first; a program that
// has its own entry (a test program) calls it itself. False without an
// application object.
bool AfxWinInit(HINSTANCE instance);

// The framework's main function: initialises the application object and
// runs it. Called by the process entry.
int AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int showCommand);
