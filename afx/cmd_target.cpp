#include "afx/cmd_target.h"

#include "afx/wait_cursor.h"

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static constexpr AFX_MSGMAP map{nullptr, {}};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT message, UINT code, UINT id) const {
    const bool matchesCode = message == WM_COMMAND || message == WM_NOTIFY || message >= WM_REFLECT_BASE;
    for (const AFX_MSGMAP* map = GetMessageMap(); map != nullptr;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY& entry : map->entries) {
            if (entry.message != message) continue;
            if (!matchesCode) return &entry;
            const bool reflected = message >= WM_REFLECT_BASE;
            if (entry.code == code && (entry.id == id || (reflected && entry.id == 0))) return &entry;
        }
    }
    return nullptr;
}

bool CCmdTarget::OnCmdMsg(UINT id, UINT code) {
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(WM_COMMAND, code, id);
    if (entry == nullptr) return false;
    LRESULT ignored = 0;
    return entry->thunk(*this, MAKEWPARAM(id, code), 0, ignored);
}

void CCmdTarget::BeginWaitCursor() { AfxDoWaitCursor(1); }

void CCmdTarget::EndWaitCursor() { AfxDoWaitCursor(-1); }
