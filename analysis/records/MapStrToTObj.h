// Application-wide map of text keys to TObj records, held by value.
#pragma once

#include "analysis/records/RecordMap.h"
#include "analysis/records/TObj.h"

class CMapStrToTObj : public CAppRecordMap<TObj> {};
