// The controls gallery's one dialog: every reusable control in its main
// configurations, each with a fixed id (docs/CONTROLS.md), and a status
// line that tells what the last click did.
#pragma once

#include <string>

#include "afx/dialog.h"
#include "controls/button_st.h"
#include "controls/hyper_link.h"

// Where the link button and the web link point.
inline constexpr wchar_t kGalleryLinkTarget[] = L"https://www.velkor.com/";
// The mail link's target.
inline constexpr wchar_t kGalleryMailTarget[] = L"mailto:support@velkor.com";
// The link whose target is not there: the shell refuses it.
inline constexpr wchar_t kGalleryMissingTarget[] = L"C:\\VornixDemo\\Missing document.pdf";

class CGalleryDlg : public CDialog {
public:
    CGalleryDlg();
    ~CGalleryDlg() override;

    const AFX_MSGMAP* GetMessageMap() const override;
    static const AFX_MSGMAP* GetThisMessageMap();

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

    // When the dialog needs painting: the striped panel behind the
    // transparent button.
    void OnPaint();
    // When the dialog is told it is drawn at another DPI: the framework scales
    // it and its controls; the bitmap button takes the picture drawn for it.
    LRESULT OnDpiChanged(WPARAM dpi, LPARAM suggested);
    // When a button of the gallery is clicked (after the button's own action).
    void OnStandard();
    void OnCheckBox();
    void OnLink();
    // When "Choose a folder..." is pressed: the folder browser at the start folder.
    void OnBrowseFolder();
    // When "Pick a file..." is pressed: the file dialog as it comes.
    void OnFileOpen();
    // When "Pick a file, no folders..." is pressed: the file dialog with the
    // folder filter and an OK caption of its own.
    void OnFileOpenFilesOnly();
    // When a command of the menu button's popup menu is chosen.
    void OnMenuOpen();
    void OnMenuSave();
    void OnMenuProperties();

private:
    void ShowStatus(const std::wstring& text);
    void PickFile(bool filesOnly);
    // The bitmap button's picture drawn for the DPI nearest above dpi.
    void ShowPictureFor(UINT dpi);

    CButtonST m_standard, m_flat, m_iconOnly, m_iconBeside, m_iconAbove, m_hotNormal, m_grayscale, m_darker, m_bitmap,
        m_checkBox, m_disabled, m_tooltip, m_transparent, m_menu, m_link, m_cursorSound;
    CHyperLink m_webLink, m_mailLink, m_missingLink, m_visitedLink;
    CButtonST m_themedStandard, m_themedFlat, m_themedCheckBox, m_themedDefault, m_themedDisabled;
    bool m_panelPainted = false;
};
