#include "afx/dialog.h"

#include <utility>

#include "afx/dialog_template_data.h"
#include "afx/dpi.h"
#include "afx/exception_barrier.h"
#include "afx/occ_manager.h"
#include "afx/win_app.h"

namespace {

// Everything reaches the dialog's object through AfxWndProc, which sits in
// front of the dialog manager's own procedure; the dialog procedure itself
// therefore leaves every message to the dialog manager's defaults.
INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// Restores the owner's state when a modal dialog ends, however it ends.
class OwnerDisabler {
public:
    explicit OwnerDisabler(HWND owner) : m_owner(owner) {
        if (m_owner != nullptr && ::IsWindowEnabled(m_owner)) {
            ::EnableWindow(m_owner, FALSE);
            m_disabled = true;
        }
    }
    ~OwnerDisabler() {
        if (m_disabled) ::EnableWindow(m_owner, TRUE);
    }
    OwnerDisabler(const OwnerDisabler&) = delete;
    OwnerDisabler& operator=(const OwnerDisabler&) = delete;

private:
    HWND m_owner;
    bool m_disabled = false;
};

struct TemplateResource {
    const DLGTEMPLATE* bytes = nullptr;
    std::size_t size = 0;
};

TemplateResource FindDialogTemplate(HINSTANCE resources, UINT templateId) {
    HRSRC resource = ::FindResourceW(resources, MAKEINTRESOURCEW(templateId), MAKEINTRESOURCEW(5) /* RT_DIALOG */);
    HGLOBAL loaded = resource != nullptr ? ::LoadResource(resources, resource) : nullptr;
    if (loaded == nullptr) return {};
    return {static_cast<const DLGTEMPLATE*>(::LockResource(loaded)), ::SizeofResource(resources, resource)};
}

}  // namespace

CDialog::CDialog(UINT templateId, CWnd* parent) : m_templateId(templateId), m_pParentWnd(parent) {}

CDialog::~CDialog() { CheckDeletionThread(); }

const AFX_MSGMAP* CDialog::GetThisMessageMap() {
    static constexpr AFX_MSGMAP_ENTRY entries[] = {
        afx::OnCommand<IDOK, &CDialog::OnOK>(),
        afx::OnCommand<IDCANCEL, &CDialog::OnCancel>(),
        afx::OnWmHelpInfo<&CDialog::OnHelpInfo>(),
        afx::OnMessage<WM_DPICHANGED, &CDialog::OnDpiChanged>(),
        afx::OnMessage<afx::kWmDpiChangedAfterParent, &CDialog::OnDpiChangedAfterParent>(),
    };
    static constexpr AFX_MSGMAP map{&CWnd::GetThisMessageMap, entries};
    return &map;
}

const AFX_MSGMAP* CDialog::GetMessageMap() const { return GetThisMessageMap(); }

INT_PTR CDialog::DoModal() {
    // An object whose dialog is already up (modal or modeless) keeps it: a
    // second run would end by destroying the window the first one runs.
    if (m_hWnd != nullptr) return -1;
    HINSTANCE resources = AfxGetResourceHandle();
    const TemplateResource found = FindDialogTemplate(resources, m_templateId);
    if (found.bytes == nullptr) return -1;

    HWND owner = GetSafeOwner(m_pParentWnd);
    m_nModalResult = -1;
    // Set before the window exists: EndDialog may already be called while
    // the dialog initialises (from OnInitDialog, or from a message that a
    // message box's loop dispatches then), and the loop must not start then.
    m_continueModal = true;
    {
        OwnerDisabler disabler(owner);
        if (CreateIndirect(found.bytes, found.size, m_pParentWnd, resources)) RunModalLoop();
    }
    m_continueModal = false;
    if (m_hWnd != nullptr) {
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
        if (owner != nullptr) ::SetActiveWindow(owner);
        DestroyWindow();
    }
    return m_nModalResult;
}

bool CDialog::Create(UINT templateId, CWnd* parent, HINSTANCE resources) {
    m_templateId = templateId;
    m_pParentWnd = parent;
    if (resources == nullptr) resources = AfxGetResourceHandle();
    const TemplateResource found = FindDialogTemplate(resources, templateId);
    return found.bytes != nullptr && CreateIndirect(found.bytes, found.size, parent, resources);
}

bool CDialog::CreateIndirect(const DLGTEMPLATE* dialogTemplate, std::size_t templateSize, CWnd* parent,
                             HINSTANCE resources) {
    if (m_hWnd != nullptr) return false;
    OccDialogInfo info;
    info.templateSize = templateSize;
    const DLGTEMPLATE* used = dialogTemplate;
    COccManager* manager = AfxGetOccManager();
    if (manager != nullptr) {
        used = manager->PreCreateDialog(&info, dialogTemplate);
        if (used == nullptr) return false;
    }
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(used);
    const std::size_t usedSize =
        manager != nullptr && !info.revisedTemplate.empty() ? info.revisedTemplate.size() : templateSize;
    m_centerOnInit = usedSize != 0 && afx::dlgtemplate::IsUnplaced({bytes, usedSize});
    HWND parentHwnd = parent != nullptr ? parent->m_hWnd : GetSafeOwner(nullptr);
    AfxHookWindowCreate(this);
    HWND hwnd = ::CreateDialogIndirectParamW(resources, used, parentHwnd, &AfxDlgProc, 0);
    AfxUnhookWindowCreate();
    if (manager != nullptr) manager->PostCreateDialog(&info);
    return AfxCheckCreated(this, hwnd);
}

void CDialog::RunModalLoop() {
    if (m_continueModal && !(GetStyle() & WS_VISIBLE)) ShowWindow(SW_SHOWNORMAL);
    MSG msg{};
    while (m_continueModal) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1) break;
        if (got == 0) {
            // Leave WM_QUIT for whoever runs the loop outside this dialog.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (!WalkPreTranslateTree(m_hWnd, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    m_continueModal = false;
}

void CDialog::EndDialog(int result) {
    m_nModalResult = result;
    if (m_continueModal) {
        m_continueModal = false;
        PostMessage(WM_NULL);  // wake the loop if it is waiting
    }
    if (m_hWnd != nullptr) ::EndDialog(m_hWnd, result);
}

BOOL CDialog::OnInitDialog() {
    UpdateData(false);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(true)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::PreTranslateMessage(MSG* msg) {
    // Keyboard navigation: Tab, arrows, Enter, Escape and mnemonics.
    return m_hWnd != nullptr && ::IsDialogMessageW(m_hWnd, msg);
}

bool CDialog::OnCmdMsg(UINT id, UINT code) {
    if (CWnd::OnCmdMsg(id, code)) return true;
    // Commands the dialog does not handle go on to the application object.
    CWinApp* app = AfxGetApp();
    return app != nullptr && app->OnCmdMsg(id, code);
}

bool CDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_INITDIALOG) {
        m_dpi = afx::GetWindowDpi(m_hWnd);
        CenterIfUnplaced();
        // Answered here rather than through the dialog procedure so that an
        // error raised by OnInitDialog reaches AfxWndProc's barrier without
        // crossing the dialog manager.
        *result = OnInitDialog();
        return true;
    }
    if (message == WM_NCDESTROY) {
        // A dialog run again on this object starts as a new one would.
        afx::SetWindowDpi(m_hWnd, 0);
        m_dpi = 0;
        m_scaledFont.reset();
    }
    return CWnd::OnWndMsg(message, wParam, lParam, result);
}

void CDialog::CenterIfUnplaced() {
    if (m_centerOnInit && !(GetStyle() & WS_CHILD)) CenterWindow();
}

void CDialog::PostNcDestroy() { m_continueModal = false; }

BOOL CDialog::OnHelpInfo(HELPINFO*) {
    SendMessage(WM_COMMAND, ID_HELP);
    return TRUE;
}

LRESULT CDialog::OnDpiChanged(WPARAM dpi, LPARAM suggested) {
    const UINT newDpi = LOWORD(dpi);
    if (newDpi == 0) return 0;
    afx::SetWindowDpi(m_hWnd, newDpi);
    FollowDpi(newDpi);
    if (const auto* place = reinterpret_cast<const RECT*>(suggested); place != nullptr)
        ::SetWindowPos(m_hWnd, nullptr, place->left, place->top, place->right - place->left, place->bottom - place->top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageToDescendants(afx::kWmDpiChangedAfterParent);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return 0;
}

LRESULT CDialog::OnDpiChangedAfterParent(WPARAM, LPARAM) {
    FollowDpi(afx::GetWindowDpi(m_hWnd));
    return Default();
}

void CDialog::FollowDpi(UINT newDpi) {
    if (newDpi != m_dpi && m_dpi != 0) ScaleControls(m_dpi, newDpi);
    m_dpi = newDpi;
}

void CDialog::ScaleControls(UINT oldDpi, UINT newDpi) {
    const auto scale = [&](LONG value) { return ::MulDiv(value, static_cast<int>(newDpi), static_cast<int>(oldDpi)); };
    const HFONT shared = m_scaledFont ? m_scaledFont.get() : reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    LOGFONTW description{};
    afx::unique_hfont scaled;
    if (shared != nullptr && ::GetObjectW(shared, sizeof(description), &description) != 0) {
        description.lfHeight = scale(description.lfHeight);
        scaled.reset(::CreateFontIndirectW(&description));
    }
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        RECT place{};
        ::GetWindowRect(child, &place);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&place), 2);
        if (place.left > place.right) std::swap(place.left, place.right);  // mapped into a mirrored dialog
        ::SetWindowPos(child, nullptr, scale(place.left), scale(place.top), scale(place.right - place.left),
                       scale(place.bottom - place.top), SWP_NOZORDER | SWP_NOACTIVATE);
        if (scaled && reinterpret_cast<HFONT>(::SendMessageW(child, WM_GETFONT, 0, 0)) == shared)
            ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(scaled.get()), FALSE);
    }
    // The font the controls had is no longer used by any of them.
    if (scaled) m_scaledFont = std::move(scaled);
}
