#include "platform/framework/docview/CtrlView.h"

IMPLEMENT_DYNAMIC(CCtrlView, CView)
IMPLEMENT_DYNCREATE(CListView, CCtrlView)
IMPLEMENT_DYNCREATE(CTreeView, CCtrlView)
IMPLEMENT_DYNCREATE(CRichEditView, CCtrlView)

BOOL CCtrlView::PreCreateWindow(CREATESTRUCT& cs) {
    if (!CView::PreCreateWindow(cs))
        return FALSE;
    cs.lpszClass = m_strClass.c_str();
    cs.style |= m_dwDefaultStyle;
    return TRUE;
}

CListView::CListView() : CCtrlView("SysListView32", WS_CHILD | WS_VISIBLE | WS_BORDER) {}
CTreeView::CTreeView() : CCtrlView("SysTreeView32", WS_CHILD | WS_VISIBLE | WS_BORDER) {}
CRichEditView::CRichEditView() : CCtrlView("RichEdit20A", WS_CHILD | WS_VISIBLE | WS_BORDER) {}
