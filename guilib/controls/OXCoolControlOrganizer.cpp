#include "guilib/controls/OXCoolControlOrganizer.h"
#include "guilib/controls/OXThreadHooks.h"

#include "guilib/controls/OXCoolButton.h"
#include "guilib/controls/OXCoolComboBox.h"
#include "guilib/controls/OXCoolCtrl.h"
#include "guilib/controls/OXCoolScrollBar.h"
#include "guilib/controls/OXCoolSliderCtrl.h"
#include "guilib/controls/OXCoolSpinButtonCtrl.h"
#include "platform/framework/controls/ComboBox.h"
#include "platform/framework/controls/DateTimeCtrl.h"
#include "platform/framework/controls/Edit.h"
#include "platform/framework/controls/HotKeyCtrl.h"
#include "platform/framework/controls/IPAddressCtrl.h"
#include "platform/framework/controls/ListBox.h"
#include "platform/framework/controls/ListCtrl.h"
#include "platform/framework/controls/MonthCalCtrl.h"
#include "platform/framework/controls/ProgressCtrl.h"
#include "platform/framework/controls/RichEditCtrl.h"
#include "platform/framework/controls/TreeCtrl.h"

namespace {

CMap<DWORD, DWORD, COXCoolControlOrganizer*, COXCoolControlOrganizer*>& OrganizerMap() {
    static CMap<DWORD, DWORD, COXCoolControlOrganizer*, COXCoolControlOrganizer*> map;
    return map;
}
HHOOK g_hFirstCbtHook = nullptr;
HHOOK g_hFirstGetMessageHook = nullptr;

COXCoolControlOrganizer* OrganizerOfWindow(HWND hwnd) {
    COXCoolControlOrganizer* organizer = nullptr;
    if (hwnd && ::IsWindow(hwnd))
        OrganizerMap().Lookup(::GetWindowThreadProcessId(hwnd, nullptr), organizer);
    return organizer;
}

bool Is(LPCTSTR name, const char* what) {
    return CString(name).CompareNoCase(what) == 0;
}

const char* const kConvertible[] = {"Edit",
                                    "Button",
                                    "msctls_updown32",
                                    "msctls_hotkey32",
                                    "ComboBox",
                                    "ScrollBar",
                                    "msctls_progress32",
                                    "msctls_trackbar32",
                                    "SysDateTimePick32",
                                    "SysMonthCal32",
                                    "SysIPAddress32",
                                    "SysListView32",
                                    "SysTreeView32",
                                    "LISTBOX",
                                    "RICHEDIT"};

const UINT kRedraw = RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME;

}  // namespace

COXCoolControlOrganizer::COXCoolControlOrganizer() = default;

COXCoolControlOrganizer::~COXCoolControlOrganizer() {
    if (IsAttached())
        DetachFromThread();
    else
        DetachControl(nullptr);
}

BOOL COXCoolControlOrganizer::CanConvert(HWND hWnd, LPCTSTR lpszClassName) {
    bool listed = false;
    for (const char* name : kConvertible)
        listed = listed || Is(lpszClassName, name);
    if (!listed)
        return FALSE;
    // A combo box's edit belongs to the cool combo box.
    if (Is(lpszClassName, "Edit") && oxcool::IsComboBoxWindow(::GetParent(hWnd)))
        return FALSE;
    return TRUE;
}

CWnd* COXCoolControlOrganizer::CreateCoolControl(HWND hWnd, LPCTSTR lpszClassName) {
    CWnd* control = nullptr;
    if (Is(lpszClassName, "Edit"))
        control = new COXCoolCtrl<CEdit>;
    else if (Is(lpszClassName, "ComboBox"))
        control = new COXCoolComboBox;
    else if (Is(lpszClassName, "Button"))
        control = new COXCoolButton;
    else if (Is(lpszClassName, "ScrollBar"))
        control = new COXCoolScrollBar;
    else if (Is(lpszClassName, "msctls_updown32"))
        control = new COXCoolSpinButtonCtrl;
    else if (Is(lpszClassName, "msctls_trackbar32"))
        control = new COXCoolSliderCtrl;
    else if (Is(lpszClassName, "msctls_hotkey32"))
        control = new COXCoolCtrl<CHotKeyCtrl>;
    else if (Is(lpszClassName, "msctls_progress32"))
        control = new COXCoolCtrl<CProgressCtrl>;
    else if (Is(lpszClassName, "SysDateTimePick32"))
        control = new COXCoolCtrl<CDateTimeCtrl>;
    else if (Is(lpszClassName, "SysMonthCal32"))
        control = new COXCoolCtrl<CMonthCalCtrl>;
    else if (Is(lpszClassName, "SysIPAddress32"))
        control = new COXCoolCtrl<CIPAddressCtrl>;
    else if (Is(lpszClassName, "SysListView32"))
        control = new COXCoolCtrl<CListCtrl>;
    else if (Is(lpszClassName, "SysTreeView32"))
        control = new COXCoolCtrl<CTreeCtrl>;
    else if (Is(lpszClassName, "LISTBOX"))
        control = new COXCoolCtrl<CListBox>;
    else if (Is(lpszClassName, "RICHEDIT"))
        control = new COXCoolCtrl<CRichEditCtrl>;
    else
        control = new COXCoolCtrl<CWnd>;
    if (!control->SubclassWindow(hWnd)) {
        delete control;
        return nullptr;
    }
    return control;
}

BOOL COXCoolControlOrganizer::IsConverted(HWND hWnd) const {
    CWnd* control = nullptr;
    return hWnd && m_arrConvertedWindows.Lookup(hWnd, control);
}

BOOL COXCoolControlOrganizer::IsRejected(HWND hWnd) const {
    int value = 0;
    return hWnd && m_arrRejectedWindows.Lookup(hWnd, value);
}

CWnd* COXCoolControlOrganizer::GetConvertedControl(HWND hWnd) const {
    CWnd* control = nullptr;
    return hWnd && m_arrConvertedWindows.Lookup(hWnd, control) ? control : nullptr;
}

BOOL COXCoolControlOrganizer::ConvertWindow(HWND hWnd) {
    if (!hWnd || IsConverted(hWnd) || IsRejected(hWnd))
        return FALSE;
    if (CWnd::FromHandlePermanent(hWnd)) {
        m_arrRejectedWindows.SetAt(hWnd, 1);
        return FALSE;
    }
    char className[512] = "";
    ::GetClassName(hWnd, className, (int)sizeof(className));
    if (!CanConvert(hWnd, className)) {
        m_arrRejectedWindows.SetAt(hWnd, 1);
        return FALSE;
    }
    CWnd* control = CreateCoolControl(hWnd, className);
    if (!control) {
        m_arrRejectedWindows.SetAt(hWnd, 1);
        return FALSE;
    }
    m_arrConvertedWindows.SetAt(hWnd, control);
    ::RedrawWindow(hWnd, nullptr, nullptr, kRedraw);
    return TRUE;
}

void COXCoolControlOrganizer::ConvertWindowTree(HWND hFirst) {
    for (HWND hwnd = hFirst; hwnd; hwnd = ::GetWindow(hwnd, GW_HWNDNEXT)) {
        if (::GetWindowThreadProcessId(hwnd, nullptr) != m_dwThreadID)
            break;
        if (!IsConverted(hwnd) && !IsRejected(hwnd))
            ConvertWindow(hwnd);
        HWND child = ::GetWindow(hwnd, GW_CHILD);
        if (child && !IsConverted(child) && !IsRejected(child))
            ConvertWindowTree(child);
    }
}

BOOL COXCoolControlOrganizer::AttachToThread(DWORD dwThreadID) {
    COXCoolControlOrganizer* existing = nullptr;
    if (IsAttached() || !dwThreadID || OrganizerMap().Lookup(dwThreadID, existing))
        return FALSE;
    OrganizerMap().SetAt(dwThreadID, this);
    m_dwThreadID = dwThreadID;
    struct Search {
        COXCoolControlOrganizer* organizer;
    } search{this};
    ::EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto* organizer = reinterpret_cast<Search*>(param)->organizer;
            if (::GetWindowThreadProcessId(hwnd, nullptr) != organizer->m_dwThreadID)
                return TRUE;
            organizer->ConvertWindowTree(hwnd);
            return FALSE;
        },
        (LPARAM)&search);
    m_hCbtHook = ::SetWindowsHookEx(WH_CBT, CoolControlCbtHookProc, nullptr, dwThreadID);
    if (!g_hFirstCbtHook)
        g_hFirstCbtHook = m_hCbtHook;
    m_hGetMessageHook = ::SetWindowsHookEx(WH_GETMESSAGE, CoolControlGetMessageHookProc, nullptr, dwThreadID);
    if (!g_hFirstGetMessageHook)
        g_hFirstGetMessageHook = m_hGetMessageHook;
    return TRUE;
}

BOOL COXCoolControlOrganizer::DetachFromThread() {
    if (!IsAttached())
        return FALSE;
    OXRemoveThreadHook(m_hCbtHook, g_hFirstCbtHook);
    OXRemoveThreadHook(m_hGetMessageHook, g_hFirstGetMessageHook);
    m_arrRejectedWindows.RemoveAll();
    OrganizerMap().RemoveKey(m_dwThreadID);
    m_dwThreadID = 0;
    return DetachControl(nullptr);
}

BOOL COXCoolControlOrganizer::DetachControl(HWND hWnd) {
    if (!hWnd) {
        while (!m_arrConvertedWindows.IsEmpty()) {
            POSITION pos = m_arrConvertedWindows.GetStartPosition();
            HWND key = nullptr;
            CWnd* control = nullptr;
            m_arrConvertedWindows.GetNextAssoc(pos, key, control);
            DetachControl(key);
        }
        return TRUE;
    }
    CWnd* control = GetConvertedControl(hWnd);
    if (!control)
        return FALSE;
    if (::IsWindow(hWnd)) {
        control->UnsubclassWindow();
        ::RedrawWindow(hWnd, nullptr, nullptr, kRedraw);
    } else {
        control->Detach();  // nothing is done to a dead window
    }
    m_arrConvertedWindows.RemoveKey(hWnd);
    delete control;
    return TRUE;
}

LRESULT COXCoolControlOrganizer::CoolControlCbtHookProc(int nCode, WPARAM wParam, LPARAM lParam) {
    HWND hwnd = (HWND)wParam;
    COXCoolControlOrganizer* organizer = nCode >= 0 ? OrganizerOfWindow(hwnd) : nullptr;
    if (!organizer)
        return ::CallNextHookEx(g_hFirstCbtHook, nCode, wParam, lParam);
    if (nCode == HCBT_DESTROYWND && organizer->IsConverted(hwnd))
        organizer->DetachControl(hwnd);
    return ::CallNextHookEx(organizer->m_hCbtHook, nCode, wParam, lParam);
}

LRESULT COXCoolControlOrganizer::CoolControlGetMessageHookProc(int nCode, WPARAM wParam, LPARAM lParam) {
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    COXCoolControlOrganizer* organizer = (nCode >= 0 && msg) ? OrganizerOfWindow(msg->hwnd) : nullptr;
    if (!organizer)
        return ::CallNextHookEx(g_hFirstGetMessageHook, nCode, wParam, lParam);
    if (organizer->IsConverted(msg->hwnd)) {
        if (msg->message == WM_DESTROY)
            organizer->DetachControl(msg->hwnd);
    } else {
        organizer->ConvertWindowTree(msg->hwnd);
    }
    return ::CallNextHookEx(organizer->m_hGetMessageHook, nCode, wParam, lParam);
}
