#include "sifter/program/SifterDlg.h"

#include "platform/base/MessageBox.h"
#include "platform/base/Profile.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/Menu.h"
#include "platform/user/FolderPicker.h"
#include "platform/user/Shell.h"
#include "sifter/Path.h"
#include "sifter/program/FileProbe.h"
#include "sifter/program/LaunchTask.h"
#include "sifter/program/SifterApp.h"
#include "sifter/program/SifterCommandLine.h"
#include "sifter/program/SifterSettings.h"

namespace {
constexpr LPCTSTR kTitle = "Sifter V2.08";

CString ControlText(HWND dialog, int id) {
    return GetWindowTextString(::GetDlgItem(dialog, id));
}
}  // namespace

BEGIN_MESSAGE_MAP(CSifterDlg, CDialog)
ON_WM_CREATE()
ON_COMMAND(IDOK, OnSearch)
ON_COMMAND(ID_STARTSEARCH, OnSearch)
ON_COMMAND(IDCANCEL, OnCancel)
ON_WM_CLOSE()
ON_BN_CLICKED(IDC_SIZEFILTER, OnSizeFilterClicked)
ON_BN_CLICKED(IDC_BROWSE, OnBrowse)
ON_NOTIFY(NM_DBLCLK, IDC_RESULTS, OnDblClkList)
ON_MESSAGE(WM_CONTEXTMENU, OnContextMenu)
ON_COMMAND(ID_BINARYVIEWER, OnBinaryViewer)
ON_COMMAND(ID_TEXTVIEWER, OnTextViewer)
ON_COMMAND(ID_DEFAULTVIEWER, OnDefaultViewer)
ON_MESSAGE(WM_DRAWITEM, OnDrawItem)
ON_WM_SIZE()
ON_MESSAGE(WM_GETMINMAXINFO, OnGetMinMaxInfo)
ON_WM_PAINT()
ON_MESSAGE(WM_QUERYDRAGICON, OnQueryDragIcon)
END_MESSAGE_MAP()

CSifterDlg::CSifterDlg(CSifterApp* app, CWnd* parent) : CDialog(IDD, parent), m_pApp(app) {
    SifterSettings settings;
    settings.Load(AfxGetProfile());
    m_bSubFolders = settings.m_bSubFolders;
    m_bUseDefaultViewer = settings.m_bUseDefaultViewer;
    m_bHiddenFiles = settings.m_bHiddenFiles;
    m_sBaseFolder = settings.m_sLastBaseFolder;
    if (m_pApp && m_pApp->m_bMaskGiven)
        m_bSubFolders = m_pApp->m_bSubDirs;
    m_bSaveSettings = !(m_pApp && m_pApp->m_bExecNow);
}

CSifterDlg::~CSifterDlg() {
    if (m_hImageList)
        ImageList_Destroy(m_hImageList);
}

void CSifterDlg::DoDataExchange(CDataExchange* dx) {
    HWND h = m_hWnd;
    auto check = [&](int id, BOOL& value) {
        if (dx->m_bSaveAndValidate)
            value = IsDlgButtonChecked(h, id) == BST_CHECKED;
        else
            CheckDlgButton(h, id, value ? BST_CHECKED : BST_UNCHECKED);
    };
    auto text = [&](int id, CString& value) {
        if (dx->m_bSaveAndValidate)
            value = ControlText(h, id);
        else
            ::SetDlgItemText(h, id, value);
    };
    auto number = [&](int id, int& value) {
        if (dx->m_bSaveAndValidate) {
            BOOL ok = FALSE;
            int read = (int)GetDlgItemInt(h, id, &ok, TRUE);
            value = ok ? read : 0;
        } else {
            SetDlgItemInt(h, id, (UINT)value, TRUE);
        }
    };
    text(IDC_BASEFOLDER, m_sBaseFolder);
    text(IDC_FILEMASK, m_sFileMask);
    text(IDC_FINDTEXT, m_sFindText);
    check(IDC_SUBFOLDERS, m_bSubFolders);
    check(IDC_SIZEFILTER, m_bSizeFilter);
    number(IDC_MINSIZE, m_nMinSize);
    number(IDC_MAXSIZE, m_nMaxSize);
    const int radios[] = {IDC_REPLACELIST, IDC_ADDTOLIST, IDC_REMOVEFROMLIST};
    if (dx->m_bSaveAndValidate) {
        for (int i = 0; i < 3; ++i)
            if (IsDlgButtonChecked(h, radios[i]) == BST_CHECKED)
                m_nListMode = i;
    } else {
        for (int i = 0; i < 3; ++i)
            CheckDlgButton(h, radios[i], i == m_nListMode ? BST_CHECKED : BST_UNCHECKED);
    }
    check(IDC_USEDEFVIEWER, m_bUseDefaultViewer);
    check(IDC_HIDDENFILES, m_bHiddenFiles);
}

int CSifterDlg::OnCreate(LPCREATESTRUCT) {
    int result = (int)Default();
    if (result == -1)
        return -1;
    // A sizing border instead of the dialog frame; the client area keeps its size.
    RECT client;
    GetClientRect(&client);
    ModifyStyle(DS_MODALFRAME, WS_POPUP | WS_THICKFRAME);
    RECT frame = client;
    AdjustWindowRectEx(&frame, GetStyle(), FALSE, GetExStyle());
    SetWindowPos(nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return 0;
}

void CSifterDlg::InitColumns() {
    m_lcResults.SetColumns("Stuff", 5, "MCL_ALPHA,MCL_ALPHA,MCL_NUM,MCL_DDMMYYYY,MCL_ALPHA",
                           " Name                      , Folder                                , Size     "
                           ", Modified        , Search Text          ");
}

BOOL CSifterDlg::OnInitDialog() {
    m_hIcon = LoadIcon(nullptr, MAKEINTRESOURCE(IDR_MAINFRAME));
    SendMessage(WM_SETICON, ICON_BIG, (LPARAM)m_hIcon);
    SendMessage(WM_SETICON, ICON_SMALL, (LPARAM)m_hIcon);
    m_hImageList = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 1);
    ImageList_AddIcon(m_hImageList, LoadIcon(nullptr, MAKEINTRESOURCE(IDI_FILE)));
    m_lcResults.SubclassDlgItem(IDC_RESULTS, this);
    InitColumns();
    m_lcResults.SetEllipsis(TRUE);
    m_lcResults.SetOwnerDraw(TRUE);
    if (!m_lcResults.SendMessage(LVM_GETIMAGELIST, LVSIL_SMALL, 0))
        m_lcResults.SendMessage(LVM_SETIMAGELIST, LVSIL_SMALL, (LPARAM)m_hImageList);
    m_finder.SetCallback(&CSifterDlg::FinderProgress, this);

    if (m_pApp) {
        if (!m_pApp->m_sFileMask.IsEmpty())
            m_sFileMask = m_pApp->m_sFileMask;
        if (IsListFileMask(m_sFileMask)) {
            m_sFileMask.Empty();
            ReadListFile(m_pApp->m_sBasePath);
        }
        if (!m_sFileMask.IsEmpty() && m_pApp->m_sFindText.IsEmpty())
            m_pApp->m_sFindText = " ";
        if (!m_pApp->m_sFindText.IsEmpty())
            m_sFindText = m_pApp->m_sFindText;
        if (!m_pApp->m_sBasePath.IsEmpty()) {
            CString folder = m_pApp->m_sBasePath;
            if (folder[0] == '\'' || folder[0] == '"') {
                folder = folder.GetLength() >= 2 ? folder.Mid(1, folder.GetLength() - 2) : CString();
                folder.Trim();
            }
            m_sBaseFolder = folder;
        }
        if (m_pApp->m_bExecNow)
            m_bUseDefaultViewer = m_pApp->m_bUseDefViewer;
    }
    UpdateData(FALSE);
    OnSizeFilterClicked();
    SetWindowText(kTitle);
    if (m_pApp && m_pApp->m_bExecNow) {
        m_pApp->m_bExecNow = FALSE;
        PostMessage(WM_COMMAND, ID_STARTSEARCH, 0);
    }
    return TRUE;
}

void CSifterDlg::ReadListFile(const CString& baseFolder) {
    CString masks, path;
    if (!ReadListFileMasks(baseFolder, masks, path)) {
        CString message;
        message.Format("Unable to open file: %s", path.GetString());
        AfxMessageBox(message, MB_OK);
        return;
    }
    m_sFileMask += masks;
}

CString CSifterDlg::WrapMasks(const CString& field) {
    CString out;
    std::string text(field.GetString());
    size_t i = 0;
    while (i < text.size()) {
        size_t start = text.find_first_not_of(" ,;", i);
        if (start == std::string::npos)
            break;
        size_t end = text.find_first_of(" ,;", start);
        if (end == std::string::npos)
            end = text.size();
        std::string token = text.substr(start, end - start);
        if (token.find_first_of("*?") == std::string::npos)
            token = "*" + token + "*";
        if (!out.IsEmpty())
            out += " ";
        out += token.c_str();
        i = end;
    }
    return out.IsEmpty() ? CString("*") : out;
}

void CSifterDlg::OnSearch() {
    if (m_bSearching) {
        m_finder.StopSearch();
        return;
    }
    UpdateData(TRUE);
    CFindOptions options;
    if (!m_sFileMask.IsEmpty() && m_sFindText.IsEmpty())
        m_sFindText = " ";
    // A mask from the command line is used as written; an empty field means every file either way.
    CString maskField = m_sFileMask;
    maskField.Trim(" ,;");
    bool maskGiven = m_pApp && m_pApp->m_bMaskGiven && !maskField.IsEmpty();
    options.sFileMask = maskGiven ? m_sFileMask : WrapMasks(m_sFileMask);
    options.bSubfolders = m_bSubFolders;
    options.sBaseFolder = m_sBaseFolder;
    options.dwOptionsFlags |= FIND_ATTRIBUTES;
    options.dwFileAttributes = m_bHiddenFiles ? 0x927 : 0x20;
    if (m_bSizeFilter) {
        options.dwOptionsFlags |= FIND_SIZE;
        options.nMinSize = (LONGLONG)m_nMinSize * 1024;
        options.nMaxSize = (LONGLONG)m_nMaxSize * 1024;
    }
    if (!m_sFindText.IsEmpty()) {
        if (m_sFindText.Find("&&") >= 0 && m_sFindText.Find("||") >= 0) {
            AfxMessageBox("Syntax Error: Cannot have AND ('&&') and OR ('||') search operators combined!!!",
                          MB_ICONEXCLAMATION | MB_SETFOREGROUND);
            ::SetFocus(::GetDlgItem(m_hWnd, IDC_FINDTEXT));
            return;
        }
        if (m_pApp && m_pApp->m_sFindText != m_sFindText)
            m_pApp->m_sFindText = m_sFindText;
        options.dwOptionsFlags |= FIND_TEXT;
        options.sFindText = m_sFindText;
    }
    m_bSearching = TRUE;
    SetDlgItemText(IDOK, "Cancel");
    if (m_nListMode == SIFTER_LIST_REPLACE) {
        m_lcResults.DeleteAllItems();
        SetStatusText(0, nullptr);
    }
    m_finder.RemoveAll();
    m_finder.Search(&options);
    if (!::IsWindow(m_hWnd))
        return;
    SetDlgItemText(IDOK, "Search");
    SetStatusText(m_finder.GetFileCount(), nullptr);
    m_bSearching = FALSE;
    if (m_bQuitSeen) {
        m_bQuitSeen = FALSE;
        PostQuitMessage(m_nQuitCode);
    }
    if (m_bCloseAfterSearch) {
        m_bCloseAfterSearch = FALSE;
        OnClose();
    }
}

void CSifterDlg::FinderProgress(CFileFinder* finder, DWORD code, void* data) {
    auto* dlg = static_cast<CSifterDlg*>(data);
    dlg->m_sMatchedText = finder->GetMatchedText();
    switch (code) {
        case 0: {
            CString path = finder->GetFilePath(finder->GetFileCount() - 1).GetPath();
            if (path.IsEmpty())
                break;
            if (dlg->m_nListMode == SIFTER_LIST_REPLACE) {
                dlg->AddRow(path);
            } else if (dlg->m_nListMode == SIFTER_LIST_ADD) {
                if (dlg->FindRow(path) < 0)
                    dlg->AddRow(path);
            } else {
                int row = dlg->FindRow(path);
                if (row >= 0)
                    dlg->m_lcResults.DeleteItem(row);
            }
            break;
        }
        case 2:
            dlg->SetStatusText(finder->GetFileCount(), finder->GetCurrentFolder());
            break;
        case 3:
            if (!finder->GetCurrentFile().IsEmpty())
                dlg->SetStatusText(finder->GetFileCount(), finder->GetCurrentFile());
            break;
        default:
            break;
    }
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // The search ends first; the quit is posted again once it has returned.
            dlg->m_bQuitSeen = TRUE;
            dlg->m_nQuitCode = (int)msg.wParam;
            finder->StopSearch();
            break;
        }
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
}

void CSifterDlg::AddRow(LPCTSTR path) {
    CPath file(path);
    int row = m_lcResults.InsertRow(m_lcResults.GetItemCount(), file.GetFileName(), 0);
    if (row < 0)
        return;
    m_lcResults.SetCell(row, kFolderColumn, file.GetDriveAndFolder());
    ULONGLONG size = 0;
    file.GetFileSize(size);
    CString cell;
    if (size / 1024 > 9)
        cell.Format("%llu KB", (unsigned long long)(size / 1024));
    else
        cell.Format("%llu B", (unsigned long long)size);
    m_lcResults.SetCell(row, kSizeColumn, cell);
    CTime modified;
    if (file.GetFileTime(modified, 2))
        m_lcResults.SetCell(row, kModifiedColumn, modified.Format("%d-%m-%Y %I:%M %p"));
    m_lcResults.SetCell(row, kTextColumn, m_sMatchedText);
}

CString CSifterDlg::GetRowPath(int row) const {
    return m_lcResults.GetItemText(row, kFolderColumn) + m_lcResults.GetItemText(row, kNameColumn);
}

int CSifterDlg::FindRow(LPCTSTR path) const {
    CString wanted = path ? path : "";
    int rows = m_lcResults.GetItemCount();
    for (int row = 0; row < rows; ++row)
        if (GetRowPath(row) == wanted)
            return row;
    return -1;
}

void CSifterDlg::SetStatusText(int count, LPCTSTR text) {
    CString status;
    if (text)
        status.Format("(%d) - %s", count, text);
    else
        status.Format("%d items found", count);
    SetDlgItemText(IDC_STATUS, status);
}

void CSifterDlg::OnCancel() {
    if (m_bSearching)
        return;
    CDialog::OnCancel();
}

void CSifterDlg::OnClose() {
    if (m_bSearching) {
        m_bCloseAfterSearch = TRUE;
        m_finder.StopSearch();
        return;
    }
    SaveSettings();
    OnCancel();
}

void CSifterDlg::SaveSettings() {
    UpdateData(TRUE);
    SifterSettings settings;
    settings.m_sLastBaseFolder = m_sBaseFolder;
    settings.m_bSubFolders = m_bSubFolders;
    settings.m_bUseDefaultViewer = m_bUseDefaultViewer;
    settings.m_bHiddenFiles = m_bHiddenFiles;
    settings.Save(AfxGetProfile(), m_bSaveSettings);
}

void CSifterDlg::OnSizeFilterClicked() {
    BOOL on = IsDlgButtonChecked(m_hWnd, IDC_SIZEFILTER) == BST_CHECKED;
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_MINSIZE), on);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_MAXSIZE), on);
}

void CSifterDlg::OnBrowse() {
    CString folder = ControlText(m_hWnd, IDC_BASEFOLDER);
    CString chosen;
    if (BrowseForFolder(m_hWnd, "Select a directory...", folder, chosen))
        folder = chosen;
    SetDlgItemText(IDC_BASEFOLDER, folder);
}

int CSifterDlg::SelectedRow() const {
    int row = m_lcResults.GetSelectionMark();
    return row >= 0 && row < m_lcResults.GetItemCount() ? row : -1;
}

int CSifterDlg::ProbeFileType(LPCTSTR path) {
    CWaitCursor wait;
    int kind = ProbeFileBytes(path);
    if (kind == PROBE_UNREADABLE) {
        CString message;
        message.Format("Unable To Read File: %s", path);
        AfxMessageBox(message, MB_ICONEXCLAMATION | MB_SETFOREGROUND);
    }
    return kind;
}

void CSifterDlg::LaunchViewer(LPCTSTR program, int row, const CString& text) {
    LaunchTask(ViewerCommand(program, GetRowPath(row), text));
}

void CSifterDlg::OnDblClkList(NMHDR*, LRESULT* result) {
    *result = 0;
    int row = SelectedRow();
    if (row < 0)
        return;
    CWaitCursor wait;
    CString path = GetRowPath(row);
    CString text = m_lcResults.GetItemText(row, kTextColumn);
    int kind;
    if (IsDlgButtonChecked(m_hWnd, IDC_USEDEFVIEWER) != BST_CHECKED) {
        kind = ProbeFileType(path);
    } else {
        CString upper = path;
        upper.MakeUpper();
        kind = upper.Find(".TXT") >= 0 || upper.Find(".LOG") >= 0 ? PROBE_TEXT : -1;
    }
    if (kind == PROBE_TEXT)
        LaunchViewer("Scrivel", row, text);
    else if (kind == PROBE_BINARY)
        LaunchViewer("Bytescope", row, text);
    else
        ShellExecute(m_hWnd, "open", path, nullptr, nullptr, SW_SHOW);
}

LRESULT CSifterDlg::OnContextMenu(WPARAM, LPARAM lParam) {
    HMENU menu = LoadMenu(nullptr, MAKEINTRESOURCE(IDR_VIEWERMENU));
    if (!menu)
        return 0;
    HMENU popup = GetSubMenu(menu, 0);
    for (UINT id : {ID_BINARYVIEWER, ID_TEXTVIEWER, ID_DEFAULTVIEWER})
        EnableMenuItem(popup, id, MF_BYCOMMAND | MF_ENABLED);
    int x = (short)LOWORD(lParam), y = (short)HIWORD(lParam);
    if (lParam == (LPARAM)-1) {
        RECT r;
        GetWindowRect(&r);
        x = r.left;
        y = r.top;
    }
    TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, 0, m_hWnd, nullptr);
    DestroyMenu(menu);
    return 0;
}

void CSifterDlg::OnBinaryViewer() {
    int row = SelectedRow();
    if (row < 0)
        return;
    CWaitCursor wait;
    LaunchViewer("Bytescope", row, ControlText(m_hWnd, IDC_FINDTEXT));
}

void CSifterDlg::OnTextViewer() {
    int row = SelectedRow();
    if (row < 0)
        return;
    CWaitCursor wait;
    LaunchViewer("Scrivel", row, ControlText(m_hWnd, IDC_FINDTEXT));
}

void CSifterDlg::OnDefaultViewer() {
    int row = SelectedRow();
    if (row < 0)
        return;
    CWaitCursor wait;
    // The opener gets the path as one argument, so it is never quoted.
    ShellExecute(m_hWnd, "open", GetRowPath(row), nullptr, nullptr, SW_SHOW);
}

LRESULT CSifterDlg::OnDrawItem(WPARAM id, LPARAM item) {
    if (id != IDC_RESULTS)
        return Default();
    m_lcResults.DrawRow(reinterpret_cast<LPDRAWITEMSTRUCT>(item));
    return TRUE;
}

void CSifterDlg::OnSize(UINT, int cx, int cy) {
    Default();
    HWND list = ::GetDlgItem(m_hWnd, IDC_RESULTS);
    if (!list)
        return;
    RECT r;
    ::GetWindowRect(list, &r);
    POINT topLeft{r.left, r.top};
    ScreenToClient(&topLeft);
    int width = cx - 2 * topLeft.x, height = cy - topLeft.y - topLeft.x;
    ::MoveWindow(list, topLeft.x, topLeft.y, width > 0 ? width : 0, height > 0 ? height : 0, TRUE);
}

LRESULT CSifterDlg::OnGetMinMaxInfo(WPARAM, LPARAM lParam) {
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    if (!m_bMinTrackSet && m_hWnd && IsWindowVisible()) {
        RECT r;
        GetWindowRect(&r);
        m_ptMinTrack = POINT{r.right - r.left, r.bottom - r.top};
        m_bMinTrackSet = TRUE;
    }
    if (m_bMinTrackSet && info)
        info->ptMinTrackSize = m_ptMinTrack;
    return 0;
}

void CSifterDlg::OnPaint() {
    if (!IsIconic(m_hWnd)) {
        Default();
        return;
    }
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hWnd, &ps);
    RECT client;
    GetClientRect(&client);
    int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, m_hIcon);
    EndPaint(m_hWnd, &ps);
}

LRESULT CSifterDlg::OnQueryDragIcon(WPARAM, LPARAM) {
    return (LRESULT)m_hIcon;
}
