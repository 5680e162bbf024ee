// Text keys to CSqlDetail records, held by value.
#pragma once

#include "analysis/RecordMap.h"
#include "analysis/SqlDetail.h"

class CMapStrToObjSqlDetail : public CRecordMap<CSqlDetail> {};
