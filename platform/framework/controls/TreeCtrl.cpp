// Run-time class of the tree control wrapper.
#include "platform/framework/controls/TreeCtrl.h"

IMPLEMENT_DYNAMIC(CTreeCtrl, CWnd)
