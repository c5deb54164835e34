// CToolTipCtrl: the common controls' tooltip window, owned by its object
// (destroyed with it). The tools it shows belong to windows of the caller.
#pragma once

#include <windows.h>

#include <string>

#include "afx/wnd.h"

class CToolTipCtrl : public CWnd {
public:
    // Creates the tooltip window (a pop-up owned by parent) with the extra
    // style bits given. False when the object already has a window or the
    // window could not be made.
    bool Create(CWnd* parent, DWORD style = 0);

    // Shows tips (true) or keeps them hidden (false).
    void Activate(bool activate);
    // Adds a tool for window's rectangle (client coordinates) with the given
    // text and id; false when the control refused it.
    bool AddTool(CWnd* window, const wchar_t* text, const RECT& rect, UINT_PTR toolId);
    // Changes the text of window's tool toolId.
    void UpdateTipText(const wchar_t* text, CWnd* window, UINT_PTR toolId);
    // Moves window's tool toolId to rect (client coordinates).
    void SetToolRect(CWnd* window, UINT_PTR toolId, const RECT& rect);
    // Moves window's tool toolId to cover window's whole client area, as
    // after the window's size changed; nothing before the tooltip's window
    // is made.
    void FitToolToClient(CWnd* window, UINT_PTR toolId);
    // The text of window's tool toolId (empty when there is none, or no
    // tooltip window yet).
    std::wstring GetText(CWnd* window, UINT_PTR toolId) const;
    int GetToolCount() const;
    // Hands a mouse message of a tool's window to the tooltip, which decides
    // from them when to show and hide the tip.
    void RelayEvent(MSG* msg);
    // Widest tip in pixels before the text wraps.
    void SetMaxTipWidth(int width);
};
