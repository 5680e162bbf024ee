#include "platform/framework/bars/DockState.h"

#include <cstdio>

#include <memory>

#include "platform/base/Archive.h"
#include "platform/base/Profile.h"
#include "platform/user/User.h"

IMPLEMENT_SERIAL(CDockState, CObject, 1)

namespace {
bool EqualPoint(POINT a, POINT b) {
    return a.x == b.x && a.y == b.y;
}

CString Section(LPCTSTR name, LPCTSTR suffix) {
    CString s;
    s.Format("%s-%s", name, suffix);
    return s;
}

CString BarSection(LPCTSTR name, int index) {
    CString s;
    s.Format("%s-Bar%d", name, index);
    return s;
}

// A profile integer that must be there: false when missing.
bool ReadInt(const CProfile& p, const CString& section, LPCTSTR entry, int& out) {
    const int kMissing = (int)0x80000000;
    int v = (int)p.GetProfileInt(section, entry, kMissing);
    if (v == kMissing)
        return false;
    out = v;
    return true;
}

bool ValidBarId(int id) {
    return id > 0 && id <= 0xFFFF;
}
}  // namespace

bool CControlBarInfo::operator==(const CControlBarInfo& o) const {
    return m_nBarID == o.m_nBarID && !m_bVisible == !o.m_bVisible && !m_bFloating == !o.m_bFloating &&
           !m_bHorz == !o.m_bHorz && !m_bDockBar == !o.m_bDockBar && EqualPoint(m_pointPos, o.m_pointPos) &&
           m_nMRUWidth == o.m_nMRUWidth && !m_bDocking == !o.m_bDocking && m_uMRUDockID == o.m_uMRUDockID &&
           EqualRect(&m_rectMRUDockPos, &o.m_rectMRUDockPos) && m_dwMRUFloatStyle == o.m_dwMRUFloatStyle &&
           EqualPoint(m_ptMRUFloatPos, o.m_ptMRUFloatPos) && m_arrBarID == o.m_arrBarID;
}

CDockState::~CDockState() {
    Clear();
}

void CDockState::Clear() {
    for (CControlBarInfo* info : m_arrBarInfo)
        delete info;
    m_arrBarInfo.clear();
}

void CDockState::Take(std::vector<CControlBarInfo*>& infos, SIZE screen) {
    Clear();
    m_arrBarInfo.swap(infos);
    m_sizeScreen = screen;
}

BOOL CDockState::SaveState(LPCTSTR name) const {
    const CProfile& p = AfxGetProfile();
    CString summary = Section(name, "Summary");
    // Sections of a longer earlier state would be read back as this one's: they go.
    int before = 0;
    if (ReadInt(p, summary, "Bars", before))
        for (int i = (int)m_arrBarInfo.size(); i < before && i < kMaxBars; ++i)
            p.WriteProfileString(BarSection(name, i), nullptr, nullptr);
    BOOL ok = p.WriteProfileInt(summary, "Bars", (int)m_arrBarInfo.size());
    ok = ok && p.WriteProfileInt(summary, "ScreenCX", GetSystemMetrics(SM_CXSCREEN));
    ok = ok && p.WriteProfileInt(summary, "ScreenCY", GetSystemMetrics(SM_CYSCREEN));
    for (size_t i = 0; ok && i < m_arrBarInfo.size(); ++i) {
        const CControlBarInfo& b = *m_arrBarInfo[i];
        CString s = BarSection(name, (int)i);
        p.WriteProfileString(s, nullptr, nullptr);  // no value of an earlier state stays
        ok = p.WriteProfileInt(s, "BarID", (int)b.m_nBarID) && p.WriteProfileInt(s, "Visible", b.m_bVisible ? 1 : 0) &&
             p.WriteProfileInt(s, "Horz", b.m_bHorz ? 1 : 0) && p.WriteProfileInt(s, "Floating", b.m_bFloating ? 1 : 0) &&
             p.WriteProfileInt(s, "DockBar", b.m_bDockBar ? 1 : 0) && p.WriteProfileInt(s, "XPos", b.m_pointPos.x) &&
             p.WriteProfileInt(s, "YPos", b.m_pointPos.y) && p.WriteProfileInt(s, "MRUWidth", b.m_nMRUWidth) &&
             p.WriteProfileInt(s, "Docking", b.m_bDocking ? 1 : 0);
        if (ok && b.m_bDocking)
            ok = p.WriteProfileInt(s, "MRUDockID", (int)b.m_uMRUDockID) &&
                 p.WriteProfileInt(s, "MRUDockLeftPos", b.m_rectMRUDockPos.left) &&
                 p.WriteProfileInt(s, "MRUDockTopPos", b.m_rectMRUDockPos.top) &&
                 p.WriteProfileInt(s, "MRUDockRightPos", b.m_rectMRUDockPos.right) &&
                 p.WriteProfileInt(s, "MRUDockBottomPos", b.m_rectMRUDockPos.bottom) &&
                 p.WriteProfileInt(s, "MRUFloatStyle", (int)b.m_dwMRUFloatStyle) &&
                 p.WriteProfileInt(s, "MRUFloatXPos", b.m_ptMRUFloatPos.x) &&
                 p.WriteProfileInt(s, "MRUFloatYPos", b.m_ptMRUFloatPos.y);
        if (ok && b.m_bDockBar) {
            ok = p.WriteProfileInt(s, "Bars", (int)b.m_arrBarID.size());
            for (size_t k = 0; ok && k < b.m_arrBarID.size(); ++k) {
                CString entry;
                entry.Format("Bar#%d", (int)k);
                ok = p.WriteProfileInt(s, entry, (int)b.m_arrBarID[k]);
            }
        }
    }
    return ok;
}

BOOL CDockState::LoadState(LPCTSTR name) {
    const CProfile& p = AfxGetProfile();
    CString summary = Section(name, "Summary");
    int count = 0;
    if (!ReadInt(p, summary, "Bars", count) || count < 0 || count > kMaxBars)
        return FALSE;
    SIZE screen{(LONG)p.GetProfileInt(summary, "ScreenCX", 0), (LONG)p.GetProfileInt(summary, "ScreenCY", 0)};
    if (screen.cx < 0 || screen.cy < 0 || screen.cx > 100000 || screen.cy > 100000)
        return FALSE;
    std::vector<CControlBarInfo*> infos;
    auto fail = [&] {
        for (CControlBarInfo* i : infos)
            delete i;
        return FALSE;
    };
    for (int i = 0; i < count; ++i) {
        auto* b = new CControlBarInfo;
        infos.push_back(b);
        CString s = BarSection(name, i);
        int id = 0, visible = 0, horz = 0, floating = 0, dockBar = 0, x = 0, y = 0, docking = 0;
        if (!ReadInt(p, s, "BarID", id) || !ValidBarId(id) || !ReadInt(p, s, "Visible", visible) ||
            !ReadInt(p, s, "Horz", horz) || !ReadInt(p, s, "Floating", floating) ||
            !ReadInt(p, s, "DockBar", dockBar) || !ReadInt(p, s, "XPos", x) || !ReadInt(p, s, "YPos", y) ||
            !ReadInt(p, s, "MRUWidth", b->m_nMRUWidth) || !ReadInt(p, s, "Docking", docking))
            return fail();
        b->m_nBarID = (UINT)id;
        b->m_bVisible = visible != 0;
        b->m_bHorz = horz != 0;
        b->m_bFloating = floating != 0;
        b->m_bDockBar = dockBar != 0;
        b->m_pointPos = POINT{x, y};
        b->m_bDocking = docking != 0;
        if (b->m_bDocking) {
            int dockId = 0, style = 0;
            RECT& r = b->m_rectMRUDockPos;
            int l, t, rt, bt, fx, fy;
            if (!ReadInt(p, s, "MRUDockID", dockId) || dockId < 0 || dockId > 0xFFFF ||
                !ReadInt(p, s, "MRUDockLeftPos", l) || !ReadInt(p, s, "MRUDockTopPos", t) ||
                !ReadInt(p, s, "MRUDockRightPos", rt) || !ReadInt(p, s, "MRUDockBottomPos", bt) ||
                !ReadInt(p, s, "MRUFloatStyle", style) || !ReadInt(p, s, "MRUFloatXPos", fx) ||
                !ReadInt(p, s, "MRUFloatYPos", fy))
                return fail();
            b->m_uMRUDockID = (UINT)dockId;
            r = RECT{l, t, rt, bt};
            b->m_dwMRUFloatStyle = (DWORD)style;
            b->m_ptMRUFloatPos = POINT{fx, fy};
        }
        if (b->m_bDockBar) {
            int n = 0;
            if (!ReadInt(p, s, "Bars", n) || n < 0 || n > kMaxIds)
                return fail();
            for (int k = 0; k < n; ++k) {
                CString entry;
                entry.Format("Bar#%d", k);
                int v = 0;
                if (!ReadInt(p, s, entry, v))
                    return fail();
                UINT u = (UINT)v;
                if (u != 0 && !ValidBarId((int)(u & ~CControlBarInfo::kPlaceholderBit)))
                    return fail();
                if (u & ~(CControlBarInfo::kPlaceholderBit | 0xFFFF))
                    return fail();
                b->m_arrBarID.push_back(u);
            }
        }
    }
    Take(infos, screen);
    return TRUE;
}

void CDockState::ScaleToScreen() {
    SIZE now{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (m_sizeScreen.cx <= 0 || m_sizeScreen.cy <= 0 || (now.cx == m_sizeScreen.cx && now.cy == m_sizeScreen.cy))
        return;
    auto scale = [&](POINT& p) {
        p.x = MulDiv(p.x, now.cx, m_sizeScreen.cx);
        p.y = MulDiv(p.y, now.cy, m_sizeScreen.cy);
    };
    for (CControlBarInfo* b : m_arrBarInfo) {
        // Floating places are on the screen; docked ones are kept as they are.
        if (b->m_bFloating)
            scale(b->m_pointPos);
        scale(b->m_ptMRUFloatPos);
    }
    m_sizeScreen = now;
}

// The archive form: a 16-bit version (1); the screen's width and height (32-bit); the bar count (an
// archive count); per bar its 32-bit id, a flags byte (1 visible, 2 floating, 4 horizontal, 8 dock bar,
// 16 docking), its 32-bit x, y and last width; with docking the 32-bit last dock bar id, last docked
// rectangle, last floating style and point; for a dock bar the count of its list and the 32-bit entries.
void CDockState::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << (WORD)kVersion << (int32_t)m_sizeScreen.cx << (int32_t)m_sizeScreen.cy;
        ar.WriteCount(m_arrBarInfo.size());
        for (const CControlBarInfo* b : m_arrBarInfo) {
            BYTE flags = (BYTE)((b->m_bVisible ? 1 : 0) | (b->m_bFloating ? 2 : 0) | (b->m_bHorz ? 4 : 0) |
                                (b->m_bDockBar ? 8 : 0) | (b->m_bDocking ? 16 : 0));
            ar << (uint32_t)b->m_nBarID << flags << (int32_t)b->m_pointPos.x << (int32_t)b->m_pointPos.y
               << (int32_t)b->m_nMRUWidth;
            if (b->m_bDocking) {
                const RECT& r = b->m_rectMRUDockPos;
                ar << (uint32_t)b->m_uMRUDockID << (int32_t)r.left << (int32_t)r.top << (int32_t)r.right
                   << (int32_t)r.bottom << (uint32_t)b->m_dwMRUFloatStyle << (int32_t)b->m_ptMRUFloatPos.x
                   << (int32_t)b->m_ptMRUFloatPos.y;
            }
            if (b->m_bDockBar) {
                ar.WriteCount(b->m_arrBarID.size());
                for (UINT id : b->m_arrBarID)
                    ar << (uint32_t)id;
            }
        }
        return;
    }
    WORD version = 0;
    int32_t cx = 0, cy = 0;
    ar >> version;
    if (version != kVersion)
        AfxThrowArchiveException(CArchiveException::badSchema);
    ar >> cx >> cy;
    if (cx < 0 || cy < 0)
        AfxThrowArchiveException(CArchiveException::genericException);
    DWORD_PTR count = ar.ReadCount();
    if (count > (DWORD_PTR)kMaxBars)
        AfxThrowArchiveException(CArchiveException::genericException);
    std::vector<std::unique_ptr<CControlBarInfo>> infos;
    for (DWORD_PTR i = 0; i < count; ++i) {
        auto b = std::make_unique<CControlBarInfo>();
        uint32_t id = 0;
        BYTE flags = 0;
        int32_t x = 0, y = 0, width = 0;
        ar >> id >> flags >> x >> y >> width;
        if (!ValidBarId((int)id) || (flags & ~31))
            AfxThrowArchiveException(CArchiveException::genericException);
        b->m_nBarID = id;
        b->m_bVisible = (flags & 1) != 0;
        b->m_bFloating = (flags & 2) != 0;
        b->m_bHorz = (flags & 4) != 0;
        b->m_bDockBar = (flags & 8) != 0;
        b->m_bDocking = (flags & 16) != 0;
        b->m_pointPos = POINT{x, y};
        b->m_nMRUWidth = width;
        if (b->m_bDocking) {
            uint32_t dockId = 0, style = 0;
            int32_t l, t, r, bt, fx, fy;
            ar >> dockId >> l >> t >> r >> bt >> style >> fx >> fy;
            if (dockId > 0xFFFF)
                AfxThrowArchiveException(CArchiveException::genericException);
            b->m_uMRUDockID = dockId;
            b->m_rectMRUDockPos = RECT{l, t, r, bt};
            b->m_dwMRUFloatStyle = style;
            b->m_ptMRUFloatPos = POINT{fx, fy};
        }
        if (b->m_bDockBar) {
            DWORD_PTR n = ar.ReadCount();
            if (n > (DWORD_PTR)kMaxIds)
                AfxThrowArchiveException(CArchiveException::genericException);
            for (DWORD_PTR k = 0; k < n; ++k) {
                uint32_t entry = 0;
                ar >> entry;
                if (entry != 0 && (!ValidBarId((int)(entry & 0xFFFF)) ||
                                   (entry & ~(CControlBarInfo::kPlaceholderBit | 0xFFFF))))
                    AfxThrowArchiveException(CArchiveException::genericException);
                b->m_arrBarID.push_back(entry);
            }
        }
        infos.push_back(std::move(b));
    }
    std::vector<CControlBarInfo*> raw;
    for (auto& b : infos)
        raw.push_back(b.release());
    Take(raw, SIZE{cx, cy});
}
