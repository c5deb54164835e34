#include "gallery/gallery_dlg.h"

#include "afx/data_exchange.h"
#include "afx/dc.h"
#include "afx/dpi.h"
#include "controls/browse_folder.h"
#include "controls/file_dialog_ex.h"
#include "gallery/gallery_resource.h"

namespace {

constexpr COLORREF kPanelColors[] = {RGB(0, 120, 140), RGB(250, 200, 60)};
constexpr int kStripeWidth = 8;
constexpr COLORREF kBlueFace = RGB(200, 220, 255), kBlueCaption = RGB(0, 40, 140);
constexpr COLORREF kBitmapTransparent = RGB(255, 0, 255);

// Where the folder browser and the file dialogs start: the Windows folder,
// which has both files and sub-folders, so the folder filter shows.
std::wstring StartFolder() {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = ::GetWindowsDirectoryW(folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? folder : L"C:\\";
}

}  // namespace

CGalleryDlg::CGalleryDlg() : CDialog(IDD_GALLERY, nullptr) {
    // Links read their configuration when they are attached.
    m_mailLink.SetTarget(kGalleryMailTarget);
    m_missingLink.SetTarget(kGalleryMissingTarget);
    m_visitedLink.SetTarget(kGalleryLinkTarget);
}

CGalleryDlg::~CGalleryDlg() = default;

const AFX_MSGMAP* CGalleryDlg::GetThisMessageMap() {
    static constexpr AFX_MSGMAP_ENTRY entries[] = {
        afx::OnWmPaint<&CGalleryDlg::OnPaint>(),
        afx::OnMessage<WM_DPICHANGED, &CGalleryDlg::OnDpiChanged>(),
        afx::OnControl<BN_CLICKED, IDC_BUTTON_STANDARD, &CGalleryDlg::OnStandard>(),
        afx::OnControl<BN_CLICKED, IDC_BUTTON_CHECKBOX, &CGalleryDlg::OnCheckBox>(),
        afx::OnControl<BN_CLICKED, IDC_BUTTON_LINK, &CGalleryDlg::OnLink>(),
        afx::OnControl<BN_CLICKED, IDC_BROWSE_FOLDER, &CGalleryDlg::OnBrowseFolder>(),
        afx::OnControl<BN_CLICKED, IDC_FILE_OPEN, &CGalleryDlg::OnFileOpen>(),
        afx::OnControl<BN_CLICKED, IDC_FILE_OPEN_FILES_ONLY, &CGalleryDlg::OnFileOpenFilesOnly>(),
        afx::OnCommand<ID_GALLERY_MENU_OPEN, &CGalleryDlg::OnMenuOpen>(),
        afx::OnCommand<ID_GALLERY_MENU_SAVE, &CGalleryDlg::OnMenuSave>(),
        afx::OnCommand<ID_GALLERY_MENU_PROPERTIES, &CGalleryDlg::OnMenuProperties>(),
    };
    static constexpr AFX_MSGMAP map{&CDialog::GetThisMessageMap, entries};
    return &map;
}

const AFX_MSGMAP* CGalleryDlg::GetMessageMap() const { return GetThisMessageMap(); }

void CGalleryDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_BUTTON_STANDARD, m_standard);
    DDX_Control(dx, IDC_BUTTON_FLAT, m_flat);
    DDX_Control(dx, IDC_BUTTON_ICON_ONLY, m_iconOnly);
    DDX_Control(dx, IDC_BUTTON_ICON_BESIDE, m_iconBeside);
    DDX_Control(dx, IDC_BUTTON_ICON_ABOVE, m_iconAbove);
    DDX_Control(dx, IDC_BUTTON_HOT_NORMAL, m_hotNormal);
    DDX_Control(dx, IDC_BUTTON_GRAYSCALE, m_grayscale);
    DDX_Control(dx, IDC_BUTTON_DARKER, m_darker);
    DDX_Control(dx, IDC_BUTTON_BITMAP, m_bitmap);
    DDX_Control(dx, IDC_BUTTON_CHECKBOX, m_checkBox);
    DDX_Control(dx, IDC_BUTTON_DISABLED, m_disabled);
    DDX_Control(dx, IDC_BUTTON_TOOLTIP, m_tooltip);
    DDX_Control(dx, IDC_BUTTON_TRANSPARENT, m_transparent);
    DDX_Control(dx, IDC_BUTTON_MENU, m_menu);
    DDX_Control(dx, IDC_BUTTON_LINK, m_link);
    DDX_Control(dx, IDC_BUTTON_CURSOR_SOUND, m_cursorSound);
    DDX_Control(dx, IDC_LINK_WEB, m_webLink);
    DDX_Control(dx, IDC_LINK_MAIL, m_mailLink);
    DDX_Control(dx, IDC_LINK_MISSING, m_missingLink);
    DDX_Control(dx, IDC_LINK_VISITED, m_visitedLink);
    DDX_Control(dx, IDC_THEMED_STANDARD, m_themedStandard);
    DDX_Control(dx, IDC_THEMED_FLAT, m_themedFlat);
    DDX_Control(dx, IDC_THEMED_CHECKBOX, m_themedCheckBox);
    DDX_Control(dx, IDC_THEMED_DEFAULT, m_themedDefault);
    DDX_Control(dx, IDC_THEMED_DISABLED, m_themedDisabled);
}

BOOL CGalleryDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    m_standard.SetFlatStyle(false);
    m_flat.SetTooltip(L"Flat: framed only while the pointer is over it");
    m_iconOnly.SetIcons(IDI_GALLERY_HOT, 0);
    m_iconOnly.SetTooltip(L"An icon-only button");  // also its name to a screen reader
    m_iconBeside.SetIcons(IDI_GALLERY_HOT, 0);
    m_iconAbove.SetIcons(IDI_GALLERY_HOT, 0);
    m_iconAbove.SetAlign(CButtonST::kImageAbove);
    m_hotNormal.SetIcons(IDI_GALLERY_HOT, IDI_GALLERY_NORMAL);
    m_hotNormal.SetAlign(CButtonST::kImageAbove);
    m_grayscale.SetIcons(IDI_GALLERY_HOT, CButtonST::kGrayscaleNormal);
    m_grayscale.SetAlign(CButtonST::kImageAbove);
    m_darker.SetIcons(IDI_GALLERY_HOT, CButtonST::kDarkerNormal);
    m_darker.SetAlign(CButtonST::kImageAbove);
    ShowPictureFor(afx::GetWindowDpi(m_hWnd));
    m_checkBox.SetIcons(IDI_GALLERY_HOT, IDI_GALLERY_NORMAL);
    m_checkBox.SetFlatStyle(false);
    m_disabled.SetIcons(IDI_GALLERY_HOT, 0);
    m_disabled.SetFlatStyle(false);
    m_tooltip.SetColor(CButtonST::kFaceNormal, kBlueFace);
    m_tooltip.SetColor(CButtonST::kCaptionNormal, kBlueCaption);
    m_tooltip.SetTooltip(L"The owner-drawn button's tooltip");
    m_menu.SetMenu(static_cast<WORD>(IDR_GALLERY_MENU), m_hWnd);
    m_menu.SetAlign(CButtonST::kImageRight);
    m_link.SetLinkTarget(kGalleryLinkTarget);
    m_link.SetTooltip(kGalleryLinkTarget);
    m_cursorSound.SetBtnCursor(static_cast<WORD>(IDC_GALLERY_TARGET));
    m_cursorSound.SetSound(CButtonST::kHoverSound, L"SystemAsterisk", nullptr, SND_ALIAS | SND_ASYNC | SND_NODEFAULT);
    m_cursorSound.SetSound(CButtonST::kClickSound, L"SystemExclamation", nullptr,
                           SND_ALIAS | SND_ASYNC | SND_NODEFAULT);
    m_visitedLink.MarkVisited(true);
    for (CButtonST* themed : {&m_themedStandard, &m_themedFlat, &m_themedCheckBox, &m_themedDefault, &m_themedDisabled})
        themed->SetThemedLook(true);
    for (CButtonST* standard : {&m_themedStandard, &m_themedCheckBox, &m_themedDefault, &m_themedDisabled})
        standard->SetFlatStyle(false);
    // The transparent button is switched to transparent once the panel
    // behind it has been painted (OnPaint): it copies what is there once.
    return TRUE;
}

void CGalleryDlg::OnPaint() {
    CPaintDC paint(m_hWnd);
    RECT panel{};
    ::GetWindowRect(GetDlgItem(IDC_TRANSPARENT_PANEL), &panel);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&panel), 2);
    // Diagonal stripes, so a face that shows them is plainly see-through.
    const CDC dc(paint.m_hDC);
    const afx::unique_hrgn clip(::CreateRectRgnIndirect(&panel));
    ::SelectClipRgn(dc, clip.get());
    const LONG height = panel.bottom - panel.top;
    for (LONG x = panel.left - height, stripe = 0; x < panel.right; x += kStripeWidth, ++stripe) {
        const POINT band[] = {{x, panel.bottom},
                              {x + height, panel.top},
                              {x + height + kStripeWidth, panel.top},
                              {x + kStripeWidth, panel.bottom}};
        const afx::unique_hbrush brush(::CreateSolidBrush(kPanelColors[stripe % 2]));
        const afx::unique_hrgn region(::CreatePolygonRgn(band, 4, WINDING));
        ::FillRgn(dc, region.get(), brush.get());
    }
    ::SelectClipRgn(dc, nullptr);
    if (!m_panelPainted) {
        m_panelPainted = true;
        m_transparent.SetDrawTransparent(true, true);
    }
}

LRESULT CGalleryDlg::OnDpiChanged(WPARAM dpi, LPARAM suggested) {
    const LRESULT result = CDialog::OnDpiChanged(dpi, suggested);
    ShowPictureFor(LOWORD(dpi));
    return result;
}

void CGalleryDlg::ShowPictureFor(UINT dpi) {
    // Drawn for 100, 150 and 200 %; a scale between two takes the larger
    // picture (a bitmap is shown at its own size, never scaled).
    constexpr UINT kDpi150 = afx::kDefaultDpi * 3 / 2;
    const WORD picture = dpi > kDpi150            ? IDB_GALLERY_PICTURE_200
                         : dpi > afx::kDefaultDpi ? IDB_GALLERY_PICTURE_150
                                                  : IDB_GALLERY_PICTURE;
    m_bitmap.SetBitmaps(picture, kBitmapTransparent);
}

void CGalleryDlg::ShowStatus(const std::wstring& text) { ::SetDlgItemTextW(m_hWnd, IDC_GALLERY_STATUS, text.c_str()); }

void CGalleryDlg::OnStandard() { ShowStatus(L"Standard button clicked."); }

void CGalleryDlg::OnCheckBox() {
    ShowStatus(m_checkBox.GetCheckState() != 0 ? L"Checkbox button: checked." : L"Checkbox button: not checked.");
}

void CGalleryDlg::OnLink() { ShowStatus(std::wstring(L"Link button: opened ") + kGalleryLinkTarget); }

void CGalleryDlg::OnMenuOpen() { ShowStatus(L"Menu button: Open chosen."); }

void CGalleryDlg::OnMenuSave() { ShowStatus(L"Menu button: Save chosen."); }

void CGalleryDlg::OnMenuProperties() { ShowStatus(L"Menu button: Properties chosen."); }

void CGalleryDlg::OnBrowseFolder() {
    CBrowseForFolder browser(m_hWnd);
    browser.SetPrompt(L"Choose a folder; the status line shows the selected one.");
    browser.SetBrowseFlags(BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT);
    browser.SetStartFolder(StartFolder());
    if (browser.Browse()) ::SetDlgItemTextW(m_hWnd, IDC_BROWSE_FOLDER_PATH, browser.GetChosenPath().c_str());
}

void CGalleryDlg::OnFileOpen() { PickFile(false); }

void CGalleryDlg::OnFileOpenFilesOnly() { PickFile(true); }

void CGalleryDlg::PickFile(bool filesOnly) {
    const std::wstring start = StartFolder();
    // The folder filter judges list entries against the current directory.
    ::SetCurrentDirectoryW(start.c_str());
    CFileDialogEx dialog(true, nullptr, nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                         L"All files (*.*)|*.*|Programs (*.exe)|*.exe||", this);
    dialog.m_ofn.lpstrInitialDir = start.c_str();
    if (filesOnly) {
        dialog.SetFolderFilter(true);
        dialog.SetOkCaption(L"Use this file");
    }
    if (dialog.DoModal() == IDOK) ::SetDlgItemTextW(m_hWnd, IDC_FILE_PATH, dialog.GetPathName().c_str());
}
