#include "platform/framework/controls/Button.h"

IMPLEMENT_DYNAMIC(CButton, CWnd)
