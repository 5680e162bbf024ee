#include "platform/framework/window/DataExchange.h"

#include "platform/base/MessageBox.h"
#include "platform/user/ComboBox.h"
#include "platform/user/Controls.h"
#include "platform/user/ListBox.h"

namespace {
// The framework's prompts for a value that does not parse or lies outside its range.
constexpr const char* kParseInt = "Please enter an integer.";
constexpr const char* kParseUInt = "Please enter a positive integer.";

void Prompt(CDataExchange* pDX, const CString& text) {
    AfxMessageBox(text, MB_ICONEXCLAMATION);
    pDX->Fail();
}

template <class T>
void CheckRange(CDataExchange* pDX, T value, T minVal, T maxVal, const char* format) {
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal))
        return;
    CString low, high;
    low.Format(format, minVal);
    high.Format(format, maxVal);
    Prompt(pDX, "Please enter an integer between " + low + " and " + high + ".");
}

bool IsRadioButton(HWND h) {
    return (::SendMessage(h, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) != 0;
}
}  // namespace

HWND CDataExchange::PrepareCtrl(int nIDC) {
    HWND control = ::GetDlgItem(m_pDlgWnd->GetSafeHwnd(), nIDC);
    m_hWndLastControl = control;
    m_bEditLastControl = FALSE;
    return control;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
    HWND control = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return control;
}

void CDataExchange::Fail() {
    if (m_bSaveAndValidate && m_hWndLastControl && ::IsWindow(m_hWndLastControl)) {
        ::SetFocus(m_hWndLastControl);
        if (m_bEditLastControl)
            ::SendMessage(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
    throw new CUserException();
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (rControl.GetSafeHwnd())
        return;
    HWND control = pDX->PrepareCtrl(nIDC);
    if (!control || !rControl.SubclassWindow(control))
        pDX->Fail();
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
    HWND control = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = (int)::SendMessage(control, BM_GETCHECK, 0, 0);
    else
        ::SendMessage(control, BM_SETCHECK, (WPARAM)(value < 0 || value > 2 ? 0 : value), 0);
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
    HWND control = pDX->PrepareCtrl(nIDC);
    if (!control)
        return;
    if (pDX->m_bSaveAndValidate)
        value = -1;
    // The group runs from nIDC to the control before the next one that starts a group.
    int index = 0;
    for (HWND h = control; h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        if (h != control && (::GetWindowLongPtr(h, GWL_STYLE) & WS_GROUP))
            break;
        if (!IsRadioButton(h))
            continue;
        if (pDX->m_bSaveAndValidate) {
            if (value < 0 && ::SendMessage(h, BM_GETCHECK, 0, 0) == BST_CHECKED)
                value = index;
        } else {
            ::SendMessage(h, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        ++index;
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    HWND control = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = GetWindowTextString(control);
    else
        ::SetWindowText(control, value);
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
    HWND control = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        BOOL ok = FALSE;
        int read = (int)::GetDlgItemInt(pDX->m_pDlgWnd->GetSafeHwnd(), nIDC, &ok, TRUE);
        if (!ok)
            Prompt(pDX, kParseInt);
        value = read;
    } else {
        CString text;
        text.Format("%d", value);
        ::SetWindowText(control, text);
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value) {
    HWND control = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        BOOL ok = FALSE;
        UINT read = ::GetDlgItemInt(pDX->m_pDlgWnd->GetSafeHwnd(), nIDC, &ok, FALSE);
        if (!ok)
            Prompt(pDX, kParseUInt);
        value = read;
    } else {
        CString text;
        text.Format("%u", value);
        ::SetWindowText(control, text);
    }
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index) {
    HWND control = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = (int)::SendMessage(control, CB_GETCURSEL, 0, 0);
    else
        ::SendMessage(control, CB_SETCURSEL, (WPARAM)index, 0);
}

void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index) {
    HWND control = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = (int)::SendMessage(control, LB_GETCURSEL, 0, 0);
    else
        ::SendMessage(control, LB_SETCURSEL, (WPARAM)index, 0);
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal) {
    CheckRange(pDX, value, minVal, maxVal, "%d");
}

void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal) {
    CheckRange(pDX, value, minVal, maxVal, "%u");
}

void DDV_MinMaxDWord(CDataExchange* pDX, DWORD value, DWORD minVal, DWORD maxVal) {
    CheckRange(pDX, value, minVal, maxVal, "%u");
}
