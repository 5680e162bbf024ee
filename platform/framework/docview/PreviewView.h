// The framework's print preview: a view that takes the frame's place of its pane and shows the pages a
// print view prints, drawn on the printer DC and scaled to the window, under a toolbar made from a dialog
// template (AFX_IDD_PREVIEW_TOOLBAR unless the program gives another) whose buttons send the preview
// commands AFX_ID_PREVIEW_CLOSE .. AFX_ID_PREVIEW_ZOOMOUT.
#pragma once

#include <map>

#include "platform/framework/docview/PrintInfo.h"
#include "platform/framework/docview/View.h"
#include "platform/framework/gdi/DC.h"

class CFrameWnd;
class CPreviewBar;

// What the frame showed before the preview, restored when it closes.
struct CPrintPreviewState {
    CView* pViewActiveOld = nullptr;
    HWND hwndPaneOld = nullptr;      // the pane the preview covered
    CPtrList barsHidden;             // control bars hidden for the preview
    void (*lpfnCloseProc)(CFrameWnd* frame) = nullptr;
};

class CPreviewView : public CView {
    DECLARE_DYNCREATE(CPreviewView)
public:
    CPreviewView();
    ~CPreviewView() override;

    void OnDraw(HDC dc) override;
    // Prepares the print view's printout for the preview; FALSE when it cannot print.
    virtual BOOL SetPrintView(CView* printView);
    // Ends the preview: the print view ends its printout, the frame gets its pane and bars back, and this
    // view goes.
    void ClosePreview();
    // "Print...": the preview closes and its frame gets the print command.
    virtual void OnPreviewPrint();

    UINT GetCurrentPage() const { return m_nCurrentPage; }
    UINT GetPagesShown() const { return m_nPages; }
    int GetZoomState() const { return m_nZoomState; }
    // Whether the print view has that page (within its range, and its OnPrepareDC goes on printing).
    BOOL PageExists(UINT page);
    // Enables the bar's buttons for the page shown and names the page-count button.
    void UpdateBar();

    CView* m_pPrintView = nullptr;
    CPrintInfo* m_pPreviewInfo = nullptr;
    CDC* m_pPrintDC = nullptr;
    CPrintPreviewState* m_pPreviewState = nullptr;
    CPreviewBar* m_pToolBar = nullptr;
    CFrameWnd* m_pPreviewFrame = nullptr;

protected:
    void OnPreviewClose();
    void OnNumPageChange();
    void OnNextPage();
    void OnPrevPage();
    void OnPrintCommand() { OnPreviewPrint(); }
    void OnZoomIn();
    void OnZoomOut();
    BOOL OnEraseBkgnd(HDC dc);
    void OnDestroy();
    void OnSize(UINT type, int cx, int cy);
    void PageChanged();
    // A page rendered on the printer DC and scaled to `size`, kept until the layout changes.
    HBITMAP RenderPage(UINT page, SIZE size);
    void DropRenderedPages();
    DECLARE_MESSAGE_MAP()

private:
    UINT m_nCurrentPage = 1;
    UINT m_nPages = 1;
    int m_nZoomState = 0;  // 0 the whole page, 1 twice, 2 four times
    bool m_bClosing = false;
    SIZE m_renderedSize{0, 0};
    std::map<UINT, HBITMAP> m_rendered;
};
