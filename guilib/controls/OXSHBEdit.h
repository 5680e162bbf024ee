// The in-place editor of shortcut-bar headers and list labels: an edit control started over a
// rectangle with a display record, holding the mouse capture until Enter, Escape, a click outside or
// the loss of the focus ends it; the end goes to the parent as WM_NOTIFY 0x80CF.
#pragma once

#include "platform/framework/controls/Edit.h"
#include "platform/framework/gdi/GdiObject.h"

#define SHBEN_FINISHEDIT 0x80CF

#define SHBEIF_TEXT 0x001
#define SHBEIF_RECTDISPLAY 0x002
#define SHBEIF_RECTMAX 0x004
#define SHBEIF_STYLE 0x008
#define SHBEIF_ENLARGE 0x010
#define SHBEIF_SELRANGE 0x020
#define SHBEIF_FONT 0x040
#define SHBEIF_RECTMIN 0x080
#define SHBEIF_CLRTEXT 0x100
#define SHBEIF_CLRBACK 0x200

struct SHBE_DISPLAY {
    LPCTSTR lpText = nullptr;
    RECT rectDisplay{};
    RECT rectMax{};
    DWORD dwStyle = 0;
    BOOL bEnlargeAsTyping = FALSE;
    int ptSelRange[2] = {0, 0};
    CFont* pFont = nullptr;
    RECT rectMin{};
    COLORREF clrText = 0;
    COLORREF clrBack = 0;
    UINT nMask = 0;
};
typedef SHBE_DISPLAY* LPSHBE_DISPLAY;

// What the parent receives with SHBEN_FINISHEDIT.
struct NMSHBEDIT {
    NMHDR hdr;
    BOOL bOK;
};

class COXSHBEdit : public CEdit {
    DECLARE_DYNAMIC(COXSHBEdit)
public:
    COXSHBEdit();
    ~COXSHBEdit() override;

    virtual BOOL StartEdit(LPSHBE_DISPLAY pSHBED);
    virtual void FinishEdit(BOOL bOK);

    BOOL IsEditing() const { return m_bIsEditing; }
    // Whether a record would be accepted by StartEdit.
    BOOL IsValidDisplay(const SHBE_DISPLAY* pSHBED) const;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    // Grows the editor around its text within the bounding rectangle.
    void EnlargeToFit();
    // Handles a mouse message: outside the client area it ends a click's edit and passes the
    // message on to the window under the cursor; TRUE when the message was passed on.
    BOOL ForwardOutside(UINT message, WPARAM wParam, LPARAM lParam);

    LPSHBE_DISPLAY m_pSHBED = nullptr;
    CFont m_font;
    CBrush m_brush;
    BOOL m_bIsEditing = FALSE;
};
