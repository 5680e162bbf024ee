#include "guilib/controls/OXOptionTreeCtrl.h"

#include "platform/framework/app/WinThread.h"
#include "platform/gdi/FrameControl.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/Resources.h"

IMPLEMENT_DYNAMIC(COXOptionTreeCtrl, CTreeCtrl)

namespace {
const COLORREF kMaskColour = RGB(192, 192, 192);
}

COXOptionTreeCtrl::COXOptionTreeCtrl()
    : m_hLightImages(nullptr), m_hDarkImages(nullptr), m_bDarkBackground(FALSE), m_mapIDToItem(10),
      m_mapItemToLock(10), m_bCreating(FALSE) {}

COXOptionTreeCtrl::~COXOptionTreeCtrl() {
    if (m_hLightImages)
        ImageList_Destroy(m_hLightImages);
    if (m_hDarkImages)
        ImageList_Destroy(m_hDarkImages);
}

// The four 16 x 16 state images (check box off and on, radio button off and on) on the mask colour.
HIMAGELIST COXOptionTreeCtrl::CreateStateImages(bool dark) {
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP strip = ::CreateCompatibleBitmap(screen, 64, 16);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(dc, strip);
    RECT all{0, 0, 64, 16};
    HBRUSH mask = ::CreateSolidBrush(kMaskColour);
    ::FillRect(dc, &all, mask);
    ::DeleteObject(mask);
    const UINT states[4] = {DFCS_BUTTONCHECK, DFCS_BUTTONCHECK | DFCS_CHECKED, DFCS_BUTTONRADIO,
                            DFCS_BUTTONRADIO | DFCS_CHECKED};
    for (int i = 0; i < 4; ++i) {
        RECT rc{i * 16 + 1, 1, i * 16 + 14, 14};
        ::DrawFrameControl(dc, &rc, DFC_BUTTON, states[i] | (dark ? DFCS_FLAT : 0));
    }
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 0, 0);
    ImageList_AddMasked(list, strip, kMaskColour);
    ::DeleteObject(strip);
    return list;
}

BOOL COXOptionTreeCtrl::Initialize() {
    if (!m_hLightImages && !(m_hLightImages = CreateStateImages(false)))
        return FALSE;
    if (!m_hDarkImages && !(m_hDarkImages = CreateStateImages(true)))
        return FALSE;
    UpdateBackground();
    return TRUE;
}

void COXOptionTreeCtrl::UpdateBackground() {
    COLORREF back = ::IsWindow(m_hWnd) ? (COLORREF)::SendMessage(m_hWnd, TVM_GETBKCOLOR, 0, 0) : (COLORREF)-1;
    if (back == (COLORREF)-1)
        back = ::GetSysColor(COLOR_WINDOW);
    m_bDarkBackground = GetRValue(back) + GetGValue(back) + GetBValue(back) < 300;
    if (::IsWindow(m_hWnd))
        SetImageList(m_bDarkBackground ? m_hDarkImages : m_hLightImages, TVSIL_NORMAL);
}

void COXOptionTreeCtrl::PreSubclassWindow() {
    CTreeCtrl::PreSubclassWindow();
    if (!m_bCreating)
        Initialize();
}

HTREEITEM COXOptionTreeCtrl::InsertOptionItem(LPCTSTR text, HTREEITEM hParent, BOOL bExpanded, int nImage,
                                              int nSelectedImage, HTREEITEM hInsertAfter) {
    TVINSERTSTRUCT tvi{};
    tvi.hParent = hParent;
    tvi.hInsertAfter = hInsertAfter;
    tvi.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN | (bExpanded ? TVIF_STATE : 0);
    tvi.item.pszText = const_cast<LPTSTR>(text);
    tvi.item.iImage = nImage;
    tvi.item.iSelectedImage = nSelectedImage;
    tvi.item.cChildren = 1;
    tvi.item.state = bExpanded ? TVIS_EXPANDED : 0;
    tvi.item.stateMask = bExpanded ? TVIS_EXPANDED : 0;
    return InsertItem(&tvi);
}

HTREEITEM COXOptionTreeCtrl::AddOption(int nID, LPCTSTR text, HTREEITEM hParent, int nFirstImage, int nCheck,
                                       HTREEITEM hInsertAfter, int nLocked) {
    void* existing = nullptr;
    if (nID == 0 || m_mapIDToItem.Lookup(nID, existing))
        return nullptr;
    int image = nFirstImage + (nCheck == 1 ? 1 : 0);
    TVINSERTSTRUCT tvi{};
    tvi.hParent = hParent;
    tvi.hInsertAfter = hInsertAfter;
    tvi.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    tvi.item.pszText = const_cast<LPTSTR>(text);
    tvi.item.iImage = image;
    tvi.item.iSelectedImage = image;
    HTREEITEM item = InsertItem(&tvi);
    if (!item)
        return nullptr;
    m_mapIDToItem[nID] = item;
    m_mapItemToLock[item] = nLocked;
    return item;
}

HTREEITEM COXOptionTreeCtrl::AddCheckBox(int nID, LPCTSTR text, HTREEITEM hParent, int nCheck,
                                         HTREEITEM hInsertAfter, int nLocked) {
    return AddOption(nID, text, hParent, OTITEM_UNCHECKED, nCheck, hInsertAfter, nLocked);
}

HTREEITEM COXOptionTreeCtrl::AddRadioButton(int nID, LPCTSTR text, HTREEITEM hParent, int nCheck,
                                            HTREEITEM hInsertAfter, int nLocked) {
    return AddOption(nID, text, hParent, OTITEM_RADIO_UNCHECKED, nCheck, hInsertAfter, nLocked);
}

int COXOptionTreeCtrl::LoadStateImages(LPCTSTR bitmapName, COLORREF mask, LPCTSTR darkBitmapName,
                                       COLORREF darkMask) {
    if (!m_hLightImages || !m_hDarkImages)
        return -1;
    HBITMAP light = ::LoadBitmap(nullptr, bitmapName);
    if (!light)
        return -1;
    int first = ImageList_AddMasked(m_hLightImages, light, mask);
    HBITMAP dark = darkBitmapName ? ::LoadBitmap(nullptr, darkBitmapName) : nullptr;
    ImageList_AddMasked(m_hDarkImages, dark ? dark : light, dark ? darkMask : mask);
    if (dark)
        ::DeleteObject(dark);
    ::DeleteObject(light);
    return first;
}

HTREEITEM COXOptionTreeCtrl::GetItemFromID(int nID) const {
    void* item = nullptr;
    return m_mapIDToItem.Lookup(nID, item) ? (HTREEITEM)item : nullptr;
}

int COXOptionTreeCtrl::ItemID(HTREEITEM hItem) const {
    POSITION pos = m_mapIDToItem.GetStartPosition();
    while (pos) {
        int id;
        void* item;
        m_mapIDToItem.GetNextAssoc(pos, id, item);
        if (item == hItem)
            return id;
    }
    return 0;
}

BOOL COXOptionTreeCtrl::IsLocked(HTREEITEM hItem) const {
    int locked = 0;
    return m_mapItemToLock.Lookup(hItem, locked) && locked != 0;
}

int COXOptionTreeCtrl::GetItemState(HTREEITEM hItem) const {
    int image = -1, selected = -1;
    if (!hItem || !GetItemImage(hItem, image, selected))
        return -1;
    switch (image) {
        case OTITEM_UNCHECKED:
        case OTITEM_RADIO_UNCHECKED:
            return 0;
        case OTITEM_CHECKED:
        case OTITEM_RADIO_CHECKED:
            return 1;
        default:
            return -1;
    }
}

int COXOptionTreeCtrl::GetOptionState(int nID) const {
    return GetItemState(GetItemFromID(nID));
}

void COXOptionTreeCtrl::SetOptionState(int nID, int nCheck) {
    HTREEITEM item = GetItemFromID(nID);
    if (item && GetItemState(item) != nCheck)
        SetItemCheck(item, nCheck);
}

void COXOptionTreeCtrl::SetItemCheck(HTREEITEM hItem, int nCheck) {
    int image = -1, selected = -1;
    if (!GetItemImage(hItem, image, selected))
        return;
    bool radio = image == OTITEM_RADIO_UNCHECKED || image == OTITEM_RADIO_CHECKED;
    bool check = image == OTITEM_UNCHECKED || image == OTITEM_CHECKED;
    if (!radio && !check)
        return;
    if (radio && nCheck == 1) {
        // Clear the checked radio siblings on both sides, up to the nearest item that is no radio button.
        for (int direction = 0; direction < 2; ++direction) {
            HTREEITEM sibling = direction == 0 ? GetPrevSiblingItem(hItem) : GetNextSiblingItem(hItem);
            while (sibling) {
                int siblingImage = -1, siblingSelected = -1;
                GetItemImage(sibling, siblingImage, siblingSelected);
                if (siblingImage != OTITEM_RADIO_UNCHECKED && siblingImage != OTITEM_RADIO_CHECKED)
                    break;
                if (siblingImage == OTITEM_RADIO_CHECKED)
                    SetItemCheck(sibling, 0);
                sibling = direction == 0 ? GetPrevSiblingItem(sibling) : GetNextSiblingItem(sibling);
            }
        }
    }
    int old = GetItemState(hItem);
    int newImage = (radio ? OTITEM_RADIO_UNCHECKED : OTITEM_UNCHECKED) + (nCheck == 1 ? 1 : 0);
    SetItemImage(hItem, newImage, newImage);
    NMOPTIONTREE nm{};
    nm.hdr.hwndFrom = m_hWnd;
    nm.hdr.idFrom = (UINT_PTR)::GetDlgCtrlID(m_hWnd);
    nm.hdr.code = OTN_OPTIONCHANGED;
    nm.hItem = hItem;
    nm.nItemID = ItemID(hItem);
    nm.nOldCheck = old;
    nm.nNewCheck = nCheck == 1 ? 1 : 0;
    if (HWND parent = ::GetParent(m_hWnd))
        ::SendMessage(parent, WM_NOTIFY, nm.hdr.idFrom, (LPARAM)&nm);
}

void COXOptionTreeCtrl::Toggle(HTREEITEM hItem) {
    ::UpdateWindow(m_hWnd);
    int image = -1, selected = -1;
    if (!GetItemImage(hItem, image, selected))
        return;
    if (image == OTITEM_UNCHECKED || image == OTITEM_CHECKED)
        SetItemCheck(hItem, image == OTITEM_CHECKED ? 0 : 1);
    else if (image == OTITEM_RADIO_UNCHECKED)
        SetItemCheck(hItem, 1);
    RECT text{};
    if (GetItemRect(hItem, &text, TRUE))
        ::ValidateRect(m_hWnd, &text);
}

int COXOptionTreeCtrl::GetCheckedRadioButton(int nFirstID, int nLastID) const {
    HTREEITEM item = GetItemFromID(nFirstID), last = GetItemFromID(nLastID);
    while (item) {
        if (GetItemState(item) == 1)
            return ItemID(item);
        if (item == last)
            break;
        item = GetNextSiblingItem(item);
    }
    return 0;
}

BOOL COXOptionTreeCtrl::SaveState(LPCTSTR section, LPCTSTR name) const {
    CWinApp* app = AfxGetApp();
    if (!app)
        return FALSE;
    CString full;
    full.Format("%s_%s", section, name);
    POSITION pos = m_mapIDToItem.GetStartPosition();
    while (pos) {
        int id;
        void* item;
        m_mapIDToItem.GetNextAssoc(pos, id, item);
        CString entry;
        entry.Format("%d", id);
        app->WriteProfileInt(full, entry, GetItemState((HTREEITEM)item));
    }
    return TRUE;
}

BOOL COXOptionTreeCtrl::LoadState(LPCTSTR section, LPCTSTR name) {
    CWinApp* app = AfxGetApp();
    if (!app)
        return FALSE;
    CString full;
    full.Format("%s_%s", section, name);
    std::vector<int> ids;
    POSITION pos = m_mapIDToItem.GetStartPosition();
    while (pos) {
        int id;
        void* item;
        m_mapIDToItem.GetNextAssoc(pos, id, item);
        ids.push_back(id);
    }
    for (int id : ids) {
        CString entry;
        entry.Format("%d", id);
        int state = (int)app->GetProfileInt(full, entry, -1);
        if (state != -1)
            SetOptionState(id, state);
    }
    return TRUE;
}

void COXOptionTreeCtrl::DeleteAllOptions() {
    m_mapIDToItem.RemoveAll();
    DeleteAllItems();
    m_mapItemToLock.RemoveAll();
}

BOOL COXOptionTreeCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_NOTIFY && lParam) {
        auto* hdr = reinterpret_cast<NMHDR*>(lParam);
        if (hdr->code == TVN_KEYDOWN) {
            auto* key = reinterpret_cast<NMTVKEYDOWN*>(lParam);
            HTREEITEM item = GetSelectedItem();
            if (key->wVKey == VK_SPACE && item && !IsLocked(item))
                Toggle(item);
            if (pResult)
                *pResult = 0;
            return TRUE;
        }
        if (hdr->code == TVN_DELETEITEM) {
            auto* nm = reinterpret_cast<NMTREEVIEW*>(lParam);
            HTREEITEM item = nm->itemOld.hItem;
            int id = ItemID(item);
            if (id)
                m_mapIDToItem.RemoveKey(id);
            m_mapItemToLock.RemoveKey(item);
            if (pResult)
                *pResult = 0;
            return TRUE;
        }
    }
    return CTreeCtrl::OnChildNotify(message, wParam, lParam, pResult);
}

LRESULT COXOptionTreeCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: {
            LRESULT result = CTreeCtrl::WindowProc(message, wParam, lParam);
            m_bCreating = FALSE;
            if (result == -1 || !Initialize())
                return -1;
            return result;
        }
        case WM_NCCREATE:
            m_bCreating = TRUE;
            break;
        case WM_LBUTTONDOWN: {
            TVHITTESTINFO info{};
            info.pt = POINT{(short)LOWORD(lParam), (short)HIWORD(lParam)};
            HTREEITEM item = HitTest(&info);
            bool labelHit = (info.flags & TVHT_ONITEMLABEL) != 0;
            bool editable = (::GetWindowLongPtr(m_hWnd, GWL_STYLE) & TVS_EDITLABELS) != 0;
            if (item && (info.flags & TVHT_ONITEM) && GetItemState(item) != -1 && !IsLocked(item) &&
                !(labelHit && editable)) {
                Toggle(item);
                if (::GetFocus() != m_hWnd)
                    ::SetFocus(m_hWnd);
                SelectItem(item);
                return 0;
            }
            break;
        }
        case WM_CHAR:
            if (wParam == VK_SPACE)
                return 0;
            break;
        case WM_SETTINGCHANGE: {
            LRESULT result = CTreeCtrl::WindowProc(message, wParam, lParam);
            UpdateBackground();
            return result;
        }
        case TVM_SETBKCOLOR: {
            LRESULT result = CTreeCtrl::WindowProc(message, wParam, lParam);
            UpdateBackground();
            return result;
        }
        default:
            break;
    }
    return CTreeCtrl::WindowProc(message, wParam, lParam);
}
