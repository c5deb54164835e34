// CSplashWnd: a borderless pop-up showing one bitmap from the program's
// resources, centred, while the application starts. At most one exists at a
// time; it lives on the heap and deletes itself when its window goes.
#pragma once

#include <windows.h>

#include <cstdint>

#include "afx/handles.h"
#include "afx/wnd.h"

class CSplashWnd : public CWnd {
public:
    // Creates, shows and paints the splash; false when one already exists or
    // the bitmap or window cannot be made (then nothing is left behind).
    static bool ShowSplash(std::uint16_t bitmapId, CWnd* parent = nullptr);
    // Removes the splash, if any, and repaints the main window at once.
    static void HideSplash();
    // Waits, dispatching the thread's messages, until the splash has been on
    // screen for at least that many whole seconds, then hides it. The wait
    // ends at a change of second of the clock; it sleeps between messages.
    static void HideSplashAfter(std::int32_t seconds);

    ~CSplashWnd() override;

    const AFX_MSGMAP* GetMessageMap() const override;
    static const AFX_MSGMAP* GetThisMessageMap();

protected:
    void PostNcDestroy() override;

    // When the window needs painting: the bitmap at its full size.
    void OnPaint();
    // When any timer set on the window fires: the splash goes.
    void OnTimer(UINT_PTR timerId);

private:
    CSplashWnd() = default;

    afx::unique_hbitmap m_bitmap;
    std::int64_t m_shownAt = 0;
};
