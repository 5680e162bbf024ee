// Resource identifiers of Veltrin.
#pragma once

#define IDD_WAIT_DIALOG 4100
#define IDC_WAIT_ICON 4102
#define IDC_WAIT_MESSAGE 4104
#define IDC_WAIT_PROGRESS 1110
#define IDR_MAINFRAME 128

#define IDD_QUERY_TRUNCATE_HISTOGRAM 170
#define IDC_LINE_LIMIT 1197
#define IDC_TOTAL_RECS 1198

// Each area of the program keeps its identifiers in its own header.
#include "res/veltrin/resource_frame.h"
#include "res/veltrin/resource_pad.h"
#include "res/veltrin/resource_print.h"
#include "res/veltrin/resource_tree.h"
