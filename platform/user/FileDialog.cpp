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
};

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
    SetDlgItemText(dialog, IDC_FILE_FOLDER, s->folder.c_str());
    HWND list = GetDlgItem(dialog, IDC_FILE_LIST);
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
    HWND list = GetDlgItem(dialog, IDC_FILE_LIST);
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

void Init(HWND dialog, State* s) {
    HWND list = GetDlgItem(dialog, IDC_FILE_LIST);
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
    Refresh(dialog, s);
    HWND name = GetDlgItem(dialog, IDC_FILE_NAME);
    SetFocus(name);
    SendMessage(name, EM_SETSEL, 0, -1);
}

INT_PTR FileProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_INITDIALOG:
            SetWindowLongPtr(dialog, DWLP_USER, lParam);
            Init(dialog, reinterpret_cast<State*>(lParam));
            return FALSE;
        case WM_NOTIFY: {
            State* s = Get(dialog);
            auto* nm = reinterpret_cast<NMHDR*>(lParam);
            if (!s || !nm || nm->idFrom != IDC_FILE_LIST)
                return FALSE;
            if (nm->code == LVN_ITEMCHANGED) {
                SelectionToField(dialog, s);
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
    add(WC_STATIC, s.save ? "Save &in:" : "Look &in:", -1, 7, 9, 36, 8, SS_LEFT);
    add(WC_STATIC, "", IDC_FILE_FOLDER, 46, 9, 196, 8, SS_LEFT | SS_NOPREFIX);
    add(WC_BUTTON, "&Up", IDC_FILE_UP, 246, 6, 47, 14, WS_TABSTOP);
    add(WC_LISTVIEW, "", IDC_FILE_LIST, 7, 24, 286, 128,
        WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS | (multi ? 0 : LVS_SINGLESEL));
    add(WC_STATIC, "File &name:", -1, 7, 162, 50, 8, SS_LEFT);
    add(WC_EDIT, "", IDC_FILE_NAME, 62, 160, 170, 12, WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL);
    add(WC_STATIC, s.save ? "Save as &type:" : "Files of &type:", -1, 7, 181, 52, 8, SS_LEFT);
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
