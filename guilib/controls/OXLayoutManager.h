// Keeps the child controls of a window tied to the sides of its client area, or to the sides of
// sibling controls, while the window is resized. The manager subclasses its container: each WM_SIZE
// lays the tied children out in one deferred batch before the container's own handler runs.
#pragma once

#include "platform/base/Collections.h"
#include "platform/base/Object.h"
#include "platform/framework/window/Wnd.h"
#include "platform/user/User.h"

// Side masks; sides are always visited in this order.
#define OX_LMS_TOP 1
#define OX_LMS_BOTTOM 2
#define OX_LMS_LEFT 4
#define OX_LMS_RIGHT 8
#define OX_LMS_ANY (OX_LMS_TOP | OX_LMS_BOTTOM | OX_LMS_LEFT | OX_LMS_RIGHT)

// Constraint types: from the base's side of the same name, from its opposite side, or a percentage of
// the way across the base.
#define OX_LMT_SAME 1
#define OX_LMT_OPPOSITE 2
#define OX_LMT_POSITION 3

// Marker values of offsets and positions.
#define OX_LMPOS_NULL 32767
#define OX_LMPOS_TRACING 32766
#define OX_LMOFFSET_NULL 32767

// One side of a child: measured from `nBaseWnd` (0: the container's client area).
struct COXSideConstraint {
    int nBaseWnd = 0;
    int nOffset1 = OX_LMOFFSET_NULL;
    int nOffset2 = OX_LMOFFSET_NULL;
    int nPos = OX_LMPOS_NULL;
    int nBaseIndex = -1;

    BOOL IsConstrained() const { return nOffset1 != OX_LMOFFSET_NULL || nOffset2 != OX_LMOFFSET_NULL; }
    void Free() { *this = COXSideConstraint(); }
};

// The four sides of one child control, in the order top, bottom, left, right.
class COXWndConstraint {
public:
    explicit COXWndConstraint(int nChildID) : nID(nChildID) {}

    int nID;
    BOOL bHasMinMax = FALSE;
    int nMinWidth = 0, nMinHeight = 0, nMaxWidth = 0, nMaxHeight = 0;
    COXSideConstraint sc[4];  // top, bottom, left, right

    COXSideConstraint& Top() { return sc[0]; }
    COXSideConstraint& Bottom() { return sc[1]; }
    COXSideConstraint& Left() { return sc[2]; }
    COXSideConstraint& Right() { return sc[3]; }
};

class COXLayoutManager : public CObject {
    DECLARE_DYNCREATE(COXLayoutManager)

public:
    explicit COXLayoutManager(CWnd* pContainerWnd = nullptr);
    ~COXLayoutManager() override;
    COXLayoutManager(const COXLayoutManager&) = delete;
    COXLayoutManager& operator=(const COXLayoutManager&) = delete;

    // Starts over on this container (the list is emptied). FALSE when the window has no handle, or when
    // the manager already subclasses another window: the first stays subclassed until `Detach`.
    BOOL Attach(CWnd* pContainerWnd);
    void Detach();
    CWnd* GetContainer() const { return m_pContainerWnd; }

    // Ties the masked sides of a child to its base (0: the container) at their present distances.
    BOOL ConstrainChild(int nChildID, int nSide, int nType, int nBaseID = 0);
    // Stores a constraint with an explicit offset (a percentage for type 3).
    BOOL SetConstraint(int nChildID, int nSide, int nType, int nOffset, int nBaseID = 0);
    BOOL RemoveConstraint(int nChildID, int nSide);
    // The child's index in the list, added (all sides free) when missing; -1 for identifier 0.
    int AddChild(int nChildID, BOOL bSetDefaultConstraints = TRUE);
    void RemoveAllChildren();
    // Size limits of one child, honoured by every layout (a limit below 1 does not count).
    BOOL SetMinMax(int nChildID, SIZE sizeMin, SIZE sizeMax);

    virtual void SetDefaultConstraint(int nChildID);
    virtual BOOL RedrawLayout();
    virtual BOOL OnSize(int cx, int cy);

    int GetChildCount() const { return (int)m_wcTable.GetSize(); }

protected:
    // Looks a child up from the end of the list; -1 when missing.
    int GetChildIndex(int nChildID) const;
    // The position of one side (0 top .. 3 right) of a record, or OX_LMPOS_NULL on failure.
    int CalcSidePos(int nIndex, int nSide);
    // One layout pass; `nConflict` gets the size-limit conflicts found (bits 1 narrow, 2 wide, 4 low,
    // 8 high). FALSE when a position cannot be computed or the limits contradict each other.
    BOOL CalcLayout(int& nConflict);
    // A child's window rectangle in the container's client coordinates; FALSE when it does not exist.
    BOOL GetChildRect(int nChildID, RECT& rect) const;
    void ResetContainerMinMax();

    CWnd* m_pContainerWnd;
    int m_nBase;
    BOOL m_bHasMinMax;
    int m_cx, m_cy;
    int m_cxMin, m_cxMax, m_cyMin, m_cyMax;
    CArray<COXWndConstraint*, COXWndConstraint*> m_wcTable;
    HWND m_hWnd;
    WNDPROC m_pfnSuper;

    static LRESULT GlobalLayoutManagerProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    static CMap<HWND, HWND, COXLayoutManager*, COXLayoutManager*>& AllLayoutManagers();
};
