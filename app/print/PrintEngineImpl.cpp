#include "app/print/PrintEngineImpl.h"

#include "app/print/PrintEngine.h"
#include "controls/model/PrinterDef.h"
#include "platform/base/MessageBox.h"
#include "platform/framework/app/WinThread.h"
#include "platform/framework/frames/FrameWnd.h"
#include "platform/framework/window/AfxRes.h"
#include "res/veltrin/resource_print.h"

int _bPreviewOpen = 0;

namespace {
constexpr UINT kPrintViewId = 59649;
constexpr double kUnitsPerInch = 1000.0;  // MM_HIENGLISH
CMyPreviewView* g_pPreview = nullptr;

void FreeBlocks(PRINTDLG& pd) {
    for (HGLOBAL* block : {&pd.hDevNames, &pd.hDevMode})
        if (*block) {
            GlobalFree(*block);
            *block = nullptr;
        }
}

int X(double inches) {
    return (int)(inches * kUnitsPerInch);
}
int Y(double inches) {
    return -(int)(inches * kUnitsPerInch);
}
}  // namespace

IMPLEMENT_DYNCREATE(CDumDocument, CDocument)
IMPLEMENT_DYNCREATE(PrintEngineImpl, CView)
IMPLEMENT_DYNCREATE(CMyPreviewView, CPreviewView)

BEGIN_MESSAGE_MAP(PrintEngineImpl, CView)
ON_COMMAND(ID_FILE_PRINT, OnPrintCommand)
ON_COMMAND(ID_FILE_PRINT_DIRECT, OnPrintCommand)
END_MESSAGE_MAP()

PrintEngineImpl::PrintEngineImpl() {
    m_Font.CreateFont(333, 0, 0, 0, FW_NORMAL, FALSE, FALSE, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                      DEFAULT_QUALITY, DEFAULT_PITCH | FF_ROMAN, "New Times Roman");
}

PrintEngineImpl::~PrintEngineImpl() {
    if (m_pDocument)
        m_pDocument->RemoveView(this);
    delete m_pDumDoc;
}

PrintEngineImpl* PrintEngineImpl::CreateHidden(PrintEngine* script, const CPrinterDef* printer) {
    auto* frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    if (!script || !frame || !frame->m_hWnd)
        return nullptr;
    auto* view = new PrintEngineImpl;
    view->m_pDumDoc = new CDumDocument;
    view->m_pDumDoc->m_bAutoDelete = FALSE;  // the view deletes it
    view->m_pScript = script;
    view->m_pPrinter = printer;
    view->m_pShownFrame = frame;
    CCreateContext context;
    context.m_pCurrentDoc = view->m_pDumDoc;
    if (!view->Create(nullptr, "Preview", WS_CHILD | WS_VISIBLE | WS_BORDER, RECT{0, 0, 0, 0}, frame, kPrintViewId,
                      &context))
        return nullptr;  // a view whose creation failed has deleted itself
    return view;
}

void PrintEngineImpl::Print(PrintEngine* script, const CPrinterDef* printer, BOOL direct) {
    if (PrintEngineImpl* view = CreateHidden(script, printer)) {
        view->SendMessage(WM_COMMAND, direct ? ID_FILE_PRINT_DIRECT : ID_FILE_PRINT);
        view->DestroyWindow();
    }
}

BOOL PrintEngineImpl::CreateAndPreview(PrintEngine* script, const CPrinterDef* printer) {
    PrintEngineImpl* view = CreateHidden(script, printer);
    if (!view)
        return FALSE;
    HWND viewWnd = view->m_hWnd;

    auto* state = new CPrintPreviewState;
    if (!view->DoPrintPreview(IDD_PRINT_PREVIEW_BAR, view, RUNTIME_CLASS(CMyPreviewView), state)) {
        ::MessageBeep(MB_ICONEXCLAMATION);
        CString text = AfxLoadString(AFX_IDP_COMMAND_FAILURE);
        AfxMessageBox(text.IsEmpty() ? CString("Command failed.") : text, MB_OK | MB_ICONEXCLAMATION);
        delete state;
        view->DestroyWindow();
        return FALSE;
    }

    // The preview's own loop: idle work while nothing waits, then every waiting message, until the
    // preview closes. A quit closes the preview and is posted again for the program's loop.
    CWinThread* thread = AfxGetThread();
    LONG idleCount = 0;
    while (_bPreviewOpen) {
        MSG msg;
        if (!::PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE) && thread && thread->OnIdle(idleCount++))
            continue;
        if (!::GetMessage(&msg, nullptr, 0, 0)) {
            if (g_pPreview && g_pPreview->m_hWnd)
                g_pPreview->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE);
            ::PostQuitMessage((int)msg.wParam);
            break;
        }
        if (!thread || !thread->PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessage(&msg);
        }
        idleCount = 0;
    }
    if (::IsWindow(viewWnd))
        view->DestroyWindow();
    return TRUE;
}

BOOL PrintEngineImpl::OnPreparePrinting(CPrintInfo* info) {
    int pages = m_pScript ? m_pScript->GetPageCount() : 0;
    info->SetMinPage(1);
    info->SetMaxPage(pages > 0 ? pages : 1);
    if (!m_pPrinter || m_pPrinter->m_devNames.empty())
        return DoPreparePrinting(info);

    // The report's own printer: its paper and orientation are the ones the layout was made for.
    PRINTDLG& pd = info->m_pPD->m_pd;
    m_pPrinter->CopyToGlobal(pd.hDevNames, pd.hDevMode);
    BOOL ok;
    if (info->m_bPreview || info->m_bDirect) {
        ok = info->m_pPD->CreatePrinterDC() != nullptr;
    } else {
        pd.hwndOwner = m_hWnd;
        pd.Flags |= PD_RETURNDC;
        ok = info->m_pPD->DoModal() == IDOK && pd.hDC;
    }
    FreeBlocks(pd);
    if (ok)
        info->m_nNumPreviewPages = 1;
    return ok;
}

void PrintEngineImpl::OnBeginPrinting(CDC*, CPrintInfo*) {
    m_nPageLoaded = 0;
    m_bLastPage = FALSE;
    if (m_pScript)
        m_pScript->LoadFonts();
}

void PrintEngineImpl::OnPrint(CDC* dc, CPrintInfo* info) {
    if (!m_pScript || !dc)
        return;
    if ((int)info->m_nCurPage > m_pScript->GetPageCount()) {
        m_bLastPage = TRUE;
        info->m_bContinuePrinting = FALSE;
        return;
    }
    m_pDC = dc;
    int saved = dc->SaveDC();
    dc->SetMapMode(MM_HIENGLISH);
    dc->SetBkMode(TRANSPARENT);
    HGDIOBJ oldFont = ::SelectObject(dc->m_hDC, m_Font.GetSafeHandle());
    if ((int)info->m_nCurPage != m_nPageLoaded) {
        m_pScript->LoadPage((int)info->m_nCurPage);
        m_nPageLoaded = (int)info->m_nCurPage;
    }
    DrawPage(dc);
    ::SelectObject(dc->m_hDC, oldFont);
    dc->RestoreDC(saved);
    m_pDC = nullptr;
}

void PrintEngineImpl::DrawPage(CDC* dc) {
    HDC hdc = dc->m_hDC;
    auto fontFor = [this](const CString& name) -> HGDIOBJ {
        CFont* font = name == "DEFAULT" ? nullptr : m_pScript->FindFont(name);
        return font ? font->GetSafeHandle() : m_Font.GetSafeHandle();
    };
    m_nOldAlign = ::SetTextAlign(hdc, TA_LEFT | TA_TOP);
    for (POSITION pos = m_pScript->m_Script.GetHeadPosition(); pos;) {
        const auto* o = static_cast<const PrintObject*>(m_pScript->m_Script.GetNext(pos));
        switch (o->m_nType) {
            case PrintObject::kText: {
                ::SelectObject(hdc, fontFor(o->m_csFont));
                static const UINT aligns[] = {TA_LEFT, TA_CENTER, TA_RIGHT};
                if (o->m_nValue >= 1 && o->m_nValue <= 3)
                    ::SetTextAlign(hdc, aligns[o->m_nValue - 1] | TA_TOP);
                ::TextOut(hdc, X(o->m_dX1), Y(o->m_dY1), o->m_csText, o->m_csText.GetLength());
                break;
            }
            case PrintObject::kTextRect: {
                ::SelectObject(hdc, fontFor(o->m_csFont));
                RECT rc{X(o->m_dX1), Y(o->m_dY1), X(o->m_dX2), Y(o->m_dY2)};
                ::DrawText(hdc, o->m_csText, o->m_csText.GetLength(), &rc, DT_WORDBREAK | DT_NOCLIP | DT_NOPREFIX);
                break;
            }
            case PrintObject::kRect: {
                HGDIOBJ oldBrush = ::SelectObject(hdc, ::GetStockObject(NULL_BRUSH));
                HGDIOBJ oldPen = ::SelectObject(hdc, ::GetStockObject(BLACK_PEN));
                ::Rectangle(hdc, X(o->m_dX1), Y(o->m_dY1), X(o->m_dX2), Y(o->m_dY2));
                ::SelectObject(hdc, oldPen);
                ::SelectObject(hdc, oldBrush);
                break;
            }
            case PrintObject::kFillRect: {
                RECT rc{X(o->m_dX1), Y(o->m_dY1), X(o->m_dX2), Y(o->m_dY2)};
                HBRUSH brush = ::CreateSolidBrush(RGB(0xD7, 0xD7, 0xD7));
                ::FillRect(hdc, &rc, brush);
                ::DeleteObject(brush);
                break;
            }
            case PrintObject::kLine: {
                HGDIOBJ oldPen = ::SelectObject(hdc, ::GetStockObject(BLACK_PEN));
                ::MoveToEx(hdc, X(o->m_dX1), Y(o->m_dY1), nullptr);
                ::LineTo(hdc, X(o->m_dX2), Y(o->m_dY2));
                ::SelectObject(hdc, oldPen);
                break;
            }
            default:
                break;  // bitmaps and unknown objects are not drawn
        }
    }
    ::SetTextAlign(hdc, m_nOldAlign);
}

CMyPreviewView::CMyPreviewView() {
    _bPreviewOpen = 1;
    g_pPreview = this;
}

CMyPreviewView::~CMyPreviewView() {
    _bPreviewOpen = 0;
    if (g_pPreview == this)
        g_pPreview = nullptr;
}

void CMyPreviewView::OnPreviewPrint() {
    // The preview goes first; then the print view prints the script through the print dialog.
    HWND printView = m_pPrintView ? m_pPrintView->m_hWnd : nullptr;
    OnPreviewClose();  // this view is deleted from here on
    if (printView && ::IsWindow(printView))
        ::SendMessage(printView, WM_COMMAND, ID_FILE_PRINT, 0);
}
