// Text keys to CSqlXact records, held by value.
#pragma once

#include "analysis/RecordMap.h"
#include "analysis/SqlXact.h"

class CMapStrToObjSqlXact : public CRecordMap<CSqlXact> {};
