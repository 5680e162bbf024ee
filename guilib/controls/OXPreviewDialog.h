// The Explorer-style file-open dialog with a preview pane right of the file list: a "Preview" check
// button on the dialog's shell toolbar shows or hides the pane, a splitter between list and pane can be
// dragged, and the pane's visibility and width persist in the application profile. File viewers draw
// the selected file in the pane; without one the pane says "Preview not available.".
#pragma once

#include <vector>

#include "platform/framework/dialogs/FileDialog.h"
#include "platform/framework/gdi/DC.h"

#define ID_OX_PREVIEW_BUTTON 41216        // the Preview check button's command
#define IDB_OX_PREVIEW 27261              // its bitmap
#define IDS_OX_PREVIEW_BUTTON 26973       // its text
#define IDS_OX_PREVIEW_TOOLTIP 26974      // its tool tip
#define IDC_OX_PREVIEW_SPLITTER 30980     // the splitter's cursor
#define ID_OX_PREVIEW_WND 59648           // the pane's control id
#define WM_OX_PREVIEW_APPLY_OFFSET 0x8014 // posted to the dialog: apply the stored pane offset

// Draws one kind of file in the preview pane.
class COXFileViewer {
public:
    virtual ~COXFileViewer() = default;
    // Shows `file` (empty: nothing); `alreadyShown` when an earlier viewer shows it. TRUE when shown.
    virtual BOOL OnNewFileSelect(LPCTSTR file, BOOL alreadyShown) = 0;
    // Paints the file into the pane's rectangle; TRUE when it painted.
    virtual BOOL OnPaintPreview(CDC* dc, const RECT& rect) = 0;
    // A palette message reached the dialog; TRUE when handled.
    virtual BOOL OnPaletteEvent(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/) { return FALSE; }
    virtual void OnChangeSize(const RECT& /*paneClient*/) {}
    virtual void OnShowPreview(BOOL /*show*/) {}
    virtual BOOL OnCreateViewer(CWnd* /*pane*/) { return TRUE; }
    virtual void OnDestroyViewer() {}
};

class COXPreviewDialog;

// The preview pane: its owner paints it.
class COXPreviewWnd : public CWnd {
    DECLARE_DYNAMIC(COXPreviewWnd)
public:
    explicit COXPreviewWnd(COXPreviewDialog* owner) : m_pOwner(owner) {}
    BOOL Create(CWnd* parent, const RECT& rect, UINT id = ID_OX_PREVIEW_WND);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    COXPreviewDialog* m_pOwner;
};

class COXPreviewDialog : public CFileDialog {
    DECLARE_DYNAMIC(COXPreviewDialog)
public:
    explicit COXPreviewDialog(BOOL openFileDialog, LPCTSTR defExt = nullptr, LPCTSTR fileName = nullptr,
                              DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCTSTR filter = nullptr,
                              CWnd* parent = nullptr);
    ~COXPreviewDialog() override;

    void SetPreview(BOOL show);
    BOOL GetPreview() const { return m_bPreview; }
    void SetPreviewOffset(int offset);
    int GetPreviewOffset() const { return m_nPreviewOffset; }
    void SetFlatToolbar(BOOL flat) { m_bFlatToolbar = flat; }
    // The viewers asked in order; the dialog does not own them.
    void AddFileViewer(COXFileViewer* viewer) { m_arrViewers.push_back(viewer); }
    CString GetCurrentFile() const { return m_strCurrentFile; }
    COXPreviewWnd& GetPreviewWnd() { return m_wndPreview; }
    // In the dialog's client coordinates.
    RECT GetSplitterRect() const { return m_rectSplitter; }
    RECT GetPreviewRect() const { return m_rectPreview; }

    // The dialog's parts this dialog works with (null before it runs).
    HWND GetShellToolbar() const;
    HWND GetShellView() const;

protected:
    void OnInitDone() override;
    void OnFileNameChange() override;
    void OnFolderChange() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // A message the dialog window has handled: the splitter drag, its cursor, the minimum size, resizing
    // and the posted offset. `result` is what the dialog answers.
    virtual void HandleDialogMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    virtual void ArrangeControls();
    virtual void AddPreviewButton();
    virtual void InitPreview();
    virtual void PreviewFile(LPCTSTR file);
    virtual void PaintPreview(CDC* dc, const RECT& rect);
    virtual BOOL OnPaletteEvent(UINT message, WPARAM wParam, LPARAM lParam);
    virtual void OnNewFileSelect();
    virtual void DrawNoPreview(CDC* dc, const RECT& rect);

    friend class COXPreviewWnd;
    static LRESULT PreviewDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND Dialog() const { return m_hWnd ? ::GetParent(m_hWnd) : nullptr; }
    RECT ChildRect(HWND child) const;  // in the dialog's client coordinates
    void MoveChild(HWND child, const RECT& rect);
    void RecordViewSize();
    void SetDragLimits();
    void ResizeViewers();

    BOOL m_bPreview = TRUE;
    BOOL m_bPrevPreview = TRUE;
    CString m_strCurrentFile;
    CString m_strPrevFile;
    std::vector<COXFileViewer*> m_arrViewers;
    COXPreviewWnd m_wndPreview;
    BOOL m_bInitialized = FALSE;
    BOOL m_bFlatToolbar = TRUE;
    RECT m_rectPreview{0, 0, 0, 0};
    RECT m_rectSplitter{0, 0, 0, 0};
    int m_nDragLeft = 0, m_nDragRight = 0;
    BOOL m_bDragging = FALSE;
    POINT m_ptLast{0, 0};
    int m_nLastWidth = -1, m_nLastHeight = -1;
    int m_nPreviewOffset = 0;
    WNDPROC m_pfnOldDialogProc = nullptr;
};
