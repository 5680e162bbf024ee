#include "guilib/skins/OXCoolToolBar.h"

#include <algorithm>

#include "guilib/skins/OXSkinnedApp.h"
#include "guilib/skins/OXToolbarSkin.h"
#include "platform/framework/app/WinThread.h"
#include "platform/framework/bars/RectTracker.h"
#include "platform/framework/frames/MDIChildWnd.h"
#include "platform/gdi/CharWidth.h"
#include "platform/user/Menu.h"
#include "platform/user/Controls.h"
#include "platform/user/Modules.h"
#include "platform/user/Resources.h"

IMPLEMENT_DYNCREATE(COXCoolToolBar, CMFCToolBar)

BEGIN_MESSAGE_MAP(COXCoolToolBar, CMFCToolBar)
END_MESSAGE_MAP()

DWORD COXCoolToolBar::s_dwComCtlVersion = 0;
BOOL COXCoolToolBar::s_bTableSaved = FALSE;
BOOL COXCoolToolBar::s_bTableLoaded = FALSE;

namespace {
DWORD ReadCommonControlsVersion() {
    DWORD version = 0x40000;
    if (HMODULE module = LoadLibrary("comctl32.dll")) {
        if (auto get = reinterpret_cast<DLLGETVERSIONPROC>(GetProcAddress(module, "DllGetVersion"))) {
            DLLVERSIONINFO info{};
            info.cbSize = sizeof info;
            if (get(&info) == S_OK)
                version = (DWORD)MAKELONG(info.dwMinorVersion, info.dwMajorVersion);
        }
        FreeLibrary(module);
    }
    return version;
}

CString LoadCommandString(UINT id) {
    char buffer[1024];
    int n = ::LoadString((HINSTANCE)1, id, buffer, (int)sizeof buffer);
    return n > 0 ? CString(buffer, n) : CString();
}
}  // namespace

COXCoolToolBar::COXCoolToolBar() {
    OSVERSIONINFO os{};
    os.dwOSVersionInfoSize = sizeof os;
    m_bNT = GetVersionEx(&os) && os.dwPlatformId == VER_PLATFORM_WIN32_NT && os.dwMajorVersion >= 4;
    if (s_dwComCtlVersion == 0)
        s_dwComCtlVersion = ReadCommonControlsVersion();
    std::fill(std::begin(m_colors), std::end(m_colors), (COLORREF)CLR_DEFAULT);
    MeasureDropDownArrow();
}

COXCoolToolBar::~COXCoolToolBar() {
    ReleaseCustomButtons();
}

void COXCoolToolBar::ReleaseCustomButtons() {
    // The hosted windows' objects are let go with the bar's window.
    std::map<int, OXCUSTOMBUTTONDESCRIPTOR> entries;
    entries.swap(m_mapCustomButtons);
    for (auto& entry : entries)
        if (entry.second.m_pCBTemplate)
            entry.second.m_pCBTemplate->CBDelete();
}

void COXCoolToolBar::MeasureDropDownArrow() {
    HFONT font = ::CreateFont(::GetSystemMetrics(SM_CYMENUCHECK), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                              SYMBOL_CHARSET, 0, 0, 0, 0, "Marlett");
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, font);
    int width = 0;
    if (!::GetCharWidth(dc, '6', '6', &width))
        width = 0;
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    ::DeleteObject(font);
    m_nDropDownArrowWidth = width;
}

BOOL COXCoolToolBar::Create(CWnd* parent, DWORD style, UINT id) {
    if (OldControls()) {
        if (!CToolBar::Create(parent, style, id))
            return FALSE;
        ModifyStyle(0, TBSTYLE_FLAT);
    } else {
        if (!CToolBar::Create(parent, style | WS_CLIPCHILDREN, id))
            return FALSE;
        ModifyStyle(0, TBSTYLE_FLAT | TBSTYLE_TRANSPARENT);
        SetBorders(0, 0, 0, 0);
        SetDropDownArrow(TRUE);
        if (parent->IsKindOf(RUNTIME_CLASS(CMDIChildWnd)))
            ModifyStyle(TBSTYLE_TRANSPARENT, 0);
    }
    // An empty string list, so that buttons can be given texts later.
    static const char kEmptyList[2] = {0, 0};
    SendMessage(TB_ADDSTRING, 0, (LPARAM)kEmptyList);
    m_dropTarget.Register(this);
    return TRUE;
}

void COXCoolToolBar::EnableDocking(DWORD dockStyle, BOOL flag) {
    CControlBar::EnableDocking(dockStyle);
    m_bDockingFlag = flag;
}

BOOL COXCoolToolBar::IsCustomizable(BOOL advanced) const {
    if (advanced)
        return m_bAdvancedCustomizable;
    return m_hWnd && (::SendMessage(m_hWnd, TB_GETSTYLE, 0, 0) & CCS_ADJUSTABLE) != 0;
}

BOOL COXCoolToolBar::IsDropDownArrow() const {
    if (OldControls())
        return m_bDropDownArrow;
    return m_hWnd && (::SendMessage(m_hWnd, TB_GETEXTENDEDSTYLE, 0, 0) & TBSTYLE_EX_DRAWDDARROWS) != 0;
}

void COXCoolToolBar::SetDropDownArrow(BOOL on) {
    if (!OldControls() && m_hWnd) {
        DWORD ex = (DWORD)SendMessage(TB_GETEXTENDEDSTYLE);
        ex = on ? (ex | TBSTYLE_EX_DRAWDDARROWS) : (ex & ~(DWORD)TBSTYLE_EX_DRAWDDARROWS);
        SendMessage(TB_SETEXTENDEDSTYLE, 0, (LPARAM)ex);
    }
    m_bDropDownArrow = on;
}

void COXCoolToolBar::SetTextType(int firstId, int lastId, int type) {
    m_nTextType = std::clamp(type, 0, (int)OXTT_EMPTY);
    if (m_nTextType == OXTT_NOTEXT || !m_hWnd)
        return;
    HMENU menu = nullptr;
    if (m_nTextType == OXTT_MENUTEXT) {
        if (CWnd* main = AfxGetMainWnd())
            menu = ::GetMenu(main->m_hWnd);
    }
    int count = (int)SendMessage(TB_BUTTONCOUNT);
    for (int i = 0; i < count; ++i) {
        TBBUTTON b{};
        if (!GetToolBarCtrl().GetButton(i, &b) || (b.fsStyle & TBSTYLE_SEP))
            continue;
        if (b.idCommand < firstId || b.idCommand > lastId)
            continue;
        UINT id = (UINT)b.idCommand;
        switch (m_nTextType) {
            case OXTT_DESCRIPTION: {
                CString s = LoadCommandString(id);
                if (s.IsEmpty())
                    break;
                int nl = s.Find('\n');
                SetButtonText(i, nl < 0 ? s : s.Left(nl));
                break;
            }
            case OXTT_TOOLTIP: {
                CString s = LoadCommandString(id);
                if (s.IsEmpty())
                    break;
                int nl = s.Find('\n');
                SetButtonText(i, nl < 0 ? s : s.Mid(nl + 1));
                break;
            }
            case OXTT_MENUTEXT: {
                if (!menu)
                    break;
                char buffer[512] = "";
                if (::GetMenuString(menu, id, buffer, (int)sizeof buffer, MF_BYCOMMAND) <= 0)
                    break;
                CString s(buffer);
                int tab = s.Find('\t');
                if (tab < 0)
                    break;
                SetButtonText(i, s.Left(tab));
                break;
            }
            default:
                SetButtonText(i, "");
                break;
        }
    }
}

BOOL COXCoolToolBar::SetButtonsMinMaxWidth(int minWidth, int maxWidth) {
    if (!m_hWnd || !SendMessage(TB_SETBUTTONWIDTH, 0, MAKELPARAM(minWidth, maxWidth)))
        return FALSE;
    m_nMinButtonWidth = minWidth;
    m_nMaxButtonWidth = maxWidth;
    return TRUE;
}

BOOL COXCoolToolBar::SetIndent(int indent) {
    if (!m_hWnd || !SendMessage(TB_SETINDENT, (WPARAM)indent))
        return FALSE;
    m_nIndent = indent;
    return TRUE;
}

COXToolbarSkin* COXCoolToolBar::GetToolbarSkin() {
    return OXLookupSkin<COXToolbarSkin, COXToolbarSkinClassic>(&COXSkin::GetToolbarSkin, m_pOwnSkin);
}

void COXCoolToolBar::SetClientOffset(POINT screen) {
    RECT window{};
    ::GetWindowRect(m_hWnd, &window);
    m_ptClientOffset = POINT{screen.x - window.left, screen.y - window.top};
}

void COXCoolToolBar::SetCustomColor(OXToolbarState state, OXToolbarColorPart part, COLORREF color) {
    m_colors[(int)part * 4 + (int)state] = color;
}

COLORREF COXCoolToolBar::GetCustomColor(OXToolbarState state, OXToolbarColorPart part) const {
    return m_colors[(int)part * 4 + (int)state];
}

HWND COXCoolToolBar::GetBandReferenceWindow() const {
    CFrameWnd* frame = GetParentFrame();
    return frame ? frame->m_hWnd : ::GetParent(m_hWnd);
}

CString COXCoolToolBar::GetStoredButtonText(UINT id) const {
    CString text;
    m_mapHiddenText.Lookup(id, text);
    return text;
}

void COXCoolToolBar::RedrawToolBar(BOOL recalcLayout, BOOL redrawFrame) {
    if (m_bSuspendRedraw || !m_hWnd)
        return;
    UpdateCustomButtons(0, -1);
    if (recalcLayout) {
        if (CFrameWnd* frame = GetParentFrame()) {
            m_bInRelayout = TRUE;
            frame->RecalcLayout();
            m_bInRelayout = FALSE;
        }
    }
    if (redrawFrame)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    Invalidate();
}

void COXCoolToolBar::RedrawButton(int index) {
    RECT r{};
    if (m_hWnd && GetToolBarCtrl().GetItemRect(index, &r))
        ::InvalidateRect(m_hWnd, &r, TRUE);
    if (const OXCUSTOMBUTTONDESCRIPTOR* entry = GetCustomButton(index))
        if (HWND window = CustomButtonWindow(*entry))
            ::InvalidateRect(window, nullptr, TRUE);
}

BOOL COXCoolToolBar::DeleteButton(int index) {
    return GetToolBarCtrl().DeleteButton(index);
}

void COXCoolToolBar::OnFloatingStateChanged(BOOL) {}
void COXCoolToolBar::OnDockingSideChanged(DWORD) {}

// ---- Command update

void COXCoolToolBarCmdUI::Apply(BYTE state, BYTE next) {
    if (next == state)
        return;
    auto* bar = static_cast<COXCoolToolBar*>(m_pOther);
    TBBUTTONINFO info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_STATE | TBIF_BYINDEX;
    info.fsState = next;
    ::SendMessage(bar->m_hWnd, TB_SETBUTTONINFO, (WPARAM)m_nIndex, (LPARAM)&info);
}

void COXCoolToolBarCmdUI::Enable(BOOL on) {
    m_bEnableChanged = TRUE;
    auto* bar = static_cast<COXCoolToolBar*>(m_pOther);
    TBBUTTON b{};
    if (!bar->GetToolBarCtrl().GetButton((int)m_nIndex, &b))
        return;
    BYTE next = on ? (BYTE)(b.fsState | TBSTATE_ENABLED) : (BYTE)(b.fsState & ~TBSTATE_ENABLED);
    Apply(b.fsState, next);
}

void COXCoolToolBarCmdUI::SetCheck(int check) {
    auto* bar = static_cast<COXCoolToolBar*>(m_pOther);
    TBBUTTON b{};
    if (!bar->GetToolBarCtrl().GetButton((int)m_nIndex, &b))
        return;
    BYTE next = (BYTE)(b.fsState & ~(TBSTATE_CHECKED | TBSTATE_INDETERMINATE));
    if (check == 1)
        next |= TBSTATE_CHECKED;
    else if (check == 2)
        next |= TBSTATE_INDETERMINATE;
    Apply(b.fsState, next);
}

void COXCoolToolBar::OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) {
    COXCoolToolBarCmdUI state;
    state.m_pOther = this;
    int count = (int)SendMessage(TB_BUTTONCOUNT);
    state.m_nIndexMax = (UINT)count;
    for (int i = 0; i < count; ++i) {
        TBBUTTON b{};
        if (!GetToolBarCtrl().GetButton(i, &b) || (b.fsStyle & TBSTYLE_SEP))
            continue;
        state.m_nIndex = (UINT)i;
        state.m_nID = (UINT)b.idCommand;
        state.m_bEnableChanged = FALSE;
        state.m_bContinueRouting = FALSE;
        if (CWnd::OnCmdMsg(state.m_nID, (int)CN_UPDATE_COMMAND_UI, &state, nullptr))
            continue;
        state.DoUpdate(target, disableIfNoHandler);
    }
    UpdateDialogControls(target, disableIfNoHandler);
}

// ---- Painting

void COXCoolToolBar::DrawBorders(CDC* dc, RECT& rect) {
    if (m_dwStyle & CBRS_BORDER_ANY)
        CControlBar::DrawBorders(dc->m_hDC, rect);
}

void COXCoolToolBar::DrawGripper(CDC* dc, RECT& rect) {
    GetToolbarSkin()->DrawGripper(dc, rect, this);
}

void COXCoolToolBar::DrawSeparator(CDC* dc, RECT& rect) {
    GetToolbarSkin()->DrawSeparator(dc, rect, this);
}

void COXCoolToolBar::DrawCustomizedButton(CDC* dc, RECT& rect) {
    GetToolbarSkin()->DrawCustomizedButton(dc, rect, this);
}

void COXCoolToolBar::DrawIcon(CDC* dc, RECT& rect) {
    if (!m_hIcon)
        return;
    int cx = ::GetSystemMetrics(SM_CXSMICON), cy = ::GetSystemMetrics(SM_CYSMICON);
    BOOL floating = (m_dwStyle & CBRS_FLOATING) != 0;
    if (!(m_dwStyle & CBRS_ORIENT_HORZ)) {
        int top = (rect.top != 0 || floating) ? rect.top + 3 : rect.top + 10;
        int left = rect.left + (rect.right - rect.left - cx) / 2;
        m_rectIcon = RECT{left, top, left + cx, top + cy};
        rect.top = m_rectIcon.bottom + 1;
    } else {
        int left, top;
        if (rect.left != 0 || floating) {
            left = rect.left + 3;
            top = 3;
        } else {
            left = rect.left + 10;
            top = rect.top + (rect.bottom - rect.top - cy) / 2;
        }
        m_rectIcon = RECT{left, top, left + cx, top + cy};
        rect.left = m_rectIcon.right + 1;
    }
    ::DrawIcon(dc->m_hDC, m_rectIcon.left, m_rectIcon.top, m_hIcon);
}

void COXCoolToolBar::OnNcPaint() {
    CDC dc;
    dc.Attach(::GetWindowDC(m_hWnd));
    RECT window{}, client{};
    OXGetWindowRects(m_hWnd, window, client);
    dc.ExcludeClipRect(&client);
    GetToolbarSkin()->DrawNonClientArea(&dc, window, this);
    RECT rest = window;
    if (m_bCool)
        Default();
    else if (IsFlat() && (m_dwStyle & CBRS_GRIPPER))
        DrawGripper(&dc, rest);
    if (m_hIcon)
        DrawIcon(&dc, rest);
    DrawNonClientExtras(&dc, window);
    ::ReleaseDC(m_hWnd, dc.Detach());
}

void COXCoolToolBar::EraseNonClient() {
    CDC dc;
    dc.Attach(::GetWindowDC(m_hWnd));
    RECT window{}, client{};
    OXGetWindowRects(m_hWnd, window, client);
    if (!m_bCool) {
        DrawBorders(&dc, window);
        if (!(m_dwStyle & CBRS_BORDER_3D))
            InflateRect(&window, 1, 1);
    }
    dc.IntersectClipRect(&window);
    dc.ExcludeClipRect(&client);
    SendMessage(WM_ERASEBKGND, (WPARAM)dc.m_hDC);
    ::ReleaseDC(m_hWnd, dc.Detach());
}

// ---- Messages

void COXCoolToolBar::OnWindowPosChanged() {
    int floating = (m_dwStyle & CBRS_FLOATING) ? 1 : 0;
    int side = (int)(m_dwStyle & CBRS_ALIGN_ANY);
    if (floating != m_nLastFloating) {
        m_nLastFloating = floating;
        OnFloatingStateChanged(floating);
    } else if (side != m_nLastDockSide) {
        m_nLastDockSide = side;
        OnDockingSideChanged((DWORD)side);
    }
    m_nPendingUpdate |= 2;
    SendMessage(WM_NCPAINT, 1);
}

void COXCoolToolBar::OnLButtonDown(UINT flags, POINT point) {
    if (!m_bClicksOutsideButtons) {
        POINT p = point;
        if (GetToolBarCtrl().HitTest(&p) < 0)
            return;
    }
    CWnd* main = AfxGetMainWnd();
    if (!main || !::SendMessage(main->m_hWnd, OXWM_CANMOVEBAR, 0, 0)) {
        CMFCToolBar::WindowProc(WM_LBUTTONDOWN, flags, MAKELPARAM(point.x, point.y));
        return;
    }
    if (m_pDockBar && OnToolHitTest(point, nullptr) == -1) {
        POINT screen = point;
        ::ClientToScreen(m_hWnd, &screen);
        BeginMove(screen);
        return;
    }
    Default();
}

void COXCoolToolBar::BeginMove(POINT screen) {
    SetClientOffset(screen);
    m_bMoving = TRUE;
    ::SetCapture(m_hWnd);
    ::SetCursor(::LoadCursor(nullptr, IDC_SIZEALL));
}

void COXCoolToolBar::OnMouseMove(UINT flags, POINT point) {
    CFrameWnd* frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    if (!(flags & MK_LBUTTON) || !frame) {
        ::ReleaseCapture();
        m_bMoving = FALSE;
        return;
    }
    POINT screen = point;
    ::ClientToScreen(m_hWnd, &screen);
    // Without the library's dock bars the bar floats where the cursor takes it.
    POINT at{screen.x - m_ptClientOffset.x, screen.y - m_ptClientOffset.y};
    frame->FloatControlBar(this, at, CBRS_ALIGN_TOP);
}

LRESULT COXCoolToolBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT customized = 0;
    if (CustomizeWindowProc(message, wParam, lParam, customized))
        return customized;
    switch (message) {
        case WM_NCPAINT:
            if (m_hWnd)
                OnNcPaint();
            return 0;
        case WM_ERASEBKGND:
            if (GetToolbarSkin()->IsDefaultEraseBkgnd())
                break;
            return 0;
        case WM_WINDOWPOSCHANGED: {
            LRESULT r = CMFCToolBar::WindowProc(message, wParam, lParam);
            OnWindowPosChanged();
            return r;
        }
        case WM_SETTINGCHANGE:
            MeasureDropDownArrow();
            RedrawToolBar(TRUE, FALSE);
            break;
        case WM_IDLEUPDATECMDUI:
            if (::IsWindowVisible(m_hWnd)) {
                if (m_nPendingUpdate & 1)
                    RedrawToolBar(TRUE, TRUE);
                if (m_nPendingUpdate & 2)
                    UpdateCustomButtons(0, -1);
                m_nPendingUpdate = 0;
            }
            break;
        case WM_LBUTTONDOWN:
            OnLButtonDown((UINT)wParam, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        case WM_MOUSEMOVE:
            if (m_bMoving) {
                OnMouseMove((UINT)wParam, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
                return 0;
            }
            break;
        case WM_LBUTTONUP:
            if (m_bMoving) {
                ::ReleaseCapture();
                m_bMoving = FALSE;
                return 0;
            } else {
                HWND self = m_hWnd;
                LRESULT r = CMFCToolBar::WindowProc(message, wParam, lParam);
                if (::IsWindow(self))
                    ::SendMessage(self, WM_IDLEUPDATECMDUI, TRUE, 0);
                return r;
            }
        case WM_LBUTTONDBLCLK:
            if (!m_bClicksOutsideButtons) {
                POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
                if (GetToolBarCtrl().HitTest(&p) < 0)
                    return 0;
            }
            break;
        case WM_CAPTURECHANGED:
            m_bMoving = FALSE;
            break;
        case WM_DESTROY:
            ReleaseCustomButtons();
            break;
        default:
            break;
    }
    return CMFCToolBar::WindowProc(message, wParam, lParam);
}

BOOL COXCoolToolBar::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_NOTIFY) {
        auto* hdr = reinterpret_cast<NMHDR*>(lParam);
        LRESULT dummy = 0;
        LRESULT& r = result ? *result : dummy;
        switch (hdr->code) {
            case NM_CUSTOMDRAW:
                GetToolbarSkin()->OnCustomDraw(hdr, &r, this);
                return TRUE;
            case TBN_DROPDOWN:
                m_nDroppedCommand = m_nLastDroppedCommand = reinterpret_cast<NMTOOLBAR*>(hdr)->iItem;
                r = TBDDRET_DEFAULT;
                return TRUE;
            case TBN_TOOLBARCHANGE:
                SetTextType(0, 65535, m_nTextType);
                return TRUE;
            case TBN_QUERYINSERT:
            case TBN_QUERYDELETE:
                r = TRUE;
                return TRUE;
            case TBN_BEGINDRAG:
                r = OnBeginDragButton(reinterpret_cast<NMTOOLBAR*>(hdr));
                return TRUE;
            case TBN_ENDDRAG:
                r = FALSE;
                return TRUE;
            case TBN_GETBUTTONINFO:
                r = OnGetButtonInfo(reinterpret_cast<NMTOOLBAR*>(hdr));
                return TRUE;
            default:
                break;
        }
    }
    return CMFCToolBar::OnChildNotify(message, wParam, lParam, result);
}
