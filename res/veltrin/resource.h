// Resource identifiers of Veltrin.
#pragma once

#define IDD_WAIT_DIALOG 4100
#define IDC_WAIT_ICON 4102
#define IDC_WAIT_MESSAGE 4104
#define IDC_WAIT_PROGRESS 1110
#define IDR_MAINFRAME 128
