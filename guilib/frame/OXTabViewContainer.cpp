#include "guilib/frame/OXTabViewContainer.h"

#include "guilib/frame/OXTabViewPage.h"

#include <algorithm>
#include <mutex>

#include "platform/base/Exceptions.h"
#include "platform/framework/app/WinThread.h"
#include "platform/framework/bars/RectTracker.h"
#include "platform/framework/docview/View.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/Resources.h"

IMPLEMENT_DYNAMIC(COXTabViewContainer, CWnd)

namespace {
// Syncing and re-detecting the page's scroll bars each guard against re-entry, shared by all containers.
bool g_bUpdatingScrollInfo = false;
bool g_bUpdatingScrollState = false;

int Width(const RECT& r) { return r.right - r.left; }
bool Empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }
void MoveTo(CWnd* wnd, const RECT& r) {
    if (wnd && wnd->m_hWnd)
        ::MoveWindow(wnd->m_hWnd, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

HFONT MakeTabFont(int weight) {
    HDC dc = ::GetDC(nullptr);
    int height = -::MulDiv(8, ::GetDeviceCaps(dc, LOGPIXELSY), 72);
    ::ReleaseDC(nullptr, dc);
    return ::CreateFont(height, 0, 0, 0, weight, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
}

// Tabs scrolled while the strip was narrower (before the first layout, say) come back as far as the
// strip now leaves room after the last tab.
template <typename Rects>
void KeepTabsInStrip(int& origin, int stripWidth, const Rects& tabs) {
    int n = (int)tabs.GetSize();
    if (n > 0 && origin < 0 && stripWidth > 0)
        origin = std::min(0, std::max(origin, stripWidth - (int)tabs[n - 1].right));
}

// A usable range: something to scroll and a page.
bool Usable(const SCROLLINFO& si) { return si.nMax - si.nMin != 0 && si.nPage != 0; }

// Hides a page's own bars; the page's size handling keeps out of the resize this makes.
void HidePageBars(HWND page) {
    BOOL old = g_bOXTabViewPageNoSize;
    g_bOXTabViewPageNoSize = TRUE;
    ::ShowScrollBar(page, SB_BOTH, FALSE);
    g_bOXTabViewPageNoSize = old;
}
}  // namespace

COXTabViewContainer::COXTabViewContainer() {
    m_arrUniqueIDs.Add(1);
    m_fontTabBtnText = MakeTabFont(FW_NORMAL);
    m_fontActiveTabBtnText = MakeTabFont(FW_BOLD);
}

COXTabViewContainer::~COXTabViewContainer() {
    if (m_hWnd)
        DestroyWindow();
    if (m_fontTabBtnText)
        ::DeleteObject(m_fontTabBtnText);
    if (m_fontActiveTabBtnText)
        ::DeleteObject(m_fontActiveTabBtnText);
}

BOOL COXTabViewContainer::Create(LPCTSTR, LPCTSTR, DWORD style, const RECT& rect, CWnd* parent, UINT id, LPVOID) {
    return CreateContainer(parent, rect, style, id);
}

BOOL COXTabViewContainer::CreateContainer(CWnd* parent, const RECT& rect, DWORD style, UINT id) {
    static const char* const kClass = "TabViewContainer";
    static std::once_flag once;
    std::call_once(once, [] {
        WNDCLASS wc{};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = ::DefWindowProc;
        wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
        wc.lpszClassName = kClass;
        ::RegisterClass(&wc);
    });
    style &= ~(DWORD)(WS_HSCROLL | WS_VSCROLL | WS_BORDER);
    if (!CWnd::CreateEx(WS_EX_CLIENTEDGE, kClass, nullptr, style | WS_CHILD, rect, parent, id))
        return FALSE;
    if (parent && parent->m_hWnd) {
        LONG_PTR ex = ::GetWindowLongPtr(parent->m_hWnd, GWL_EXSTYLE);
        if (ex & WS_EX_CLIENTEDGE) {
            ::SetWindowLongPtr(parent->m_hWnd, GWL_EXSTYLE, ex & ~(LONG_PTR)WS_EX_CLIENTEDGE);
            ::SetWindowPos(parent->m_hWnd, nullptr, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        }
    }
    ::SetWindowLongPtr(m_hWnd, GWLP_USERDATA, ID_TABVIEWCONTAINER_SIGN);
    SetScrollStyle(0, TRUE);
    RecalcLayout();
    return TRUE;
}

// ---- Pages ----------------------------------------------------------------------------------------

CWnd* COXTabViewContainer::GetPage(int index) const {
    return index >= 0 && index < GetPageCount() ? m_arrPages[index].pWnd : nullptr;
}

CString COXTabViewContainer::GetPageTitle(int index) const {
    return index >= 0 && index < GetPageCount() ? m_arrPages[index].sTitle : CString();
}

BOOL COXTabViewContainer::SetPageTitle(int index, LPCTSTR title) {
    if (index < 0 || index >= GetPageCount())
        return FALSE;
    m_arrPages[index].sTitle = title;
    CalcTabWidths();
    RedrawTabArea();
    return TRUE;
}

int COXTabViewContainer::FindPageIndex(const CWnd* page) const {
    if (!page)
        return -1;
    for (int i = 0; i < GetPageCount(); ++i)
        if (m_arrPages[i].pWnd == page)
            return i;
    return FindPageIndex(page->m_hWnd);
}

int COXTabViewContainer::FindPageIndex(HWND page) const {
    if (!page)
        return -1;
    for (int i = 0; i < GetPageCount(); ++i)
        if (m_arrPages[i].pWnd && m_arrPages[i].pWnd->m_hWnd == page)
            return i;
    return -1;
}

int COXTabViewContainer::FindPageIndexByTitle(LPCTSTR title) const {
    for (int i = 0; i < GetPageCount(); ++i)
        if (m_arrPages[i].sTitle == title)
            return i;
    return -1;
}

CWnd* COXTabViewContainer::FindPageByTitle(LPCTSTR title) const {
    return GetPage(FindPageIndexByTitle(title));
}

BOOL COXTabViewContainer::InsertPage(int index, CWnd* page, LPCTSTR title) {
    if (index < 0 || index > GetPageCount() || !page || !::IsWindow(page->m_hWnd))
        return FALSE;
    ::SetParent(page->m_hWnd, m_hWnd);
    PAGEINFO info;
    info.pWnd = page;
    if (title && *title) {
        info.sTitle = title;
    } else {
        page->GetWindowText(info.sTitle);
        if (info.sTitle.IsEmpty())
            info.sTitle.Format("%d", index);
    }
    m_arrPages.InsertAt(index, info);
    if (m_nActivePageIndex >= index)
        ++m_nActivePageIndex;
    CalcTabWidths();
    SetActivePage(index);
    RedrawTabArea();
    return TRUE;
}

BOOL COXTabViewContainer::InsertViewPage(int index, const CRuntimeClass* viewClass, CCreateContext* context,
                                         LPCTSTR title) {
    if (index < 0 || index > GetPageCount() || !viewClass)
        return FALSE;
    CCreateContext made;
    if (!context) {
        if (CWnd* active = GetActivePage(); active && active->IsKindOf(RUNTIME_CLASS(CView))) {
            made.m_pCurrentDoc = static_cast<CView*>(active)->GetDocument();
            made.m_pCurrentFrame = active->GetParentFrame();
        }
        context = &made;
    }
    CObject* object = viewClass->CreateObject();
    if (!object)
        AfxThrowMemoryException();
    CWnd* page = dynamic_cast<CWnd*>(object);
    if (!page) {
        delete object;
        return FALSE;
    }
    if (!page->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, m_rectPage, this, GetUniqueId(), context)) {
        // A view deletes itself when its window goes; one never made is deleted here.
        if (!page->m_hWnd)
            delete page;
        return FALSE;
    }
    if (!InsertPage(index, page, title)) {
        page->DestroyWindow();
        return FALSE;
    }
    if (page->IsKindOf(RUNTIME_CLASS(CView)))
        page->SendMessage(WM_INITIALUPDATE, 0, 0);
    return TRUE;
}

BOOL COXTabViewContainer::DeletePage(int index, BOOL destroy) {
    if (index < 0 || index >= GetPageCount())
        return FALSE;
    if (index == m_nActivePageIndex) {
        if (GetPageCount() == 1) {
            // The only page goes: the container is left with no active page.
            GiveBackScrollBars(index);
            m_nActivePageIndex = -1;
        } else {
            SetActivePage(index == GetPageCount() - 1 ? 0 : index + 1);
        }
    }
    CWnd* page = m_arrPages[index].pWnd;
    if (page && ::IsWindow(page->m_hWnd)) {
        UINT id = (UINT)::GetDlgCtrlID(page->m_hWnd);
        if (id != 0)
            m_arrUniqueIDs.Add(id);
        if (destroy)
            page->DestroyWindow();
    }
    m_arrPages.RemoveAt(index);
    if (m_nActivePageIndex > index)
        --m_nActivePageIndex;
    CalcTabWidths();
    RedrawTabArea();
    return TRUE;
}

UINT COXTabViewContainer::GetUniqueId() {
    if (m_arrUniqueIDs.GetSize() > 1) {
        UINT id = m_arrUniqueIDs[m_arrUniqueIDs.GetSize() - 1];
        m_arrUniqueIDs.RemoveAt(m_arrUniqueIDs.GetSize() - 1);
        return id;
    }
    UINT id = m_arrUniqueIDs[0];
    m_arrUniqueIDs[0] = id + 1;
    return id;
}

BOOL COXTabViewContainer::SetActivePage(int index) {
    int old = m_nActivePageIndex;
    CWnd* oldPage = GetPage(old);
    if (oldPage && old != index) {
        GiveBackScrollBars(old);
        oldPage->ShowWindow(SW_HIDE);
        ::ShowScrollBar(oldPage->m_hWnd, SB_HORZ, m_arrPages[old].bHasScrollHorz);
        ::ShowScrollBar(oldPage->m_hWnd, SB_VERT, m_arrPages[old].bHasScrollVert);
    }
    if (index < 0 || index >= GetPageCount()) {
        m_nActivePageIndex = -1;
        return FALSE;
    }
    m_nActivePageIndex = index;
    EnsureTabVisible(index);
    CWnd* page = m_arrPages[index].pWnd;
    if (old != index)
        TakeOverScrollBars(index);
    page->ShowWindow(SW_SHOW);
    FitActivePage();

    CWnd* parent = GetParent();
    CFrameWnd* frame = parent && parent->IsFrameWnd() ? static_cast<CFrameWnd*>(parent) : nullptr;
    if (frame && page->IsKindOf(RUNTIME_CLASS(CView))) {
        frame->SetActiveView(static_cast<CView*>(page));
    } else {
        if (frame && oldPage && oldPage != page && oldPage->IsKindOf(RUNTIME_CLASS(CView)))
            frame->SetActiveView(nullptr);
        if (::IsWindowVisible(m_hWnd))
            page->SetFocus();
    }
    RedrawTabArea();
    return TRUE;
}

void COXTabViewContainer::FitActivePage() {
    CWnd* page = GetActivePage();
    if (!page || Empty(m_rectPage))
        return;
    RECT r;
    ::GetWindowRect(page->m_hWnd, &r);
    if (Width(r) == Width(m_rectPage) && r.bottom - r.top == m_rectPage.bottom - m_rectPage.top) {
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&r), 2);
        if (r.left != m_rectPage.left || r.top != m_rectPage.top)
            MoveTo(page, m_rectPage);
        else
            page->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(Width(m_rectPage), m_rectPage.bottom - m_rectPage.top));
    } else {
        MoveTo(page, m_rectPage);
    }
}

// ---- Scroll bars of the pages ---------------------------------------------------------------------

void COXTabViewContainer::GetPageScrollInfo(PAGEINFO& info, BOOL horz, BOOL vert) {
    HWND h = info.pWnd->m_hWnd;
    info.scrlInfoHorz = SCROLLINFO{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    info.scrlInfoVert = SCROLLINFO{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    if (horz)
        ::GetScrollInfo(h, SB_HORZ, &info.scrlInfoHorz);
    if (vert)
        ::GetScrollInfo(h, SB_VERT, &info.scrlInfoVert);
    if (horz && vert) {
        // Each bar's range is shortened by the other bar's thickness.
        auto shorten = [](SCROLLINFO& si, int by) {
            si.nMax = std::max(si.nMin, si.nMax - by);
            si.nPage = std::min<UINT>(si.nPage, (UINT)(si.nMax - si.nMin + 1));
            si.nPos = std::clamp(si.nPos, si.nMin, si.nMax);
        };
        shorten(info.scrlInfoHorz, ::GetSystemMetrics(SM_CXVSCROLL));
        shorten(info.scrlInfoVert, 1);
    }
}

void COXTabViewContainer::TakeOverScrollBars(int index) {
    PAGEINFO& info = m_arrPages[index];
    HWND h = info.pWnd->m_hWnd;
    DWORD style = (DWORD)::GetWindowLongPtr(h, GWL_STYLE);
    info.bHasScrollHorz = (style & WS_HSCROLL) != 0;
    info.bHasScrollVert = (style & WS_VSCROLL) != 0;
    GetPageScrollInfo(info, info.bHasScrollHorz, info.bHasScrollVert);
    bool horz = info.bHasScrollHorz && Usable(info.scrlInfoHorz);
    bool vert = info.bHasScrollVert && Usable(info.scrlInfoVert);
    SetScrollStyle((horz ? WS_HSCROLL : 0) | (vert ? WS_VSCROLL : 0));
    HidePageBars(h);
    if (m_scrlBarHorz.m_hWnd && (info.bHasScrollHorz || Usable(info.scrlInfoHorz)))
        m_scrlBarHorz.SetScrollInfo(&info.scrlInfoHorz);
    if (m_scrlBarVert.m_hWnd && (info.bHasScrollVert || Usable(info.scrlInfoVert)))
        m_scrlBarVert.SetScrollInfo(&info.scrlInfoVert);
}

void COXTabViewContainer::GiveBackScrollBars(int index) {
    if (index < 0 || index >= GetPageCount())
        return;
    UpdateScrollInfo();
}

void COXTabViewContainer::UpdateScrollInfo() {
    if (g_bUpdatingScrollInfo || g_bUpdatingScrollState)
        return;
    CWnd* page = GetActivePage();
    if (!page || !::IsWindowVisible(page->m_hWnd))
        return;
    g_bUpdatingScrollInfo = true;
    PAGEINFO& info = m_arrPages[m_nActivePageIndex];
    GetPageScrollInfo(info, info.bHasScrollHorz, info.bHasScrollVert);
    if (info.bHasScrollHorz && m_scrlBarHorz.m_hWnd)
        m_scrlBarHorz.SetScrollInfo(&info.scrlInfoHorz);
    if (info.bHasScrollVert && m_scrlBarVert.m_hWnd)
        m_scrlBarVert.SetScrollInfo(&info.scrlInfoVert);
    g_bUpdatingScrollInfo = false;
}

void COXTabViewContainer::UpdateScrollState() {
    if (g_bUpdatingScrollInfo || g_bUpdatingScrollState)
        return;
    CWnd* page = GetActivePage();
    if (!page)
        return;
    g_bUpdatingScrollState = true;
    SCROLLINFO h{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0}, v = h;
    ::GetScrollInfo(page->m_hWnd, SB_HORZ, &h);
    ::GetScrollInfo(page->m_hWnd, SB_VERT, &v);
    auto needed = [](const SCROLLINFO& si) {
        return si.nMax - si.nMin != 0 && si.nPage != 0 && (UINT)(si.nMax - si.nMin + 1) > si.nPage;
    };
    HidePageBars(page->m_hWnd);
    SetScrollStyle((needed(h) ? WS_HSCROLL : 0) | (needed(v) ? WS_VSCROLL : 0));
    g_bUpdatingScrollState = false;
}

void COXTabViewContainer::SetScrollStyle(DWORD style, BOOL force) {
    style &= WS_HSCROLL | WS_VSCROLL;
    if (style == m_dwScrollStyle && !force)
        return;
    m_dwScrollStyle = style;
    if (!m_hWnd)
        return;
    if (m_scrlBarHorz.m_hWnd)
        m_scrlBarHorz.DestroyWindow();
    if (m_scrlBarVert.m_hWnd)
        m_scrlBarVert.DestroyWindow();
    m_scrlBarHorz.Create(WS_CHILD | WS_VISIBLE | SBS_HORZ | ((style & WS_HSCROLL) ? 0 : WS_DISABLED),
                         m_rectScrollBarHorz, this, IDC_TABVIEWCONTAINER_HSCROLL);
    m_scrlBarVert.Create(WS_CHILD | WS_VISIBLE | SBS_VERT | ((style & WS_VSCROLL) ? 0 : WS_DISABLED),
                         m_rectScrollBarVert, this, IDC_TABVIEWCONTAINER_VSCROLL);
}

// ---- State ----------------------------------------------------------------------------------------

BOOL COXTabViewContainer::SaveState(LPCTSTR section) {
    CWinApp* app = AfxGetApp();
    if (!app)
        return FALSE;
    return app->WriteProfileInt(section, "TabButtonsAreaWidth", m_nLastTabBtnAreaWidth);
}

BOOL COXTabViewContainer::LoadState(LPCTSTR section) {
    CWinApp* app = AfxGetApp();
    if (!app)
        return FALSE;
    m_nLastTabBtnAreaWidth = (int)app->GetProfileInt(section, "TabButtonsAreaWidth", m_nLastTabBtnAreaWidth);
    RecalcLayout();
    KeepTabsInStrip(m_nTabBtnAreaOrigin, Width(m_rectTabBtnArea), m_arrTabBtnRects);
    if (m_hWnd) {
        MoveTo(&m_scrlBarHorz, m_rectScrollBarHorz);
        RedrawTabArea();
    }
    return TRUE;
}

// ---- Layout ---------------------------------------------------------------------------------------

RECT COXTabViewContainer::GetScrollButtonRect(int hitCode) const {
    switch (hitCode) {
        case SCRLSTARTBTN:
            return m_rectScrollToStartBtn;
        case SCRLBACKWARDBTN:
            return m_rectScrollBackwardBtn;
        case SCRLFORWARDBTN:
            return m_rectScrollForwardBtn;
        case SCRLENDBTN:
            return m_rectScrollToEndBtn;
        default:
            return RECT{};
    }
}

void COXTabViewContainer::RecalcLayout() {
    if (!m_hWnd)
        return;
    RECT client;
    GetClientRect(&client);
    if (Empty(client))
        return;
    int h = ::GetSystemMetrics(SM_CYHSCROLL), w = ::GetSystemMetrics(SM_CXHSCROLL);
    int top = client.bottom - h;
    RECT* buttons[] = {&m_rectScrollToStartBtn, &m_rectScrollBackwardBtn, &m_rectScrollForwardBtn,
                       &m_rectScrollToEndBtn};
    for (int i = 0; i < 4; ++i)
        *buttons[i] = RECT{client.left + i * w, top, client.left + (i + 1) * w, client.bottom};
    m_rectPage = RECT{client.left, client.top, std::max(client.left, client.right - w), std::max(client.top, top)};
    int areaLeft = m_rectScrollToEndBtn.right;
    int areaRight = std::min(areaLeft + m_nLastTabBtnAreaWidth, m_rectPage.right - kMinScrollBarWidth);
    areaRight = std::max(areaLeft, areaRight);
    m_rectTabBtnArea = RECT{areaLeft, top, areaRight, client.bottom};
    m_rectSplitter = RECT{areaRight, top, areaRight + kSplitterWidth, client.bottom};
    m_rectScrollBarHorz = RECT{m_rectSplitter.right, top, std::max(m_rectSplitter.right, m_rectPage.right), client.bottom};
    m_rectScrollBarVert = RECT{m_rectPage.right, m_rectPage.top, client.right, m_rectPage.bottom};
    m_rectSizeBar = RECT{m_rectPage.right, top, client.right, client.bottom};
    // Tabs measured before the container was laid out (no strip height, no usable device context yet)
    // are measured again.
    if (m_arrTabBtnRects.GetSize() > 0)
        CalcTabWidths();
}

void COXTabViewContainer::CalcTabWidths() {
    m_arrTabBtnRects.RemoveAll();
    if (!m_hWnd)
        return;
    HDC dc = ::GetDC(m_hWnd);
    HGDIOBJ old = ::SelectObject(dc, m_fontActiveTabBtnText);
    int height = m_rectTabBtnArea.bottom - m_rectTabBtnArea.top;
    int left = 0;
    for (int i = 0; i < GetPageCount(); ++i) {
        RECT text{0, 0, 0, height};
        const CString& title = m_arrPages[i].sTitle;
        ::DrawText(dc, title, title.GetLength(), &text, DT_CALCRECT | DT_SINGLELINE | DT_VCENTER);
        int width = Width(text) + kTabTextGap;
        RECT tab{left, 0, left + width, height};
        m_arrTabBtnRects.Add(tab);
        left = tab.right - kTabOverlap;
    }
    ::SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
}

void COXTabViewContainer::EnsureTabVisible(int index) {
    if (index < 0 || index >= m_arrTabBtnRects.GetSize())
        return;
    int areaWidth = Width(m_rectTabBtnArea);
    // Before the first layout the strip has no width: there is nothing to scroll into yet.
    if (areaWidth <= 0)
        return;
    RECT tab = m_arrTabBtnRects[index];
    int extra = std::min(areaWidth / 2, 20);
    if (tab.right + m_nTabBtnAreaOrigin > areaWidth) {
        m_nTabBtnAreaOrigin = areaWidth - tab.right;
        if (index != GetPageCount() - 1)
            m_nTabBtnAreaOrigin -= extra;
    } else if (tab.left + m_nTabBtnAreaOrigin < 0) {
        m_nTabBtnAreaOrigin = -tab.left;
        if (index != 0)
            m_nTabBtnAreaOrigin += extra;
    }
    m_nTabBtnAreaOrigin = std::min(0, m_nTabBtnAreaOrigin);
}

int COXTabViewContainer::HitTest(POINT p) const {
    if (::PtInRect(&m_rectSplitter, p))
        return SPLITTER;
    if (::PtInRect(&m_rectScrollBarHorz, p))
        return HSCROLL;
    if (::PtInRect(&m_rectScrollBarVert, p))
        return VSCROLL;
    if (::PtInRect(&m_rectScrollToStartBtn, p))
        return SCRLSTARTBTN;
    if (::PtInRect(&m_rectScrollBackwardBtn, p))
        return SCRLBACKWARDBTN;
    if (::PtInRect(&m_rectScrollForwardBtn, p))
        return SCRLFORWARDBTN;
    if (::PtInRect(&m_rectScrollToEndBtn, p))
        return SCRLENDBTN;
    if (::PtInRect(&m_rectTabBtnArea, p)) {
        POINT q{p.x - m_rectTabBtnArea.left - m_nTabBtnAreaOrigin, p.y - m_rectTabBtnArea.top};
        // The active tab lies on top of its neighbours.
        if (m_nActivePageIndex >= 0 && m_nActivePageIndex < m_arrTabBtnRects.GetSize() &&
            ::PtInRect(&m_arrTabBtnRects[m_nActivePageIndex], q))
            return m_nActivePageIndex;
        for (int i = 0; i < m_arrTabBtnRects.GetSize(); ++i)
            if (::PtInRect(&m_arrTabBtnRects[i], q))
                return i;
        return TABBTNAREA;
    }
    if (::PtInRect(&m_rectSizeBar, p))
        return SIZEBAR;
    if (::PtInRect(&m_rectPage, p))
        return PAGE;
    return NONE;
}

// ---- Scrolling the tabs ---------------------------------------------------------------------------

void COXTabViewContainer::ScrollTabs(int hitCode) {
    int n = (int)m_arrTabBtnRects.GetSize();
    int areaWidth = Width(m_rectTabBtnArea);
    if (n == 0 || areaWidth <= 0)
        return;
    int lastRight = m_arrTabBtnRects[n - 1].right + m_nTabBtnAreaOrigin;
    bool clipped = lastRight > areaWidth;
    int origin = m_nTabBtnAreaOrigin;
    switch (hitCode) {
        case SCRLSTARTBTN:
            if (origin < 0)
                origin = 0;
            break;
        case SCRLBACKWARDBTN:
            if (origin < 0)
                origin = std::min(0, origin + kScrollStep);
            break;
        case SCRLFORWARDBTN:
            if (clipped)
                origin = std::max(origin - kScrollStep, areaWidth - m_arrTabBtnRects[n - 1].right);
            break;
        case SCRLENDBTN:
            if (clipped)
                origin = areaWidth - m_arrTabBtnRects[n - 1].right;
            break;
        default:
            break;
    }
    if (origin != m_nTabBtnAreaOrigin) {
        m_nTabBtnAreaOrigin = origin;
        RedrawTabArea();
    }
}

// ---- Painting -------------------------------------------------------------------------------------

void COXTabViewContainer::RedrawTabArea() {
    if (!m_hWnd)
        return;
    RECT r{m_rectScrollToStartBtn.left, m_rectTabBtnArea.top, m_rectSplitter.right, m_rectTabBtnArea.bottom};
    ::InvalidateRect(m_hWnd, &r, FALSE);
}

void COXTabViewContainer::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    CWnd* page = GetActivePage();
    bool covered = false;
    if (page && ::IsWindowVisible(page->m_hWnd)) {
        RECT r;
        ::GetWindowRect(page->m_hWnd, &r);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&r), 2);
        covered = r.left <= m_rectPage.left && r.top <= m_rectPage.top && r.right >= m_rectPage.right &&
                  r.bottom >= m_rectPage.bottom;
    }
    if (!covered && !Empty(m_rectPage)) {
        HBRUSH brush = page ? (HBRUSH)::GetClassLongPtr(page->m_hWnd, GCLP_HBRBACKGROUND) : nullptr;
        if ((UINT_PTR)brush > 0 && (UINT_PTR)brush <= 31)
            brush = ::GetSysColorBrush((int)(UINT_PTR)brush - 1);
        ::FillRect(dc, &m_rectPage, brush ? brush : ::GetSysColorBrush(COLOR_WINDOW));
    }
    DrawScrollButtons(dc);
    DrawSplitter(dc);
    DrawSizeBox(dc);
    DrawTabArea(dc);
    ::EndPaint(m_hWnd, &ps);
}

void COXTabViewContainer::DrawScrollButtons(HDC dc) {
    DrawScrollButton(dc, m_rectScrollToStartBtn, SCRLSTARTBTN);
    DrawScrollButton(dc, m_rectScrollBackwardBtn, SCRLBACKWARDBTN);
    DrawScrollButton(dc, m_rectScrollForwardBtn, SCRLFORWARDBTN);
    DrawScrollButton(dc, m_rectScrollToEndBtn, SCRLENDBTN);
}

namespace {
void Frame3D(HDC dc, const RECT& r, COLORREF topLeft, COLORREF bottomRight) {
    HBRUSH tl = ::CreateSolidBrush(topLeft), br = ::CreateSolidBrush(bottomRight);
    RECT e;
    e = RECT{r.left, r.top, r.right - 1, r.top + 1};
    ::FillRect(dc, &e, tl);
    e = RECT{r.left, r.top, r.left + 1, r.bottom - 1};
    ::FillRect(dc, &e, tl);
    e = RECT{r.left, r.bottom - 1, r.right, r.bottom};
    ::FillRect(dc, &e, br);
    e = RECT{r.right - 1, r.top, r.right, r.bottom};
    ::FillRect(dc, &e, br);
    ::DeleteObject(tl);
    ::DeleteObject(br);
}
}  // namespace

void COXTabViewContainer::DrawScrollButton(HDC dc, const RECT& rect, int hitCode) {
    if (Empty(rect))
        return;
    ::FillRect(dc, &rect, ::GetSysColorBrush(COLOR_BTNFACE));
    bool pressed = m_nPressedScrlBtn == hitCode && m_bIsScrlBtnPressed;
    if (pressed)
        Frame3D(dc, rect, ::GetSysColor(COLOR_BTNFACE), ::GetSysColor(COLOR_BTNFACE));
    else
        Frame3D(dc, rect, ::GetSysColor(COLOR_3DHILIGHT), ::GetSysColor(COLOR_BTNSHADOW));
    RECT g{rect.left + 2, rect.top + 2, rect.right - 2, rect.bottom - 2};
    int qx = Width(rect) / 4, sy = (rect.bottom - rect.top) / 6;
    g.left += qx;
    g.right -= qx;
    g.top += sy;
    g.bottom -= sy;
    if (pressed)
        ::OffsetRect(&g, 1, 1);
    if (Empty(g))
        return;
    bool left = hitCode == SCRLSTARTBTN || hitCode == SCRLBACKWARDBTN;
    bool bar = hitCode == SCRLSTARTBTN || hitCode == SCRLENDBTN;
    COLORREF ink = ::GetSysColor(COLOR_WINDOWTEXT);
    HBRUSH brush = ::CreateSolidBrush(ink);
    HPEN pen = ::CreatePen(PS_SOLID, 1, ink);
    HGDIOBJ oldBrush = ::SelectObject(dc, brush), oldPen = ::SelectObject(dc, pen);
    RECT tri = g;
    if (bar) {
        RECT b = left ? RECT{g.left, g.top, g.left + 2, g.bottom} : RECT{g.right - 2, g.top, g.right, g.bottom};
        ::FillRect(dc, &b, brush);
        if (left)
            tri.left += 2;
        else
            tri.right -= 2;
    }
    int midY = (tri.top + tri.bottom - 1) / 2;
    POINT pts[3];
    if (left) {
        pts[0] = POINT{tri.left, midY};
        pts[1] = POINT{tri.right - 1, tri.top};
        pts[2] = POINT{tri.right - 1, tri.bottom - 1};
    } else {
        pts[0] = POINT{tri.right - 1, midY};
        pts[1] = POINT{tri.left, tri.top};
        pts[2] = POINT{tri.left, tri.bottom - 1};
    }
    ::Polygon(dc, pts, 3);
    ::SelectObject(dc, oldBrush);
    ::SelectObject(dc, oldPen);
    ::DeleteObject(brush);
    ::DeleteObject(pen);
}

void COXTabViewContainer::DrawSplitter(HDC dc) {
    if (Empty(m_rectSplitter))
        return;
    ::FillRect(dc, &m_rectSplitter, ::GetSysColorBrush(COLOR_BTNFACE));
    Frame3D(dc, m_rectSplitter, ::GetSysColor(COLOR_BTNFACE), ::GetSysColor(COLOR_WINDOWFRAME));
    RECT inner{m_rectSplitter.left + 1, m_rectSplitter.top + 1, m_rectSplitter.right - 1, m_rectSplitter.bottom - 1};
    if (!Empty(inner))
        Frame3D(dc, inner, ::GetSysColor(COLOR_3DHILIGHT), ::GetSysColor(COLOR_BTNSHADOW));
}

void COXTabViewContainer::DrawSizeBox(HDC dc) {
    if (!Empty(m_rectSizeBar))
        ::FillRect(dc, &m_rectSizeBar, ::GetSysColorBrush(COLOR_BTNFACE));
}

void COXTabViewContainer::DrawTabArea(HDC dc) {
    if (Empty(m_rectTabBtnArea))
        return;
    ::FillRect(dc, &m_rectTabBtnArea, ::GetSysColorBrush(COLOR_BTNFACE));
    RECT line{m_rectTabBtnArea.left, m_rectTabBtnArea.top, m_rectTabBtnArea.right, m_rectTabBtnArea.top + 1};
    ::FillRect(dc, &line, ::GetSysColorBrush(COLOR_WINDOWTEXT));
    int saved = ::SaveDC(dc);
    ::IntersectClipRect(dc, m_rectTabBtnArea.left, m_rectTabBtnArea.top, m_rectTabBtnArea.right,
                        m_rectTabBtnArea.bottom);
    for (int i = (int)m_arrTabBtnRects.GetSize() - 1; i >= 0; --i)
        if (i != m_nActivePageIndex)
            DrawTab(dc, i);
    if (m_nActivePageIndex >= 0 && m_nActivePageIndex < m_arrTabBtnRects.GetSize())
        DrawTab(dc, m_nActivePageIndex);
    ::RestoreDC(dc, saved);
}

void COXTabViewContainer::DrawTab(HDC dc, int index) {
    if (index < 0 || index >= m_arrTabBtnRects.GetSize())
        return;
    RECT tab = m_arrTabBtnRects[index];
    ::OffsetRect(&tab, m_rectTabBtnArea.left + m_nTabBtnAreaOrigin, m_rectTabBtnArea.top);
    if (tab.right <= m_rectTabBtnArea.left || tab.left >= m_rectTabBtnArea.right)
        return;
    bool active = index == m_nActivePageIndex;
    HBRUSH brush = ::GetSysColorBrush(active ? COLOR_WINDOW : COLOR_BTNFACE);
    HPEN none = ::CreatePen(PS_NULL, 0, 0);
    HGDIOBJ oldBrush = ::SelectObject(dc, brush), oldPen = ::SelectObject(dc, none);
    POINT pts[4] = {{tab.left, tab.top},
                    {tab.right, tab.top},
                    {tab.right - kTabOverlap, tab.bottom - 1},
                    {tab.left + kTabOverlap, tab.bottom - 1}};
    ::Polygon(dc, pts, 4);
    HPEN light = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_3DHILIGHT));
    HPEN shadow = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
    // The left slant catches the light; the bottom and the right slant are in shadow. The active tab is
    // open at the top, where it joins its page.
    ::SelectObject(dc, light);
    ::MoveToEx(dc, tab.left, tab.top, nullptr);
    ::LineTo(dc, tab.left + kTabOverlap, tab.bottom - 1);
    ::SelectObject(dc, shadow);
    ::LineTo(dc, tab.right - kTabOverlap, tab.bottom - 1);
    ::LineTo(dc, tab.right, tab.top);
    if (!active) {
        ::SelectObject(dc, ::GetStockObject(BLACK_PEN));
        ::MoveToEx(dc, tab.left, tab.top, nullptr);
        ::LineTo(dc, tab.right, tab.top);
    }
    ::SelectObject(dc, oldBrush);
    ::SelectObject(dc, oldPen);
    ::DeleteObject(none);
    ::DeleteObject(light);
    ::DeleteObject(shadow);
    const CString& title = m_arrPages[index].sTitle;
    if (!title.IsEmpty()) {
        HGDIOBJ oldFont = ::SelectObject(dc, active ? m_fontActiveTabBtnText : m_fontTabBtnText);
        int oldMode = ::SetBkMode(dc, TRANSPARENT);
        COLORREF oldColour = ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
        ::DrawText(dc, title, title.GetLength(), &tab, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
        ::SetTextColor(dc, oldColour);
        ::SetBkMode(dc, oldMode);
        ::SelectObject(dc, oldFont);
    }
}

// ---- Mouse --------------------------------------------------------------------------------------

void COXTabViewContainer::OnLButtonDown(POINT p) {
    int hit = HitTest(p);
    if (hit >= SCRLENDBTN && hit <= SCRLSTARTBTN) {
        ::SetCapture(m_hWnd);
        m_nPressedScrlBtn = hit;
        m_bIsScrlBtnPressed = TRUE;
        ScrollTabs(hit);
        m_nScrollPageTimer = (INT_PTR)::SetTimer(m_hWnd, IDT_SCROLLPAGE_TIMER, ID_SCROLLPAGE_DELAY, nullptr);
        RedrawTabArea();
    } else if (hit == SPLITTER) {
        ::SetCapture(m_hWnd);
        m_bIsSplitterPressed = TRUE;
    } else if (hit >= 0 && hit != m_nActivePageIndex) {
        SetActivePage(hit);
    }
}

void COXTabViewContainer::OnMouseMove(POINT p) {
    if (m_nPressedScrlBtn != NONE) {
        RECT r = GetScrollButtonRect(m_nPressedScrlBtn);
        BOOL over = ::PtInRect(&r, p);
        if (over != m_bIsScrlBtnPressed) {
            m_bIsScrlBtnPressed = over;
            RedrawTabArea();
        }
        return;
    }
    if (!m_bIsSplitterPressed)
        return;
    int left = std::clamp<int>(p.x - 3, m_rectScrollToEndBtn.right + 3, m_rectPage.right - 57);
    if (m_rectPage.right - 57 < m_rectScrollToEndBtn.right + 3)
        left = m_rectScrollToEndBtn.right + 3;
    int oldWidth = Width(m_rectTabBtnArea);
    int newWidth = std::max(0, left - m_rectTabBtnArea.left);
    if (newWidth == oldWidth)
        return;
    m_nLastTabBtnAreaWidth = newWidth;
    RecalcLayout();
    int grown = Width(m_rectTabBtnArea) - oldWidth;
    int n = (int)m_arrTabBtnRects.GetSize();
    if (grown > 0 && m_nTabBtnAreaOrigin < 0 && n > 0 &&
        m_arrTabBtnRects[n - 1].right + m_nTabBtnAreaOrigin <= Width(m_rectTabBtnArea))
        m_nTabBtnAreaOrigin = std::min(0, m_nTabBtnAreaOrigin + grown);
    MoveTo(&m_scrlBarHorz, m_rectScrollBarHorz);
    RECT r{m_rectTabBtnArea.left, m_rectTabBtnArea.top, m_rectScrollBarHorz.right, m_rectTabBtnArea.bottom};
    ::InvalidateRect(m_hWnd, &r, FALSE);
}

void COXTabViewContainer::StopTracking() {
    if (m_nScrollPageTimer != -1) {
        ::KillTimer(m_hWnd, IDT_SCROLLPAGE_TIMER);
        m_nScrollPageTimer = -1;
    }
    bool was = m_nPressedScrlBtn != NONE || m_bIsSplitterPressed;
    m_nPressedScrlBtn = NONE;
    m_bIsScrlBtnPressed = FALSE;
    m_bIsSplitterPressed = FALSE;
    if (was) {
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
        RedrawTabArea();
    }
}

void COXTabViewContainer::OnLButtonUp() {
    StopTracking();
}

void COXTabViewContainer::OnTimer(UINT_PTR id) {
    if (id == IDT_SCROLLPAGE_TIMER && m_nPressedScrlBtn != NONE && m_bIsScrlBtnPressed)
        ScrollTabs(m_nPressedScrlBtn);
}

BOOL COXTabViewContainer::OnSetCursor(UINT hitTest) {
    if (hitTest != HTCLIENT)
        return FALSE;
    POINT p;
    ::GetCursorPos(&p);
    ::ScreenToClient(m_hWnd, &p);
    if (!m_bIsSplitterPressed && HitTest(p) != SPLITTER)
        return FALSE;
    HCURSOR cursor = ::LoadCursor(nullptr, MAKEINTRESOURCE(IDC_TABVIEWCONTAINER_SPLITTER_CURSOR));
    if (!cursor)
        cursor = ::LoadCursor(nullptr, IDC_SIZEWE);
    ::SetCursor(cursor);
    return TRUE;
}

void COXTabViewContainer::OnSize(UINT type, int cx, int cy) {
    if (type == SIZE_MINIMIZED || cx < 1 || cy < 1)
        return;
    RecalcLayout();
    KeepTabsInStrip(m_nTabBtnAreaOrigin, Width(m_rectTabBtnArea), m_arrTabBtnRects);
    if (m_scrlBarHorz.m_hWnd)
        MoveTo(&m_scrlBarHorz, m_rectScrollBarHorz);
    if (m_scrlBarVert.m_hWnd)
        MoveTo(&m_scrlBarVert, m_rectScrollBarVert);
    FitActivePage();
    RedrawTabArea();
    ::InvalidateRect(m_hWnd, &m_rectSizeBar, FALSE);
}

// ---- Messages -------------------------------------------------------------------------------------

BOOL COXTabViewContainer::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (CWnd::OnCommand(wParam, lParam))
        return TRUE;
    CWnd* target = GetParentFrame();
    if (!target)
        target = GetParent();
    return target ? (BOOL)target->SendMessage(WM_COMMAND, wParam, lParam) : FALSE;
}

BOOL COXTabViewContainer::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (CWnd::OnNotify(wParam, lParam, result))
        return TRUE;
    CWnd* target = GetParentFrame();
    if (!target)
        target = GetParent();
    if (!target)
        return FALSE;
    LRESULT r = target->SendMessage(WM_NOTIFY, wParam, lParam);
    if (result)
        *result = r;
    return TRUE;
}

LRESULT COXTabViewContainer::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            if (GetPageCount() > 0)
                return TRUE;
            {
                RECT r;
                GetClientRect(&r);
                ::FillRect((HDC)wParam, &r, ::GetSysColorBrush(COLOR_BTNFACE));
            }
            return TRUE;
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_SIZE:
            OnSize((UINT)wParam, (short)LOWORD(lParam), (short)HIWORD(lParam));
            return CWnd::WindowProc(message, wParam, lParam);
        case WM_SETTINGCHANGE: {
            RECT r;
            GetClientRect(&r);
            OnSize(SIZE_RESTORED, Width(r), r.bottom - r.top);
            return CWnd::WindowProc(message, wParam, lParam);
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            OnLButtonDown(POINT{(short)LOWORD(lParam), (short)HIWORD(lParam)});
            return 0;
        case WM_MOUSEMOVE:
            OnMouseMove(POINT{(short)LOWORD(lParam), (short)HIWORD(lParam)});
            return 0;
        case WM_LBUTTONUP:
            OnLButtonUp();
            return 0;
        case WM_CANCELMODE:
            StopTracking();
            return CWnd::WindowProc(message, wParam, lParam);
        case WM_TIMER:
            if (wParam == IDT_SCROLLPAGE_TIMER) {
                OnTimer(wParam);
                return 0;
            }
            return CWnd::WindowProc(message, wParam, lParam);
        case WM_SETCURSOR:
            if ((HWND)wParam == m_hWnd && OnSetCursor(LOWORD(lParam)))
                return TRUE;
            return CWnd::WindowProc(message, wParam, lParam);
        case WM_HSCROLL:
        case WM_VSCROLL: {
            HWND bar = (HWND)lParam;
            if (bar && (bar == m_scrlBarHorz.m_hWnd || bar == m_scrlBarVert.m_hWnd)) {
                if (CWnd* page = GetActivePage())
                    page->SendMessage(message, wParam, lParam);
                return 0;
            }
            return CWnd::WindowProc(message, wParam, lParam);
        }
        case WM_DESTROY:
            if (m_nScrollPageTimer != -1) {
                ::KillTimer(m_hWnd, IDT_SCROLLPAGE_TIMER);
                m_nScrollPageTimer = -1;
            }
            return CWnd::WindowProc(message, wParam, lParam);
        default:
            return CWnd::WindowProc(message, wParam, lParam);
    }
}

COXTabViewContainer* COXTabViewContainer::GetParentTabViewContainer(const CWnd* window, BOOL check) {
    if (!window || !window->m_hWnd)
        return nullptr;
    HWND parent = ::GetParent(window->m_hWnd);
    if (!parent || ::GetWindowLongPtr(parent, GWLP_USERDATA) != ID_TABVIEWCONTAINER_SIGN)
        return nullptr;
    auto* container = dynamic_cast<COXTabViewContainer*>(CWnd::FromHandlePermanent(parent));
    if (check && container && container->FindPageIndex(window->m_hWnd) == -1)
        return nullptr;
    return container;
}
