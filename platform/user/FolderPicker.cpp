// The folder picker: a tree of folders under "/" and the home folder, opened down to the starting folder,
// with the chosen folder's path in an edit field. Folders are read when they are first opened, by the one
// directory walk, so linked folders never make a loop and an unreadable folder simply shows no children.
#include "platform/user/FolderPicker.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "platform/base/DirWalk.h"
#include "platform/base/JoinPath.h"
#include "platform/user/Resources.h"
#include "platform/user/TreeView.h"

namespace {
enum { kTreeId = 100, kPathId = 101, kPathLabelId = 102 };

struct Picker {
    std::string start;              // canonical
    std::string home;               // canonical
    std::deque<std::string> paths;  // each tree item's folder, by its parameter
    CString chosen;
};

bool IsFolder(const std::string& path) {
    struct stat st {};
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The absolute path without links, "." or ".."; empty when there is no such folder.
std::string Canonical(const std::string& path) {
    if (path.empty())
        return {};
    char* real = realpath(path.c_str(), nullptr);
    if (!real)
        return {};
    std::string r(real);
    std::free(real);
    return IsFolder(r) ? r : std::string();
}

std::string HomeFolder() {
    const char* env = getenv("HOME");
    std::string home = env && *env ? Canonical(env) : std::string();
    if (home.empty()) {
        struct passwd pw {};
        struct passwd* found = nullptr;
        char buffer[4096];
        if (getpwuid_r(getuid(), &pw, buffer, sizeof buffer, &found) == 0 && found && found->pw_dir)
            home = Canonical(found->pw_dir);
    }
    return home.empty() ? std::string("/") : home;
}

// Whether a folder holds a real sub-folder (links to folders are not entered, as in the walk). Reads only
// up to the first one found.
bool HasSubFolder(const std::string& path) {
    int fd = OpenFolder(path.c_str());
    if (fd < 0)
        return false;
    DIR* dir = fdopendir(fd);
    if (!dir) {
        close(fd);
        return false;
    }
    bool found = false;
    while (struct dirent* e = readdir(dir)) {
        if (!std::strcmp(e->d_name, ".") || !std::strcmp(e->d_name, ".."))
            continue;
        if (e->d_type == DT_DIR) {
            found = true;
        } else if (e->d_type == DT_UNKNOWN) {
            struct stat st {};
            found = fstatat(dirfd(dir), e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
        }
        if (found)
            break;
    }
    closedir(dir);
    return found;
}

Picker* Get(HWND dialog) {
    return reinterpret_cast<Picker*>(GetWindowLongPtr(dialog, DWLP_USER));
}

HTREEITEM AddItem(HWND tree, Picker* p, HTREEITEM parent, const std::string& text, const std::string& path) {
    p->paths.push_back(path);
    TVINSERTSTRUCT ins{};
    ins.hParent = parent;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN;
    ins.item.pszText = const_cast<char*>(text.c_str());
    ins.item.lParam = (LPARAM)(p->paths.size() - 1);
    ins.item.cChildren = HasSubFolder(path) ? 1 : 0;
    return (HTREEITEM)SendMessage(tree, TVM_INSERTITEM, 0, (LPARAM)&ins);
}

const std::string* PathOf(Picker* p, LPARAM param) {
    return param >= 0 && (size_t)param < p->paths.size() ? &p->paths[(size_t)param] : nullptr;
}

// The sub-folders of an item, read when it is first opened.
void Fill(HWND tree, Picker* p, HTREEITEM item, LPARAM param) {
    if (SendMessage(tree, TVM_GETNEXTITEM, TVGN_CHILD, (LPARAM)item))
        return;
    const std::string* folder = PathOf(p, param);
    if (!folder)
        return;
    std::string base = *folder;
    std::vector<DirEntry> entries;
    if (!ReadFolder(base.c_str(), entries))
        return;
    for (const DirEntry& e : entries)
        if (e.isFolder)
            AddItem(tree, p, item, e.name.GetString(), JoinPath(base.c_str(), e.name).GetString());
}

HTREEITEM FindChild(HWND tree, HTREEITEM parent, const std::string& name) {
    char text[4096];
    for (auto c = (HTREEITEM)SendMessage(tree, TVM_GETNEXTITEM, TVGN_CHILD, (LPARAM)parent); c;
         c = (HTREEITEM)SendMessage(tree, TVM_GETNEXTITEM, TVGN_NEXT, (LPARAM)c)) {
        TVITEM it{};
        it.mask = TVIF_TEXT;
        it.hItem = c;
        it.pszText = text;
        it.cchTextMax = sizeof text;
        if (SendMessage(tree, TVM_GETITEM, 0, (LPARAM)&it) && name == text)
            return c;
    }
    return nullptr;
}

// Opens the tree from a root down to the starting folder, as far as it can be read, and selects it open.
void OpenAtStart(HWND tree, HTREEITEM root, const std::string& rootPath, const std::string& start) {
    HTREEITEM at = root;
    std::string rest = start.size() > rootPath.size() ? start.substr(rootPath.size()) : std::string();
    size_t pos = 0;
    while (pos < rest.size()) {
        while (pos < rest.size() && rest[pos] == '/')
            ++pos;
        size_t end = rest.find('/', pos);
        if (end == std::string::npos)
            end = rest.size();
        if (end == pos)
            break;
        SendMessage(tree, TVM_EXPAND, TVE_EXPAND, (LPARAM)at);
        HTREEITEM child = FindChild(tree, at, rest.substr(pos, end - pos));
        if (!child)
            break;
        at = child;
        pos = end;
    }
    SendMessage(tree, TVM_EXPAND, TVE_EXPAND, (LPARAM)at);  // its sub-folders are in view
    SendMessage(tree, TVM_SELECTITEM, TVGN_CARET, (LPARAM)at);
    // As many of its sub-folders in view as fit below it.
    HTREEITEM last = nullptr;
    for (auto c = (HTREEITEM)SendMessage(tree, TVM_GETNEXTITEM, TVGN_CHILD, (LPARAM)at); c;
         c = (HTREEITEM)SendMessage(tree, TVM_GETNEXTITEM, TVGN_NEXT, (LPARAM)c))
        last = c;
    if (last)
        SendMessage(tree, TVM_ENSUREVISIBLE, 0, (LPARAM)last);
    SendMessage(tree, TVM_ENSUREVISIBLE, 0, (LPARAM)at);
}

bool Under(const std::string& path, const std::string& folder) {
    if (folder == "/")
        return true;
    return path == folder || (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
                              path[folder.size()] == '/');
}

void Init(HWND dialog, Picker* p) {
    HWND tree = GetDlgItem(dialog, kTreeId);
    HTREEITEM top = AddItem(tree, p, TVI_ROOT, "/", "/");
    HTREEITEM home = p->home != "/" ? AddItem(tree, p, TVI_ROOT, p->home, p->home) : nullptr;
    if (home && Under(p->start, p->home))
        OpenAtStart(tree, home, p->home, p->start);
    else
        OpenAtStart(tree, top, "/", p->start);
    SetFocus(tree);
}

// The field's text as a folder: absolute, without a trailing '/' (except "/" itself); empty when it is
// not an existing folder.
std::string ChosenFolder(const std::string& text) {
    if (text.empty() || text[0] != '/' || !IsFolder(text))
        return {};
    std::string r = text;
    while (r.size() > 1 && r.back() == '/')
        r.pop_back();
    return r;
}

INT_PTR PickerProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_INITDIALOG:
            SetWindowLongPtr(dialog, DWLP_USER, lParam);
            Init(dialog, reinterpret_cast<Picker*>(lParam));
            return FALSE;  // the tree has the focus
        case WM_NOTIFY: {
            auto* nm = reinterpret_cast<NMTREEVIEW*>(lParam);
            Picker* p = Get(dialog);
            if (!p || !nm || nm->hdr.idFrom != kTreeId)
                return FALSE;
            if (nm->hdr.code == TVN_ITEMEXPANDING && (nm->action & TVE_EXPAND))
                Fill(nm->hdr.hwndFrom, p, nm->itemNew.hItem, nm->itemNew.lParam);
            if (nm->hdr.code == TVN_SELCHANGED && nm->itemNew.hItem)
                if (const std::string* path = PathOf(p, nm->itemNew.lParam))
                    SetDlgItemText(dialog, kPathId, path->c_str());
            return FALSE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                Picker* p = Get(dialog);
                std::string folder =
                    ChosenFolder(GetWindowTextString(GetDlgItem(dialog, kPathId)).GetString());
                if (!p || folder.empty()) {
                    // Not a folder: the user corrects the field.
                    MessageBeep(MB_ICONEXCLAMATION);
                    SendMessage(dialog, WM_NEXTDLGCTL, (WPARAM)GetDlgItem(dialog, kPathId), TRUE);
                    return TRUE;
                }
                p->chosen = folder.c_str();
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}
}  // namespace

BOOL BrowseForFolder(HWND owner, LPCTSTR title, LPCTSTR start, CString& chosen) {
    Picker picker;
    picker.home = HomeFolder();
    picker.start = Canonical(start ? start : "");
    if (picker.start.empty())
        picker.start = picker.home;
    DialogTemplate t{0,
                     WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER,
                     0,
                     0,
                     0,
                     236,
                     206,
                     title ? title : "",
                     "MS Sans Serif",
                     8,
                     {}};
    t.items.push_back({WC_TREEVIEW, "", kTreeId, 7, 7, 222, 150,
                       WS_VISIBLE | WS_TABSTOP | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                           TVS_SHOWSELALWAYS,
                       0});
    t.items.push_back({WC_STATIC, "&Folder:", kPathLabelId, 7, 165, 28, 8, WS_VISIBLE | SS_LEFT, 0});
    t.items.push_back(
        {WC_EDIT, "", kPathId, 37, 163, 192, 12, WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 0});
    t.items.push_back(
        {WC_BUTTON, "OK", IDOK, 125, 185, 50, 14, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0});
    t.items.push_back({WC_BUTTON, "Cancel", IDCANCEL, 179, 185, 50, 14, WS_VISIBLE | WS_TABSTOP, 0});
    INT_PTR r =
        DialogBoxIndirectParam(nullptr, &t, owner ? owner : GetActiveWindow(), PickerProc, (LPARAM)&picker);
    if (r != IDOK)
        return FALSE;
    chosen = picker.chosen;
    return TRUE;
}
