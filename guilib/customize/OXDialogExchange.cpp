#include "guilib/customize/OXDialogExchange.h"

#include <cerrno>
#include <cstdlib>
#include <string>

#include "platform/user/ComboBox.h"
#include "platform/user/ListBox.h"

namespace {

HWND DialogOf(CDataExchange* dx) { return dx->m_pDlgWnd ? dx->m_pDlgWnd->GetSafeHwnd() : nullptr; }

CString ControlText(HWND control) {
    int length = control ? ::GetWindowTextLength(control) : 0;
    std::string text((size_t)length + 1, '\0');
    if (control)
        ::GetWindowText(control, text.data(), length + 1);
    return CString(text.c_str());
}

}  // namespace

void OXExchangeText(CDataExchange* dx, int id, CString& value) {
    HWND control = ::GetDlgItem(DialogOf(dx), id);
    if (!control)
        return;
    if (dx->m_bSaveAndValidate)
        value = ControlText(control);
    else
        ::SetWindowText(control, value);
}

void OXExchangeCheck(CDataExchange* dx, int id, BOOL& value) {
    HWND dialog = DialogOf(dx);
    if (!::GetDlgItem(dialog, id))
        return;
    if (dx->m_bSaveAndValidate)
        value = ::IsDlgButtonChecked(dialog, id) == BST_CHECKED;
    else
        ::CheckDlgButton(dialog, id, value ? BST_CHECKED : BST_UNCHECKED);
}

void OXExchangeRadio(CDataExchange* dx, std::initializer_list<int> ids, int& value) {
    HWND dialog = DialogOf(dx);
    int index = 0;
    if (dx->m_bSaveAndValidate)
        value = -1;
    for (int id : ids) {
        if (dx->m_bSaveAndValidate) {
            if (::IsDlgButtonChecked(dialog, id) == BST_CHECKED)
                value = index;
        } else {
            ::CheckDlgButton(dialog, id, value == index ? BST_CHECKED : BST_UNCHECKED);
        }
        ++index;
    }
}

BOOL OXExchangeInt(CDataExchange* dx, int id, int& value, int minimum, int maximum) {
    HWND control = ::GetDlgItem(DialogOf(dx), id);
    if (!control)
        return TRUE;
    if (!dx->m_bSaveAndValidate) {
        CString text;
        text.Format("%d", value);
        ::SetWindowText(control, text);
        return TRUE;
    }
    CString text = ControlText(control);
    text.Trim();
    const char* begin = text;
    char* end = nullptr;
    errno = 0;
    long number = std::strtol(begin, &end, 10);
    BOOL parsed = !text.IsEmpty() && end && *end == '\0' && errno == 0;
    CString prompt;
    if (!parsed)
        prompt = "Please enter an integer.";
    else if (number < minimum || number > maximum)
        prompt.Format("Please enter an integer between %d and %d.", minimum, maximum);
    if (!prompt.IsEmpty()) {
        AfxMessageBox(prompt, MB_OK | MB_ICONEXCLAMATION);
        ::SetFocus(control);
        ::SendMessage(control, EM_SETSEL, 0, -1);
        return FALSE;
    }
    value = (int)number;
    return TRUE;
}

void OXExchangeCBIndex(CDataExchange* dx, int id, int& value) {
    HWND control = ::GetDlgItem(DialogOf(dx), id);
    if (!control)
        return;
    if (dx->m_bSaveAndValidate)
        value = (int)::SendMessage(control, CB_GETCURSEL, 0, 0);
    else
        ::SendMessage(control, CB_SETCURSEL, (WPARAM)value, 0);
}

void OXExchangeLBIndex(CDataExchange* dx, int id, int& value) {
    HWND control = ::GetDlgItem(DialogOf(dx), id);
    if (!control)
        return;
    if (dx->m_bSaveAndValidate)
        value = (int)::SendMessage(control, LB_GETCURSEL, 0, 0);
    else
        ::SendMessage(control, LB_SETCURSEL, (WPARAM)value, 0);
}
