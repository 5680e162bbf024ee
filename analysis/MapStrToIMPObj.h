// Application-wide map of text keys to IMPObj records, held by value.
#pragma once

#include "analysis/RecordMap.h"
#include "analysis/IMPObj.h"

class CMapStrToIMPObj : public CAppRecordMap<IMPObj> {};
