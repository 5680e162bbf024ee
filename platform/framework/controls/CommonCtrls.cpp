// Run-time classes of the thin control wrappers.
#include <string>

#include "platform/framework/controls/ComboBox.h"
#include "platform/framework/controls/SpinButtonCtrl.h"
#include "platform/framework/controls/TabCtrl.h"

IMPLEMENT_DYNAMIC(CTabCtrl, CWnd)
IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)

IMPLEMENT_DYNAMIC(CComboBox, CWnd)

void CComboBox::GetLBText(int index, CString& text) const {
    int n = GetLBTextLen(index);
    if (n < 0) {
        text.Empty();
        return;
    }
    std::string buffer((size_t)n + 1, '\0');
    GetLBText(index, buffer.data());
    text = buffer.c_str();
}
