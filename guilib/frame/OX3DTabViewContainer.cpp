#include "guilib/frame/OX3DTabViewContainer.h"

#include "platform/base/Exceptions.h"
#include "platform/framework/docview/View.h"
#include "platform/gdi/Gdi.h"

IMPLEMENT_DYNAMIC(COX3DTabViewContainer, COXSkinnedTabCtrl)

COX3DTabViewContainer::COX3DTabViewContainer() {
    m_arrUniqueIDs.Add(1);
}

COX3DTabViewContainer::~COX3DTabViewContainer() {
    if (m_hWnd)
        DestroyWindow();
}

BOOL COX3DTabViewContainer::Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect,
                                   CWnd* parent, UINT id, LPVOID context) {
    if (className && AsciiCompareNoCase(className, WC_TABCONTROL) == 0) {
        if (!CWnd::Create(className, windowName, style, rect, parent, id, context))
            return FALSE;
        ::SendMessage(m_hWnd, WM_SETFONT, (WPARAM)::GetStockObject(DEFAULT_GUI_FONT), FALSE);
        return TRUE;
    }
    if (!Create(kDefaultStyle, rect, parent, id))
        return FALSE;
    if (windowName)
        SetWindowText(windowName);
    return TRUE;
}

BOOL COX3DTabViewContainer::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return Create(WC_TABCONTROL, nullptr, style, rect, parent, id, nullptr);
}

// ---- Pages ----------------------------------------------------------------------------------------

CWnd* COX3DTabViewContainer::GetPage(int index) const {
    if (index < 0 || index >= GetItemCount())
        return nullptr;
    TCITEM item{};
    item.mask = TCIF_PARAM;
    if (!GetItem(index, &item))
        return nullptr;
    return reinterpret_cast<CWnd*>(item.lParam);
}

int COX3DTabViewContainer::FindPage(const CWnd* page) const {
    if (!page)
        return -1;
    for (int i = 0; i < GetItemCount(); ++i)
        if (GetPage(i) == page)
            return i;
    return -1;
}

BOOL COX3DTabViewContainer::IsPage(const CWnd* page) const {
    return page && page->m_hWnd && ::GetParent(page->m_hWnd) == m_hWnd;
}

BOOL COX3DTabViewContainer::InsertPage(int index, CWnd* page, LPCTSTR title, int image, DWORD exStyle,
                                       BOOL activate) {
    if (index < 0 || index > GetItemCount() || !page || !::IsWindow(page->m_hWnd))
        return FALSE;
    ::SetParent(page->m_hWnd, m_hWnd);
    if (InsertItem(TCIF_TEXT | TCIF_IMAGE | TCIF_PARAM, index, title ? title : "", image, (LPARAM)page) != index)
        return FALSE;
    if (m_nActivePageIndex >= index)
        ++m_nActivePageIndex;
    if (exStyle)
        ::SetWindowLongPtr(page->m_hWnd, GWL_EXSTYLE, ::GetWindowLongPtr(page->m_hWnd, GWL_EXSTYLE) | (LONG_PTR)exStyle);
    ::SetWindowLongPtr(page->m_hWnd, GWL_STYLE, ::GetWindowLongPtr(page->m_hWnd, GWL_STYLE) | WS_TABSTOP);
    if (activate) {
        SetActivePage(index);
    } else {
        // The selection stays on the active page's tab.
        if (m_nActivePageIndex >= 0)
            SetCurSel(m_nActivePageIndex);
        if (index != m_nActivePageIndex)
            page->ShowWindow(SW_HIDE);
    }
    return TRUE;
}

BOOL COX3DTabViewContainer::InsertViewPage(int index, const CRuntimeClass* viewClass, CCreateContext* context,
                                           LPCTSTR title, int image, DWORD exStyle, BOOL activate) {
    if (index < 0 || index > GetItemCount() || !viewClass)
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
    if (!page->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, RECT{0, 0, 0, 0}, this, GetUniqueId(), context)) {
        if (!page->m_hWnd)
            delete page;
        return FALSE;
    }
    if (!InsertPage(index, page, title, image, exStyle, activate)) {
        page->DestroyWindow();
        return FALSE;
    }
    if (page->IsKindOf(RUNTIME_CLASS(CView)))
        page->SendMessage(WM_INITIALUPDATE, 0, 0);
    return TRUE;
}

BOOL COX3DTabViewContainer::DeletePage(int index, BOOL destroy) {
    int count = GetItemCount();
    if (index < 0 || index >= count)
        return FALSE;
    CWnd* page = GetPage(index);
    if (index == m_nActivePageIndex) {
        if (count == 1) {
            // The only page goes: none is active.
            m_nActivePageIndex = -1;
        } else {
            SetActivePage(index == count - 1 ? 0 : index + 1);
        }
    }
    if (destroy && page && ::IsWindow(page->m_hWnd)) {
        UINT id = (UINT)::GetDlgCtrlID(page->m_hWnd);
        if (id != 0)
            m_arrUniqueIDs.Add(id);
        page->DestroyWindow();
    }
    DeleteItem(index);
    if (m_nActivePageIndex > index)
        --m_nActivePageIndex;
    if (m_nActivePageIndex >= 0)
        SetCurSel(m_nActivePageIndex);
    return TRUE;
}

BOOL COX3DTabViewContainer::DeletePageByWindow(CWnd* page, BOOL destroy) {
    int index = FindPage(page);
    return index >= 0 && DeletePage(index, destroy);
}

UINT COX3DTabViewContainer::GetUniqueId() {
    if (m_arrUniqueIDs.GetSize() > 1) {
        UINT id = m_arrUniqueIDs[m_arrUniqueIDs.GetSize() - 1];
        m_arrUniqueIDs.RemoveAt(m_arrUniqueIDs.GetSize() - 1);
        return id;
    }
    UINT id = m_arrUniqueIDs[0];
    m_arrUniqueIDs[0] = id + 1;
    return id;
}

BOOL COX3DTabViewContainer::SetActivePage(int index) {
    if (index == m_nActivePageIndex && index >= 0)
        return TRUE;
    bool focusInside = ::GetFocus() && (::GetFocus() == m_hWnd || ::IsChild(m_hWnd, ::GetFocus()));
    CWnd* oldPage = GetActivePage();
    if (oldPage && ::IsWindow(oldPage->m_hWnd))
        oldPage->ShowWindow(SW_HIDE);
    if (index < 0 || index >= GetItemCount()) {
        m_nActivePageIndex = -1;
        return FALSE;
    }
    m_nActivePageIndex = index;
    SetCurSel(index);
    CWnd* page = GetPage(index);
    RecalcLayout();
    page->ShowWindow(SW_SHOW);

    CWnd* parent = GetParent();
    CFrameWnd* frame = parent && parent->IsFrameWnd() ? static_cast<CFrameWnd*>(parent) : nullptr;
    if (frame && page->IsKindOf(RUNTIME_CLASS(CView))) {
        frame->SetActiveView(static_cast<CView*>(page));
        ::RedrawWindow(page->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        return TRUE;
    }
    if (frame && oldPage && oldPage->IsKindOf(RUNTIME_CLASS(CView)))
        frame->SetActiveView(nullptr);
    if (focusInside)
        page->SetFocus();
    ::RedrawWindow(page->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return TRUE;
}

void COX3DTabViewContainer::RecalcLayout() {
    if (!m_hWnd)
        return;
    RECT r;
    GetClientRect(&r);
    ::InflateRect(&r, m_nBorderMargin, m_nBorderMargin);
    AdjustRect(FALSE, &r);
    ::InflateRect(&r, -m_nInsetMargin, -m_nInsetMargin);
    r.left += 1;
    r.top += 1;
    r.right -= 1;
    r.bottom -= 2;
    if (r.right < r.left)
        r.right = r.left;
    if (r.bottom < r.top)
        r.bottom = r.top;
    m_rectPage = r;
    if (CWnd* page = GetActivePage())
        ::MoveWindow(page->m_hWnd, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

DWORD COX3DTabViewContainer::OnDragOver(POINT point) {
    if (!m_bActivateOnDragOver)
        return 0;
    TCHITTESTINFO hit{};
    hit.pt = point;
    int tab = HitTest(&hit);
    if (tab >= 0 && tab != m_nLastDragOverTab) {
        SetActivePage(tab);
        m_nLastDragOverTab = tab;
    }
    return 0;
}

// ---- Messages -------------------------------------------------------------------------------------

BOOL COX3DTabViewContainer::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_NOTIFY && lParam && reinterpret_cast<NMHDR*>(lParam)->code == TCN_SELCHANGE) {
        SetActivePage(GetCurSel());
        if (result)
            *result = 0;
        return TRUE;
    }
    return COXSkinnedTabCtrl::OnChildNotify(message, wParam, lParam, result);
}

LRESULT COX3DTabViewContainer::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: {
            LRESULT r = COXSkinnedTabCtrl::WindowProc(message, wParam, lParam);
            ::SetWindowLongPtr(m_hWnd, GWL_EXSTYLE,
                               ::GetWindowLongPtr(m_hWnd, GWL_EXSTYLE) & ~(LONG_PTR)WS_EX_CONTROLPARENT);
            if (r != -1)
                m_dropTarget.Register(this);
            return r;
        }
        case WM_ERASEBKGND: {
            HDC dc = (HDC)wParam;
            int saved = ::SaveDC(dc);
            if (GetItemCount() > 0)
                ::ExcludeClipRect(dc, m_rectPage.left, m_rectPage.top, m_rectPage.right, m_rectPage.bottom);
            RECT r;
            GetClientRect(&r);
            ::FillRect(dc, &r, ::GetSysColorBrush(COLOR_BTNFACE));
            ::RestoreDC(dc, saved);
            return TRUE;
        }
        case WM_SIZE: {
            LRESULT r = COXSkinnedTabCtrl::WindowProc(message, wParam, lParam);
            if (wParam != SIZE_MINIMIZED && (short)LOWORD(lParam) >= 1 && (short)HIWORD(lParam) >= 1)
                RecalcLayout();
            return r;
        }
        case WM_SETFOCUS:
            if (CWnd* page = GetActivePage(); page && ::IsWindowVisible(page->m_hWnd)) {
                page->SetFocus();
                return 0;
            }
            return COXSkinnedTabCtrl::WindowProc(message, wParam, lParam);
        case WM_DESTROY:
            m_dropTarget.Revoke();
            for (int i = GetItemCount() - 1; i >= 0; --i)
                DeletePage(i, TRUE);
            return COXSkinnedTabCtrl::WindowProc(message, wParam, lParam);
        default:
            return COXSkinnedTabCtrl::WindowProc(message, wParam, lParam);
    }
}
