// Printer device contexts. A page is drawn on an image surface at the printer's resolution, so every
// drawing call behaves as on the screen; each finished page goes into a PDF document (Cairo), which is
// handed to `lp -d <printer>` (CUPS) or kept as a file where the caller says.
#pragma once

#include <cstdint>

#include "platform/gdi/Gdi.h"

// The device mode block of our fixed layout: every field has an explicit width and its own offset, so a
// stored block keeps its meaning (124 bytes; dmSize says how many were written).
#define CCHDEVICENAME 32
#define CCHFORMNAME 32
#define DM_SPECVERSION 0x0401

#define DM_ORIENTATION 0x00000001L
#define DM_PAPERSIZE 0x00000002L
#define DM_COPIES 0x00000100L
#define DM_COLLATE 0x00008000L

#define DMORIENT_PORTRAIT 1
#define DMORIENT_LANDSCAPE 2

#define DMPAPER_LETTER 1
#define DMPAPER_LEGAL 5
#define DMPAPER_A4 9

#define DMCOLLATE_FALSE 0
#define DMCOLLATE_TRUE 1

#pragma pack(push, 2)
struct DEVMODE {
    BYTE dmDeviceName[CCHDEVICENAME];
    uint16_t dmSpecVersion;
    uint16_t dmDriverVersion;
    uint16_t dmSize;
    uint16_t dmDriverExtra;
    uint32_t dmFields;
    int16_t dmOrientation;
    int16_t dmPaperSize;
    int16_t dmPaperLength;  // tenths of a millimetre
    int16_t dmPaperWidth;
    int16_t dmScale;
    int16_t dmCopies;
    int16_t dmDefaultSource;
    int16_t dmPrintQuality;
    int16_t dmColor;
    int16_t dmDuplex;
    int16_t dmYResolution;
    int16_t dmTTOption;
    int16_t dmCollate;
    BYTE dmFormName[CCHFORMNAME];
    uint16_t dmLogPixels;
    uint32_t dmBitsPerPel;
    uint32_t dmPelsWidth;
    uint32_t dmPelsHeight;
    uint32_t dmDisplayFlags;
    uint32_t dmDisplayFrequency;
};
#pragma pack(pop)
static_assert(sizeof(DEVMODE) == 124, "the device mode block has a fixed layout");
typedef DEVMODE DEVMODEA;
typedef DEVMODE* LPDEVMODE;

// A paper size in tenths of a millimetre (portrait); FALSE for a size this platform does not know.
BOOL GetPaperSize(short paper, SIZE& tenthsOfMm);
// The paper's name as the print dialog lists it ("Letter", "Legal", "A4"), or null.
LPCTSTR GetPaperName(short paper);
// Fills a device mode with the defaults for a printer: portrait, Letter, one copy.
void InitDevMode(DEVMODE& mode, LPCTSTR deviceName);
// Whether `bytes` bytes at `block` hold a whole device mode of our layout.
BOOL IsValidDevMode(const void* block, size_t bytes);

struct DOCINFO {
    int cbSize;
    LPCTSTR lpszDocName;
    LPCTSTR lpszOutput;  // a file to keep the document in instead of printing it
    LPCTSTR lpszDatatype;
    DWORD fwType;
};
typedef DOCINFO* LPDOCINFO;

#define SP_ERROR (-1)

// The printer's resolution (LOGPIXELSX and LOGPIXELSY of a printer DC).
#define PRINTER_DPI 300

// Drivers a printer DC knows: "lp" hands the document to `lp -d <device>`; "PDF" keeps it in the file
// named by `output` (or by the document's lpszOutput). A printer DC answers GetDeviceCaps with the paper
// of `mode` (HORZRES and VERTRES swap in landscape) and PRINTER_DPI; null with ERROR_INVALID_PARAMETER
// for an unknown driver.
HDC CreateDC(LPCTSTR driver, LPCTSTR device, LPCTSTR output, const DEVMODE* mode);
// Changes the paper or orientation of the pages that follow; the DC itself is returned.
HDC ResetDC(HDC dc, const DEVMODE* mode);
// Whether a DC is a printer DC.
BOOL IsPrinterDC(HDC dc);
// A job number above 0, or SP_ERROR (the PDF cannot be made: no file, no temporary file).
int StartDoc(HDC dc, const DOCINFO* info);
// StartPage clears the page to white; EndPage adds it to the document.
int StartPage(HDC dc);
int EndPage(HDC dc);
// Finishes the document: kept as the file asked for, or handed to `lp`. SP_ERROR when `lp` cannot be
// started or fails; the PDF is then kept and GetPrinterDocumentPath names it.
int EndDoc(HDC dc);
// Drops the document; nothing is printed or kept.
int AbortDoc(HDC dc);
// The PDF file of the DC's last document (the temporary file while it is handed to `lp`, which is deleted
// once `lp` took it).
CString GetPrinterDocumentPath(HDC dc);
// The image of the page being drawn.
cairo_surface_t* GetPrinterPageSurface(HDC dc);
// Starts a fresh white page outside any document (the preview draws its pages so).
BOOL ResetPrinterPage(HDC dc);
// Draws the printer DC's page smoothly scaled into `rect` (logical units of `dc`), clipped as `dc` is.
BOOL DrawPrinterPage(HDC printerDC, HDC dc, const RECT* rect);
