// Text keys to CClient records, held by value.
#pragma once

#include "analysis/RecordMap.h"
#include "analysis/Client.h"

class CMapStrToObjClient : public CRecordMap<CClient> {};
