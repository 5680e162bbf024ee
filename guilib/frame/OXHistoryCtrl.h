// A scroll window showing a list of one-line history entries, each in its own colours, in a fixed-pitch
// font, scrolled in whole characters and lines.
#pragma once

#include "guilib/frame/OXScrollWnd.h"
#include "platform/base/Collections.h"
#include "platform/base/File.h"
#include "platform/base/Sync.h"
#include "platform/framework/gdi/GdiObject.h"

struct _tagHISTORYENTRY {
    CString m_sText;
    COLORREF m_clrText = ::GetSysColor(COLOR_WINDOWTEXT);
    COLORREF m_clrBackground = ::GetSysColor(COLOR_WINDOW);
    int m_nOffset = 0;
    UINT m_nFormat = 0;  // extra DrawText flags
};
typedef _tagHISTORYENTRY HISTORYENTRY;

class COXHistoryCtrl : public COXScrollWnd {
    DECLARE_DYNCREATE(COXHistoryCtrl)
public:
    COXHistoryCtrl();
    ~COXHistoryCtrl() override;

    // After the scroll window's own: empty MM_TEXT sizes and a fixed-pitch font of the default height.
    BOOL Initialize() override;
    // A copy of the font becomes the lines' font; the character size and scroll sizes follow.
    void SetHistoryFont(CFont* font, BOOL redraw = TRUE);
    CFont* GetHistoryFont() { return &m_font; }
    SIZE GetCharSize() const { return m_charSize; }
    int GetEntryCount() const { return (int)m_entries.GetCount(); }
    // Recomputes the scroll sizes from the entries, the longest line and the character size.
    void UpdateScrollSizes();

    COLORREF m_clrBackground;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint();

    CFont m_font;
    CString m_sLogFileName;
    CFile m_logFile;
    SIZE m_charSize{0, 0};
    CList<HISTORYENTRY, HISTORYENTRY&> m_entries;
    int m_nMaxEntries = 100;
    int m_nLongestLine = 0;
    CString m_sTimeStampFormat = "%X";
    CCriticalSection* m_pCriticalSection = nullptr;
};
