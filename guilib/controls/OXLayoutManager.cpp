#include "guilib/controls/OXLayoutManager.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(COXLayoutManager, CObject)

namespace {

const int kMaxCoord = 32767;
// Size-limit conflicts of one pass.
const int kTooNarrow = 1, kTooWide = 2, kTooLow = 4, kTooHigh = 8;
// A layout that keeps meeting limits gives up after this many passes (limits that no size can meet
// would otherwise move the size back and forth for ever).
const int kMaxPasses = 2 * 32768;

bool IsHorizontal(int nSide) {
    return nSide >= 2;
}

}  // namespace

CMap<HWND, HWND, COXLayoutManager*, COXLayoutManager*>& COXLayoutManager::AllLayoutManagers() {
    static CMap<HWND, HWND, COXLayoutManager*, COXLayoutManager*> map(17);
    return map;
}

COXLayoutManager::COXLayoutManager(CWnd* pContainerWnd)
    : m_pContainerWnd(nullptr), m_nBase(100), m_bHasMinMax(FALSE), m_cx(0), m_cy(0), m_cxMin(-1),
      m_cxMax(kMaxCoord), m_cyMin(-1), m_cyMax(kMaxCoord), m_hWnd(nullptr), m_pfnSuper(nullptr) {
    if (pContainerWnd)
        Attach(pContainerWnd);
}

COXLayoutManager::~COXLayoutManager() {
    Detach();
}

BOOL COXLayoutManager::Attach(CWnd* pContainerWnd) {
    HWND hWnd = pContainerWnd ? pContainerWnd->GetSafeHwnd() : nullptr;
    if (!hWnd || !::IsWindow(hWnd))
        return FALSE;
    if (m_hWnd) {
        // Already subclassing: only the same window, still ours, is accepted again.
        if (hWnd != m_hWnd || (WNDPROC)::GetWindowLongPtr(m_hWnd, GWLP_WNDPROC) != &GlobalLayoutManagerProc)
            return FALSE;
        RemoveAllChildren();
        m_pContainerWnd = pContainerWnd;
        return TRUE;
    }
    // One manager per window: a second one would call itself as the window's previous procedure.
    COXLayoutManager* pOther = nullptr;
    if (AllLayoutManagers().Lookup(hWnd, pOther))
        return FALSE;
    RemoveAllChildren();
    m_pContainerWnd = pContainerWnd;
    m_hWnd = hWnd;
    m_pfnSuper = (WNDPROC)::GetWindowLongPtr(hWnd, GWLP_WNDPROC);
    ::SetWindowLongPtr(hWnd, GWLP_WNDPROC, (LONG_PTR)&GlobalLayoutManagerProc);
    AllLayoutManagers()[hWnd] = this;
    return TRUE;
}

void COXLayoutManager::Detach() {
    RemoveAllChildren();
    m_pContainerWnd = nullptr;
    if (m_hWnd) {
        if (::IsWindow(m_hWnd))
            ::SetWindowLongPtr(m_hWnd, GWLP_WNDPROC, (LONG_PTR)m_pfnSuper);
        AllLayoutManagers().RemoveKey(m_hWnd);
    }
    m_hWnd = nullptr;
    m_pfnSuper = nullptr;
}

LRESULT COXLayoutManager::GlobalLayoutManagerProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    COXLayoutManager* pManager = nullptr;
    if (!AllLayoutManagers().Lookup(hWnd, pManager) || !pManager)
        return ::DefWindowProc(hWnd, uMsg, wParam, lParam);
    if (uMsg == WM_SIZE)
        pManager->OnSize(LOWORD(lParam), HIWORD(lParam));
    WNDPROC pfnSuper = pManager->m_pfnSuper;
    if (uMsg == WM_NCDESTROY) {
        // The container goes: forget it, so no later call reaches a window or object that is gone.
        AllLayoutManagers().RemoveKey(hWnd);
        pManager->RemoveAllChildren();
        pManager->m_pContainerWnd = nullptr;
        pManager->m_hWnd = nullptr;
        pManager->m_pfnSuper = nullptr;
    }
    return ::CallWindowProc(pfnSuper, hWnd, uMsg, wParam, lParam);
}

int COXLayoutManager::GetChildIndex(int nChildID) const {
    for (int i = (int)m_wcTable.GetSize() - 1; i >= 0; --i)
        if (m_wcTable[i]->nID == nChildID)
            return i;
    return -1;
}

int COXLayoutManager::AddChild(int nChildID, BOOL bSetDefaultConstraints) {
    if (nChildID == 0)
        return -1;
    int nIndex = GetChildIndex(nChildID);
    if (nIndex < 0)
        nIndex = (int)m_wcTable.Add(new COXWndConstraint(nChildID));
    if (bSetDefaultConstraints)
        SetDefaultConstraint(nChildID);
    return nIndex;
}

void COXLayoutManager::RemoveAllChildren() {
    for (INT_PTR i = 0; i < m_wcTable.GetSize(); ++i)
        delete m_wcTable[i];
    m_wcTable.RemoveAll();
    m_bHasMinMax = FALSE;
    ResetContainerMinMax();
}

void COXLayoutManager::ResetContainerMinMax() {
    m_cxMin = -1;
    m_cxMax = kMaxCoord;
    m_cyMin = -1;
    m_cyMax = kMaxCoord;
}

BOOL COXLayoutManager::SetMinMax(int nChildID, SIZE sizeMin, SIZE sizeMax) {
    int nIndex = AddChild(nChildID, FALSE);
    if (nIndex < 0)
        return FALSE;
    COXWndConstraint* pwc = m_wcTable[nIndex];
    pwc->bHasMinMax = TRUE;
    pwc->nMinWidth = sizeMin.cx;
    pwc->nMinHeight = sizeMin.cy;
    pwc->nMaxWidth = sizeMax.cx;
    pwc->nMaxHeight = sizeMax.cy;
    m_bHasMinMax = TRUE;
    ResetContainerMinMax();
    return TRUE;
}

BOOL COXLayoutManager::SetConstraint(int nChildID, int nSide, int nType, int nOffset, int nBaseID) {
    if (nBaseID != 0 && GetChildIndex(nBaseID) < 0)
        AddChild(nBaseID, FALSE);
    int nIndex = GetChildIndex(nChildID);
    if (nIndex < 0)
        nIndex = AddChild(nChildID, FALSE);
    if (nIndex < 0)
        return FALSE;
    COXWndConstraint* pwc = m_wcTable[nIndex];
    int nFiller = nType == OX_LMT_POSITION ? m_nBase : OX_LMOFFSET_NULL;
    for (int nSideIndex = 0; nSideIndex < 4; ++nSideIndex) {
        if (!(nSide & (1 << nSideIndex)))
            continue;
        bool bNearSide = nSideIndex == 0 || nSideIndex == 2;  // top or left
        bool bFarMeasured = (bNearSide && nType == OX_LMT_OPPOSITE) || (!bNearSide && nType == OX_LMT_SAME);
        COXSideConstraint& sc = pwc->sc[nSideIndex];
        sc.nBaseWnd = nBaseID;
        sc.nOffset1 = bFarMeasured ? nFiller : nOffset;
        sc.nOffset2 = bFarMeasured ? nOffset : nFiller;
    }
    ResetContainerMinMax();
    return TRUE;
}

BOOL COXLayoutManager::GetChildRect(int nChildID, RECT& rect) const {
    if (!m_pContainerWnd)
        return FALSE;
    HWND hContainer = m_pContainerWnd->GetSafeHwnd();
    HWND hChild = ::GetDlgItem(hContainer, nChildID);
    if (!hChild)
        return FALSE;
    ::GetWindowRect(hChild, &rect);
    ::MapWindowPoints(nullptr, hContainer, (LPPOINT)&rect, 2);
    return TRUE;
}

BOOL COXLayoutManager::ConstrainChild(int nChildID, int nSide, int nType, int nBaseID) {
    if (nType != OX_LMT_SAME && nType != OX_LMT_OPPOSITE)
        return FALSE;
    if (!m_pContainerWnd || !::IsWindow(m_pContainerWnd->GetSafeHwnd()))
        return FALSE;
    HWND hContainer = m_pContainerWnd->GetSafeHwnd();
    RECT rcBase{};
    if (nBaseID == 0 || nBaseID == ::GetDlgCtrlID(hContainer)) {
        ::GetClientRect(hContainer, &rcBase);
    } else if (!GetChildRect(nBaseID, rcBase)) {
        return FALSE;
    }
    RECT rcChild{};
    if (!GetChildRect(nChildID, rcChild))
        return FALSE;

    bool bSame = nType == OX_LMT_SAME;
    BOOL bResult = TRUE;
    if (nSide & OX_LMS_TOP) {
        bResult = SetConstraint(nChildID, OX_LMS_TOP, nType,
                                rcChild.top - (bSame ? rcBase.top : rcBase.bottom), nBaseID);
        if (!bResult)
            return bResult;
    }
    if (nSide & OX_LMS_LEFT) {
        bResult = SetConstraint(nChildID, OX_LMS_LEFT, nType,
                                rcChild.left - (bSame ? rcBase.left : rcBase.right), nBaseID) &&
                  bResult;
        if (!bResult)
            return FALSE;
    }
    if (nSide & OX_LMS_BOTTOM) {
        bResult = SetConstraint(nChildID, OX_LMS_BOTTOM, nType,
                                rcChild.bottom - (bSame ? rcBase.bottom : rcBase.top), nBaseID) &&
                  bResult;
        if (!bResult)
            return FALSE;
    }
    if (nSide & OX_LMS_RIGHT)
        bResult = SetConstraint(nChildID, OX_LMS_RIGHT, nType,
                                rcChild.right - (bSame ? rcBase.right : rcBase.left), nBaseID) &&
                  bResult;
    return bResult;
}

BOOL COXLayoutManager::RemoveConstraint(int nChildID, int nSide) {
    int nIndex = GetChildIndex(nChildID);
    if (nIndex < 0)
        return FALSE;
    for (int nSideIndex = 0; nSideIndex < 4; ++nSideIndex)
        if (nSide & (1 << nSideIndex))
            m_wcTable[nIndex]->sc[nSideIndex].Free();
    ResetContainerMinMax();
    return TRUE;
}

void COXLayoutManager::SetDefaultConstraint(int nChildID) {
    ConstrainChild(nChildID, OX_LMS_TOP | OX_LMS_LEFT, OX_LMT_SAME, 0);
    RemoveConstraint(nChildID, OX_LMS_BOTTOM | OX_LMS_RIGHT);
}

BOOL COXLayoutManager::RedrawLayout() {
    if (!m_pContainerWnd || !::IsWindow(m_pContainerWnd->GetSafeHwnd()))
        return FALSE;
    RECT rc{};
    ::GetClientRect(m_pContainerWnd->GetSafeHwnd(), &rc);
    return OnSize(rc.right - rc.left, rc.bottom - rc.top);
}

int COXLayoutManager::CalcSidePos(int nIndex, int nSide) {
    COXWndConstraint* pwc = m_wcTable[nIndex];
    COXSideConstraint& sc = pwc->sc[nSide];
    if (sc.nPos == OX_LMPOS_TRACING)
        return OX_LMPOS_NULL;  // a cycle
    if (sc.nPos != OX_LMPOS_NULL)
        return sc.nPos;

    bool bHorz = IsHorizontal(nSide);
    int nPos = OX_LMPOS_NULL;
    if (sc.IsConstrained()) {
        int nNear = 0, nFar = 0;
        if (sc.nBaseWnd == 0) {
            nFar = bHorz ? m_cx : m_cy;
        } else {
            sc.nPos = OX_LMPOS_TRACING;
            int nBase = sc.nBaseIndex;
            if (nBase < 0 || nBase >= (int)m_wcTable.GetSize() || m_wcTable[nBase]->nID != sc.nBaseWnd) {
                nBase = -1;
                for (int i = 0; i < (int)m_wcTable.GetSize(); ++i)
                    if (m_wcTable[i]->nID == sc.nBaseWnd) {
                        nBase = i;
                        break;
                    }
                if (nBase < 0)
                    return OX_LMPOS_NULL;
                sc.nBaseIndex = nBase;
            }
            if (sc.nOffset1 != OX_LMOFFSET_NULL) {
                nNear = CalcSidePos(nBase, bHorz ? 2 : 0);
                if (nNear == OX_LMPOS_NULL)
                    return OX_LMPOS_NULL;
            }
            if (sc.nOffset2 != OX_LMOFFSET_NULL) {
                nFar = CalcSidePos(nBase, bHorz ? 3 : 1);
                if (nFar == OX_LMPOS_NULL)
                    return OX_LMPOS_NULL;
            }
        }
        if (sc.nOffset1 != OX_LMOFFSET_NULL && sc.nOffset2 != OX_LMOFFSET_NULL)
            nPos = sc.nOffset2 == 0 ? OX_LMPOS_NULL : nNear + (nFar - nNear) * sc.nOffset1 / sc.nOffset2;
        else if (sc.nOffset1 != OX_LMOFFSET_NULL)
            nPos = nNear + sc.nOffset1;
        else
            nPos = nFar + sc.nOffset2;
        if (nPos == OX_LMPOS_NULL)
            return OX_LMPOS_NULL;
    } else {
        RECT rc{};
        if (!GetChildRect(pwc->nID, rc))
            return OX_LMPOS_NULL;
        int nOpposite = nSide ^ 1;
        if (!pwc->sc[nOpposite].IsConstrained()) {
            const int edges[4] = {rc.top, rc.bottom, rc.left, rc.right};
            nPos = edges[nSide];
        } else {
            int nOther = CalcSidePos(nIndex, nOpposite);
            if (nOther == OX_LMPOS_NULL)
                return OX_LMPOS_NULL;
            int nSize = bHorz ? rc.right - rc.left : rc.bottom - rc.top;
            nPos = (nSide & 1) ? nOther + nSize : nOther - nSize;
        }
    }
    sc.nPos = nPos;
    return nPos;
}

BOOL COXLayoutManager::CalcLayout(int& nConflict) {
    nConflict = 0;
    for (INT_PTR i = 0; i < m_wcTable.GetSize(); ++i) {
        COXWndConstraint* pwc = m_wcTable[i];
        if (pwc->Top().IsConstrained() || pwc->Bottom().IsConstrained())
            pwc->Top().nPos = pwc->Bottom().nPos = OX_LMPOS_NULL;
        if (pwc->Left().IsConstrained() || pwc->Right().IsConstrained())
            pwc->Left().nPos = pwc->Right().nPos = OX_LMPOS_NULL;
    }
    for (int i = 0; i < (int)m_wcTable.GetSize(); ++i)
        for (int nSide = 0; nSide < 4; ++nSide)
            if (CalcSidePos(i, nSide) == OX_LMPOS_NULL)
                return FALSE;
    if (!m_bHasMinMax)
        return TRUE;
    for (INT_PTR i = 0; i < m_wcTable.GetSize(); ++i) {
        COXWndConstraint* pwc = m_wcTable[i];
        if (!pwc->bHasMinMax)
            continue;
        int nWidth = pwc->Right().nPos - pwc->Left().nPos;
        int nHeight = pwc->Bottom().nPos - pwc->Top().nPos;
        if (pwc->nMinWidth >= 1 && nWidth < pwc->nMinWidth)
            nConflict |= kTooNarrow;
        if (pwc->nMaxWidth >= 1 && nWidth > pwc->nMaxWidth)
            nConflict |= kTooWide;
        if (pwc->nMinHeight >= 1 && nHeight < pwc->nMinHeight)
            nConflict |= kTooLow;
        if (pwc->nMaxHeight >= 1 && nHeight > pwc->nMaxHeight)
            nConflict |= kTooHigh;
    }
    if ((nConflict & kTooNarrow) && (nConflict & kTooWide))
        return FALSE;
    if ((nConflict & kTooLow) && (nConflict & kTooHigh))
        return FALSE;
    return TRUE;
}

BOOL COXLayoutManager::OnSize(int cx, int cy) {
    if (!m_pContainerWnd || !::IsWindow(m_pContainerWnd->GetSafeHwnd()) || cx == 0 || cy == 0 ||
        m_wcTable.GetSize() == 0)
        return TRUE;
    m_cx = std::min(std::max(cx, m_cxMin), m_cxMax);
    m_cy = std::min(std::max(cy, m_cyMin), m_cyMax);
    if (m_cx < 1)
        return FALSE;

    int nConflict = 0, nLastConflict = 0;
    for (int nPass = 0;; ++nPass) {
        if (m_cx > kMaxCoord || m_cy < 1 || m_cy > kMaxCoord || nPass >= kMaxPasses)
            return FALSE;
        if (!CalcLayout(nConflict))
            return FALSE;
        if (nConflict == 0)
            break;
        nLastConflict = nConflict;
        if (nConflict & kTooNarrow)
            ++m_cx;
        else if (nConflict & kTooWide)
            --m_cx;
        if (nConflict & kTooLow)
            ++m_cy;
        else if (nConflict & kTooHigh)
            --m_cy;
        if (m_cx < 1)
            return FALSE;
    }
    if (nLastConflict & kTooNarrow)
        m_cxMin = m_cx;
    else if (nLastConflict & kTooWide)
        m_cxMax = m_cx;
    if (nLastConflict & kTooLow)
        m_cyMin = m_cy;
    else if (nLastConflict & kTooHigh)
        m_cyMax = m_cy;

    HWND hContainer = m_pContainerWnd->GetSafeHwnd();
    HDWP hdwp = ::BeginDeferWindowPos((int)m_wcTable.GetSize());
    if (!hdwp)
        return FALSE;
    for (INT_PTR i = 0; i < m_wcTable.GetSize(); ++i) {
        COXWndConstraint* pwc = m_wcTable[i];
        HWND hChild = ::GetDlgItem(hContainer, pwc->nID);
        if (!hChild)
            continue;
        int x = pwc->Left().nPos, y = pwc->Top().nPos;
        hdwp = ::DeferWindowPos(hdwp, hChild, nullptr, x, y, pwc->Right().nPos - x, pwc->Bottom().nPos - y,
                                SWP_NOZORDER);
        if (!hdwp)
            return FALSE;
        ::RedrawWindow(hChild, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    return ::EndDeferWindowPos(hdwp);
}
