#include "sifter/program/BaseListCtrl.h"

#include "platform/base/Profile.h"

IMPLEMENT_DYNAMIC(CBaseListCtrl, CListCtrl)

BEGIN_MESSAGE_MAP(CBaseListCtrl, CListCtrl)
ON_MESSAGE(WM_DESTROY, OnDestroyList)
END_MESSAGE_MAP()

LRESULT CBaseListCtrl::OnDestroyList(WPARAM, LPARAM) {
    if (!m_sRegistryKey.IsEmpty() && !m_sRegistryValue.IsEmpty()) {
        CString widths;
        int count = GetHeaderCtrl() ? GetHeaderCtrl()->GetItemCount() : 0;
        for (int i = 0; i < count; ++i) {
            CString one;
            one.Format(i ? ",%d" : "%d", GetColumnWidth(i));
            widths += one;
        }
        AfxGetProfile().WriteProfileString(m_sRegistryKey, m_sRegistryValue, widths);
    }
    return Default();
}
