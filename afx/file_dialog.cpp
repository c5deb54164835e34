#include "afx/file_dialog.h"

#include <algorithm>

#include "afx/exception_barrier.h"

namespace {
// Room for one full path; multiple selection is not offered.
constexpr std::size_t kFileBufferLength = 32768;
}  // namespace

CFileDialog::CFileDialog(bool openFileDialog, const wchar_t* defaultExtension, const wchar_t* fileName, DWORD flags,
                         const wchar_t* filter, CWnd* parent)
    : CDialog(0, parent), m_open(openFileDialog) {
    if (filter != nullptr) {
        m_filter = filter;
        std::replace(m_filter.begin(), m_filter.end(), L'|', L'\0');
    }
    if (defaultExtension != nullptr) m_defaultExtension = defaultExtension;
    m_file.assign(kFileBufferLength, L'\0');
    if (fileName != nullptr) m_file.replace(0, std::min(wcslen(fileName), kFileBufferLength - 1), fileName);
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.Flags = flags;
}

CFileDialog::~CFileDialog() = default;

INT_PTR CFileDialog::DoModal() {
    m_ofn.hwndOwner = GetSafeOwner(m_pParentWnd);
    m_ofn.lpstrFilter = m_filter.empty() ? nullptr : m_filter.c_str();
    m_ofn.lpstrFile = m_file.data();
    m_ofn.nMaxFile = static_cast<DWORD>(m_file.size());
    m_ofn.lpstrDefExt = m_defaultExtension.empty() ? nullptr : m_defaultExtension.c_str();
    m_ofn.Flags |= OFN_EXPLORER | OFN_ENABLEHOOK;
    m_ofn.lpfnHook = &CFileDialog::HookProc;
    m_ofn.lCustData = reinterpret_cast<LPARAM>(this);
    const BOOL chosen = m_open ? ::GetOpenFileNameW(&m_ofn) : ::GetSaveFileNameW(&m_ofn);
    if (m_hWnd != nullptr) Detach();  // the child is gone with the common dialog
    return chosen ? IDOK : IDCANCEL;
}

void CFileDialog::SetControlText(int id, const wchar_t* text) {
    if (m_hWnd != nullptr)
        ::SendMessageW(::GetParent(m_hWnd), CDM_SETCONTROLTEXT, static_cast<WPARAM>(id),
                       reinterpret_cast<LPARAM>(text));
}

UINT_PTR CALLBACK CFileDialog::HookProc(HWND child, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_INITDIALOG) return 0;  // the common dialog's own handling
    return AfxCallGuarded<UINT_PTR>(0, [&]() -> UINT_PTR {
        auto* self = reinterpret_cast<CFileDialog*>(reinterpret_cast<const OPENFILENAMEW*>(lParam)->lCustData);
        // From here on the child's messages reach the object's map.
        if (!self->SubclassWindow(child)) return 0;
        return static_cast<UINT_PTR>(self->OnInitDialog());
    });
}
