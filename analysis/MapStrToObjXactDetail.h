// Text keys to CXactDetail records, held by value.
#pragma once

#include "analysis/RecordMap.h"
#include "analysis/XactDetail.h"

class CMapStrToObjXactDetail : public CRecordMap<CXactDetail> {};
