// The log tree's sort table: a loaded log's list of pairs ("name>stamp|" repeated) put in stamp order.
#pragma once

#include "platform/base/String.h"

// The pairs ordered by stamp, ASCII case-blind; pairs with equal stamps keep their order. A text
// without one complete pair comes back unchanged, and whatever follows the last complete pair (a "x>y"
// without '|') stays at the end as it was.
CString SortPairsByStamp(const CString& pairs);
