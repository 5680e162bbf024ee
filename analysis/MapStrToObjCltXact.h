// Text keys to CCltXact records, held by value.
#pragma once

#include "analysis/RecordMap.h"
#include "analysis/CltXact.h"

class CMapStrToObjCltXact : public CRecordMap<CCltXact> {};
