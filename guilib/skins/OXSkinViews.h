// What the element skins read (and, for a sizable bar, write) of the controls that draw through them.
// Each control implements the view of its kind; the skins touch nothing else of it.
#pragma once

#include "platform/framework/bars/ControlBar.h"
#include "platform/framework/gdi/DC.h"
#include "platform/framework/window/Wnd.h"
#include "platform/user/Toolbar.h"

#ifndef SYMBOL_CHARSET
#define SYMBOL_CHARSET 2
#endif

// States and parts of a cool tool bar's custom colours.
enum OXToolbarState { OXTB_NORMAL = 0, OXTB_HOT = 1, OXTB_PRESSED = 2, OXTB_CHECKED = 3 };
enum OXToolbarColorPart { OXTB_TEXT = 0, OXTB_FILL = 1, OXTB_BORDER = 2 };
#ifndef CLR_DEFAULT
#define CLR_DEFAULT 0xFF000000
#endif

// A cool tool bar (the menu bar is one).
class COXCoolToolBarView {
public:
    virtual ~COXCoolToolBarView() = default;
    virtual HWND GetBarHwnd() const = 0;
    virtual UINT GetBarId() const = 0;
    virtual DWORD GetBarStyle() const = 0;  // CBRS_ flags
    virtual BOOL HasDockContext() const = 0;
    virtual int GetCustomizedButton() const = 0;  // -1 none
    virtual BOOL IsCustomButton(int index) const = 0;  // hosts a window
    virtual BOOL IsCool() const = 0;
    virtual BOOL HasSeparatorFlag() const = 0;
    virtual BOOL IsDropDownArrow() const = 0;
    virtual COLORREF GetCustomColor(OXToolbarState state, OXToolbarColorPart part) const = 0;  // CLR_DEFAULT: not set
    // Common-controls version as major * 65536 + minor.
    virtual DWORD GetComCtlVersion() const = 0;
    virtual BOOL IsMenuBar() const = 0;
    virtual int GetDroppedCommand() const = 0;  // -1 none
    virtual void ResetDroppedCommand() = 0;
    // The menu bar's text of the menu item at a position.
    virtual CString GetMenuItemText(int position) const = 0;
    // The window whose left edge starts the dock band: the menu bar's parent or the bar's parent frame.
    virtual HWND GetBandReferenceWindow() const = 0;

    // The bar's own operations the skins call back.
    virtual void DrawBorders(CDC* dc, RECT& rect) = 0;
    virtual void DrawSeparator(CDC* dc, RECT& rect) = 0;
    virtual void DrawCustomizedButton(CDC* dc, RECT& rect) = 0;
    virtual LRESULT Default() = 0;
};

// The menu bar's maximised-MDI-child buttons.
class COXMenuBarView {
public:
    virtual ~COXMenuBarView() = default;
    virtual HWND GetMenuBarHwnd() const = 0;
    virtual HWND GetMDIFrameHwnd() const = 0;
    virtual RECT GetCloseRect() const = 0;
    virtual RECT GetRestoreRect() const = 0;
    virtual RECT GetMinimizeRect() const = 0;
    virtual int GetPressedMDIButton() const = 0;  // -4 close, -3 restore, -2 minimise
};

// Flags of a sizable control bar.
#define OXSCB_NOCAPTION 0x20
#define OXSCB_NOCLOSEBUTTON 0x40
#define OXSCB_NOSECONDBUTTON 0x80
#define OXSCB_NOTITLE 0x100
#define OXSCB_SOLIDCAPTION 0x200

// A docked sizable control bar.
class COXSizeControlBarView {
public:
    virtual ~COXSizeControlBarView() = default;
    virtual HWND GetBarHwnd() const = 0;
    virtual DWORD GetBarStyle() const = 0;
    virtual DWORD GetSizeBarFlags() const = 0;
    // Window coordinates relative to the client origin, rewritten at every non-client paint.
    virtual RECT& CaptionRect() = 0;
    virtual RECT& CloseRect() = 0;
    virtual RECT& SecondRect() = 0;
    virtual int GetPressedButton() const = 0;  // -1 none, -3 close, -2 second
    virtual BOOL IsMaximizedInRow() const = 0;
    virtual BOOL IsCaptionActive() const = 0;
    virtual BOOL IsActiveFrame() const = 0;
    virtual void SetLayoutFlag(BOOL set) = 0;
    virtual BOOL CanDockAsTab() = 0;
    virtual void DrawBorders(CDC* dc, RECT& rect) = 0;
};

// A dock bar of sizable bars.
class COXSizeDockBarView {
public:
    virtual ~COXSizeDockBarView() = default;
    virtual HWND GetDockBarHwnd() const = 0;
    virtual BOOL HoldsSizeBar() const = 0;
    virtual LRESULT Default() = 0;
};

// A splitter between sizable bars: kind 1 runs top to bottom, kind 2 left to right.
struct OXSplitter {
    RECT rect;
    int kind;
};
