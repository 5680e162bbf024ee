// Resource identifiers of printing: the page-setup dialog and the print preview's bar.
#pragma once

#define IDD_PAGE_SETUP 101
#define IDC_PAGE_HEADER 1002
#define IDC_PAGE_FOOTER 1003
#define IDC_HEADER_FILE_TIME 1005
#define IDC_HEADER_SYSTEM_TIME 1007
#define IDC_FOOTER_FILE_TIME 1008
#define IDC_FOOTER_SYSTEM_TIME 1009

#define IDD_PRINT_PREVIEW_BAR 30723
