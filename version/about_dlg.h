// The About box: the program's icon and a text naming the program and its
// version, the suite's version and update level, and the copyright line.
#pragma once

#include <string>

#include "afx/dialog.h"
#include "afx/std_controls.h"

// The About box's text, from the running executable's version resource and
// the suite's "ProductUpdate" value.
std::wstring GetAboutText();

class CAboutDlg : public CDialog {
public:
    CAboutDlg();
    ~CAboutDlg() override;

    const AFX_MSGMAP* GetMessageMap() const override;
    static const AFX_MSGMAP* GetThisMessageMap();

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

private:
    CStatic m_icon;
    std::wstring m_aboutText;
};

// Runs the About box modally (no parent) and forgets its result.
void ShowAboutBox();
