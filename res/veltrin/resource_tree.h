// Resource identifiers of Veltrin's tree area.
#pragma once

#define IDD_QUERY_EXISTING_REPORT 169
#define IDC_USE_EXISTING 1193
#define IDC_EXISTING_LOG1 1195
#define IDC_EXISTING_LOG2 1196
#define IDC_GENERATE_NEW 3
