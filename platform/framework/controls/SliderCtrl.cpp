#include "platform/framework/controls/SliderCtrl.h"

IMPLEMENT_DYNAMIC(CSliderCtrl, CWnd)
