// The print view: a hidden view that draws a print script on a printer or in the print preview. It
// lives for one preview, with a document of its own that holds nothing.
#pragma once

#include "platform/framework/docview/PreviewView.h"
#include "platform/framework/docview/View.h"
#include "platform/framework/gdi/GdiObject.h"

class PrintEngine;
class CPrinterDef;

class CDumDocument : public CDocument {
    DECLARE_DYNCREATE(CDumDocument)
public:
    CDumDocument() = default;
};

class PrintEngineImpl : public CView {
    DECLARE_DYNCREATE(PrintEngineImpl)
public:
    PrintEngineImpl();
    ~PrintEngineImpl() override;

    // Shows the script in the print preview of the main frame and runs the preview's loop until it
    // closes; the printer is the definition's when it has one, else the application's. FALSE when the
    // preview could not start (said to the user).
    static BOOL CreateAndPreview(PrintEngine* script, const CPrinterDef* printer = nullptr);
    // Prints the script without a preview: through the print dialog, or straight to the printer when
    // `direct`.
    static void Print(PrintEngine* script, const CPrinterDef* printer, BOOL direct);

    BOOL OnPreparePrinting(CPrintInfo* info) override;
    void OnBeginPrinting(CDC* dc, CPrintInfo* info) override;
    void OnPrint(CDC* dc, CPrintInfo* info) override;
    void OnDraw(HDC) override {}

    // The page extent (hundredths of an inch) and offsets kept with the view; the pages are laid out
    // by the printer's paper.
    int m_nPageWidth = 1050;
    int m_nPageHeight = 800;
    int m_nOffsetX = 0;
    int m_nOffsetY = 0;

protected:
    void OnPrintCommand() { OnFilePrint(); }
    DECLARE_MESSAGE_MAP()

private:
    // A hidden print view for the script in the main frame; null when there is no main frame.
    static PrintEngineImpl* CreateHidden(PrintEngine* script, const CPrinterDef* printer);
    // Draws the loaded page's objects on a DC under MM_HIENGLISH.
    void DrawPage(CDC* dc);

    CFont m_Font;
    CDumDocument* m_pDumDoc = nullptr;
    PrintEngine* m_pScript = nullptr;
    const CPrinterDef* m_pPrinter = nullptr;
    int m_nPageLoaded = 0;
    CDC* m_pDC = nullptr;
    UINT m_nOldAlign = 0;
    BOOL m_bLastPage = FALSE;
    CFrameWnd* m_pShownFrame = nullptr;
};

// The preview of a print script: one page at a time; "Print..." closes it and prints through the print
// view.
class CMyPreviewView : public CPreviewView {
    DECLARE_DYNCREATE(CMyPreviewView)
public:
    CMyPreviewView();
    ~CMyPreviewView() override;

    void OnPreviewPrint() override;
};

// 1 while a CMyPreviewView exists.
extern int _bPreviewOpen;
