// The file open and save dialog over the real file system: the folder's sub-folders and the files its
// filter matches (the one wildcard matcher and the one directory walk), a typed name or path, and a
// multi-selection of files.
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/base/DirWalk.h"
#include "platform/base/JoinPath.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Wildcard.h"
#include "platform/user/ComboBox.h"
#include "platform/user/CommonDialogs.h"
#include "platform/user/ListView.h"
#include "platform/user/Resources.h"
#include "platform/user/Toolbar.h"

namespace {
struct Filter {
    std::string description;
    std::vector<std::string> patterns;
};

struct State {
    OPENFILENAME* ofn;
    bool save;
    std::string title;
    std::string folder;  // absolute, no trailing '/' (but "/")
    std::vector<Filter> filters;
    std::vector<std::string> patterns;   // in force
    std::vector<DirEntry> shown;         // the list's rows after "..", in order
    bool hasUp = false;                  // the first row is ".."
    std::vector<std::string> chosen;     // full paths
    bool hooked = false;                 // a hook window hears of every change
    bool explorer = false;               // hooked and resizable: the Explorer layout
    HWND hook = nullptr;
    SIZE client{0, 0};                   // the client size the layout was last made for
};

bool Hooked(const OPENFILENAME* ofn) {
    return (ofn->Flags & OFN_ENABLEHOOK) && ofn->lpfnHook;
}

// The file list: the dialog's own, or inside the shell view of the Explorer layout.
HWND FileList(HWND dialog) {
    if (HWND list = GetDlgItem(dialog, IDC_FILE_LIST))
        return list;
    HWND view = GetDlgItem(dialog, IDC_FILE_VIEW);
    return view ? GetDlgItem(view, IDC_FILE_LIST) : nullptr;
}

// Tells the hook window what happened.
void NotifyHook(HWND dialog, State* s, UINT code) {
    if (!s->hook || !IsWindow(s->hook))
        return;
    OFNOTIFY n{};
    n.hdr.hwndFrom = dialog;
    n.hdr.code = code;
    n.lpOFN = s->ofn;
    n.pszFile = s->ofn->lpstrFile;
    SendMessage(s->hook, WM_NOTIFY, 0, (LPARAM)&n);
}

// The shell view: holds the file list, keeps it filling its client area and passes its notifications on
// to the dialog.
LRESULT ShellViewProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_SIZE:
            if (HWND list = GetDlgItem(hwnd, IDC_FILE_LIST))
                MoveWindow(list, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
            return 0;
        case WM_NOTIFY:
        case WM_COMMAND:
            return SendMessage(GetParent(hwnd), msg, wParam, lParam);
        default:
            return DefWindowProc(hwnd, msg, wParam, lParam);
    }
}

void RegisterShellView() {
    static const bool registered = [] {
        WNDCLASS wc{};
        wc.lpfnWndProc = ShellViewProc;
        wc.lpszClassName = "SHELLDLL_DefView";
        wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
        RegisterClass(&wc);
        return true;
    }();
    (void)registered;
}

bool IsFolder(const std::string& path) {
    struct stat st {};
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool Exists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

std::vector<std::string> SplitPatterns(const std::string& text) {
    std::vector<std::string> out;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find(';', pos);
        if (end == std::string::npos)
            end = text.size();
        std::string p = text.substr(pos, end - pos);
        while (!p.empty() && p.front() == ' ')
            p.erase(p.begin());
        while (!p.empty() && p.back() == ' ')
            p.pop_back();
        if (!p.empty())
            out.push_back(p);
        pos = end + 1;
    }
    return out;
}

std::vector<Filter> ReadFilters(LPCTSTR text) {
    std::vector<Filter> filters;
    if (!text)
        return filters;
    while (*text) {
        Filter f;
        f.description = text;
        text += f.description.size() + 1;
        if (!*text)
            break;
        f.patterns = SplitPatterns(text);
        text += std::strlen(text) + 1;
        filters.push_back(f);
    }
    return filters;
}

// Removes "." and ".." and repeated '/' from an absolute path.
std::string Normalise(const std::string& path) {
    std::vector<std::string> parts;
    size_t pos = 0;
    while (pos < path.size()) {
        size_t end = path.find('/', pos);
        if (end == std::string::npos)
            end = path.size();
        std::string part = path.substr(pos, end - pos);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        pos = end + 1;
    }
    std::string out;
    for (const std::string& p : parts)
        out += "/" + p;
    return out.empty() ? "/" : out;
}

std::string CurrentFolder() {
    char buffer[PATH_MAX];
    return getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string("/");
}

std::string Absolute(const State& s, const std::string& name) {
    return Normalise(!name.empty() && name[0] == '/' ? name : s.folder + "/" + name);
}

bool Matches(const State& s, const std::string& name) {
    if (s.patterns.empty())
        return true;
    for (const std::string& p : s.patterns)
        if (MatchWildcard(p, name))
            return true;
    return false;
}

State* Get(HWND dialog) {
    return reinterpret_cast<State*>(GetWindowLongPtr(dialog, DWLP_USER));
}

void AddRow(HWND list, int index, const std::string& text) {
    LVITEM item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = const_cast<char*>(text.c_str());
    SendMessage(list, LVM_INSERTITEM, 0, (LPARAM)&item);
}

void Refresh(HWND dialog, State* s) {
    if (s->explorer) {
        HWND lookIn = GetDlgItem(dialog, IDC_FILE_LOOKIN);
        SendMessage(lookIn, CB_RESETCONTENT, 0, 0);
        SendMessage(lookIn, CB_ADDSTRING, 0, (LPARAM)s->folder.c_str());
        SendMessage(lookIn, CB_SETCURSEL, 0, 0);
    } else {
        SetDlgItemText(dialog, IDC_FILE_FOLDER, s->folder.c_str());
    }
    HWND list = FileList(dialog);
    SendMessage(list, LVM_DELETEALLITEMS, 0, 0);
    s->shown.clear();
    std::vector<DirEntry> entries;
    ReadFolder(s->folder.c_str(), entries);  // an unreadable folder shows no entries
    for (const DirEntry& e : entries)
        if (e.isFolder)
            s->shown.push_back(e);
    for (const DirEntry& e : entries)
        if (!e.isFolder && Matches(*s, e.name.GetString()))
            s->shown.push_back(e);
    s->hasUp = s->folder != "/";
    int row = 0;
    if (s->hasUp)
        AddRow(list, row++, "..");
    for (const DirEntry& e : s->shown)
        AddRow(list, row++, e.isFolder ? std::string(e.name.GetString()) + "/" : std::string(e.name.GetString()));
    NotifyHook(dialog, s, CDN_FOLDERCHANGE);
}

void Enter(HWND dialog, State* s, const std::string& folder) {
    s->folder = Normalise(folder);
    SetDlgItemText(dialog, IDC_FILE_NAME, "");
    Refresh(dialog, s);
}

// The row's entry, or null for ".." and outside the list.
const DirEntry* RowEntry(State* s, int row) {
    int i = row - (s->hasUp ? 1 : 0);
    return i >= 0 && i < (int)s->shown.size() ? &s->shown[(size_t)i] : nullptr;
}

std::vector<int> SelectedRows(HWND dialog) {
    HWND list = FileList(dialog);
    std::vector<int> rows;
    for (int i = (int)SendMessage(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED); i >= 0;
         i = (int)SendMessage(list, LVM_GETNEXTITEM, (WPARAM)i, LVNI_SELECTED))
        rows.push_back(i);
    return rows;
}

// The selected files go into the name field (quoted when there are several).
void SelectionToField(HWND dialog, State* s) {
    std::vector<std::string> names;
    for (int row : SelectedRows(dialog))
        if (const DirEntry* e = RowEntry(s, row); e && !e->isFolder)
            names.push_back(e->name.GetString());
    if (names.empty())
        return;
    std::string text;
    if (names.size() == 1) {
        text = names[0];
    } else {
        for (const std::string& n : names)
            text += (text.empty() ? "\"" : " \"") + n + "\"";
    }
    SetDlgItemText(dialog, IDC_FILE_NAME, text.c_str());
}

// Names typed into the field: "a" "b" as several names, else the whole text as one.
std::vector<std::string> TypedNames(const std::string& text) {
    std::vector<std::string> names;
    if (text.find('"') == std::string::npos) {
        std::string t = text;
        while (!t.empty() && t.back() == ' ')
            t.pop_back();
        while (!t.empty() && t.front() == ' ')
            t.erase(t.begin());
        if (!t.empty())
            names.push_back(t);
        return names;
    }
    size_t pos = 0;
    while ((pos = text.find('"', pos)) != std::string::npos) {
        size_t end = text.find('"', pos + 1);
        if (end == std::string::npos)
            end = text.size();
        if (end > pos + 1)
            names.push_back(text.substr(pos + 1, end - pos - 1));
        pos = end + 1;
        if (pos >= text.size())
            break;
    }
    return names;
}

bool HasWildcard(const std::string& name) {
    return name.find_first_of("*?") != std::string::npos;
}

std::string WithDefaultExtension(const State& s, const std::string& path) {
    if (!s.ofn->lpstrDefExt || !*s.ofn->lpstrDefExt)
        return path;
    size_t slash = path.rfind('/');
    std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
    if (name.find('.') != std::string::npos)
        return path;
    std::string ext = s.ofn->lpstrDefExt;
    if (!ext.empty() && ext[0] == '.')
        ext.erase(ext.begin());
    return path + "." + ext;
}

int Say(HWND dialog, State* s, const std::string& text, UINT type) {
    return MessageBox(dialog, text.c_str(), s->title.c_str(), type);
}

// Checks the names typed or chosen; TRUE when the dialog may close with them.
bool Accept(HWND dialog, State* s) {
    std::vector<std::string> names = TypedNames(GetWindowTextString(GetDlgItem(dialog, IDC_FILE_NAME)).GetString());
    if (names.empty()) {
        // Enter on a selected folder opens it.
        std::vector<int> rows = SelectedRows(dialog);
        if (rows.size() == 1) {
            if (s->hasUp && rows[0] == 0) {
                Enter(dialog, s, s->folder + "/..");
            } else if (const DirEntry* e = RowEntry(s, rows[0]); e && e->isFolder) {
                Enter(dialog, s, s->folder + "/" + e->name.GetString());
            }
        }
        return false;
    }
    bool multi = (s->ofn->Flags & OFN_ALLOWMULTISELECT) && !s->save;
    if (names.size() > 1 && !multi) {
        Say(dialog, s, names[0] + "\nThe file name is not valid.", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    if (names.size() == 1) {
        const std::string& name = names[0];
        if (HasWildcard(name)) {
            // A pattern typed into the field filters the list.
            std::string path = Absolute(*s, name);
            size_t slash = path.rfind('/');
            std::string folder = slash == 0 ? "/" : path.substr(0, slash);
            if (IsFolder(folder)) {
                s->folder = folder;
                s->patterns = {path.substr(slash + 1)};
                Refresh(dialog, s);
            }
            return false;
        }
        std::string path = Absolute(*s, name);
        if (IsFolder(path)) {
            Enter(dialog, s, path);
            return false;
        }
    }
    std::vector<std::string> paths;
    for (const std::string& name : names) {
        std::string path = Absolute(*s, name);
        if (!Exists(path))
            path = WithDefaultExtension(*s, path);
        if (names.size() > 1 && path.substr(0, path.rfind('/')) != (s->folder == "/" ? "" : s->folder)) {
            Say(dialog, s, name + "\nThe file name is not valid.", MB_OK | MB_ICONEXCLAMATION);
            return false;
        }
        size_t slash = path.rfind('/');
        std::string folder = slash == 0 ? "/" : path.substr(0, slash);
        if (!IsFolder(folder)) {
            Say(dialog, s, name + "\nPath does not exist.\nCheck the path and try again.", MB_OK | MB_ICONEXCLAMATION);
            return false;
        }
        if (!s->save && (s->ofn->Flags & OFN_FILEMUSTEXIST) && !Exists(path)) {
            Say(dialog, s, name + "\nFile not found.\nPlease verify the correct file name was given.",
                MB_OK | MB_ICONEXCLAMATION);
            return false;
        }
        if (s->save && Exists(path) && (s->ofn->Flags & OFN_OVERWRITEPROMPT) &&
            Say(dialog, s, path + " already exists.\nDo you want to replace it?", MB_YESNO | MB_ICONEXCLAMATION) !=
                IDYES)
            return false;
        paths.push_back(path);
    }
    s->chosen = paths;
    return true;
}

// The Explorer layout's parts made at run time: the list inside the shell view, the Up button.
void InitExplorerLayout(HWND dialog, State* s) {
    HWND view = GetDlgItem(dialog, IDC_FILE_VIEW);
    RECT rc{};
    GetClientRect(view, &rc);
    bool multi = (s->ofn->Flags & OFN_ALLOWMULTISELECT) && !s->save;
    CreateWindowEx(0, WC_LISTVIEW, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS |
                                           (multi ? 0 : LVS_SINGLESEL),
                   0, 0, rc.right, rc.bottom, view, (HMENU)(INT_PTR)IDC_FILE_LIST, nullptr, nullptr);
    HWND bar = GetDlgItem(dialog, IDC_FILE_TOOLBAR);
    SendMessage(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    int text = (int)SendMessage(bar, TB_ADDSTRING, 0, (LPARAM)"Up\0");
    TBBUTTON up{};
    up.iBitmap = I_IMAGENONE;
    up.idCommand = IDC_FILE_UP;
    up.fsState = TBSTATE_ENABLED;
    up.fsStyle = TBSTYLE_BUTTON;
    up.iString = text;
    SendMessage(bar, TB_ADDBUTTONS, 1, (LPARAM)&up);
    GetClientRect(dialog, &rc);
    s->client = SIZE{rc.right, rc.bottom};
}

// A resize of the Explorer layout: the list and the fields grow, the buttons keep to the corner.
void ArrangeExplorerLayout(HWND dialog, State* s, int cx, int cy) {
    int dx = cx - s->client.cx, dy = cy - s->client.cy;
    s->client = SIZE{cx, cy};
    if (!dx && !dy)
        return;
    struct Move {
        int id;
        int moveX, moveY, growX, growY;  // each 0 or 1: which changes the control takes
    } moves[] = {{IDC_FILE_LOOKIN, 0, 0, 1, 0},     {IDC_FILE_TOOLBAR, 1, 0, 0, 0},
                 {IDC_FILE_VIEW, 0, 0, 1, 1},       {IDC_FILE_NAME_LABEL, 0, 1, 0, 0},
                 {IDC_FILE_NAME, 0, 1, 1, 0},       {IDC_FILE_TYPES_LABEL, 0, 1, 0, 0},
                 {IDC_FILE_TYPES, 0, 1, 1, 0},      {IDOK, 1, 1, 0, 0},
                 {IDCANCEL, 1, 1, 0, 0}};
    for (const Move& m : moves) {
        HWND item = GetDlgItem(dialog, m.id);
        if (!item)
            continue;
        RECT r;
        GetWindowRect(item, &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        MoveWindow(item, r.left + m.moveX * dx, r.top + m.moveY * dy, r.right - r.left + m.growX * dx,
                   r.bottom - r.top + m.growY * dy, TRUE);
    }
}

void Init(HWND dialog, State* s) {
    if (s->explorer)
        InitExplorerLayout(dialog, s);
    HWND list = FileList(dialog);
    LVCOLUMN col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.pszText = const_cast<char*>("Name");
    RECT rc{};
    GetClientRect(list, &rc);
    col.cx = rc.right - rc.left - 4;
    SendMessage(list, LVM_INSERTCOLUMN, 0, (LPARAM)&col);
    HWND types = GetDlgItem(dialog, IDC_FILE_TYPES);
    for (const Filter& f : s->filters)
        SendMessage(types, CB_ADDSTRING, 0, (LPARAM)f.description.c_str());
    if (!s->filters.empty()) {
        size_t index = s->ofn->nFilterIndex >= 1 && s->ofn->nFilterIndex <= s->filters.size() ? s->ofn->nFilterIndex - 1 : 0;
        SendMessage(types, CB_SETCURSEL, (WPARAM)index, 0);
        s->patterns = s->filters[index].patterns;
    }
    HWND name = GetDlgItem(dialog, IDC_FILE_NAME);
    if (s->hooked) {
        // The hook's dialog: a hidden child without controls, told of every change from now on.
        static const DialogTemplate hookTemplate{0, WS_CHILD | DS_CONTROL, 0, 0, 0, 0, 0, "", nullptr, 0, {}};
        s->hook = CreateDialogIndirectParam(nullptr, &hookTemplate, dialog, (DLGPROC)s->ofn->lpfnHook,
                                            (LPARAM)s->ofn);
        NotifyHook(dialog, s, CDN_INITDONE);
    }
    Refresh(dialog, s);
    SetFocus(name);
    SendMessage(name, EM_SETSEL, 0, -1);
}

// The path the name field names (its first name), or the folder when it is empty.
std::string FieldPath(HWND dialog, State* s) {
    std::vector<std::string> names = TypedNames(GetWindowTextString(GetDlgItem(dialog, IDC_FILE_NAME)).GetString());
    return names.empty() ? s->folder : Absolute(*s, names[0]);
}

INT_PTR CopyOut(HWND dialog, const std::string& text, WPARAM size, LPARAM buffer) {
    if (buffer && size > 0) {
        size_t n = std::min<size_t>(text.size(), (size_t)size - 1);
        std::memcpy(reinterpret_cast<char*>(buffer), text.data(), n);
        reinterpret_cast<char*>(buffer)[n] = 0;
    }
    SetWindowLongPtr(dialog, DWLP_MSGRESULT, (LONG_PTR)text.size() + 1);
    return TRUE;
}

INT_PTR FileProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_INITDIALOG:
            SetWindowLongPtr(dialog, DWLP_USER, lParam);
            Init(dialog, reinterpret_cast<State*>(lParam));
            return FALSE;
        case WM_SIZE: {
            State* s = Get(dialog);
            if (s && s->explorer)
                ArrangeExplorerLayout(dialog, s, LOWORD(lParam), HIWORD(lParam));
            return FALSE;
        }
        case CDM_GETFILEPATH:
        case CDM_GETFOLDERPATH: {
            State* s = Get(dialog);
            if (!s)
                return FALSE;
            return CopyOut(dialog, msg == CDM_GETFILEPATH ? FieldPath(dialog, s) : s->folder, wParam, lParam);
        }
        case WM_NOTIFY: {
            State* s = Get(dialog);
            auto* nm = reinterpret_cast<NMHDR*>(lParam);
            if (!s || !nm || nm->idFrom != IDC_FILE_LIST)
                return FALSE;
            if (nm->code == LVN_ITEMCHANGED) {
                SelectionToField(dialog, s);
                NotifyHook(dialog, s, CDN_SELCHANGE);
            } else if (nm->code == NM_DBLCLK) {
                std::vector<int> rows = SelectedRows(dialog);
                if (rows.size() != 1)
                    return FALSE;
                if (s->hasUp && rows[0] == 0)
                    Enter(dialog, s, s->folder + "/..");
                else if (const DirEntry* e = RowEntry(s, rows[0]); e && e->isFolder)
                    Enter(dialog, s, s->folder + "/" + e->name.GetString());
                else if (Accept(dialog, s))
                    EndDialog(dialog, IDOK);
            }
            return FALSE;
        }
        case WM_COMMAND: {
            State* s = Get(dialog);
            if (!s)
                return FALSE;
            switch (LOWORD(wParam)) {
                case IDOK:
                    if (Accept(dialog, s))
                        EndDialog(dialog, IDOK);
                    return TRUE;
                case IDCANCEL:
                    EndDialog(dialog, IDCANCEL);
                    return TRUE;
                case IDC_FILE_UP:
                    Enter(dialog, s, s->folder + "/..");
                    return TRUE;
                case IDC_FILE_TYPES:
                    if (HIWORD(wParam) == CBN_SELCHANGE) {
                        int sel = (int)SendDlgItemMessage(dialog, IDC_FILE_TYPES, CB_GETCURSEL, 0, 0);
                        if (sel >= 0 && sel < (int)s->filters.size()) {
                            s->patterns = s->filters[(size_t)sel].patterns;
                            s->ofn->nFilterIndex = (DWORD)sel + 1;
                            Refresh(dialog, s);
                        }
                    }
                    return TRUE;
                default:
                    return FALSE;
            }
        }
        default:
            return FALSE;
    }
}

DialogTemplate BuildTemplate(const State& s) {
    bool multi = (s.ofn->Flags & OFN_ALLOWMULTISELECT) && !s.save;
    DialogTemplate t{0,
                     WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER,
                     0,
                     0,
                     0,
                     300,
                     220,
                     s.title.c_str(),
                     "MS Sans Serif",
                     8,
                     {}};
    auto add = [&](const char* cls, const char* text, int id, int x, int y, int cx, int cy, DWORD style) {
        t.items.push_back({cls, text, id, (short)x, (short)y, (short)cx, (short)cy, (DWORD)(WS_VISIBLE | style), 0});
    };
    bool hooked = s.explorer;
    if (hooked) {
        t.style = (t.style & ~(DWORD)DS_MODALFRAME) | WS_THICKFRAME;
        add(WC_STATIC, s.save ? "Save &in:" : "Look &in:", IDC_FILE_LOOKIN_LABEL, 7, 9, 36, 8, SS_LEFT);
        add(WC_COMBOBOX, "", IDC_FILE_LOOKIN, 46, 7, 180, 100, WS_TABSTOP | CBS_DROPDOWNLIST);
        add(TOOLBARCLASSNAME, "", IDC_FILE_TOOLBAR, 230, 5, 63, 14,
            TBSTYLE_FLAT | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER);
        add("SHELLDLL_DefView", "", IDC_FILE_VIEW, 7, 24, 286, 128, WS_BORDER);
    } else {
        add(WC_STATIC, s.save ? "Save &in:" : "Look &in:", -1, 7, 9, 36, 8, SS_LEFT);
        add(WC_STATIC, "", IDC_FILE_FOLDER, 46, 9, 196, 8, SS_LEFT | SS_NOPREFIX);
        add(WC_BUTTON, "&Up", IDC_FILE_UP, 246, 6, 47, 14, WS_TABSTOP);
        add(WC_LISTVIEW, "", IDC_FILE_LIST, 7, 24, 286, 128,
            WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS | (multi ? 0 : LVS_SINGLESEL));
    }
    add(WC_STATIC, "File &name:", hooked ? IDC_FILE_NAME_LABEL : -1, 7, 162, 50, 8, SS_LEFT);
    add(WC_EDIT, "", IDC_FILE_NAME, 62, 160, 170, 12, WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL);
    add(WC_STATIC, s.save ? "Save as &type:" : "Files of &type:", hooked ? IDC_FILE_TYPES_LABEL : -1, 7, 181, 52, 8,
        SS_LEFT);
    add(WC_COMBOBOX, "", IDC_FILE_TYPES, 62, 179, 170, 60, WS_TABSTOP | CBS_DROPDOWNLIST);
    add(WC_BUTTON, s.save ? "&Save" : "&Open", IDOK, 243, 159, 50, 14, WS_TABSTOP | BS_DEFPUSHBUTTON);
    add(WC_BUTTON, "Cancel", IDCANCEL, 243, 178, 50, 14, WS_TABSTOP);
    return t;
}

// Writes the result into the caller's buffer; FALSE when it does not fit.
bool Store(State& s) {
    OPENFILENAME* ofn = s.ofn;
    std::string out;
    std::string first = s.chosen.front();
    size_t slash = first.rfind('/');
    std::string folder = slash == 0 ? "/" : first.substr(0, slash);
    WORD offset = 0;
    if (s.chosen.size() > 1) {
        out = folder;
        out.push_back('\0');
        offset = (WORD)out.size();
        for (const std::string& p : s.chosen) {
            out += p.substr(p.rfind('/') + 1);
            out.push_back('\0');
        }
    } else {
        out = first;
        out.push_back('\0');
        offset = (WORD)(slash + 1);
    }
    out.push_back('\0');
    if (!ofn->lpstrFile || out.size() > ofn->nMaxFile) {
        SetCommDlgExtendedError(FNERR_BUFFERTOOSMALL);
        if (ofn->lpstrFile && ofn->nMaxFile >= 2) {
            WORD needed = (WORD)std::min<size_t>(out.size(), 0xFFFF);
            std::memcpy(ofn->lpstrFile, &needed, sizeof needed);
        }
        return false;
    }
    std::memcpy(ofn->lpstrFile, out.data(), out.size());
    ofn->nFileOffset = offset;
    ofn->nFileExtension = 0;
    if (s.chosen.size() == 1) {
        std::string name = first.substr(slash + 1);
        size_t dot = name.rfind('.');
        ofn->nFileExtension = dot == std::string::npos ? (WORD)0 : (WORD)(offset + dot + 1);
        if (ofn->lpstrFileTitle && ofn->nMaxFileTitle > name.size()) {
            std::memcpy(ofn->lpstrFileTitle, name.c_str(), name.size() + 1);
        }
    }
    return true;
}

BOOL Run(LPOPENFILENAME ofn, bool save) {
    SetCommDlgExtendedError(0);
    if (!ofn || ofn->lStructSize < sizeof(OPENFILENAME)) {
        SetCommDlgExtendedError(CDERR_STRUCTSIZE);
        return FALSE;
    }
    State s;
    s.ofn = ofn;
    s.save = save;
    s.title = ofn->lpstrTitle && *ofn->lpstrTitle ? ofn->lpstrTitle : (save ? "Save As" : "Open");
    s.filters = ReadFilters(ofn->lpstrFilter);
    s.hooked = Hooked(ofn);
    s.explorer = s.hooked && (ofn->Flags & OFN_ENABLESIZING);
    if (s.explorer)
        RegisterShellView();
    std::string start = ofn->lpstrFile ? std::string(ofn->lpstrFile, strnlen(ofn->lpstrFile, ofn->nMaxFile)) : "";
    std::string initialName = start;
    s.folder = CurrentFolder();
    if (ofn->lpstrInitialDir && IsFolder(ofn->lpstrInitialDir))
        s.folder = Normalise(Absolute(s, ofn->lpstrInitialDir));
    if (!start.empty() && start.find('/') != std::string::npos) {
        std::string path = Absolute(s, start);
        if (IsFolder(path)) {
            s.folder = path;
            initialName.clear();
        } else {
            size_t slash = path.rfind('/');
            std::string folder = slash == 0 ? "/" : path.substr(0, slash);
            if (IsFolder(folder))
                s.folder = folder;
            initialName = path.substr(slash + 1);
        }
    }
    DialogTemplate t = BuildTemplate(s);
    for (DialogItemTemplate& item : t.items)
        if (item.id == IDC_FILE_NAME)
            item.text = initialName.c_str();
    HWND owner = ofn->hwndOwner ? ofn->hwndOwner : GetActiveWindow();
    if (DialogBoxIndirectParam(nullptr, &t, owner, FileProc, (LPARAM)&s) != IDOK || s.chosen.empty())
        return FALSE;
    return Store(s) ? TRUE : FALSE;
}
}  // namespace

BOOL GetOpenFileName(LPOPENFILENAME ofn) {
    return Run(ofn, false);
}

BOOL GetSaveFileName(LPOPENFILENAME ofn) {
    return Run(ofn, true);
}
