#include "guilib/skins/OXBitmapMenuOrganizer.h"

#include <algorithm>
#include <cctype>

#include "platform/framework/app/WinThread.h"
#include "platform/framework/bars/ToolBar.h"
#include "platform/user/Resources.h"
#include "platform/user/Shell.h"

namespace {
std::map<HWND, COXBitmapMenuOrganizer*>& Organizers() {
    static std::map<HWND, COXBitmapMenuOrganizer*> map;
    return map;
}

UINT ConvertedId(UINT id) {
    switch (id) {
        case SC_MINIMIZE:
            return ID_OX_SC_MINIMIZE;
        case SC_CLOSE:
            return ID_OX_SC_CLOSE;
        case SC_RESTORE:
            return ID_OX_SC_RESTORE;
        default:
            return id;
    }
}

UINT OriginalId(UINT id) {
    switch (id) {
        case ID_OX_SC_MINIMIZE:
            return SC_MINIMIZE;
        case ID_OX_SC_CLOSE:
            return SC_CLOSE;
        case ID_OX_SC_RESTORE:
            return SC_RESTORE;
        default:
            return id;
    }
}

// The item's whole information and its text.
bool ReadItem(HMENU menu, int position, MENUITEMINFO& info, CString& text) {
    char buffer[1024] = "";
    info = MENUITEMINFO{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_CHECKMARKS | MIIM_FTYPE | MIIM_DATA | MIIM_STRING;
    info.dwTypeData = buffer;
    info.cch = sizeof buffer;
    if (!::GetMenuItemInfo(menu, (UINT)position, TRUE, &info))
        return false;
    text = buffer;
    info.dwTypeData = nullptr;
    info.cch = 0;
    return true;
}

bool IsSeparatorItem(const MENUITEMINFO& info) {
    return (info.fType & MFT_SEPARATOR) != 0;
}
}  // namespace

COXBitmapMenuOrganizer::COXBitmapMenuOrganizer() {
    CreateDefaultImages();
}

COXBitmapMenuOrganizer::~COXBitmapMenuOrganizer() {
    Empty(FALSE);
    delete m_pKeptMenu;
    m_pKeptMenu = nullptr;
    DetachFrameWnd();
    RemoveHooks();
    if (COXBitmapMenu::GetRecentlyUsedQuery() == this)
        COXBitmapMenu::SetRecentlyUsedQuery(nullptr);
    for (auto it = m_createdMenus.rbegin(); it != m_createdMenus.rend(); ++it)
        ::DestroyMenu(*it);
    if (m_hDefaultImages)
        ImageList_Destroy(m_hDefaultImages);
}

// ---- Frame

COXBitmapMenuOrganizer* COXBitmapMenuOrganizer::FindOrganizer(HWND frame) {
    auto it = Organizers().find(frame);
    return it == Organizers().end() ? nullptr : it->second;
}

BOOL COXBitmapMenuOrganizer::AttachFrameWnd(CWnd* frame) {
    if (m_pFrameWnd || !frame || !frame->m_hWnd)
        return FALSE;
    m_pFrameWnd = frame;
    SubclassFrame(frame->m_hWnd);
    COXBitmapMenu::SetRecentlyUsedQuery(this);
    return TRUE;
}

void COXBitmapMenuOrganizer::SubclassFrame(HWND frame) {
    m_hFrameWnd = frame;
    m_pfnOldProc = (WNDPROC)::GetWindowLongPtr(frame, GWLP_WNDPROC);
    ::SetWindowLongPtr(frame, GWLP_WNDPROC, (LONG_PTR)&OrganizerWindowProc);
    Organizers()[frame] = this;
}

void COXBitmapMenuOrganizer::UnsubclassFrame() {
    if (!m_hFrameWnd)
        return;
    if (::IsWindow(m_hFrameWnd) && (WNDPROC)::GetWindowLongPtr(m_hFrameWnd, GWLP_WNDPROC) == &OrganizerWindowProc)
        ::SetWindowLongPtr(m_hFrameWnd, GWLP_WNDPROC, (LONG_PTR)m_pfnOldProc);
    Organizers().erase(m_hFrameWnd);
    m_hFrameWnd = nullptr;
}

CWnd* COXBitmapMenuOrganizer::DetachFrameWnd() {
    CWnd* old = m_pFrameWnd;
    UnsubclassFrame();
    m_pFrameWnd = nullptr;
    Empty(TRUE);
    return old;
}

LRESULT COXBitmapMenuOrganizer::OrganizerWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    COXBitmapMenuOrganizer* organizer = FindOrganizer(hwnd);
    if (!organizer)
        return ::DefWindowProc(hwnd, message, wParam, lParam);
    return organizer->FrameWindowProc(hwnd, message, wParam, lParam);
}

LRESULT COXBitmapMenuOrganizer::FrameWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC previous = m_pfnOldProc;
    if (message == WM_MEASUREITEM)
        return OnMeasureItem((int)wParam, reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
    if (message == WM_NCDESTROY) {
        // The frame goes: it leaves the map and loses the subclass; its menus stay as they are.
        UnsubclassFrame();
        m_pFrameWnd = nullptr;
        return ::CallWindowProc(previous, hwnd, message, wParam, lParam);
    }
    LRESULT result = ::CallWindowProc(previous, hwnd, message, wParam, lParam);
    if (!::IsWindow(hwnd))
        return result;
    switch (message) {
        case WM_MENUCHAR:
            result = OnMenuChar((UINT)std::tolower((unsigned char)LOWORD(wParam)), HIWORD(wParam),
                                CMenu::FromHandle((HMENU)lParam));
            break;
        case WM_INITMENUPOPUP: {
            int keep = m_nPopupDepth;
            while ((int)m_trace.size() > keep) {
                m_popupWindows.erase(m_trace.back().menu);
                m_trace.pop_back();
            }
            ++m_nPopupDepth;
            if (!HIWORD(lParam)) {
                OnInitMenuPopup(CMenu::FromHandle((HMENU)wParam), LOWORD(lParam), FALSE);
                m_trace.push_back(PopupTrace{(HMENU)wParam, POINT{0, 0}});
            }
            break;
        }
        case WM_MENUSELECT: {
            HMENU menu = (HMENU)lParam;
            if (menu && !m_trace.empty() && m_trace.back().menu == menu) {
                HWND popup = ::GetTrackedPopupWindow();
                if (popup) {
                    RECT r{};
                    ::GetWindowRect(popup, &r);
                    m_trace.back().position = POINT{r.left, r.top};
                    m_popupWindows[menu] = popup;
                }
                if (m_bShowOnlyRecentlyUsed) {
                    if (!s_hMouseHook)
                        s_hMouseHook = ::SetWindowsHookEx(WH_MOUSE, &CALLBACK_MouseHook, nullptr, ::GetCurrentThreadId());
                    if (!s_hKeyboardHook)
                        s_hKeyboardHook =
                            ::SetWindowsHookEx(WH_KEYBOARD, &CALLBACK_KeyboardHook, nullptr, ::GetCurrentThreadId());
                }
            }
            break;
        }
        case WM_ENTERMENULOOP:
            if (!wParam)
                m_bMenuLoop = TRUE;
            break;
        case WM_EXITMENULOOP:
            OnExitMenuLoop((BOOL)wParam);
            break;
        case WM_COMMAND:
            if (HIWORD(wParam) == 0 && LOWORD(wParam) == ID_OX_SHOWALLITEMS)
                ExpandMenus();
            else if (HIWORD(wParam) == 0 && LOWORD(wParam) >= 1)
                OnCommandChosen(LOWORD(wParam));
            break;
        case WM_OX_SAVE_RU_SUBMENUS:
        case WM_OX_LOAD_RU_SUBMENUS:
            if (wParam && lParam) {
                CString section;
                section.Format("%s_RecentlyUsedSubmenuItems", reinterpret_cast<LPCTSTR>(lParam));
                if (message == WM_OX_SAVE_RU_SUBMENUS)
                    SaveRUSubmenuState((HMENU)wParam, section);
                else
                    LoadRUSubmenuState((HMENU)wParam, section);
            }
            break;
        default:
            break;
    }
    return result;
}

// ---- Images

void COXBitmapMenuOrganizer::Empty(BOOL restoreText) {
    for (auto& [name, list] : m_imageLists)
        if (list != m_hDefaultImages)
            ImageList_Destroy(list);
    m_imageLists.clear();
    for (auto& [id, info] : m_images)
        delete info;
    m_images.clear();
    while (!m_convertedMenus.empty())
        RestoreMenu(m_convertedMenus.front(), restoreText);
}

BOOL COXBitmapMenuOrganizer::CollectToolbarImages() {
    auto* frame = dynamic_cast<CFrameWnd*>(m_pFrameWnd);
    if (!m_pFrameWnd)
        return FALSE;
    Empty(TRUE);
    if (!frame)
        return TRUE;
    int number = 0;
    POSITION pos = frame->m_listControlBars.GetHeadPosition();
    while (pos) {
        auto* bar = dynamic_cast<CToolBar*>(static_cast<CObject*>(frame->m_listControlBars.GetNext(pos)));
        if (!bar || !bar->m_hWnd)
            continue;
        HIMAGELIST normal = (HIMAGELIST)::SendMessage(bar->m_hWnd, TB_GETIMAGELIST, 0, 0);
        HIMAGELIST hot = (HIMAGELIST)::SendMessage(bar->m_hWnd, TB_GETHOTIMAGELIST, 0, 0);
        if (!normal)
            continue;
        HIMAGELIST list = ImageList_Duplicate(normal);
        if (!list)
            continue;
        int normalCount = ImageList_GetImageCount(normal);
        if (hot) {
            for (int i = 0; i < ImageList_GetImageCount(hot); ++i) {
                if (HICON icon = ImageList_GetIcon(hot, i, ILD_NORMAL)) {
                    ImageList_AddIcon(list, icon);
                    ::DestroyIcon(icon);
                }
            }
        }
        CString name;
        name.Format("%i", ++number);
        m_imageLists[name] = list;
        int count = (int)::SendMessage(bar->m_hWnd, TB_BUTTONCOUNT, 0, 0);
        for (int i = 0; i < count; ++i) {
            TBBUTTON b{};
            if (!::SendMessage(bar->m_hWnd, TB_GETBUTTON, (WPARAM)i, (LPARAM)&b) || (b.fsStyle & TBSTYLE_SEP))
                continue;
            COXImageInfo*& info = m_images[(UINT)b.idCommand];
            if (!info)
                info = new COXImageInfo;
            info->imageList = list;
            info->index = b.iBitmap;
            info->defaultImage = FALSE;
            info->hotIndex = hot ? normalCount + b.iBitmap : -1;
        }
    }
    return TRUE;
}

BOOL COXBitmapMenuOrganizer::CreateDefaultImages(int width, int height, UINT checkBitmap, UINT bulletBitmap) {
    if (width <= 0 || height <= 0) {
        width = ::GetSystemMetrics(SM_CXMENUCHECK);
        height = ::GetSystemMetrics(SM_CYMENUCHECK);
    }
    if (m_hDefaultImages)
        ImageList_Destroy(m_hDefaultImages);
    m_hDefaultImages = ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 2, 0);
    if (!m_hDefaultImages)
        return FALSE;
    for (int i = 0; i < 2; ++i) {
        UINT id = i == 0 ? checkBitmap : bulletBitmap;
        HBITMAP bitmap = id ? ::LoadBitmap((HINSTANCE)1, MAKEINTRESOURCE(id)) : nullptr;
        if (!bitmap) {
            // The platform's menu glyph: a check mark or a bullet, black on white.
            HDC screen = ::GetDC(nullptr);
            bitmap = ::CreateCompatibleBitmap(screen, width, height);
            ::ReleaseDC(nullptr, screen);
            HDC dc = ::CreateCompatibleDC(nullptr);
            HGDIOBJ old = ::SelectObject(dc, bitmap);
            RECT r{0, 0, width, height};
            ::FillRect(dc, &r, (HBRUSH)::GetStockObject(WHITE_BRUSH));
            ::DrawFrameControl(dc, &r, DFC_MENU, i == 0 ? DFCS_MENUCHECK : DFCS_MENUBULLET);
            ::SelectObject(dc, old);
            ::DeleteDC(dc);
        }
        ImageList_AddMasked(m_hDefaultImages, bitmap, RGB(255, 255, 255));
        ::DeleteObject(bitmap);
    }
    return TRUE;
}

COXImageInfo* COXBitmapMenuOrganizer::GetImageInfo(UINT id) const {
    auto it = m_images.find(id);
    return it == m_images.end() ? nullptr : it->second;
}

void COXBitmapMenuOrganizer::SetCustomizeMode(BOOL on, CWnd* owner) {
    m_pCustomizeOwner = owner;
    if (on == m_bCustomizeMode)
        return;
    if (on && m_bShowOnlyRecentlyUsed && !m_bExpanded)
        RestoreAll(TRUE);
    m_bCustomizeMode = on;
}

CMenu* COXBitmapMenuOrganizer::FindMenuOf(HMENU menu, UINT_PTR item) {
    if (!::IsMenu(menu))
        return nullptr;
    int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        HMENU sub = ::GetSubMenu(menu, i);
        UINT id = ::GetMenuItemID(menu, i);
        bool holds = item == (UINT_PTR)-1 || (sub ? (UINT_PTR)sub == item : (UINT_PTR)id == item);
        if (holds) {
            if (CMenu* object = CMenu::FromHandlePermanent(menu))
                return object;
        }
    }
    for (int i = 0; i < count; ++i)
        if (HMENU sub = ::GetSubMenu(menu, i))
            if (CMenu* found = FindMenuOf(sub, item))
                return found;
    return nullptr;
}

HMENU COXBitmapMenuOrganizer::CopyPopupMenu(HMENU submenu) {
    HMENU copy = ::CreatePopupMenu();
    int count = ::GetMenuItemCount(submenu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFO info;
        CString text;
        if (!ReadItem(submenu, i, info, text))
            continue;
        char buffer[1024];
        strncpy(buffer, text, sizeof buffer - 1);
        buffer[sizeof buffer - 1] = 0;
        if (info.hSubMenu) {
            HMENU inner = CopyPopupMenu(info.hSubMenu);
            // The copy is held by its parent item: the created list does not destroy it twice.
            m_createdMenus.pop_back();
            info.hSubMenu = inner;
        }
        info.dwTypeData = buffer;
        ::InsertMenuItem(copy, (UINT)i, TRUE, &info);
    }
    if (m_hiddenPopups.erase(submenu))
        m_hiddenPopups.insert(copy);
    m_createdMenus.push_back(copy);
    return copy;
}

// ---- Conversion

void COXBitmapMenuOrganizer::OnInitMenuPopup(CMenu* popup, UINT, BOOL sysMenu) {
    if (!popup || sysMenu)
        return;
    HMENU handle = popup->m_hMenu;
    auto* menu = dynamic_cast<COXBitmapMenu*>(CMenu::FromHandlePermanent(handle));
    BOOL wrapped = FALSE;
    if (!menu) {
        if (CMenu::FromHandlePermanent(handle))
            return;  // another object owns this menu
        menu = new COXBitmapMenu;
        menu->Attach(handle);
        m_convertedMenus.push_back(menu);
        wrapped = TRUE;
    }
    if (m_pFrameWnd) {
        CBitmapMenuCmdUI state;
        state.m_pMenu = menu;
        int count = menu->GetMenuItemCount();
        state.m_nIndexMax = (UINT)count;
        for (int i = 0; i < (int)state.m_nIndexMax; ++i) {
            state.m_nIndex = (UINT)i;
            state.m_nID = menu->GetMenuItemID(i);
            if (state.m_nID == 0)
                continue;
            state.m_pSubMenu = nullptr;
            if (state.m_nID == (UINT)-1) {
                CMenu* sub = menu->GetSubMenu(i);
                if (!sub || sub->GetMenuItemCount() == 0)
                    continue;
                state.m_nID = sub->GetMenuItemID(0);
                if (state.m_nID == 0 || state.m_nID == (UINT)-1)
                    continue;
                state.m_pSubMenu = sub;
            }
            state.DoUpdate(m_pFrameWnd, state.m_nID < 0xF000);
            int now = menu->GetMenuItemCount();
            if (now < count) {
                // The update removed items: the walk continues at the same place.
                i -= count - now;
                state.m_nIndexMax = (UINT)now;
                count = now;
            }
        }
    }
    ConvertMenu(menu, wrapped);
}

void COXBitmapMenuOrganizer::ConvertMenu(COXBitmapMenu* menu, BOOL hide) {
    HMENU h = menu->m_hMenu;
    bool filter = hide && Filtering();
    std::vector<SavedItem> saved;
    bool suppress = true;  // separators at the top, and after hidden items, are hidden
    bool previousSeparator = false;
    int count = ::GetMenuItemCount(h);
    if (filter)
        menu->RemoveAllItemInfo();
    for (int i = 0; i < count; ++i) {
        MENUITEMINFO info;
        CString text;
        if (!ReadItem(h, i, info, text))
            continue;
        bool separator = IsSeparatorItem(info);
        if (filter && info.wID != ID_OX_SHOWALLITEMS) {
            bool hidden = separator ? suppress
                                    : (info.hSubMenu ? m_hiddenPopups.count(info.hSubMenu) > 0
                                                     : m_hiddenCommands.count(info.wID) > 0);
            if (hidden) {
                SavedItem item{i, info, text};
                if (info.hSubMenu)
                    item.info.hSubMenu = CopyPopupMenu(info.hSubMenu);
                saved.push_back(item);
                if (!separator && previousSeparator)
                    suppress = true;
                previousSeparator = separator;
                continue;
            }
            suppress = separator;
            previousSeparator = separator;
        }
        UINT id = info.hSubMenu ? info.wID : ConvertedId(info.wID);
        UINT key = info.hSubMenu ? (UINT)-1 : id;
        COXImageInfo*& image = m_images[key];
        if (!image)
            image = new COXImageInfo{m_hDefaultImages, 0, TRUE, -1};
        MENUITEMINFO set{};
        set.cbSize = sizeof set;
        set.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA;
        set.fType = info.fType | MFT_OWNERDRAW;
        set.wID = id;
        set.dwItemData = info.dwItemData;
        if (!info.dwItemData || filter) {
            set.dwItemData = (ULONG_PTR)menu->AddItemInfo(image, text);
        } else if (!(info.fType & MFT_OWNERDRAW)) {
            for (COXItemInfo* record : menu->GetItemInfos())
                if ((ULONG_PTR)record == info.dwItemData)
                    record->SetText(text);
        }
        ::SetMenuItemInfo(h, (UINT)i, TRUE, &set);
    }
    if (filter && !saved.empty()) {
        // The hidden items go, last first, and the expand item comes at the end.
        for (auto it = saved.rbegin(); it != saved.rend(); ++it) {
            if (it->info.hSubMenu)
                ::DeleteMenu(h, (UINT)it->position, MF_BYPOSITION);
            else
                ::RemoveMenu(h, (UINT)it->position, MF_BYPOSITION);
        }
        COXImageInfo*& image = m_images[ID_OX_SHOWALLITEMS];
        if (!image)
            image = new COXImageInfo{m_hDefaultImages, 0, TRUE, -1};
        MENUITEMINFO expand{};
        expand.cbSize = sizeof expand;
        expand.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA;
        expand.fType = MFT_OWNERDRAW;
        expand.wID = ID_OX_SHOWALLITEMS;
        expand.dwItemData = (ULONG_PTR)menu->AddItemInfo(image, "");
        ::InsertMenuItem(h, (UINT)::GetMenuItemCount(h), TRUE, &expand);
    }
    if (filter)
        m_savedItems[menu] = saved;

    // Mnemonics of the items as they stand now.
    menu->GetMnemonics().clear();
    for (int i = 0; i < ::GetMenuItemCount(h); ++i) {
        MENUITEMINFO info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_DATA;
        ::GetMenuItemInfo(h, (UINT)i, TRUE, &info);
        for (COXItemInfo* record : menu->GetItemInfos()) {
            if ((ULONG_PTR)record != info.dwItemData)
                continue;
            int amp = record->GetText().Find('&');
            if (amp >= 0 && amp + 1 < record->GetText().GetLength())
                menu->GetMnemonics()[(char)std::tolower((unsigned char)record->GetText()[amp + 1])] = i;
        }
    }
    menu->CalcExtents();
}

void COXBitmapMenuOrganizer::RestoreMenu(COXBitmapMenu* menu, BOOL restoreText) {
    m_convertedMenus.remove(menu);
    HMENU h = menu->m_hMenu;
    bool showedExpand = false;
    if (restoreText && ::IsMenu(h)) {
        int count = ::GetMenuItemCount(h);
        if (count > 0 && ::GetMenuItemID(h, count - 1) == ID_OX_SHOWALLITEMS) {
            ::DeleteMenu(h, (UINT)count - 1, MF_BYPOSITION);
            showedExpand = true;
        }
        count = ::GetMenuItemCount(h);
        for (int i = 0; i < count; ++i) {
            MENUITEMINFO info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_ID | MIIM_SUBMENU;
            if (!::GetMenuItemInfo(h, (UINT)i, TRUE, &info) || !(info.fType & MFT_OWNERDRAW) || !info.dwItemData)
                continue;
            for (COXItemInfo* record : menu->GetItemInfos()) {
                if ((ULONG_PTR)record != info.dwItemData)
                    continue;
                char buffer[1024];
                strncpy(buffer, record->GetText(), sizeof buffer - 1);
                buffer[sizeof buffer - 1] = 0;
                MENUITEMINFO set{};
                set.cbSize = sizeof set;
                set.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_ID | MIIM_STRING;
                set.fType = info.fType & ~(UINT)MFT_OWNERDRAW;
                set.dwItemData = 0;
                set.wID = info.hSubMenu ? info.wID : OriginalId(info.wID);
                set.dwTypeData = buffer;
                ::SetMenuItemInfo(h, (UINT)i, TRUE, &set);
                break;
            }
        }
        auto saved = m_savedItems.find(menu);
        if (saved != m_savedItems.end()) {
            for (SavedItem& item : saved->second) {
                char buffer[1024];
                strncpy(buffer, item.text, sizeof buffer - 1);
                buffer[sizeof buffer - 1] = 0;
                MENUITEMINFO info = item.info;
                info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_CHECKMARKS | MIIM_FTYPE | MIIM_DATA |
                             (IsSeparatorItem(item.info) ? 0 : MIIM_STRING);
                info.dwTypeData = buffer;
                if (info.hSubMenu) {
                    // The copy goes into the menu, which owns it from now on.
                    m_createdMenus.erase(std::remove(m_createdMenus.begin(), m_createdMenus.end(), info.hSubMenu),
                                         m_createdMenus.end());
                }
                ::InsertMenuItem(h, (UINT)item.position, TRUE, &info);
            }
        }
    }
    m_savedItems.erase(menu);
    menu->Detach();
    if (showedExpand) {
        delete m_pKeptMenu;
        m_pKeptMenu = menu;
    } else {
        delete menu;
    }
}

void COXBitmapMenuOrganizer::RestoreAll(BOOL restoreText, HMENU except) {
    std::list<COXBitmapMenu*> menus = m_convertedMenus;
    for (COXBitmapMenu* menu : menus)
        if (!except || menu->m_hMenu != except)
            RestoreMenu(menu, restoreText);
}

LRESULT COXBitmapMenuOrganizer::OnMeasureItem(int controlId, LPMEASUREITEMSTRUCT measure) {
    if (measure->CtlType != ODT_MENU) {
        if (HWND child = ::GetDlgItem(m_hFrameWnd, controlId))
            ::SendMessage(child, WM_MEASUREITEM, (WPARAM)controlId, (LPARAM)measure);
        return 1;
    }
    for (COXBitmapMenu* menu : m_convertedMenus) {
        for (COXItemInfo* record : menu->GetItemInfos()) {
            if ((ULONG_PTR)record == measure->itemData) {
                menu->MeasureItem(measure);
                return 1;
            }
        }
    }
    HMENU root = ::GetMenu(m_hFrameWnd);
    if (!root && ::GetMenuLoopOwner() == m_hFrameWnd)
        root = ::GetMenuLoopMenu();
    if (CMenu* found = FindMenuOf(root, measure->itemID)) {
        found->MeasureItem(measure);
        return 1;
    }
    if (!m_trace.empty())
        if (CMenu* innermost = CMenu::FromHandlePermanent(m_trace.back().menu))
            innermost->MeasureItem(measure);
    return 1;
}

LRESULT COXBitmapMenuOrganizer::OnMenuChar(UINT ch, UINT, CMenu* menu) {
    auto* bitmapMenu = dynamic_cast<COXBitmapMenu*>(menu ? CMenu::FromHandlePermanent(menu->m_hMenu) : nullptr);
    if (!bitmapMenu)
        return 0;
    auto it = bitmapMenu->GetMnemonics().find((char)ch);
    if (it == bitmapMenu->GetMnemonics().end())
        return 0;
    return MAKELRESULT(it->second, MNC_EXECUTE);
}
