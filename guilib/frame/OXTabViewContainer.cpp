#include "guilib/frame/OXTabViewContainer.h"

IMPLEMENT_DYNAMIC(COXTabViewContainer, CWnd)
