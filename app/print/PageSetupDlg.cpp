#include "app/print/PageSetupDlg.h"

#include <initializer_list>
#include <string>

#include "platform/framework/app/WinThread.h"
#include "res/veltrin/resource_print.h"

namespace {
const char kSection[] = "PageSetup";

void ExchangeText(CDataExchange* dx, int id, CString& value) {
    HWND dialog = dx->m_pDlgWnd->GetSafeHwnd();
    if (!dx->m_bSaveAndValidate) {
        ::SetDlgItemText(dialog, id, value);
        return;
    }
    HWND edit = ::GetDlgItem(dialog, id);
    int length = edit ? ::GetWindowTextLength(edit) : 0;
    std::string text(length + 1, '\0');
    if (edit)
        ::GetWindowText(edit, text.data(), length + 1);
    value = text.c_str();
}

// A radio group given by its buttons in order: the index of the checked one, -1 for none.
void ExchangeRadio(CDataExchange* dx, std::initializer_list<int> ids, int& value) {
    HWND dialog = dx->m_pDlgWnd->GetSafeHwnd();
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
}  // namespace

CPageSetupDlg _PageSetupDlg;

CPageSetupDlg::CPageSetupDlg(CWnd* parent) : CDialog(IDD_PAGE_SETUP, parent) {}

void CPageSetupDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    ExchangeText(dx, IDC_PAGE_HEADER, m_csHeader);
    ExchangeText(dx, IDC_PAGE_FOOTER, m_csFooter);
    ExchangeRadio(dx, {IDC_HEADER_FILE_TIME, IDC_HEADER_SYSTEM_TIME}, m_nHeaderTime);
    ExchangeRadio(dx, {IDC_FOOTER_FILE_TIME, IDC_FOOTER_SYSTEM_TIME}, m_nFooterTime);
}

void LoadPageSetupSettings() {
    CWinApp* app = AfxGetApp();
    if (!app)
        return;
    CPageSetupDlg& d = _PageSetupDlg;
    d.m_csHeaderLoaded = d.m_csHeader = app->GetProfileString(kSection, "Header", "File: &f");
    d.m_csFooterLoaded = d.m_csFooter = app->GetProfileString(kSection, "Footer", "Page: &p");
    d.m_nHeaderTimeLoaded = d.m_nHeaderTime = (int)app->GetProfileInt(kSection, "HeaderTime", 0);
    d.m_nFooterTimeLoaded = d.m_nFooterTime = (int)app->GetProfileInt(kSection, "FooterTime", 0);
}

void SavePageSetupSettings() {
    CWinApp* app = AfxGetApp();
    if (!app)
        return;
    CPageSetupDlg& d = _PageSetupDlg;
    if (d.m_csHeader != d.m_csHeaderLoaded)
        app->WriteProfileString(kSection, "Header", d.m_csHeader);
    if (d.m_csFooter != d.m_csFooterLoaded)
        app->WriteProfileString(kSection, "Footer", d.m_csFooter);
    if (d.m_nHeaderTime != d.m_nHeaderTimeLoaded)
        app->WriteProfileInt(kSection, "HeaderTime", d.m_nHeaderTime);
    if (d.m_nFooterTime != d.m_nFooterTimeLoaded)
        app->WriteProfileInt(kSection, "FooterTime", d.m_nFooterTime);
    d.m_csHeaderLoaded = d.m_csHeader;
    d.m_csFooterLoaded = d.m_csFooter;
    d.m_nHeaderTimeLoaded = d.m_nHeaderTime;
    d.m_nFooterTimeLoaded = d.m_nFooterTime;
}
