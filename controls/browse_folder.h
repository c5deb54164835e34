// The shell's folder dialog (SHBrowseForFolderW). CBrowseFolderShell holds
// the dialog's parameters, runs it, turns the chosen item into a path and
// frees the shell's item list, and hands the dialog's notifications to two
// virtual operations; CBrowseForFolder opens it on a start folder and shows
// the current selection's path as the dialog's status text.
//
//   CBrowseForFolder browser(owner);
//   browser.SetPrompt(L"Choose the folder:");
//   browser.SetBrowseFlags(BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT);
//   browser.SetStartFolder(L"C:\\Projects");
//   if (browser.Browse()) use(browser.GetChosenPath());
//
// Settings change nothing while the dialog is open; requests to the dialog
// (SelectPath, ShowStatus) do nothing while it is not. Nothing is shown to
// the user on failure: the caller decides.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>

class CBrowseFolderShell {
public:
    CBrowseFolderShell(const CBrowseFolderShell&) = delete;
    CBrowseFolderShell& operator=(const CBrowseFolderShell&) = delete;
    virtual ~CBrowseFolderShell() = 0;

    void SetOwnerWindow(HWND owner);
    // The tree's root; the caller keeps the list alive.
    void SetRootFolder(LPCITEMIDLIST root);
    // The text above the tree; the caller keeps it alive.
    void SetPrompt(const wchar_t* prompt);
    // The prompt from a string resource, kept by the object; false (and the
    // prompt unchanged) for an id of 0 or less or a missing string.
    bool SetPrompt(int stringId);
    // BIF_ flags, stored unchanged.
    void SetBrowseFlags(UINT flags);

    // Asks the open dialog to select the folder with that path.
    void SelectPath(const wchar_t* path) const;
    // Sets the open dialog's status text (shown with BIF_STATUSTEXT).
    void ShowStatus(const wchar_t* text) const;

    // Runs the dialog; true when the user chose an item with a file-system path.
    bool Browse();
    // The chosen folder's full path after a successful Browse.
    std::wstring GetChosenPath() const { return m_path; }

protected:
    // promptId > 0: the prompt from that string resource.
    CBrowseFolderShell(HWND owner, LPCITEMIDLIST root, int promptId);

    // When the dialog has opened.
    virtual void OnDialogReady() {}
    // When the selection changed to the item list (the shell's, borrowed).
    virtual void OnSelectionChanged(LPCITEMIDLIST) {}

    HWND DialogWindow() const { return m_dialog; }

private:
    // The shell's callback, on the dialog's thread for every notification.
    static int CALLBACK Callback(HWND dialog, UINT notification, LPARAM parameter, LPARAM self);

    std::wstring m_promptCopy;
    BROWSEINFOW m_info{};
    wchar_t m_path[MAX_PATH] = {};
    HWND m_dialog = nullptr;
};

class CBrowseForFolder : public CBrowseFolderShell {
public:
    explicit CBrowseForFolder(HWND owner = nullptr, int promptId = 0);
    ~CBrowseForFolder() override;

    // The folder selected when the dialog opens (and shown as status text).
    void SetStartFolder(const std::wstring& folder) { m_startFolder = folder; }

protected:
    void OnDialogReady() override;
    void OnSelectionChanged(LPCITEMIDLIST item) override;

private:
    std::wstring m_startFolder;
};
