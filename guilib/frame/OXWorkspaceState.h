// The whole look of the running application (the main window's placement, the bars and their docking,
// the open MDI children with their documents, the main frame's splitter rows and columns) as one blob
// in the registry or a file, restored at the next start.
#pragma once

#include <map>
#include <set>

#include "guilib/frame/OXChildFrameState.h"
#include "platform/base/Archive.h"
#include "platform/base/Collections.h"
#include "platform/base/Object.h"
#include "platform/base/Registry.h"
#include "platform/framework/bars/DockState.h"

// Where a bar's tab was: the dock bar holding its tab strip, its index there (-1 none) and whether it was
// the selected tab. Stored raw, 16 bytes.
struct OXDOCKTABPOSITION {
    int32_t nBarID = 0;
    int32_t nDockBarID = 0;
    int32_t nTabIndex = -1;
    int32_t bCurrentTab = 0;
};

class COXWorkspaceState : public CObject {
    DECLARE_SERIAL(COXWorkspaceState)
public:
    static constexpr uint32_t kMagic = 0x1234FEDC;
    static constexpr uint32_t kVersion = 1;

    COXWorkspaceState();
    ~COXWorkspaceState() override;
    COXWorkspaceState(const COXWorkspaceState&) = delete;
    COXWorkspaceState& operator=(const COXWorkspaceState&) = delete;

    void Serialize(CArchive& ar) override;
    virtual BOOL ComputeState();
    // Applies the held state to the running application; framework exceptions are passed on.
    virtual BOOL ApplyState();
    virtual BOOL StoreToFile(LPCTSTR path);
    virtual BOOL LoadFromFile(LPCTSTR path, BOOL apply = TRUE);
    virtual BOOL StoreToRegistry(LPCTSTR valueName = "Main", LPCTSTR company = nullptr,
                                 LPCTSTR application = nullptr, HKEY root = HKEY_CURRENT_USER);
    virtual BOOL LoadFromRegistry(LPCTSTR valueName = "Main", LPCTSTR company = nullptr,
                                  LPCTSTR application = nullptr, HKEY root = HKEY_CURRENT_USER,
                                  BOOL apply = TRUE);
    virtual BOOL ComputeTabPositions(CDockState& dockState);
    virtual BOOL ApplyTabPositions(std::vector<CControlBarInfo*>& barInfo);
    virtual BOOL ComputeChildFrameStates();
    virtual BOOL ApplyChildFrameStates();
    virtual BOOL ComputeSplitterStates(CFrameWnd* frame);
    virtual BOOL ApplySplitterStates(CFrameWnd* frame);
    virtual void StoreContents(CArchive& ar);
    // Reads the whole blob into new objects; the held state is replaced only when it was read whole.
    virtual void LoadContents(CArchive& ar);
    virtual BOOL SerializeFile(LPCTSTR path, BOOL store);
    virtual BOOL LoadFromByteArray(const CByteArray& bytes);
    virtual BOOL StoreToByteArray(CByteArray& bytes);
    virtual BOOL ReadWriteRegistryBlob(BOOL write, LPCTSTR valueName, LPCTSTR company, LPCTSTR application,
                                       HKEY root, CByteArray& bytes);

    void SetOptionFlag(BOOL includeBars) { m_bIncludeBars = includeBars; }
    void Reset();

    SIZE m_screenSize{0, 0};
    BOOL m_bIncludeMainWindow = TRUE;
    WINDOWPLACEMENT m_mainWindowPlacement{};
    BOOL m_bIncludeBars = TRUE;
    CDockState* m_pDockState = nullptr;  // owned
    std::map<DWORD, OXDOCKTABPOSITION> m_mapTabPositions;
    BOOL m_bIncludeChildFrames = TRUE;
    CObArray m_childFrameStates;  // of COXChildFrameState, owned
    BOOL m_bIncludeSplitterPanes = TRUE;
    CObArray m_splitterStates;  // of COXSplitterColRowState, owned, rows first

protected:
    void DeleteContents();
};
