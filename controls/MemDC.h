// CMemDC: drawing into an off-screen bitmap of the size of a context's clip box, copied to that context
// in one transfer when the object goes. A printing context is drawn on directly.
#pragma once

#include "platform/framework/gdi/DC.h"

class CMemDC : public CDC {
public:
    explicit CMemDC(CDC* pDC);
    ~CMemDC() override;
    CMemDC(const CMemDC&) = delete;
    CMemDC& operator=(const CMemDC&) = delete;

    CMemDC* operator->() { return this; }

private:
    CBitmap m_bitmap;
    HGDIOBJ m_oldBitmap = nullptr;
    CDC* m_pDC;
    RECT m_rect{};
    bool m_bMemDC;
};
