#include "guilib/controls/OXShortcutBar.h"

#include <algorithm>
#include <cstring>
#include <strings.h>
#include <vector>

#include "guilib/controls/OXSHBListCtrl.h"
#include "guilib/skins/OXSkin.h"
#include "guilib/skins/OXSkinnedApp.h"
#include "platform/base/Exceptions.h"
#include "platform/base/Sync.h"
#include "platform/framework/app/WinThread.h"
#include "platform/user/Resources.h"
#include "platform/user/ToolTip.h"
#include "platform/framework/gdi/DC.h"
#include "platform/framework/window/Menu.h"
#include "platform/user/ImageList.h"

IMPLEMENT_DYNAMIC(COXShortcutBar, CWnd)

namespace {

constexpr const char* kClassName = "OXShortcutBar";
constexpr UINT_PTR kDragDelayTimer = 2;
constexpr UINT_PTR kHoverTimer = 3;
constexpr UINT_PTR kCheckMouseTimer = 4;
constexpr int kDefaultHeaderHeight = 18;

int Height(const RECT& r) {
    return r.bottom - r.top;
}

CString MenuText(UINT id, const char* fallback) {
    char buffer[256] = {0};
    int n = ::LoadString(nullptr, id, buffer, sizeof buffer);
    return n > 0 ? CString(buffer) : CString(fallback);
}

}  // namespace

LRESULT SendShortcutBarNotify(HWND to, HWND from, UINT_PTR id, UINT code, HSHBGROUP group, int item, LPARAM lParam) {
    if (!to || !::IsWindow(to))
        return 0;
    NMSHORTCUTBAR nm{};
    nm.hdr.hwndFrom = from;
    nm.hdr.idFrom = id;
    nm.hdr.code = code;
    nm.hGroup = group;
    nm.nItem = item;
    nm.lParam = lParam;
    return ::SendMessage(to, WM_NOTIFY, (WPARAM)id, (LPARAM)&nm);
}

COXShortcutBar::COXShortcutBar() {
    if (!m_font.CreateFont(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif"))
        AfxThrowMemoryException();
}

COXShortcutBar::~COXShortcutBar() {
    if (m_hWnd && ::IsWindow(m_hWnd))
        DeleteAllGroups();
    for (auto& [group, info] : m_mapHandleToInfo) {
        if (info->bOwnsText)
            delete[] info->pszText;
        delete info;
    }
    m_mapHandleToInfo.clear();
    for (auto& [descriptor, n] : m_mapDescriptors)
        delete descriptor;
    m_mapDescriptors.clear();
    for (auto& [group, list] : m_mapHandleToListCtrl)
        delete list;
    m_mapHandleToListCtrl.clear();
    for (auto& [group, font] : m_mapHeaderFonts)
        ::DeleteObject(font.second);
    if (m_pDragImage)
        ImageList_Destroy(m_pDragImage);
    if (m_hWnd)
        DestroyWindow();
}

BOOL COXShortcutBar::Create(CWnd* parent, const RECT& rect, DWORD barStyle, UINT id, DWORD style, DWORD exStyle) {
    WNDCLASS wc{};
    if (!::GetClassInfo(nullptr, kClassName, &wc)) {
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = ::DefWindowProc;
        wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = kClassName;
        if (!::RegisterClass(&wc))
            return FALSE;
    }
    m_bCreating = TRUE;
    BOOL made = CreateEx(exStyle, kClassName, "", style | WS_CHILD, rect.left, rect.top, rect.right - rect.left,
                         rect.bottom - rect.top, parent ? parent->GetSafeHwnd() : nullptr, (HMENU)(UINT_PTR)id);
    m_bCreating = FALSE;
    if (!made)
        return FALSE;
    Initialise();
    SetBarStyle(barStyle);
    return TRUE;
}

void COXShortcutBar::PreSubclassWindow() {
    CWnd::PreSubclassWindow();
    if (!m_bCreating) {
        m_dwBarStyle = 0x020F;
        Initialise();
    }
}

void COXShortcutBar::Initialise() {
    CreateEditControl();
    EnableToolTips(TRUE);
    m_nCheckMouseIsOverGroupID = SetTimer(kCheckMouseTimer, 500, nullptr);
    if (COleDropTarget* target = GetDropTarget())
        target->Register(this);
}

BOOL COXShortcutBar::CreateEditControl() {
    if (m_edit.GetSafeHwnd())
        return TRUE;
    return m_edit.Create(WS_BORDER, RECT{0, 0, 0, 0}, this, 0xFFFF);
}

COleDropTarget* COXShortcutBar::GetDropTarget() {
    COleDropTarget* target = nullptr;
    if (SendNotify(SHBN_GETDROPTARGET, nullptr, -1, (LPARAM)&target) && target)
        return target;
    return &m_dropTarget;
}

COXShortcutBarSkin* COXShortcutBar::GetShortcutBarSkin() {
    if (COXSkin* look = OXGetCurrentSkin())
        if (COXShortcutBarSkin* skin = look->GetShortcutBarSkin())
            return skin;
    if (!m_pShortcutBarSkin)
        m_pShortcutBarSkin = std::make_unique<COXShortcutBarSkinClassic>();
    return m_pShortcutBarSkin.get();
}

LRESULT COXShortcutBar::SendNotify(UINT code, HSHBGROUP group, int item, LPARAM lParam) const {
    if (!m_hWnd)
        return 0;
    HWND to = ::GetWindow(m_hWnd, GW_OWNER);
    if (!to)
        to = ::GetParent(m_hWnd);
    return SendShortcutBarNotify(to, m_hWnd, (UINT_PTR)::GetDlgCtrlID(m_hWnd), code, group, item, lParam);
}

BOOL COXShortcutBar::SetBarStyle(DWORD style) {
    if (style > 0xFFFF)
        return FALSE;
    m_dwBarStyle = style;
    if (m_hWnd) {
        std::vector<HWND> descendants;
        ::EnumChildWindows(
            m_hWnd,
            [](HWND child, LPARAM all) -> BOOL {
                reinterpret_cast<std::vector<HWND>*>(all)->push_back(child);
                return TRUE;
            },
            (LPARAM)&descendants);
        for (HWND child : descendants)
            ::SendMessage(child, SHBM_SHBINFOCHANGED, 0, 0x20);
        Invalidate();
    }
    return TRUE;
}

HIMAGELIST COXShortcutBar::SetHeaderImageList(HIMAGELIST images) {
    HIMAGELIST old = m_pImageList;
    m_pImageList = images;
    if (m_hWnd)
        Invalidate();
    return old;
}

// Colour helpers.

COLORREF COXShortcutBar::AdjustColor(COLORREF colour, int delta) {
    auto c = [delta](int v) { return std::clamp(v + delta, 0, 255); };
    return RGB(c(GetRValue(colour)), c(GetGValue(colour)), c(GetBValue(colour)));
}

COLORREF COXShortcutBar::InvertColor(COLORREF colour) {
    return RGB(255 - GetRValue(colour), 255 - GetGValue(colour), 255 - GetBValue(colour));
}

BOOL COXShortcutBar::IsColorClose(COLORREF a, COLORREF b, int tolerance) {
    int sum = std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
              std::abs(GetBValue(a) - GetBValue(b));
    return sum / 3 <= tolerance;
}

// Records.

COXShortcutBar::StoredInfo* COXShortcutBar::Info(HSHBGROUP group) const {
    auto it = m_mapHandleToInfo.find(group);
    return it == m_mapHandleToInfo.end() ? nullptr : it->second;
}

BOOL COXShortcutBar::VerifyGroupInfo(const SHB_GROUPINFO* info) const {
    if (!info || (info->nMask & ~0xFF0000u))
        return FALSE;
    int images = m_pImageList ? ImageList_GetImageCount(m_pImageList) : 0;
    if ((info->nMask & SHBIF_IMAGE) && (!m_pImageList || info->nImage < 0 || info->nImage >= images))
        return FALSE;
    if ((info->nMask & SHBIF_IMAGEEXPANDED) &&
        (!m_pImageList || info->nImageExpanded < 0 || info->nImageExpanded >= images))
        return FALSE;
    if (info->nMask & SHBIF_ORDER) {
        int order = info->nOrder;
        if (!(order == -1 || order == -2 || order == -3 || (order >= 0 && order < GetGroupCount())))
            return FALSE;
    }
    if ((info->nMask & SHBIF_VIEW) && (info->nView < 0 || info->nView > 3))
        return FALSE;
    if (info->nMask & SHBIF_CHILDWND) {
        HWND child = info->hwndChild;
        if (child && (!::IsWindow(child) || !(::GetWindowLongPtr(child, GWL_STYLE) & WS_CHILD) ||
                      ::GetParent(child) != m_hWnd))
            return FALSE;
    }
    return TRUE;
}

void COXShortcutBar::CopyDescriptor(SHB_DESCRIPTOR* target, const SHB_DESCRIPTOR* source, UINT flags) {
    if (!target || !source)
        return;
    BOOL cleared = (flags & SHBCD_CLEAR) != 0;
    if (cleared)
        *target = SHB_DESCRIPTOR{};
    UINT mask = (flags & SHBCD_SOURCEMASK) || cleared ? source->nMask : target->nMask;
    if (mask & SHBIF_CLRBACK)
        target->clrBackground = source->clrBackground;
    if (mask & SHBIF_CLRTEXT)
        target->clrText = source->clrText;
    if (mask & SHBIF_HDRCLRBACK)
        target->clrHeaderBackground = source->clrHeaderBackground;
    if (mask & SHBIF_HDRCLRTEXT)
        target->clrHeaderText = source->clrHeaderText;
    if (mask & SHBIF_HDRTEXTFMT)
        target->nHeaderTextFormat = source->nHeaderTextFormat;
    if (mask & SHBIF_FONT)
        target->lfText = source->lfText;
    if (mask & SHBIF_HDRFONT)
        target->lfHeader = source->lfHeader;
    if (mask & SHBIF_HDRHEIGHT)
        target->nHeaderHeight = source->nHeaderHeight;
    target->nMask |= mask & 0xFF;
}

BOOL COXShortcutBar::CopyGroupInfo(StoredInfo* target, const SHB_GROUPINFO* source, BOOL replace) {
    UINT mask = source->nMask;
    char* text = nullptr;
    if (mask & SHBIF_TEXT) {
        int length = std::max(0, source->nTextMax);
        try {
            text = new char[(size_t)length + 1];
        } catch (const std::bad_alloc&) {
            return FALSE;
        }
        // Up to the zero within the length.
        int n = 0;
        if (source->pszText)
            while (n < length && source->pszText[n])
                ++n;
        if (n)
            std::memcpy(text, source->pszText, (size_t)n);
        std::memset(text + n, 0, (size_t)(length - n) + 1);
    }
    if (replace) {
        if (target->bOwnsText)
            delete[] target->pszText;
        LPSHB_DESCRIPTOR descriptor = target->pDescriptor;
        static_cast<SHB_GROUPINFO&>(*target) = SHB_GROUPINFO{};
        target->pDescriptor = descriptor;
        target->bOwnsText = FALSE;
    }
    if (mask & SHBIF_TEXT) {
        if (target->bOwnsText)
            delete[] target->pszText;
        target->pszText = text;
        target->nTextMax = std::max(0, source->nTextMax);
        target->bOwnsText = TRUE;
    }
    if (mask & SHBIF_IMAGE)
        target->nImage = source->nImage;
    if (mask & SHBIF_IMAGEEXPANDED)
        target->nImageExpanded = source->nImageExpanded;
    if (mask & SHBIF_PARAM)
        target->lParam = source->lParam;
    if (mask & SHBIF_ORDER)
        target->nOrder = source->nOrder;
    if (mask & SHBIF_VIEW)
        target->nView = source->nView;
    if (mask & SHBIF_CHILDWND)
        target->hwndChild = source->hwndChild;
    if (mask & SHBIF_DESCRIPTOR) {
        if (source->pDescriptor) {
            if (!target->pDescriptor) {
                target->pDescriptor = new SHB_DESCRIPTOR;
                m_mapDescriptors[target->pDescriptor] = 1;
            }
            if (target->pDescriptor != source->pDescriptor)
                CopyDescriptor(target->pDescriptor, source->pDescriptor, SHBCD_CLEAR);
        } else if (target->pDescriptor) {
            m_mapDescriptors.erase(target->pDescriptor);
            delete target->pDescriptor;
            target->pDescriptor = nullptr;
            mask &= ~(UINT)SHBIF_DESCRIPTOR;
        }
    }
    UINT keep = replace ? 0 : target->nMask;
    target->nMask = keep | mask;
    if (!target->pDescriptor)
        target->nMask &= ~(UINT)SHBIF_DESCRIPTOR;
    if (!(mask & SHBIF_CHILDWND) && replace)
        target->hwndChild = nullptr;
    return TRUE;
}

HSHBGROUP COXShortcutBar::GetUniqueGroupHandle() {
    return (HSHBGROUP)(INT_PTR)++m_nLastHandle;
}

HSHBGROUP COXShortcutBar::InsertGroup(LPCTSTR text, int order, int image, int expandedImage, LPARAM lParam, int view,
                                      LPSHB_DESCRIPTOR descriptor, HWND child) {
    SHB_GROUPINFO info;
    info.nMask = 0;
    if (text) {
        info.pszText = (LPTSTR)text;
        info.nTextMax = (int)strlen(text);
        info.nMask |= SHBIF_TEXT;
    }
    if (order != -1) {
        info.nOrder = order;
        info.nMask |= SHBIF_ORDER;
    }
    if (image != -1) {
        info.nImage = image;
        info.nImageExpanded = expandedImage;
        info.nMask |= SHBIF_IMAGE | SHBIF_IMAGEEXPANDED;
    }
    if (lParam != 0) {
        info.lParam = lParam;
        info.nMask |= SHBIF_PARAM;
    }
    if (view != -1) {
        info.nView = view;
        info.nMask |= SHBIF_VIEW;
    }
    if (descriptor) {
        info.pDescriptor = descriptor;
        info.nMask |= SHBIF_DESCRIPTOR;
    }
    if (child) {
        info.hwndChild = child;
        info.nMask |= SHBIF_CHILDWND;
    }
    // The order -1 argument means "first".
    if (order == -1) {
        info.nOrder = -1;
        info.nMask |= SHBIF_ORDER;
    }
    return InsertGroup(&info);
}

HSHBGROUP COXShortcutBar::InsertGroup(const SHB_GROUPINFO* info) {
    if (!info || SendNotify(SHBN_INSERTGROUP, nullptr, -1, (LPARAM)info))
        return nullptr;
    if (!VerifyGroupInfo(info))
        return nullptr;
    HSHBGROUP group = GetUniqueGroupHandle();
    auto* stored = new StoredInfo;
    if (!CopyGroupInfo(stored, info, TRUE)) {
        delete stored;
        return nullptr;
    }
    int count = GetGroupCount();
    int order = (info->nMask & SHBIF_ORDER) ? info->nOrder : -2;
    BOOL sort = FALSE;
    if (order == -2 || order == -3) {
        sort = order == -3;
        order = count;
    } else {
        int from = order == -1 ? 0 : order;
        for (auto& [g, other] : m_mapHandleToInfo)
            if (other->nOrder >= from)
                ++other->nOrder;
        order = from;
    }
    stored->nOrder = order;
    stored->nMask |= SHBIF_ORDER;
    m_mapHandleToInfo[group] = stored;
    if (sort && !SortGroupsByText(1)) {
        DeleteGroup(group);
        return nullptr;
    }
    if (stored->hwndChild) {
        ::SendMessage(stored->hwndChild, SHBM_SETSHBGROUP, 0, (LPARAM)group);
        RecalcLayout();
        return group;
    }
    m_mapHandleToListCtrl[group] = NewListCtrl();
    if (!CreateGroupChildWindow(group)) {
        DeleteGroup(group);
        return nullptr;
    }
    RecalcLayout();
    return group;
}

COXSHBListCtrl* COXShortcutBar::NewListCtrl() {
    return new COXSHBListCtrl;
}

BOOL COXShortcutBar::CreateGroupChildWindow(HSHBGROUP group) {
    auto it = m_mapHandleToListCtrl.find(group);
    if (it == m_mapHandleToListCtrl.end() || !it->second || !m_hWnd)
        return FALSE;
    COXSHBListCtrl* list = it->second;
    if (!list->GetSafeHwnd() &&
        !list->Create(WS_CHILD | LVS_SINGLESEL | LVS_SHAREIMAGELISTS | LVS_NOSCROLL, RECT{0, 0, 0, 0}, this,
                      (UINT)(UINT_PTR)group))
        return FALSE;
    list->SendMessage(SHBM_SETSHBGROUP, 0, (LPARAM)group);
    return TRUE;
}

BOOL COXShortcutBar::DeleteGroup(HSHBGROUP group) {
    StoredInfo* info = Info(group);
    if (!info || SendNotify(SHBN_DELETEGROUP, group))
        return FALSE;
    int order = info->nOrder;
    for (auto& [g, other] : m_mapHandleToInfo)
        if (other->nOrder > order)
            --other->nOrder;
    HWND child = GetGroupChildWindow(group);
    if (child && ::IsWindow(child)) {
        ::ShowWindow(child, SW_HIDE);
        ::SendMessage(child, SHBM_DELETESHBGROUP, 0, 0);
    }
    if (info->bOwnsText)
        delete[] info->pszText;
    if (info->pDescriptor) {
        m_mapDescriptors.erase(info->pDescriptor);
        delete info->pDescriptor;
    }
    delete info;
    m_mapHandleToInfo.erase(group);
    m_mapHandleToBoundRect.erase(group);
    if (auto font = m_mapHeaderFonts.find(group); font != m_mapHeaderFonts.end()) {
        ::DeleteObject(font->second.second);
        m_mapHeaderFonts.erase(font);
    }
    for (HSHBGROUP* h : {&m_hHotHandle, &m_hPressedGroup, &m_hDragGroup, &m_hDropHilightGroup, &m_hEditGroup,
                         &m_hContextMenuGroup, &m_hSuspectDragGroup, &m_hSuspectAutoExpandGroup})
        if (*h == group)
            *h = nullptr;
    if (m_hExpandedGroup == group) {
        m_hExpandedGroup = nullptr;
        int count = GetGroupCount();
        if (count > 0) {
            RecalcLayout();
            HSHBGROUP next = FindGroupByOrder(order < count ? order : 0);
            if (next)
                AnimateExpand(next);
        }
    }
    if (auto list = m_mapHandleToListCtrl.find(group); list != m_mapHandleToListCtrl.end()) {
        delete list->second;
        m_mapHandleToListCtrl.erase(list);
    }
    if (m_hWnd) {
        RecalcLayout();
        PlaceExpandedChild();
        Invalidate();
    }
    return TRUE;
}

BOOL COXShortcutBar::DeleteAllGroups() {
    BOOL all = TRUE;
    std::vector<HSHBGROUP> groups;
    for (auto& [g, info] : m_mapHandleToInfo)
        groups.push_back(g);
    for (HSHBGROUP g : groups)
        all = DeleteGroup(g) && all;
    return all;
}

BOOL COXShortcutBar::CompareGroupInfo(const SHB_GROUPINFO* a, const SHB_GROUPINFO* b) const {
    if (!a || !b || (a->nMask & ~0xFF0000u) || (b->nMask & ~0xFF0000u))
        return FALSE;
    if ((a->nMask & b->nMask) != a->nMask)
        return FALSE;
    UINT m = a->nMask;
    if (m & SHBIF_TEXT) {
        int n = a->nTextMax;
        const char* x = a->pszText ? a->pszText : "";
        const char* y = b->pszText ? b->pszText : "";
        if (strncmp(x, y, (size_t)std::max(0, n)) != 0)
            return FALSE;
    }
    if ((m & SHBIF_IMAGE) && a->nImage != b->nImage)
        return FALSE;
    if ((m & SHBIF_IMAGEEXPANDED) && a->nImageExpanded != b->nImageExpanded)
        return FALSE;
    if ((m & SHBIF_PARAM) && a->lParam != b->lParam)
        return FALSE;
    if ((m & SHBIF_ORDER) && a->nOrder != b->nOrder)
        return FALSE;
    if ((m & SHBIF_VIEW) && a->nView != b->nView)
        return FALSE;
    if ((m & SHBIF_DESCRIPTOR) && a->pDescriptor != b->pDescriptor)
        return FALSE;
    if ((m & SHBIF_CHILDWND) && a->hwndChild != b->hwndChild)
        return FALSE;
    return TRUE;
}

HSHBGROUP COXShortcutBar::FindGroup(const SHB_GROUPINFO* info) const {
    for (const auto& [group, stored] : m_mapHandleToInfo)
        if (CompareGroupInfo(info, stored))
            return group;
    return nullptr;
}

HSHBGROUP COXShortcutBar::FindGroupByText(LPCTSTR text) const {
    if (!text)
        return nullptr;
    // Whole texts: the stored text must end where the searched one does.
    int n = (int)strlen(text);
    SHB_GROUPINFO info;
    info.pszText = (LPTSTR)text;
    info.nTextMax = n + 1;
    info.nMask = SHBIF_TEXT;
    return FindGroup(&info);
}

HSHBGROUP COXShortcutBar::FindGroupByOrder(int order) const {
    for (const auto& [group, stored] : m_mapHandleToInfo)
        if (stored->nOrder == order)
            return group;
    return nullptr;
}

COXSHBListCtrl* COXShortcutBar::GetGroupListCtrl(HSHBGROUP group) const {
    auto it = m_mapHandleToListCtrl.find(group);
    return it == m_mapHandleToListCtrl.end() ? nullptr : it->second;
}

HWND COXShortcutBar::GetGroupChildWindow(HSHBGROUP group) const {
    StoredInfo* info = Info(group);
    if (!info)
        return nullptr;
    if (info->hwndChild)
        return info->hwndChild;
    COXSHBListCtrl* list = GetGroupListCtrl(group);
    return list ? list->GetSafeHwnd() : nullptr;
}

HIMAGELIST COXShortcutBar::SetGroupImageList(HSHBGROUP group, HIMAGELIST images, int type) {
    COXSHBListCtrl* list = GetGroupListCtrl(group);
    if (!list || !list->GetSafeHwnd())
        return nullptr;
    return (HIMAGELIST)list->SendMessage(LVM_SETIMAGELIST, (WPARAM)type, (LPARAM)images);
}

int COXShortcutBar::GetGroupItemCount(HSHBGROUP group) const {
    COXSHBListCtrl* list = GetGroupListCtrl(group);
    return list && list->GetSafeHwnd() ? list->GetItemCount() : -1;
}

int COXShortcutBar::InsertGroupItem(HSHBGROUP group, UINT mask, int item, LPCTSTR text, UINT state, UINT stateMask,
                                    int image, LPARAM lParam) {
    COXSHBListCtrl* list = GetGroupListCtrl(group);
    if (!list || !list->GetSafeHwnd())
        return -1;
    return list->InsertItem(mask, item, text, state, stateMask, image, lParam);
}

BOOL COXShortcutBar::DeleteGroupItem(HSHBGROUP group, int item) {
    COXSHBListCtrl* list = GetGroupListCtrl(group);
    return list && list->GetSafeHwnd() ? list->DeleteItem(item) : FALSE;
}

BOOL COXShortcutBar::SortGroupItems(HSHBGROUP group) {
    COXSHBListCtrl* list = GetGroupListCtrl(group);
    if (!list || !list->GetSafeHwnd())
        return FALSE;
    struct Item {
        CString text;
        LVITEM lvi;
    };
    std::vector<Item> items;
    int count = list->GetItemCount();
    for (int i = 0; i < count; ++i) {
        char buffer[256] = {0};
        LVITEM lvi{};
        lvi.mask = 0x1F;
        lvi.iItem = i;
        lvi.pszText = buffer;
        lvi.cchTextMax = sizeof buffer;
        lvi.stateMask = (UINT)-1;
        list->GetItem(&lvi);
        items.push_back({CString(buffer), lvi});
    }
    std::stable_sort(items.begin(), items.end(),
                     [](const Item& a, const Item& b) { return strcmp(a.text, b.text) < 0; });
    list->DeleteAllItems();
    for (int i = 0; i < (int)items.size(); ++i) {
        LVITEM lvi = items[i].lvi;
        lvi.iItem = i;
        lvi.pszText = (LPTSTR)items[i].text.GetString();
        list->InsertItem(&lvi);
    }
    return TRUE;
}

// Getters.

CString COXShortcutBar::GetGroupText(HANDLE group) const {
    StoredInfo* info = Info(group);
    if (!info || !(info->nMask & SHBIF_TEXT) || !info->pszText)
        return CString();
    return CString(info->pszText);
}

int COXShortcutBar::GetGroupImage(HSHBGROUP group) const {
    StoredInfo* info = Info(group);
    return info && (info->nMask & SHBIF_IMAGE) ? info->nImage : -1;
}

int COXShortcutBar::GetGroupImageExpanded(HSHBGROUP group) const {
    StoredInfo* info = Info(group);
    if (info && (info->nMask & SHBIF_IMAGEEXPANDED))
        return info->nImageExpanded;
    return GetGroupImage(group);
}

int COXShortcutBar::GetGroupImage(HANDLE group, BOOL expanded) const {
    return expanded ? GetGroupImageExpanded((HSHBGROUP)group) : GetGroupImage((HSHBGROUP)group);
}

LPARAM COXShortcutBar::GetGroupData(HSHBGROUP group) const {
    StoredInfo* info = Info(group);
    return info && (info->nMask & SHBIF_PARAM) ? info->lParam : 0;
}

int COXShortcutBar::GetGroupOrder(HANDLE group) const {
    StoredInfo* info = Info(group);
    return info && (info->nMask & SHBIF_ORDER) ? info->nOrder : -1;
}

int COXShortcutBar::GetGroupView(HSHBGROUP group) const {
    StoredInfo* info = Info(group);
    return info && (info->nMask & SHBIF_VIEW) ? info->nView : SHB_LARGEICON;
}

LPSHB_DESCRIPTOR COXShortcutBar::GetGroupDescriptor(HSHBGROUP group) const {
    StoredInfo* info = Info(group);
    return info ? info->pDescriptor : nullptr;
}

BOOL COXShortcutBar::GetGroupInfo(HSHBGROUP group, SHB_GROUPINFO* out) const {
    StoredInfo* info = Info(group);
    if (!info || !out)
        return FALSE;
    *out = *info;
    return TRUE;
}

BOOL COXShortcutBar::GetGroupHeaderFont(HSHBGROUP group, LOGFONT* font) const {
    if (!font || !Info(group))
        return FALSE;
    LPSHB_DESCRIPTOR d = GetGroupDescriptor(group);
    if (d && (d->nMask & SHBIF_HDRFONT))
        *font = d->lfHeader;
    else
        ::GetObject(m_font.GetSafeHandle(), sizeof(LOGFONT), font);
    return TRUE;
}

HFONT COXShortcutBar::GetGroupHeaderFont(HANDLE handle) const {
    HSHBGROUP group = (HSHBGROUP)handle;
    LPSHB_DESCRIPTOR d = GetGroupDescriptor(group);
    if (!d || !(d->nMask & SHBIF_HDRFONT))
        return (HFONT)m_font.GetSafeHandle();
    auto& slot = m_mapHeaderFonts[group];
    if (!slot.second || std::memcmp(&slot.first, &d->lfHeader, sizeof(LOGFONT)) != 0) {
        if (slot.second)
            ::DeleteObject(slot.second);
        slot = {d->lfHeader, ::CreateFontIndirect(&d->lfHeader)};
    }
    return slot.second;
}

BOOL COXShortcutBar::GetGroupTextFont(HSHBGROUP group, LOGFONT* font) const {
    if (!font || !Info(group))
        return FALSE;
    LPSHB_DESCRIPTOR d = GetGroupDescriptor(group);
    if (d && (d->nMask & SHBIF_FONT)) {
        *font = d->lfText;
        return TRUE;
    }
    HWND child = GetGroupChildWindow(group);
    HFONT childFont = child ? (HFONT)::SendMessage(child, WM_GETFONT, 0, 0) : nullptr;
    ::GetObject(childFont ? (HGDIOBJ)childFont : m_font.GetSafeHandle(), sizeof(LOGFONT), font);
    return TRUE;
}

COLORREF COXShortcutBar::GetGroupBkColor(HANDLE group) const {
    LPSHB_DESCRIPTOR d = GetGroupDescriptor(group);
    return d && (d->nMask & SHBIF_HDRCLRBACK) ? d->clrHeaderBackground : ::GetSysColor(COLOR_BTNFACE);
}

COLORREF COXShortcutBar::GetGroupTextColor(HANDLE group) const {
    LPSHB_DESCRIPTOR d = GetGroupDescriptor(group);
    return d && (d->nMask & SHBIF_HDRCLRTEXT) ? d->clrHeaderText : ::GetSysColor(COLOR_BTNTEXT);
}

COLORREF COXShortcutBar::GetGroupListBkColor(HSHBGROUP group) const {
    LPSHB_DESCRIPTOR d = GetGroupDescriptor(group);
    if (d && (d->nMask & SHBIF_CLRBACK))
        return d->clrBackground;
    return const_cast<COXShortcutBar*>(this)->GetShortcutBarSkin()->GetListBackgroundColor(m_hWnd);
}

COLORREF COXShortcutBar::GetGroupListTextColor(HSHBGROUP group) const {
    LPSHB_DESCRIPTOR d = GetGroupDescriptor(group);
    if (d && (d->nMask & SHBIF_CLRTEXT))
        return d->clrText;
    return const_cast<COXShortcutBar*>(this)->GetShortcutBarSkin()->GetListTextColor(m_hWnd);
}

UINT COXShortcutBar::GetGroupHeaderAlign(HSHBGROUP group) const {
    LPSHB_DESCRIPTOR d = GetGroupDescriptor(group);
    return d && (d->nMask & SHBIF_HDRTEXTFMT) ? d->nHeaderTextFormat
                                              : (DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
}

int COXShortcutBar::GetGroupHeaderHeight(HSHBGROUP group) const {
    LPSHB_DESCRIPTOR d = GetGroupDescriptor(group);
    if (d && (d->nMask & SHBIF_HDRHEIGHT))
        return d->nHeaderHeight;
    return const_cast<COXShortcutBar*>(this)->GetShortcutBarSkin()->GetHeaderStyle() == 2 ? 32
                                                                                          : kDefaultHeaderHeight;
}

BOOL COXShortcutBar::GetGroupHeaderRect(HSHBGROUP group, RECT* rect) const {
    auto it = m_mapHandleToBoundRect.find(group);
    if (it == m_mapHandleToBoundRect.end() || !rect)
        return FALSE;
    *rect = it->second;
    return TRUE;
}

// Setters.

BOOL COXShortcutBar::SetGroupInfo(HSHBGROUP group, const SHB_GROUPINFO* info, BOOL replace) {
    StoredInfo* stored = Info(group);
    if (!stored || !info)
        return FALSE;
    if (info->nMask & SHBIF_ORDER) {
        if (info->nOrder < 0 || info->nOrder >= GetGroupCount())
            return FALSE;
    }
    if (!VerifyGroupInfo(info))
        return FALSE;
    int oldOrder = stored->nOrder;
    HWND oldChild = stored->hwndChild;
    if (!CopyGroupInfo(stored, info, replace))
        return FALSE;
    if (!(stored->nMask & SHBIF_ORDER) || replace) {
        if (!(info->nMask & SHBIF_ORDER))
            stored->nOrder = oldOrder;
        stored->nMask |= SHBIF_ORDER;
    }
    if ((info->nMask & SHBIF_ORDER) && info->nOrder != oldOrder) {
        // The group at the new order takes the old one.
        for (auto& [g, other] : m_mapHandleToInfo)
            if (g != group && other->nOrder == info->nOrder)
                other->nOrder = oldOrder;
    }
    if (info->nMask & (SHBIF_ORDER | SHBIF_DESCRIPTOR)) {
        RecalcLayout();
        PlaceExpandedChild();
        if (m_hWnd)
            Invalidate();
    }
    if (stored->hwndChild != oldChild) {
        if (oldChild && ::IsWindow(oldChild))
            ::ShowWindow(oldChild, SW_HIDE);
        if (stored->hwndChild) {
            ::SendMessage(stored->hwndChild, SHBM_SETSHBGROUP, 0, (LPARAM)group);
        } else {
            // Back to a list of the bar's own: the one made earlier when there is one.
            if (!GetGroupListCtrl(group))
                m_mapHandleToListCtrl[group] = NewListCtrl();
            CreateGroupChildWindow(group);
        }
        PlaceExpandedChild();
    }
    if (HWND child = GetGroupChildWindow(group))
        ::SendMessage(child, SHBM_GROUPINFOCHANGED, 0, (LPARAM)info->nMask);
    if (m_hWnd)
        RedrawHeader(group);
    return TRUE;
}

BOOL COXShortcutBar::SetGroupText(HSHBGROUP group, LPCTSTR text) {
    SHB_GROUPINFO info;
    info.pszText = (LPTSTR)(text ? text : "");
    info.nTextMax = (int)strlen(info.pszText);
    info.nMask = SHBIF_TEXT;
    return SetGroupInfo(group, &info);
}

BOOL COXShortcutBar::SetGroupImage(HSHBGROUP group, int image) {
    SHB_GROUPINFO info;
    info.nImage = image;
    info.nMask = SHBIF_IMAGE;
    return SetGroupInfo(group, &info);
}

BOOL COXShortcutBar::SetGroupOrder(HSHBGROUP group, int order) {
    SHB_GROUPINFO info;
    info.nOrder = order;
    info.nMask = SHBIF_ORDER;
    return SetGroupInfo(group, &info);
}

BOOL COXShortcutBar::SetGroupView(HSHBGROUP group, int view) {
    if (!group) {
        BOOL all = TRUE;
        std::vector<HSHBGROUP> groups;
        for (auto& [g, info] : m_mapHandleToInfo)
            groups.push_back(g);
        for (HSHBGROUP g : groups)
            all = SetGroupView(g, view) && all;
        return all;
    }
    SHB_GROUPINFO info;
    info.nView = view;
    info.nMask = SHBIF_VIEW;
    return SetGroupInfo(group, &info);
}

BOOL COXShortcutBar::SetGroupDescriptor(HSHBGROUP group, const SHB_DESCRIPTOR* descriptor) {
    SHB_GROUPINFO info;
    info.pDescriptor = (LPSHB_DESCRIPTOR)descriptor;
    info.nMask = SHBIF_DESCRIPTOR;
    return SetGroupInfo(group, &info);
}

namespace {
template <class Apply>
BOOL ChangeDescriptor(COXShortcutBar* bar, HSHBGROUP group, Apply apply) {
    if (!bar->GetGroupInfo(group, nullptr) && !bar->GetGroupDescriptor(group) && bar->GetGroupOrder(group) < 0)
        return FALSE;
    SHB_DESCRIPTOR d;
    if (LPSHB_DESCRIPTOR old = bar->GetGroupDescriptor(group))
        d = *old;
    apply(d);
    return bar->SetGroupDescriptor(group, &d);
}
}  // namespace

BOOL COXShortcutBar::SetGroupListBkColor(HSHBGROUP group, COLORREF colour) {
    return ChangeDescriptor(this, group, [colour](SHB_DESCRIPTOR& d) {
        d.clrBackground = colour;
        d.nMask |= SHBIF_CLRBACK;
    });
}

BOOL COXShortcutBar::SetGroupListTextColor(HSHBGROUP group, COLORREF colour) {
    return ChangeDescriptor(this, group, [colour](SHB_DESCRIPTOR& d) {
        d.clrText = colour;
        d.nMask |= SHBIF_CLRTEXT;
    });
}

BOOL COXShortcutBar::SetGroupBkColor(HSHBGROUP group, COLORREF colour) {
    return ChangeDescriptor(this, group, [colour](SHB_DESCRIPTOR& d) {
        d.clrHeaderBackground = colour;
        d.nMask |= SHBIF_HDRCLRBACK;
    });
}

BOOL COXShortcutBar::SortGroups(PFNSHBCOMPARE compare, LPARAM lParam, int direction) {
    m_nSortOrder = direction;
    int count = GetGroupCount();
    if (count < 2 || direction == 0 || !compare)
        return TRUE;
    std::vector<HSHBGROUP> byOrder(count);
    for (auto& [g, info] : m_mapHandleToInfo)
        if (info->nOrder >= 0 && info->nOrder < count)
            byOrder[info->nOrder] = g;
    for (int pass = 0; pass < count - 1; ++pass)
        for (int i = 0; i + 1 < count - pass; ++i) {
            LPARAM a = (LPARAM)byOrder[i], b = (LPARAM)byOrder[i + 1];
            if (compare(a, b, lParam) * direction > 0)
                std::swap(byOrder[i], byOrder[i + 1]);
        }
    for (int i = 0; i < count; ++i)
        if (StoredInfo* info = Info(byOrder[i]))
            info->nOrder = i;
    RecalcLayout();
    PlaceExpandedChild();
    if (m_hWnd)
        Invalidate();
    return TRUE;
}

BOOL COXShortcutBar::SortGroupsByText(int direction) {
    struct Context {
        const COXShortcutBar* bar;
    } context{this};
    return SortGroups(
        [](LPARAM a, LPARAM b, LPARAM data) -> int {
            const COXShortcutBar* bar = reinterpret_cast<Context*>(data)->bar;
            return strcasecmp(bar->GetGroupText((HSHBGROUP)a), bar->GetGroupText((HSHBGROUP)b));
        },
        (LPARAM)&context, direction);
}

// Layout and painting.

void COXShortcutBar::RecalcLayout() {
    m_rectChildWnd = RECT{};
    m_mapHandleToBoundRect.clear();
    if (!m_hWnd || m_mapHandleToInfo.empty())
        return;
    RECT client{};
    GetClientRect(&client);
    int count = GetGroupCount();
    int y = client.top;
    std::vector<HSHBGROUP> byOrder;
    for (int order = 0; order < count; ++order) {
        HSHBGROUP group = FindGroupByOrder(order);
        if (!group)
            continue;
        if (!byOrder.empty())
            y += m_nGroupMargin;
        RECT r{client.left, y, client.right, y + GetGroupHeaderHeight(group)};
        m_mapHandleToBoundRect[group] = r;
        byOrder.push_back(group);
        y = r.bottom;
    }
    int space = client.bottom - y;
    COXShortcutBarSkin* skin = GetShortcutBarSkin();
    HSHBGROUP expanded = m_hExpandedGroup && Info(m_hExpandedGroup) ? m_hExpandedGroup : nullptr;
    if (skin->m_bStacked) {
        if (expanded) {
            const RECT& header = m_mapHandleToBoundRect[expanded];
            m_rectChildWnd = RECT{client.left, header.bottom, client.right, header.bottom + space};
            int expandedOrder = GetGroupOrder(expanded);
            for (HSHBGROUP g : byOrder)
                if (GetGroupOrder(g) > expandedOrder)
                    ::OffsetRect(&m_mapHandleToBoundRect[g], 0, space);
        }
    } else if (space > 0 && expanded) {
        for (HSHBGROUP g : byOrder)
            ::OffsetRect(&m_mapHandleToBoundRect[g], 0, space);
        int firstTop = m_mapHandleToBoundRect[byOrder.front()].top;
        m_rectChildWnd = RECT{client.left, 25, client.right, firstTop};
    }
    m_rectChildWnd.left += m_rectChildWndMargins.left;
    m_rectChildWnd.top += m_rectChildWndMargins.top;
    m_rectChildWnd.right -= m_rectChildWndMargins.right;
    m_rectChildWnd.bottom -= m_rectChildWndMargins.bottom;
    if (m_rectChildWnd.right <= m_rectChildWnd.left || m_rectChildWnd.bottom <= m_rectChildWnd.top)
        m_rectChildWnd = RECT{};
}

void COXShortcutBar::PlaceExpandedChild() {
    if (!m_hWnd || !m_hExpandedGroup)
        return;
    HWND child = GetGroupChildWindow(m_hExpandedGroup);
    if (!child || !::IsWindow(child))
        return;
    if (::IsRectEmpty(&m_rectChildWnd)) {
        ::ShowWindow(child, SW_HIDE);
        return;
    }
    ::MoveWindow(child, m_rectChildWnd.left, m_rectChildWnd.top, m_rectChildWnd.right - m_rectChildWnd.left,
                 Height(m_rectChildWnd), FALSE);
    ::ShowWindow(child, SW_SHOW);
    ::InvalidateRect(child, nullptr, TRUE);
}

void COXShortcutBar::OnSize() {
    RecalcLayout();
    PlaceExpandedChild();
    Invalidate();
}

void COXShortcutBar::FillBackground(CDC* dc) {
    COXShortcutBarSkin* skin = GetShortcutBarSkin();
    RECT client{};
    GetClientRect(&client);
    int saved = dc->SaveDC();
    for (const auto& [g, r] : m_mapHandleToBoundRect)
        dc->ExcludeClipRect(&r);
    if (!::IsRectEmpty(&m_rectChildWnd))
        dc->ExcludeClipRect(&m_rectChildWnd);
    skin->FillBarBackground(this, dc);
    COLORREF colour = m_hExpandedGroup ? GetGroupListBkColor(m_hExpandedGroup) : skin->GetListBackgroundColor(m_hWnd);
    skin->FillListBackground(dc, client, m_hWnd, TRUE, colour);
    dc->RestoreDC(saved);
}

void COXShortcutBar::DrawHeader(LPDRAWITEMSTRUCT dis) {
    HSHBGROUP group = (HSHBGROUP)(UINT_PTR)dis->itemID;
    if (SendNotify(SHBN_DRAWHEADER, group, -1, (LPARAM)dis))
        return;
    GetShortcutBarSkin()->DrawGroupHeader(dis, this);
}

void COXShortcutBar::OnPaint() {
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(m_hWnd, &ps);
    CDC dc;
    dc.Attach(hdc);
    RECT client{};
    GetClientRect(&client);
    int saved = dc.SaveDC();
    dc.IntersectClipRect(&client);
    if (!::IsRectEmpty(&m_rectChildWnd))
        dc.ExcludeClipRect(&m_rectChildWnd);
    FillBackground(&dc);
    int count = GetGroupCount();
    for (int order = 0; order < count; ++order) {
        HSHBGROUP group = FindGroupByOrder(order);
        auto it = m_mapHandleToBoundRect.find(group);
        if (!group || it == m_mapHandleToBoundRect.end())
            continue;
        RECT r = it->second, meet{};
        if (!::IntersectRect(&meet, &r, &client))
            continue;
        CDC memory;
        memory.CreateCompatibleDC(&dc);
        CBitmap bitmap;
        bitmap.CreateCompatibleBitmap(&dc, r.right - r.left, Height(r));
        CBitmap* old = memory.SelectObject(&bitmap);
        DRAWITEMSTRUCT dis{};
        dis.CtlType = 0;
        dis.CtlID = (UINT)::GetDlgCtrlID(m_hWnd);
        dis.itemID = (UINT)(UINT_PTR)group;
        dis.itemData = (ULONG_PTR)group;
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = 0x20;
        dis.hwndItem = m_hWnd;
        dis.hDC = memory.GetSafeHdc();
        dis.rcItem = RECT{0, 0, r.right - r.left, Height(r)};
        DrawHeader(&dis);
        dc.BitBlt(r.left, r.top, r.right - r.left, Height(r), &memory, 0, 0, SRCCOPY);
        memory.SelectObject(old);
    }
    dc.RestoreDC(saved);
    dc.Detach();
    ::EndPaint(m_hWnd, &ps);
}

void COXShortcutBar::RedrawHeader(HSHBGROUP group) {
    RECT r{};
    if (m_hWnd && GetGroupHeaderRect(group, &r))
        InvalidateRect(&r, FALSE);
}

HSHBGROUP COXShortcutBar::HitTest(POINT point, int* place) const {
    if (!::IsRectEmpty(&m_rectChildWnd) && ::PtInRect(&m_rectChildWnd, point) && m_hExpandedGroup) {
        if (place)
            *place = 2;
        return m_hExpandedGroup;
    }
    for (const auto& [group, r] : m_mapHandleToBoundRect)
        if (::PtInRect(&r, point)) {
            if (place)
                *place = 1;
            return group;
        }
    if (place)
        *place = 3;
    return nullptr;
}

HSHBGROUP COXShortcutBar::AnimateExpand(HSHBGROUP group) {
    if (m_nWaitForAutoExpandID) {
        KillTimer(kHoverTimer);
        m_nWaitForAutoExpandID = 0;
    }
    HSHBGROUP old = m_hExpandedGroup;
    if (group == old || !Info(group))
        return old;
    if (SendNotify(SHBN_GROUPEXPANDING, group))
        return old;
    m_hExpandedGroup = group;
    HWND oldChild = old ? GetGroupChildWindow(old) : nullptr;
    COXShortcutBarSkin* skin = GetShortcutBarSkin();
    int oldOrder = GetGroupOrder(old), newOrder = GetGroupOrder(group);
    if (m_hWnd && skin->m_bStacked && (m_dwBarStyle & SHBS_ANIMATEEXPAND) && old && !::IsRectEmpty(&m_rectChildWnd) &&
        oldOrder >= 0 && newOrder >= 0) {
        int h = Height(m_rectChildWnd);
        int n = h / 20;
        // Too little room for two steps: no animation.
        if (n >= 2) {
            BOOL up = newOrder > oldOrder;
            int low = std::min(oldOrder, newOrder), high = std::max(oldOrder, newOrder);
            RECT childRect = m_rectChildWnd;
            for (int step = 0; step < n - 1;) {
                int move = step > n / 2 ? 40 : 20;
                step += step > n / 2 ? 2 : 1;
                RECT swept{};
                for (auto& [g, r] : m_mapHandleToBoundRect) {
                    int order = GetGroupOrder(g);
                    if (order > low && order <= high) {
                        RECT before = r;
                        ::OffsetRect(&r, 0, up ? -move : move);
                        RECT both{};
                        ::UnionRect(&both, &before, &r);
                        ::UnionRect(&swept, &swept, &both);
                    }
                }
                if (up)
                    childRect.bottom -= move;
                else
                    childRect.top += move;
                if (oldChild && ::IsWindow(oldChild) && childRect.bottom > childRect.top)
                    ::MoveWindow(oldChild, childRect.left, childRect.top, childRect.right - childRect.left,
                                 Height(childRect), FALSE);
                ::RedrawWindow(m_hWnd, &swept, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
                ::Sleep((DWORD)(100 / n));
            }
        }
    }
    RecalcLayout();
    if (oldChild && ::IsWindow(oldChild))
        ::ShowWindow(oldChild, SW_HIDE);
    if (m_hWnd)
        Invalidate();
    PlaceExpandedChild();
    SendNotify(SHBN_GROUPEXPANDED, group);
    return old;
}

// Mouse.

void COXShortcutBar::SetHotGroup(HSHBGROUP group) {
    if (group == m_hHotHandle)
        return;
    HSHBGROUP old = m_hHotHandle;
    m_hHotHandle = group;
    if (m_dwBarStyle & SHBS_FLATGROUPBUTTON) {
        RedrawHeader(old);
        RedrawHeader(group);
    }
}

void COXShortcutBar::OnLButtonDown(POINT point) {
    if (m_edit.IsEditing())
        m_edit.FinishEdit(TRUE);
    int place = 0;
    HSHBGROUP group = HitTest(point, &place);
    if (place != 1 || !group)
        return;
    m_hPressedGroup = group;
    if (!(m_dwBarStyle & SHBS_FLATGROUPBUTTON))
        AnimateExpand(group);
    else
        RedrawHeader(group);
    if (!(m_dwBarStyle & SHBS_DISABLEDRAGDROPHEADER)) {
        m_nWaitForDragHeaderID = SetTimer(kDragDelayTimer, 100, nullptr);
        m_hSuspectDragGroup = group;
        RECT r{};
        GetGroupHeaderRect(group, &r);
        m_ptDragImage = POINT{point.x - r.left, point.y - r.top};
    }
}

HSHBGROUP COXShortcutBar::DragTargetAt(POINT point) const {
    int place = 0;
    HSHBGROUP over = HitTest(point, &place);
    if (place == 1)
        return over;
    // Over no header: the header sharing the most area with the dragged header's rectangle at the mouse.
    RECT dragged{};
    if (!GetGroupHeaderRect(m_hDragGroup, &dragged))
        return nullptr;
    RECT moved{point.x - m_ptDragImage.x, point.y - m_ptDragImage.y, 0, 0};
    moved.right = moved.left + (dragged.right - dragged.left);
    moved.bottom = moved.top + Height(dragged);
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    RECT meet{};
    if (!::IntersectRect(&meet, &moved, &client))
        return nullptr;
    if (!::IsRectEmpty(&m_rectChildWnd) && moved.left >= m_rectChildWnd.left && moved.right <= m_rectChildWnd.right &&
        moved.top >= m_rectChildWnd.top && moved.bottom <= m_rectChildWnd.bottom)
        return nullptr;
    HSHBGROUP best = nullptr;
    long bestArea = 0;
    for (const auto& [g, r] : m_mapHandleToBoundRect) {
        RECT common{};
        if (::IntersectRect(&common, &r, &moved)) {
            long area = (long)(common.right - common.left) * Height(common);
            if (area > bestArea) {
                bestArea = area;
                best = g;
            }
        }
    }
    return best;
}

void COXShortcutBar::OnMouseMove(UINT keys, POINT point) {
    int place = 0;
    HSHBGROUP over = HitTest(point, &place);
    SetHotGroup(place == 1 ? over : nullptr);
    BOOL down = (keys & MK_LBUTTON) != 0;
    if (!down && m_hPressedGroup && !m_hDragGroup) {
        HSHBGROUP was = m_hPressedGroup;
        m_hPressedGroup = nullptr;
        RedrawHeader(was);
    }
    if (m_nWaitForDragHeaderID)
        return;
    if (!m_hDragGroup && down && m_hSuspectDragGroup && m_hSuspectDragGroup == m_hPressedGroup) {
        m_hDragGroup = m_hSuspectDragGroup;
        m_hSuspectDragGroup = nullptr;
        ::SetCapture(m_hWnd);
        SendNotify(SHBN_BEGINDRAGHEADER, m_hDragGroup, -1, (LPARAM)&m_ptDragImage);
        RedrawHeader(m_hDragGroup);
    }
    if (m_hDragGroup) {
        HSHBGROUP target = DragTargetAt(point);
        ::SetCursor(::LoadCursor(nullptr, !target || target == m_hDragGroup ? IDC_NO : IDC_ARROW));
        if (target != m_hDropHilightGroup) {
            HSHBGROUP old = m_hDropHilightGroup;
            m_hDropHilightGroup = target;
            RedrawHeader(old);
            RedrawHeader(target);
        }
        return;
    }
    if (!down && place == 1 && over != m_hExpandedGroup && (m_dwBarStyle & SHBS_AUTOEXPAND) && !m_hEditGroup &&
        over != m_hSuspectAutoExpandGroup) {
        m_hSuspectAutoExpandGroup = over;
        m_nWaitForAutoExpandID = SetTimer(kHoverTimer, (UINT)m_nWaitForAutoExpandTime, nullptr);
    }
}

void COXShortcutBar::OnLButtonUp(POINT point) {
    HSHBGROUP dragged = m_hDragGroup;
    if (dragged) {
        HSHBGROUP target = m_hDropHilightGroup;
        m_hDragGroup = nullptr;
        m_hDropHilightGroup = nullptr;
        if (target && target != dragged && !SendNotify(SHBN_DROPGROUP, dragged, -1, (LPARAM)target)) {
            SetGroupOrder(dragged, GetGroupOrder(target));
            PlaceExpandedChild();
        }
        Invalidate();
    }
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    if (m_nWaitForDragHeaderID) {
        KillTimer(kDragDelayTimer);
        m_nWaitForDragHeaderID = 0;
    }
    m_hSuspectDragGroup = nullptr;
    HSHBGROUP pressed = m_hPressedGroup;
    m_hPressedGroup = nullptr;
    if (!dragged && (m_dwBarStyle & SHBS_FLATGROUPBUTTON) && pressed) {
        int place = 0;
        if (HitTest(point, &place) == pressed && place == 1) {
            if (pressed != m_hExpandedGroup)
                AnimateExpand(pressed);
        }
        RedrawHeader(pressed);
    }
}

void COXShortcutBar::OnTimer(UINT_PTR id) {
    POINT cursor{};
    ::GetCursorPos(&cursor);
    ::ScreenToClient(m_hWnd, &cursor);
    if (id == kDragDelayTimer) {
        KillTimer(kDragDelayTimer);
        m_nWaitForDragHeaderID = 0;
    } else if (id == kHoverTimer) {
        KillTimer(kHoverTimer);
        m_nWaitForAutoExpandID = 0;
        HSHBGROUP waited = m_hSuspectAutoExpandGroup;
        m_hSuspectAutoExpandGroup = nullptr;
        int place = 0;
        if (waited && HitTest(cursor, &place) == waited && place == 1)
            AnimateExpand(waited);
    } else if (id == kCheckMouseTimer) {
        RECT client{};
        GetClientRect(&client);
        BOOL inside = ::PtInRect(&client, cursor) && ::WindowFromPoint([&] {
                          POINT s = cursor;
                          ::ClientToScreen(m_hWnd, &s);
                          return s;
                      }()) == m_hWnd;
        if (!inside) {
            SetHotGroup(nullptr);
            m_hSuspectAutoExpandGroup = nullptr;
        }
        if (m_hPressedGroup && !m_hDragGroup && !(::GetKeyState(VK_LBUTTON) & 0x8000)) {
            HSHBGROUP was = m_hPressedGroup;
            m_hPressedGroup = nullptr;
            RedrawHeader(was);
        }
    }
}

// Header editing.

BOOL COXShortcutBar::EditGroupHeader(HSHBGROUP group) {
    if (!(m_dwBarStyle & SHBS_EDITHEADERS) || !Info(group))
        return FALSE;
    if (m_hEditGroup && m_edit.IsEditing())
        m_edit.FinishEdit(TRUE);
    CString text = GetGroupText(group);
    if (SendNotify(SHBN_BEGINHEADEREDIT, group, -1, (LPARAM)text.GetString()))
        return FALSE;
    RECT header{}, client{};
    GetGroupHeaderRect(group, &header);
    GetClientRect(&client);
    if (header.left < client.left || header.top < client.top || header.right > client.right ||
        header.bottom > client.bottom)
        return FALSE;
    SHBE_DISPLAY d;
    d.lpText = text.GetString();
    d.rectDisplay = header;
    d.dwStyle = WS_BORDER | ES_AUTOHSCROLL;
    d.ptSelRange[0] = 0;
    d.ptSelRange[1] = -1;
    CFont* font = CFont::FromHandle(GetGroupHeaderFont((HANDLE)group));
    d.pFont = font;
    d.nMask = SHBEIF_TEXT | SHBEIF_RECTDISPLAY | SHBEIF_STYLE | SHBEIF_SELRANGE | SHBEIF_FONT;
    m_hEditGroup = group;
    if (!m_edit.StartEdit(&d)) {
        m_hEditGroup = nullptr;
        return FALSE;
    }
    return TRUE;
}

LRESULT COXShortcutBar::OnHeaderEditFinished(const NMSHBEDIT* nm) {
    HSHBGROUP group = m_hEditGroup;
    m_hEditGroup = nullptr;
    if (!group || !Info(group))
        return 0;
    if (nm->bOK) {
        CString text;
        m_edit.GetWindowText(text);
        if (!SendNotify(SHBN_ENDHEADEREDIT, group, -1, (LPARAM)text.GetString())) {
            SetGroupText(group, text);
            RedrawHeader(group);
        }
    } else {
        CString text = GetGroupText(group);
        SendNotify(SHBN_ENDHEADEREDIT, group, -1, (LPARAM)text.GetString());
    }
    return 0;
}

// Context menu and commands.

void COXShortcutBar::OnContextMenu(POINT screen) {
    if (m_nWaitForAutoExpandID) {
        KillTimer(kHoverTimer);
        m_nWaitForAutoExpandID = 0;
    }
    POINT point = screen;
    ::ScreenToClient(m_hWnd, &point);
    int place = 0;
    HSHBGROUP group = HitTest(point, &place);
    if (place == 3) {
        // On a child window that is not in the child rectangle: the expanded group still.
        group = nullptr;
    }
    m_hContextMenuGroup = group;
    CMenu menu;
    if (!menu.CreatePopupMenu())
        return;
    BOOL edit = (m_dwBarStyle & SHBS_EDITHEADERS) != 0;
    if (edit)
        menu.AppendMenu(MF_STRING, SHB_IDMADDNEWGROUP, MenuText(26842, "Add New Group"));
    if (group) {
        if (edit)
            menu.AppendMenu(MF_SEPARATOR);
        int view = m_hExpandedGroup ? GetGroupView(m_hExpandedGroup) : SHB_LARGEICON;
        menu.AppendMenu(MF_STRING | (view == SHB_LARGEICON ? MF_CHECKED : 0), SHB_IDMLARGEICON,
                        MenuText(26840, "Large Icons"));
        menu.AppendMenu(MF_STRING | (view != SHB_LARGEICON ? MF_CHECKED : 0), SHB_IDMSMALLICON,
                        MenuText(26841, "Small Icons"));
        if (edit) {
            menu.AppendMenu(MF_SEPARATOR);
            menu.AppendMenu(MF_STRING, SHB_IDMREMOVEGROUP, MenuText(26843, "Remove Group"));
            menu.AppendMenu(MF_STRING, SHB_IDMRENAMEGROUP, MenuText(26844, "Rename Group"));
        }
    }
    SHBCONTEXTMENU record{&menu, this, group, screen};
    if (place == 2 && group)
        if (HWND child = GetGroupChildWindow(group))
            ::SendMessage(child, SHBM_POPULATECONTEXTMENU, 0, (LPARAM)&record);
    if (SendNotify(SHBN_CONTEXTMENU, group, -1, (LPARAM)&record))
        return;
    if (menu.GetMenuItemCount() > 0)
        menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, this);
}

void COXShortcutBar::OnCommandId(UINT id) {
    HSHBGROUP expanded = m_hExpandedGroup;
    switch (id) {
        case SHB_IDMLARGEICON:
        case SHB_IDMSMALLICON: {
            int view = id == SHB_IDMLARGEICON ? SHB_LARGEICON : SHB_SMALLICON;
            if (expanded && GetGroupView(expanded) != view) {
                SetGroupView(expanded, view);
                PlaceExpandedChild();
            }
            break;
        }
        case SHB_IDMADDNEWGROUP: {
            HSHBGROUP group = InsertGroup("", -2);
            if (group) {
                if (GetGroupCount() > 1) {
                    RecalcLayout();
                    AnimateExpand(group);
                }
                EditGroupHeader(group);
            }
            break;
        }
        case SHB_IDMREMOVEGROUP:
            if (m_hContextMenuGroup)
                DeleteGroup(m_hContextMenuGroup);
            break;
        case SHB_IDMRENAMEGROUP:
            if (m_hContextMenuGroup)
                EditGroupHeader(m_hContextMenuGroup);
            break;
        case SHB_IDMREMOVEITEM:
        case SHB_IDMRENAMEITEM: {
            COXSHBListCtrl* list = GetGroupListCtrl(expanded);
            if (!list || !list->GetSafeHwnd() || GetGroupChildWindow(expanded) != list->GetSafeHwnd())
                break;
            int item = list->GetSelectedItem();
            if (item < 0)
                item = list->GetHotItem();
            if (item < 0)
                break;
            if (id == SHB_IDMREMOVEITEM) {
                list->DeleteItem(item);
            } else {
                list->EnsureVisible(item);
                list->EditLabel(item);
            }
            break;
        }
        default:
            break;
    }
}

BOOL COXShortcutBar::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) {
    CWnd* parent = GetParent();
    if (parent && !DYNAMIC_DOWNCAST(COXShortcutBar, parent) && parent->OnCmdMsg(id, code, extra, handlerInfo))
        return TRUE;
    if (CWnd::OnCmdMsg(id, code, extra, handlerInfo))
        return TRUE;
    if (HWND child = m_hExpandedGroup ? GetGroupChildWindow(m_hExpandedGroup) : nullptr) {
        CWnd* wnd = CWnd::FromHandlePermanent(child);
        if (wnd && !DYNAMIC_DOWNCAST(COXShortcutBar, wnd) && wnd->OnCmdMsg(id, code, extra, handlerInfo))
            return TRUE;
    }
    if (CWinApp* app = AfxGetApp())
        return app->OnCmdMsg(id, code, extra, handlerInfo);
    return FALSE;
}

INT_PTR COXShortcutBar::OnToolHitTest(POINT point, TOOLINFO* info) const {
    if (!(m_dwBarStyle & SHBS_INFOTIP))
        return -1;
    int place = 0;
    HSHBGROUP group = HitTest(point, &place);
    if (place != 1 || !group)
        return -1;
    if (info) {
        info->hwnd = m_hWnd;
        info->uId = (UINT_PTR)group;
        GetGroupHeaderRect(group, &info->rect);
        info->lpszText = LPSTR_TEXTCALLBACK;
    }
    return (INT_PTR)group;
}

// OLE drags over the bar.

LRESULT COXShortcutBar::OnDragOver(SHBDROPTARGETACTION* action) {
    if (m_dwBarStyle & SHBS_DISABLEDROPITEM)
        return 0;
    if (SendNotify(SHBN_DRAGOVER, nullptr, -1, (LPARAM)action))
        return 1;
    int place = 0;
    HSHBGROUP group = HitTest(action->point, &place);
    if (place == 1 && group && group != m_hExpandedGroup) {
        m_hSuspectAutoExpandGroup = group;
        m_nWaitForAutoExpandID = SetTimer(kHoverTimer, (UINT)(m_nWaitForAutoExpandTime / 4), nullptr);
    }
    action->result = DROPEFFECT_NONE;
    return 1;
}

LRESULT COXShortcutBar::OnDragLeave(SHBDROPTARGETACTION* action) {
    if (m_dwBarStyle & SHBS_DISABLEDROPITEM)
        return 0;
    if (SendNotify(SHBN_DRAGLEAVE, nullptr, -1, (LPARAM)action))
        return 1;
    if (m_nWaitForAutoExpandID) {
        KillTimer(kHoverTimer);
        m_nWaitForAutoExpandID = 0;
    }
    return 1;
}

HIMAGELIST COXShortcutBar::CreateGroupDragImage(HSHBGROUP group) {
    RECT r{};
    if (!GetGroupHeaderRect(group, &r))
        return nullptr;
    int w = r.right - r.left, h = Height(r);
    HIMAGELIST list = ImageList_Create(w, h, ILC_COLOR32 | ILC_MASK, 1, 1);
    CClientDC screen(this);
    CDC memory;
    memory.CreateCompatibleDC(&screen);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&screen, w, h);
    CBitmap* old = memory.SelectObject(&bitmap);
    DRAWITEMSTRUCT dis{};
    dis.itemID = (UINT)(UINT_PTR)group;
    dis.itemData = (ULONG_PTR)group;
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = 0x20;
    dis.hwndItem = m_hWnd;
    dis.hDC = memory.GetSafeHdc();
    dis.rcItem = RECT{0, 0, w, h};
    m_bCreatingDragImage = TRUE;
    DrawHeader(&dis);
    m_bCreatingDragImage = FALSE;
    memory.SelectObject(old);
    ImageList_Add(list, bitmap, nullptr);
    return list;
}

LRESULT COXShortcutBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_ERASEBKGND:
            return TRUE;
        case WM_NCHITTEST:
            return HTCLIENT;
        case WM_SIZE: {
            LRESULT r = CWnd::WindowProc(message, wParam, lParam);
            OnSize();
            return r;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            OnLButtonDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        case WM_LBUTTONUP:
            OnLButtonUp(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        case WM_MOUSEMOVE:
            OnMouseMove((UINT)wParam, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        case WM_TIMER:
            if (wParam == kDragDelayTimer || wParam == kHoverTimer || wParam == kCheckMouseTimer) {
                OnTimer(wParam);
                return 0;
            }
            break;
        case WM_CONTEXTMENU: {
            POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            OnContextMenu(screen);
            return 0;
        }
        case WM_COMMAND:
            if (lParam == 0 && LOWORD(wParam) >= SHB_IDMLARGEICON && LOWORD(wParam) <= SHB_IDMRENAMEITEM) {
                OnCommandId(LOWORD(wParam));
                return 0;
            }
            break;
        case WM_NOTIFY: {
            auto* hdr = reinterpret_cast<NMHDR*>(lParam);
            if (hdr->hwndFrom == m_edit.GetSafeHwnd() && hdr->code == SHBEN_FINISHEDIT)
                return OnHeaderEditFinished(reinterpret_cast<NMSHBEDIT*>(lParam));
            if ((hdr->code == TTN_NEEDTEXTA || hdr->code == TTN_NEEDTEXT) && Info((HSHBGROUP)hdr->idFrom)) {
                auto* tip = reinterpret_cast<NMTTDISPINFO*>(lParam);
                SHBINFOTIP request{};
                request.lpszText = request.szText;
                SendNotify(SHBN_GETHEADERINFOTIP, (HSHBGROUP)hdr->idFrom, -1, (LPARAM)&request);
                const char* text = request.lpszText ? request.lpszText : "";
                strncpy(tip->szText, text, sizeof tip->szText - 1);
                tip->szText[sizeof tip->szText - 1] = 0;
                tip->lpszText = tip->szText;
                return 0;
            }
            break;
        }
        case WM_DESTROY:
            for (UINT_PTR id : {kDragDelayTimer, kHoverTimer, kCheckMouseTimer})
                KillTimer(id);
            m_nWaitForDragHeaderID = m_nWaitForAutoExpandID = m_nCheckMouseIsOverGroupID = 0;
            m_dropTarget.Revoke();
            break;
        case SHBDTM_DRAGENTER:
        case SHBDTM_DRAGOVER:
            return OnDragOver(reinterpret_cast<SHBDROPTARGETACTION*>(lParam));
        case SHBDTM_DRAGLEAVE:
            return OnDragLeave(reinterpret_cast<SHBDROPTARGETACTION*>(lParam));
        default:
            break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
