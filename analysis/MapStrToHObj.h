// Application-wide map of text keys to HObj records, held by value.
#pragma once

#include "analysis/RecordMap.h"
#include "analysis/HObj.h"

class CMapStrToHObj : public CAppRecordMap<HObj> {};
