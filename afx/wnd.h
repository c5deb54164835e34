// CWnd: one C++ object per window, found from the handle through the
// handle map by the thread that owns the window, with the window's messages
// dispatched through the object's message map.
//
// A window gets its object either by being created through CreateEx (or a
// CDialog creation), which subclasses it before its first message, or by
// SubclassWindow on an existing window such as a dialog's control. Messages
// the map does not handle go to the window's previous procedure (Default).
// When the window is destroyed the object is detached and PostNcDestroy runs.
//
// Notifications a child sends its parent (WM_COMMAND, WM_NOTIFY,
// WM_DRAWITEM, WM_CTLCOLOR*) are offered to the child's object first, under
// the reflected ids of message_map.h.
#pragma once

#include <windows.h>

#include <string>

#include "afx/cmd_target.h"

class CDataExchange;

class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    // Destroys the window if the object still owns one; a window whose
    // destruction is refused is given back its own procedure and left
    // running without the object.
    //
    // An object with a window may be deleted only on its window's thread,
    // which may be dispatching one of the object's messages at any moment.
    // Deleting it on another thread stops the program at once (abort), with
    // a message naming both threads on stderr and the debugger's output,
    // instead of letting the window's thread go on with freed memory.
    ~CWnd() override;

    HWND m_hWnd = nullptr;

    // Stops the program as ~CWnd does when the object's window belongs to
    // another thread. A class that frees what its window draws with calls
    // it first in its destructor, before anything of it is gone.
    void CheckDeletionThread() const noexcept;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // The object attached to a window of the calling thread, or null.
    static CWnd* FromHandlePermanent(HWND hwnd);

    // Attach/Detach only bind the handle to the object; they do not route
    // messages (SubclassWindow does both). Both work on a window of the
    // calling thread only: Detach gives null, changing nothing, for another
    // thread's window. Detaching a subclassed window leaves our procedure in
    // its chain, passing every message on to the window's own.
    bool Attach(HWND hwnd);
    HWND Detach();

    // Routes an existing window's messages through this object.
    // PreSubclassWindow runs first; when it throws, the error goes on to the
    // caller and the object stays unattached. False if the window is
    // already taken (also by our procedure left in its chain) or belongs to
    // another thread.
    bool SubclassWindow(HWND hwnd);
    bool SubclassDlgItem(UINT id, CWnd* parent);
    // Gives the window back its own procedure when ours is still the
    // current one, then detaches. Under a procedure put on after ours, ours
    // stays and passes the messages on, so neither that procedure nor the
    // window's own is cut off.
    HWND UnsubclassWindow();

    // Creates a window whose messages reach this object from the first one.
    // False, creating nothing, when the object already has a window.
    bool CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* windowName, DWORD style, int x, int y,
                  int width, int height, HWND parent, HMENU menu = nullptr, void* param = nullptr);
    // False for no window or another thread's (which may not destroy it).
    virtual bool DestroyWindow();

    // Sends the message to every child window and their children in turn
    // (to none without a window).
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    // Transfers data between the controls and the object's members
    // (DoDataExchange); save true reads the controls. False when an
    // exchange failed (CDataExchange::Fail).
    bool UpdateData(bool saveAndValidate = true);

    // Called for every message of this window (or a child) taken from the
    // queue by the framework's loops before it is dispatched; true means the
    // message was handled and must not be dispatched.
    virtual BOOL PreTranslateMessage(MSG* msg);

    // Offers a queued message to PreTranslateMessage of every window object
    // from its target up to (and including) stop.
    static bool WalkPreTranslateTree(HWND stop, MSG* msg);

    // The window that should own a modal window or message box opened on
    // behalf of parent (or of the application when parent is null).
    static HWND GetSafeOwner(CWnd* parent = nullptr);

    // Thin wrappers over the window functions.
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    void SetWindowText(const std::wstring& text) { ::SetWindowTextW(m_hWnd, text.c_str()); }
    std::wstring GetWindowText() const;
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::PostMessageW(m_hWnd, message, wParam, lParam);
    }
    HMENU GetSystemMenu(BOOL revert) const { return ::GetSystemMenu(m_hWnd, revert); }
    HICON SetIcon(HICON icon, BOOL big);
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    void GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)); }
    void UpdateWindow() const { ::UpdateWindow(m_hWnd); }
    BOOL ShowWindow(int cmd) const { return ::ShowWindow(m_hWnd, cmd); }
    // Centres on the owner (or alternateOwner), or on the work area without one.
    void CenterWindow(HWND alternateOwner = nullptr);
    // A message box owned by this window; a null caption means the
    // application's name.
    int MessageBox(const std::wstring& text, const wchar_t* caption = nullptr, UINT type = MB_OK) const;

    const AFX_MSGMAP* GetMessageMap() const override;
    static const AFX_MSGMAP* GetThisMessageMap();

protected:
    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    friend LRESULT CALLBACK AfxCbtFilterHook(int, WPARAM, LPARAM);

    // Everything a window object receives; the map first, then Default.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Dispatches through the message map; false when nothing handled it.
    virtual bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // The previous window procedure (or DefWindowProc).
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Default processing of the message now being handled.
    LRESULT Default();

    // WM_COMMAND: reflection to the sending control, then the command chain.
    virtual bool OnCommand(WPARAM wParam, LPARAM lParam);
    // WM_NOTIFY: reflection to the sending control, then the map.
    virtual bool OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    // A notification this window sent its parent, reflected back to it;
    // true when a reflected handler consumed it.
    virtual bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Offers a notification to the child window's object.
    static bool ReflectChildNotify(HWND child, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    // Called just before the window is subclassed.
    virtual void PreSubclassWindow();
    // Called after the window is destroyed and detached; an object that
    // lives on the heap may delete itself here.
    virtual void PostNcDestroy();
    virtual void DoDataExchange(CDataExchange* dx);

private:
    friend bool AfxCheckCreated(CWnd*, HWND);
    bool AttachSubclassed(HWND hwnd);
    void FinishNcDestroy();

    WNDPROC m_pfnSuper = nullptr;
};

// The window procedure of every window with an object. Exceptions escaping a
// handler are reported here and the window goes on.
LRESULT CALLBACK AfxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Subclasses the next window the thread creates to wnd (used around
// CreateWindowEx and CreateDialogIndirectParam). Unhook returns whether the
// window was taken.
void AfxHookWindowCreate(CWnd* wnd);
bool AfxUnhookWindowCreate();
// Whether the window just created is the object's; one that was made but
// not attached to it is destroyed.
bool AfxCheckCreated(CWnd* wnd, HWND created);

// A window's whole text (empty for no window).
std::wstring AfxGetWindowText(HWND hwnd);

// Registers (once) and returns a window class with DefWindowProc as its
// procedure and the given style, cursor, background and icon.
const wchar_t* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                                   HICON icon = nullptr);
