// Text keys to CSqlXact records, held by value.
#pragma once

#include "analysis/records/RecordMap.h"
#include "analysis/records/SqlXact.h"

class CMapStrToObjSqlXact : public CRecordMap<CSqlXact> {};
