// CInPlaceEdit: the edit box placed over a grid cell while it is edited. It ends on Tab, Enter, Escape
// (which puts the first text back) or, when opened by a key or with Ctrl held, on the navigation keys;
// losing the focus it tells its parent with LVN_ENDLABELEDIT, then destroys and deletes itself.
#pragma once

#include "platform/framework/controls/Edit.h"

class CInPlaceEdit : public CEdit {
public:
    // Creates the editor over `rect` (parent client coordinates) with the text and the parent's font. The
    // whole text is selected; a character `nFirstChar` is typed into it (VK_LBUTTON: opened by the mouse;
    // VK_RETURN or 0: opened by a key, typing nothing).
    CInPlaceEdit(CWnd* pParent, const RECT& rect, DWORD dwStyle, UINT nID, int nRow, int nColumn, CString sInitText,
                 UINT nFirstChar);
    ~CInPlaceEdit() override = default;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void EndEdit();

    int GetRow() const { return m_nRow; }
    int GetColumn() const { return m_nColumn; }

protected:
    void PostNcDestroy() override;

private:
    int m_nRow;
    int m_nColumn;
    CString m_sInitText;
    UINT m_nLastChar = 0;
    BOOL m_bExitOnArrows;
    RECT m_Rect;
    bool m_bEnding = false;
};
