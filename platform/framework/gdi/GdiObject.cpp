#include "platform/framework/gdi/GdiObject.h"

#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>

#include "platform/framework/gdi/DC.h"

IMPLEMENT_DYNAMIC(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)
IMPLEMENT_DYNAMIC(CPalette, CGdiObject)

namespace {
// The thread's objects by handle: those the program made or attached, and temporary ones.
struct Maps {
    std::map<HGDIOBJ, CGdiObject*> permanent;
    std::map<HGDIOBJ, std::unique_ptr<CGdiObject>> temporary;
};
Maps& ThreadMaps() {
    // Never destroyed at thread exit, when the drawing layer may be gone already.
    thread_local Maps* maps = new Maps;
    return *maps;
}
}  // namespace

CGdiObject::~CGdiObject() {
    DeleteObject();
}

CGdiObject* CGdiObject::MakeTemporary(HGDIOBJ handle) {
    switch (::GetObjectType(handle)) {
        case OBJ_PEN:
            return new CPen;
        case OBJ_BRUSH:
            return new CBrush;
        case OBJ_FONT:
            return new CFont;
        case OBJ_BITMAP:
            return new CBitmap;
        case OBJ_REGION:
            return new CRgn;
        case OBJ_PAL:
            return new CPalette;
        default:
            return new CGdiObject;
    }
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ handle) {
    if (!handle)
        return nullptr;
    Maps& m = ThreadMaps();
    if (auto it = m.permanent.find(handle); it != m.permanent.end())
        return it->second;
    auto& slot = m.temporary[handle];
    if (!slot) {
        slot.reset(MakeTemporary(handle));
        slot->m_hObject = handle;
    }
    return slot.get();
}

void CGdiObject::DeleteTempMap() {
    Maps& m = ThreadMaps();
    // A temporary object lets its handle go; the handle belongs to whoever made it.
    for (auto& [handle, object] : m.temporary)
        object->m_hObject = nullptr;
    m.temporary.clear();
}

BOOL CGdiObject::Attach(HGDIOBJ handle) {
    if (!handle)
        return FALSE;
    if (m_hObject)
        DeleteObject();
    m_hObject = handle;
    ThreadMaps().permanent[handle] = this;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ h = m_hObject;
    if (h) {
        auto& permanent = ThreadMaps().permanent;
        if (auto it = permanent.find(h); it != permanent.end() && it->second == this)
            permanent.erase(it);
    }
    m_hObject = nullptr;
    return h;
}

BOOL CGdiObject::DeleteObject() {
    if (!m_hObject)
        return FALSE;
    return ::DeleteObject(Detach());
}

BOOL CGdiObject::CreateStockObject(int index) {
    return Attach(::GetStockObject(index));
}

CBrush::CBrush(CBitmap* bitmap) {
    CreatePatternBrush(bitmap);
}

BOOL CBrush::CreatePatternBrush(CBitmap* bitmap) {
    return bitmap && Attach(::CreatePatternBrush((HBITMAP)bitmap->m_hObject));
}

BOOL CFont::CreatePointFont(int pointSize, LPCTSTR face, CDC* dc) {
    LOGFONT lf{};
    lf.lfHeight = pointSize;
    lf.lfCharSet = DEFAULT_CHARSET;
    if (face)
        std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return CreatePointFontIndirect(&lf, dc);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONT* font, CDC* dc) {
    if (!font)
        return FALSE;
    LOGFONT lf = *font;
    // lfHeight is in tenths of a point: the pixel height on the device, as logical units of its mapping.
    HDC screen = dc ? nullptr : ::GetDC(nullptr);
    HDC h = dc ? dc->m_hAttribDC ? dc->m_hAttribDC : dc->m_hDC : screen;
    int dpi = ::GetDeviceCaps(h, LOGPIXELSY);
    if (dpi <= 0)
        dpi = 96;
    POINT p[2] = {{0, 0}, {0, ::MulDiv(lf.lfHeight, dpi, 720)}};
    ::DPtoLP(h, p, 2);
    lf.lfHeight = -std::abs((int)(p[1].y - p[0].y));
    if (screen)
        ::ReleaseDC(nullptr, screen);
    return CreateFontIndirect(&lf);
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height) {
    return Attach(::CreateCompatibleBitmap(dc ? dc->m_hDC : nullptr, width, height));
}
