// CView: a child window of a frame that shows a document.
#pragma once

#include "platform/framework/docview/Document.h"

class CDC;
class CPrintInfo;
class CPreviewView;
struct CPrintPreviewState;

class CView : public CWnd {
    DECLARE_DYNAMIC(CView)
public:
    CView() = default;
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                LPVOID context = nullptr) override;

    virtual void OnDraw(HDC dc) = 0;
    virtual void OnInitialUpdate();
    // hint and hintObject come from UpdateAllViews; the default repaints the view.
    virtual void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject);
    virtual void OnActivateView(BOOL activate, CView* activateView, CView* deactiveView);
    virtual void OnActivateFrame(UINT, CFrameWnd*) {}
    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;
    void PostNcDestroy() override;

    // Printing: prepare (the page range; DoPreparePrinting shows the print dialog, or takes the
    // application's printer for a preview or a direct print), begin, one OnPrepareDC and OnPrint per
    // page, end. The default OnPrint draws the page with OnDraw.
    virtual BOOL OnPreparePrinting(CPrintInfo* info);
    BOOL DoPreparePrinting(CPrintInfo* info);
    virtual void OnBeginPrinting(CDC* dc, CPrintInfo* info);
    virtual void OnPrepareDC(CDC* dc, CPrintInfo* info = nullptr);
    virtual void OnPrint(CDC* dc, CPrintInfo* info);
    virtual void OnEndPrinting(CDC* dc, CPrintInfo* info);
    // The standard print command of a view (ID_FILE_PRINT; ID_FILE_PRINT_DIRECT prints without the dialog).
    void OnFilePrint();
    // Print preview: the standard command, and the preview of `printView`'s printout in the main frame
    // with a preview view of that run-time class (the preview owns `state` once this succeeds).
    void OnFilePrintPreview();
    BOOL DoPrintPreview(UINT toolbarId, CView* printView, const CRuntimeClass* previewViewClass,
                        CPrintPreviewState* state);
    // The preview is closing: ends the printout and closes the preview.
    virtual void OnEndPrintPreview(CDC* dc, CPrintInfo* info, POINT point, CPreviewView* view);

    CDocument* m_pDocument = nullptr;

protected:
    int OnCreate(LPCREATESTRUCT cs);
    void OnDestroy();
    void OnPaint();
    int OnMouseActivate(CWnd* desktop, UINT hitTest, UINT message);
    LRESULT OnInitialUpdateMessage(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()
    friend class CDocument;

private:
    UINT m_nCommandRouted = 0;  // the command being routed to this view
};
