#include "guilib/controls/OXImageListBox.h"

#include <algorithm>

#include "platform/base/File.h"
#include "platform/base/Process.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/Shell.h"

IMPLEMENT_DYNAMIC(COXImageListBox, CListBox)

COXImageListBox::COXImageListBox(int nImageWidth, int nImageHeight, UINT nFlags)
    : m_hImageList(ImageList_Create(nImageWidth, nImageHeight, nFlags, 0, 0)), m_nImageWidth(nImageWidth),
      m_nImageHeight(nImageHeight), m_nFlags(nFlags), m_clrBackground(::GetSysColor(COLOR_WINDOW)),
      m_clrSelection(::GetSysColor(COLOR_HIGHLIGHT)), m_bCreating(FALSE) {}

COXImageListBox::~COXImageListBox() {
    if (m_hImageList)
        ImageList_Destroy(m_hImageList);
}

BOOL COXImageListBox::PreCreateWindow(CREATESTRUCT& cs) {
    cs.style &= ~(LBS_MULTIPLESEL | LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS);
    cs.style |= LBS_MULTICOLUMN | LBS_OWNERDRAWFIXED;
    m_bCreating = TRUE;
    return CListBox::PreCreateWindow(cs);
}

void COXImageListBox::PreSubclassWindow() {
    CListBox::PreSubclassWindow();
    if (!m_bCreating)
        UpdateItemSize();
}

BOOL COXImageListBox::UpdateItemSize() {
    int w = m_nImageWidth, h = m_nImageHeight;
    if (m_hImageList && ImageList_GetImageCount(m_hImageList) > 0)
        ImageList_GetIconSize(m_hImageList, &w, &h);
    if (::IsWindow(m_hWnd)) {
        SetItemHeight(0, (UINT)(h + h / 4));
        SetColumnWidth(w + w / 4);
    }
    return TRUE;
}

int COXImageListBox::SetImageList(HIMAGELIST hImageList) {
    ResetContent();
    int count = hImageList ? ImageList_GetImageCount(hImageList) : 0;
    if (count == 0)
        return 0;
    if (m_hImageList)
        ImageList_Destroy(m_hImageList);
    m_hImageList = ImageList_Duplicate(hImageList);
    UpdateItemSize();
    for (int i = 0; i < count; ++i)
        ::SendMessage(m_hWnd, LB_ADDSTRING, 0, (LPARAM)i);
    return count;
}

BOOL COXImageListBox::LoadImagesFromFile(LPCTSTR lpszFileName, BOOL bSmallIcons) {
    HCURSOR previous = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    CString file = lpszFileName ? lpszFileName : "";
    if (file.IsEmpty()) {
        char path[261] = {};
        ::GetModuleFileName(nullptr, path, 260);
        file = path;
    } else if (::GetFileAttributes(file) == INVALID_FILE_ATTRIBUTES) {
        ::SetCursor(previous);
        return FALSE;
    }
    int size = ::GetSystemMetrics(bSmallIcons ? SM_CXSMICON : SM_CXICON);
    HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, 0, 0);
    UINT icons = ::ExtractIconEx(file, -1, nullptr, nullptr, 0);
    UINT added = 0;
    for (UINT i = 0; i < icons; ++i) {
        HICON icon = nullptr;
        if (::ExtractIconEx(file, (int)i, bSmallIcons ? nullptr : &icon, bSmallIcons ? &icon : nullptr, 1) && icon) {
            if (ImageList_AddIcon(list, icon) >= 0)
                ++added;
            ::DestroyIcon(icon);
        }
    }
    SetImageList(list);
    ImageList_Destroy(list);
    ::SetCursor(previous);
    return added == icons;
}

void COXImageListBox::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
    int images = m_hImageList ? ImageList_GetImageCount(m_hImageList) : 0;
    int image = (int)lpDIS->itemData;
    if (images == 0 || image < 0 || image >= GetCount())
        return;
    HDC dc = lpDIS->hDC;
    const RECT& rc = lpDIS->rcItem;
    bool selected = (lpDIS->itemState & ODS_SELECTED) != 0;
    bool full = (lpDIS->itemAction & ODA_DRAWENTIRE) != 0, select = (lpDIS->itemAction & ODA_SELECT) != 0;
    HBRUSH brush = ::CreateSolidBrush(selected ? m_clrSelection : m_clrBackground);
    if (full || select)
        ::FillRect(dc, &rc, brush);
    else if ((lpDIS->itemAction & ODA_FOCUS) && !(lpDIS->itemState & ODS_FOCUS))
        ::FrameRect(dc, &rc, brush);
    ::DeleteObject(brush);
    if (full || select) {
        int w = rc.right - rc.left, h = rc.bottom - rc.top;
        ImageList_Draw(m_hImageList, image, dc, rc.left + w / 10, rc.top + h / 10, ILD_TRANSPARENT);
    }
}

LRESULT COXImageListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: {
            LRESULT result = CListBox::WindowProc(message, wParam, lParam);
            m_bCreating = FALSE;
            if (result == -1 || !UpdateItemSize())
                return -1;
            return result;
        }
        case LB_DELETESTRING: {
            // The item's image goes too, and the later items' indexes follow it down.
            int index = (int)wParam;
            if (index < 0 || index >= GetCount())
                break;
            int image = (int)GetItemData(index);
            LRESULT result = CListBox::WindowProc(message, wParam, lParam);
            if (m_hImageList && image >= 0 && image < ImageList_GetImageCount(m_hImageList))
                ImageList_Remove(m_hImageList, image);
            for (int i = 0; i < GetCount(); ++i) {
                int data = (int)GetItemData(i);
                if (data > image)
                    SetItemData(i, (DWORD_PTR)(data - 1));
            }
            return result;
        }
        case LB_RESETCONTENT:
            if (m_hImageList)
                ImageList_Remove(m_hImageList, -1);
            break;
        case WM_DESTROY:
            ResetContent();
            break;
        case WM_ERASEBKGND: {
            HDC dc = (HDC)wParam;
            RECT client{};
            GetClientRect(&client);
            HBRUSH brush = ::CreateSolidBrush(m_clrBackground);
            int count = GetCount();
            if (count == 0) {
                ::FillRect(dc, &client, brush);
            } else {
                RECT last{};
                GetItemRect(count - 1, &last);
                RECT below{client.left, last.bottom, client.right, client.bottom};
                RECT right{last.right, client.top, client.right, client.bottom};
                if (below.top < below.bottom)
                    ::FillRect(dc, &below, brush);
                if (right.left < right.right)
                    ::FillRect(dc, &right, brush);
            }
            ::DeleteObject(brush);
            return TRUE;
        }
        default:
            break;
    }
    return CListBox::WindowProc(message, wParam, lParam);
}
