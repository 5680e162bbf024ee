// COXCoolToolBar: the program's tool bar. A flat, transparent bar on the toolbar control that lays
// itself out, draws its non-client area, gripper and optional icon, takes button texts from the
// commands' strings or menu items, draws through the toolbar element skin and keeps its buttons and
// look in the profile.
#pragma once

#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "guilib/controls/OXSHBDropHelpers.h"
#include "guilib/skins/MFCToolBar.h"
#include "guilib/skins/OXSkinViews.h"

class COXToolbarSkin;
class COXToolbarSkinClassic;

// Where button texts come from (SetTextType).
#define OXTT_DESCRIPTION 0  // the command string before its first '\n'
#define OXTT_TOOLTIP 1      // the command string after its first '\n'
#define OXTT_MENUTEXT 2     // the command's item text in the main menu, before its '\t'
#define OXTT_NOTEXT 3       // texts left as they are
#define OXTT_EMPTY 4        // texts cleared

// Asked of the main window on a press outside the buttons: non-zero lets the bar move itself.
#define OXWM_CANMOVEBAR (WM_USER + 92)

// The notification (WM_NOTIFY code) a customised bar sends its customisation owner, with a command below
// and a parameter; a non-zero answer means the owner has handled the command.
#define OX_TOOLBAR_CUSTOMIZE_NOTIFY 32899
#define OX_TOOLBAR_CUSTOMIZED_BUTTON_CHANGED 32892
#define ID_OXCUSTTB_DELETE 32893
#define ID_OXCUSTTB_APPEARANCE 32894
#define ID_OXCUSTTB_IMAGEONLY 32895
#define ID_OXCUSTTB_IMAGETEXT 32896
#define ID_OXCUSTTB_SEPARATOR_BEFORE 32897
#define ID_OXCUSTTB_SEPARATOR_AFTER 32898

class COXCoolToolBar;
class CArchive;
class OXBlockReader;

// A window hosted in a tool bar's button slot (a combo box, say). The first bar that hosts a registered
// custom button uses the registered object itself; every further bar hosts a clone of it.
class COXCustomTBButtonTemplate {
public:
    virtual ~COXCustomTBButtonTemplate() = default;
    // The hosted window (null before it is created).
    virtual CWnd* CBGetWindow() = 0;
    // Creates the hosted window as a child of the bar.
    virtual BOOL CBCreate(UINT id, COXCoolToolBar* bar, DWORD style, const RECT& rect, LPCTSTR className,
                          LPCTSTR windowName) = 0;
    // A new object with its own window on `bar`, or null.
    virtual COXCustomTBButtonTemplate* CBCreateCopy(COXCoolToolBar* bar) = 0;
    // Its button was deleted: the object lets its window go (a clone deletes itself).
    virtual void CBDelete() = 0;
    virtual void CBSetCustomizeMode(BOOL on) = 0;
    // Whether a reload of the bar's state releases it instead of putting it back.
    virtual BOOL CBReleaseOnStateLoad() = 0;
    virtual void CBSaveState(CArchive& ar) = 0;
    // Reads what CBSaveState wrote without passing the block's end; FALSE for a damaged state.
    virtual BOOL CBLoadState(OXBlockReader& in) = 0;
};

// Visibility flags of a custom button: where its window is shown instead of its image.
#define OXCBD_SHOWVERT 1
#define OXCBD_SHOWHORZ 2
#define OXCBD_SHOWFLOAT 4
#define OXCBD_SHOWANY (OXCBD_SHOWVERT | OXCBD_SHOWHORZ | OXCBD_SHOWFLOAT)

typedef struct _tagOXCUSTOMBUTTONDESCRIPTOR {
    COXCustomTBButtonTemplate* m_pCBTemplate = nullptr;
    int m_nID = 0;            // the hosted window's control id
    int m_nWidth = -1;        // the slot's width while the window is shown
    int m_nHeight = -1;       // the window's height; centred in the slot when positive and smaller
    int m_nFlags = OXCBD_SHOWANY;
    int m_nImageIndex = -1;   // the image of the plain button standing in while the window is hidden
} OXCUSTOMBUTTONDESCRIPTOR;

struct NMCTBCUSTOMIZE {
    NMHDR nmhdr;
    int nCustomizeEventID;
    LPARAM lParam;
};

class COXCoolToolBar : public CMFCToolBar, public COXCoolToolBarView {
    DECLARE_DYNCREATE(COXCoolToolBar)
public:
    using CControlBar::DrawBorders;
    COXCoolToolBar();
    ~COXCoolToolBar() override;

    virtual BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT id = AFX_IDW_TOOLBAR);
    void EnableDocking(DWORD dockStyle, BOOL flag = FALSE);

    virtual BOOL IsCustomizable(BOOL advanced) const;
    // Only a bar with a pool of available buttons can be customised; (TRUE, TRUE) is the advanced way.
    void SetCustomizable(BOOL customizable, BOOL advanced);
    // The pool (kept, not copied); makes the bar advanced-customisable.
    void SetAvailableButtons(const UINT* ids, int count);
    BOOL IsDropDownArrow() const override;
    void SetDropDownArrow(BOOL on);
    void SetTextType(int firstId = 0, int lastId = 65535, int type = OXTT_NOTEXT);
    int GetTextType() const { return m_nTextType; }
    BOOL SetButtonsMinMaxWidth(int minWidth, int maxWidth);
    BOOL SetIndent(int indent);
    int GetIndent() const { return m_nIndent; }
    COXToolbarSkin* GetToolbarSkin();
    void SetClientOffset(POINT screen);
    // Starts the bar's own drag from a screen point: the bar follows the cursor until the button is up.
    void BeginMove(POINT screen);
    void SetCool(BOOL cool) { m_bCool = cool; }
    void SetSeparator(BOOL separator) { m_bSeparator = separator; }
    void SetIcon(HICON icon) { m_hIcon = icon; }
    void SetCustomColor(OXToolbarState state, OXToolbarColorPart part, COLORREF color);
    // Clicks that hit no button move the bar unless cleared (the menu bar clears it).
    void SetClicksOutsideButtons(BOOL on) { m_bClicksOutsideButtons = on; }
    BOOL GetClicksOutsideButtons() const { return m_bClicksOutsideButtons; }

    // Customisation: the owner (the customize dialog) gets the notifications; off clears the selection.
    void SetCustomizeMode(BOOL on, CWnd* owner = nullptr);
    BOOL IsInCustomizeMode() const { return m_bCustomizeMode; }
    CWnd* GetCustomizeOwner() const { return m_pCustomizeOwner; }
    // Stores the selected button, redraws it and tells the owner; the previous index.
    int SetCustomizedButton(int index);
    LRESULT NotifyCustomizeOwner(int command, LPARAM parameter = 0);
    // The button menu of a button (null when it cannot be made); the caller destroys it.
    HMENU CreateButtonMenu(int index);
    BOOL ShowButtonMenu(int index, int x, int y);
    BOOL MoveButton(int from, int to);
    // The drop target's records (Part of the forwarding helpers).
    virtual void OnDragEnter(SHBDROPTARGETACTION* action);
    virtual void OnDragOver(SHBDROPTARGETACTION* action);
    virtual void OnDragLeave(SHBDROPTARGETACTION* action);
    virtual void OnDrop(SHBDROPTARGETACTION* action);
    int GetDraggedButton() const { return m_nDraggedButton; }
    COXSHBDropTarget* GetDropTarget() { return &m_dropTarget; }

    // Lays the bar out again (and redraws its frame); nothing while redrawing is suspended.
    void RedrawToolBar(BOOL recalcLayout = TRUE, BOOL redrawFrame = TRUE);
    void RedrawButton(int index);
    // Custom buttons: a hosted window over a separator slot, or its image in a plain button where the
    // descriptor's flags do not show it (floating, docked horizontally, docked vertically).
    void UpdateCustomButtons(int first = 0, int last = -1);
    void UpdateCustomButton(int index);
    BOOL InsertCustomButton(int index, int registrationIndex, DWORD style = WS_CHILD | WS_VISIBLE,
                            const RECT* rect = nullptr, LPCTSTR className = nullptr, LPCTSTR windowName = "");
    // The descriptor of button `index`, or null when it is not a custom button.
    const OXCUSTOMBUTTONDESCRIPTOR* GetCustomButton(int index) const;
    int GetCustomButtonCount() const { return (int)m_mapCustomButtons.size(); }
    // The process-wide registration: the position of the new entry (or of the id when it was there).
    static int RegisterCustomButton(UINT id, COXCustomTBButtonTemplate* templateObject,
                                    const OXCUSTOMBUTTONDESCRIPTOR& descriptor);
    // Empties the registration (the objects are the registrants' own).
    static void UnregisterCustomButtons();
    // The position of `id` in the registration, -1 when absent.
    static int FindCustomButton(UINT id);
    static BOOL ApplyCustomButtonSettings(int registrationIndex, const OXCUSTOMBUTTONDESCRIPTOR& descriptor);
    static const OXCUSTOMBUTTONDESCRIPTOR* GetRegisteredCustomButton(int registrationIndex);
    static int GetRegisteredCustomButtonCount();
    // The hosted window of a descriptor while it exists, else null.
    static HWND CustomButtonWindow(const OXCUSTOMBUTTONDESCRIPTOR& descriptor);
    // The class a hosted window is made with when none is given: double clicks, no cursor, brush or icon.
    static LPCTSTR CustomButtonWindowClass();
    int GetCustomizedButton() const override { return m_nCustomizedIndex; }
    // A button's text kept while it shows only its image.
    CString GetStoredButtonText(UINT id) const;

    // Profile state: section and name as the caller forms them.
    virtual BOOL SaveBarState(LPCTSTR section, LPCTSTR name, BOOL withProperties = TRUE);
    virtual BOOL LoadBarState(LPCTSTR section, LPCTSTR name, BOOL withProperties = TRUE);

    // Layout steps over arrays of buttons.
    virtual SIZE CalcLayout(DWORD mode, int length = -1);
    virtual SIZE CalcSize(TBBUTTON* buttons, int count);
    virtual int WrapToolBar(TBBUTTON* buttons, int count, int width);
    virtual void SizeToolBar(TBBUTTON* buttons, int count, int length, BOOL vertical = FALSE);
    virtual void DrawGripper(CDC* dc, RECT& rect);
    void DrawSeparator(CDC* dc, RECT& rect) override;
    virtual void DrawIcon(CDC* dc, RECT& rect);
    void DrawCustomizedButton(CDC* dc, RECT& rect) override;
    virtual void AdjustNonClientRect(RECT& rect, int flags) { (void)rect, (void)flags; }
    virtual void DrawNonClientExtras(CDC* dc, const RECT& rect) { (void)dc, (void)rect; }
    virtual void OnFloatingStateChanged(BOOL floating);
    virtual void OnDockingSideChanged(DWORD side);
    virtual void EraseNonClient();
    void CalcInsideRect(RECT& rect, BOOL horz) const override;
    virtual BOOL DeleteButton(int index);

    SIZE CalcFixedLayout(BOOL stretch, BOOL horz) override;
    SIZE CalcDynamicLayout(int length, DWORD mode) override;
    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;
    void DrawBorders(CDC* dc, RECT& rect) override;

    // What the skins read.
    HWND GetBarHwnd() const override { return m_hWnd; }
    UINT GetBarId() const override { return (UINT)::GetDlgCtrlID(m_hWnd); }
    DWORD GetBarStyle() const override { return m_dwStyle; }
    BOOL HasDockContext() const override { return m_pDockContext != nullptr; }
    BOOL IsCustomButton(int index) const override { return m_mapCustomButtons.count(index) != 0; }
    BOOL IsCool() const override { return m_bCool; }
    BOOL HasSeparatorFlag() const override { return m_bSeparator; }
    COLORREF GetCustomColor(OXToolbarState state, OXToolbarColorPart part) const override;
    DWORD GetComCtlVersion() const override { return s_dwComCtlVersion; }
    BOOL IsMenuBar() const override { return FALSE; }
    int GetDroppedCommand() const override { return m_nDroppedCommand; }
    void ResetDroppedCommand() override { m_nDroppedCommand = m_nLastDroppedCommand = -1; }
    CString GetMenuItemText(int) const override { return CString(); }
    HWND GetBandReferenceWindow() const override;
    LRESULT Default() override { return CWnd::Default(); }

    // The common-controls version the bars run with (read by the first bar constructed).
    static DWORD GetCommonControlsVersion() { return s_dwComCtlVersion; }
    // Makes the next bar constructed read the version again (tests switch it).
    static void ResetCommonControlsVersion() { s_dwComCtlVersion = 0; }
    // Saved-state flags of the process-wide custom-button table: written and read once a process.
    static void ResetCustomButtonTableFlags() { s_bTableSaved = s_bTableLoaded = FALSE; }

    int m_nDropDownArrowWidth = 0;
    POINT m_ptClientOffset{0, 0};
    BOOL m_bInRelayout = FALSE;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    void MeasureDropDownArrow();
    BOOL IsFlat() const { return (GetStyle() & TBSTYLE_FLAT) != 0; }
    BOOL OldControls() const { return s_dwComCtlVersion < 0x40047; }
    // The advance of a button in a row: its width, and the arrow for a drop-down button.
    int ButtonAdvance(const TBBUTTON& button, int index);
    // Writes the laid-out buttons back into the control, field by field.
    void WriteButtons(const TBBUTTON* buttons, int count);
    void OnNcCalcSize(NCCALCSIZE_PARAMS* params);
    void OnNcPaint();
    void LoadProperties(LPCTSTR propertiesSection, BOOL& relayout);
    void SaveProperties(LPCTSTR propertiesSection);
    void OnWindowPosChanged();
    void OnLButtonDown(UINT flags, POINT point);
    // Customisation's share of the window's messages; TRUE when it answered.
    BOOL CustomizeWindowProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void OnCustomizeCommand(UINT command);
    LRESULT OnBeginDragButton(NMTOOLBAR* notify);
    BOOL OnGetButtonInfo(NMTOOLBAR* notify);
    int CustomizeHitTest(POINT point);
    // The bar's parent asked with a tool bar notification about `index`.
    LRESULT QueryParent(UINT code, int index);
    void OnMouseMove(UINT flags, POINT point);
    DECLARE_MESSAGE_MAP()

    BOOL m_bNT = TRUE;
    int m_nTextType = OXTT_NOTEXT;
    BOOL m_bCool = FALSE;
    BOOL m_bSeparator = TRUE;
    BOOL m_bDropDownArrow = FALSE;
    int m_nIndent = 0;
    int m_nMinButtonWidth = -1;
    int m_nMaxButtonWidth = -1;
    COLORREF m_colors[12];
    int m_nLastFloating = 3;
    int m_nLastDockSide = -1;
    HICON m_hIcon = nullptr;
    RECT m_rectIcon{0, 0, 0, 0};
    int m_nCustomizedIndex = -1;
    BOOL m_bAdvancedCustomizable = FALSE;
    BOOL m_bCustomizeMode = FALSE;
    CWnd* m_pCustomizeOwner = nullptr;
    BOOL m_bDockingFlag = FALSE;
    const UINT* m_pAvailableButtons = nullptr;
    int m_nAvailableButtons = 0;
    BOOL m_bMoving = FALSE;
    CMap<UINT, UINT, CString, LPCTSTR> m_mapHiddenText;
    BOOL m_bSuspendRedraw = FALSE;
    int m_nPendingUpdate = 0;
    BOOL m_bClicksOutsideButtons = TRUE;
    int m_nDroppedCommand = -1;
    int m_nLastDroppedCommand = -1;
    std::unique_ptr<COXToolbarSkinClassic> m_pOwnSkin;
    BOOL m_bDragging = FALSE;
    BOOL m_bMayRemoveSource = FALSE;
    int m_nDraggedButton = -1;
    std::map<int, OXCUSTOMBUTTONDESCRIPTOR> m_mapCustomButtons;  // button index to descriptor
    // The custom buttons' share of TB_INSERTBUTTON, TB_DELETEBUTTON and TB_MOVEBUTTON.
    void OnCustomButtonInserted(int index);
    void OnCustomButtonDeleted(int index);
    void OnCustomButtonMoved(int from, int to);
    // The slot of a hosted window whose id is `id`, or -1.
    int FindCustomButtonSlot(UINT id) const;
    void ReleaseCustomButtons();
    static void LoadCustomButtonTable(const std::vector<BYTE>& bytes);
    void RestoreCustomButtons(const std::vector<std::pair<int32_t, int32_t>>& slots,
                              std::map<int, OXCUSTOMBUTTONDESCRIPTOR>& kept);
    COXSHBDropSource m_dropSource;
    COXSHBDropTarget m_dropTarget;

    static DWORD s_dwComCtlVersion;
    static BOOL s_bTableSaved;
    static BOOL s_bTableLoaded;

    friend class COXCoolToolBarCmdUI;
};

// The command update of one cool tool bar button.
class COXCoolToolBarCmdUI : public CCmdUI {
public:
    void Enable(BOOL on = TRUE) override;
    void SetCheck(int check = 1) override;

private:
    void Apply(BYTE state, BYTE next);
};
