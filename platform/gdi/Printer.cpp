#include <cairo-pdf.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/base/CommandLine.h"
#include "platform/base/Process.h"
#include "platform/gdi/GdiInternal.h"
#include "platform/gdi/Printing.h"

namespace gdi {

// A text drawn on the page, kept for the PDF's text layer.
struct PrinterText {
    cairo_matrix_t placement;
    cairo_font_face_t* face;  // referenced
    double em, baseline;
    std::string utf8;
};

struct PrinterJob {
    ~PrinterJob() {
        Drop();
        ClearTexts();
    }

    std::string driver;  // "lp" or "PDF"
    std::string device;
    std::string output;  // the file a "PDF" DC keeps its document in
    DEVMODE mode{};
    cairo_surface_t* pdf = nullptr;
    std::string path;       // the document's file
    bool temporary = false;  // the file is ours to delete once `lp` has it
    bool pageOpen = false;
    int pages = 0;
    std::vector<PrinterText> texts;  // of the page being drawn

    void ClearTexts() {
        for (PrinterText& t : texts)
            cairo_font_face_destroy(t.face);
        texts.clear();
    }

    // Ends the PDF surface, leaving the file as it is.
    void Finish() {
        if (pdf) {
            cairo_surface_finish(pdf);
            cairo_surface_destroy(pdf);
            pdf = nullptr;
        }
    }
    // Drops an unfinished document and its temporary file.
    void Drop() {
        if (!pdf)
            return;
        Finish();
        if (temporary && !path.empty())
            ::unlink(path.c_str());
    }
};

void RecordPrinterText(DeviceContext& dc, const cairo_matrix_t& placement, cairo_font_face_t* face, double em,
                       double baseline, const std::string& utf8) {
    if (!dc.m_printer || !face)
        return;
    dc.m_printer->texts.push_back(PrinterText{placement, cairo_font_face_reference(face), em, baseline, utf8});
}

}  // namespace gdi

using namespace gdi;

namespace {
struct Paper {
    short id;
    const char* name;
    SIZE tenths;
};
const Paper kPapers[] = {
    {DMPAPER_LETTER, "Letter", {2159, 2794}},
    {DMPAPER_LEGAL, "Legal", {2159, 3556}},
    {DMPAPER_A4, "A4", {2100, 2970}},
};

const Paper* FindPaper(short id) {
    for (const Paper& p : kPapers)
        if (p.id == id)
            return &p;
    return nullptr;
}

// The page in printer pixels for a device mode (Letter portrait without one).
SIZE PagePixels(const DEVMODE* mode) {
    SIZE tenths = kPapers[0].tenths;
    bool landscape = false;
    if (mode) {
        if (const Paper* p = FindPaper(mode->dmPaperSize))
            tenths = p->tenths;
        landscape = mode->dmOrientation == DMORIENT_LANDSCAPE;
    }
    SIZE px{(LONG)(tenths.cx * PRINTER_DPI / 254), (LONG)(tenths.cy * PRINTER_DPI / 254)};
    if (landscape)
        std::swap(px.cx, px.cy);
    return px;
}

std::shared_ptr<DeviceContext> FindPrinter(HDC hdc) {
    auto dc = FindDC(hdc);
    return dc && dc->m_printer ? dc : nullptr;
}

// A fresh white page of the device mode's size for the DC.
void NewPage(DeviceContext& dc) {
    SIZE px = PagePixels(&dc.m_printer->mode);
    cairo_surface_t* page = CreateImageSurface(px.cx, px.cy, RGB(255, 255, 255));
    dc.SetSurface(page);
    cairo_surface_destroy(page);
    dc.m_baseClip = Region(RECT{0, 0, px.cx, px.cy});
    dc.m_printer->ClearTexts();
}

std::string TemporaryPdf() {
    const char* dir = std::getenv("TMPDIR");
    std::string pattern = std::string(dir && *dir ? dir : "/tmp") + "/print-XXXXXX.pdf";
    int fd = ::mkstemps(pattern.data(), 4);
    if (fd < 0)
        return {};
    ::close(fd);
    return pattern;
}
}  // namespace

BOOL GetPaperSize(short paper, SIZE& tenthsOfMm) {
    const Paper* p = FindPaper(paper);
    if (!p)
        return FALSE;
    tenthsOfMm = p->tenths;
    return TRUE;
}

LPCTSTR GetPaperName(short paper) {
    const Paper* p = FindPaper(paper);
    return p ? p->name : nullptr;
}

void InitDevMode(DEVMODE& mode, LPCTSTR deviceName) {
    std::memset(&mode, 0, sizeof mode);
    if (deviceName)
        std::strncpy(reinterpret_cast<char*>(mode.dmDeviceName), deviceName, CCHDEVICENAME - 1);
    mode.dmSpecVersion = DM_SPECVERSION;
    mode.dmSize = sizeof(DEVMODE);
    mode.dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES | DM_COLLATE;
    mode.dmOrientation = DMORIENT_PORTRAIT;
    mode.dmPaperSize = DMPAPER_LETTER;
    mode.dmPaperLength = (int16_t)kPapers[0].tenths.cy;
    mode.dmPaperWidth = (int16_t)kPapers[0].tenths.cx;
    mode.dmScale = 100;
    mode.dmCopies = 1;
    mode.dmPrintQuality = PRINTER_DPI;
    mode.dmYResolution = PRINTER_DPI;
    mode.dmCollate = DMCOLLATE_TRUE;
}

BOOL IsValidDevMode(const void* block, size_t bytes) {
    if (!block || bytes < sizeof(DEVMODE))
        return FALSE;
    uint16_t size = 0;
    std::memcpy(&size, static_cast<const BYTE*>(block) + offsetof(DEVMODE, dmSize), sizeof size);
    return size >= sizeof(DEVMODE);
}

HDC CreateDC(LPCTSTR driver, LPCTSTR device, LPCTSTR output, const DEVMODE* mode) {
    std::string drv = driver ? driver : "";
    if ((drv != "lp" && drv != "PDF") || (drv == "lp" && (!device || !*device))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto job = std::make_shared<PrinterJob>();
    job->driver = drv;
    job->device = device ? device : "";
    job->output = output ? output : "";
    if (mode && IsValidDevMode(mode, sizeof *mode))
        job->mode = *mode;
    else
        InitDevMode(job->mode, device);
    SIZE px = PagePixels(&job->mode);
    cairo_surface_t* page = CreateImageSurface(px.cx, px.cy, RGB(255, 255, 255));
    HDC hdc = CreateSurfaceDC(page, POINT{0, 0}, nullptr, 0);
    cairo_surface_destroy(page);
    if (auto dc = FindDC(hdc)) {
        dc->m_logPixels = PRINTER_DPI;
        dc->m_printer = job;
    }
    return hdc;
}

HDC ResetDC(HDC hdc, const DEVMODE* mode) {
    auto dc = FindPrinter(hdc);
    if (!dc || !mode || !IsValidDevMode(mode, sizeof *mode))
        return nullptr;
    DEVMODE& kept = dc->m_printer->mode;
    if (mode->dmFields & DM_ORIENTATION)
        kept.dmOrientation = mode->dmOrientation;
    if ((mode->dmFields & DM_PAPERSIZE) && FindPaper(mode->dmPaperSize))
        kept.dmPaperSize = mode->dmPaperSize;
    if (mode->dmFields & DM_COPIES)
        kept.dmCopies = mode->dmCopies;
    if (!dc->m_printer->pageOpen)
        NewPage(*dc);
    return hdc;
}

BOOL IsPrinterDC(HDC hdc) {
    return FindPrinter(hdc) != nullptr;
}

int StartDoc(HDC hdc, const DOCINFO* info) {
    auto dc = FindPrinter(hdc);
    if (!dc)
        return SP_ERROR;
    PrinterJob& job = *dc->m_printer;
    job.Drop();
    job.pages = 0;
    job.pageOpen = false;
    std::string output = info && info->lpszOutput && *info->lpszOutput ? info->lpszOutput : "";
    if (output.empty() && job.driver == "PDF")
        output = job.output;
    if (output.empty() && job.driver == "PDF") {
        SetLastError(ERROR_INVALID_PARAMETER);
        return SP_ERROR;
    }
    job.temporary = output.empty();
    job.path = job.temporary ? TemporaryPdf() : output;
    if (job.path.empty())
        return SP_ERROR;
    SIZE px = PagePixels(&job.mode);
    job.pdf = cairo_pdf_surface_create(job.path.c_str(), px.cx * 72.0 / PRINTER_DPI, px.cy * 72.0 / PRINTER_DPI);
    if (cairo_surface_status(job.pdf) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(job.pdf);
        job.pdf = nullptr;
        if (job.temporary)
            ::unlink(job.path.c_str());
        SetLastError(ERROR_ACCESS_DENIED);
        return SP_ERROR;
    }
    if (info && info->lpszDocName)
        cairo_pdf_surface_set_metadata(job.pdf, CAIRO_PDF_METADATA_TITLE, info->lpszDocName);
    static int jobs = 0;
    return ++jobs;
}

int StartPage(HDC hdc) {
    auto dc = FindPrinter(hdc);
    if (!dc || !dc->m_printer->pdf)
        return SP_ERROR;
    NewPage(*dc);
    dc->m_printer->pageOpen = true;
    return 1;
}

int EndPage(HDC hdc) {
    auto dc = FindPrinter(hdc);
    if (!dc || !dc->m_printer->pdf || !dc->m_printer->pageOpen)
        return SP_ERROR;
    PrinterJob& job = *dc->m_printer;
    int w = cairo_image_surface_get_width(dc->m_surface), h = cairo_image_surface_get_height(dc->m_surface);
    cairo_pdf_surface_set_size(job.pdf, w * 72.0 / PRINTER_DPI, h * 72.0 / PRINTER_DPI);
    cairo_t* cr = cairo_create(job.pdf);
    cairo_scale(cr, 72.0 / PRINTER_DPI, 72.0 / PRINTER_DPI);
    // The texts go beneath the page's picture, which covers them: readers find them, nobody sees them.
    for (const PrinterText& t : job.texts) {
        cairo_save(cr);
        cairo_transform(cr, &t.placement);
        cairo_set_font_face(cr, t.face);
        cairo_set_font_size(cr, t.em);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_move_to(cr, 0, t.baseline);
        cairo_show_text(cr, t.utf8.c_str());
        cairo_restore(cr);
    }
    job.ClearTexts();
    cairo_surface_flush(dc->m_surface);
    cairo_set_source_surface(cr, dc->m_surface, 0, 0);
    cairo_paint(cr);
    cairo_show_page(cr);
    cairo_destroy(cr);
    job.pageOpen = false;
    ++job.pages;
    return 1;
}

int EndDoc(HDC hdc) {
    auto dc = FindPrinter(hdc);
    if (!dc || !dc->m_printer->pdf)
        return SP_ERROR;
    PrinterJob& job = *dc->m_printer;
    if (job.pageOpen)
        EndPage(hdc);
    job.Finish();
    if (!job.temporary)
        return 1;
    std::vector<std::string> args{"lp", "-d", job.device};
    if ((job.mode.dmFields & DM_COPIES) && job.mode.dmCopies > 1)
        args.insert(args.end(), {"-n", std::to_string(job.mode.dmCopies)});
    args.push_back(job.path);
    std::string line = BuildCommandLine(args);
    std::string said;
    DWORD code = 0;
    if (!RunProgramForOutput(line.c_str(), said, code) || code != 0) {
        job.temporary = false;  // the only copy of the document now: kept
        return SP_ERROR;
    }
    ::unlink(job.path.c_str());
    return 1;
}

int AbortDoc(HDC hdc) {
    auto dc = FindPrinter(hdc);
    if (!dc)
        return SP_ERROR;
    PrinterJob& job = *dc->m_printer;
    if (job.pdf) {
        job.Finish();
        ::unlink(job.path.c_str());  // an aborted document is not kept, not even where it was asked for
    }
    job.pageOpen = false;
    return 1;
}

CString GetPrinterDocumentPath(HDC hdc) {
    auto dc = FindPrinter(hdc);
    return dc ? CString(dc->m_printer->path.c_str()) : CString();
}

cairo_surface_t* GetPrinterPageSurface(HDC hdc) {
    auto dc = FindPrinter(hdc);
    return dc ? dc->m_surface : nullptr;
}

BOOL ResetPrinterPage(HDC hdc) {
    auto dc = FindPrinter(hdc);
    if (!dc || dc->m_printer->pageOpen)
        return FALSE;
    NewPage(*dc);
    return TRUE;
}

BOOL DrawPrinterPage(HDC printerDC, HDC hdc, const RECT* rect) {
    auto printer = FindPrinter(printerDC);
    auto dc = FindDC(hdc);
    if (!printer || !dc || !rect || !dc->m_surface || !printer->m_surface)
        return FALSE;
    RECT to = dc->DevRect(rect->left, rect->top, rect->right, rect->bottom);
    int pw = cairo_image_surface_get_width(printer->m_surface), ph = cairo_image_surface_get_height(printer->m_surface);
    if (to.right <= to.left || to.bottom <= to.top || pw <= 0 || ph <= 0)
        return FALSE;
    cairo_surface_flush(printer->m_surface);
    cairo_t* cr = cairo_create(dc->m_surface);
    Region clip = dc->EffectiveClip();
    for (const RECT& c : clip.Rects())
        cairo_rectangle(cr, c.left, c.top, c.right - c.left, c.bottom - c.top);
    cairo_clip(cr);
    cairo_translate(cr, to.left, to.top);
    cairo_scale(cr, (double)(to.right - to.left) / pw, (double)(to.bottom - to.top) / ph);
    cairo_set_source_surface(cr, printer->m_surface, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_rectangle(cr, 0, 0, pw, ph);
    cairo_fill(cr);
    cairo_destroy(cr);
    cairo_surface_mark_dirty(dc->m_surface);
    return TRUE;
}
