#include "analysis/AppMaps.h"

CMapStrToHObj g_mapLoadedLogs;
CMapStrToCMObj g_mapStatsClientIds;
CMapStrToHObj g_mapStatsServerIds;
CMapStrToTObj g_mapStatsTransactions;
CMapStrToIMPObj g_mapImportedLists;
