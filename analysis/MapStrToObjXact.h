// Text keys to CTransaction records, held by value.
#pragma once

#include "analysis/RecordMap.h"
#include "analysis/Transaction.h"

class CMapStrToObjXact : public CRecordMap<CTransaction> {};
