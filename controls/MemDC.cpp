#include "controls/MemDC.h"

CMemDC::CMemDC(CDC* pDC) : m_pDC(pDC), m_bMemDC(!pDC->IsPrinting()) {
    if (!m_bMemDC) {
        m_hDC = pDC->m_hDC;
        m_hAttribDC = pDC->m_hAttribDC;
        m_bPrinting = pDC->m_bPrinting;
        return;
    }
    pDC->GetClipBox(&m_rect);
    Attach(::CreateCompatibleDC(pDC->m_hDC));
    m_bitmap.Attach(::CreateCompatibleBitmap(pDC->m_hDC, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top));
    m_oldBitmap = ::SelectObject(m_hDC, m_bitmap.m_hObject);
    SetWindowOrg(m_rect.left, m_rect.top);
}

CMemDC::~CMemDC() {
    if (m_bMemDC) {
        m_pDC->BitBlt(m_rect.left, m_rect.top, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top, this,
                      m_rect.left, m_rect.top, SRCCOPY);
        ::SelectObject(m_hDC, m_oldBitmap);
        ::DeleteDC(Detach());
    } else {
        m_hDC = m_hAttribDC = nullptr;
    }
}
