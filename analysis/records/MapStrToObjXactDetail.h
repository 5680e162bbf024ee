// Text keys to CXactDetail records, held by value.
#pragma once

#include "analysis/records/RecordMap.h"
#include "analysis/records/XactDetail.h"

class CMapStrToObjXactDetail : public CRecordMap<CXactDetail> {};
