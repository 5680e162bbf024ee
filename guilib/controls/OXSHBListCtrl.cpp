#include "guilib/controls/OXSHBListCtrl.h"

#include <algorithm>
#include <cstring>
#include <strings.h>
#include <vector>

#include "guilib/controls/OXShortcutBar.h"
#include "platform/base/GlobalMemory.h"
#include "platform/framework/gdi/DC.h"
#include "platform/framework/ole/OleDataObject.h"
#include "platform/framework/ole/OleDataSource.h"
#include "platform/user/Clipboard.h"
#include "platform/user/ImageList.h"
#include "platform/user/Resources.h"
#include "platform/user/ToolTip.h"

#include <cairo.h>

IMPLEMENT_DYNAMIC(COXSHBListCtrl, CListCtrl)

namespace {

constexpr UINT_PTR kScrollTimer = 1;
constexpr UINT_PTR kHoverTimer = 275;
constexpr int kItemGap = 6;
constexpr int kDragDistance = 9;
constexpr DWORD kUnknownVersion = 0x40000;

DWORD g_comCtlVersion = 0;  // 0: not read yet

BOOL KeyDown(int vk) {
    return (::GetKeyState(vk) & 0x8000) != 0;
}

int Height(const RECT& r) {
    return r.bottom - r.top;
}
int Width(const RECT& r) {
    return r.right - r.left;
}

// Bounded reading of a dropped block.
class BlockReader {
public:
    BlockReader(const BYTE* data, size_t size) : m_data(data), m_size(size) {}
    bool U32(DWORD& v) {
        if (m_size - m_at < 4)
            return false;
        std::memcpy(&v, m_data + m_at, 4);
        m_at += 4;
        return true;
    }
    bool Text(CString& text) {
        const void* end = std::memchr(m_data + m_at, 0, m_size - m_at);
        if (!end)
            return false;
        size_t n = (const BYTE*)end - (m_data + m_at);
        text = CString((LPCTSTR)(m_data + m_at), (int)n);
        m_at += n + 1;
        return true;
    }
    bool Bytes(size_t n, const BYTE*& p) {
        if (m_size - m_at < n)
            return false;
        p = m_data + m_at;
        m_at += n;
        return true;
    }

private:
    const BYTE* m_data;
    size_t m_size;
    size_t m_at = 0;
};

void PutU32(std::vector<BYTE>& out, DWORD v) {
    const BYTE* p = (const BYTE*)&v;
    out.insert(out.end(), p, p + 4);
}

// One image of an image list as a stream: width, height, then the pixels as 32-bit BGRA rows.
std::vector<BYTE> WriteOneImage(HIMAGELIST list, int index) {
    std::vector<BYTE> out;
    cairo_surface_t* image = user::ImageListImage(list, index);
    if (!image)
        return out;
    cairo_surface_flush(image);
    int w = cairo_image_surface_get_width(image), h = cairo_image_surface_get_height(image);
    int stride = cairo_image_surface_get_stride(image);
    const BYTE* data = cairo_image_surface_get_data(image);
    PutU32(out, (DWORD)w);
    PutU32(out, (DWORD)h);
    for (int y = 0; y < h && data; ++y)
        out.insert(out.end(), data + (size_t)y * stride, data + (size_t)y * stride + (size_t)w * 4);
    return out;
}

// Appends an image read from such a stream; -1 when it does not hold one.
int AppendImage(HIMAGELIST list, const BYTE* data, size_t size) {
    BlockReader in(data, size);
    DWORD w = 0, h = 0;
    if (!in.U32(w) || !in.U32(h) || w == 0 || h == 0 || w > 1024 || h > 1024)
        return -1;
    const BYTE* pixels = nullptr;
    if (!in.Bytes((size_t)w * h * 4, pixels))
        return -1;
    HBITMAP bitmap = ::CreateBitmap((int)w, (int)h, 1, 32, pixels);
    if (!bitmap)
        return -1;
    int index = ImageList_Add(list, bitmap, nullptr);
    ::DeleteObject(bitmap);
    return index;
}

}  // namespace

COXSHBListCtrl::COXSHBListCtrl() {
    GetComCtlVersion();
}

COXSHBListCtrl::~COXSHBListCtrl() {
    m_mapItemToBoundRect.clear();
    m_mapItemToImageRect.clear();
    m_mapItemToTextRect.clear();
    if (m_hWnd)
        DestroyWindow();
    if (m_ilLarge)
        ImageList_Destroy(m_ilLarge);
    if (m_ilSmall)
        ImageList_Destroy(m_ilSmall);
}

DWORD COXSHBListCtrl::GetComCtlVersion() {
    if (g_comCtlVersion == 0) {
        g_comCtlVersion = kUnknownVersion;
        // The platform's common controls answer 5.82.
        g_comCtlVersion = (5 << 16) | 82;
    }
    return g_comCtlVersion;
}

void COXSHBListCtrl::ResetComCtlVersionForTest() {
    g_comCtlVersion = 0;
}

BOOL COXSHBListCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    if (!CListCtrl::Create(style, rect, parent, id))
        return FALSE;
    Initialise();
    return TRUE;
}

void COXSHBListCtrl::PreSubclassWindow() {
    CListCtrl::PreSubclassWindow();
    // Only a list subclassed after creation sets itself up here; Create does it otherwise.
    if (m_hWnd && ::IsWindowVisible(m_hWnd) >= 0 && !m_edit.GetSafeHwnd()) {
        LONG_PTR style = ::GetWindowLongPtr(m_hWnd, GWL_STYLE);
        ::SetWindowLongPtr(m_hWnd, GWL_STYLE, style & ~(LONG_PTR)LVS_TYPEMASK);
    }
}

void COXSHBListCtrl::Initialise() {
    CreateEditControl();
    EnableToolTips(TRUE);
    if (COleDropTarget* target = GetDropTarget())
        target->Register(this);
}

BOOL COXSHBListCtrl::CreateEditControl() {
    if (m_edit.GetSafeHwnd())
        return TRUE;
    return m_edit.Create(WS_BORDER, RECT{0, 0, 0, 0}, this, 0xFFFF);
}

COleDropSource* COXSHBListCtrl::GetDropSource() {
    COleDropSource* source = nullptr;
    if (SendNotify(SHBN_GETDROPSOURCE, -1, (LPARAM)&source) && source)
        return source;
    m_oleDropSource.SetOwner(this);
    return &m_oleDropSource;
}

COleDropTarget* COXSHBListCtrl::GetDropTarget() {
    COleDropTarget* target = nullptr;
    if (SendNotify(SHBN_GETDROPTARGET, -1, (LPARAM)&target) && target)
        return target;
    return &m_oleDropTarget;
}

LRESULT COXSHBListCtrl::SendNotify(UINT code, int item, LPARAM lParam) {
    if (m_pShortcutBar && m_pShortcutBar->GetSafeHwnd())
        return m_pShortcutBar->SendNotify(code, m_hGroup, item, lParam);
    HWND to = ::GetWindow(m_hWnd, GW_OWNER);
    if (!to)
        to = ::GetParent(m_hWnd);
    return SendShortcutBarNotify(to, m_hWnd, (UINT_PTR)::GetDlgCtrlID(m_hWnd), code, m_hGroup, item, lParam);
}

DWORD COXSHBListCtrl::GetBarStyle() const {
    if (m_pShortcutBar)
        return m_pShortcutBar->GetBarStyle();
    DWORD style = (DWORD)::GetWindowLongPtr(m_hWnd, GWL_STYLE);
    DWORD ex = (DWORD)::SendMessage(m_hWnd, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    DWORD bar = 0;
    if (style & LVS_EDITLABELS)
        bar |= SHBS_EDITITEMS;
    if (style & LVS_SHOWSELALWAYS)
        bar |= SHBS_SHOWACTIVEALWAYS;
    if (style & LVS_NOSCROLL)
        bar |= SHBS_NOSCROLL;
    if (ex & 0x0400)
        bar |= SHBS_INFOTIP;
    if (ex & 0x0800)
        bar |= SHBS_UNDERLINEHOTITEM;
    return bar;
}

int COXSHBListCtrl::GetView() const {
    if (m_pShortcutBar)
        return m_pShortcutBar->GetGroupView(m_hGroup);
    return (::GetWindowLongPtr(m_hWnd, GWL_STYLE) & LVS_TYPEMASK) == LVS_SMALLICON ? SHB_SMALLICON : SHB_LARGEICON;
}

COLORREF COXSHBListCtrl::GetBkColor() const {
    if (m_pShortcutBar)
        return m_pShortcutBar->GetGroupListBkColor(m_hGroup);
    return (COLORREF)const_cast<COXSHBListCtrl*>(this)->CListCtrl::DefWindowProc(LVM_GETBKCOLOR, 0, 0);
}

COLORREF COXSHBListCtrl::GetTextColor() const {
    if (m_pShortcutBar)
        return m_pShortcutBar->GetGroupListTextColor(m_hGroup);
    return (COLORREF)const_cast<COXSHBListCtrl*>(this)->CListCtrl::DefWindowProc(LVM_GETTEXTCOLOR, 0, 0);
}

HFONT COXSHBListCtrl::GetItemFont() const {
    if (m_pShortcutBar) {
        LOGFONT lf{};
        if (m_pShortcutBar->GetGroupTextFont(m_hGroup, &lf)) {
            // One font per list, made again when the group's font changes.
            static thread_local std::map<const COXSHBListCtrl*, std::pair<LOGFONT, HFONT>> fonts;
            auto& slot = fonts[this];
            if (!slot.second || std::memcmp(&slot.first, &lf, sizeof lf) != 0) {
                if (slot.second)
                    ::DeleteObject(slot.second);
                slot = {lf, ::CreateFontIndirect(&lf)};
            }
            return slot.second;
        }
    }
    return (HFONT)::SendMessage(m_hWnd, WM_GETFONT, 0, 0);
}

int COXSHBListCtrl::GetItemImage(int item) const {
    LVITEM lvi{};
    lvi.mask = LVIF_IMAGE;
    lvi.iItem = item;
    if (!const_cast<COXSHBListCtrl*>(this)->CListCtrl::DefWindowProc(LVM_GETITEM, 0, (LPARAM)&lvi))
        return -1;
    return lvi.iImage;
}

void COXSHBListCtrl::RecalcLayout() {
    m_mapItemToBoundRect.clear();
    m_mapItemToImageRect.clear();
    m_mapItemToTextRect.clear();
    m_rectTopScrollButton = RECT{};
    m_rectBottomScrollButton = RECT{};
    if (!m_hWnd)
        return;
    int count = GetItemCount();
    if (count == 0)
        return;
    RECT client{};
    GetClientRect(&client);
    int width = Width(client);
    int view = GetView();
    HIMAGELIST images = (HIMAGELIST)CListCtrl::DefWindowProc(LVM_GETIMAGELIST,
                                                             view == SHB_LARGEICON ? LVSIL_NORMAL : LVSIL_SMALL, 0);
    CClientDC dc(this);
    HGDIOBJ oldFont = nullptr;
    if (HFONT font = GetItemFont())
        oldFont = ::SelectObject(dc, font);
    int y = client.top + 2;
    for (int i = 0; i < count; ++i) {
        int image = GetItemImage(i);
        int iw = 0, ih = 0;
        if (images && image >= 0 && image < ImageList_GetImageCount(images)) {
            ImageList_GetIconSize(images, &iw, &ih);
            iw += 6;
            ih += 6;
        }
        CString text = const_cast<COXSHBListCtrl*>(this)->GetItemText(i, 0);
        RECT textRect{0, 0, std::max(0, width - 4), 0};
        if (!text.IsEmpty()) {
            UINT flags = view == SHB_LARGEICON ? (DT_CENTER | DT_VCENTER | DT_WORDBREAK | DT_EDITCONTROL) : DT_VCENTER;
            ::DrawText(dc, text, text.GetLength(), &textRect, flags | DT_CALCRECT);
            textRect.right += 4;
            textRect.bottom += 4;
        } else {
            textRect = RECT{};
        }
        RECT imageRect{}, label{};
        if (view == SHB_LARGEICON) {
            imageRect.left = (width - iw) / 2;
            imageRect.top = y;
            imageRect.right = imageRect.left + iw;
            imageRect.bottom = y + ih;
            int tw = std::min(Width(textRect), width);
            label.left = (width - tw) / 2;
            label.right = label.left + tw;
            label.top = imageRect.bottom;
            label.bottom = label.top + Height(textRect);
        } else {
            int th = Height(textRect);
            imageRect = RECT{0, y, iw, y + ih};
            if (th > ih)
                ::OffsetRect(&imageRect, 0, (th - ih) / 2);
            label.left = imageRect.right + 2;
            label.right = std::min(label.left + Width(textRect), (LONG)width);
            int centre = th > ih ? y + th / 2 : y + ih / 2;
            label.top = centre - th / 2;
            label.bottom = label.top + th;
        }
        if (::IsRectEmpty(&textRect))
            label = RECT{label.left, label.top, label.left, label.top};
        RECT whole{0, std::min(imageRect.top, label.top), width, std::max(imageRect.bottom, label.bottom)};
        m_mapItemToImageRect[i] = imageRect;
        m_mapItemToTextRect[i] = label;
        m_mapItemToBoundRect[i] = whole;
        y = whole.bottom + kItemGap;
    }
    if (oldFont)
        ::SelectObject(dc, oldFont);
    CalculateScrollRects();
}

RECT COXSHBListCtrl::VisibleArea() const {
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    ::OffsetRect(&client, m_ptOrigin.x, m_ptOrigin.y);
    return client;
}

void COXSHBListCtrl::CalculateScrollRects() {
    m_rectTopScrollButton = RECT{};
    m_rectBottomScrollButton = RECT{};
    if (m_mapItemToBoundRect.empty())
        return;
    RECT client{};
    GetClientRect(&client);
    RECT area{client.left, client.top + 2, client.right, client.bottom - 2};
    SIZE size = GetScrollButtonSize();
    if (m_ptOrigin.y > 0)
        m_rectTopScrollButton = RECT{area.right - size.cx, area.top, area.right, area.top + size.cy};
    int viewBottom = m_mapItemToBoundRect.rbegin()->second.bottom;
    if (viewBottom - m_ptOrigin.y > area.bottom)
        m_rectBottomScrollButton = RECT{area.right - size.cx, area.bottom - size.cy, area.right, area.bottom};
}

BOOL COXSHBListCtrl::GetItemRectangle(int item, UINT code, RECT* rect) const {
    auto whole = m_mapItemToBoundRect.find(item);
    if (whole == m_mapItemToBoundRect.end() || !rect)
        return FALSE;
    const RECT& image = m_mapItemToImageRect.at(item);
    const RECT& text = m_mapItemToTextRect.at(item);
    switch (code) {
        case LVIR_BOUNDS:
            if (::IsRectEmpty(&image))
                *rect = text;
            else if (::IsRectEmpty(&text))
                *rect = image;
            else
                ::UnionRect(rect, &image, &text);
            break;
        case LVIR_ICON:
            *rect = image;
            break;
        case LVIR_LABEL:
            *rect = text;
            break;
        default:
            *rect = whole->second;
            break;
    }
    ::OffsetRect(rect, -m_ptOrigin.x, -m_ptOrigin.y);
    return TRUE;
}

int COXSHBListCtrl::HitTest(POINT point, UINT* flags, BOOL ignoreScrollButtons) const {
    UINT f = 0;
    int item = -1;
    if (!ignoreScrollButtons && !(GetBarStyle() & SHBS_NOSCROLL)) {
        if (::PtInRect(&m_rectTopScrollButton, point)) {
            if (flags)
                *flags = (UINT)-3;
            return -1;
        }
        if (::PtInRect(&m_rectBottomScrollButton, point)) {
            if (flags)
                *flags = (UINT)-4;
            return -1;
        }
    }
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    if (point.x < client.left)
        f |= LVHT_TOLEFT;
    if (point.x >= client.right)
        f |= LVHT_TORIGHT;
    if (point.y < client.top)
        f |= LVHT_ABOVE;
    if (point.y >= client.bottom)
        f |= LVHT_BELOW;
    if (f == 0) {
        POINT view{point.x + m_ptOrigin.x, point.y + m_ptOrigin.y};
        f = LVHT_NOWHERE;
        for (const auto& [i, whole] : m_mapItemToBoundRect) {
            if (!::PtInRect(&whole, view))
                continue;
            item = i;
            const RECT& image = m_mapItemToImageRect.at(i);
            const RECT& text = m_mapItemToTextRect.at(i);
            RECT both{};
            ::UnionRect(&both, &image, &text);
            if (::PtInRect(&image, view))
                f = LVHT_ONITEMICON;
            else if (::PtInRect(&text, view))
                f = LVHT_ONITEMLABEL;
            else
                f = ::PtInRect(&both, view) ? (UINT)-2 : (UINT)-1;
            break;
        }
    }
    if (flags)
        *flags = f;
    return item;
}

int COXSHBListCtrl::NearestItem(POINT view, int start, BOOL wrap, UINT direction) const {
    int count = (int)m_mapItemToBoundRect.size();
    if (count == 0)
        return -1;
    int first = start < 0 ? 0 : start + 1;
    std::vector<int> order;
    for (int i = first; i < count; ++i)
        order.push_back(i);
    if (wrap)
        for (int i = 0; i < first && i < count; ++i)
            order.push_back(i);
    for (int i : order) {
        const RECT& r = m_mapItemToBoundRect.at(i);
        if (::PtInRect(&r, view) || (view.y >= r.top && view.y < r.bottom))
            return i;
    }
    int best = -1, bestDistance = 0;
    for (int i : order) {
        const RECT& r = m_mapItemToBoundRect.at(i);
        int distance = -1;
        if (direction == VK_DOWN && r.top >= view.y)
            distance = r.top - view.y;
        else if (direction == VK_UP && r.bottom <= view.y)
            distance = view.y - r.bottom;
        if (distance >= 0 && (best < 0 || distance < bestDistance)) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

LRESULT COXSHBListCtrl::OnFindItem(int start, const LVFINDINFO* info) {
    if (!info)
        return -1;
    if (!(info->flags & LVFI_NEARESTXY)) {
        int count = GetItemCount();
        for (int n = 0; n < count; ++n) {
            int i = start + 1 + n;
            if (i >= count) {
                if (!(info->flags & LVFI_WRAP))
                    break;
                i -= count;
            }
            if (info->flags & LVFI_PARAM) {
                if ((LPARAM)GetItemData(i) == info->lParam)
                    return i;
            } else if ((info->flags & LVFI_STRING) && info->psz) {
                CString text = GetItemText(i, 0);
                size_t n2 = strlen(info->psz);
                if ((info->flags & LVFI_PARTIAL) ? strncasecmp(text, info->psz, n2) == 0
                                                 : strcasecmp(text, info->psz) == 0)
                    return i;
            }
        }
        return -1;
    }
    POINT view{info->pt.x + m_ptOrigin.x, info->pt.y + m_ptOrigin.y};
    return NearestItem(view, start, (info->flags & LVFI_WRAP) != 0, info->vkDirection);
}

int COXSHBListCtrl::TopIndex() const {
    RECT visible = VisibleArea();
    for (const auto& [i, r] : m_mapItemToBoundRect)
        if (r.bottom > visible.top + 2)
            return i;
    return -1;
}

void COXSHBListCtrl::Scroll(int dx, int dy) {
    if (m_mapItemToBoundRect.empty())
        return;
    RECT client{};
    GetClientRect(&client);
    if (::IsRectEmpty(&client))
        return;
    int viewBottom = m_mapItemToBoundRect.rbegin()->second.bottom + 2;
    int maxY = std::max(0, viewBottom - (int)client.bottom);
    m_ptOrigin.y = std::clamp((int)m_ptOrigin.y + dy, 0, maxY);
    m_ptOrigin.x = std::max(0, (int)m_ptOrigin.x + dx);
    if (m_ptOrigin.x > 0)
        m_ptOrigin.x = 0;
    CalculateScrollRects();
    Invalidate();
}

void COXSHBListCtrl::ScrollStep(BOOL up) {
    m_bScrollingUp = up;
    m_bScrollingDown = !up;
    if (!m_bDragDropOperation) {
        int top = TopIndex();
        if (top >= 0) {
            RECT visible = VisibleArea();
            int areaTop = visible.top + 2;
            const RECT& topRect = m_mapItemToBoundRect[top];
            int target = m_ptOrigin.y;
            if (up) {
                if (topRect.top < areaTop)
                    target = topRect.top - 2;
                else if (top > 0)
                    target = m_mapItemToBoundRect[top - 1].top - 2;
            } else {
                int count = (int)m_mapItemToBoundRect.size();
                if (top + 1 < count)
                    target = m_mapItemToBoundRect[top + 1].top - 2;
                else
                    target = topRect.bottom + 2 - Height(visible);
            }
            Scroll(0, target - m_ptOrigin.y);
        }
    }
    UINT period = m_bAutoScrolling ? 400 : 200;
    if (m_bDragDropOperation)
        period /= 4;
    m_nScrollTimerID = SetTimer(kScrollTimer, period, nullptr);
    ::InvalidateRect(m_hWnd, &m_rectTopScrollButton, FALSE);
    ::InvalidateRect(m_hWnd, &m_rectBottomScrollButton, FALSE);
}

void COXSHBListCtrl::StopButtonScroll() {
    if (m_nScrollTimerID)
        KillTimer(kScrollTimer);
    m_nScrollTimerID = 0;
    m_bScrollingUp = m_bScrollingDown = FALSE;
    m_bAutoScrolling = FALSE;
    Invalidate();
}

BOOL COXSHBListCtrl::EnsureVisible(int item) {
    RECT whole{};
    if (!GetItemRectangle(item, (UINT)-1, &whole))
        return FALSE;
    RECT client{};
    GetClientRect(&client);
    if (whole.top < client.top + 2)
        Scroll(0, whole.top - (client.top + 2));
    else if (whole.bottom > client.bottom - 2)
        Scroll(0, whole.bottom - (client.bottom - 2));
    return TRUE;
}

void COXSHBListCtrl::RedrawItem(int item) {
    RECT r{};
    if (GetItemRectangle(item, (UINT)-1, &r))
        InvalidateRect(&r, FALSE);
}

int COXSHBListCtrl::SetPressedItem(int item) {
    int old = m_nPressedItem;
    if (old == item || SendNotify(SHBN_SELECTITEM, item))
        return old;
    m_nPressedItem = item;
    RedrawItem(old);
    RedrawItem(item);
    return old;
}

int COXSHBListCtrl::SelectItem(int item) {
    int old = m_nSelectedItem;
    if (item < -1 || item >= GetItemCount())
        return -1;
    if (SendNotify(SHBN_ACTIVATEITEM, item))
        return old;
    m_nSelectedItem = item;
    RedrawItem(old);
    RedrawItem(item);
    return old;
}

int COXSHBListCtrl::SetHotItem(int item) {
    int old = m_nHotItem;
    if (old == item || SendNotify(SHBN_HOTITEM, item))
        return old;
    m_nLastHotItem = old;
    m_nHotItem = item;
    RedrawItem(old);
    RedrawItem(item);
    return old;
}

void COXSHBListCtrl::AfterItemsChanged() {
    RecalcLayout();
    if (!m_bDragDropOperation)
        Invalidate();
}

void COXSHBListCtrl::OnPaint() {
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(m_hWnd, &ps);
    CDC dc;
    dc.Attach(hdc);
    RECT client{};
    GetClientRect(&client);
    DWORD style = GetBarStyle();
    if (!(style & SHBS_NOSCROLL)) {
        DrawScrollButtons(&dc);
        if (!::IsRectEmpty(&m_rectTopScrollButton))
            dc.ExcludeClipRect(&m_rectTopScrollButton);
        if (!::IsRectEmpty(&m_rectBottomScrollButton))
            dc.ExcludeClipRect(&m_rectBottomScrollButton);
    }
    COLORREF background = GetBkColor();
    COXShortcutBarSkin* skin = m_pShortcutBar ? m_pShortcutBar->GetShortcutBarSkin() : nullptr;
    if (skin)
        skin->FillListBackground(&dc, client, m_hWnd, FALSE, background);
    else
        dc.FillSolidRect(&client, background);
    for (const auto& [i, view] : m_mapItemToBoundRect) {
        RECT r = view;
        ::OffsetRect(&r, -m_ptOrigin.x, -m_ptOrigin.y);
        RECT meet{};
        if (!::IntersectRect(&meet, &r, &client))
            continue;
        int saved = dc.SaveDC();
        dc.IntersectClipRect(&r);
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_LISTVIEW;
        dis.CtlID = (UINT)::GetDlgCtrlID(m_hWnd);
        dis.itemID = (UINT)i;
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = 0x20;
        dis.hwndItem = m_hWnd;
        dis.hDC = hdc;
        dis.rcItem = r;
        DrawItem(&dis);
        dc.RestoreDC(saved);
    }
    DrawInsertMark(&dc);
    dc.Detach();
    ::EndPaint(m_hWnd, &ps);
}

void COXSHBListCtrl::DrawItem(LPDRAWITEMSTRUCT dis) {
    int item = (int)dis->itemID;
    if (!m_bCreatingDragImage && SendNotify(SHBN_DRAWITEM, item, (LPARAM)dis))
        return;
    CDC dc;
    dc.Attach(dis->hDC);
    int saved = dc.SaveDC();
    COLORREF background = GetBkColor();
    DWORD style = GetBarStyle();
    RECT image{}, text{};
    GetItemRectangle(item, LVIR_ICON, &image);
    GetItemRectangle(item, LVIR_LABEL, &text);
    COXShortcutBarSkin* skin = m_pShortcutBar ? m_pShortcutBar->GetShortcutBarSkin() : nullptr;
    BOOL hot = !m_bCreatingDragImage && item == m_nHotItem;
    BOOL selected = !m_bCreatingDragImage && item == m_nSelectedItem && (style & SHBS_SHOWACTIVEALWAYS);
    if (!::IsRectEmpty(&image) && (hot || selected)) {
        RECT frame = image;
        ::InflateRect(&frame, -1, -1);
        BOOL sunken = selected || (item == m_nPressedItem && KeyDown(VK_LBUTTON));
        if (skin) {
            skin->DrawItemFrame(&dc, frame, hot, sunken, m_hWnd);
        } else {
            COLORREF light = COXShortcutBar::AdjustColor(background, 64);
            COLORREF dark = COXShortcutBar::AdjustColor(background, -128);
            if (sunken)
                dc.Draw3dRect(&frame, dark, light);
            else
                dc.Draw3dRect(&frame, light, dark);
        }
    }
    if (!::IsRectEmpty(&image)) {
        int view = GetView();
        HIMAGELIST images = (HIMAGELIST)CListCtrl::DefWindowProc(
            LVM_GETIMAGELIST, view == SHB_LARGEICON ? LVSIL_NORMAL : LVSIL_SMALL, 0);
        if (images)
            ImageList_Draw(images, GetItemImage(item), dc, image.left + 3, image.top + 3, ILD_TRANSPARENT);
    }
    if (!::IsRectEmpty(&text)) {
        CString label = GetItemText(item, 0);
        HFONT font = GetItemFont();
        CFont underlined;
        if (hot && (style & SHBS_UNDERLINEHOTITEM) && font) {
            LOGFONT lf{};
            ::GetObject(font, sizeof lf, &lf);
            lf.lfUnderline = TRUE;
            underlined.CreateFontIndirect(&lf);
            font = underlined;
        }
        if (font)
            ::SelectObject(dc, font);
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(GetTextColor());
        RECT r = text;
        ::InflateRect(&r, -2, -2);
        UINT flags = GetView() == SHB_LARGEICON
                         ? (DT_CENTER | DT_VCENTER | DT_WORDBREAK | DT_EDITCONTROL | DT_END_ELLIPSIS)
                         : (DT_SINGLELINE | DT_VCENTER);
        dc.DrawText(label, &r, flags);
    }
    dc.RestoreDC(saved);
    dc.Detach();
}

void COXSHBListCtrl::DrawScrollButtons(CDC* dc) {
    BOOL down = KeyDown(VK_LBUTTON) || m_bAutoScrolling;
    POINT cursor{};
    ::GetCursorPos(&cursor);
    ::ScreenToClient(m_hWnd, &cursor);
    if (!::IsRectEmpty(&m_rectTopScrollButton)) {
        RECT r = m_rectTopScrollButton;
        UINT state = DFCS_SCROLLUP;
        if (m_bScrollingUp && down && ::PtInRect(&r, cursor))
            state |= DFCS_PUSHED;
        dc->DrawFrameControl(&r, DFC_SCROLL, state);
    }
    if (!::IsRectEmpty(&m_rectBottomScrollButton)) {
        RECT r = m_rectBottomScrollButton;
        UINT state = DFCS_SCROLLDOWN;
        if (m_bScrollingDown && down && ::PtInRect(&r, cursor))
            state |= DFCS_PUSHED;
        dc->DrawFrameControl(&r, DFC_SCROLL, state);
    }
}

RECT COXSHBListCtrl::GetInsertMarkRect(int position) const {
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    int count = (int)m_mapItemToBoundRect.size();
    RECT r{};
    if (count == 0) {
        r = RECT{client.left, client.top, client.right, client.top + 10};
        return r;
    }
    if (position >= count) {
        const RECT& last = m_mapItemToBoundRect.at(count - 1);
        r = RECT{last.left, last.bottom, last.right, last.bottom + 10};
    } else if (position <= 0) {
        const RECT& first = m_mapItemToBoundRect.at(0);
        r = RECT{first.left, first.top - kItemGap, first.right, first.top};
        r.bottom = r.top + 10;
        r.top = first.top - 10 + kItemGap - kItemGap;
        r = RECT{first.left, std::max(0, (int)first.top - 10), first.right, std::max(0, (int)first.top - 10) + 10};
    } else {
        const RECT& at = m_mapItemToBoundRect.at(position);
        int middle = at.top - kItemGap / 2;
        r = RECT{at.left, middle - 7, at.right, middle - 7 + 15};
    }
    ::OffsetRect(&r, -m_ptOrigin.x, -m_ptOrigin.y);
    return r;
}

void COXSHBListCtrl::DrawInsertMark(CDC* dc) {
    int count = GetItemCount();
    if (m_nInsertItem < 0 || m_nInsertItem > count)
        return;
    RECT r = GetInsertMarkRect(m_nInsertItem);
    COLORREF colour = COXShortcutBar::IsColorClose(GetBkColor(), RGB(0, 0, 0), 64) ? RGB(255, 255, 255) : RGB(0, 0, 0);
    CPen pen(PS_SOLID, 1, colour);
    CPen* old = dc->SelectObject(&pen);
    auto line = [&](int x0, int y0, int x1, int y1) {
        dc->MoveTo(x0, y0);
        dc->LineTo(x1, y1);
    };
    int left = r.left + 1, right = r.right - 2;
    if (m_nInsertItem == 0 && count > 0 ? true : count == 0) {
        int y = r.top;
        line(left, y, right + 1, y);
        for (int i = 1; i < 10; ++i) {
            line(left, y + i, left + 10 - i, y + i);
            line(right - 10 + i + 1, y + i, right + 1, y + i);
        }
    } else if (m_nInsertItem == count) {
        int y = r.bottom - 1;
        line(left, y, right + 1, y);
        for (int i = 1; i < 10; ++i) {
            line(left, y - i, left + 10 - i, y - i);
            line(right - 10 + i + 1, y - i, right + 1, y - i);
        }
    } else {
        int y = (r.top + r.bottom) / 2;
        line(left, y, right + 1, y);
        for (int i = 1; i < 7; ++i) {
            line(left, y - i, left + 7 - i, y - i);
            line(left, y + i, left + 7 - i, y + i);
            line(right - 7 + i + 1, y - i, right + 1, y - i);
            line(right - 7 + i + 1, y + i, right + 1, y + i);
        }
    }
    dc->SelectObject(old);
}

void COXSHBListCtrl::SetInsertPosition(int position) {
    if (position == m_nInsertItem)
        return;
    RECT old = m_nInsertItem >= 0 ? GetInsertMarkRect(m_nInsertItem) : RECT{};
    m_nInsertItem = position;
    if (!::IsRectEmpty(&old))
        InvalidateRect(&old, FALSE);
    if (position >= 0) {
        RECT now = GetInsertMarkRect(position);
        InvalidateRect(&now, FALSE);
    }
    UpdateWindow();
}

void COXSHBListCtrl::OnLButtonDown(POINT point) {
    UINT flags = 0;
    int item = HitTest(point, &flags);
    if (item >= 0) {
        SetPressedItem(item);
        if (!(GetBarStyle() & SHBS_DISABLEDRAGITEM)) {
            m_ptClickedLButton = point;
            m_nClickedItem = item;
            RECT bounds{};
            GetItemRectangle(item, LVIR_BOUNDS, &bounds);
            m_ptDragImage = POINT{point.x - bounds.left, point.y - bounds.top};
        }
    } else if (flags == (UINT)-3 || flags == (UINT)-4) {
        ScrollStep(flags == (UINT)-3);
    } else {
        m_bAutoScrolling = FALSE;
    }
}

void COXSHBListCtrl::OnLButtonUp(POINT point) {
    m_nClickedItem = -1;
    UINT flags = 0;
    int item = HitTest(point, &flags);
    if (item >= 0 && item == m_nPressedItem) {
        int old = SelectItem(item);
        RedrawItem(old);
        RedrawItem(item);
    }
    if (m_bScrollingUp || m_bScrollingDown)
        StopButtonScroll();
}

void COXSHBListCtrl::TrackHot(POINT point, BOOL buttonDown) {
    UINT flags = 0;
    int item = HitTest(point, &flags);
    SetHotItem(item);
    DWORD style = GetBarStyle();
    if (m_nDragItem < 0 && !m_bDragDropOwner && buttonDown && m_nClickedItem >= 0 &&
        !(style & SHBS_DISABLEDRAGITEM)) {
        int distance = std::abs((int)(point.x - m_ptClickedLButton.x)) + std::abs((int)(point.y - m_ptClickedLButton.y));
        if (distance >= kDragDistance) {
            int dragged = m_nClickedItem;
            m_nClickedItem = -1;
            SetDragItem(dragged);
        }
    }
    if ((style & SHBS_AUTOSCROLL) && !buttonDown && (flags == (UINT)-3 || flags == (UINT)-4) && !m_nScrollTimerID) {
        m_bAutoScrolling = TRUE;
        ScrollStep(flags == (UINT)-3);
    }
}

void COXSHBListCtrl::OnMouseMove(UINT keys, POINT point) {
    if (m_nEditItem >= 0 || (m_pShortcutBar && m_pShortcutBar->GetEditGroup()))
        return;
    if (!m_nCheckMouseTimerID)
        m_nCheckMouseTimerID = SetTimer(kHoverTimer, 200, nullptr);
    m_bMouseIsOver = TRUE;
    TrackHot(point, (keys & MK_LBUTTON) != 0);
}

void COXSHBListCtrl::OnTimer(UINT_PTR id) {
    if (id == kScrollTimer) {
        POINT cursor{};
        ::GetCursorPos(&cursor);
        ::ScreenToClient(m_hWnd, &cursor);
        BOOL up = m_bScrollingUp;
        const RECT& button = up ? m_rectTopScrollButton : m_rectBottomScrollButton;
        BOOL held = KeyDown(VK_LBUTTON) || m_bAutoScrolling || m_bDragDropOperation;
        if ((m_bScrollingUp || m_bScrollingDown) && held && ::PtInRect(&button, cursor)) {
            if (m_bDragDropOperation) {
                int step = !m_mapItemToBoundRect.empty() ? Height(m_mapItemToBoundRect.begin()->second) + kItemGap : 1;
                Scroll(0, up ? -step : step);
            } else {
                ScrollStep(up);
            }
        } else {
            StopButtonScroll();
        }
        return;
    }
    if (id == kHoverTimer) {
        POINT cursor{};
        ::GetCursorPos(&cursor);
        ::ScreenToClient(m_hWnd, &cursor);
        RECT client{};
        GetClientRect(&client);
        BOOL down = KeyDown(VK_LBUTTON);
        if (!::PtInRect(&client, cursor) && !down) {
            KillTimer(kHoverTimer);
            m_nCheckMouseTimerID = 0;
            m_bMouseIsOver = FALSE;
            SetHotItem(-1);
            return;
        }
        if (m_nEditItem < 0)
            TrackHot(cursor, down);
    }
}

void COXSHBListCtrl::SetDragItem(int item) {
    if (item < 0 || item >= GetItemCount())
        return;
    SendNotify(SHBN_BEGINDRAGITEM, item, (LPARAM)&m_ptDragImage);
    CString text = GetItemText(item, 0);
    std::vector<BYTE> block(text.GetString(), text.GetString() + text.GetLength() + 1);
    PutU32(block, (DWORD)GetItemData(item));
    std::vector<std::pair<DWORD, std::vector<BYTE>>> images;
    int image = GetItemImage(item);
    for (DWORD kind : {0u, 1u}) {
        HIMAGELIST list = (HIMAGELIST)CListCtrl::DefWindowProc(LVM_GETIMAGELIST, kind == 0 ? LVSIL_NORMAL : LVSIL_SMALL, 0);
        if (list && image >= 0 && image < ImageList_GetImageCount(list)) {
            std::vector<BYTE> stream = WriteOneImage(list, image);
            if (!stream.empty())
                images.emplace_back(kind, std::move(stream));
        }
    }
    PutU32(block, (DWORD)images.size());
    for (const auto& [kind, stream] : images) {
        PutU32(block, 0);
        PutU32(block, kind);
        PutU32(block, (DWORD)stream.size());
        block.insert(block.end(), stream.begin(), stream.end());
    }
    SHBADDITIONALDROPDATA extra{0, nullptr};
    SendNotify(SHBN_GETADDITIONALDROPDATA, item, (LPARAM)&extra);
    PutU32(block, extra.lpBuffer ? extra.nBufferLength : 0);
    if (extra.lpBuffer && extra.nBufferLength)
        block.insert(block.end(), (const BYTE*)extra.lpBuffer, (const BYTE*)extra.lpBuffer + extra.nBufferLength);

    auto* source = new COleDataSource;
    HGLOBAL textBlock = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, (SIZE_T)text.GetLength() + 1);
    if (textBlock) {
        std::memcpy(::GlobalLock(textBlock), text.GetString(), (size_t)text.GetLength() + 1);
        ::GlobalUnlock(textBlock);
        source->CacheGlobalData(CF_TEXT, textBlock);
    }
    HGLOBAL itemBlock = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, block.size());
    if (itemBlock) {
        std::memcpy(::GlobalLock(itemBlock), block.data(), block.size());
        ::GlobalUnlock(itemBlock);
        source->CacheGlobalData((CLIPFORMAT)::RegisterClipboardFormat(SHB_ITEM_FORMAT), itemBlock);
    }
    m_nDragItem = item;
    PostMessage(SHBM_DODRAGITEM, (WPARAM)item, (LPARAM)source);
}

void COXSHBListCtrl::DoDragItem(int item, COleDataSource* source) {
    if (SendNotify(SHBN_BEGINDRAGDROPITEM, item, (LPARAM)source)) {
        m_nDragItem = -1;
        delete source;
        return;
    }
    SetPressedItem(-1);
    m_bDragDropOwner = TRUE;
    HWND self = m_hWnd;
    COleDropSource* dropSource = GetDropSource();
    DROPEFFECT effect = source->DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE, nullptr, dropSource);
    if (!::IsWindow(self)) {
        delete source;
        return;
    }
    if (effect == DROPEFFECT_MOVE) {
        int index = item;
        // A drop into this same list at or before the old place moved it down by one.
        if (m_nInsertItem >= 0 && m_nInsertItem <= item)
            ++index;
        DeleteItem(index);
    }
    m_nInsertItem = -1;
    m_bDragDropOwner = FALSE;
    m_nDragItem = -1;
    delete source;
    Invalidate();
    WPARAM keys = (KeyDown(VK_SHIFT) ? MK_SHIFT : 0) | (KeyDown(VK_CONTROL) ? MK_CONTROL : 0);
    POINT cursor{};
    ::GetCursorPos(&cursor);
    ::ScreenToClient(m_hWnd, &cursor);
    SendMessage(WM_LBUTTONUP, keys, MAKELPARAM(cursor.x, cursor.y));
    SendNotify(SHBN_ENDDRAGDROPITEM, -1, (LPARAM)effect);
}

LRESULT COXSHBListCtrl::OnDragEnter(SHBDROPTARGETACTION* action) {
    if (GetBarStyle() & SHBS_DISABLEDROPITEM)
        return 0;
    m_bDragDropOperation = TRUE;
    SetHotItem(-1);
    if (SendNotify(SHBN_DRAGENTER, -1, (LPARAM)action))
        return 1;
    return OnDragOver(action);
}

LRESULT COXSHBListCtrl::OnDragOver(SHBDROPTARGETACTION* action) {
    if (GetBarStyle() & SHBS_DISABLEDROPITEM)
        return 0;
    if (SendNotify(SHBN_DRAGOVER, -1, (LPARAM)action))
        return 1;
    DROPEFFECT effect = DROPEFFECT_NONE;
    int position = -1;
    CLIPFORMAT format = (CLIPFORMAT)::RegisterClipboardFormat(SHB_ITEM_FORMAT);
    POINT point = action->point;
    RECT client{};
    GetClientRect(&client);
    if (action->pDataObject && action->pDataObject->IsDataAvailable(format)) {
        effect = (action->dwKeyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
        int count = GetItemCount();
        POINT view{point.x + m_ptOrigin.x, point.y + m_ptOrigin.y};
        if (count == 0 || m_mapItemToBoundRect.empty() || view.y < m_mapItemToBoundRect.at(0).top) {
            position = 0;
        } else if (view.y >= m_mapItemToBoundRect.rbegin()->second.bottom) {
            position = count;
        } else {
            position = NearestItem(view, -1, FALSE, VK_DOWN);
            if (position < 0)
                position = count;
        }
    }
    SetInsertPosition(position);
    // Auto-scrolling near the edges.
    if (point.y >= client.top + 2 && point.y < client.top + 8 && m_ptOrigin.y > 0) {
        if (!m_nScrollTimerID)
            ScrollStep(TRUE);
    } else if (point.y > client.bottom - 8 && !::IsRectEmpty(&m_rectBottomScrollButton)) {
        if (!m_nScrollTimerID)
            ScrollStep(FALSE);
    } else if (m_nScrollTimerID) {
        KillTimer(kScrollTimer);
        m_nScrollTimerID = 0;
        m_bScrollingUp = m_bScrollingDown = FALSE;
    }
    action->result = effect;
    return 1;
}

LRESULT COXSHBListCtrl::OnDragLeave(SHBDROPTARGETACTION* action) {
    if (GetBarStyle() & SHBS_DISABLEDROPITEM)
        return 0;
    SendNotify(SHBN_DRAGLEAVE, -1, (LPARAM)action);
    SetInsertPosition(-1);
    if (m_nScrollTimerID) {
        KillTimer(kScrollTimer);
        m_nScrollTimerID = 0;
    }
    m_bScrollingUp = m_bScrollingDown = FALSE;
    m_bDragDropOperation = FALSE;
    return 1;
}

LRESULT COXSHBListCtrl::OnDrop(SHBDROPTARGETACTION* action) {
    if (GetBarStyle() & SHBS_DISABLEDROPITEM)
        return 0;
    if (SendNotify(SHBN_DROP, -1, (LPARAM)action))
        return 1;
    m_bDragDropOperation = FALSE;
    if (m_nScrollTimerID) {
        KillTimer(kScrollTimer);
        m_nScrollTimerID = 0;
    }
    int position = m_nInsertItem;
    action->result = FALSE;
    BOOL fromHere = m_bDragDropOwner;
    auto finish = [&](BOOL ok) {
        if (!fromHere) {
            m_nInsertItem = -1;
            SendNotify(SHBN_ENDDRAGDROPITEM, -1, ok ? (LPARAM)action->dropEffect : 0);
        }
        Invalidate();
        return 1;
    };
    if (!(action->dropEffect & (DROPEFFECT_COPY | DROPEFFECT_MOVE)) || position < 0)
        return finish(FALSE);
    CLIPFORMAT format = (CLIPFORMAT)::RegisterClipboardFormat(SHB_ITEM_FORMAT);
    HGLOBAL block = action->pDataObject ? action->pDataObject->GetGlobalData(format) : nullptr;
    if (!block)
        return finish(FALSE);
    SIZE_T size = ::GlobalSize(block);
    const BYTE* data = (const BYTE*)::GlobalLock(block);
    BlockReader in(data, size);
    CString text;
    DWORD itemData = 0, imageCount = 0;
    bool ok = data && in.Text(text) && in.U32(itemData) && in.U32(imageCount) && imageCount <= 2;
    struct Stream {
        DWORD kind;
        const BYTE* bytes;
        DWORD size;
    };
    std::vector<Stream> streams;
    for (DWORD i = 0; ok && i < imageCount; ++i) {
        DWORD zero = 0, kind = 0, n = 0;
        const BYTE* bytes = nullptr;
        ok = in.U32(zero) && in.U32(kind) && in.U32(n) && in.Bytes(n, bytes) && kind <= 1;
        if (ok)
            streams.push_back({kind, bytes, n});
    }
    DWORD extraSize = 0;
    const BYTE* extra = nullptr;
    ok = ok && in.U32(extraSize) && in.Bytes(extraSize, extra);
    if (!ok) {
        ::GlobalUnlock(block);
        ::GlobalFree(block);
        return finish(FALSE);
    }
    int image = -1;
    for (const Stream& s : streams) {
        int which = s.kind == 0 ? LVSIL_NORMAL : LVSIL_SMALL;
        HIMAGELIST list = (HIMAGELIST)CListCtrl::DefWindowProc(LVM_GETIMAGELIST, which, 0);
        if (!list) {
            HIMAGELIST& own = s.kind == 0 ? m_ilLarge : m_ilSmall;
            if (!own) {
                BlockReader size2(s.bytes, s.size);
                DWORD w = 0, h = 0;
                if (size2.U32(w) && size2.U32(h) && w && h && w <= 1024 && h <= 1024)
                    own = ImageList_Create((int)w, (int)h, ILC_COLOR32 | ILC_MASK, 4, 4);
            }
            list = own;
            if (list)
                CListCtrl::DefWindowProc(LVM_SETIMAGELIST, which, (LPARAM)list);
        }
        if (list) {
            int added = AppendImage(list, s.bytes, s.size);
            if (added >= 0)
                image = added;
        }
    }
    LVITEM lvi{};
    lvi.mask = LVIF_TEXT;
    lvi.iItem = position;
    lvi.pszText = (LPTSTR)text.GetString();
    if (image >= 0) {
        lvi.mask |= LVIF_IMAGE;
        lvi.iImage = image;
    }
    if (fromHere) {
        lvi.mask |= LVIF_PARAM;
        lvi.lParam = (LPARAM)itemData;
    }
    int inserted = InsertItem(&lvi);
    if (inserted >= 0 && extraSize > 0) {
        SHBADDITIONALDROPDATA additional{extraSize, (void*)extra};
        SendNotify(SHBN_HANDLEADDITIONALDROPDATA, inserted, (LPARAM)&additional);
    }
    ::GlobalUnlock(block);
    ::GlobalFree(block);
    action->result = inserted >= 0;
    return finish(inserted >= 0);
}

BOOL COXSHBListCtrl::EditLabel(int item) {
    if (!(GetBarStyle() & SHBS_EDITITEMS) || item < 0 || item >= GetItemCount())
        return FALSE;
    if (m_nEditItem >= 0 && m_edit.IsEditing())
        m_edit.FinishEdit(TRUE);
    CString text = GetItemText(item, 0);
    if (SendNotify(SHBN_BEGINITEMEDIT, item, (LPARAM)text.GetString()))
        return FALSE;
    RECT label{};
    GetItemRectangle(item, LVIR_LABEL, &label);
    RECT client{};
    GetClientRect(&client);
    int view = GetView();
    if (::IsRectEmpty(&label)) {
        // A blank text measured under (or beside) the image.
        RECT image{};
        GetItemRectangle(item, LVIR_ICON, &image);
        CClientDC dc(this);
        HGDIOBJ old = GetItemFont() ? ::SelectObject(dc, GetItemFont()) : nullptr;
        SIZE blank{};
        ::GetTextExtentPoint32(dc, " ", 1, &blank);
        if (old)
            ::SelectObject(dc, old);
        if (view == SHB_LARGEICON) {
            int centre = (client.left + client.right) / 2;
            label = RECT{centre - blank.cx / 2 - 2, image.bottom, centre + blank.cx / 2 + 2, image.bottom + blank.cy + 4};
        } else {
            label = RECT{image.right + 2, image.top, image.right + 2 + blank.cx + 4, image.top + blank.cy + 4};
        }
    }
    RECT visible{client.left, client.top + 2, client.right, client.bottom - 2};
    if (label.left < visible.left || label.top < visible.top || label.right > visible.right ||
        label.bottom > visible.bottom)
        return FALSE;
    if (view == SHB_SMALLICON)
        ::OffsetRect(&label, -2, 0);
    SHBE_DISPLAY d;
    d.lpText = text.GetString();
    d.rectDisplay = label;
    d.ptSelRange[0] = 0;
    d.ptSelRange[1] = -1;
    d.nMask = SHBEIF_TEXT | SHBEIF_RECTDISPLAY | SHBEIF_SELRANGE | SHBEIF_STYLE | SHBEIF_RECTMAX | SHBEIF_ENLARGE;
    d.bEnlargeAsTyping = TRUE;
    CFont* font = GetItemFont() ? CFont::FromHandle(GetItemFont()) : nullptr;
    if (font) {
        d.pFont = font;
        d.nMask |= SHBEIF_FONT;
    }
    if (view == SHB_LARGEICON) {
        d.dwStyle = WS_BORDER | ES_CENTER | ES_MULTILINE;
        int width = std::max(10, (int)(label.right - label.left));
        d.rectMax = RECT{client.left, label.top, client.right, client.bottom};
        if (label.right - label.left < width)
            d.rectDisplay.right = d.rectDisplay.left + width;
    } else {
        d.dwStyle = WS_BORDER | ES_AUTOHSCROLL;
        d.rectMax = RECT{label.left, label.top, client.right, std::max(label.bottom, label.top + 10)};
    }
    if (d.rectMax.right < d.rectDisplay.right)
        d.rectMax.right = d.rectDisplay.right;
    m_nEditItem = item;
    if (!m_edit.StartEdit(&d)) {
        m_nEditItem = -1;
        return FALSE;
    }
    return TRUE;
}

LRESULT COXSHBListCtrl::OnEditFinished(const NMSHBEDIT* nm) {
    int item = m_nEditItem;
    if (nm->bOK && item >= 0) {
        CString text;
        m_edit.GetWindowText(text);
        if (!SendNotify(SHBN_ENDITEMEDIT, item, (LPARAM)text.GetString()))
            SetItemText(item, 0, text);
    }
    m_nEditItem = -1;
    return 0;
}

INT_PTR COXSHBListCtrl::OnToolHitTest(POINT point, TOOLINFO* info) const {
    if (!(GetBarStyle() & SHBS_INFOTIP))
        return -1;
    UINT flags = 0;
    int item = HitTest(point, &flags, FALSE);
    if (item < 0 || flags == (UINT)-3 || flags == (UINT)-4)
        return -1;
    if (info) {
        info->hwnd = m_hWnd;
        info->uId = (UINT_PTR)(item + 1);
        GetItemRectangle(item, LVIR_BOUNDS, &info->rect);
        info->lpszText = LPSTR_TEXTCALLBACK;
    }
    return item + 1;
}

LRESULT COXSHBListCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_ERASEBKGND:
            return TRUE;
        case WM_SIZE: {
            LRESULT r = CListCtrl::WindowProc(message, wParam, lParam);
            RecalcLayout();
            Invalidate();
            return r;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            OnLButtonDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        case WM_LBUTTONUP:
            OnLButtonUp(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            return 0;
        case WM_RBUTTONUP: {
            LRESULT r = CListCtrl::WindowProc(message, wParam, lParam);
            if (GetComCtlVersion() < 0x40047) {
                POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
                ::ClientToScreen(m_hWnd, &p);
                PostMessage(WM_CONTEXTMENU, (WPARAM)m_hWnd, MAKELPARAM(p.x, p.y));
            }
            return r;
        }
        case WM_MOUSEMOVE:
            OnMouseMove((UINT)wParam, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        case WM_TIMER:
            if (wParam == kScrollTimer || wParam == kHoverTimer) {
                OnTimer(wParam);
                return 0;
            }
            break;
        case WM_DESTROY:
            KillTimer(kScrollTimer);
            KillTimer(kHoverTimer);
            m_nScrollTimerID = m_nCheckMouseTimerID = 0;
            m_oleDropTarget.Revoke();
            break;
        case WM_NOTIFY: {
            auto* hdr = reinterpret_cast<NMHDR*>(lParam);
            if (hdr->hwndFrom == m_edit.GetSafeHwnd() && hdr->code == SHBEN_FINISHEDIT)
                return OnEditFinished(reinterpret_cast<NMSHBEDIT*>(lParam));
            // An item's tooltip (tool id = item + 1): its text comes from the owner.
            if ((hdr->code == TTN_NEEDTEXTA || hdr->code == TTN_NEEDTEXT) && hdr->idFrom >= 1 &&
                (int)hdr->idFrom <= GetItemCount()) {
                auto* tip = reinterpret_cast<NMTTDISPINFO*>(lParam);
                SHBINFOTIP request{};
                request.lpszText = request.szText;
                SendNotify(SHBN_GETITEMINFOTIP, (int)hdr->idFrom - 1, (LPARAM)&request);
                const char* text = request.lpszText ? request.lpszText : "";
                strncpy(tip->szText, text, sizeof tip->szText - 1);
                tip->szText[sizeof tip->szText - 1] = 0;
                tip->lpszText = tip->szText;
                return 0;
            }
            break;
        }
        case SHBM_SETSHBGROUP:
            if (COXShortcutBar* bar = DYNAMIC_DOWNCAST(COXShortcutBar, GetParent())) {
                m_pShortcutBar = bar;
                m_hGroup = (HSHBGROUP)lParam;
                RecalcLayout();
            }
            return 0;
        case SHBM_GROUPINFOCHANGED:
            if (lParam & SHBIF_VIEW) {
                m_ptOrigin = POINT{0, 0};
                RecalcLayout();
            } else if (lParam & SHBIF_DESCRIPTOR) {
                RecalcLayout();
            }
            Invalidate();
            return 0;
        case SHBM_SHBINFOCHANGED:
            if (lParam & 0x21)
                CalculateScrollRects();
            if (lParam & 0x20)
                Invalidate();
            return 0;
        case SHBM_DELETESHBGROUP:
            return 0;
        case SHBM_POPULATECONTEXTMENU: {
            auto* record = reinterpret_cast<SHBCONTEXTMENU*>(lParam);
            if (!record || record->pShortcutBar != m_pShortcutBar || record->hGroup != m_hGroup ||
                !(GetBarStyle() & SHBS_EDITITEMS))
                return 0;
            POINT p = record->point;
            ::ScreenToClient(m_hWnd, &p);
            UINT flags = 0;
            if (HitTest(p, &flags, TRUE) < 0)
                return 0;
            CMenu* menu = record->pMenu;
            if (menu->GetMenuItemCount() > 0)
                menu->AppendMenu(MF_SEPARATOR);
            char rename[64] = {0}, remove[64] = {0};
            if (::LoadString(nullptr, 26846, rename, sizeof rename) <= 0)
                strcpy(rename, "Rename Item");
            if (::LoadString(nullptr, 26845, remove, sizeof remove) <= 0)
                strcpy(remove, "Remove Item");
            menu->AppendMenu(MF_STRING, SHB_IDMRENAMEITEM, rename);
            menu->AppendMenu(MF_STRING, SHB_IDMREMOVEITEM, remove);
            return 1;
        }
        case SHBM_DODRAGITEM:
            DoDragItem((int)wParam, reinterpret_cast<COleDataSource*>(lParam));
            return 0;
        case SHBDTM_DRAGENTER:
            return OnDragEnter(reinterpret_cast<SHBDROPTARGETACTION*>(lParam));
        case SHBDTM_DRAGOVER:
            return OnDragOver(reinterpret_cast<SHBDROPTARGETACTION*>(lParam));
        case SHBDTM_DRAGLEAVE:
            return OnDragLeave(reinterpret_cast<SHBDROPTARGETACTION*>(lParam));
        case SHBDTM_DROP:
            return OnDrop(reinterpret_cast<SHBDROPTARGETACTION*>(lParam));
        case LVM_GETBKCOLOR:
        case LVM_GETTEXTBKCOLOR:
            return (LRESULT)GetBkColor();
        case LVM_GETTEXTCOLOR:
            return (LRESULT)GetTextColor();
        case LVM_SETBKCOLOR:
            if (m_pShortcutBar)
                return m_pShortcutBar->SetGroupListBkColor(m_hGroup, (COLORREF)lParam);
            break;
        case LVM_SETTEXTCOLOR:
            if (m_pShortcutBar)
                return m_pShortcutBar->SetGroupListTextColor(m_hGroup, (COLORREF)lParam);
            break;
        case LVM_SETTEXTBKCOLOR:
            if (m_pShortcutBar)
                return 0;
            break;
        case LVM_SETITEM:
        case LVM_SETITEMTEXT: {
            LRESULT r = CListCtrl::WindowProc(message, wParam, lParam);
            RecalcLayout();
            Invalidate();
            return r;
        }
        case LVM_INSERTITEM: {
            LRESULT r = CListCtrl::WindowProc(message, wParam, lParam);
            int at = (int)r;
            if (at >= 0) {
                SendNotify(SHBN_INSERTITEM, at, lParam);
                if (m_nPressedItem >= at)
                    ++m_nPressedItem;
                if (m_nSelectedItem >= at)
                    ++m_nSelectedItem;
                AfterItemsChanged();
            }
            return r;
        }
        case LVM_DELETEITEM: {
            int at = (int)wParam;
            if (at < 0 || at >= GetItemCount())
                return FALSE;
            SendNotify(SHBN_DELETEITEM, at);
            LRESULT r = CListCtrl::WindowProc(message, wParam, lParam);
            auto shift = [at](int& index) {
                if (index == at)
                    index = -1;
                else if (index > at)
                    --index;
            };
            shift(m_nPressedItem);
            shift(m_nSelectedItem);
            shift(m_nHotItem);
            RecalcLayout();
            RECT client{};
            GetClientRect(&client);
            RECT visible = VisibleArea();
            bool anyVisible = false;
            for (const auto& [i, rr] : m_mapItemToBoundRect) {
                RECT meet{};
                if (::IntersectRect(&meet, &rr, &visible))
                    anyVisible = true;
            }
            if (!anyVisible) {
                m_ptOrigin = POINT{0, 0};
                CalculateScrollRects();
            }
            if (!m_bDragDropOperation)
                Invalidate();
            return r;
        }
        case LVM_DELETEALLITEMS: {
            SendNotify(SHBN_DELETEALLITEMS, -1);
            LRESULT r = CListCtrl::WindowProc(message, wParam, lParam);
            m_ptOrigin = POINT{0, 0};
            m_nPressedItem = m_nSelectedItem = m_nHotItem = -1;
            RecalcLayout();
            Invalidate();
            return r;
        }
        case LVM_SORTITEMS: {
            LRESULT r = CListCtrl::WindowProc(message, wParam, lParam);
            m_nPressedItem = m_nSelectedItem = -1;
            RecalcLayout();
            Invalidate();
            return r;
        }
        case LVM_FINDITEM:
            return OnFindItem((int)wParam, reinterpret_cast<const LVFINDINFO*>(lParam));
        case LVM_GETITEMRECT: {
            auto* rect = reinterpret_cast<RECT*>(lParam);
            if (!rect)
                return FALSE;
            UINT code = (UINT)rect->left;
            return GetItemRectangle((int)wParam, code == (UINT)-1 ? (UINT)-1 : code, rect);
        }
        case LVM_GETITEMPOSITION: {
            RECT whole{};
            if (!lParam || !GetItemRectangle((int)wParam, (UINT)-1, &whole))
                return FALSE;
            *reinterpret_cast<POINT*>(lParam) = POINT{whole.left, whole.top};
            return TRUE;
        }
        case LVM_HITTEST: {
            auto* info = reinterpret_cast<LVHITTESTINFO*>(lParam);
            if (!info)
                return -1;
            info->iItem = HitTest(info->pt, &info->flags);
            return info->iItem;
        }
        case LVM_ENSUREVISIBLE:
            return EnsureVisible((int)wParam);
        case LVM_SCROLL:
            Scroll((int)wParam, (int)lParam);
            return TRUE;
        case LVM_REDRAWITEMS:
            for (int i = (int)wParam; i <= (int)lParam; ++i)
                RedrawItem(i);
            return TRUE;
        case LVM_UPDATE:
            RedrawItem((int)wParam);
            return TRUE;
        case LVM_GETTOPINDEX:
            return TopIndex();
        case LVM_GETCOUNTPERPAGE: {
            RECT visible = VisibleArea();
            int n = 0;
            for (const auto& [i, r] : m_mapItemToBoundRect) {
                RECT meet{};
                if (::IntersectRect(&meet, &r, &visible))
                    ++n;
            }
            return n;
        }
        case LVM_GETVIEWRECT: {
            auto* rect = reinterpret_cast<RECT*>(lParam);
            if (!rect)
                return FALSE;
            *rect = RECT{};
            for (const auto& [i, r] : m_mapItemToBoundRect)
                ::UnionRect(rect, rect, &r);
            return TRUE;
        }
        case LVM_GETORIGIN:
            if (lParam)
                *reinterpret_cast<POINT*>(lParam) = m_ptOrigin;
            return TRUE;
        case LVM_GETHOTITEM:
            return m_nHotItem;
        case LVM_SETHOTITEM:
            return SetHotItem((int)wParam);
        case LVM_EDITLABEL:
            return EditLabel((int)wParam) ? (LRESULT)m_edit.GetSafeHwnd() : 0;
        case LVM_GETEDITCONTROL:
            return (LRESULT)m_edit.GetSafeHwnd();
        default:
            break;
    }
    return CListCtrl::WindowProc(message, wParam, lParam);
}
