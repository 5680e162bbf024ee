// CDockState: the docking layout of a frame's bars (which dock bar holds which bars in which rows, where
// floating bars float, which bars show), kept in the profile or in an archive and applied to a frame
// later, even to another frame with the same bars. Both forms are read whole before anything is used: a
// damaged one fails and leaves the state (and so the frame) as it was.
#pragma once

#include <vector>

#include "platform/base/Object.h"
#include "platform/base/Types.h"

class CControlBar;
class CArchive;

class CControlBarInfo {
public:
    // In m_arrBarID: 0 ends a row; an id with this bit is the placeholder of that bar.
    static constexpr UINT kPlaceholderBit = 0x10000;

    UINT m_nBarID = 0;
    BOOL m_bVisible = FALSE;
    BOOL m_bFloating = FALSE;
    BOOL m_bHorz = FALSE;
    BOOL m_bDockBar = FALSE;
    POINT m_pointPos{-1, -1};  // a bar: its place in its dock bar; a floating dock bar: its frame's place
    int m_nMRUWidth = 32767;
    BOOL m_bDocking = FALSE;  // it has a dock context, with the places below
    UINT m_uMRUDockID = 0;
    RECT m_rectMRUDockPos{};
    DWORD m_dwMRUFloatStyle = 0;
    POINT m_ptMRUFloatPos{};
    std::vector<UINT> m_arrBarID;  // a dock bar's list
    CControlBar* m_pBar = nullptr;  // set while the state is applied

    bool operator==(const CControlBarInfo& o) const;
};

class CDockState : public CObject {
    DECLARE_SERIAL(CDockState)
public:
    CDockState() = default;
    ~CDockState() override;
    CDockState(const CDockState&) = delete;
    CDockState& operator=(const CDockState&) = delete;

    std::vector<CControlBarInfo*> m_arrBarInfo;
    SIZE m_sizeScreen{0, 0};  // the screen the places were kept on

    void Clear();
    // Sections "<name>-Summary" and "<name>-Bar<n>" of the application profile.
    BOOL SaveState(LPCTSTR profileName) const;
    BOOL LoadState(LPCTSTR profileName);
    // The archive form; a damaged one throws the archive's exception and leaves the state as it was.
    void Serialize(CArchive& ar) override;
    // Places kept on a screen of another size are scaled to this screen's.
    void ScaleToScreen();
    int GetVersion() const { return kVersion; }

    static constexpr int kVersion = 1;
    static constexpr int kMaxBars = 1024;
    static constexpr int kMaxIds = 4096;

private:
    void Take(std::vector<CControlBarInfo*>& infos, SIZE screen);
};
