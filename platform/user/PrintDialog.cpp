// The print and print-setup dialog: a CUPS destination (or a PDF file), paper, orientation and, when
// printing, the page range and copies; the choice goes back in DEVMODE and DEVNAMES blocks.
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/base/JoinPath.h"
#include "platform/base/Process.h"
#include "platform/user/ComboBox.h"
#include "platform/user/CommonDialogs.h"
#include "platform/user/Resources.h"

namespace {
thread_local DWORD t_lastError = 0;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(pos, end - pos);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.pop_back();
        if (!line.empty())
            lines.push_back(line);
        pos = end + 1;
    }
    return lines;
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home && *home)
        return home;
    struct passwd pw {};
    struct passwd* found = nullptr;
    char buffer[4096];
    if (getpwuid_r(getuid(), &pw, buffer, sizeof buffer, &found) == 0 && found && found->pw_dir)
        return found->pw_dir;
    return "/tmp";
}

std::string DefaultPdfPath() {
    return JoinPath(HomeFolder().c_str(), "print.pdf").GetString();
}

bool FolderOfFileExists(const std::string& path) {
    size_t slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    struct stat st {};
    return stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

HGLOBAL DevModeBlock(const DEVMODE& mode) {
    HGLOBAL block = GlobalAlloc(GHND, sizeof(DEVMODE));
    if (void* p = GlobalLock(block)) {
        std::memcpy(p, &mode, sizeof mode);
        GlobalUnlock(block);
    }
    return block;
}

struct Choice {
    std::string driver, device, output;
    DEVMODE mode{};
};

// The default printer: the default CUPS destination, else the PDF file.
Choice DefaultChoice(const std::vector<std::string>& destinations) {
    Choice c;
    if (!destinations.empty()) {
        c.driver = "lp";
        c.device = destinations.front();
    } else {
        c.driver = "PDF";
        c.device = PDF_FILE_DESTINATION;
        c.output = DefaultPdfPath();
    }
    InitDevMode(c.mode, c.device.c_str());
    return c;
}

struct Dialog {
    PRINTDLG* pd;
    std::vector<std::string> destinations;
    Choice choice;
    int copies = 1;
};

const short kPapers[] = {DMPAPER_LETTER, DMPAPER_LEGAL, DMPAPER_A4};

Dialog* Get(HWND dialog) {
    return reinterpret_cast<Dialog*>(GetWindowLongPtr(dialog, DWLP_USER));
}

bool PdfChosen(HWND dialog, Dialog* d) {
    int sel = (int)SendDlgItemMessage(dialog, IDC_PRINT_NAME, CB_GETCURSEL, 0, 0);
    return sel == (int)d->destinations.size();
}

void UpdateFileField(HWND dialog, Dialog* d) {
    EnableWindow(GetDlgItem(dialog, IDC_PRINT_FILE), PdfChosen(dialog, d));
}

void Init(HWND dialog, Dialog* d) {
    HWND names = GetDlgItem(dialog, IDC_PRINT_NAME);
    int sel = -1;
    for (size_t i = 0; i < d->destinations.size(); ++i) {
        SendMessage(names, CB_ADDSTRING, 0, (LPARAM)d->destinations[i].c_str());
        if (d->choice.driver == "lp" && d->choice.device == d->destinations[i])
            sel = (int)i;
    }
    SendMessage(names, CB_ADDSTRING, 0, (LPARAM)PDF_FILE_DESTINATION);
    if (sel < 0)
        sel = d->choice.driver == "PDF" || d->destinations.empty() ? (int)d->destinations.size() : 0;
    SendMessage(names, CB_SETCURSEL, sel, 0);
    SetDlgItemText(dialog, IDC_PRINT_FILE, d->choice.output.empty() ? DefaultPdfPath().c_str() : d->choice.output.c_str());
    UpdateFileField(dialog, d);

    HWND paper = GetDlgItem(dialog, IDC_PRINT_PAPER);
    int paperSel = 0;
    for (size_t i = 0; i < std::size(kPapers); ++i) {
        SendMessage(paper, CB_ADDSTRING, 0, (LPARAM)GetPaperName(kPapers[i]));
        if (kPapers[i] == d->choice.mode.dmPaperSize)
            paperSel = (int)i;
    }
    SendMessage(paper, CB_SETCURSEL, paperSel, 0);
    bool landscape = d->choice.mode.dmOrientation == DMORIENT_LANDSCAPE;
    CheckDlgButton(dialog, landscape ? IDC_PRINT_LANDSCAPE : IDC_PRINT_PORTRAIT, BST_CHECKED);

    if (!(d->pd->Flags & PD_PRINTSETUP)) {
        SetDlgItemInt(dialog, IDC_PRINT_COPIES, (UINT)d->copies, FALSE);
        DWORD f = d->pd->Flags;
        int range = (f & PD_PAGENUMS) && !(f & PD_NOPAGENUMS) ? IDC_PRINT_PAGES
                    : (f & PD_SELECTION) && !(f & PD_NOSELECTION) ? IDC_PRINT_SELECTION
                                                                  : IDC_PRINT_ALL;
        CheckDlgButton(dialog, range, BST_CHECKED);
        if (!(f & PD_NOPAGENUMS)) {
            SetDlgItemInt(dialog, IDC_PRINT_FROM, d->pd->nFromPage ? d->pd->nFromPage : d->pd->nMinPage, FALSE);
            SetDlgItemInt(dialog, IDC_PRINT_TO, d->pd->nToPage ? d->pd->nToPage : d->pd->nMaxPage, FALSE);
        }
    }
    SetFocus(names);
}

void Refuse(HWND dialog, int id) {
    MessageBeep(MB_ICONEXCLAMATION);
    SendMessage(dialog, WM_NEXTDLGCTL, (WPARAM)GetDlgItem(dialog, id), TRUE);
}

// Reads the dialog into the choice; FALSE (after pointing at the field) when a field is not acceptable.
bool Accept(HWND dialog, Dialog* d) {
    Choice& c = d->choice;
    if (PdfChosen(dialog, d)) {
        std::string file = GetWindowTextString(GetDlgItem(dialog, IDC_PRINT_FILE)).GetString();
        if (file.empty() || file.back() == '/' || !FolderOfFileExists(file)) {
            Refuse(dialog, IDC_PRINT_FILE);
            return false;
        }
        c.driver = "PDF";
        c.device = PDF_FILE_DESTINATION;
        c.output = file;
    } else {
        int sel = (int)SendDlgItemMessage(dialog, IDC_PRINT_NAME, CB_GETCURSEL, 0, 0);
        if (sel < 0 || sel >= (int)d->destinations.size()) {
            Refuse(dialog, IDC_PRINT_NAME);
            return false;
        }
        c.driver = "lp";
        c.device = d->destinations[(size_t)sel];
        c.output.clear();
    }
    std::memset(c.mode.dmDeviceName, 0, sizeof c.mode.dmDeviceName);
    std::strncpy(reinterpret_cast<char*>(c.mode.dmDeviceName), c.device.c_str(), CCHDEVICENAME - 1);
    int paper = (int)SendDlgItemMessage(dialog, IDC_PRINT_PAPER, CB_GETCURSEL, 0, 0);
    if (paper >= 0 && paper < (int)std::size(kPapers)) {
        SIZE tenths{};
        c.mode.dmPaperSize = kPapers[paper];
        GetPaperSize(kPapers[paper], tenths);
        c.mode.dmPaperWidth = (int16_t)tenths.cx;
        c.mode.dmPaperLength = (int16_t)tenths.cy;
    }
    c.mode.dmOrientation =
        IsDlgButtonChecked(dialog, IDC_PRINT_LANDSCAPE) == BST_CHECKED ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    c.mode.dmFields |= DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES;

    PRINTDLG* pd = d->pd;
    if (pd->Flags & PD_PRINTSETUP)
        return true;
    BOOL ok = FALSE;
    UINT copies = GetDlgItemInt(dialog, IDC_PRINT_COPIES, &ok, FALSE);
    if (!ok || copies < 1 || copies > 999) {
        Refuse(dialog, IDC_PRINT_COPIES);
        return false;
    }
    DWORD range = PD_ALLPAGES;
    WORD from = pd->nFromPage, to = pd->nToPage;
    if (!(pd->Flags & PD_NOPAGENUMS) && IsDlgButtonChecked(dialog, IDC_PRINT_PAGES) == BST_CHECKED) {
        BOOL okFrom = FALSE, okTo = FALSE;
        UINT f = GetDlgItemInt(dialog, IDC_PRINT_FROM, &okFrom, FALSE);
        UINT t = GetDlgItemInt(dialog, IDC_PRINT_TO, &okTo, FALSE);
        if (!okFrom || f < pd->nMinPage || f > pd->nMaxPage) {
            Refuse(dialog, IDC_PRINT_FROM);
            return false;
        }
        if (!okTo || t < f || t > pd->nMaxPage) {
            Refuse(dialog, IDC_PRINT_TO);
            return false;
        }
        range = PD_PAGENUMS;
        from = (WORD)f;
        to = (WORD)t;
    } else if (!(pd->Flags & PD_NOSELECTION) && IsDlgButtonChecked(dialog, IDC_PRINT_SELECTION) == BST_CHECKED) {
        range = PD_SELECTION;
    }
    pd->Flags = (pd->Flags & ~(DWORD)(PD_PAGENUMS | PD_SELECTION)) | range;
    pd->nFromPage = from;
    pd->nToPage = to;
    d->copies = (int)copies;
    return true;
}

INT_PTR PrintProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_INITDIALOG:
            SetWindowLongPtr(dialog, DWLP_USER, lParam);
            Init(dialog, reinterpret_cast<Dialog*>(lParam));
            return FALSE;
        case WM_COMMAND: {
            Dialog* d = Get(dialog);
            if (!d)
                return FALSE;
            if (LOWORD(wParam) == IDC_PRINT_NAME && HIWORD(wParam) == CBN_SELCHANGE) {
                UpdateFileField(dialog, d);
                return TRUE;
            }
            if (LOWORD(wParam) == IDOK) {
                if (Accept(dialog, d))
                    EndDialog(dialog, IDOK);
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
            return FALSE;
        }
        default:
            return FALSE;
    }
}

DialogTemplate BuildTemplate(DWORD flags) {
    bool setup = flags & PD_PRINTSETUP;
    DialogTemplate t{0,
                     WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER,
                     0,
                     0,
                     0,
                     280,
                     (short)(setup ? 140 : 196),
                     setup ? "Print Setup" : "Print",
                     "MS Sans Serif",
                     8,
                     {}};
    auto add = [&](const char* cls, const char* text, int id, int x, int y, int cx, int cy, DWORD style) {
        t.items.push_back({cls, text, id, (short)x, (short)y, (short)cx, (short)cy, (DWORD)(WS_VISIBLE | style), 0});
    };
    add(WC_BUTTON, "Printer", -1, 7, 4, 266, 48, BS_GROUPBOX);
    add(WC_STATIC, "&Name:", -1, 14, 18, 36, 8, SS_LEFT);
    add(WC_COMBOBOX, "", IDC_PRINT_NAME, 54, 16, 212, 80, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST);
    add(WC_STATIC, "&File:", -1, 14, 34, 36, 8, SS_LEFT);
    add(WC_EDIT, "", IDC_PRINT_FILE, 54, 32, 212, 12, WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL);
    add(WC_BUTTON, "Paper", -1, 7, 56, 160, 30, BS_GROUPBOX);
    add(WC_STATIC, "Si&ze:", -1, 14, 70, 36, 8, SS_LEFT);
    add(WC_COMBOBOX, "", IDC_PRINT_PAPER, 54, 68, 106, 60, WS_TABSTOP | CBS_DROPDOWNLIST);
    add(WC_BUTTON, "Orientation", -1, 173, 56, 100, 42, BS_GROUPBOX);
    add(WC_BUTTON, "P&ortrait", IDC_PRINT_PORTRAIT, 180, 68, 80, 10, WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON);
    add(WC_BUTTON, "L&andscape", IDC_PRINT_LANDSCAPE, 180, 82, 80, 10, BS_AUTORADIOBUTTON);
    int y = 104;
    if (!setup) {
        add(WC_BUTTON, "Print range", -1, 7, 102, 160, 66, BS_GROUPBOX);
        add(WC_BUTTON, "&All", IDC_PRINT_ALL, 14, 114, 60, 10, WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON);
        if (!(flags & PD_NOSELECTION))
            add(WC_BUTTON, "&Selection", IDC_PRINT_SELECTION, 14, 128, 60, 10, BS_AUTORADIOBUTTON);
        if (!(flags & PD_NOPAGENUMS)) {
            add(WC_BUTTON, "&Pages", IDC_PRINT_PAGES, 14, 142, 40, 10, BS_AUTORADIOBUTTON);
            add(WC_STATIC, "&from:", -1, 56, 143, 20, 8, SS_LEFT);
            add(WC_EDIT, "", IDC_PRINT_FROM, 78, 141, 26, 12, WS_TABSTOP | WS_GROUP | WS_BORDER | ES_NUMBER);
            add(WC_STATIC, "&to:", -1, 108, 143, 14, 8, SS_LEFT);
            add(WC_EDIT, "", IDC_PRINT_TO, 124, 141, 26, 12, WS_TABSTOP | WS_BORDER | ES_NUMBER);
        }
        add(WC_BUTTON, "Copies", -1, 173, 102, 100, 30, BS_GROUPBOX);
        add(WC_STATIC, "Number of &copies:", -1, 180, 116, 60, 8, SS_LEFT);
        add(WC_EDIT, "", IDC_PRINT_COPIES, 242, 114, 24, 12, WS_TABSTOP | WS_GROUP | WS_BORDER | ES_NUMBER);
        y = 176;
    }
    y = setup ? 118 : 176;
    add(WC_BUTTON, "OK", IDOK, 169, y, 50, 14, WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON);
    add(WC_BUTTON, "Cancel", IDCANCEL, 223, y, 50, 14, WS_TABSTOP);
    return t;
}

// Replaces a caller's block with a new one.
void Replace(HGLOBAL& slot, HGLOBAL block) {
    if (slot)
        GlobalFree(slot);
    slot = block;
}
}  // namespace

DWORD CommDlgExtendedError() {
    return t_lastError;
}

void SetCommDlgExtendedError(DWORD error) {
    t_lastError = error;
}

std::vector<std::string> GetPrinterDestinations() {
    std::string out;
    DWORD code = 0;
    std::vector<std::string> destinations;
    if (!RunProgramForOutput("lpstat -e", out, code) || code != 0)
        return destinations;
    for (const std::string& line : Lines(out))
        if (std::find(destinations.begin(), destinations.end(), line) == destinations.end())
            destinations.push_back(line);
    std::string def;
    if (RunProgramForOutput("lpstat -d", out, code) && code == 0) {
        const std::string marker = "system default destination: ";
        for (const std::string& line : Lines(out))
            if (line.compare(0, marker.size(), marker) == 0)
                def = line.substr(marker.size());
    }
    auto at = std::find(destinations.begin(), destinations.end(), def);
    if (at != destinations.end())
        std::rotate(destinations.begin(), at, at + 1);
    return destinations;
}

HGLOBAL CreateDevNames(LPCTSTR driver, LPCTSTR device, LPCTSTR output, BOOL isDefault) {
    std::string texts[3] = {driver ? driver : "", device ? device : "", output ? output : ""};
    size_t size = sizeof(DEVNAMES);
    for (const std::string& t : texts)
        size += t.size() + 1;
    if (size > 0xFFFF)
        return nullptr;
    HGLOBAL block = GlobalAlloc(GHND, size);
    auto* bytes = static_cast<BYTE*>(GlobalLock(block));
    if (!bytes)
        return nullptr;
    DEVNAMES names{};
    uint16_t* offsets[3] = {&names.wDriverOffset, &names.wDeviceOffset, &names.wOutputOffset};
    size_t at = sizeof(DEVNAMES);
    for (int i = 0; i < 3; ++i) {
        *offsets[i] = (uint16_t)at;
        std::memcpy(bytes + at, texts[i].c_str(), texts[i].size() + 1);
        at += texts[i].size() + 1;
    }
    names.wDefault = isDefault ? DN_DEFAULTPRN : 0;
    std::memcpy(bytes, &names, sizeof names);
    GlobalUnlock(block);
    return block;
}

BOOL ReadDevNames(HGLOBAL block, std::string& driver, std::string& device, std::string& output) {
    size_t size = block ? GlobalSize(block) : 0;
    if (size < sizeof(DEVNAMES))
        return FALSE;
    auto* bytes = static_cast<const BYTE*>(GlobalLock(block));
    if (!bytes)
        return FALSE;
    DEVNAMES names;
    std::memcpy(&names, bytes, sizeof names);
    uint16_t offsets[3] = {names.wDriverOffset, names.wDeviceOffset, names.wOutputOffset};
    std::string* texts[3] = {&driver, &device, &output};
    BOOL ok = TRUE;
    for (int i = 0; i < 3 && ok; ++i) {
        if (offsets[i] < sizeof(DEVNAMES) || offsets[i] >= size) {
            ok = FALSE;
            break;
        }
        const void* end = std::memchr(bytes + offsets[i], 0, size - offsets[i]);
        if (!end) {
            ok = FALSE;
            break;
        }
        texts[i]->assign(reinterpret_cast<const char*>(bytes + offsets[i]));
    }
    GlobalUnlock(block);
    return ok;
}

BOOL ReadDevMode(HGLOBAL block, DEVMODE& mode) {
    size_t size = block ? GlobalSize(block) : 0;
    if (size < sizeof(DEVMODE))
        return FALSE;
    const void* bytes = GlobalLock(block);
    BOOL ok = IsValidDevMode(bytes, size);
    if (ok)
        std::memcpy(&mode, bytes, sizeof mode);
    GlobalUnlock(block);
    return ok;
}

HDC CreatePrinterDCFromBlocks(HGLOBAL devNames, HGLOBAL devMode) {
    std::string driver, device, output;
    if (!ReadDevNames(devNames, driver, device, output))
        return nullptr;
    DEVMODE mode{};
    bool hasMode = ReadDevMode(devMode, mode);
    return CreateDC(driver.c_str(), device.c_str(), output.c_str(), hasMode ? &mode : nullptr);
}

BOOL PrintDlg(LPPRINTDLG pd) {
    t_lastError = 0;
    if (!pd || pd->lStructSize < sizeof(PRINTDLG)) {
        t_lastError = CDERR_STRUCTSIZE;
        return FALSE;
    }
    Dialog d;
    d.pd = pd;
    d.destinations = GetPrinterDestinations();
    d.choice = DefaultChoice(d.destinations);
    bool isDefault = true;

    if (pd->Flags & PD_RETURNDEFAULT) {
        if (pd->hDevMode || pd->hDevNames) {
            t_lastError = PDERR_NODEFAULTPRN;
            return FALSE;
        }
    } else {
        // Blocks too short for our layout, or damaged, are no printer chosen.
        Choice given;
        DEVMODE mode{};
        if (ReadDevNames(pd->hDevNames, given.driver, given.device, given.output) && ReadDevMode(pd->hDevMode, mode) &&
            (given.driver == "lp" || given.driver == "PDF")) {
            given.mode = mode;
            given.mode.dmSize = sizeof(DEVMODE);
            given.mode.dmDriverExtra = 0;
            if (given.driver == "PDF" && given.output.empty())
                given.output = DefaultPdfPath();
            if (given.driver == "PDF")
                given.device = PDF_FILE_DESTINATION;
            d.choice = given;
        }
        if (pd->Flags & PD_USEDEVMODECOPIESANDCOLLATE)
            d.copies = std::max<int>(1, d.choice.mode.dmCopies);
        else
            d.copies = std::max<int>(1, pd->nCopies);
        DialogTemplate t = BuildTemplate(pd->Flags);
        HWND owner = pd->hwndOwner ? pd->hwndOwner : GetActiveWindow();
        if (DialogBoxIndirectParam(nullptr, &t, owner, PrintProc, (LPARAM)&d) != IDOK)
            return FALSE;
        isDefault = d.choice.driver == "lp" ? (!d.destinations.empty() && d.choice.device == d.destinations.front())
                                            : d.destinations.empty();
        if (!(pd->Flags & PD_PRINTSETUP)) {
            if (pd->Flags & PD_USEDEVMODECOPIESANDCOLLATE) {
                d.choice.mode.dmCopies = (int16_t)d.copies;
                pd->nCopies = 1;
            } else {
                d.choice.mode.dmCopies = 1;
                pd->nCopies = (WORD)d.copies;
            }
        }
    }
    Replace(pd->hDevMode, DevModeBlock(d.choice.mode));
    Replace(pd->hDevNames, CreateDevNames(d.choice.driver.c_str(), d.choice.device.c_str(), d.choice.output.c_str(),
                                          isDefault));
    pd->hDC = nullptr;
    if (pd->Flags & (PD_RETURNDC | PD_RETURNIC))
        pd->hDC = CreatePrinterDCFromBlocks(pd->hDevNames, pd->hDevMode);
    return TRUE;
}
