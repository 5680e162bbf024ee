#include "guilib/frame/OXMenuBar.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <functional>
#include <memory>

#include "guilib/skins/OXBitmapMenu.h"
#include "guilib/skins/OXBlockReader.h"
#include "guilib/skins/OXBitmapMenuOrganizer.h"
#include "guilib/skins/OXToolbarSkin.h"
#include "platform/framework/gdi/DC.h"
#include "platform/base/Archive.h"
#include "platform/base/MemFile.h"
#include "platform/base/Profile.h"
#include "platform/framework/app/WinThread.h"
#include "platform/framework/docview/DocTemplate.h"
#include "platform/framework/docview/Document.h"
#include "platform/framework/frames/MDIChildWnd.h"
#include "platform/framework/frames/MDIFrameWnd.h"

IMPLEMENT_DYNAMIC(COXMenuBar, COXCoolToolBar)

namespace {
constexpr UINT kFirstWindowId = 0xFF00;
constexpr int kMaxNesting = 16;
constexpr int kMaxText = 1024;

// One item of a saved menu, read whole before the menu is touched.
struct SavedMenuItem {
    UINT type = 0;
    bool popup = false;
    UINT id = 0;
    CString text;
    std::vector<SavedMenuItem> items;
};

// A menu record: its count bounded by the bytes left (an item takes at least 13), nesting bounded.
bool ReadMenu(OXBlockReader& in, std::vector<SavedMenuItem>& items, int depth) {
    int32_t count;
    if (depth > kMaxNesting || !in.Int(count) || count < 0 || (UINT)count > in.Left() / 13)
        return false;
    items.resize((size_t)count);
    for (SavedMenuItem& item : items) {
        int32_t type, popup, id;
        if (!in.Int(type) || !in.Int(popup) || !in.Int(id) || !in.String(item.text, kMaxText))
            return false;
        item.type = (UINT)type;
        item.popup = popup != 0;
        item.id = (UINT)id;
        if (item.popup && !ReadMenu(in, item.items, depth + 1))
            return false;
    }
    return true;
}

void WriteMenu(CArchive& ar, HMENU menu) {
    int count = ::GetMenuItemCount(menu);
    ar << (int32_t)count;
    for (int i = 0; i < count; ++i) {
        char buffer[kMaxText + 1] = "";
        MENUITEMINFO info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = buffer;
        info.cch = sizeof buffer;
        ::GetMenuItemInfo(menu, (UINT)i, TRUE, &info);
        ar << (int32_t)info.fType << (int32_t)(info.hSubMenu ? 1 : 0)
           << (int32_t)(info.hSubMenu ? 0xFFFFFFFFu : info.wID) << CString(buffer);
        if (info.hSubMenu)
            WriteMenu(ar, info.hSubMenu);
    }
}
}  // namespace

COXMenuBar::COXMenuBar() {
    SetClicksOutsideButtons(FALSE);
}

COXMenuBar::~COXMenuBar() {
    for (auto it = m_createdPopups.rbegin(); it != m_createdPopups.rend(); ++it)
        ::DestroyMenu(*it);
    if (m_hFont)
        ::DeleteObject(m_hFont);
}

BOOL COXMenuBar::Create(CWnd* parent, DWORD style, UINT id) {
    // The bar needs the drop-down buttons of common controls 4.71.
    if (GetCommonControlsVersion() < 0x40047)
        return FALSE;
    if (!COXCoolToolBar::Create(parent, style, id))
        return FALSE;
    SetDropDownArrow(FALSE);
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
    SetWindowText("Menu");
    m_pParent = parent;
    return TRUE;
}

COXMenuBar* COXMenuBar::FindMenuBar(CWnd* window) {
    HWND start = window ? window->m_hWnd : (AfxGetMainWnd() ? AfxGetMainWnd()->m_hWnd : nullptr);
    if (!start)
        return nullptr;
    if (auto* bar = dynamic_cast<COXMenuBar*>(CWnd::FromHandlePermanent(start)))
        return bar;
    for (HWND child = ::GetWindow(start, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        if (COXMenuBar* bar = FindMenuBar(CWnd::FromHandle(child)))
            return bar;
    return nullptr;
}

CString COXMenuBar::CopyMenuString(int position) const {
    char buffer[kMaxText + 1] = "";
    if (m_hMenu)
        ::GetMenuString(m_hMenu, (UINT)position, buffer, (int)sizeof buffer, MF_BYPOSITION);
    return CString(buffer);
}

int COXMenuBar::FindMnemonic(char letter) const {
    auto it = m_mnemonics.find((char)std::toupper((unsigned char)letter));
    return it == m_mnemonics.end() ? -1 : it->second;
}

bool COXMenuBar::IsCommandItem(int position) const {
    UINT id = ::GetMenuItemID(m_hMenu, position);
    return id != 0xFFFFFFFF && id != 0xFFFF;
}

// ---- The menu

BOOL COXMenuBar::SetFrameMenu(HMENU menu) {
    if (menu == m_hMenu)
        return TRUE;
    SaveCurrentMenu();
    m_hMenu = menu;
    if (!IsCustomizable(TRUE) || !menu || m_templates.count(menu)) {
        InsertMenuItems();
        return TRUE;
    }
    CDocument* doc = nullptr;
    if (auto* main = dynamic_cast<CFrameWnd*>(AfxGetMainWnd())) {
        if (auto* mdi = dynamic_cast<CMDIFrameWnd*>(main)) {
            if (CMDIChildWnd* child = mdi->MDIGetActive())
                doc = child->GetActiveDocument();
        } else {
            doc = main->GetActiveDocument();
        }
    }
    CDocTemplate* tmpl = doc ? doc->GetDocTemplate() : nullptr;
    for (auto& [handle, known] : m_templates) {
        if (known == tmpl) {
            // This document type's menu was loaded with another handle.
            InsertMenuItems();
            return TRUE;
        }
    }
    m_templates[menu] = tmpl;
    LoadMenuState(menu, doc ? doc->GetRuntimeClass()->m_lpszClassName : nullptr);
    InsertMenuItems();
    return TRUE;
}

BOOL COXMenuBar::InsertMenuItems(BOOL relayout) {
    while (SendMessage(TB_DELETEBUTTON, 0))
        ;
    m_mnemonics.clear();
    m_texts.clear();
    UpdateSystemIcon();
    BOOL result = TRUE;
    if (m_hMenu) {
        int count = ::GetMenuItemCount(m_hMenu);
        for (int i = 0; i < count; ++i) {
            CString text = CopyMenuString(i);
            int amp = text.Find('&');
            if (amp >= 0 && amp + 1 < text.GetLength())
                m_mnemonics[(char)std::toupper((unsigned char)text[amp + 1])] = i;
            m_texts.push_back(text);
        }
        std::vector<TBBUTTON> buttons((size_t)count);
        for (int i = 0; i < count; ++i) {
            TBBUTTON& b = buttons[(size_t)i];
            b.iBitmap = -1;
            b.idCommand = i + 1;
            b.fsState = TBSTATE_ENABLED;
            b.fsStyle = BTNS_DROPDOWN | BTNS_AUTOSIZE;
            b.dwData = (DWORD_PTR)i;
            b.iString = (INT_PTR)m_texts[(size_t)i].GetString();
        }
        if (count > 0)
            result = (BOOL)SendMessage(TB_ADDBUTTONS, (WPARAM)count, (LPARAM)buttons.data());
        if (!m_hFont) {
            NONCLIENTMETRICS ncm{};
            ncm.cbSize = sizeof ncm;
            ::SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
            m_hFont = ::CreateFontIndirect(&ncm.lfMenuFont);
            SendMessage(WM_SETFONT, (WPARAM)m_hFont, FALSE);
            SendMessage(TB_AUTOSIZE);
        }
    }
    if (GetCustomizedButton() >= (int)SendMessage(TB_BUTTONCOUNT))
        m_nCustomizedIndex = -1;
    auto* frame = dynamic_cast<CFrameWnd*>(m_pParent);
    if (m_hMenu) {
        if (relayout)
            RedrawToolBar(TRUE, FALSE);
        if (frame)
            frame->ShowControlBar(this, TRUE, FALSE);
        else
            ::ShowWindow(m_hWnd, SW_SHOWNA);
    } else {
        if (frame)
            frame->ShowControlBar(this, FALSE, FALSE);
        else
            ::ShowWindow(m_hWnd, SW_HIDE);
    }
    return result;
}

int COXMenuBar::HitTest(POINT point, int mode) const {
    if (mode == 1) {
        ::ScreenToClient(m_hWnd, &point);
    } else if (mode == 2) {
        RECT window{};
        ::GetWindowRect(m_hWnd, &window);
        POINT origin{0, 0};
        ::ClientToScreen(m_hWnd, &origin);
        point.x -= origin.x - window.left;
        point.y -= origin.y - window.top;
    }
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    if (!PtInRect(&client, point))
        return -1;
    if (PtInRect(&m_rectIcon, point))
        return -5;
    if (PtInRect(&m_rectClose, point))
        return -4;
    if (PtInRect(&m_rectRestore, point))
        return -3;
    if (PtInRect(&m_rectMinimize, point))
        return -2;
    int hit = (int)::SendMessage(m_hWnd, TB_HITTEST, 0, (LPARAM)&point);
    return hit >= 0 ? hit : -1;
}

BOOL COXMenuBar::DeleteButton(int index) {
    int count = (int)SendMessage(TB_BUTTONCOUNT);
    if (index < 0 || index >= count)
        return FALSE;
    for (int i = index + 1; i < count; ++i) {
        TBBUTTONINFO info{};
        info.cbSize = sizeof info;
        info.dwMask = TBIF_BYINDEX | TBIF_COMMAND | TBIF_LPARAM;
        info.idCommand = i;  // the id of the button before it
        info.lParam = (DWORD_PTR)(i - 1);
        SendMessage(TB_SETBUTTONINFO, (WPARAM)i, (LPARAM)&info);
    }
    SendMessage(TB_DELETEBUTTON, (WPARAM)index);
    if (index < (int)m_texts.size())
        m_texts.erase(m_texts.begin() + index);
    ::DeleteMenu(m_hMenu, (UINT)index, MF_BYPOSITION);
    for (auto it = m_mnemonics.begin(); it != m_mnemonics.end();) {
        if (it->second == index) {
            it = m_mnemonics.erase(it);
        } else {
            if (it->second > index)
                --it->second;
            ++it;
        }
    }
    MarkMenuChanged();
    return TRUE;
}

void COXMenuBar::MarkMenuChanged() {
    if (m_hMenu)
        m_changedMenus.insert(m_hMenu);
}

// ---- The maximised child: its icon and its buttons

HWND COXMenuBar::GetMaximizedChild() const {
    auto* mdi = dynamic_cast<CMDIFrameWnd*>(m_pParent);
    if (!mdi || !mdi->m_hWnd || !mdi->m_hWndMDIClient)
        return nullptr;
    BOOL maximized = FALSE;
    HWND child = (HWND)::SendMessage(mdi->m_hWndMDIClient, WM_MDIGETACTIVE, 0, (LPARAM)&maximized);
    return child && maximized ? child : nullptr;
}

namespace {
// The child's small class icon, its class icon, its own small then big icon, else the system's logo.
HICON IconOf(HWND child) {
    if (auto icon = (HICON)::GetClassLongPtr(child, GCLP_HICONSM))
        return icon;
    if (auto icon = (HICON)::GetClassLongPtr(child, GCLP_HICON))
        return icon;
    for (WPARAM kind : {(WPARAM)ICON_SMALL, (WPARAM)ICON_BIG}) {
        DWORD_PTR answer = 0;
        if (::SendMessageTimeout(child, WM_GETICON, kind, 0, SMTO_ABORTIFHUNG, 1000, &answer) && answer)
            return (HICON)answer;
    }
    return ::LoadIcon(nullptr, IDI_WINLOGO);
}
}  // namespace

void COXMenuBar::UpdateSystemIcon() {
    if (!m_hWnd)
        return;
    HWND child = GetMaximizedChild();
    HICON icon = child ? IconOf(child) : nullptr;
    if (icon != m_hChildIcon) {
        m_hChildIcon = icon;
        ::SetRectEmpty(&m_rectIcon);
        // The buttons start after the icon.
        SetIndent(icon ? ::GetSystemMetrics(SM_CXSMICON) + 4 : 0);
        RedrawToolBar(TRUE, TRUE);
    }
    LayoutMDIButtons();
}

void COXMenuBar::LayoutMDIButtons() {
    RECT empty{0, 0, 0, 0};
    m_rectClose = m_rectRestore = m_rectMinimize = m_rectIcon = empty;
    HWND child = m_hChildIcon ? GetMaximizedChild() : nullptr;
    if (!m_hWnd || !child)
        return;
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    bool horizontal = (m_dwStyle & CBRS_ORIENT_HORZ) != 0 || (m_dwStyle & CBRS_FLOATING);
    int across = horizontal ? client.bottom - client.top : client.right - client.left;
    int icon = ::GetSystemMetrics(SM_CXSMICON);
    int offset = (across - icon) / 2;
    m_rectIcon = horizontal ? RECT{2, offset, 2 + icon, offset + icon} : RECT{offset, 2, offset + icon, 2 + icon};
    // Close outermost at the far end, then restore and minimise, 2 pixels apart.
    int size = std::min(18, across - 2);
    if (size <= 0)
        return;
    int cross = (across - size) / 2;
    int end = (horizontal ? client.right : client.bottom) - 2;
    DWORD style = (DWORD)::GetWindowLongPtr(child, GWL_STYLE);
    bool boxes = (style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) != 0;
    RECT* order[] = {&m_rectClose, &m_rectRestore, &m_rectMinimize};
    for (int i = 0; i < (boxes ? 3 : 1); ++i) {
        int far = end - i * (size + 2);
        *order[i] = horizontal ? RECT{far - size, cross, far, cross + size} : RECT{cross, far - size, cross + size, far};
    }
}

void COXMenuBar::DrawMDIButtons(CDC* dc) {
    if (!m_hChildIcon || ::IsRectEmpty(&m_rectIcon))
        return;
    int icon = ::GetSystemMetrics(SM_CXSMICON);
    ::DrawIconEx(dc->m_hDC, m_rectIcon.left, m_rectIcon.top, m_hChildIcon, icon, icon, 0, nullptr, DI_NORMAL);
    GetToolbarSkin()->DrawMDIButtons(dc, this);
}

void COXMenuBar::OnMDIButtonUp(POINT point) {
    int pressed = m_nCapturedMDIButton;
    m_nCapturedMDIButton = m_nPressedMDIButton = -1;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    HWND child = GetMaximizedChild();
    if (!child || HitTest(point) != pressed)
        return;
    WPARAM command = pressed == -4 ? SC_CLOSE : pressed == -3 ? SC_RESTORE : SC_MINIMIZE;
    ::PostMessage(child, WM_SYSCOMMAND, command, 0);
}

// ---- Profile

CString COXMenuBar::SectionOf(LPCTSTR className) const {
    if (!className || !*className)
        return "Main_Menu_Default";
    CString section;
    section.Format("Menu_%s", className);
    return section;
}

void COXMenuBar::SaveCurrentMenu() {
    if (!m_hMenu || !m_changedMenus.count(m_hMenu))
        return;
    CDocTemplate* tmpl = m_templates.count(m_hMenu) ? m_templates[m_hMenu] : nullptr;
    LPCTSTR className = nullptr;
    if (tmpl) {
        POSITION pos = tmpl->GetFirstDocPosition();
        if (CDocument* doc = pos ? tmpl->GetNextDoc(pos) : nullptr)
            className = doc->GetRuntimeClass()->m_lpszClassName;
    }
    SaveMenuState(m_hMenu, className);
    m_changedMenus.erase(m_hMenu);
}

BOOL COXMenuBar::SaveBarState(LPCTSTR, LPCTSTR, BOOL) {
    HMENU current = m_hMenu;
    std::set<HMENU> changed = m_changedMenus;
    for (HMENU menu : changed) {
        m_hMenu = menu;
        SaveCurrentMenu();
    }
    m_hMenu = current;
    return TRUE;
}

BOOL COXMenuBar::SaveMenuState(HMENU menu, LPCTSTR className) {
    CString section = SectionOf(className);
    CMemFile file(1024);
    {
        CArchive ar(&file, CArchive::store, 4096);
        WriteMenu(ar, menu);
        ar.Close();
    }
    UINT length = (UINT)file.GetLength();
    BYTE* data = file.Detach();
    AfxGetProfile().WriteProfileBinary(section, "MenuItems", data, length);
    AfxGetProfile().WriteProfileInt(section, "MenuDataSize", (int)length);
    free(data);
    ::SendMessage(FrameHwnd(), WM_OX_SAVE_RU_SUBMENUS, (WPARAM)menu, (LPARAM)section.GetString());
    return TRUE;
}

BOOL COXMenuBar::LoadMenuState(HMENU menu, LPCTSTR className) {
    if (!IsCustomizable(TRUE))
        return FALSE;
    CString section = SectionOf(className);
    if ((int)AfxGetProfile().GetProfileInt(section, "MenuDataSize", -1) != -1) {
        BYTE* data = nullptr;
        UINT size = 0;
        std::vector<SavedMenuItem> items;
        bool whole = false;
        if (AfxGetProfile().GetProfileBinary(section, "MenuItems", &data, &size) && data) {
            OXBlockReader in(data, size);
            whole = ReadMenu(in, items, 0);
            delete[] data;
        }
        if (whole) {
            while (::GetMenuItemCount(menu) > 0)
                ::DeleteMenu(menu, 0, MF_BYPOSITION);
            bool mdi = dynamic_cast<CMDIFrameWnd*>(AfxGetMainWnd()) != nullptr;
            std::function<void(HMENU, const std::vector<SavedMenuItem>&)> fill;
            fill = [&](HMENU target, const std::vector<SavedMenuItem>& list) {
                for (const SavedMenuItem& item : list) {
                    if (item.popup) {
                        HMENU popup = ::CreatePopupMenu();
                        fill(popup, item.items);
                        ::AppendMenu(target, MF_POPUP | (item.type & ~(UINT)MF_POPUP), (UINT_PTR)popup, item.text);
                        continue;
                    }
                    if (item.id == kFirstWindowId) {
                        // The window list: its separator goes too, and this popup lists the windows.
                        if (mdi) {
                            int last = ::GetMenuItemCount(target) - 1;
                            if (last >= 0 && (::GetMenuState(target, (UINT)last, MF_BYPOSITION) & MF_SEPARATOR))
                                ::DeleteMenu(target, (UINT)last, MF_BYPOSITION);
                            m_hWindowMenu = target;
                        }
                        continue;
                    }
                    if (item.id >= kFirstWindowId && item.id != 0xFFFFFFFF)
                        continue;
                    if (item.type & MFT_SEPARATOR)
                        ::AppendMenu(target, MF_SEPARATOR, 0, nullptr);
                    else
                        ::AppendMenu(target, item.type & ~(UINT)MF_POPUP, item.id, item.text);
                }
            };
            fill(menu, items);
        }
    }
    ::SendMessage(FrameHwnd(), WM_OX_LOAD_RU_SUBMENUS, (WPARAM)menu, (LPARAM)section.GetString());
    return TRUE;
}

// ---- Tracking

void COXMenuBar::SetKeyboardMode(BOOL on, int position) {
    int count = (int)SendMessage(TB_BUTTONCOUNT);
    if (on) {
        if (m_nTrackedIndex >= 0)
            return;
        if (!m_bKeyboardMode) {
            m_hFocusBefore = ::GetFocus();
            ::SetFocus(m_hWnd);
            m_bKeyboardMode = TRUE;
            if (!m_bEscape) {
                ::SendMessage(FrameHwnd(), WM_ENTERMENULOOP, FALSE, 0);
                ::SendMessage(FrameHwnd(), WM_INITMENU, (WPARAM)m_hMenu, 0);
                ::SendMessage(FrameHwnd(), WM_MENUSELECT, MAKEWPARAM(position, MF_POPUP | MF_HILITE),
                              (LPARAM)m_hMenu);
            }
        }
        SendMessage(TB_SETHOTITEM, (WPARAM)(position >= count ? -1 : position));
    } else {
        if (m_bKeyboardMode && m_hFocusBefore && ::IsWindow(m_hFocusBefore))
            ::SetFocus(m_hFocusBefore);
        m_bKeyboardMode = FALSE;
        m_hFocusBefore = nullptr;
        SendMessage(TB_SETHOTITEM, (WPARAM)-1);
    }
}

void COXMenuBar::TrackMenu(int position) {
    if (!m_hMenu)
        return;
    if (m_bCustomizeMode)
        SaveCurrentMenu();
    int count = ::GetMenuItemCount(m_hMenu);
    HWND child = GetMaximizedChild();
    bool systemMenu = position == count && child;
    if (position < 0 || position > count || (position == count && (!child || m_bCustomizeMode)))
        return;
    if (!systemMenu && IsCommandItem(position)) {
        if (m_bKeyboardMode)
            ::SendMessage(AfxGetMainWnd() ? AfxGetMainWnd()->m_hWnd : FrameHwnd(), WM_COMMAND,
                          ::GetMenuItemID(m_hMenu, position), 0);
        EndTracking();
        return;
    }
    BOOL wasKeyboard = m_bKeyboardMode;
    if (m_bKeyboardMode) {
        m_bKeyboardMode = FALSE;
        SendMessage(TB_SETHOTITEM, (WPARAM)-1);
    }
    BOOL popupBefore = m_nTrackedIndex >= 0;
    HMENU popup = systemMenu ? ::GetSystemMenu(child, FALSE) : ::GetSubMenu(m_hMenu, position);
    if (!popup ||
        (!systemMenu && !m_bCustomizeMode &&
         (::GetMenuState(m_hMenu, (UINT)position, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED)))) {
        EndTracking();
        return;
    }
    if (!wasKeyboard) {
        if (!popupBefore) {
            ::SendMessage(FrameHwnd(), WM_ENTERMENULOOP, FALSE, 0);
            ::SendMessage(FrameHwnd(), WM_INITMENU, (WPARAM)m_hMenu, 0);
        }
        ::SendMessage(FrameHwnd(), WM_MENUSELECT, MAKEWPARAM(position, systemMenu ? MF_SYSMENU : MF_POPUP | MF_HILITE),
                      (LPARAM)m_hMenu);
    }
    RECT button = m_rectIcon;
    if (!systemMenu)
        SendMessage(TB_GETITEMRECT, (WPARAM)position, (LPARAM)&button);
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&button), 2);
    m_nTrackedIndex = position;
    m_nReopenIndex = -1;
    if (m_bCustomizeMode) {
        // The customisation owner shows the menu as a window of its own, where items can be dragged.
        RequestMenu(position, popup, button);
        m_nClosingClick = -1;
        EndTracking();
        return;
    }
    if (!systemMenu)
        SendMessage(TB_PRESSBUTTON, (WPARAM)(position + 1), TRUE);

    CWnd* main = AfxGetMainWnd();
    COXBitmapMenuOrganizer* organizer = main ? COXBitmapMenuOrganizer::FindOrganizer(main->m_hWnd) : nullptr;
    if (!systemMenu && organizer && !CMenu::FromHandlePermanent(popup)) {
        // The organizer takes the popup over as a bitmap menu of its own, hiding what is not recently used.
        organizer->OnInitMenuPopup(CMenu::FromHandle(popup), (UINT)position, FALSE);
    }
    auto* bitmapMenu = systemMenu ? nullptr : dynamic_cast<COXBitmapMenu*>(CMenu::FromHandlePermanent(popup));
    std::unique_ptr<COXBitmapMenu> own;
    if (!systemMenu && !bitmapMenu && organizer && !CMenu::FromHandlePermanent(popup)) {
        own = std::make_unique<COXBitmapMenu>();
        own->Attach(popup);
        bitmapMenu = own.get();
    }
    if (bitmapMenu) {
        bitmapMenu->TrackPopupFromToolBar(this, TPM_LEFTALIGN | TPM_LEFTBUTTON, CWnd::FromHandle(FrameHwnd()));
    } else {
        UINT flags = TPM_LEFTALIGN | TPM_LEFTBUTTON;
        POINT at = (m_dwStyle & CBRS_ORIENT_HORZ) ? POINT{button.left, button.bottom} : POINT{button.right, button.top};
        TPMPARAMS params{sizeof(TPMPARAMS), button};
        ::TrackPopupMenuEx(popup, flags | ((m_dwStyle & CBRS_ORIENT_HORZ) ? TPM_VERTICAL : 0), at.x, at.y,
                           FrameHwnd(), &params);
    }
    if (own)
        own->Detach();
    if (m_nReopenIndex >= 0) {
        ::PostMessage(m_hWnd, WM_OX_MENUBAR_OPEN, (WPARAM)m_nReopenIndex, 0);
    } else {
        POINT cursor{};
        ::GetCursorPos(&cursor);
        int hit = HitTest(cursor, 1);
        if (hit == position || (systemMenu && hit == -5))
            m_nClosingClick = position;
    }
    EndTracking();
}

void COXMenuBar::EndTracking() {
    if (m_nTrackedIndex >= 0 && m_nTrackedIndex < (int)SendMessage(TB_BUTTONCOUNT))
        SendMessage(TB_PRESSBUTTON, (WPARAM)(m_nTrackedIndex + 1), FALSE);
    int old = m_nTrackedIndex;
    m_nTrackedIndex = -1;
    if (m_nReopenIndex < 0) {
        if (m_bEscape) {
            SetKeyboardMode(TRUE, old < 0 ? 0 : old);
            m_nClosingClick = -1;
        } else if (old >= 0) {
            ::SendMessage(FrameHwnd(), WM_EXITMENULOOP, FALSE, 0);
        }
    }
    m_bEscape = FALSE;
}

BOOL COXMenuBar::ProcessMenuKey(UINT vk) {
    CWnd* main = AfxGetMainWnd();
    if (main && vk && ::SendMessage(main->m_hWnd, WM_KEYDOWN, vk, 1))
        return TRUE;
    int count = (int)SendMessage(TB_BUTTONCOUNT);
    int hot = (int)SendMessage(TB_GETHOTITEM);
    if (vk == 0) {
        BOOL was = m_bKeyboardMode;
        SetKeyboardMode(!was, hot >= 0 ? hot : 0);
        if (was)
            ::SendMessage(FrameHwnd(), WM_EXITMENULOOP, FALSE, 0);
        return TRUE;
    }
    if (vk == VK_ESCAPE && m_bKeyboardMode) {
        SetKeyboardMode(FALSE);
        ::SendMessage(FrameHwnd(), WM_EXITMENULOOP, FALSE, 0);
        return TRUE;
    }
    if (count == 0)
        return FALSE;
    bool horizontal = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    if (vk == VK_RETURN && m_bKeyboardMode) {
        TrackMenu(hot >= 0 ? hot : count);
        return TRUE;
    }
    if (vk == VK_ESCAPE && m_nTrackedIndex >= 0) {
        m_bEscape = TRUE;
        return FALSE;
    }
    bool prev = horizontal ? vk == VK_LEFT : vk == VK_UP;
    bool next = horizontal ? vk == VK_RIGHT : vk == VK_DOWN;
    if (prev || next) {
        int step = next ? 1 : -1;
        if (m_bKeyboardMode) {
            // With a maximised child its system-icon position lies between the last and the first button.
            int positions = count + (m_hChildIcon ? 1 : 0);
            int from = hot < 0 ? (m_hChildIcon ? count : 0) : hot;
            int to = (from + step + positions) % positions;
            SendMessage(TB_SETHOTITEM, (WPARAM)to);
            if (vk != VK_DOWN)
                ::SendMessage(FrameHwnd(), WM_MENUSELECT, MAKEWPARAM(to, MF_POPUP | MF_HILITE), (LPARAM)m_hMenu);
            return TRUE;
        }
        if (m_nTrackedIndex >= 0 && horizontal) {
            int positions = count + (m_hChildIcon ? 1 : 0);
            int to = (m_nTrackedIndex + step + positions) % positions;
            if (to == m_nTrackedIndex || (to < count && IsCommandItem(to)))
                return TRUE;
            m_nReopenIndex = to;
            ::EndMenu();
            return TRUE;
        }
        return FALSE;
    }
    bool across = horizontal ? (vk == VK_UP || vk == VK_DOWN) : (vk == VK_LEFT || vk == VK_RIGHT);
    if (across && m_bKeyboardMode) {
        TrackMenu(hot >= 0 ? hot : count);
        return TRUE;
    }
    if (m_nTrackedIndex < 0 && !(::GetKeyState(VK_CONTROL) & 0x8000) && vk < 0x80) {
        int position = FindMnemonic((char)vk);
        if (position >= 0) {
            TrackMenu(position);
            return TRUE;
        }
    }
    return FALSE;
}

// ---- Messages

void COXMenuBar::OnUpdateCmdUI(CFrameWnd*, BOOL) {
    if (!m_hMenu)
        return;
    int count = (int)SendMessage(TB_BUTTONCOUNT);
    for (int i = 0; i < count; ++i) {
        bool enabled = !(::GetMenuState(m_hMenu, (UINT)i, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED));
        SendMessage(TB_ENABLEBUTTON, (WPARAM)(i + 1), MAKELPARAM(enabled, 0));
    }
}

SIZE COXMenuBar::CalcLayout(DWORD mode, int length) {
    SIZE size = COXCoolToolBar::CalcLayout(mode, length);
    if (m_bWholeRow && ((mode & (LM_HORZDOCK | LM_VERTDOCK)) || m_bInLayout)) {
        // The bar takes the whole row of its side: the frame's client length, or that of the far dock
        // bar of its orientation (which spans the frame) when the frame has both.
        CFrameWnd* frame = dynamic_cast<CFrameWnd*>(m_pParent);
        if (!frame)
            frame = GetParentFrame();
        if (frame) {
            bool vertical = (mode & LM_VERTDOCK) || (!(mode & LM_HORZDOCK) && !(m_dwStyle & CBRS_ORIENT_HORZ));
            RECT span{};
            ::GetClientRect(frame->m_hWnd, &span);
            CControlBar* nearBar = frame->GetControlBar(vertical ? AFX_IDW_DOCKBAR_LEFT : AFX_IDW_DOCKBAR_TOP);
            CControlBar* farBar = frame->GetControlBar(vertical ? AFX_IDW_DOCKBAR_RIGHT : AFX_IDW_DOCKBAR_BOTTOM);
            RECT farRect{};
            if (nearBar && farBar && ::GetWindowRect(farBar->m_hWnd, &farRect) &&
                (vertical ? farRect.bottom > farRect.top : farRect.right > farRect.left))
                span = farRect;
            if (vertical)
                size.cy = span.bottom - span.top;
            else
                size.cx = span.right - span.left;
        }
    }
    return size;
}

BOOL COXMenuBar::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_NOTIFY) {
        auto* hdr = reinterpret_cast<NMHDR*>(lParam);
        if (hdr->code == TBN_DROPDOWN && hdr->hwndFrom == m_hWnd) {
            int index = reinterpret_cast<NMTOOLBAR*>(hdr)->iItem - 1;
            if (result)
                *result = TBDDRET_DEFAULT;
            if (index == m_nClosingClick) {
                m_nClosingClick = -1;
                return TRUE;
            }
            if (m_hMenu && index >= 0 && index < ::GetMenuItemCount(m_hMenu) && IsCommandItem(index) &&
                !m_bCustomizeMode) {
                UINT id = ::GetMenuItemID(m_hMenu, index);
                if (id != 0) {
                    EndTracking();
                    SendMessage(TB_PRESSBUTTON, (WPARAM)(index + 1), TRUE);
                    ::SendMessage(FrameHwnd(), WM_COMMAND, id, 0);
                    if (::IsWindow(m_hWnd))
                        SendMessage(TB_PRESSBUTTON, (WPARAM)(index + 1), FALSE);
                }
                return TRUE;
            }
            ::PostMessage(m_hWnd, WM_OX_MENUBAR_OPEN, (WPARAM)index, 0);
            return TRUE;
        }
        if (hdr->code == TBN_BEGINDRAG && hdr->hwndFrom == m_hWnd) {
            BeginDragItem(reinterpret_cast<NMTOOLBAR*>(hdr)->iItem - 1);
            if (result)
                *result = 0;
            return TRUE;
        }
    }
    return COXCoolToolBar::OnChildNotify(message, wParam, lParam, result);
}

LRESULT COXMenuBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT customized = 0;
    if (CustomizeMessage(message, wParam, lParam, customized))
        return customized;
    switch (message) {
        case WM_OX_MENUBAR_OPEN: {
            int position = (int)wParam;
            MSG msg;
            while (::PeekMessage(&msg, m_hWnd, WM_OX_MENUBAR_OPEN, WM_OX_MENUBAR_OPEN, PM_REMOVE))
                position = (int)msg.wParam;
            TrackMenu(position);
            return 0;
        }
        case WM_IDLEUPDATECMDUI:
            UpdateSystemIcon();
            break;
        case WM_SIZE: {
            LRESULT r = COXCoolToolBar::WindowProc(message, wParam, lParam);
            LayoutMDIButtons();
            return r;
        }
        case WM_PAINT: {
            LRESULT r = COXCoolToolBar::WindowProc(message, wParam, lParam);
            if (m_hChildIcon) {
                CClientDC dc(this);
                DrawMDIButtons(&dc);
            }
            return r;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            int hit = m_hChildIcon ? HitTest(point) : -1;
            if (hit == -5) {
                if (message == WM_LBUTTONDBLCLK) {
                    if (HWND child = GetMaximizedChild())
                        ::PostMessage(child, WM_SYSCOMMAND, SC_CLOSE, 0);
                } else if (m_nClosingClick == (int)SendMessage(TB_BUTTONCOUNT)) {
                    m_nClosingClick = -1;  // this click closed the system menu
                } else {
                    TrackMenu((int)SendMessage(TB_BUTTONCOUNT));
                }
                return 0;
            }
            if (hit <= -2 && hit >= -4) {
                m_nCapturedMDIButton = m_nPressedMDIButton = hit;
                ::SetCapture(m_hWnd);
                ::InvalidateRect(m_hWnd, nullptr, FALSE);
                return 0;
            }
            break;
        }
        case WM_MOUSEMOVE:
            if (m_nCapturedMDIButton != -1) {
                // Shown pressed while the mouse stays over the button.
                POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
                int shown = HitTest(point) == m_nCapturedMDIButton ? m_nCapturedMDIButton : -1;
                if (shown != m_nPressedMDIButton) {
                    m_nPressedMDIButton = shown;
                    ::InvalidateRect(m_hWnd, nullptr, FALSE);
                }
                return 0;
            }
            break;
        case WM_LBUTTONUP:
            if (m_nCapturedMDIButton != -1) {
                OnMDIButtonUp(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
                return 0;
            }
            break;
        case WM_CAPTURECHANGED:
            if (m_nCapturedMDIButton != -1 && (HWND)lParam != m_hWnd) {
                m_nCapturedMDIButton = m_nPressedMDIButton = -1;
                ::InvalidateRect(m_hWnd, nullptr, FALSE);
            }
            break;
        case WM_KILLFOCUS: {
            LRESULT r = COXCoolToolBar::WindowProc(message, wParam, lParam);
            m_bKeyboardMode = FALSE;
            return r;
        }
        case WM_SETTINGCHANGE:
            if (m_hFont) {
                ::DeleteObject(m_hFont);
                m_hFont = nullptr;
            }
            InsertMenuItems(TRUE);
            break;
        default:
            break;
    }
    return COXCoolToolBar::WindowProc(message, wParam, lParam);
}
