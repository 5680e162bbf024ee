// Application-wide map of text keys to CMObj records, held by value.
#pragma once

#include "analysis/records/RecordMap.h"
#include "analysis/records/CMObj.h"

class CMapStrToCMObj : public CAppRecordMap<CMObj> {};
