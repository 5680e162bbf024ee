// Application-wide map of text keys to TObj records, held by value.
#pragma once

#include "analysis/RecordMap.h"
#include "analysis/TObj.h"

class CMapStrToTObj : public CAppRecordMap<TObj> {};
