#include "controls/browse_folder.h"

#include "afx/exception_barrier.h"
#include "afx/com_memory.h"
#include "afx/module_state.h"
#include "afx/shell.h"

CBrowseFolderShell::CBrowseFolderShell(HWND owner, LPCITEMIDLIST root, int promptId) {
    m_info.hwndOwner = owner;
    m_info.pidlRoot = root;
    m_info.pszDisplayName = m_path;
    m_info.lpfn = &CBrowseFolderShell::Callback;
    m_info.lParam = reinterpret_cast<LPARAM>(this);
    if (promptId > 0) SetPrompt(promptId);
}

CBrowseFolderShell::~CBrowseFolderShell() = default;

void CBrowseFolderShell::SetOwnerWindow(HWND owner) {
    if (m_dialog == nullptr) m_info.hwndOwner = owner;
}

void CBrowseFolderShell::SetRootFolder(LPCITEMIDLIST root) {
    if (m_dialog == nullptr) m_info.pidlRoot = root;
}

void CBrowseFolderShell::SetPrompt(const wchar_t* prompt) {
    if (m_dialog == nullptr) m_info.lpszTitle = prompt;
}

bool CBrowseFolderShell::SetPrompt(int stringId) {
    if (m_dialog != nullptr || stringId <= 0) return false;
    std::wstring text = AfxLoadString(static_cast<UINT>(stringId));
    if (text.empty()) return false;
    m_promptCopy = std::move(text);
    m_info.lpszTitle = m_promptCopy.c_str();
    return true;
}

void CBrowseFolderShell::SetBrowseFlags(UINT flags) {
    if (m_dialog == nullptr) m_info.ulFlags = flags;
}

void CBrowseFolderShell::SelectPath(const wchar_t* path) const {
    if (m_dialog != nullptr) ::SendMessageW(m_dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(path));
}

void CBrowseFolderShell::ShowStatus(const wchar_t* text) const {
    if (m_dialog != nullptr) ::SendMessageW(m_dialog, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(text));
}

bool CBrowseFolderShell::Browse() {
    bool chosen = false;
    // The dialog's tree and its new style are COM objects of the shell,
    // which need a single-threaded apartment on this thread.
    const AfxComApartment apartment;
    // The shell allocates the list with the COM task allocator; it is ours to free.
    if (const afx::unique_pidl item(AfxBrowseForFolder(&m_info)); item)
        chosen = ::SHGetPathFromIDListW(item.get(), m_path) != FALSE;
    m_dialog = nullptr;
    return chosen;
}

int CALLBACK CBrowseFolderShell::Callback(HWND dialog, UINT notification, LPARAM parameter, LPARAM self) {
    return AfxCallGuarded(0, [&] {
        auto* browser = reinterpret_cast<CBrowseFolderShell*>(self);
        browser->m_dialog = dialog;
        if (notification == BFFM_INITIALIZED) browser->OnDialogReady();
        if (notification == BFFM_SELCHANGED) browser->OnSelectionChanged(reinterpret_cast<LPCITEMIDLIST>(parameter));
        return 0;
    });
}

CBrowseForFolder::CBrowseForFolder(HWND owner, int promptId) : CBrowseFolderShell(owner, nullptr, promptId) {}

CBrowseForFolder::~CBrowseForFolder() = default;

void CBrowseForFolder::OnDialogReady() {
    SelectPath(m_startFolder.c_str());
    ShowStatus(m_startFolder.c_str());
}

void CBrowseForFolder::OnSelectionChanged(LPCITEMIDLIST item) {
    wchar_t path[MAX_PATH] = {};
    if (!::SHGetPathFromIDListW(item, path)) path[0] = L'\0';
    ShowStatus(path);
}
