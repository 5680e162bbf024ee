#include "app/MyPadView.h"

#include "guilib/frame/OXTabViewContainer.h"

IMPLEMENT_DYNAMIC(CMyPadView, CControlBar)

BEGIN_MESSAGE_MAP(CMyPadView, CControlBar)
END_MESSAGE_MAP()

void CMapStrToPadView::RemoveAllEntries() {
    POSITION pos = GetStartPosition();
    while (pos) {
        CString key;
        PadViewEntry* entry = nullptr;
        GetNextAssoc(pos, key, entry);
        delete entry;
    }
    RemoveAll();
}

CMyPadView::CMyPadView() = default;
CMyPadView::~CMyPadView() = default;

BOOL CMyPadView::Create(CWnd*, LPCTSTR, UINT) { return FALSE; }
int CMyPadView::AddPad(LPCTSTR) { return -1; }
BOOL CMyPadView::FindPad(LPCTSTR, PadViewEntry**) const { return FALSE; }
BOOL CMyPadView::RemovePad(LPCTSTR) { return FALSE; }
BOOL CMyPadView::ClearPad(LPCTSTR) { return FALSE; }
BOOL CMyPadView::ActivatePad(LPCTSTR) { return FALSE; }
BOOL CMyPadView::SetPadText(LPCTSTR, LPCTSTR) { return FALSE; }
CString CMyPadView::GetActivePadText() const { return CString(); }
CString CMyPadView::GetActivePadSelection() const { return CString(); }
CString CMyPadView::GetActivePadName() const { return CString(); }
BOOL CMyPadView::SaveState(LPCTSTR) { return FALSE; }
BOOL CMyPadView::LoadState(LPCTSTR) { return FALSE; }
SIZE CMyPadView::CalcFixedLayout(BOOL, BOOL) { return m_sizeDocked; }
void CMyPadView::OnUpdateCmdUI(CFrameWnd*, BOOL) {}
int CMyPadView::OnCreate(LPCREATESTRUCT cs) { return CControlBar::OnCreate(cs); }
void CMyPadView::OnSize(UINT, int, int) {}
BOOL CMyPadView::OnEraseBkgnd(HDC) { return TRUE; }
