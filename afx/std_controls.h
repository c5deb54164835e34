// The framework's objects for the standard controls. They add nothing to
// CWnd yet but give each control kind its own type and message map, which
// owner-drawn and other derived controls chain to.
#pragma once

#include "afx/wnd.h"

class CButton : public CWnd {
public:
    const AFX_MSGMAP* GetMessageMap() const override { return GetThisMessageMap(); }
    static const AFX_MSGMAP* GetThisMessageMap() {
        static constexpr AFX_MSGMAP map{&CWnd::GetThisMessageMap, {}};
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
