// CToolBarCtrl: the toolbar control's wrapper.
#pragma once

#include "platform/base/String.h"
#include "platform/framework/window/Wnd.h"
#include "platform/user/Toolbar.h"

class CToolBarCtrl : public CWnd {
    DECLARE_DYNAMIC(CToolBarCtrl)
public:
    CToolBarCtrl() = default;
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    // Buttons.
    BOOL AddButtons(int count, const TBBUTTON* buttons) {
        return (BOOL)Send(TB_ADDBUTTONS, (WPARAM)count, (LPARAM)buttons);
    }
    BOOL InsertButton(int index, const TBBUTTON* button) {
        return (BOOL)Send(TB_INSERTBUTTON, (WPARAM)index, (LPARAM)button);
    }
    BOOL DeleteButton(int index) { return (BOOL)Send(TB_DELETEBUTTON, (WPARAM)index, 0); }
    BOOL MoveButton(UINT from, UINT to) { return (BOOL)Send(TB_MOVEBUTTON, from, to); }
    BOOL GetButton(int index, TBBUTTON* button) const { return (BOOL)Send(TB_GETBUTTON, (WPARAM)index, (LPARAM)button); }
    int GetButtonCount() const { return (int)Send(TB_BUTTONCOUNT, 0, 0); }
    UINT CommandToIndex(UINT id) const { return (UINT)Send(TB_COMMANDTOINDEX, id, 0); }
    int GetButtonInfo(UINT id, TBBUTTONINFO* info) const { return (int)Send(TB_GETBUTTONINFO, id, (LPARAM)info); }
    BOOL SetButtonInfo(UINT id, TBBUTTONINFO* info) { return (BOOL)Send(TB_SETBUTTONINFO, id, (LPARAM)info); }
    int AddBitmap(int count, UINT bitmapId);
    int AddBitmap(int count, HBITMAP bitmap);
    int AddStrings(LPCTSTR strings) { return (int)Send(TB_ADDSTRING, 0, (LPARAM)strings); }
    int GetButtonText(UINT id, LPTSTR text) const { return (int)Send(TB_GETBUTTONTEXT, id, (LPARAM)text); }
    CString GetButtonText(UINT id) const;

    // States.
    BOOL EnableButton(int id, BOOL enable = TRUE) { return (BOOL)Send(TB_ENABLEBUTTON, (WPARAM)id, MAKELPARAM(enable, 0)); }
    BOOL CheckButton(int id, BOOL check = TRUE) { return (BOOL)Send(TB_CHECKBUTTON, (WPARAM)id, MAKELPARAM(check, 0)); }
    BOOL PressButton(int id, BOOL press = TRUE) { return (BOOL)Send(TB_PRESSBUTTON, (WPARAM)id, MAKELPARAM(press, 0)); }
    BOOL HideButton(int id, BOOL hide = TRUE) { return (BOOL)Send(TB_HIDEBUTTON, (WPARAM)id, MAKELPARAM(hide, 0)); }
    BOOL Indeterminate(int id, BOOL on = TRUE) { return (BOOL)Send(TB_INDETERMINATE, (WPARAM)id, MAKELPARAM(on, 0)); }
    BOOL IsButtonEnabled(int id) const { return (BOOL)Send(TB_ISBUTTONENABLED, (WPARAM)id, 0); }
    BOOL IsButtonChecked(int id) const { return (BOOL)Send(TB_ISBUTTONCHECKED, (WPARAM)id, 0); }
    BOOL IsButtonPressed(int id) const { return (BOOL)Send(TB_ISBUTTONPRESSED, (WPARAM)id, 0); }
    BOOL IsButtonHidden(int id) const { return (BOOL)Send(TB_ISBUTTONHIDDEN, (WPARAM)id, 0); }
    BOOL SetState(int id, UINT state) { return (BOOL)Send(TB_SETSTATE, (WPARAM)id, MAKELPARAM(state, 0)); }
    int GetState(int id) const { return (int)Send(TB_GETSTATE, (WPARAM)id, 0); }

    // Geometry.
    BOOL GetItemRect(int index, LPRECT rect) const { return (BOOL)Send(TB_GETITEMRECT, (WPARAM)index, (LPARAM)rect); }
    BOOL GetRect(int id, LPRECT rect) const { return (BOOL)Send(TB_GETRECT, (WPARAM)id, (LPARAM)rect); }
    int HitTest(LPPOINT point) const { return (int)Send(TB_HITTEST, 0, (LPARAM)point); }
    BOOL SetButtonSize(SIZE size) { return (BOOL)Send(TB_SETBUTTONSIZE, 0, MAKELPARAM(size.cx, size.cy)); }
    BOOL SetBitmapSize(SIZE size) { return (BOOL)Send(TB_SETBITMAPSIZE, 0, MAKELPARAM(size.cx, size.cy)); }
    SIZE GetButtonSize() const {
        DWORD s = (DWORD)Send(TB_GETBUTTONSIZE, 0, 0);
        return SIZE{LOWORD(s), HIWORD(s)};
    }
    BOOL SetButtonWidth(int minWidth, int maxWidth) {
        return (BOOL)Send(TB_SETBUTTONWIDTH, 0, MAKELPARAM(minWidth, maxWidth));
    }
    BOOL SetIndent(int indent) { return (BOOL)Send(TB_SETINDENT, (WPARAM)indent, 0); }
    BOOL SetMaxTextRows(int rows) { return (BOOL)Send(TB_SETMAXTEXTROWS, (WPARAM)rows, 0); }
    int GetTextRows() const { return (int)Send(TB_GETTEXTROWS, 0, 0); }
    int GetRows() const { return (int)Send(TB_GETROWS, 0, 0); }
    BOOL GetMaxSize(SIZE* size) const { return (BOOL)Send(TB_GETMAXSIZE, 0, (LPARAM)size); }
    void AutoSize() { Send(TB_AUTOSIZE, 0, 0); }

    // Styles and image lists.
    DWORD GetStyle() const { return (DWORD)Send(TB_GETSTYLE, 0, 0); }
    void SetStyle(DWORD style) { Send(TB_SETSTYLE, 0, (LPARAM)style); }
    DWORD GetExtendedStyle() const { return (DWORD)Send(TB_GETEXTENDEDSTYLE, 0, 0); }
    DWORD SetExtendedStyle(DWORD style) { return (DWORD)Send(TB_SETEXTENDEDSTYLE, 0, (LPARAM)style); }
    HIMAGELIST SetImageList(HIMAGELIST list) { return (HIMAGELIST)Send(TB_SETIMAGELIST, 0, (LPARAM)list); }
    HIMAGELIST GetImageList() const { return (HIMAGELIST)Send(TB_GETIMAGELIST, 0, 0); }
    HIMAGELIST SetHotImageList(HIMAGELIST list) { return (HIMAGELIST)Send(TB_SETHOTIMAGELIST, 0, (LPARAM)list); }
    HIMAGELIST GetHotImageList() const { return (HIMAGELIST)Send(TB_GETHOTIMAGELIST, 0, 0); }
    HIMAGELIST SetDisabledImageList(HIMAGELIST list) {
        return (HIMAGELIST)Send(TB_SETDISABLEDIMAGELIST, 0, (LPARAM)list);
    }
    HIMAGELIST GetDisabledImageList() const { return (HIMAGELIST)Send(TB_GETDISABLEDIMAGELIST, 0, 0); }
    int GetHotItem() const { return (int)Send(TB_GETHOTITEM, 0, 0); }
    int SetHotItem(int index) { return (int)Send(TB_SETHOTITEM, (WPARAM)index, 0); }
    void SetOwner(CWnd* owner) { Send(TB_SETPARENT, (WPARAM)(owner ? owner->m_hWnd : nullptr), 0); }

    // Insert marks.
    void GetInsertMark(TBINSERTMARK* mark) const { Send(TB_GETINSERTMARK, 0, (LPARAM)mark); }
    void SetInsertMark(TBINSERTMARK* mark) { Send(TB_SETINSERTMARK, 0, (LPARAM)mark); }
    BOOL InsertMarkHitTest(LPPOINT point, TBINSERTMARK* mark) const {
        return (BOOL)Send(TB_INSERTMARKHITTEST, (WPARAM)point, (LPARAM)mark);
    }
    COLORREF SetInsertMarkColor(COLORREF color) { return (COLORREF)Send(TB_SETINSERTMARKCOLOR, 0, (LPARAM)color); }

    // The button set in the registry value `valueName` of key\subKey.
    void SaveState(HKEY key, LPCTSTR subKey, LPCTSTR valueName);
    void RestoreState(HKEY key, LPCTSTR subKey, LPCTSTR valueName);

protected:
    LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam) const { return ::SendMessage(m_hWnd, msg, wParam, lParam); }
};
