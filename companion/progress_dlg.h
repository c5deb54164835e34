// A progress window: the message window with a progress bar under the text.
#pragma once

#include "companion/message_window.h"

class CQLDXProgressDlg : public CQLDXMessageWindow {
public:
    CQLDXProgressDlg();

    // The bar's range and position; shown at once.
    virtual void SetRange(int lower, int upper);
    virtual void SetPosition(int position);

private:
    void UpdateBar();

    int m_lower = 0;
    int m_upper = 100;
    int m_position = 0;
};
