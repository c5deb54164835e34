// The framework's objects for the standard controls. Each control kind has
// its own type and message map, which owner-drawn and other derived
// controls chain to.
#pragma once

#include "afx/message_map.h"
#include "afx/wnd.h"

class CButton : public CWnd {
public:
    // An owner-drawn button's drawing, called for the WM_DRAWITEM the
    // button sends its parent (reflected back to it). The DC in the record
    // is borrowed. Plain buttons never get it; the base draws nothing.
    virtual void DrawItem(LPDRAWITEMSTRUCT) {}

    UINT GetState() const { return static_cast<UINT>(SendMessage(BM_GETSTATE)); }
    void SetState(bool highlight) { SendMessage(BM_SETSTATE, highlight); }
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int check) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(check)); }

    const AFX_MSGMAP* GetMessageMap() const override { return GetThisMessageMap(); }
    static const AFX_MSGMAP* GetThisMessageMap() {
        static constexpr AFX_MSGMAP_ENTRY entries[] = {
            afx::OnReflectedDrawItem<&CButton::DrawItem>(),
        };
        static constexpr AFX_MSGMAP map{&CWnd::GetThisMessageMap, entries};
        return &map;
    }
};

class CStatic : public CWnd {
public:
    const AFX_MSGMAP* GetMessageMap() const override { return GetThisMessageMap(); }
    static const AFX_MSGMAP* GetThisMessageMap() {
        static constexpr AFX_MSGMAP map{&CWnd::GetThisMessageMap, {}};
        return &map;
    }
};
