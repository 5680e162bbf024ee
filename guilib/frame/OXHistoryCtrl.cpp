#include "guilib/frame/OXHistoryCtrl.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(COXHistoryCtrl, COXScrollWnd)

COXHistoryCtrl::COXHistoryCtrl() : m_clrBackground(::GetSysColor(COLOR_WINDOW)) {
    m_pCriticalSection = new CCriticalSection;
}

COXHistoryCtrl::~COXHistoryCtrl() {
    if (m_logFile.IsOpen()) {
        try {
            m_logFile.Close();
        } catch (CException* e) {
            e->Delete();
        }
    }
    m_entries.RemoveAll();
    delete m_pCriticalSection;
}

BOOL COXHistoryCtrl::Initialize() {
    if (!COXScrollWnd::Initialize())
        return FALSE;
    SetScrollSizes(MM_TEXT, SIZE{0, 0});
    LOGFONT lf{};
    lf.lfHeight = 0;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfPitchAndFamily = FIXED_PITCH;
    CFont font;
    font.CreateFontIndirect(&lf);
    SetHistoryFont(&font, FALSE);
    return TRUE;
}

void COXHistoryCtrl::SetHistoryFont(CFont* font, BOOL redraw) {
    if (!font || !font->GetSafeHandle())
        return;
    LOGFONT lf{};
    font->GetLogFont(&lf);
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&lf);
    m_charSize = {0, 0};
    if (m_hWnd) {
        CClientDC dc(this);
        HGDIOBJ old = ::SelectObject(dc.GetSafeHdc(), m_font.GetSafeHandle());
        ::GetTextExtentPoint32(dc.GetSafeHdc(), "X", 1, &m_charSize);
        ::SelectObject(dc.GetSafeHdc(), old);
    }
    UpdateScrollSizes();
    if (redraw && m_hWnd)
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void COXHistoryCtrl::UpdateScrollSizes() {
    // Without a measured font every size is 0.
    if (m_charSize.cx <= 0 || m_charSize.cy <= 0) {
        SetScrollSizes(MM_TEXT, SIZE{0, 0}, SIZE{0, 0}, SIZE{0, 0});
        return;
    }
    RECT client{};
    if (m_hWnd)
        GetClientRect(&client);
    int lineHeight = m_charSize.cy;
    SIZE total{m_nLongestLine * m_charSize.cx, (int)m_entries.GetCount() * lineHeight + client.bottom % lineHeight};
    SIZE page{std::max(1, client.right / m_charSize.cx) * m_charSize.cx,
              std::max(1, client.bottom / lineHeight) * lineHeight};
    SetScrollSizes(MM_TEXT, total, page, m_charSize);
}

void COXHistoryCtrl::Paint() {
    CPaintDC dc(this);
    OnPrepareDC(&dc);
    HDC h = dc.GetSafeHdc();
    int saved = ::SaveDC(h);
    ::SelectObject(h, m_font.GetSafeHandle());
    RECT area;
    GetClientRect(&area);
    area.right = std::max(area.right, m_totalLog.cx);
    area.bottom = std::max(area.bottom, m_totalLog.cy);
    int top = area.top;
    m_pCriticalSection->Lock();
    for (POSITION pos = m_entries.GetHeadPosition(); pos;) {
        HISTORYENTRY& entry = m_entries.GetNext(pos);
        RECT band{area.left, top, area.right, top + m_charSize.cy};
        HBRUSH brush = ::CreateSolidBrush(entry.m_clrBackground);
        ::FillRect(h, &band, brush);
        ::DeleteObject(brush);
        ::SetBkMode(h, TRANSPARENT);
        ::SetTextColor(h, entry.m_clrText);
        RECT text = band;
        text.left += entry.m_nOffset;
        ::DrawText(h, entry.m_sText, entry.m_sText.GetLength(), &text, DT_SINGLELINE | DT_VCENTER | entry.m_nFormat);
        top = band.bottom;
    }
    m_pCriticalSection->Unlock();
    RECT rest{area.left, top, area.right, area.bottom};
    if (rest.bottom > rest.top) {
        HBRUSH brush = ::CreateSolidBrush(m_clrBackground);
        ::FillRect(h, &rest, brush);
        ::DeleteObject(brush);
    }
    ::RestoreDC(h, saved);
}

LRESULT COXHistoryCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            Paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        default:
            return COXScrollWnd::WindowProc(message, wParam, lParam);
    }
}
