#include "platform/framework/gdi/DC.h"

#include <cstdlib>
#include <map>
#include <memory>

#include "platform/framework/window/Wnd.h"

IMPLEMENT_DYNAMIC(CDC, CObject)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CWindowDC, CDC)

namespace {
struct Maps {
    std::map<HDC, CDC*> permanent;
    std::map<HDC, std::unique_ptr<CDC>> temporary;
};
Maps& ThreadMaps() {
    thread_local Maps* maps = new Maps;
    return *maps;
}
}  // namespace

CDC::~CDC() {
    if (m_hDC)
        DeleteDC();
}

CDC* CDC::FromHandle(HDC dc) {
    if (!dc)
        return nullptr;
    Maps& m = ThreadMaps();
    if (auto it = m.permanent.find(dc); it != m.permanent.end())
        return it->second;
    auto& slot = m.temporary[dc];
    if (!slot) {
        slot = std::make_unique<CDC>();
        slot->m_hDC = slot->m_hAttribDC = dc;
    }
    return slot.get();
}

void CDC::DeleteTempMap() {
    Maps& m = ThreadMaps();
    for (auto& [dc, object] : m.temporary)
        object->m_hDC = object->m_hAttribDC = nullptr;
    m.temporary.clear();
}

BOOL CDC::Attach(HDC dc) {
    if (!dc)
        return FALSE;
    m_hDC = m_hAttribDC = dc;
    ThreadMaps().permanent[dc] = this;
    return TRUE;
}

HDC CDC::Detach() {
    HDC dc = m_hDC;
    if (dc) {
        auto& permanent = ThreadMaps().permanent;
        if (auto it = permanent.find(dc); it != permanent.end() && it->second == this)
            permanent.erase(it);
    }
    m_hDC = m_hAttribDC = nullptr;
    return dc;
}

BOOL CDC::CreateCompatibleDC(CDC* dc) {
    return Attach(::CreateCompatibleDC(dc ? dc->m_hDC : nullptr));
}

BOOL CDC::DeleteDC() {
    if (!m_hDC)
        return FALSE;
    return ::DeleteDC(Detach());
}

CGdiObject* CDC::Select(CGdiObject* object) {
    HGDIOBJ old = ::SelectObject(m_hDC, object ? object->m_hObject : nullptr);
    return old ? CGdiObject::FromHandle(old) : nullptr;
}

CGdiObject* CDC::SelectStockObject(int index) {
    HGDIOBJ old = ::SelectObject(m_hDC, ::GetStockObject(index));
    return old ? CGdiObject::FromHandle(old) : nullptr;
}

CPalette* CDC::SelectPalette(CPalette* palette, BOOL forceBackground) {
    HPALETTE old = ::SelectPalette(m_hDC, palette ? (HPALETTE)palette->m_hObject : nullptr, forceBackground);
    return old ? CPalette::FromHandle(old) : nullptr;
}

SIZE CDC::ScaleViewportExt(int xNum, int xDenom, int yNum, int yDenom) {
    SIZE old{};
    ::ScaleViewportExtEx(m_hDC, xNum, xDenom, yNum, yDenom, &old);
    return old;
}

SIZE CDC::ScaleWindowExt(int xNum, int xDenom, int yNum, int yDenom) {
    SIZE old{};
    ::ScaleWindowExtEx(m_hDC, xNum, xDenom, yNum, yDenom, &old);
    return old;
}

void CDC::LPtoDP(LPSIZE size) const {
    // Sizes scale without the origins and keep their sign.
    SIZE w = GetWindowExt(), v = GetViewportExt();
    size->cx = ::MulDiv(size->cx, std::abs((int)v.cx), std::abs((int)w.cx));
    size->cy = ::MulDiv(size->cy, std::abs((int)v.cy), std::abs((int)w.cy));
}

void CDC::DPtoLP(LPSIZE size) const {
    SIZE w = GetWindowExt(), v = GetViewportExt();
    size->cx = ::MulDiv(size->cx, std::abs((int)w.cx), std::abs((int)v.cx));
    size->cy = ::MulDiv(size->cy, std::abs((int)w.cy), std::abs((int)v.cy));
}

void CDC::FillSolidRect(LPCRECT rc, COLORREF color) {
    ::SetBkColor(m_hDC, color);
    ::ExtTextOut(m_hDC, 0, 0, ETO_OPAQUE, rc, nullptr, 0, nullptr);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color) {
    RECT rc{x, y, x + cx, y + cy};
    FillSolidRect(&rc, color);
}

void CDC::Draw3dRect(LPCRECT rc, COLORREF topLeft, COLORREF bottomRight) {
    Draw3dRect(rc->left, rc->top, rc->right - rc->left, rc->bottom - rc->top, topLeft, bottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight) {
    FillSolidRect(x, y, cx - 1, 1, topLeft);
    FillSolidRect(x, y, 1, cy - 1, topLeft);
    FillSolidRect(x + cx - 1, y, 1, cy, bottomRight);
    FillSolidRect(x, y + cy - 1, cx, 1, bottomRight);
}

SIZE CDC::GetTextExtent(LPCTSTR text, int length) const {
    SIZE s{0, 0};
    ::GetTextExtentPoint32(m_hAttribDC ? m_hAttribDC : m_hDC, text, length, &s);
    return s;
}

int CDC::GetTextFace(CString& face) const {
    char buffer[LF_FACESIZE + 1] = "";
    int n = ::GetTextFace(m_hDC, sizeof buffer, buffer);
    face = buffer;
    return n;
}

CPaintDC::CPaintDC(CWnd* wnd) : m_hWnd(wnd ? wnd->GetSafeHwnd() : nullptr) {
    Attach(::BeginPaint(m_hWnd, &m_ps));
}

CPaintDC::~CPaintDC() {
    Detach();
    ::EndPaint(m_hWnd, &m_ps);
}

CClientDC::CClientDC(CWnd* wnd) : m_hWnd(wnd ? wnd->GetSafeHwnd() : nullptr) {
    Attach(::GetDC(m_hWnd));
}

CClientDC::~CClientDC() {
    ::ReleaseDC(m_hWnd, Detach());
}

CWindowDC::CWindowDC(CWnd* wnd) : m_hWnd(wnd ? wnd->GetSafeHwnd() : nullptr) {
    Attach(::GetWindowDC(m_hWnd));
}

CWindowDC::~CWindowDC() {
    ::ReleaseDC(m_hWnd, Detach());
}
