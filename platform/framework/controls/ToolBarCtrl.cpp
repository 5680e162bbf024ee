#include "platform/framework/controls/ToolBarCtrl.h"

IMPLEMENT_DYNAMIC(CToolBarCtrl, CWnd)

BOOL CToolBarCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    if (!CWnd::Create(TOOLBARCLASSNAME, nullptr, style, rect, parent, id))
        return FALSE;
    Send(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    return TRUE;
}

int CToolBarCtrl::AddBitmap(int count, UINT bitmapId) {
    TBADDBITMAP add{(HINSTANCE)1, bitmapId};
    return (int)Send(TB_ADDBITMAP, (WPARAM)count, (LPARAM)&add);
}

int CToolBarCtrl::AddBitmap(int count, HBITMAP bitmap) {
    TBADDBITMAP add{nullptr, (UINT_PTR)bitmap};
    return (int)Send(TB_ADDBITMAP, (WPARAM)count, (LPARAM)&add);
}

CString CToolBarCtrl::GetButtonText(UINT id) const {
    int length = (int)Send(TB_GETBUTTONTEXT, id, 0);
    if (length <= 0)
        return CString();
    std::string text((size_t)length + 1, '\0');
    Send(TB_GETBUTTONTEXT, id, (LPARAM)text.data());
    text.resize((size_t)length);
    return CString(text.c_str());
}

void CToolBarCtrl::SaveState(HKEY key, LPCTSTR subKey, LPCTSTR valueName) {
    TBSAVEPARAMS params{key, subKey, valueName};
    Send(TB_SAVERESTORE, TRUE, (LPARAM)&params);
}

void CToolBarCtrl::RestoreState(HKEY key, LPCTSTR subKey, LPCTSTR valueName) {
    TBSAVEPARAMS params{key, subKey, valueName};
    Send(TB_SAVERESTORE, FALSE, (LPARAM)&params);
}
