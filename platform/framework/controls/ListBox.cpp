#include "platform/framework/controls/ListBox.h"

#include <string>

IMPLEMENT_DYNAMIC(CListBox, CWnd)

void CListBox::GetText(int index, CString& text) const {
    int len = GetTextLen(index);
    if (len < 0) {
        text.Empty();
        return;
    }
    std::string buffer((size_t)len + sizeof(ULONG_PTR) + 1, '\0');
    GetText(index, buffer.data());
    text = buffer.c_str();
}

BOOL CListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    switch (message) {
        case WM_DRAWITEM:
            DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
            break;
        case WM_MEASUREITEM:
            MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
            break;
        case WM_COMPAREITEM: {
            int order = CompareItem(reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam));
            if (result)
                *result = order;
            return TRUE;
        }
        case WM_DELETEITEM:
            DeleteItem(reinterpret_cast<LPDELETEITEMSTRUCT>(lParam));
            break;
        default:
            return CWnd::OnChildNotify(message, wParam, lParam, result);
    }
    if (result)
        *result = TRUE;
    return TRUE;
}
