// Custom buttons of the cool tool bar: windows hosted in button slots. A registered custom button is a
// command id with a template object and a descriptor; the first bar that hosts it uses the template,
// every further bar a clone. Where the descriptor's flags do not show the window (floating, docked
// horizontally or vertically) a plain button with the descriptor's image stands in its slot.
#include <algorithm>
#include <cstring>
#include <vector>

#include "guilib/skins/OXBlockReader.h"
#include "guilib/skins/OXCoolToolBar.h"
#include "platform/base/Archive.h"
#include "platform/framework/app/WinThread.h"
#include "platform/framework/frames/FrameWnd.h"

namespace {
// The registration: command ids in registration order, and each id's descriptor (with the template).
struct Registration {
    std::vector<UINT> ids;
    std::map<UINT, OXCUSTOMBUTTONDESCRIPTOR> table;
};
Registration& Registered() {
    static Registration registration;
    return registration;
}

// The class a hosted window is created with when the template is given none: double clicks, no
// cursor, brush or icon.
}  // namespace

LPCTSTR COXCoolToolBar::CustomButtonWindowClass() {
    static const char* const kName = "OXCustomButtonHost";
    static bool registered = false;
    if (!registered) {
        WNDCLASS wc{};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = ::DefWindowProc;
        wc.lpszClassName = kName;
        registered = ::RegisterClass(&wc) != 0;
    }
    return kName;
}

namespace {
bool IsComboBox(HWND window) {
    char name[64] = "";
    ::GetClassName(window, name, (int)sizeof name);
    return CString(name).CompareNoCase("ComboBox") == 0;
}

}  // namespace

HWND COXCoolToolBar::CustomButtonWindow(const OXCUSTOMBUTTONDESCRIPTOR& descriptor) {
    CWnd* window = descriptor.m_pCBTemplate ? descriptor.m_pCBTemplate->CBGetWindow() : nullptr;
    return window && ::IsWindow(window->m_hWnd) ? window->m_hWnd : nullptr;
}

int COXCoolToolBar::RegisterCustomButton(UINT id, COXCustomTBButtonTemplate* templateObject,
                                         const OXCUSTOMBUTTONDESCRIPTOR& descriptor) {
    if (!templateObject)
        return -1;
    Registration& r = Registered();
    OXCUSTOMBUTTONDESCRIPTOR entry = descriptor;
    entry.m_pCBTemplate = templateObject;
    entry.m_nID = (int)id;
    r.table[id] = entry;
    int at = FindCustomButton(id);
    if (at >= 0)
        return at;
    r.ids.push_back(id);
    return (int)r.ids.size() - 1;
}

void COXCoolToolBar::UnregisterCustomButtons() {
    Registered().ids.clear();
    Registered().table.clear();
}

int COXCoolToolBar::FindCustomButton(UINT id) {
    const std::vector<UINT>& ids = Registered().ids;
    auto it = std::find(ids.begin(), ids.end(), id);
    return it == ids.end() ? -1 : (int)(it - ids.begin());
}

int COXCoolToolBar::GetRegisteredCustomButtonCount() {
    return (int)Registered().ids.size();
}

const OXCUSTOMBUTTONDESCRIPTOR* COXCoolToolBar::GetRegisteredCustomButton(int registrationIndex) {
    Registration& r = Registered();
    if (registrationIndex < 0 || registrationIndex >= (int)r.ids.size())
        return nullptr;
    return &r.table[r.ids[(size_t)registrationIndex]];
}

const OXCUSTOMBUTTONDESCRIPTOR* COXCoolToolBar::GetCustomButton(int index) const {
    auto it = m_mapCustomButtons.find(index);
    return it == m_mapCustomButtons.end() ? nullptr : &it->second;
}

int COXCoolToolBar::FindCustomButtonSlot(UINT id) const {
    for (const auto& [index, descriptor] : m_mapCustomButtons)
        if (HWND window = CustomButtonWindow(descriptor); window && (UINT)::GetDlgCtrlID(window) == id)
            return index;
    return -1;
}

BOOL COXCoolToolBar::InsertCustomButton(int index, int registrationIndex, DWORD style, const RECT* rect,
                                        LPCTSTR className, LPCTSTR windowName) {
    if (!m_hWnd)
        return FALSE;
    CToolBarCtrl& ctrl = GetToolBarCtrl();
    int count = ctrl.GetButtonCount();
    Registration& r = Registered();
    if (index < 0 || index > count || registrationIndex < 0 || registrationIndex >= (int)r.ids.size())
        return FALSE;
    UINT id = r.ids[(size_t)registrationIndex];
    OXCUSTOMBUTTONDESCRIPTOR& registered = r.table[id];
    COXCustomTBButtonTemplate* templateObject = registered.m_pCBTemplate;
    if (!templateObject)
        return FALSE;
    TBBUTTON placeholder{};
    placeholder.iBitmap = -1;
    placeholder.fsStyle = TBSTYLE_SEP;
    placeholder.iString = -1;
    BOOL suspended = m_bSuspendRedraw;
    m_bSuspendRedraw = TRUE;
    BOOL inserted = ctrl.InsertButton(index, &placeholder);
    m_bSuspendRedraw = suspended;
    if (!inserted)
        return FALSE;
    // The template serves the first bar; a bar after it gets a clone.
    COXCustomTBButtonTemplate* object = nullptr;
    if (CustomButtonWindow(registered)) {
        object = templateObject->CBCreateCopy(this);
    } else {
        RECT at = rect ? *rect : RECT{0, 0, 0, 0};
        if (templateObject->CBCreate(id, this, style, at, className ? className : CustomButtonWindowClass(),
                                     windowName ? windowName : ""))
            object = templateObject;
    }
    OXCUSTOMBUTTONDESCRIPTOR entry = registered;
    entry.m_pCBTemplate = object;
    if (!object || !CustomButtonWindow(entry)) {
        if (object && object != templateObject)
            object->CBDelete();
        m_bSuspendRedraw = TRUE;
        ctrl.DeleteButton(index);
        m_bSuspendRedraw = suspended;
        return FALSE;
    }
    m_mapCustomButtons[index] = entry;
    if (m_bCustomizeMode)
        object->CBSetCustomizeMode(TRUE);
    RedrawToolBar(TRUE, TRUE);
    UpdateCustomButton(index);
    return TRUE;
}

BOOL COXCoolToolBar::ApplyCustomButtonSettings(int registrationIndex, const OXCUSTOMBUTTONDESCRIPTOR& descriptor) {
    Registration& r = Registered();
    if (registrationIndex < 0 || registrationIndex >= (int)r.ids.size())
        return FALSE;
    UINT id = r.ids[(size_t)registrationIndex];
    OXCUSTOMBUTTONDESCRIPTOR& registered = r.table[id];
    if (registered.m_nID == descriptor.m_nID) {
        registered.m_nWidth = descriptor.m_nWidth;
        registered.m_nHeight = descriptor.m_nHeight;
        registered.m_nFlags = descriptor.m_nFlags;
        registered.m_nImageIndex = descriptor.m_nImageIndex;
    }
    auto* frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    if (!frame)
        return TRUE;
    for (POSITION pos = frame->m_listControlBars.GetHeadPosition(); pos;) {
        auto* bar = dynamic_cast<COXCoolToolBar*>(static_cast<CControlBar*>(frame->m_listControlBars.GetNext(pos)));
        if (!bar)
            continue;
        bool changed = false;
        for (auto& [index, entry] : bar->m_mapCustomButtons) {
            if (entry.m_nID != descriptor.m_nID)
                continue;
            entry.m_nWidth = descriptor.m_nWidth;
            entry.m_nHeight = descriptor.m_nHeight;
            entry.m_nFlags = descriptor.m_nFlags;
            entry.m_nImageIndex = descriptor.m_nImageIndex;
            changed = true;
        }
        if (changed)
            bar->RedrawToolBar(TRUE, TRUE);
    }
    return TRUE;
}

void COXCoolToolBar::UpdateCustomButtons(int first, int last) {
    if (!m_hWnd || m_mapCustomButtons.empty())
        return;
    if (last < 0)
        last = GetToolBarCtrl().GetButtonCount() - 1;
    std::vector<int> indexes;
    for (const auto& entry : m_mapCustomButtons)
        if (entry.first >= first && entry.first <= last)
            indexes.push_back(entry.first);
    for (int index : indexes)
        UpdateCustomButton(index);
}

void COXCoolToolBar::UpdateCustomButton(int index) {
    auto it = m_mapCustomButtons.find(index);
    if (!m_hWnd || it == m_mapCustomButtons.end())
        return;
    const OXCUSTOMBUTTONDESCRIPTOR& descriptor = it->second;
    HWND window = CustomButtonWindow(descriptor);
    if (!window)
        return;
    int shownWhere = (m_dwStyle & CBRS_FLOATING)      ? OXCBD_SHOWFLOAT
                     : (m_dwStyle & CBRS_ORIENT_HORZ) ? OXCBD_SHOWHORZ
                                                      : OXCBD_SHOWVERT;
    BOOL shown = (descriptor.m_nFlags & shownWhere) != 0;
    int id = ::GetDlgCtrlID(window);
    TBBUTTON button{};
    if (!GetToolBarCtrl().GetButton(index, &button))
        return;
    TBBUTTONINFO info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_BYINDEX | TBIF_COMMAND | TBIF_STYLE | TBIF_IMAGE;
    info.idCommand = id;
    if (!shown) {
        // Its image stands in the slot.
        if (button.idCommand != id || (button.fsStyle & TBSTYLE_SEP) || button.iBitmap != descriptor.m_nImageIndex ||
            !(button.fsStyle & TBSTYLE_AUTOSIZE)) {
            info.fsStyle = (BYTE)(TBSTYLE_BUTTON | TBSTYLE_AUTOSIZE);
            info.iImage = descriptor.m_nImageIndex;
            ::SendMessage(m_hWnd, TB_SETBUTTONINFO, (WPARAM)index, (LPARAM)&info);
        }
        ::ShowWindow(window, SW_HIDE);
        return;
    }
    if (button.idCommand != id || !(button.fsStyle & TBSTYLE_SEP) || button.iBitmap != descriptor.m_nWidth) {
        info.fsStyle = TBSTYLE_SEP;
        info.iImage = descriptor.m_nWidth;
        ::SendMessage(m_hWnd, TB_SETBUTTONINFO, (WPARAM)index, (LPARAM)&info);
    }
    RECT slot{};
    if (!::SendMessage(m_hWnd, TB_GETITEMRECT, (WPARAM)index, (LPARAM)&slot))
        return;
    RECT place{slot.left + 2, slot.top, slot.right - 2, slot.bottom};
    int slotHeight = slot.bottom - slot.top;
    if (descriptor.m_nHeight > 0 && descriptor.m_nHeight < slotHeight) {
        place.top = slot.top + (slotHeight - descriptor.m_nHeight) / 2;
        place.bottom = place.top + descriptor.m_nHeight;
    }
    if (IsComboBox(window)) {
        RECT first{};
        if (::SendMessage(m_hWnd, TB_GETITEMRECT, 0, (LPARAM)&first))
            ::OffsetRect(&place, 0, (first.bottom - 22) / 2 + 1);
    }
    ::MoveWindow(window, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 ::IsWindowVisible(m_hWnd));
    ::ShowWindow(window, SW_SHOWNA);
}

void COXCoolToolBar::OnCustomButtonInserted(int index) {
    std::map<int, OXCUSTOMBUTTONDESCRIPTOR> moved;
    for (auto& [at, descriptor] : m_mapCustomButtons)
        moved[at >= index ? at + 1 : at] = descriptor;
    m_mapCustomButtons.swap(moved);
}

void COXCoolToolBar::OnCustomButtonDeleted(int index) {
    auto it = m_mapCustomButtons.find(index);
    if (it != m_mapCustomButtons.end()) {
        COXCustomTBButtonTemplate* object = it->second.m_pCBTemplate;
        m_mapCustomButtons.erase(it);
        if (object)
            object->CBDelete();
    }
    std::map<int, OXCUSTOMBUTTONDESCRIPTOR> moved;
    for (auto& [at, descriptor] : m_mapCustomButtons)
        moved[at > index ? at - 1 : at] = descriptor;
    m_mapCustomButtons.swap(moved);
}

void COXCoolToolBar::OnCustomButtonMoved(int from, int to) {
    if (from == to)
        return;
    std::map<int, OXCUSTOMBUTTONDESCRIPTOR> moved;
    int low = std::min(from, to), high = std::max(from, to);
    int step = from < to ? -1 : 1;  // the buttons between shift towards `from`
    for (auto& [at, descriptor] : m_mapCustomButtons) {
        if (at == from)
            moved[to] = descriptor;
        else if (at > low && at < high)
            moved[at + step] = descriptor;
        else if (at == to)
            moved[at + step] = descriptor;
        else
            moved[at] = descriptor;
    }
    m_mapCustomButtons.swap(moved);
    UpdateCustomButtons(low, high);
}
