#include "app/VeltrinDialogs.h"

#include "app/VeltrinApp.h"
#include "core/RequestStrings.h"
#include "res/veltrin/resource.h"

namespace {
const char kSettings[] = "Settings";

CString ItemText(HWND dialog, int id) {
    char buffer[1024] = {};
    GetDlgItemText(dialog, id, buffer, sizeof buffer);
    return buffer;
}

void EnableOkWhileFilled(HWND dialog, int editId) {
    EnableWindow(GetDlgItem(dialog, IDOK), !ItemText(dialog, editId).IsEmpty());
}
}  // namespace

COptionsDlg::COptionsDlg(CWnd* parent) : CDialog(IDD_OPTIONS, parent) {}

namespace {
struct CheckSetting {
    int id;
    const char* entry;
    int defaultValue;
};
// In the order they are stored.
const CheckSetting kChecks[] = {
    {IDC_START_ITEMIZE_ON_OPEN, "StartItemizeOnOpen", 0},
    {IDC_START_SQLSUM_ON_T20, "StartSqlSumRptOnT20", 1},
    {IDC_LAUNCH_EXCEL_ON_EXPORT, "LaunchExcelOnExport", 0},
    {IDC_LINK_LOWER_TAB, "LinkLowerTabWithUpperTabOnActivate", 1},
    {IDC_FILTER_QTRACE, "EnableFilterQTrace", 0},
    {IDC_ET_IN_STATS, "EnableETCalculationsInStats", 0},
};
}  // namespace

BOOL COptionsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CWinApp* app = AfxGetApp();
    CString digits;
    digits.Format("%d", (int)app->GetProfileInt(kSettings, "MinMilliseconds", 4));
    ::SetDlgItemText(m_hWnd, IDC_MIN_MILLISECONDS, digits);
    for (const CheckSetting& c : kChecks)
        ::CheckDlgButton(m_hWnd, c.id, app->GetProfileInt(kSettings, c.entry, c.defaultValue) ? BST_CHECKED : 0);
    ::SetDlgItemText(m_hWnd, IDC_IMPORT_DELIMITER, app->GetProfileString(kSettings, "ImportDelimiter", ","));
    BOOL sifter = app->GetProfileInt(kSettings, "TreeViewUseSearchOption", 1) == 1;
    ::CheckDlgButton(m_hWnd, IDC_SEARCH_WITH_SIFTER, sifter ? BST_CHECKED : 0);
    ::CheckDlgButton(m_hWnd, IDC_SEARCH_INTERNAL, sifter ? 0 : BST_CHECKED);
    return TRUE;
}

void COptionsDlg::OnOK() {
    CWinApp* app = AfxGetApp();
    BOOL translated = FALSE;
    int digits = (int)::GetDlgItemInt(m_hWnd, IDC_MIN_MILLISECONDS, &translated, TRUE);
    if (!translated || digits < 1 || digits > 6) {
        MessageBeep(0);
        ::SetFocus(::GetDlgItem(m_hWnd, IDC_MIN_MILLISECONDS));
        return;
    }
    app->WriteProfileInt(kSettings, "MinMilliseconds", digits);
    for (const CheckSetting& c : kChecks) {
        int on = ::IsDlgButtonChecked(m_hWnd, c.id) == BST_CHECKED ? 1 : 0;
        app->WriteProfileInt(kSettings, c.entry, on);
        if (c.id == IDC_FILTER_QTRACE)
            g_nFilterQTrace = on;
    }
    CString delimiter = ItemText(m_hWnd, IDC_IMPORT_DELIMITER);
    if (delimiter.GetLength() != 1) {
        MessageBeep(0);
        AfxMessageBox("Delimiter can only be 1 character!", MB_ICONEXCLAMATION | MB_SETFOREGROUND);
        ::SetFocus(::GetDlgItem(m_hWnd, IDC_IMPORT_DELIMITER));
        return;
    }
    app->WriteProfileString(kSettings, "ImportDelimiter", delimiter);
    _csImportDelimiter = delimiter == "T" ? CString("\t") : delimiter;
    app->WriteProfileInt(kSettings, "TreeViewUseSearchOption",
                         ::IsDlgButtonChecked(m_hWnd, IDC_SEARCH_WITH_SIFTER) == BST_CHECKED ? 1 : 0);
    CDialog::OnOK();
}

BEGIN_MESSAGE_MAP(CFindTextDlg, CDialog)
ON_EN_CHANGE(IDC_FIND_TEXT, OnTextChange)
END_MESSAGE_MAP()

CFindTextDlg::CFindTextDlg(CWnd* parent) : CDialog(IDD_FINDTEXT, parent) {
    m_csFindText = AfxGetApp()->GetProfileString(kSettings, "FindString", "");
    if (m_csFindText.IsEmpty())
        m_csFindText = _csLastFindText;
}

BOOL CFindTextDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    ::SetDlgItemText(m_hWnd, IDC_FIND_TEXT, m_csFindText);
    ::CheckDlgButton(m_hWnd, m_nDirection ? IDC_FIND_DOWN : IDC_FIND_UP, BST_CHECKED);
    EnableOkWhileFilled(m_hWnd, IDC_FIND_TEXT);
    return TRUE;
}

void CFindTextDlg::OnTextChange() { EnableOkWhileFilled(m_hWnd, IDC_FIND_TEXT); }

void CFindTextDlg::OnOK() {
    m_csFindText = ItemText(m_hWnd, IDC_FIND_TEXT);
    m_bMatchCase = ::IsDlgButtonChecked(m_hWnd, IDC_FIND_MATCH_CASE) == BST_CHECKED;
    m_bWholeWord = ::IsDlgButtonChecked(m_hWnd, IDC_FIND_WHOLE_WORD) == BST_CHECKED;
    m_nDirection = ::IsDlgButtonChecked(m_hWnd, IDC_FIND_UP) == BST_CHECKED ? 0 : 1;
    AfxGetApp()->WriteProfileString(kSettings, "FindString", m_csFindText);
    CDialog::OnOK();
}

BEGIN_MESSAGE_MAP(CGotoLineDlg, CDialog)
ON_EN_CHANGE(IDC_GOTO_LINE, OnTextChange)
END_MESSAGE_MAP()

CGotoLineDlg::CGotoLineDlg(CWnd* parent) : CDialog(IDD_GOTOLINE, parent), m_csLineNumber(_csLastGotoLine) {}

BOOL CGotoLineDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    ::SetDlgItemText(m_hWnd, IDC_GOTO_LINE, m_csLineNumber);
    EnableOkWhileFilled(m_hWnd, IDC_GOTO_LINE);
    return TRUE;
}

void CGotoLineDlg::OnTextChange() { EnableOkWhileFilled(m_hWnd, IDC_GOTO_LINE); }

void CGotoLineDlg::OnOK() {
    m_csLineNumber = ItemText(m_hWnd, IDC_GOTO_LINE);
    CDialog::OnOK();
}

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

BOOL CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CString version;
    version.Format("%s V%s", VELTRIN_PROGRAM_NAME, VELTRIN_VERSION);
    ::SetDlgItemText(m_hWnd, IDC_ABOUT_VERSION, version);
    return TRUE;
}
