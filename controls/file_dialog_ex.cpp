#include "controls/file_dialog_ex.h"

#include <commctrl.h>

#include <cwctype>
#include <iterator>

#include "afx/exception_barrier.h"

namespace {

// The common dialog's "Look in" label (stc1) and its list of drives and folders (cmb2).
constexpr int kLookInLabelId = 0x440;
constexpr int kLookInListId = 0x471;
constexpr wchar_t kListViewClass[] = L"syslistview32";
constexpr int kTextLength = 250;

bool IsListView(HWND window) {
    wchar_t name[kTextLength] = {};
    ::GetClassNameW(window, name, kTextLength);
    for (wchar_t& c : name) c = static_cast<wchar_t>(std::towlower(c));
    return std::wcscmp(name, kListViewClass) == 0;
}

// Deletes every item of the list whose text is a folder, in one pass.
void RemoveFolderItems(HWND list) {
    int count = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int index = 0; index < count;) {
        wchar_t text[kTextLength] = {};
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = index;
        item.pszText = text;
        item.cchTextMax = kTextLength;
        ::SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        const DWORD attributes = ::GetFileAttributesW(text);
        // Nothing of that name here (a display name without its extension,
        // say): kept, since its kind is unknown.
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            ::SendMessageW(list, LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
            --count;  // the next item has moved into this place
        } else {
            ++index;
        }
    }
}

}  // namespace

CFileDialogEx::~CFileDialogEx() = default;  // the hook goes with m_hook

BOOL CFileDialogEx::OnInitDialog() {
    if (m_folderFilter) {
        ::EnumChildWindows(::GetParent(m_hWnd), &CFileDialogEx::DisableNavigationControl, 0);
        // A second run of the same object replaces its hook, never adds one.
        m_hook.reset(
            ::SetWindowsHookExW(WH_CALLWNDPROC, &CFileDialogEx::FolderFilterHook, nullptr, ::GetCurrentThreadId()));
    }
    CFileDialog::OnInitDialog();
    SetControlText(IDOK, m_okCaption.c_str());
    return TRUE;
}

BOOL CALLBACK CFileDialogEx::DisableNavigationControl(HWND child, LPARAM) {
    AfxCallGuarded([&] {
        const int id = ::GetDlgCtrlID(child);
        if (id == kLookInLabelId || id == kLookInListId) ::EnableWindow(child, FALSE);
    });
    return TRUE;  // on to every other child
}

LRESULT CALLBACK CFileDialogEx::FolderFilterHook(int code, WPARAM wParam, LPARAM lParam) {
    AfxCallGuarded([&] {
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && message != nullptr &&
            (message->message == WM_NCPAINT || message->message == LVM_GETSELECTEDCOUNT) && IsListView(message->hwnd))
            RemoveFolderItems(message->hwnd);
    });
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
