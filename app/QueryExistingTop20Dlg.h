// The question before a top-20 report is generated anew when both of its report logs (transactions and
// SQL statements) exist: the same dialog, showing both logs.
#pragma once

#include "app/QueryExistingReportDlg.h"

class CQueryExistingTop20Dlg : public CQueryExistingReportDlg {
public:
    CQueryExistingTop20Dlg(LPCTSTR transactionsLog, LPCTSTR sqlLog, CWnd* pParent = nullptr)
        : CQueryExistingReportDlg(transactionsLog, sqlLog, pParent) {}
};
