// Run-time classes of the wrappers that add nothing to the window.
#include "platform/framework/controls/DateTimeCtrl.h"
#include "platform/framework/controls/HotKeyCtrl.h"
#include "platform/framework/controls/IPAddressCtrl.h"
#include "platform/framework/controls/MonthCalCtrl.h"

IMPLEMENT_DYNAMIC(CHotKeyCtrl, CWnd)
IMPLEMENT_DYNAMIC(CDateTimeCtrl, CWnd)
IMPLEMENT_DYNAMIC(CMonthCalCtrl, CWnd)
IMPLEMENT_DYNAMIC(CIPAddressCtrl, CWnd)
