// Text keys to CTransaction records, held by value.
#pragma once

#include "analysis/records/RecordMap.h"
#include "analysis/records/Transaction.h"

class CMapStrToObjXact : public CRecordMap<CTransaction> {};
