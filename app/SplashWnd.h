// The splash window of the start: bitmap 4000 with the title text, centred on the screen.
#pragma once

#include "platform/framework/window/Wnd.h"

class CSplashWnd : public CWnd {
public:
    static void EnableSplashScreen(BOOL enable);
    // Shows the splash when the switch is on and none is shown, and paints it at once.
    static void ShowSplashScreen(CWnd* parent, LPCTSTR title);
    static void HideSplashScreen();
    // The one splash window, or null.
    static CSplashWnd* Current();

    CString m_csTitle;

protected:
    CSplashWnd() = default;
    ~CSplashWnd() override;
    BOOL Create(CWnd* parent);
    void PostNcDestroy() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC dc);

    HBITMAP m_hBitmap = nullptr;
    SIZE m_size{0, 0};
};
