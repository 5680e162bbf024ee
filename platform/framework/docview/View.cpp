#include "platform/framework/docview/View.h"

IMPLEMENT_DYNAMIC(CView, CWnd)

BEGIN_MESSAGE_MAP(CView, CWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_PAINT()
ON_WM_MOUSEACTIVATE()
ON_MESSAGE(WM_INITIALUPDATE, OnInitialUpdateMessage)
END_MESSAGE_MAP()

LPCTSTR AfxFrameOrViewClassName();

CView::~CView() {
    if (m_pDocument)
        m_pDocument->RemoveView(this);
}

BOOL CView::PreCreateWindow(CREATESTRUCT& cs) {
    if (!cs.lpszClass)
        cs.lpszClass = AfxFrameOrViewClassName();
    cs.style |= WS_CLIPSIBLINGS;
    // A bordered view is drawn with a sunken client edge instead.
    if (cs.style & WS_BORDER) {
        cs.dwExStyle |= WS_EX_CLIENTEDGE;
        cs.style &= ~WS_BORDER;
    }
    return TRUE;
}

BOOL CView::Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                   UINT id, LPVOID context) {
    return CWnd::Create(className, windowName, style, rect, parent, id, context);
}

int CView::OnCreate(LPCREATESTRUCT cs) {
    if (Default() == -1)
        return -1;
    auto* context = cs ? static_cast<CCreateContext*>(cs->lpCreateParams) : nullptr;
    if (context && context->m_pCurrentDoc)
        context->m_pCurrentDoc->AddView(this);
    return 0;
}

void CView::OnDestroy() {
    if (CFrameWnd* frame = GetParentFrame(); frame && frame->GetActiveView() == this)
        frame->SetActiveView(nullptr);
    Default();
}

void CView::PostNcDestroy() {
    delete this;
}

void CView::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hWnd, &ps);
    OnDraw(dc);
    EndPaint(m_hWnd, &ps);
}

void CView::OnInitialUpdate() {
    OnUpdate(nullptr, 0, nullptr);
}

void CView::OnUpdate(CView* sender, LPARAM, CObject*) {
    (void)sender;
    Invalidate(TRUE);
}

void CView::OnActivateView(BOOL activate, CView* activateView, CView*) {
    if (activate && activateView == this) {
        // The view takes the focus while its top-level window is the active one.
        HWND top = ::GetAncestor(m_hWnd, GA_ROOT);
        if (top && ::GetActiveWindow() == top && ::GetFocus() != m_hWnd && !::IsChild(m_hWnd, ::GetFocus()))
            SetFocus();
    }
}

int CView::OnMouseActivate(CWnd*, UINT, UINT) {
    int result = (int)Default();
    if (result == MA_NOACTIVATEANDEAT || result == MA_ACTIVATEANDEAT)
        return result;
    if (CFrameWnd* frame = GetParentFrame()) {
        HWND focus = ::GetFocus();
        if (frame->GetActiveView() == this && focus != m_hWnd && !::IsChild(m_hWnd, focus))
            OnActivateView(TRUE, this, this);
        else
            frame->SetActiveView(this);
    }
    return result;
}

LRESULT CView::OnInitialUpdateMessage(WPARAM, LPARAM) {
    OnInitialUpdate();
    return 0;
}

BOOL CView::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) {
    if (code == CN_COMMAND && !extra)
        m_nCommandRouted = id;
    if (CWnd::OnCmdMsg(id, code, extra, handlerInfo))
        return TRUE;
    return m_pDocument && m_pDocument->OnCmdMsg(id, code, extra, handlerInfo);
}
