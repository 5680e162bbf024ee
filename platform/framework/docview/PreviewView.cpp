#include "platform/framework/docview/PreviewView.h"

#include <algorithm>

#include "platform/base/MessageBox.h"
#include "platform/framework/bars/ControlBar.h"
#include "platform/framework/frames/FrameWnd.h"
#include "platform/framework/window/AfxRes.h"
#include "platform/framework/window/Dialog.h"

// The preview's toolbar: a child dialog on top of the frame whose buttons' commands go to the frame (and
// so to the preview view, the active view).
class CPreviewBar : public CDialog {
public:
    BOOL Create(const DialogTemplate* tmpl, CFrameWnd* frame) {
        if (!CreateIndirect(tmpl, frame))
            return FALSE;
        ::SetWindowLongPtr(m_hWnd, GWLP_ID, AFX_IDW_PREVIEW_BAR);
        RECT rc{};
        ::GetWindowRect(m_hWnd, &rc);
        m_height = rc.bottom - rc.top;
        return TRUE;
    }
    int m_height = 0;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        if (CWnd* parent = GetParent())
            parent->SendMessage(WM_COMMAND, wParam, lParam);
        return TRUE;
    }
    void OnOK() override {}
    void OnCancel() override {}
    LRESULT OnSizeParent(WPARAM, LPARAM lParam) {
        auto* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
        if (!layout || !IsWindowVisible())
            return 0;
        RECT rc = layout->rect;
        rc.bottom = rc.top + m_height;
        layout->rect.top = rc.bottom;
        layout->sizeTotal.cy += m_height;
        AfxRepositionWindow(layout, m_hWnd, &rc);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPreviewBar, CDialog)
ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
END_MESSAGE_MAP()

namespace {
// The toolbar when the program has no template of that id: one row of buttons.
const DialogTemplate& DefaultToolbar() {
    static const DialogTemplate t{AFX_IDD_PREVIEW_TOOLBAR,
                                  WS_CHILD | DS_SETFONT,
                                  0,
                                  0,
                                  0,
                                  380,
                                  18,
                                  "",
                                  "MS Sans Serif",
                                  8,
                                  {{WC_BUTTON, "&Print...", AFX_ID_PREVIEW_PRINT, 2, 2, 44, 14, WS_VISIBLE | WS_TABSTOP, 0},
                                   {WC_BUTTON, "&Next Page", AFX_ID_PREVIEW_NEXT, 48, 2, 50, 14, WS_VISIBLE | WS_TABSTOP, 0},
                                   {WC_BUTTON, "Pre&v Page", AFX_ID_PREVIEW_PREV, 100, 2, 50, 14, WS_VISIBLE | WS_TABSTOP, 0},
                                   {WC_BUTTON, "&Two Page", AFX_ID_PREVIEW_NUMPAGE, 152, 2, 50, 14, WS_VISIBLE | WS_TABSTOP, 0},
                                   {WC_BUTTON, "Zoom &In", AFX_ID_PREVIEW_ZOOMIN, 204, 2, 44, 14, WS_VISIBLE | WS_TABSTOP, 0},
                                   {WC_BUTTON, "Zoom &Out", AFX_ID_PREVIEW_ZOOMOUT, 250, 2, 44, 14, WS_VISIBLE | WS_TABSTOP, 0},
                                   {WC_BUTTON, "&Close", AFX_ID_PREVIEW_CLOSE, 296, 2, 44, 14, WS_VISIBLE | WS_TABSTOP, 0}}};
    return t;
}

constexpr int kMargin = 8;
}  // namespace

IMPLEMENT_DYNCREATE(CPreviewView, CView)

BEGIN_MESSAGE_MAP(CPreviewView, CView)
ON_COMMAND(AFX_ID_PREVIEW_CLOSE, OnPreviewClose)
ON_COMMAND(AFX_ID_PREVIEW_NUMPAGE, OnNumPageChange)
ON_COMMAND(AFX_ID_PREVIEW_NEXT, OnNextPage)
ON_COMMAND(AFX_ID_PREVIEW_PREV, OnPrevPage)
ON_COMMAND(AFX_ID_PREVIEW_PRINT, OnPrintCommand)
ON_COMMAND(AFX_ID_PREVIEW_ZOOMIN, OnZoomIn)
ON_COMMAND(AFX_ID_PREVIEW_ZOOMOUT, OnZoomOut)
ON_WM_ERASEBKGND()
ON_WM_DESTROY()
ON_WM_SIZE()
END_MESSAGE_MAP()

CPreviewView::CPreviewView() = default;

CPreviewView::~CPreviewView() {
    DropRenderedPages();
    delete m_pPrintDC;
    delete m_pPreviewInfo;
    delete m_pPreviewState;
}

BOOL CPreviewView::SetPrintView(CView* printView) {
    m_pPrintView = printView;
    m_pPreviewInfo = new CPrintInfo;
    m_pPreviewInfo->m_bPreview = TRUE;
    if (!printView || !printView->OnPreparePrinting(m_pPreviewInfo))
        return FALSE;
    HDC hdc = m_pPreviewInfo->m_pPD->m_pd.hDC;
    if (!hdc && !m_pPreviewInfo->m_pPD->CreatePrinterDC())
        return FALSE;
    hdc = m_pPreviewInfo->m_pPD->m_pd.hDC;
    m_pPreviewInfo->m_pPD->m_pd.hDC = nullptr;  // owned by m_pPrintDC from here on
    m_pPrintDC = new CDC;
    m_pPrintDC->Attach(hdc);
    m_pPrintDC->m_bPrinting = TRUE;
    m_nCurrentPage = std::max<UINT>(1, m_pPreviewInfo->GetMinPage());
    m_nPages = std::clamp<UINT>(m_pPreviewInfo->m_nNumPreviewPages, 1, 2);
    printView->OnBeginPrinting(m_pPrintDC, m_pPreviewInfo);
    return TRUE;
}

BOOL CPreviewView::PageExists(UINT page) {
    if (!m_pPreviewInfo || !m_pPrintDC || page < m_pPreviewInfo->GetMinPage() || page > m_pPreviewInfo->GetMaxPage())
        return FALSE;
    // The print view says whether there is such a page, as it does while printing.
    int saved = m_pPrintDC->SaveDC();
    m_pPreviewInfo->m_nCurPage = page;
    m_pPreviewInfo->m_bContinuePrinting = TRUE;
    m_pPrintView->OnPrepareDC(m_pPrintDC, m_pPreviewInfo);
    BOOL exists = m_pPreviewInfo->m_bContinuePrinting;
    m_pPrintDC->RestoreDC(saved);
    m_pPreviewInfo->m_nCurPage = m_nCurrentPage;
    return exists;
}

HBITMAP CPreviewView::RenderPage(UINT page, SIZE size) {
    if (size.cx != m_renderedSize.cx || size.cy != m_renderedSize.cy) {
        DropRenderedPages();
        m_renderedSize = size;
    }
    if (auto it = m_rendered.find(page); it != m_rendered.end())
        return it->second;
    HDC pdc = m_pPrintDC->m_hDC;
    ::ResetPrinterPage(pdc);
    int saved = m_pPrintDC->SaveDC();
    m_pPreviewInfo->m_nCurPage = page;
    m_pPreviewInfo->m_bContinuePrinting = TRUE;
    m_pPrintView->OnPrepareDC(m_pPrintDC, m_pPreviewInfo);
    if (m_pPreviewInfo->m_bContinuePrinting) {
        m_pPreviewInfo->m_rectDraw = RECT{0, 0, m_pPrintDC->GetDeviceCaps(HORZRES), m_pPrintDC->GetDeviceCaps(VERTRES)};
        ::DPtoLP(pdc, reinterpret_cast<POINT*>(&m_pPreviewInfo->m_rectDraw), 2);
        m_pPrintView->OnPrint(m_pPrintDC, m_pPreviewInfo);
    }
    m_pPrintDC->RestoreDC(saved);
    m_pPreviewInfo->m_nCurPage = m_nCurrentPage;
    HDC screen = ::GetDC(m_hWnd);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, size.cx, size.cy);
    HDC mem = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(mem, bitmap);
    RECT all{0, 0, size.cx, size.cy};
    ::DrawPrinterPage(pdc, mem, &all);
    ::SelectObject(mem, old);
    ::DeleteDC(mem);
    ::ReleaseDC(m_hWnd, screen);
    m_rendered[page] = bitmap;
    return bitmap;
}

void CPreviewView::DropRenderedPages() {
    for (auto& [page, bitmap] : m_rendered)
        ::DeleteObject(bitmap);
    m_rendered.clear();
}

BOOL CPreviewView::OnEraseBkgnd(HDC) {
    return TRUE;  // OnDraw fills everything
}

void CPreviewView::OnDraw(HDC dc) {
    RECT client{};
    GetClientRect(&client);
    ::FillRect(dc, &client, GetSysColorBrush(COLOR_APPWORKSPACE));
    if (!m_pPrintDC || !m_pPrintView)
        return;
    int pw = m_pPrintDC->GetDeviceCaps(HORZRES), ph = m_pPrintDC->GetDeviceCaps(VERTRES);
    if (pw <= 0 || ph <= 0)
        return;
    // The pages side by side fit the window at zoom 0; each zoom step doubles them.
    int width = client.right - client.left - kMargin * ((int)m_nPages + 1);
    int height = client.bottom - client.top - 2 * kMargin;
    if (width <= 0 || height <= 0)
        return;
    double scale = std::min((double)width / m_nPages / pw, (double)height / ph) * (1 << m_nZoomState);
    SIZE size{std::max(1, (int)(pw * scale)), std::max(1, (int)(ph * scale))};
    // Centred while they fit across.
    int across = (int)m_nPages * size.cx + kMargin * ((int)m_nPages - 1);
    int left = std::max(kMargin, (int)(client.right - client.left - across) / 2);
    HDC mem = ::CreateCompatibleDC(dc);
    for (UINT i = 0; i < m_nPages; ++i) {
        UINT page = m_nCurrentPage + i;
        if (i > 0 && !PageExists(page))
            break;
        int x = left + (int)i * (size.cx + kMargin);
        RECT frame{x - 1, kMargin - 1, x + size.cx + 1, kMargin + size.cy + 1};
        ::FrameRect(dc, &frame, (HBRUSH)::GetStockObject(BLACK_BRUSH));
        HGDIOBJ old = ::SelectObject(mem, RenderPage(page, size));
        ::BitBlt(dc, x, kMargin, size.cx, size.cy, mem, 0, 0, SRCCOPY);
        ::SelectObject(mem, old);
    }
    ::DeleteDC(mem);
}

void CPreviewView::OnSize(UINT, int, int) {
    Invalidate(FALSE);
}

void CPreviewView::PageChanged() {
    if (m_pPreviewInfo)
        m_pPreviewInfo->m_nCurPage = m_nCurrentPage;
    UpdateBar();
    Invalidate(FALSE);
}

void CPreviewView::UpdateBar() {
    if (!m_pToolBar || !m_pToolBar->m_hWnd)
        return;
    auto enable = [this](int id, BOOL on) {
        if (HWND button = ::GetDlgItem(m_pToolBar->m_hWnd, id))
            ::EnableWindow(button, on);
    };
    enable(AFX_ID_PREVIEW_NEXT, PageExists(m_nCurrentPage + m_nPages));
    enable(AFX_ID_PREVIEW_PREV, m_nCurrentPage > std::max<UINT>(1, m_pPreviewInfo ? m_pPreviewInfo->GetMinPage() : 1));
    enable(AFX_ID_PREVIEW_ZOOMIN, m_nZoomState < 2);
    enable(AFX_ID_PREVIEW_ZOOMOUT, m_nZoomState > 0);
    enable(AFX_ID_PREVIEW_NUMPAGE, m_nZoomState == 0);
    ::SetDlgItemText(m_pToolBar->m_hWnd, AFX_ID_PREVIEW_NUMPAGE, m_nPages == 1 ? "&Two Page" : "&One Page");
}

void CPreviewView::OnNextPage() {
    if (PageExists(m_nCurrentPage + m_nPages)) {
        ++m_nCurrentPage;
        PageChanged();
    }
}

void CPreviewView::OnPrevPage() {
    if (m_nCurrentPage > 1 && (!m_pPreviewInfo || m_nCurrentPage > m_pPreviewInfo->GetMinPage())) {
        --m_nCurrentPage;
        PageChanged();
    }
}

void CPreviewView::OnNumPageChange() {
    m_nPages = m_nPages == 1 ? 2 : 1;
    DropRenderedPages();
    PageChanged();
}

void CPreviewView::OnZoomIn() {
    if (m_nZoomState < 2) {
        ++m_nZoomState;
        PageChanged();
    }
}

void CPreviewView::OnZoomOut() {
    if (m_nZoomState > 0) {
        --m_nZoomState;
        PageChanged();
    }
}

void CPreviewView::OnPreviewClose() {
    if (m_pPrintView)
        m_pPrintView->OnEndPrintPreview(m_pPrintDC, m_pPreviewInfo, POINT{0, 0}, this);
    else
        ClosePreview();
}

void CPreviewView::OnPreviewPrint() {
    // The frame gets the print command once the preview is gone, so its own view prints.
    CFrameWnd* frame = m_pPreviewFrame;
    HWND frameWnd = frame ? frame->m_hWnd : nullptr;
    OnPreviewClose();  // this view is deleted from here on
    if (frameWnd && ::IsWindow(frameWnd))
        ::SendMessage(frameWnd, WM_COMMAND, ID_FILE_PRINT, 0);
}

void CPreviewView::ClosePreview() {
    if (m_bClosing)
        return;
    m_bClosing = true;
    CFrameWnd* frame = m_pPreviewFrame;
    CPrintPreviewState* state = m_pPreviewState;
    if (m_pToolBar) {
        m_pToolBar->DestroyWindow();
        delete m_pToolBar;
        m_pToolBar = nullptr;
    }
    if (frame && frame->m_hWnd && state) {
        if (frame->GetActiveView() == this)
            frame->SetActiveView(nullptr, FALSE);
        // This view leaves the pane's place first, so the old pane can have its id back.
        ::SetWindowLongPtr(m_hWnd, GWLP_ID, 0);
        if (state->hwndPaneOld && ::IsWindow(state->hwndPaneOld)) {
            ::SetWindowLongPtr(state->hwndPaneOld, GWLP_ID, AFX_IDW_PANE_FIRST);
            ::ShowWindow(state->hwndPaneOld, SW_SHOW);
        }
        for (POSITION pos = state->barsHidden.GetHeadPosition(); pos;) {
            auto* bar = static_cast<CControlBar*>(state->barsHidden.GetNext(pos));
            frame->ShowControlBar(bar, TRUE, TRUE);
        }
        if (state->pViewActiveOld && state->pViewActiveOld->m_hWnd)
            frame->SetActiveView(state->pViewActiveOld);
        frame->RecalcLayout();
        if (state->lpfnCloseProc)
            state->lpfnCloseProc(frame);
    }
    DestroyWindow();  // deletes this view
}

void CPreviewView::OnDestroy() {
    // A frame that goes while its preview is open ends the printout too.
    if (!m_bClosing && m_pPrintView && m_pPrintDC && m_pPreviewInfo && m_pPrintView->m_hWnd)
        m_pPrintView->OnEndPrinting(m_pPrintDC, m_pPreviewInfo);
    m_bClosing = true;
    if (m_pToolBar) {
        if (m_pToolBar->m_hWnd)
            m_pToolBar->DestroyWindow();
        delete m_pToolBar;
        m_pToolBar = nullptr;
    }
    CView::OnDestroy();
}

// ---- The view side

void CView::OnEndPrintPreview(CDC* dc, CPrintInfo* info, POINT, CPreviewView* view) {
    OnEndPrinting(dc, info);
    if (view)
        view->ClosePreview();
}

BOOL CView::DoPrintPreview(UINT toolbarId, CView* printView, const CRuntimeClass* previewViewClass,
                           CPrintPreviewState* state) {
    if (!printView || !previewViewClass || !state || !previewViewClass->IsDerivedFrom(RUNTIME_CLASS(CPreviewView)))
        return FALSE;
    auto* frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    if (!frame)
        frame = GetParentFrame();
    if (!frame || !frame->m_hWnd)
        return FALSE;
    auto* view = dynamic_cast<CPreviewView*>(previewViewClass->CreateObject());
    if (!view)
        return FALSE;
    view->m_pPreviewFrame = frame;

    const DialogTemplate* tmpl = FindDialogTemplate(toolbarId);
    if (!tmpl)
        tmpl = &DefaultToolbar();
    auto* bar = new CPreviewBar;
    if (!bar->Create(tmpl, frame)) {
        delete bar;
        delete view;
        return FALSE;
    }
    view->m_pToolBar = bar;

    // The frame's visible bars and its pane make room for the preview.
    state->barsHidden.RemoveAll();
    for (POSITION pos = frame->m_listControlBars.GetHeadPosition(); pos;) {
        auto* controlBar = static_cast<CControlBar*>(frame->m_listControlBars.GetNext(pos));
        if (controlBar->m_hWnd && controlBar->IsWindowVisible() && controlBar != (CWnd*)bar)
            state->barsHidden.AddTail(controlBar);
    }
    for (POSITION pos = state->barsHidden.GetHeadPosition(); pos;)
        frame->ShowControlBar(static_cast<CControlBar*>(state->barsHidden.GetNext(pos)), FALSE, TRUE);
    state->pViewActiveOld = frame->GetActiveView();
    state->hwndPaneOld = ::GetDlgItem(frame->m_hWnd, AFX_IDW_PANE_FIRST);
    if (state->hwndPaneOld) {
        ::ShowWindow(state->hwndPaneOld, SW_HIDE);
        ::SetWindowLongPtr(state->hwndPaneOld, GWLP_ID, AFX_IDW_PANE_SAVE);
    }
    auto restore = [&]() {
        if (state->hwndPaneOld) {
            ::SetWindowLongPtr(state->hwndPaneOld, GWLP_ID, AFX_IDW_PANE_FIRST);
            ::ShowWindow(state->hwndPaneOld, SW_SHOW);
        }
        for (POSITION pos = state->barsHidden.GetHeadPosition(); pos;)
            frame->ShowControlBar(static_cast<CControlBar*>(state->barsHidden.GetNext(pos)), TRUE, TRUE);
        state->barsHidden.RemoveAll();
        frame->RecalcLayout();
    };

    CCreateContext context;
    context.m_pCurrentFrame = frame;
    if (!view->Create(nullptr, "", AFX_WS_DEFAULT_VIEW & ~WS_VISIBLE, RECT{0, 0, 0, 0}, frame,
                      AFX_IDW_PANE_FIRST, &context)) {
        bar->DestroyWindow();
        delete bar;
        view->m_pToolBar = nullptr;
        restore();
        return FALSE;  // a view that failed to be created has deleted itself
    }
    if (!view->SetPrintView(printView)) {
        view->m_pPreviewFrame = nullptr;  // nothing of the frame is the view's to restore
        view->DestroyWindow();
        restore();
        return FALSE;
    }
    view->m_pPreviewState = state;
    frame->SetActiveView(view);
    bar->ShowWindow(SW_SHOW);
    view->ShowWindow(SW_SHOW);
    frame->RecalcLayout();
    view->UpdateBar();
    view->Invalidate(FALSE);
    return TRUE;
}

void CView::OnFilePrintPreview() {
    auto* state = new CPrintPreviewState;
    if (!DoPrintPreview(AFX_IDD_PREVIEW_TOOLBAR, this, RUNTIME_CLASS(CPreviewView), state)) {
        CString text = AfxLoadString(AFX_IDP_COMMAND_FAILURE);
        AfxMessageBox(text.IsEmpty() ? CString("Command failed.") : text, MB_OK | MB_ICONEXCLAMATION);
        delete state;
    }
}
