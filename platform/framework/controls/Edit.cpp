#include "platform/framework/controls/Edit.h"

IMPLEMENT_DYNAMIC(CEdit, CWnd)
