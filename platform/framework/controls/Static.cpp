#include "platform/framework/controls/Static.h"

IMPLEMENT_DYNAMIC(CStatic, CWnd)
