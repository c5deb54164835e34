// The root of everything that receives commands and messages through a
// message map: windows, dialogs and the application object.
#pragma once

#include <windows.h>

#include "afx/message_map.h"

class CCmdTarget {
public:
    CCmdTarget() = default;
    virtual ~CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;

    // The class's message map, chained to its base's.
    virtual const AFX_MSGMAP* GetMessageMap() const;
    static const AFX_MSGMAP* GetThisMessageMap();

    // Calls this object's handler for a command (WM_COMMAND with a command or
    // control id and a notification code). Returns whether one handled it.
    // Windows override it to route unhandled commands further.
    virtual bool OnCmdMsg(UINT id, UINT code);

    // The hourglass while a long operation runs; calls nest (AfxDoWaitCursor).
    void BeginWaitCursor();
    void EndWaitCursor();

protected:
    // The first entry in the map chain, most derived class first, that
    // matches. Commands and reflected notifications also match on code and
    // id (an entry id of 0 matches any id for reflected notifications).
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT message, UINT code, UINT id) const;
};
