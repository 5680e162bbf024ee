#include "guilib/customize/OXCustomizePage.h"

#include "guilib/customize/OXCustomizeManager.h"
#include "platform/framework/frames/FrameWnd.h"

IMPLEMENT_DYNCREATE(COXCustomizePage, CWnd)

BEGIN_MESSAGE_MAP(COXCustomizePage, CWnd)
ON_WM_DESTROY()
END_MESSAGE_MAP()

COXCustomizePage::~COXCustomizePage() {
    if (m_hWnd && ::IsWindow(m_hWnd))
        DestroyWindow();
}

BOOL COXCustomizePage::Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd, const RECT& rect, UINT nID,
                              DWORD dwStyle) {
    // The common control classes are registered by the platform before any window exists.
    CREATESTRUCT cs{};
    cs.style = (LONG)(dwStyle & ~WS_VISIBLE);
    cs.hwndParent = pParentWnd ? pParentWnd->m_hWnd : nullptr;
    cs.hMenu = (HMENU)(UINT_PTR)nID;
    cs.x = rect.left;
    cs.y = rect.top;
    cs.cx = rect.right - rect.left;
    cs.cy = rect.bottom - rect.top;
    if (!PreCreateWindow(cs))
        return FALSE;

    const DialogTemplate* tmpl = FindDialogTemplate((UINT)(uintptr_t)lpszTemplateName);
    if (!tmpl)
        return FALSE;
    // The page is a borderless child whatever its template says: it is created as one, so it never
    // shows as a captioned pop-up, and without the client edge.
    DialogTemplate child = *tmpl;
    child.style = (tmpl->style & ~(WS_CAPTION | WS_POPUP | WS_VISIBLE | DS_MODALFRAME)) | WS_CHILD |
                  ((DWORD)cs.style & ~WS_CAPTION);
    child.exStyle = (tmpl->exStyle | cs.dwExStyle) & ~WS_EX_CLIENTEDGE;
    AfxHookWindowCreate(this);
    HWND hwnd = CreateDialogIndirectParam(nullptr, &child, cs.hwndParent, AfxDlgProc, 0);
    AfxUnhookWindowCreate();
    if (!hwnd) {
        if (m_hWnd && !::IsWindow(m_hWnd))
            Detach();
        return FALSE;
    }
    ::SetWindowLongPtr(m_hWnd, GWLP_ID, (LONG_PTR)nID);

    InitControls();
    if (!m_hWnd)
        return FALSE;
    SetWindowPos(nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (dwStyle & WS_VISIBLE)
        ShowWindow(SW_SHOWNORMAL);
    return TRUE;
}

BOOL COXCustomizePage::ShowInManager(COXCustomizeManager* pCustomizeManager) {
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        ShowWindow(SW_SHOW);
        return TRUE;
    }
    m_pCustomizeManager = pCustomizeManager;
    CWnd* parent = pCustomizeManager ? pCustomizeManager->GetManagerWnd() : nullptr;
    RECT empty{0, 0, 0, 0};
    if (!parent || !Create(MAKEINTRESOURCE(m_nDialogID), parent, empty, 1000, WS_CHILD | WS_VISIBLE)) {
        m_pCustomizeManager = nullptr;
        return FALSE;
    }
    return TRUE;
}

void COXCustomizePage::HidePage() {
    if (m_hWnd && ::IsWindow(m_hWnd))
        ShowWindow(SW_HIDE);
}

void COXCustomizePage::InitControls() {
    UpdateData(FALSE);
    m_LayoutManager.Attach(this);
}

BOOL COXCustomizePage::UpdateData(BOOL bSaveAndValidate) {
    return AfxRunDataExchange(this, bSaveAndValidate, [this](CDataExchange* dx) { DoDataExchange(dx); });
}

void COXCustomizePage::OnDestroy() {
    if (m_LayoutManager.GetContainer())
        m_LayoutManager.Detach();
    m_bInitialized = FALSE;
    Default();
}

BOOL COXCustomizePage::PreTranslateMessage(MSG* pMsg) {
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;
    // The frames above the page, nearest first, through parents and the dialog's owner: the main
    // frame's accelerators work while a page has the focus.
    for (HWND h = ::GetParent(m_hWnd); h; h = ::GetParent(h)) {
        CWnd* wnd = CWnd::FromHandlePermanent(h);
        if (wnd && wnd->IsFrameWnd() && wnd->PreTranslateMessage(pMsg))
            return TRUE;
    }
    if (!::GetWindow(m_hWnd, GW_CHILD))
        return FALSE;
    if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST ||
        (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd)))
        return FALSE;
    return ::IsDialogMessage(m_hWnd, pMsg);
}
