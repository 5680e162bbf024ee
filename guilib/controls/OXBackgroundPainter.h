// Paints the background of one window with a colour and an optional image placed by one of eleven
// paint types, through a hook on the window's procedure; and an organizer that owns one painter per
// window and, attached to a thread, gives a painter to each suitable window of that thread (the MDI
// client, dock bars, the toolbars docked in them, the tab control of a tabbed MDI frame).
#pragma once

#include "guilib/controls/OXDIB.h"
#include "guilib/controls/OXHookWnd.h"
#include "platform/base/Collections.h"
#include "platform/base/String.h"
#include "platform/framework/frames/FrameWnd.h"

enum PaintType {
    Tile = 0,
    Stretch = 1,
    TopLeft = 2,
    TopCenter = 3,
    TopRight = 4,
    CenterLeft = 5,
    Center = 6,
    CenterRight = 7,
    BottomLeft = 8,
    BottomCenter = 9,
    BottomRight = 10,
};

class COXBackgroundPainter : public COXHookWnd {
    DECLARE_DYNAMIC(COXBackgroundPainter)
public:
    COXBackgroundPainter();
    ~COXBackgroundPainter() override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    BOOL Attach(CWnd* pWnd, const COXDIB* pDIB, PaintType paintType = Tile, COLORREF clrBk = CLR_DEFAULT,
                CWnd* pOriginWnd = nullptr);
    BOOL Attach(HWND hWnd, const COXDIB* pDIB, PaintType paintType = Tile, COLORREF clrBk = CLR_DEFAULT,
                HWND hOriginWnd = nullptr);
    void Detach(BOOL bRedraw = TRUE);

    void SetPaintType(PaintType paintType, BOOL bRedraw = TRUE);
    void SetBkColor(COLORREF clrBk, BOOL bRedraw = TRUE);
    void SetOriginWnd(HWND hOriginWnd, BOOL bRedraw = TRUE);
    BOOL SetWallpaper(const COXDIB* pDIB, BOOL bRedraw = TRUE);
    BOOL SetWallpaperFile(LPCTSTR lpszFileName, BOOL bRedraw = TRUE);

    PaintType GetPaintType() const { return m_paintType; }
    COLORREF GetBkColor() const { return m_clrBk; }
    HWND GetOriginWnd() const { return m_hOriginWnd; }
    const COXDIB& GetWallpaper() const { return m_dib; }
    const CString& GetWallpaperFileName() const { return m_sWallpaperFileName; }

    virtual void Paint(CDC* pDC);
    virtual void FillBackground(CDC* pDC);
    virtual void GetOriginRect(POINT& ptOffset, RECT& rect);

    // The screen rectangle of a window's client area as the reference areas use it: the window
    // rectangle less the frame and caption its style asks for.
    static RECT GetClientScreenRect(HWND hWnd);

protected:
    UINT RealizePalette(BOOL bForceBackground, BOOL bRedraw);
    void RedrawWhole();
    void Redraw();

    COXDIB m_dib;
    PaintType m_paintType = Tile;
    COLORREF m_clrBk = CLR_DEFAULT;
    HWND m_hOriginWnd = nullptr;
    CString m_sWallpaperFileName;
    RECT m_rectWindow{0, 0, 0, 0};
};

class COXBackgroundPainterOrganizer {
public:
    COXBackgroundPainterOrganizer();
    virtual ~COXBackgroundPainterOrganizer();
    COXBackgroundPainterOrganizer(const COXBackgroundPainterOrganizer&) = delete;
    COXBackgroundPainterOrganizer& operator=(const COXBackgroundPainterOrganizer&) = delete;

    virtual BOOL IsSupportedWindow(HWND hWnd);

    BOOL AttachToThread(CFrameWnd* pFrameWnd, const COXDIB* pDIB = nullptr, PaintType paintType = Tile,
                        COLORREF clrBk = CLR_DEFAULT);
    BOOL DetachFromThread(BOOL bRedraw = TRUE);
    BOOL IsAttachedToThread() const { return m_pFrameWnd != nullptr; }

    BOOL Attach(HWND hWnd, const COXDIB* pDIB, PaintType paintType = Tile, COLORREF clrBk = CLR_DEFAULT,
                HWND hOriginWnd = nullptr);
    BOOL Detach(HWND hWnd = nullptr, BOOL bRedraw = TRUE);

    BOOL SetWallpaper(HWND hWnd, const COXDIB* pDIB, BOOL bRedraw = TRUE);
    BOOL SetWallpaperFile(HWND hWnd, LPCTSTR lpszFileName, BOOL bRedraw = TRUE);
    BOOL SetPaintType(HWND hWnd, PaintType paintType, BOOL bRedraw = TRUE);
    BOOL SetBkColor(HWND hWnd, COLORREF clrBk, BOOL bRedraw = TRUE);
    BOOL SetOriginWnd(HWND hWnd, HWND hOriginWnd, BOOL bRedraw = TRUE);

    COXBackgroundPainter* GetPainter(HWND hWnd) const;
    BOOL IsWindowAttached(HWND hWnd) const;
    // Starts an iteration over the painters: the first whose window still exists, or null.
    COXBackgroundPainter* GetFirstPainter(POSITION& pos) const;
    int GetPainterCount() const { return (int)m_arrAttachedWnd.GetCount(); }
    int GetPoolCount() const { return (int)m_arrUsedPainters.GetSize(); }

    const COXDIB& GetDefaultWallpaper() const { return m_dibDefault; }
    PaintType GetDefaultPaintType() const { return m_paintTypeDefault; }
    COLORREF GetDefaultBkColor() const { return m_clrBkDefault; }

    static LRESULT BackgroundPainterCbtHookProc(int nCode, WPARAM wParam, LPARAM lParam);
    static LRESULT BackgroundPainterGetMessageHookProc(int nCode, WPARAM wParam, LPARAM lParam);

protected:
    // Gives a painter to a window this organizer supports that has none yet.
    void AttachFound(HWND hWnd);
    void AttachWalk(HWND hWnd);

    COXDIB m_dibDefault;
    PaintType m_paintTypeDefault = Tile;
    COLORREF m_clrBkDefault = CLR_DEFAULT;
    HWND m_hOriginWndDefault = nullptr;
    CMap<HWND, HWND, COXBackgroundPainter*, COXBackgroundPainter*> m_arrAttachedWnd;
    CArray<COXBackgroundPainter*, COXBackgroundPainter*> m_arrUsedPainters;
    CFrameWnd* m_pFrameWnd = nullptr;
    DWORD m_dwThreadID = 0;
    HHOOK m_hCbtHook = nullptr;
    HHOOK m_hGetMessageHook = nullptr;
};
