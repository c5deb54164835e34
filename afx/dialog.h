// CDialog: a dialog box built from a dialog template resource, run modally
// with the framework's own loop (so PreTranslateMessage sees every queued
// message) or created modeless.
//
// Every template passes through the installed control-container manager
// (AfxEnableControlContainer) just before the dialog is created, which may
// revise it.
#pragma once

#include <windows.h>

#include "afx/handles.h"
#include "afx/wnd.h"

// The framework's Help command, sent when the user asks for help (F1) in a
// dialog; routed on to the application when the dialog does not handle it.
inline constexpr UINT ID_HELP = 0xE146;

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    // Creates the dialog, runs it until EndDialog and destroys it. Returns
    // the EndDialog result, or -1 when the dialog could not be created or
    // the object's dialog is already running.
    virtual INT_PTR DoModal();

    // Creates the dialog modeless from a template in the given module
    // (the application's resources when null).
    bool Create(UINT templateId, CWnd* parent = nullptr, HINSTANCE resources = nullptr);
    bool CreateIndirect(const DLGTEMPLATE* dialogTemplate, std::size_t templateSize, CWnd* parent, HINSTANCE resources);

    // Ends the modal loop with the given result.
    void EndDialog(int result);

    // WM_INITDIALOG: transfers the members to the controls. True lets the
    // dialog manager set the focus.
    virtual BOOL OnInitDialog();
    // IDOK: reads the controls back and ends the dialog with IDOK.
    virtual void OnOK();
    // IDCANCEL (Escape, close box): ends the dialog with IDCANCEL.
    virtual void OnCancel();

    BOOL PreTranslateMessage(MSG* msg) override;
    bool OnCmdMsg(UINT id, UINT code) override;

    const AFX_MSGMAP* GetMessageMap() const override;
    static const AFX_MSGMAP* GetThisMessageMap();

protected:
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void PostNcDestroy() override;

    // When the user presses F1 in the dialog: sends the Help command.
    BOOL OnHelpInfo(HELPINFO* info);
    // When the dialog is told it is drawn at another DPI (wParam's low word;
    // moved to a monitor of another scale): it takes the rectangle the system
    // suggests (lParam), its controls' places and their shared font scale by
    // the same ratio, and each control is then sent
    // WM_DPICHANGED_AFTERPARENT to follow with fonts and images of its own.
    LRESULT OnDpiChanged(WPARAM dpi, LPARAM suggested);
    // When the top-level window's DPI has changed and this dialog is a
    // child of it: its own controls' places and shared font follow, as a
    // top-level dialog's do. Told twice (by the system and by the top-level
    // dialog), it scales once.
    LRESULT OnDpiChangedAfterParent(WPARAM, LPARAM);

    UINT m_templateId;
    CWnd* m_pParentWnd;

private:
    void RunModalLoop();
    // A top-level dialog whose template leaves it at the origin is centred
    // on its owner (or the screen), as users expect of a dialog box.
    void CenterIfUnplaced();
    // Moves and sizes the controls by newDpi / oldDpi and gives those that
    // use the dialog's font a copy of it scaled alike.
    void ScaleControls(UINT oldDpi, UINT newDpi);
    // Scales the controls from the DPI they are laid out for (m_dpi) to
    // newDpi and records it; nothing for the same DPI or before the dialog
    // initialised.
    void FollowDpi(UINT newDpi);

    INT_PTR m_nModalResult = -1;
    bool m_continueModal = false;
    bool m_centerOnInit = false;
    // The controls' font at the DPI the dialog was last told (the dialog
    // manager keeps and deletes the template's own).
    afx::unique_hfont m_scaledFont;
    // The DPI the controls are laid out for, recorded when the dialog
    // initialises: Windows 10 already answers the new DPI for the window
    // when it tells of the change.
    UINT m_dpi = 0;
};
