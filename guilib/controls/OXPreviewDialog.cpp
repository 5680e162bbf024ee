#include "guilib/controls/OXPreviewDialog.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <map>

#include "guilib/controls/OXLibraryResources.h"
#include "platform/framework/app/WinThread.h"
#include "platform/user/ImageList.h"
#include "platform/user/Resources.h"
#include "platform/user/ToolTip.h"
#include "platform/user/Toolbar.h"

IMPLEMENT_DYNAMIC(COXPreviewWnd, CWnd)
IMPLEMENT_DYNAMIC(COXPreviewDialog, CFileDialog)

namespace {
const char* const kSection = "COXPreviewDialog Settings";
const char* const kNoPreview = "Preview not available.";
constexpr int kMinWidth = 50;
constexpr UINT kSizeWestEastCursor = 32644;  // the system's west-east sizing arrow  // neither the file list nor the pane gets narrower by a drag

// The dialog windows of running preview dialogs, for their shared window procedure.
std::map<HWND, COXPreviewDialog*>& DialogMap() {
    static std::map<HWND, COXPreviewDialog*> map;
    return map;
}

bool IsFile(const CString& path) {
    struct stat st {};
    return !path.IsEmpty() && stat(path, &st) == 0 && S_ISREG(st.st_mode);
}

int Width(const RECT& r) {
    return r.right - r.left;
}

// The first child of a class (and, when asked, wider than high).
HWND FindChild(HWND dialog, const char* className, bool widerThanHigh) {
    for (HWND child = dialog ? ::GetWindow(dialog, GW_CHILD) : nullptr; child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        char name[64] = "";
        ::GetClassName(child, name, sizeof name);
        RECT r;
        ::GetWindowRect(child, &r);
        if (std::strcmp(name, className) == 0 && (!widerThanHigh || Width(r) > r.bottom - r.top))
            return child;
    }
    return nullptr;
}

bool IsEmpty(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}
}  // namespace

// ---- COXPreviewWnd

BOOL COXPreviewWnd::Create(CWnd* parent, const RECT& rect, UINT id) {
    static const bool registered = [] {
        WNDCLASS wc{};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = ::DefWindowProc;
        wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
        wc.lpszClassName = "OXPreviewWnd";
        ::RegisterClass(&wc);
        return true;
    }();
    (void)registered;
    return CWnd::CreateEx(WS_EX_STATICEDGE, "OXPreviewWnd", "", WS_CHILD | WS_VISIBLE, rect, parent, id);
}

LRESULT COXPreviewWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND)
        return TRUE;
    if (message == WM_PAINT) {
        CPaintDC dc(this);
        RECT rc;
        GetClientRect(&rc);
        if (m_pOwner)
            m_pOwner->PaintPreview(&dc, rc);
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

// ---- COXPreviewDialog

COXPreviewDialog::COXPreviewDialog(BOOL openFileDialog, LPCTSTR defExt, LPCTSTR fileName, DWORD flags,
                                   LPCTSTR filter, CWnd* parent)
    : CFileDialog(openFileDialog, defExt, fileName, flags, filter, parent, 0, TRUE), m_wndPreview(this) {
    // Explorer-style and resizable.
    m_ofn.Flags |= OFN_ENABLESIZING;
}

COXPreviewDialog::~COXPreviewDialog() {
    for (auto it = DialogMap().begin(); it != DialogMap().end();)
        it = it->second == this ? DialogMap().erase(it) : std::next(it);
}

HWND COXPreviewDialog::GetShellToolbar() const {
    return FindChild(Dialog(), TOOLBARCLASSNAME, true);
}

HWND COXPreviewDialog::GetShellView() const {
    return FindChild(Dialog(), "SHELLDLL_DefView", false);
}

RECT COXPreviewDialog::ChildRect(HWND child) const {
    RECT r{0, 0, 0, 0};
    if (child) {
        ::GetWindowRect(child, &r);
        ::MapWindowPoints(nullptr, Dialog(), reinterpret_cast<POINT*>(&r), 2);
    }
    return r;
}

void COXPreviewDialog::MoveChild(HWND child, const RECT& r) {
    if (child)
        ::MoveWindow(child, r.left, r.top, Width(r), r.bottom - r.top, TRUE);
}

void COXPreviewDialog::RecordViewSize() {
    RECT view = ChildRect(GetShellView());
    m_nLastWidth = Width(view);
    m_nLastHeight = view.bottom - view.top;
}

void COXPreviewDialog::SetDragLimits() {
    RECT view = ChildRect(GetShellView());
    m_rectSplitter = RECT{view.right, view.top, m_rectPreview.left, view.bottom};
    m_nDragLeft = view.left + kMinWidth;
    m_nDragRight = m_rectPreview.right - kMinWidth;
}

void COXPreviewDialog::ResizeViewers() {
    if (!m_wndPreview.m_hWnd)
        return;
    RECT rc;
    m_wndPreview.GetClientRect(&rc);
    for (COXFileViewer* v : m_arrViewers)
        v->OnChangeSize(rc);
}

void COXPreviewDialog::OnInitDone() {
    CFileDialog::OnInitDone();
    AddPreviewButton();
    if (HWND bar = GetShellToolbar()) {
        LONG_PTR style = ::GetWindowLongPtr(bar, GWL_STYLE);
        style = m_bFlatToolbar ? (style | TBSTYLE_FLAT) : (style & ~(LONG_PTR)TBSTYLE_FLAT);
        ::SetWindowLongPtr(bar, GWL_STYLE, style);
    }
    HWND dialog = Dialog();
    if (dialog && !DialogMap().count(dialog)) {
        DialogMap()[dialog] = this;
        m_pfnOldDialogProc = (WNDPROC)::SetWindowLongPtr(dialog, GWLP_WNDPROC, (LONG_PTR)&PreviewDialogProc);
    }
}

void COXPreviewDialog::AddPreviewButton() {
    HWND dialog = Dialog();
    HWND bar = GetShellToolbar();
    if (!dialog || !bar)
        return;
    bool resizable = (::GetWindowLongPtr(dialog, GWL_STYLE) & WS_THICKFRAME) != 0;
    if (resizable) {
        ::SetWindowLongPtr(bar, GWL_STYLE, ::GetWindowLongPtr(bar, GWL_STYLE) | TBSTYLE_LIST);
        int count = (int)::SendMessage(bar, TB_BUTTONCOUNT, 0, 0);
        for (int i = 0; i < count; ++i) {
            TBBUTTON b{};
            ::SendMessage(bar, TB_GETBUTTON, (WPARAM)i, (LPARAM)&b);
            TBBUTTONINFO info{};
            info.cbSize = sizeof info;
            info.dwMask = TBIF_STYLE | TBIF_BYINDEX;
            info.fsStyle = (BYTE)(b.fsStyle | BTNS_AUTOSIZE);
            ::SendMessage(bar, TB_SETBUTTONINFO, (WPARAM)i, (LPARAM)&info);
        }
    }
    HINSTANCE library = OXGetLibraryResourceHandle();
    int image = I_IMAGENONE;
    if (HBITMAP bitmap = ::LoadBitmap(library, MAKEINTRESOURCE(IDB_OX_PREVIEW))) {
        auto images = (HIMAGELIST)::SendMessage(bar, TB_GETIMAGELIST, 0, 0);
        if (!images) {
            images = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 1);
            ::SendMessage(bar, TB_SETIMAGELIST, 0, (LPARAM)images);
        }
        image = ImageList_AddMasked(images, bitmap, RGB(192, 192, 192));
        ::DeleteObject(bitmap);
    }
    char text[64] = "Preview";
    ::LoadString(library, IDS_OX_PREVIEW_BUTTON, text, sizeof text - 1);
    text[std::strlen(text) + 1] = 0;  // the string list ends with an empty string
    TBBUTTON button{};
    button.iBitmap = image;
    button.idCommand = ID_OX_PREVIEW_BUTTON;
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = (BYTE)(BTNS_CHECK | (resizable ? BTNS_AUTOSIZE : 0));
    button.iString = (INT_PTR)::SendMessage(bar, TB_ADDSTRING, 0, (LPARAM)text);
    ::SendMessage(bar, TB_ADDBUTTONS, 1, (LPARAM)&button);
    ::SendMessage(bar, TB_AUTOSIZE, 0, 0);
    ::SendMessage(bar, TB_SETBUTTONSIZE, 0, MAKELONG(24, 22));
    RECT r = ChildRect(bar);
    int shift = resizable ? 72 : 6;
    r.left -= shift;
    r.right += 8 - shift;
    MoveChild(bar, r);
    if (HWND lookIn = ::GetDlgItem(dialog, 1137)) {
        RECT c = ChildRect(lookIn);
        c.right = r.left - 2;
        MoveChild(lookIn, c);
    }
    ::SendMessage(bar, TB_SETPARENT, (WPARAM)m_hWnd, 0);
}

void COXPreviewDialog::InitPreview() {
    m_bInitialized = TRUE;
    RecordViewSize();
    // The toolbar and "Look in" take their places at the right before the pane is placed by them.
    ArrangeControls();
    CWinApp* app = AfxGetApp();
    BOOL show = app ? (BOOL)app->GetProfileInt(kSection, "Preview", m_bPreview) : m_bPreview;
    SetPreview(show);
    if (HWND dialog = Dialog())
        ::PostMessage(dialog, WM_OX_PREVIEW_APPLY_OFFSET, 0, 0);
}

void COXPreviewDialog::SetPreview(BOOL show) {
    HWND dialog = Dialog();
    if (!dialog || !::IsWindow(dialog)) {
        m_bPreview = show;
        return;
    }
    BOOL before = m_bPreview;
    HWND view = GetShellView();
    HWND bar = GetShellToolbar();
    if (show && !m_wndPreview.m_hWnd) {
        m_rectPreview = ChildRect(view);
        RECT v = m_rectPreview;
        RECT lookIn = ChildRect(::GetDlgItem(dialog, 1137));
        v.right = std::max(v.left, lookIn.right - m_nPreviewOffset);
        MoveChild(view, v);
        RecordViewSize();
        m_bPreview = TRUE;
        m_rectPreview.left = ChildRect(bar).left - m_nPreviewOffset;
        if (bar) {
            int last = (int)::SendMessage(bar, TB_BUTTONCOUNT, 0, 0) - 1;
            TBBUTTON b{};
            if (last >= 0 && ::SendMessage(bar, TB_GETBUTTON, (WPARAM)last, (LPARAM)&b) &&
                !(b.fsState & TBSTATE_CHECKED))
                ::SendMessage(bar, TB_CHECKBUTTON, (WPARAM)b.idCommand, TRUE);
        }
        m_wndPreview.Create(CWnd::FromHandle(dialog), m_rectPreview);
        SetDragLimits();
        for (COXFileViewer* viewer : m_arrViewers)
            viewer->OnCreateViewer(&m_wndPreview);
    } else if (!show && m_wndPreview.m_hWnd) {
        for (COXFileViewer* viewer : m_arrViewers)
            viewer->OnDestroyViewer();
        m_wndPreview.DestroyWindow();
        RECT v = ChildRect(view);
        v.right = m_rectPreview.right;
        MoveChild(view, v);
        RecordViewSize();
        m_rectPreview = RECT{0, 0, 0, 0};
        m_rectSplitter = RECT{0, 0, 0, 0};
    }
    m_bPreview = show;
    OnNewFileSelect();
    if (before != show) {
        OnNewFileSelect();
        for (COXFileViewer* viewer : m_arrViewers)
            viewer->OnShowPreview(show);
    }
}

void COXPreviewDialog::SetPreviewOffset(int offset) {
    if (!m_wndPreview.m_hWnd || !m_wndPreview.IsWindowVisible() || offset == m_nPreviewOffset) {
        m_nPreviewOffset = offset;
        return;
    }
    HWND view = GetShellView();
    RECT v = ChildRect(view);
    RECT pane = ChildRect(m_wndPreview.m_hWnd);
    int gap = pane.left - v.right;
    // The list and the pane keep 50 pixels each; when even that does not fit nothing moves.
    int lowest = v.left + kMinWidth, highest = pane.right - kMinWidth - gap;
    if (highest < lowest)
        return;
    int right = std::clamp(v.right - (offset - m_nPreviewOffset), lowest, highest);
    int moved = v.right - right;
    if (moved == 0)
        return;
    v.right = right;
    pane.left -= moved;
    MoveChild(view, v);
    MoveChild(m_wndPreview.m_hWnd, pane);
    m_wndPreview.Invalidate();
    m_rectPreview = pane;
    ::OffsetRect(&m_rectSplitter, -moved, 0);
    ResizeViewers();
    m_nPreviewOffset += moved;
}

void COXPreviewDialog::ArrangeControls() {
    HWND dialog = Dialog();
    RECT view = ChildRect(GetShellView());
    int dx = Width(view) - m_nLastWidth, dy = (view.bottom - view.top) - m_nLastHeight;
    RecordViewSize();
    RECT client;
    ::GetClientRect(dialog, &client);
    if (HWND bar = GetShellToolbar()) {
        RECT r = ChildRect(bar);
        int w = Width(r);
        r.right = client.right - 2;
        r.left = r.right - w;
        MoveChild(bar, r);
        if (HWND lookIn = ::GetDlgItem(dialog, 1137)) {
            RECT c = ChildRect(lookIn);
            c.right = r.left - 2;
            MoveChild(lookIn, c);
        }
    }
    if (m_bPreview && m_wndPreview.m_hWnd) {
        RECT pane = ChildRect(m_wndPreview.m_hWnd);
        ::OffsetRect(&pane, dx, 0);
        pane.bottom += dy;
        MoveChild(m_wndPreview.m_hWnd, pane);
        m_wndPreview.Invalidate();
        m_rectPreview = pane;
        SetDragLimits();
    }
}

void COXPreviewDialog::OnFileNameChange() {
    CFileDialog::OnFileNameChange();
    CString path = GetDialogFilePath();
    m_strCurrentFile = IsFile(path) ? path : CString();
    OnNewFileSelect();
}

void COXPreviewDialog::OnFolderChange() {
    CFileDialog::OnFolderChange();
    HWND dialog = Dialog();
    HWND view = GetShellView();
    if (!m_bPreview || !view)
        return;
    RECT v = ChildRect(view);
    RECT lookIn = ChildRect(::GetDlgItem(dialog, 1137));
    v.right = std::max(v.left, lookIn.right - m_nPreviewOffset);
    MoveChild(view, v);
    RecordViewSize();
    ArrangeControls();
}

void COXPreviewDialog::OnNewFileSelect() {
    if (m_strCurrentFile.CompareNoCase(m_strPrevFile) != 0 || m_bPreview != m_bPrevPreview) {
        PreviewFile(m_bPreview ? m_strCurrentFile.GetString() : "");
        if (m_wndPreview.m_hWnd && m_wndPreview.IsWindowVisible())
            m_wndPreview.Invalidate();
    }
    m_strPrevFile = m_strCurrentFile;
    m_bPrevPreview = m_bPreview;
}

void COXPreviewDialog::PreviewFile(LPCTSTR file) {
    BOOL shown = FALSE;
    for (COXFileViewer* viewer : m_arrViewers)
        shown = viewer->OnNewFileSelect(file, shown) || shown;
}

void COXPreviewDialog::PaintPreview(CDC* dc, const RECT& rect) {
    for (COXFileViewer* viewer : m_arrViewers)
        if (viewer->OnPaintPreview(dc, rect))
            return;
    DrawNoPreview(dc, rect);
}

void COXPreviewDialog::DrawNoPreview(CDC* dc, const RECT& rect) {
    dc->FillSolidRect(&rect, ::GetSysColor(COLOR_BTNFACE));
    CGdiObject* old = dc->SelectStockObject(DEFAULT_GUI_FONT);
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(::GetSysColor(COLOR_BTNTEXT));
    RECT r = rect;
    dc->DrawText(kNoPreview, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (old)
        dc->SelectObject(old);
}

BOOL COXPreviewDialog::OnPaletteEvent(UINT message, WPARAM wParam, LPARAM lParam) {
    for (COXFileViewer* viewer : m_arrViewers)
        if (viewer->OnPaletteEvent(message, wParam, lParam))
            return TRUE;
    return FALSE;
}

LRESULT COXPreviewDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND dialog = Dialog();
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(wParam) == ID_OX_PREVIEW_BUTTON) {
                SetPreview(!m_bPreview);
                return 0;
            }
            return dialog ? ::SendMessage(dialog, message, wParam, lParam) : 0;
        case WM_NOTIFY: {
            auto* hdr = reinterpret_cast<NMHDR*>(lParam);
            if (!hdr || hdr->hwndFrom == dialog)
                break;  // the dialog's own notices
            if (hdr->code == TTN_NEEDTEXT && hdr->idFrom == ID_OX_PREVIEW_BUTTON) {
                auto* info = reinterpret_cast<NMTTDISPINFO*>(hdr);
                char tip[256] = "Preview selected file";
                ::LoadString(OXGetLibraryResourceHandle(), IDS_OX_PREVIEW_TOOLTIP, tip, sizeof tip);
                size_t len = std::min(std::strlen(tip), sizeof info->szText - 1);
                std::memcpy(info->szText, tip, len);
                info->szText[len] = 0;
                info->lpszText = info->szText;
                ::SetWindowPos(hdr->hwndFrom, HWND_TOP, 0, 0, 0, 0,
                               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
                return 0;
            }
            return dialog ? ::SendMessage(dialog, message, wParam, lParam) : 0;
        }
        case WM_PALETTECHANGED:
            OnPaletteEvent(message, wParam, lParam);
            break;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE)
                OnPaletteEvent(message, wParam, lParam);
            break;
        case WM_DESTROY:
            if (CWinApp* app = AfxGetApp()) {
                app->WriteProfileInt(kSection, "Preview", m_bPreview);
                app->WriteProfileInt(kSection, "Preview Window Offset", m_nPreviewOffset);
            }
            break;
        default:
            break;
    }
    return CFileDialog::WindowProc(message, wParam, lParam);
}

LRESULT COXPreviewDialog::PreviewDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto found = DialogMap().find(hwnd);
    if (found == DialogMap().end())
        return ::DefWindowProc(hwnd, message, wParam, lParam);
    COXPreviewDialog* self = found->second;
    LRESULT result = ::CallWindowProc(self->m_pfnOldDialogProc, hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY || !::IsWindow(hwnd)) {
        DialogMap().erase(hwnd);
        self->m_bInitialized = FALSE;
        return result;
    }
    if (!self->m_bInitialized)
        self->InitPreview();
    self->HandleDialogMessage(message, wParam, lParam, result);
    return result;
}

void COXPreviewDialog::HandleDialogMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    HWND dialog = Dialog();
    bool shown = m_bPreview && m_wndPreview.m_hWnd && !IsEmpty(m_rectSplitter);
    POINT pt{(short)LOWORD(lParam), (short)HIWORD(lParam)};
    switch (message) {
        case WM_LBUTTONDOWN:
            if (shown && ::PtInRect(&m_rectSplitter, pt)) {
                ::SetCapture(dialog);
                m_bDragging = TRUE;
                m_ptLast = pt;
            }
            break;
        case WM_MOUSEMOVE:
            if (m_bDragging) {
                int x = std::clamp((int)pt.x, m_nDragLeft, std::max(m_nDragLeft, m_nDragRight));
                if (x != m_ptLast.x) {
                    SetPreviewOffset(m_nPreviewOffset + (m_ptLast.x - x));
                    m_ptLast.x = x;
                }
            }
            break;
        case WM_LBUTTONUP:
        case WM_CANCELMODE:
            if (m_bDragging) {
                m_bDragging = FALSE;
                if (::GetCapture() == dialog)
                    ::ReleaseCapture();
            }
            break;
        case WM_SETCURSOR:
            if (shown) {
                POINT p;
                ::GetCursorPos(&p);
                ::ScreenToClient(dialog, &p);
                if (::PtInRect(&m_rectSplitter, p)) {
                    // The library's cursor, else the system's sizing arrow.
                    HCURSOR cursor = ::LoadCursor(OXGetLibraryResourceHandle(), MAKEINTRESOURCE(IDC_OX_PREVIEW_SPLITTER));
                    ::SetCursor(cursor ? cursor : ::LoadCursor(nullptr, MAKEINTRESOURCE(kSizeWestEastCursor)));
                    result = TRUE;
                }
            }
            break;
        case WM_GETMINMAXINFO:
            if (auto* info = reinterpret_cast<MINMAXINFO*>(lParam); info && GetShellView()) {
                RECT window;
                ::GetWindowRect(dialog, &window);
                int least = Width(window) - Width(ChildRect(GetShellView())) + kMinWidth;
                info->ptMinTrackSize.x = std::max(info->ptMinTrackSize.x, (LONG)least);
            }
            break;
        case WM_SIZE:
            ArrangeControls();
            ResizeViewers();
            break;
        case WM_OX_PREVIEW_APPLY_OFFSET: {
            CWinApp* app = AfxGetApp();
            SetPreviewOffset(app ? (int)app->GetProfileInt(kSection, "Preview Window Offset", m_nPreviewOffset)
                                 : m_nPreviewOffset);
            break;
        }
        default:
            break;
    }
}
