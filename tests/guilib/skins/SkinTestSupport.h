// Small fixtures of the skin tests: a memory canvas to draw on and the system colour table they use.
#pragma once

#include "platform/framework/gdi/DC.h"

// A memory DC over a bitmap of a fixed size, filled with one colour.
class MemoryCanvas {
public:
    MemoryCanvas(int width, int height, COLORREF fill) {
        m_dc.CreateCompatibleDC(nullptr);
        m_bitmap = new CBitmap;
        CDC screen;
        screen.Attach(::GetDC(nullptr));
        m_bitmap->CreateCompatibleBitmap(&screen, width, height);
        ::ReleaseDC(nullptr, screen.Detach());
        m_old = m_dc.SelectObject(m_bitmap);
        m_dc.FillSolidRect(0, 0, width, height, fill);
    }
    ~MemoryCanvas() {
        m_dc.SelectObject(m_old);
        delete m_bitmap;
    }
    MemoryCanvas(const MemoryCanvas&) = delete;
    MemoryCanvas& operator=(const MemoryCanvas&) = delete;
    CDC* dc() { return &m_dc; }
    COLORREF At(int x, int y) { return m_dc.GetPixel(x, y); }
    // Hands the bitmap over (deselected) to the caller.
    CBitmap* Detach() {
        m_dc.SelectObject(m_old);
        CBitmap* b = m_bitmap;
        m_bitmap = nullptr;
        return b;
    }

private:
    CDC m_dc;
    CBitmap* m_bitmap = nullptr;
    CBitmap* m_old = nullptr;
};

// WINDOW 255,255,255, BTNFACE 212,208,200, HIGHLIGHT 10,36,106 (with the rest of the Classic table)
// while the object lives.
class SystemColourTable {
public:
    SystemColourTable() {
        SetSysColorForTest(COLOR_WINDOW, RGB(255, 255, 255));
        SetSysColorForTest(COLOR_BTNFACE, RGB(212, 208, 200));
        SetSysColorForTest(COLOR_HIGHLIGHT, RGB(10, 36, 106));
    }
    ~SystemColourTable() { ResetSysColors(); }
};
