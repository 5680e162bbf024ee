// Application-wide map of text keys to HObj records, held by value.
#pragma once

#include "analysis/records/RecordMap.h"
#include "analysis/records/HObj.h"

class CMapStrToHObj : public CAppRecordMap<HObj> {};
