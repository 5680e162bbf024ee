// The common dialogs for files and printing, drawn by us over the real file system and the CUPS
// destinations: GetOpenFileName, GetSaveFileName and PrintDlg.
#pragma once

#include <string>
#include <vector>

#include "platform/base/GlobalMemory.h"
#include "platform/gdi/Printing.h"
#include "platform/user/User.h"

// ---- File open and save

#define OFN_READONLY 0x00000001
#define OFN_OVERWRITEPROMPT 0x00000002
#define OFN_HIDEREADONLY 0x00000004
#define OFN_NOCHANGEDIR 0x00000008
#define OFN_ENABLEHOOK 0x00000020  // with OFN_EXPLORER: the hook's dialog is a hidden child of the dialog
#define OFN_NOVALIDATE 0x00000100
#define OFN_ALLOWMULTISELECT 0x00000200
#define OFN_EXTENSIONDIFFERENT 0x00000400
#define OFN_PATHMUSTEXIST 0x00000800
#define OFN_FILEMUSTEXIST 0x00001000
#define OFN_CREATEPROMPT 0x00002000
#define OFN_NOREADONLYRETURN 0x00008000
#define OFN_EXPLORER 0x00080000
#define OFN_ENABLESIZING 0x00800000

struct OPENFILENAME {
    DWORD lStructSize;
    HWND hwndOwner;
    HINSTANCE hInstance;
    LPCTSTR lpstrFilter;  // pairs of description and patterns ("*.log;*.txt"), each ending in '\0', then '\0'
    LPTSTR lpstrCustomFilter;
    DWORD nMaxCustFilter;
    DWORD nFilterIndex;  // 1-based
    LPTSTR lpstrFile;    // in: the starting name; out: the path, or with multi-selection the folder then names
    DWORD nMaxFile;
    LPTSTR lpstrFileTitle;
    DWORD nMaxFileTitle;
    LPCTSTR lpstrInitialDir;
    LPCTSTR lpstrTitle;
    DWORD Flags;
    WORD nFileOffset;
    WORD nFileExtension;
    LPCTSTR lpstrDefExt;
    LPARAM lCustData;
    void* lpfnHook;
    LPCTSTR lpTemplateName;
};
typedef OPENFILENAME* LPOPENFILENAME;

// The hook of an Explorer-style dialog: a dialog procedure for a hidden child of the dialog, which gets
// WM_INITDIALOG with the OPENFILENAME and then the CDN_ notifications as WM_NOTIFY with an OFNOTIFY.
typedef UINT_PTR (*LPOFNHOOKPROC)(HWND, UINT, WPARAM, LPARAM);
#define CDN_FIRST (0U - 601U)
#define CDN_INITDONE (CDN_FIRST - 0x0000)
#define CDN_SELCHANGE (CDN_FIRST - 0x0001)
#define CDN_FOLDERCHANGE (CDN_FIRST - 0x0002)
struct OFNOTIFY {
    NMHDR hdr;
    LPOPENFILENAME lpOFN;
    LPTSTR pszFile;
};
// Asked of the dialog (the hook's parent): the path the name field names, and the folder shown; wParam
// the buffer's size, lParam the buffer; the result is the size needed with the terminating zero.
#define CDM_FIRST (WM_USER + 100)
#define CDM_GETFILEPATH (CDM_FIRST + 0x0001)
#define CDM_GETFOLDERPATH (CDM_FIRST + 0x0002)

// Errors of CommDlgExtendedError.
#define CDERR_STRUCTSIZE 0x0001
#define CDERR_INITIALIZATION 0x0002
#define PDERR_NODEFAULTPRN 0x1008
#define FNERR_BUFFERTOOSMALL 0x3003
DWORD CommDlgExtendedError();
// Sets the calling thread's common-dialog error (the dialogs themselves).
void SetCommDlgExtendedError(DWORD error);

// FALSE when the user cancels (CommDlgExtendedError 0) or on an error (its code).
BOOL GetOpenFileName(LPOPENFILENAME ofn);
BOOL GetSaveFileName(LPOPENFILENAME ofn);

// The file dialog's control ids (tests drive it by them).
#define IDC_FILE_FOLDER 1088  // the folder shown (static)
#define IDC_FILE_LIST 1120    // folders and files
#define IDC_FILE_NAME 1152    // the typed name or names
#define IDC_FILE_TYPES 1136   // the filter combo
#define IDC_FILE_UP 1090      // one folder up
// With a hook and OFN_ENABLESIZING the dialog is laid out as the Explorer's and can be resized: the folder in a "Look in"
// combo, beside it a "ToolbarWindow32" holding the Up button, and the list inside a "SHELLDLL_DefView".
#define IDC_FILE_LOOKIN 1137
#define IDC_FILE_TOOLBAR 1184
#define IDC_FILE_VIEW 1121
#define IDC_FILE_LOOKIN_LABEL 1091
#define IDC_FILE_NAME_LABEL 1092
#define IDC_FILE_TYPES_LABEL 1089

// ---- Printing

#define PD_ALLPAGES 0x00000000
#define PD_SELECTION 0x00000001
#define PD_PAGENUMS 0x00000002
#define PD_NOSELECTION 0x00000004
#define PD_NOPAGENUMS 0x00000008
#define PD_COLLATE 0x00000010
#define PD_PRINTTOFILE 0x00000020
#define PD_PRINTSETUP 0x00000040
#define PD_NOWARNING 0x00000080
#define PD_RETURNDC 0x00000100
#define PD_RETURNIC 0x00000200
#define PD_RETURNDEFAULT 0x00000400
#define PD_USEDEVMODECOPIES 0x00040000
#define PD_USEDEVMODECOPIESANDCOLLATE 0x00040000
#define PD_DISABLEPRINTTOFILE 0x00080000
#define PD_HIDEPRINTTOFILE 0x00100000

// The printer's names: offsets from the block's start of the driver, device and output texts. Ours: the
// driver "lp" with a CUPS destination as the device, or "PDF" with the file to write as the output.
struct DEVNAMES {
    uint16_t wDriverOffset;
    uint16_t wDeviceOffset;
    uint16_t wOutputOffset;
    uint16_t wDefault;
};
typedef DEVNAMES* LPDEVNAMES;
#define DN_DEFAULTPRN 0x0001

struct PRINTDLG {
    DWORD lStructSize;
    HWND hwndOwner;
    HGLOBAL hDevMode;   // in and out: a DEVMODE block
    HGLOBAL hDevNames;  // in and out: a DEVNAMES block
    HDC hDC;            // out with PD_RETURNDC
    DWORD Flags;
    WORD nFromPage;
    WORD nToPage;
    WORD nMinPage;
    WORD nMaxPage;
    WORD nCopies;
    HINSTANCE hInstance;
    LPARAM lCustData;
    void* lpfnPrintHook;
    void* lpfnSetupHook;
    LPCTSTR lpPrintTemplateName;
    LPCTSTR lpSetupTemplateName;
    HGLOBAL hPrintTemplate;
    HGLOBAL hSetupTemplate;
};
typedef PRINTDLG* LPPRINTDLG;

// Shows the print (or, with PD_PRINTSETUP, the print-setup) dialog. Blocks that are missing, or too short
// for our layout, count as no printer chosen: the dialog starts on the default destination. With
// PD_RETURNDEFAULT no dialog is shown and the default printer's blocks are returned (FALSE with
// PDERR_NODEFAULTPRN when blocks were given). FALSE when the user cancels; the blocks are then left as
// they were.
BOOL PrintDlg(LPPRINTDLG pd);

// The name of the entry that writes a PDF file instead of printing.
#define PDF_FILE_DESTINATION "PDF file"

// The CUPS destinations (`lpstat -e`) with the default one first when there is one (`lpstat -d`); none when
// lpstat is missing or fails.
std::vector<std::string> GetPrinterDestinations();

// A DEVNAMES block (movable global memory) for a driver, device and output.
HGLOBAL CreateDevNames(LPCTSTR driver, LPCTSTR device, LPCTSTR output, BOOL isDefault);
// The texts of a DEVNAMES block; FALSE when it is missing or damaged (too short, an offset past its end,
// a text without its end).
BOOL ReadDevNames(HGLOBAL block, std::string& driver, std::string& device, std::string& output);
// A copy of the DEVMODE in a block; FALSE when it is missing or too short for our layout.
BOOL ReadDevMode(HGLOBAL block, DEVMODE& mode);
// A printer DC for the blocks (as PD_RETURNDC makes it), or null when they name no printer.
HDC CreatePrinterDCFromBlocks(HGLOBAL devNames, HGLOBAL devMode);

// The print dialog's control ids.
#define IDC_PRINT_NAME 1139
#define IDC_PRINT_FILE 1165
#define IDC_PRINT_PORTRAIT 1056
#define IDC_PRINT_LANDSCAPE 1057
#define IDC_PRINT_PAPER 1137
#define IDC_PRINT_COPIES 1154
#define IDC_PRINT_ALL 1160
#define IDC_PRINT_SELECTION 1161
#define IDC_PRINT_PAGES 1162
#define IDC_PRINT_FROM 1163
#define IDC_PRINT_TO 1164
