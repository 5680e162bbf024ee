// Text keys to CCltXact records, held by value.
#pragma once

#include "analysis/records/RecordMap.h"
#include "analysis/records/CltXact.h"

class CMapStrToObjCltXact : public CRecordMap<CCltXact> {};
