// Application-wide map of text keys to IMPObj records, held by value.
#pragma once

#include "analysis/records/RecordMap.h"
#include "analysis/records/IMPObj.h"

class CMapStrToIMPObj : public CAppRecordMap<IMPObj> {};
