// Dialog data exchange: moving values between a dialog's controls and its members (DDX_), checking
// them on the way in (DDV_). A value that does not parse or lies outside its range is told to the
// user in a message box, the focus goes back to the control and the exchange fails.
#pragma once

#include <utility>

#include "platform/base/Exceptions.h"
#include "platform/framework/window/Wnd.h"

class CDataExchange {
public:
    CDataExchange(CWnd* dlg, BOOL save) : m_bSaveAndValidate(save), m_pDlgWnd(dlg) {}

    // The control about to be exchanged; DDV_ checks and Fail refer to it.
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);
    // Gives the focus back to the last prepared control (an edit with its text selected) and stops
    // the exchange with a CUserException.
    [[noreturn]] void Fail();

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    HWND m_hWndLastControl = nullptr;
    BOOL m_bEditLastControl = FALSE;
};

// Runs one exchange over `wnd`: FALSE when a check failed (the user has been told).
template <class Exchange>
BOOL AfxRunDataExchange(CWnd* wnd, BOOL bSaveAndValidate, Exchange&& exchange) {
    CDataExchange dx(wnd, bSaveAndValidate);
    try {
        std::forward<Exchange>(exchange)(&dx);
    } catch (CUserException* e) {
        e->Delete();
        return FALSE;
    }
    return TRUE;
}

// Subclasses the control with the object the first time (an object already attached stays).
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// The index of the checked button of the radio group that starts at nIDC; -1 when none is checked.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
// DWORD is UINT here: this form serves both.
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);
void DDV_MinMaxDWord(CDataExchange* pDX, DWORD value, DWORD minVal, DWORD maxVal);
