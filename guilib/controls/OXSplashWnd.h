// A bitmap in a borderless topmost popup, optionally shaped to the bitmap's outline by a colour key with a
// tolerance, shown for a given time or until the user clicks or presses a key.
#pragma once

#include <vector>

#include "guilib/controls/OXDIB.h"
#include "platform/framework/gdi/GdiObject.h"
#include "platform/framework/window/Wnd.h"

#define OXSPLASH_DEFAULT_DISPLAY_TIME 750
#define OXSPLASH_KEY_NONE ((COLORREF)-1)
#define OXSPLASH_KEY_FROM_POINT ((COLORREF)0xFF000000)
#define IDT_OXSPLASH_CLOSE 1

// The splash's bitmap, with pixel access for the colour tests.
class COXSplashWndDIB {
public:
    COXSplashWndDIB() = default;
    BOOL LoadResource(LPCTSTR resourceName);
    // Reads a .bmp file whole; its header, colour table and bits are checked against its size.
    BOOL LoadFile(LPCTSTR path);
    BOOL IsEmpty() const { return m_dib.IsEmpty(); }
    SIZE GetSize() const { return m_dib.GetSize(); }
    // The colour of a pixel, or CLR_INVALID (-1) outside the bitmap or for a colour index past the table.
    COLORREF GetPixel(int x, int y) const;
    void Draw(CDC* dc) const;

private:
    BOOL TakePixels();

    COXDIB m_dib;
    std::vector<BYTE> m_bits;      // a copy of the pixel rows
    std::vector<COLORREF> m_table; // the colour table
    DWORD m_masks[3] = {0, 0, 0};  // 16 and 32 bits: red, green, blue
    int m_nWidth = 0, m_nHeight = 0, m_nBitsPixel = 0;
    size_t m_nStride = 0;
    bool m_bTopDown = false;
};

class COXSplashWnd : public CWnd {
    DECLARE_DYNAMIC(COXSplashWnd)
public:
    COXSplashWnd();
    ~COXSplashWnd() override;

    virtual BOOL LoadBitmap(UINT nResourceID, COLORREF crKey = OXSPLASH_KEY_NONE, const POINT* pKeyPoint = nullptr,
                            BYTE nTolerance = 0);
    virtual BOOL LoadBitmap(LPCTSTR resourceName, COLORREF crKey = OXSPLASH_KEY_NONE, const POINT* pKeyPoint = nullptr,
                            BYTE nTolerance = 0);
    virtual BOOL LoadBitmapFile(LPCTSTR path, COLORREF crKey = OXSPLASH_KEY_NONE, const POINT* pKeyPoint = nullptr,
                                BYTE nTolerance = 0);
    virtual BOOL Show(int nDisplayTime = 0, CWnd* pParentWnd = nullptr, const POINT* pPos = nullptr);
    virtual BOOL Hide(int nDelay = 0);
    virtual BOOL BuildRegion(POINT ptStart);
    virtual BOOL IsBackground(int x, int y, BOOL bOutside) const;

    BOOL PreTranslateMessage(MSG* pMsg) override;

    void SetAutoDelete(BOOL bAutoDelete = TRUE) { m_bAutoDelete = bAutoDelete; }
    void SetUserCancel(BOOL bUserCancel = TRUE) { m_bUserCancel = bUserCancel; }
    int GetDisplayTime() const { return m_nDisplayTime; }
    // The window's shape in window coordinates; null when rectangular.
    HRGN GetRegion() const { return (HRGN)m_rgn.GetSafeHandle(); }
    const COXSplashWndDIB& GetDIB() const { return m_dib; }

    // The process-wide switch that lets splash windows show.
    static void EnableSplashScreen(BOOL bEnable = TRUE) { s_bShowSplashWnd = bEnable; }

protected:
    BOOL AfterLoad(BOOL bLoaded, COLORREF crKey, const POINT* pKeyPoint, BYTE nTolerance);
    void CloseSplash();
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

    int m_nDisplayTime;
    BOOL m_bAutoDelete;
    COXSplashWndDIB m_dib;
    CRgn m_rgn;
    COLORREF m_crKey;
    BYTE m_nKeyRed, m_nKeyGreen, m_nKeyBlue, m_nTolerance;
    CWnd m_wndInvisible;
    BOOL m_bUserCancel;
    BOOL m_bClosing;

    static BOOL s_bShowSplashWnd;
};
