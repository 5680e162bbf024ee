// Text keys to CSqlDetail records, held by value.
#pragma once

#include "analysis/records/RecordMap.h"
#include "analysis/records/SqlDetail.h"

class CMapStrToObjSqlDetail : public CRecordMap<CSqlDetail> {};
