// Text keys to CClient records, held by value.
#pragma once

#include "analysis/records/RecordMap.h"
#include "analysis/records/Client.h"

class CMapStrToObjClient : public CRecordMap<CClient> {};
