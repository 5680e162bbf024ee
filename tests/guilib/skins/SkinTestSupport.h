// Small fixtures of the skin tests: a memory canvas, the system colour table they use, and doubles of a
// docked sizable bar and a bitmap menu.
#pragma once

#include <algorithm>
#include <vector>

#include "guilib/skins/OXMenuSkin.h"
#include "guilib/skins/OXSkinViews.h"
#include "platform/framework/gdi/DC.h"

// A memory DC over a bitmap of a fixed size, filled with one colour.
class MemoryCanvas {
public:
    MemoryCanvas(int width, int height, COLORREF fill) {
        m_dc.CreateCompatibleDC(nullptr);
        m_bitmap = new CBitmap;
        CDC screen;
        screen.Attach(::GetDC(nullptr));
        m_bitmap->CreateCompatibleBitmap(&screen, width, height);
        ::ReleaseDC(nullptr, screen.Detach());
        m_old = m_dc.SelectObject(m_bitmap);
        m_dc.FillSolidRect(0, 0, width, height, fill);
    }
    ~MemoryCanvas() {
        m_dc.SelectObject(m_old);
        delete m_bitmap;
    }
    MemoryCanvas(const MemoryCanvas&) = delete;
    MemoryCanvas& operator=(const MemoryCanvas&) = delete;
    CDC* dc() { return &m_dc; }
    COLORREF At(int x, int y) { return m_dc.GetPixel(x, y); }
    // Hands the bitmap over (deselected) to the caller.
    CBitmap* Detach() {
        m_dc.SelectObject(m_old);
        CBitmap* b = m_bitmap;
        m_bitmap = nullptr;
        return b;
    }

private:
    CDC m_dc;
    CBitmap* m_bitmap = nullptr;
    CBitmap* m_old = nullptr;
};

// WINDOW 255,255,255, BTNFACE 212,208,200, HIGHLIGHT 10,36,106 (with the rest of the Classic table)
// while the object lives.
class SystemColourTable {
public:
    SystemColourTable() {
        SetSysColorForTest(COLOR_WINDOW, RGB(255, 255, 255));
        SetSysColorForTest(COLOR_BTNFACE, RGB(212, 208, 200));
        SetSysColorForTest(COLOR_HIGHLIGHT, RGB(10, 36, 106));
    }
    ~SystemColourTable() { ResetSysColors(); }
};

// A docked sizable bar: its flags and rectangles, over a window when one is given.
class SizeBarDouble : public COXSizeControlBarView {
public:
    HWND hwnd = nullptr;
    DWORD style = CBRS_ALIGN_LEFT;
    DWORD flags = 0;
    RECT caption{}, close{}, second{};
    BOOL layout = FALSE;
    BOOL canDockAsTab = TRUE;

    HWND GetBarHwnd() const override { return hwnd; }
    DWORD GetBarStyle() const override { return style; }
    DWORD GetSizeBarFlags() const override { return flags; }
    RECT& CaptionRect() override { return caption; }
    RECT& CloseRect() override { return close; }
    RECT& SecondRect() override { return second; }
    int GetPressedButton() const override { return -1; }
    BOOL IsMaximizedInRow() const override { return FALSE; }
    BOOL IsCaptionActive() const override { return TRUE; }
    BOOL IsActiveFrame() const override { return FALSE; }
    void SetLayoutFlag(BOOL set) override { layout = set; }
    BOOL CanDockAsTab() override { return canDockAsTab; }
    void DrawBorders(CDC*, RECT&) override {}
};

// A bitmap menu: its measures, its popups and the menu-bar item it dropped from.
class MenuDouble : public COXBitmapMenuView {
public:
    int GetImageColumnWidth() const override { return 16; }
    int GetTextHeight() const override { return 13; }
    int GetAcceleratorWidth() const override { return 30; }
    int GetTextWidth() const override { return 60; }
    BOOL DrawsSubmenuArrows() const override { return TRUE; }
    void AddPopupWindow(HWND h) override { popups.push_back(h); }
    void RemovePopupWindow(HWND h) override { popups.erase(std::remove(popups.begin(), popups.end(), h), popups.end()); }
    BOOL GetExcludeRect(RECT* r) const override {
        if (IsRectEmpty(&exclude))
            return FALSE;
        *r = exclude;
        return TRUE;
    }
    std::vector<HWND> popups;
    RECT exclude{};
};
