#include "app/MyPadView.h"

#include <mutex>

#include "app/MyEditView.h"
#include "guilib/frame/OXTabViewContainer.h"

IMPLEMENT_DYNAMIC(CMyPadView, COXSizeControlBar)

BEGIN_MESSAGE_MAP(CMyPadView, COXSizeControlBar)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {
constexpr UINT kContainerId = 59648;
constexpr COLORREF kOutputTextColour = 0xFF0000;  // blue
const char* const kBarClass = "VeltrinPadBar";
}  // namespace

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

CMyPadView::CMyPadView() : COXSizeControlBar(0x214), m_pContainer(std::make_unique<COXTabViewContainer>()) {}

CMyPadView::~CMyPadView() {
    if (m_hWnd)
        DestroyWindow();
}

BOOL CMyPadView::Create(CWnd* parent, LPCTSTR title, UINT id) {
    if (!parent)
        return FALSE;
    static std::once_flag once;
    std::call_once(once, [] {
        WNDCLASS wc{};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = ::DefWindowProc;
        wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
        wc.lpszClassName = kBarClass;
        ::RegisterClass(&wc);
    });
    return COXSizeControlBar::Create(kBarClass, title,
                                     WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | CBRS_BOTTOM,
                                     CFrameWnd::rectDefault, parent, id);
}

int CMyPadView::OnCreate(LPCREATESTRUCT cs) {
    if (CControlBar::OnCreate(cs) == -1)
        return -1;
    RECT inside;
    GetClientRect(&inside);
    if (!m_pContainer->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, inside, this, kContainerId))
        return -1;
    // The history page "Output".
    if (!m_wndOutput.CreateEx(0, AfxWndClassName(), nullptr, WS_CHILD, RECT{0, 0, 0, 0}, m_pContainer.get(), 0) ||
        !m_pContainer->InsertPage(0, &m_wndOutput, "Output"))
        return -1;
    m_clrOutputText = kOutputTextColour;
    m_pContainer->SetActivePage(0);
    return 0;
}

void CMyPadView::OnSize(UINT, int cx, int cy) {
    if (m_pContainer->m_hWnd && cx > 0 && cy > 0) {
        RECT inside;
        GetClientRect(&inside);
        ::MoveWindow(m_pContainer->m_hWnd, inside.left, inside.top, inside.right - inside.left,
                     inside.bottom - inside.top, TRUE);
    }
}

BOOL CMyPadView::OnEraseBkgnd(HDC) {
    return TRUE;  // the container covers the bar
}

// ---- Pages ----------------------------------------------------------------------------------------

int CMyPadView::AddPad(LPCTSTR name) {
    if (!name || FindPad(name))
        return 0;
    // Pad pages belong to no document: one made on a report's document would die with that report.
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CMyEditView);
    context.m_pCurrentDoc = nullptr;
    if (!m_pContainer->m_hWnd || !m_pContainer->AddViewPage(RUNTIME_CLASS(CMyEditView), &context, name))
        return -1;
    int index = m_pContainer->FindPageIndexByTitle(name);
    m_pContainer->SetActivePage(index);
    auto* entry = new PadViewEntry;
    entry->m_csName = name;
    entry->m_nIndex = (int)m_mapPads.GetCount();
    m_mapPads.SetAt(name, entry);
    return index;
}

BOOL CMyPadView::FindPad(LPCTSTR name, PadViewEntry** entry) const {
    PadViewEntry* found = nullptr;
    if (!name || !m_mapPads.Lookup(name, found))
        return FALSE;
    if (entry)
        *entry = found;
    return TRUE;
}

int CMyPadView::ActivatePage(LPCTSTR name) {
    if (!name || !m_pContainer->m_hWnd)
        return -1;
    int index = m_pContainer->FindPageIndexByTitle(name);
    if (index < 0)
        return -1;
    m_pContainer->SetActivePage(index);
    return index;
}

BOOL CMyPadView::RemovePad(LPCTSTR name) {
    if (!FindPad(name))
        return FALSE;
    int index = ActivatePage(name);
    if (index < 0 || !m_pContainer->DeletePage(index, TRUE))
        return FALSE;
    PadViewEntry* entry = nullptr;
    if (m_mapPads.Lookup(name, entry)) {
        delete entry;
        m_mapPads.RemoveKey(name);
    }
    return TRUE;
}

BOOL CMyPadView::ClearPad(LPCTSTR name) {
    return SetPadText(name, "");
}

BOOL CMyPadView::ActivatePad(LPCTSTR name) {
    return ActivatePage(name) >= 0;
}

BOOL CMyPadView::SetPadText(LPCTSTR name, LPCTSTR text) {
    int index = ActivatePage(name);
    if (index < 0)
        return FALSE;
    CWnd* page = m_pContainer->GetPage(index);
    ::SetWindowText(page->m_hWnd, text ? text : "");
    return TRUE;
}

CString CMyPadView::GetActivePadText() const {
    CWnd* page = m_pContainer->GetActivePage();
    CString text;
    if (page)
        page->GetWindowText(text);
    return text;
}

CString CMyPadView::GetActivePadSelection() const {
    CWnd* page = m_pContainer->GetActivePage();
    if (!page)
        return CString();
    DWORD start = 0, end = 0;
    ::SendMessage(page->m_hWnd, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    CString text;
    page->GetWindowText(text);
    if (end <= start || (int)start >= text.GetLength())
        return CString();
    return text.Mid((int)start, (int)(end - start));
}

CString CMyPadView::GetActivePadName() const {
    return m_pContainer->GetPageTitle(m_pContainer->GetActivePageIndex());
}

BOOL CMyPadView::SaveState(LPCTSTR section) {
    return m_pContainer->SaveState(section);
}

BOOL CMyPadView::LoadState(LPCTSTR section) {
    return m_pContainer->LoadState(section);
}
