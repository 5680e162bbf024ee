#include "platform/framework/controls/ListBox.h"

IMPLEMENT_DYNAMIC(CListBox, CWnd)
