// Text keys to CSqlSum records, held by value.
#pragma once

#include "analysis/records/RecordMap.h"
#include "analysis/records/SqlSum.h"

class CMapStrToObjSqlSum : public CRecordMap<CSqlSum> {};
