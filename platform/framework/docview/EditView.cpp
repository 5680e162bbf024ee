#include "platform/framework/docview/EditView.h"

#include <string>

#include "platform/framework/window/AfxRes.h"
#include "platform/framework/window/CmdUI.h"
#include "platform/user/Clipboard.h"

IMPLEMENT_DYNCREATE(CEditView, CView)

BEGIN_MESSAGE_MAP(CEditView, CView)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_PAINT()
ON_CONTROL_REFLECT_EX(EN_CHANGE, OnEditChange)
ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
ON_COMMAND(ID_EDIT_CUT, OnEditCut)
ON_COMMAND(ID_EDIT_PASTE, OnEditPaste)
ON_COMMAND(ID_EDIT_CLEAR, OnEditClear)
ON_COMMAND(ID_EDIT_UNDO, OnEditUndo)
ON_COMMAND(ID_EDIT_SELECT_ALL, OnEditSelectAll)
ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateNeedSel)
ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, OnUpdateNeedSel)
ON_UPDATE_COMMAND_UI(ID_EDIT_CLEAR, OnUpdateNeedSel)
ON_UPDATE_COMMAND_UI(ID_EDIT_SELECT_ALL, OnUpdateNeedText)
ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, OnUpdateEditPaste)
ON_UPDATE_COMMAND_UI(ID_EDIT_UNDO, OnUpdateEditUndo)
END_MESSAGE_MAP()

const DWORD CEditView::dwStyleDefault =
    WS_HSCROLL | WS_VSCROLL | ES_AUTOHSCROLL | ES_AUTOVSCROLL | ES_MULTILINE | ES_NOHIDESEL;

CEditView::~CEditView() {
    m_edit.m_hWnd = nullptr;
}

CEdit& CEditView::GetEditCtrl() const {
    m_edit.m_hWnd = m_hWnd;
    return m_edit;
}

BOOL CEditView::PreCreateWindow(CREATESTRUCT& cs) {
    cs.lpszClass = WC_EDIT;
    if (!CView::PreCreateWindow(cs))
        return FALSE;
    cs.style |= dwStyleDefault;
    return TRUE;
}

int CEditView::OnCreate(LPCREATESTRUCT cs) {
    if (CView::OnCreate(cs) == -1)
        return -1;
    GetEditCtrl().LimitText(0);
    return 0;
}

void CEditView::OnDestroy() {
    CView::OnDestroy();
}

// The control paints itself.
void CEditView::OnPaint() {
    Default();
}

UINT CEditView::GetBufferLength() const {
    return (UINT)::GetWindowTextLength(m_hWnd);
}

void CEditView::GetSelectedText(CString& text) const {
    int start = 0, end = 0;
    GetEditCtrl().GetSel(start, end);
    CString all;
    GetWindowText(all);
    std::string s(all.GetString(), (size_t)all.GetLength());
    if (start < 0 || end <= start || (size_t)start >= s.size()) {
        text.Empty();
        return;
    }
    std::string sel = s.substr((size_t)start, (size_t)(end - start));
    size_t cut = sel.find_first_of("\r\n");
    text = CString(sel.substr(0, cut).c_str());
}

void CEditView::OnEditCopy() { GetEditCtrl().Copy(); }
void CEditView::OnEditCut() { GetEditCtrl().Cut(); }
void CEditView::OnEditPaste() { GetEditCtrl().Paste(); }
void CEditView::OnEditClear() { GetEditCtrl().Clear(); }
void CEditView::OnEditUndo() { GetEditCtrl().Undo(); }
void CEditView::OnEditSelectAll() { GetEditCtrl().SetSel(0, -1, TRUE); }

void CEditView::OnUpdateNeedSel(CCmdUI* ui) {
    int start = 0, end = 0;
    GetEditCtrl().GetSel(start, end);
    ui->Enable(start != end);
}

void CEditView::OnUpdateNeedText(CCmdUI* ui) {
    ui->Enable(GetBufferLength() != 0);
}

void CEditView::OnUpdateEditPaste(CCmdUI* ui) {
    ui->Enable(::IsClipboardFormatAvailable(CF_TEXT));
}

void CEditView::OnUpdateEditUndo(CCmdUI* ui) {
    ui->Enable(GetEditCtrl().CanUndo());
}

// A change by the user modifies the document; the notification goes on to the parent too.
BOOL CEditView::OnEditChange() {
    if (m_pDocument)
        m_pDocument->SetModifiedFlag();
    return FALSE;
}
