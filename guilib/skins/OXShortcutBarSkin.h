// Shortcut-bar element skins: default colours, item frames, list backgrounds and group headers.
#pragma once

#include "guilib/skins/OXSkinViews.h"

class COXSkinXP;
class COXSkin2003;

// What a shortcut-bar skin reads of a shortcut bar and its groups.
class COXShortcutBarView {
public:
    virtual ~COXShortcutBarView() = default;
    virtual HWND GetBarHwnd() const = 0;
    virtual COLORREF GetGroupBkColor(HANDLE group) const = 0;
    virtual COLORREF GetGroupTextColor(HANDLE group) const = 0;
    virtual CString GetGroupText(HANDLE group) const = 0;
    virtual HFONT GetGroupHeaderFont(HANDLE group) const = 0;
    virtual UINT GetGroupHeaderFormat(HANDLE group) const = 0;
    virtual int GetGroupImage(HANDLE group, BOOL expanded) const = 0;
    virtual HIMAGELIST GetHeaderImageList() const = 0;
    virtual HANDLE GetExpandedGroup() const = 0;
    virtual HANDLE GetHotGroup() const = 0;
    virtual HANDLE GetPressedGroup() const = 0;
    virtual HANDLE GetDraggedGroup() const = 0;
    virtual HANDLE GetDropTargetGroup() const = 0;
    virtual int GetGroupOrder(HANDLE group) const = 0;
    virtual DWORD GetBarStyle() const = 0;
    virtual BOOL IsPaintingDragImage() const = 0;
};

class COXShortcutBarSkin {
public:
    explicit COXShortcutBarSkin(BOOL stacked) : m_bStacked(stacked) {}
    virtual ~COXShortcutBarSkin() = default;
    virtual COLORREF GetListBackgroundColor(HWND bar) = 0;
    virtual COLORREF GetListTextColor(HWND bar) = 0;
    virtual void DrawItemFrame(CDC* dc, const RECT& rect, BOOL hot, BOOL pressed, HWND list) = 0;
    virtual void FillListBackground(CDC* dc, const RECT& rect, HWND window, BOOL useColour, COLORREF colour) = 0;
    virtual void DrawGroupHeader(DRAWITEMSTRUCT* header, COXShortcutBarView* bar);
    virtual void OnNotUsed(HWND) {}
    virtual int GetHeaderStyle() { return 3; }
    virtual void FillBarBackground(COXShortcutBarView*, CDC*) {}

    // The stacked-layout flag the bar reads.
    BOOL m_bStacked;

protected:
    static void DrawDropMark(CDC* dc, const RECT& rect, COLORREF base, int direction);
};

class COXShortcutBarSkinClassic : public COXShortcutBarSkin {
public:
    COXShortcutBarSkinClassic() : COXShortcutBarSkin(TRUE) {}
    COLORREF GetListBackgroundColor(HWND bar) override;
    COLORREF GetListTextColor(HWND bar) override;
    void DrawItemFrame(CDC* dc, const RECT& rect, BOOL hot, BOOL pressed, HWND list) override;
    void FillListBackground(CDC* dc, const RECT& rect, HWND window, BOOL useColour, COLORREF colour) override;
    int GetHeaderStyle() override { return 0; }
};

class COXShortcutBarSkinXP : public COXShortcutBarSkinClassic {
public:
    explicit COXShortcutBarSkinXP(COXSkinXP* skin, BOOL stacked = TRUE);
    COLORREF GetListBackgroundColor(HWND bar) override;
    COLORREF GetListTextColor(HWND bar) override;
    void DrawItemFrame(CDC* dc, const RECT& rect, BOOL hot, BOOL pressed, HWND list) override;
    int GetHeaderStyle() override { return 1; }

protected:
    COXSkinXP* m_pSkin;
};

class COXShortcutBarSkin2003 : public COXShortcutBarSkinXP {
public:
    explicit COXShortcutBarSkin2003(COXSkin2003* skin);
    void FillListBackground(CDC* dc, const RECT& rect, HWND window, BOOL useColour, COLORREF colour) override;
    void DrawGroupHeader(DRAWITEMSTRUCT* header, COXShortcutBarView* bar) override;
    int GetHeaderStyle() override { return 2; }
    void FillBarBackground(COXShortcutBarView* bar, CDC* dc) override;

protected:
    // A gradient between two colours from the top-left to the bottom-right corner.
    void FourCornerGradient(CDC* dc, const RECT& rect, COLORREF light, COLORREF dark);
    COXSkin2003* m_pSkin2003;
};
