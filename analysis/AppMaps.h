// The application-wide maps that the log tree, the statistics dialog and the importers share with
// the analysis passes. They live for the whole run.
#pragma once

#include "analysis/records/MapStrToCMObj.h"
#include "analysis/records/MapStrToHObj.h"
#include "analysis/records/MapStrToIMPObj.h"
#include "analysis/records/MapStrToTObj.h"

extern CMapStrToHObj g_mapLoadedLogs;         // every loaded log, keyed by its file name
extern CMapStrToCMObj g_mapStatsClientIds;    // client machines ticked for statistics
extern CMapStrToHObj g_mapStatsServerIds;     // server ids ticked for statistics
extern CMapStrToTObj g_mapStatsTransactions;  // transactions ticked for statistics
extern CMapStrToIMPObj g_mapImportedLists;    // one entry per list an importer filled
