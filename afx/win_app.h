// CWinApp: the one application object. Construct exactly one as a global;
// the process entry calls AfxWinMain, which fills in the instance and the
// application's names and runs InitInstance. When InitInstance returns
// false no message loop runs and ExitInstance's result is the exit code.
#pragma once

#include <windows.h>

#include <string>

#include "afx/cmd_target.h"

class CWnd;

class CWinApp : public CCmdTarget {
public:
    // A null name means the executable's base name.
    explicit CWinApp(const wchar_t* appName = nullptr);
    ~CWinApp() override;

    const AFX_MSGMAP* GetMessageMap() const override;
    static const AFX_MSGMAP* GetThisMessageMap();

    // Start-up; true runs the message loop (Run), false ends the program.
    virtual BOOL InitInstance();
    // Shut-down; the result is the process's exit code.
    virtual int ExitInstance();
    // The application's own message loop, for programs that keep running
    // after InitInstance.
    virtual int Run();

    // Makes HKEY_CURRENT_USER\Software\<key> the root of the application's
    // per-user settings.
    void SetRegistryKey(const wchar_t* key);
    const std::wstring& GetRegistryKey() const { return m_registryKey; }

    const std::wstring& GetAppName() const { return m_appName; }
    // The executable's full path with its extension replaced by ".chm".
    const std::wstring& GetDefaultHelpFilePath() const { return m_helpFilePath; }

    // n > 0 shows the hourglass, n < 0 takes one back, 0 shows it again
    // while any is outstanding.
    void DoWaitCursor(int n);
    bool IsWaitCursorShown() const { return m_waitCursorCount > 0; }

    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;

private:
    friend int AfxWinMain(HINSTANCE, HINSTANCE, LPWSTR, int);
    void InitNames(HINSTANCE instance);

    std::wstring m_appName;
    std::wstring m_helpFilePath;
    std::wstring m_registryKey;
    int m_waitCursorCount = 0;
    HCURSOR m_cursorBeforeWait = nullptr;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
// The module the framework loads resources from (the executable, unless set).
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE resources);

// A message box owned by the main window, captioned with the application's name.
int AfxMessageBox(const std::wstring& text, UINT type = MB_OK);

// The framework's main function: initialises the application object and
// runs it. Called by the process entry.
int AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int showCommand);
