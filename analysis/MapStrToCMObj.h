// Application-wide map of text keys to CMObj records, held by value.
#pragma once

#include "analysis/RecordMap.h"
#include "analysis/CMObj.h"

class CMapStrToCMObj : public CAppRecordMap<CMObj> {};
