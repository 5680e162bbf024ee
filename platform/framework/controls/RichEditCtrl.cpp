#include "platform/framework/controls/RichEditCtrl.h"

IMPLEMENT_DYNAMIC(CRichEditCtrl, CWnd)
