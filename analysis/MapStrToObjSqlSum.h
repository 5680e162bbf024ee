// Text keys to CSqlSum records, held by value.
#pragma once

#include "analysis/RecordMap.h"
#include "analysis/SqlSum.h"

class CMapStrToObjSqlSum : public CRecordMap<CSqlSum> {};
