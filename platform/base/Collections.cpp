#include "platform/base/Collections.h"

IMPLEMENT_SERIAL(CObArray, CObject, 0)
