#include "guilib/frame/OXTaskbarIcon.h"

#include <cstring>

#include "platform/framework/app/WinThread.h"
#include "platform/user/Controls.h"
#include "platform/user/Resources.h"

IMPLEMENT_DYNAMIC(COXTaskbarIcon, CWnd)

BEGIN_MESSAGE_MAP(COXTaskbarIcon, CWnd)
ON_MESSAGE(OX_TASKBARICON_CALLBACK, OnTaskbarNotify)
END_MESSAGE_MAP()

namespace {
constexpr const char* kClassName = "OXTaskbarIconWnd";

void RegisterIconClass() {
    WNDCLASS wc{};
    if (GetClassInfo(nullptr, kClassName, &wc))
        return;
    wc.style = CS_CLASSDC | CS_GLOBALCLASS;
    wc.lpfnWndProc = DefWindowProc;
    wc.lpszClassName = kClassName;
    RegisterClass(&wc);
}
}  // namespace

COXTaskbarIcon::~COXTaskbarIcon() {
    Destroy();
}

BOOL COXTaskbarIcon::Create(UINT iconId) {
    m_nIconID = iconId;
    RegisterIconClass();
    return CreateEx(0, kClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr);
}

void COXTaskbarIcon::Destroy() {
    if (!m_hWnd || !::IsWindow(m_hWnd))
        return;
    if (m_bShowing)
        Hide();
    DestroyWindow();
}

void COXTaskbarIcon::SetTooltipText(UINT stringId, BOOL update) {
    SetTooltipText((LPCTSTR)AfxLoadString(stringId), update);
}

void COXTaskbarIcon::SetTooltipText(LPCTSTR text, BOOL update) {
    if (!m_hWnd)
        return;
    SetWindowText(text ? text : "");
    if (m_bShowing && update)
        Update();
}

void COXTaskbarIcon::SetIcon(LPCTSTR resourceName, BOOL update) {
    SetIcon(::LoadIcon(nullptr, resourceName), update);
}

void COXTaskbarIcon::SetIcon(UINT resourceId, BOOL update) {
    SetIcon(::LoadIconResource(resourceId), update);
}

HICON COXTaskbarIcon::SetIcon(HICON icon, BOOL update) {
    HICON previous = m_hIcon;
    m_hIcon = icon;
    if (m_bShowing && update)
        Update();
    return previous;
}

BOOL COXTaskbarIcon::Show() {
    if (m_bShowing)
        return FALSE;
    if (Notify(addIcon))
        m_bShowing = TRUE;
    return m_bShowing;
}

BOOL COXTaskbarIcon::Hide() {
    if (!m_bShowing)
        return FALSE;
    if (!Notify(deleteIcon))
        return FALSE;
    m_bShowing = FALSE;
    return TRUE;
}

BOOL COXTaskbarIcon::Update() {
    return m_bShowing && Notify(modifyIcon);
}

void COXTaskbarIcon::GetTooltipText(CString& text) const {
    text = m_hWnd ? GetWindowTextString(m_hWnd) : CString();
}

int COXTaskbarIcon::GetTooltipText(LPTSTR buffer, int size) const {
    return m_hWnd ? ::GetWindowText(m_hWnd, buffer, size) : 0;
}

BOOL COXTaskbarIcon::Notify(int request) {
    if (!m_hWnd)
        return FALSE;
    NOTIFYICONDATA data{};
    data.cbSize = 508;
    data.hWnd = m_hWnd;
    data.uID = m_nIconID;
    if (request != deleteIcon) {
        data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        data.uCallbackMessage = OX_TASKBARICON_CALLBACK;
        data.hIcon = m_hIcon;
        // The shell keeps at most 127 characters and the terminating zero.
        CString tip = GetWindowTextString(m_hWnd);
        size_t n = std::min((size_t)tip.GetLength(), sizeof data.szTip - 1);
        std::memcpy(data.szTip, (LPCTSTR)tip, n);
        data.szTip[n] = 0;
    }
    DWORD message = request == addIcon ? NIM_ADD : request == modifyIcon ? NIM_MODIFY : NIM_DELETE;
    return Shell_NotifyIcon(message, &data);
}

LRESULT COXTaskbarIcon::OnTaskbarNotify(WPARAM wParam, LPARAM lParam) {
    HWND target = ::GetWindow(m_hWnd, GW_OWNER);
    if (!target)
        target = ::GetParent(m_hWnd);
    if (target)
        ::PostMessage(target, OX_TASKBARICON_CALLBACK, wParam, lParam);
    else
        ::PostMessage(m_hWnd, (UINT)lParam, 0, 0);
    return -1;
}
