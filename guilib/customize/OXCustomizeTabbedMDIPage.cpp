#include "guilib/customize/OXCustomizeTabbedMDIPage.h"

#include "guilib/customize/OXCustomizeManager.h"
#include "guilib/customize/OXCustomizePagesResources.h"
#include "platform/framework/frames/MDIFrameWnd.h"
#include "platform/framework/window/DataExchange.h"
#include "platform/user/TreeView.h"

IMPLEMENT_DYNAMIC(COXCustomizeTabbedMDIPage, COXCustomizePage)

BEGIN_MESSAGE_MAP(COXCustomizeTabbedMDIPage, COXCustomizePage)
ON_BN_CLICKED(IDC_OX_CHECK_SUPPORT_TABBED_MDI, OnSupportTabbedMDI)
END_MESSAGE_MAP()

namespace {
constexpr DWORD kMaxOffset = 1000;
// The bits the tree stands for: what the unchanged-settings test compares.
constexpr DWORD kTreeStyleMask = 0xFFF;

enum class Group { Orientation, Appearance, Positioning, Display };

// One option of the tree: its group, id, text and the style it stands for (a check box adds its style
// when checked, or when unchecked for the one inverted box).
struct TabOption {
    Group group;
    int id;
    const char* text;
    DWORD style;
    bool radio;
    bool inverted;
};

const TabOption kOptions[] = {
    {Group::Orientation, 2000, "Left", TCS_VERTICAL, true, false},
    {Group::Orientation, 2001, "Top", 0, true, false},
    {Group::Orientation, 2002, "Right", TCS_VERTICAL | TCS_RIGHT, true, false},
    {Group::Orientation, 2003, "Bottom", TCS_BOTTOM, true, false},
    {Group::Appearance, 2010, "Tab buttons", 0, true, false},
    {Group::Appearance, 2011, "Push buttons", TCS_BUTTONS, true, false},
    {Group::Appearance, 2012, "Flat buttons", TCS_BUTTONS | TCS_FLATBUTTONS, true, false},
    {Group::Positioning, 2021, "Display only one row of tabs", 0, true, false},
    {Group::Positioning, 2020, "Displays multiple rows of tabs, if necessary", TCS_MULTILINE, true, false},
    {Group::Display, 2040, "Items under the pointer are automatically highlighted", TCS_HOTTRACK, false, false},
    {Group::Display, 2041, "Same width for all buttons", TCS_FIXEDWIDTH, false, false},
    {Group::Display, 2042, "Stretch tabs to fill the entire width of the control", TCS_RAGGEDRIGHT, false, true},
    {Group::Display, 2043, "Unused tabs move to the opposite side of the control", TCS_SCROLLOPPOSITE, false, false},
    {Group::Display, 2044, "Aligns an icon with the left edge of a fixed-width tab", TCS_FORCEICONLEFT, false, false},
    {Group::Display, 2045, "Aligns a label with the left edge of a fixed-width tab", TCS_FORCELABELLEFT, false,
     false}};

// The radio of each group that a style shows: the first whose bits are all set, trying the one with
// more bits first ("Right" over "Left", "Flat" over "Push"); the group's plain choice otherwise.
int RadioForStyle(Group group, DWORD style) {
    switch (group) {
        case Group::Orientation:
            if ((style & (TCS_VERTICAL | TCS_RIGHT)) == (TCS_VERTICAL | TCS_RIGHT))
                return 2002;
            if (style & TCS_VERTICAL)
                return 2000;
            return (style & TCS_BOTTOM) ? 2003 : 2001;
        case Group::Appearance:
            if ((style & (TCS_BUTTONS | TCS_FLATBUTTONS)) == (TCS_BUTTONS | TCS_FLATBUTTONS))
                return 2012;
            return (style & TCS_BUTTONS) ? 2011 : 2010;
        case Group::Positioning:
            return (style & TCS_MULTILINE) ? 2020 : 2021;
        case Group::Display:
            break;
    }
    return 0;
}

void SetBold(CTreeCtrl& tree, HTREEITEM item) {
    TVITEM bold{};
    bold.mask = TVIF_STATE;
    bold.hItem = item;
    bold.state = bold.stateMask = TVIS_BOLD;
    ::SendMessage(tree.m_hWnd, TVM_SETITEM, 0, (LPARAM)&bold);
}
}  // namespace

COXCustomizeTabbedMDIPage::COXCustomizeTabbedMDIPage() {
    OXRegisterCustomizePagesResources();
    m_nDialogID = IDD_OX_PAGE_TABBED_MDI;
}

COXCustomizeTabbedMDIPage::~COXCustomizeTabbedMDIPage() {
    if (m_hWnd && ::IsWindow(m_hWnd))
        DestroyWindow();
    // The wrapper only names the MDI client: it lets go of it, never destroys it.
    if (m_pMDIClientWrapper && m_pMDIClientWrapper->m_hWnd)
        m_pMDIClientWrapper->Detach();
}

CString COXCustomizeTabbedMDIPage::GetPageTitle() { return AfxLoadString(IDS_OX_PAGE_TABBED_MDI_TITLE); }
UINT COXCustomizeTabbedMDIPage::GetImageId() { return IDB_OX_PAGE_TABBED_MDI; }
CString COXCustomizeTabbedMDIPage::GetPageTooltip() { return AfxLoadString(IDS_OX_PAGE_TABBED_MDI_TOOLTIP); }

BOOL COXCustomizeTabbedMDIPage::AttachTabClient(CMDIFrameWnd* frame, DWORD dwStyle, DWORD dwOffset) {
    if (!m_MTIClientWnd.Attach(frame, dwStyle))
        return FALSE;
    m_MTIClientWnd.m_tab.m_dwOffset = dwOffset;
    if (m_MTIClientWnd.m_tab.m_hWnd) {
        ::SetWindowPos(m_MTIClientWnd.m_tab.m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        frame->RecalcLayout();
    }
    return TRUE;
}

void COXCustomizeTabbedMDIPage::ReadFromTabClient() {
    const BOOL attached = m_MTIClientWnd.IsAttached();
    const HWND tab = m_MTIClientWnd.m_tab.m_hWnd;
    m_bSupportTabbedMDI = attached;
    m_dwOffset = attached ? m_MTIClientWnd.m_tab.m_dwOffset : 1;
    m_dwTabCtrlStyle = attached && tab ? (DWORD)::GetWindowLong(tab, GWL_STYLE) : TCS_HOTTRACK;
}

BOOL COXCustomizeTabbedMDIPage::SetupPage(DWORD dwTabCtrlStyle, DWORD dwOffset, LPCTSTR lpszProfileName,
                                          BOOL bAttach) {
    auto* frame = dynamic_cast<CMDIFrameWnd*>(AfxGetMainWnd());
    if (!frame)
        return FALSE;
    if (bAttach && !AttachTabClient(frame, dwTabCtrlStyle, dwOffset))
        return FALSE;
    if (lpszProfileName && *lpszProfileName) {
        m_sProfileName = lpszProfileName;
        m_MTIClientWnd.LoadState(m_sProfileName);
    }
    ReadFromTabClient();
    return TRUE;
}

void COXCustomizeTabbedMDIPage::DoDataExchange(CDataExchange* pDX) {
    COXCustomizePage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_OX_TREE_TAB_SETTINGS, m_treeTabSettings);
    DDX_Control(pDX, IDC_OX_SPIN_OFFSET, m_spinOffset);
    DDX_Check(pDX, IDC_OX_CHECK_SUPPORT_TABBED_MDI, m_bSupportTabbedMDI);
    DDX_Text(pDX, IDC_OX_EDIT_OFFSET, m_dwOffset);
    DDV_MinMaxDWord(pDX, m_dwOffset, 0, kMaxOffset);
}

void COXCustomizeTabbedMDIPage::CheckTreeFromStyle(DWORD dwStyle) {
    for (const TabOption& option : kOptions) {
        int check = option.radio ? option.id == RadioForStyle(option.group, dwStyle)
                                 : ((dwStyle & option.style) != 0) != option.inverted;
        // A radio is set by checking the chosen one: its siblings clear themselves.
        if (!option.radio || check)
            m_treeTabSettings.SetOptionState(option.id, check);
    }
}

void COXCustomizeTabbedMDIPage::FillTree() {
    ReadFromTabClient();
    m_treeTabSettings.DeleteAllOptions();

    // The group pictures join the tree's image list once per tree object.
    struct GroupPicture {
        UINT bitmap;
        int& image;
    } pictures[] = {{IDB_OX_TABBED_MDI_TAB_CONTROL, m_nImageRoot},
                    {IDB_OX_TABBED_MDI_ORIENTATION, m_nImageOrientation},
                    {IDB_OX_TABBED_MDI_APPEARANCE, m_nImageAppearance},
                    {IDB_OX_TABBED_MDI_DISPLAY, m_nImageDisplay},
                    {IDB_OX_TABBED_MDI_POSITIONING, m_nImagePositioning}};
    for (GroupPicture& picture : pictures)
        if (picture.image < 0)
            picture.image = m_treeTabSettings.LoadStateImages(MAKEINTRESOURCE(picture.bitmap), RGB(192, 192, 192));

    auto group = [this](UINT text, HTREEITEM parent, int image) {
        return m_treeTabSettings.InsertOptionItem(AfxLoadString(text), parent, TRUE, image, image);
    };
    HTREEITEM root = group(IDS_OX_TABBED_MDI_ROOT, TVI_ROOT, m_nImageRoot);
    HTREEITEM orientation = group(IDS_OX_TABBED_MDI_ORIENTATION, root, m_nImageOrientation);
    HTREEITEM appearance = group(IDS_OX_TABBED_MDI_APPEARANCE, root, m_nImageAppearance);
    HTREEITEM display = group(IDS_OX_TABBED_MDI_DISPLAY, root, m_nImageDisplay);
    HTREEITEM positioning = group(IDS_OX_TABBED_MDI_POSITIONING, display, m_nImagePositioning);
    for (const TabOption& option : kOptions) {
        HTREEITEM parent = option.group == Group::Orientation  ? orientation
                           : option.group == Group::Appearance ? appearance
                           : option.group == Group::Positioning ? positioning
                                                                : display;
        if (option.radio)
            m_treeTabSettings.AddRadioButton(option.id, option.text, parent);
        else
            m_treeTabSettings.AddCheckBox(option.id, option.text, parent);
    }
    // Bold once they have their items: the tree keeps an item expanded only while it has children.
    for (HTREEITEM item : {root, orientation, appearance, display, positioning})
        SetBold(m_treeTabSettings, item);
    CheckTreeFromStyle(m_dwTabCtrlStyle);
}

DWORD COXCustomizeTabbedMDIPage::GetTabStyleFromTree() const {
    if (!m_treeTabSettings.m_hWnd) {
        const HWND tab = m_MTIClientWnd.IsAttached() ? m_MTIClientWnd.m_tab.m_hWnd : nullptr;
        return (tab ? (DWORD)::GetWindowLong(tab, GWL_STYLE) : m_dwTabCtrlStyle) & kTreeStyleMask;
    }
    DWORD style = 0;
    for (const TabOption& option : kOptions) {
        const bool checked = m_treeTabSettings.GetOptionState(option.id) == 1;
        if (option.radio ? checked : checked != option.inverted)
            style |= option.style;
    }
    return style;
}

void COXCustomizeTabbedMDIPage::InitControls() {
    COXCustomizePage::InitControls();
    m_spinOffset.SetRange(0, (short)kMaxOffset);
    FillTree();

    for (int side : {OX_LMS_LEFT, OX_LMS_RIGHT, OX_LMS_TOP, OX_LMS_BOTTOM})
        m_LayoutManager.ConstrainChild(IDC_OX_TREE_TAB_SETTINGS, side, OX_LMT_SAME);
    for (int id : {IDC_OX_STATIC_OFFSET, IDC_OX_EDIT_OFFSET, IDC_OX_SPIN_OFFSET})
        m_LayoutManager.ConstrainChild(id, OX_LMS_BOTTOM, OX_LMT_SAME);

    m_bInitialized = TRUE;
    UpdateData(FALSE);
    UpdateEnabledStates();
}

void COXCustomizeTabbedMDIPage::UpdateEnabledStates() {
    if (!m_bInitialized)
        return;
    for (int id : {IDC_OX_TREE_TAB_SETTINGS, IDC_OX_EDIT_OFFSET, IDC_OX_SPIN_OFFSET})
        if (HWND control = ::GetDlgItem(m_hWnd, id))
            ::EnableWindow(control, m_bSupportTabbedMDI);
}

void COXCustomizeTabbedMDIPage::OnSupportTabbedMDI() {
    if (!m_bInitialized)
        return;
    UpdateData(TRUE);
    UpdateEnabledStates();
}

BOOL COXCustomizeTabbedMDIPage::TakePainter(COXBackgroundPainterOrganizer* organizer, HWND hWnd,
                                            PainterSettings& painter) {
    COXBackgroundPainter* attached = organizer ? organizer->GetPainter(hWnd) : nullptr;
    if (!attached)
        return FALSE;
    painter.dib = attached->GetWallpaper();
    painter.paintType = attached->GetPaintType();
    painter.clrBk = attached->GetBkColor();
    painter.hOriginWnd = attached->GetOriginWnd();
    organizer->Detach(hWnd);
    return TRUE;
}

void COXCustomizeTabbedMDIPage::WrapMDIClient(HWND hClient) {
    if (m_pMDIClientWrapper && m_pMDIClientWrapper->m_hWnd)
        m_pMDIClientWrapper->Detach();
    m_pMDIClientWrapper = std::make_unique<COXHelperWnd>();
    m_pMDIClientWrapper->Attach(hClient);
}

BOOL COXCustomizeTabbedMDIPage::ApplySettings() {
    if (m_hWnd && ::IsWindow(m_hWnd) && !UpdateData(TRUE))
        return FALSE;
    auto* frame = dynamic_cast<CMDIFrameWnd*>(AfxGetMainWnd());
    if (!frame)
        return FALSE;
    const DWORD style = GetTabStyleFromTree();
    COXBackgroundPainterOrganizer* organizer =
        m_pCustomizeManager ? m_pCustomizeManager->GetBackgroundPainterOrganizer() : nullptr;

    if (m_MTIClientWnd.m_hWnd) {
        const COXTabWorkspace& tab = m_MTIClientWnd.m_tab;
        const DWORD current = tab.m_hWnd ? (DWORD)::GetWindowLong(tab.m_hWnd, GWL_STYLE) & kTreeStyleMask : 0;
        if (m_bSupportTabbedMDI && m_dwOffset == tab.m_dwOffset && style == current)
            return TRUE;
        if (CMDIFrameWnd* parent = m_MTIClientWnd.GetParentFrame()) {
            // The painter hooks the client over the tab client's subclassing: it leaves first, and
            // comes back on the plain client.
            PainterSettings painter;
            const BOOL moved = TakePainter(organizer, m_MTIClientWnd.m_hWnd, painter);
            m_MTIClientWnd.Detach();
            if (moved && ::IsWindow(parent->m_hWndMDIClient)) {
                WrapMDIClient(parent->m_hWndMDIClient);
                organizer->Attach(parent->m_hWndMDIClient, &painter.dib, painter.paintType, painter.clrBk,
                                  painter.hOriginWnd);
            }
        }
        // A new style or offset with the tabs still wanted: they come back with it below, in this call.
        if (!m_bSupportTabbedMDI)
            return TRUE;
    }

    if (!m_MTIClientWnd.m_hWnd && m_bSupportTabbedMDI) {
        const HWND client = frame->m_hWndMDIClient;
        // The painter leaves first, so that it hooks the client over the tab client's subclassing.
        PainterSettings painter;
        const BOOL moved = client && TakePainter(organizer, client, painter);
        // The tab client takes only a client without a window object: the wrapper (or any other) lets go.
        if (CWnd* holder = client ? CWnd::FromHandlePermanent(client) : nullptr) {
            holder->Detach();
            if (holder == m_pMDIClientWrapper.get())
                m_pMDIClientWrapper.reset();
        }
        const BOOL attached = AttachTabClient(frame, style, m_dwOffset);
        if (moved) {
            // Without the tabs the painter goes back to the plain client, wrapped again.
            if (!attached && client)
                WrapMDIClient(client);
            organizer->Attach(client, &painter.dib, painter.paintType, painter.clrBk, painter.hOriginWnd);
        }
        if (!attached)
            return FALSE;
    }
    return TRUE;
}

BOOL COXCustomizeTabbedMDIPage::OnManagerClose(BOOL bIsOk) {
    // Cancel keeps what Apply did.
    if (!bIsOk)
        return TRUE;
    if (!ApplySettings())
        return FALSE;
    if (!m_sProfileName.IsEmpty())
        m_MTIClientWnd.SaveState(m_sProfileName);
    return TRUE;
}
