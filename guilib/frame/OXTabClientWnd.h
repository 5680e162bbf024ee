// Tabbed MDI: COXTabClientWnd subclasses the MDI client of an MDI frame and owns a COXTabWorkspace, the
// tab strip around the client. It lays the strip and the client out, follows the client's MDI messages,
// and keeps attachment, offset and tab style in three profile values.
#pragma once

#include <memory>
#include "guilib/frame/OXTabWorkspace.h"

class CFrameWnd;
class CMDIFrameWnd;

class COXTabClientWnd : public CWnd {
    DECLARE_DYNAMIC(COXTabClientWnd)
public:
    COXTabClientWnd();
    ~COXTabClientWnd() override;

    // FALSE unless `frame` is an MDI frame whose client no other window object holds.
    BOOL Attach(CFrameWnd* frame, DWORD tabStyle = TCS_HOTTRACK);
    BOOL Detach();
    BOOL IsAttached() const { return m_pParentFrame != nullptr; }
    BOOL SaveState(LPCTSTR section);
    BOOL LoadState(LPCTSTR section);
    void CalcWindowRect(LPRECT rc, UINT adjustType = adjustBorder) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    CMDIFrameWnd* GetParentFrame() const { return m_pParentFrame; }
    COXTabSkin* GetTabSkin();

    COXTabWorkspace m_tab;
    CMDIFrameWnd* m_pParentFrame = nullptr;
    BOOL m_bForceToRecalc = FALSE;
    int m_nExtraTab = 0;  // index of the extra empty tab, 0 when none
    std::unique_ptr<COXTabSkinClassic> m_pTabSkin;

    static constexpr UINT kWorkspaceId = 1000;

protected:
    void PostTick();
};
