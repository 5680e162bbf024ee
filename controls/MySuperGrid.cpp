#include "controls/MySuperGrid.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>

#include "analysis/AppMaps.h"
#include "platform/base/JoinPath.h"
#include "platform/base/MessageBox.h"
#include "platform/framework/app/WinThread.h"
#include "platform/user/ComboBox.h"
#include "platform/user/ImageList.h"

namespace {
constexpr UINT kComboId = 4661;
constexpr int kBrokerImages = 146;
constexpr size_t kBlock = 8192;

// The text after the last blank of a line.
CString AfterLastBlank(const CString& line) {
    int blank = line.ReverseFind(' ');
    return blank < 0 ? line : line.Mid(blank + 1);
}

// The text after `key` (found in the upper-cased line) up to, not including, `stop`; empty when absent.
CString Between(const CString& line, const CString& upper, LPCTSTR key, LPCTSTR stop) {
    int at = upper.Find(key);
    if (at < 0)
        return CString();
    CString rest = line.Mid(at + (int)strlen(key));
    int end = rest.Find(stop);
    return end < 0 ? rest : rest.Left(end);
}

template <class MAP, class RECORD>
void AddKey(MAP& map, const CString& key, const RECORD& record) {
    if (!key.IsEmpty() && !map.Contains(key))
        map.Add(key, record);
}

CString JoinLogPath(LPCTSTR folder, LPCTSTR name) {
    return JoinPath(folder ? folder : "", name ? name : "");
}
}  // namespace

void ScanBrokerLogLine(const CString& line, BrokerLogFinds& finds) {
    finds.transaction.Empty();
    finds.clientId.Empty();
    finds.serverId.Empty();
    CString upper = line;
    upper.MakeUpper();
    if (upper.Find("QBROKER | ") >= 0)
        finds.stamp = AfterLastBlank(line);
    if (upper.Find(": ON REQUEST -") >= 0)
        finds.request = AfterLastBlank(line);
    if (upper.Find("TYPE:") >= 0) {
        finds.transaction = AfterLastBlank(line);
    } else if (upper.Find("ID  : /PT_QCLIENT:") >= 0) {
        int colon = line.ReverseFind(':');
        if (colon >= 0 && colon + 3 <= line.GetLength()) {
            CString id = line.Mid(colon + 3);
            int slash = id.ReverseFind('/');
            finds.clientId = slash < 0 ? id : id.Left(slash);
        }
    } else if (upper.Find("ACTION : SENT TO /PT_QSERVER:") >= 0) {
        int slash = line.ReverseFind('/');
        finds.serverId = slash < 0 ? CString() : line.Mid(slash + 1);
    } else if (upper.Find("ON CLIENT UNREGISTER") >= 0) {
        finds.transaction = Between(line, upper, ": ", " -");
    } else if (upper.Find("ON PROCESS DIES") >= 0) {
        finds.transaction = Between(line, upper, "- ", " -");
    }
}

BEGIN_MESSAGE_MAP(CMySuperGrid, CSuperGridCtrl)
ON_NOTIFY_REFLECT_EX(LVN_ITEMCHANGED, OnItemChanged)
END_MESSAGE_MAP()

// The statistics maps start empty for every new grid; the imported-list map belongs to the open
// import views and stays as it is.
CMySuperGrid::CMySuperGrid() {
    g_mapStatsClientIds.RemoveAll();
    g_mapStatsServerIds.RemoveAll();
    g_mapStatsTransactions.RemoveAll();
}

CMySuperGrid::~CMySuperGrid() {
    if (m_hWnd)
        CWnd::DestroyWindow();
    if (m_hImages)
        ImageList_Destroy(m_hImages);
}

LRESULT CMySuperGrid::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        LRESULT r = CSuperGridCtrl::WindowProc(message, wParam, lParam);
        if (r != -1) {
            m_hImages = ImageList_LoadBitmap(nullptr, MAKEINTRESOURCE(kBrokerImages), 16, 0, RGB(0xC0, 0xC0, 0xC0));
            if (m_hImages)
                ::SendMessage(m_hWnd, LVM_SETIMAGELIST, LVSIL_SMALL, (LPARAM)m_hImages);
        }
        return r;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == kComboId && HIWORD(wParam) == CBN_CLOSEUP) {
        ::SetFocus(m_hWnd);
        return 0;
    }
    return CSuperGridCtrl::WindowProc(message, wParam, lParam);
}

int CMySuperGrid::AddBrokerLogRows() {
    SetExtendedStyle(LVS_EX_CHECKBOXES);
    CListCtrl::InsertColumn(0, "Tree", LVCFMT_LEFT, 236);
    int added = 0;
    std::vector<CString> logs;
    g_mapLoadedLogs.ForEach([&](const CString& key, const HObj&) { logs.push_back(key); });
    for (const CString& key : logs) {
        HObj rec;
        if (!g_mapLoadedLogs.Get(key, rec))
            continue;
        rec.m_bChosen = 0;
        g_mapLoadedLogs.Add(key, rec);
        if (rec.m_csLogType.Find("QBROKER") < 0)
            continue;
        auto* info = new CItemInfo;
        info->SetItemText(rec.m_csName);
        info->SetImage(0);
        if (!InsertRootItem(info))
            return 0;
        ++added;
    }
    if (GetItemCount() > 0)
        SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    return added;
}

void CMySuperGrid::CheckAllRoots(bool bCheck) {
    if (GetNextItem(-1, LVNI_SELECTED) < 0)
        return;
    for (const auto& root : GetRootItems()) {
        int row = NodeToIndex(root.get());
        if (row < 0)
            continue;
        SetCheck(row, bCheck);
        root->GetData()->SetCheck(bCheck);
    }
}

int CMySuperGrid::MarkCheckedLogs() {
    int checked = 0;
    // A log unticked since an earlier, refused OK loses its mark too.
    for (const auto& root : GetRootItems()) {
        int row = NodeToIndex(root.get());
        const BYTE chosen = row >= 0 && GetCheck(row) ? 1 : 0;
        checked += chosen;
        g_mapLoadedLogs.Update(root->GetData()->GetItemText(), [chosen](HObj& rec) { rec.m_bChosen = chosen; });
    }
    return checked;
}

bool CMySuperGrid::LoadCheckedLog(int nRow) {
    CTreeItem* node = GetTreeItem(nRow);
    if (!node || node->m_pParent || !GetCheck(nRow))
        return false;
    HObj rec;
    if (!g_mapLoadedLogs.Get(node->GetData()->GetItemText(), rec))
        return false;
    return ReadBrokerLog(rec.m_csFolder, rec.m_csName, rec.m_csLogType);
}

bool CMySuperGrid::ReadBrokerLog(LPCTSTR folder, LPCTSTR name, LPCTSTR type) {
    const CString path = JoinLogPath(folder, name);
    struct stat st{};
    if (::stat(path, &st) != 0 || !S_ISREG(st.st_mode)) {
        CString text;
        text.Format("File not available !!!\n%s", path.GetString());
        AfxMessageBox(text, MB_OK);
        return false;
    }
    BOOL go = TRUE;
    std::unique_ptr<IAnalysisWait> wait;
    if (m_openWait) {
        wait = m_openWait(&go, (int32_t)std::min<long long>((long long)st.st_size / (long long)kBlock + 1, INT32_MAX));
        if (wait) {
            CString text;
            text.Format("Reading %s\n", name ? name : "");
            wait->SetMessageText(text);
        }
    }
    CWaitCursor cursor;
    long lines = 0;
    if (CString(type) == "QBROKER") {
        FILE* file = std::fopen(path, "rb");
        if (file) {
            BrokerLogFinds finds;
            TObj transaction;
            transaction.m_csText = name;
            CMObj client;
            client.m_csText = name;
            HObj server;
            server.m_csName = name;
            server.m_csFolder = folder;
            std::string carry;
            std::vector<char> block(kBlock);
            int32_t blocks = 0;
            auto scan = [&](const std::string& raw) {
                std::string text = raw;
                if (!text.empty() && text.back() == '\r')
                    text.pop_back();
                ++lines;
                ScanBrokerLogLine(CString(text.c_str()), finds);
                AddKey(g_mapStatsTransactions, finds.transaction, transaction);
                AddKey(g_mapStatsClientIds, finds.clientId, client);
                AddKey(g_mapStatsServerIds, finds.serverId, server);
            };
            size_t got = 0;
            while (go && (got = std::fread(block.data(), 1, block.size(), file)) > 0) {
                carry.append(block.data(), got);
                size_t start = 0, nl = 0;
                while ((nl = carry.find('\n', start)) != std::string::npos) {
                    scan(carry.substr(start, nl - start));
                    start = nl + 1;
                }
                carry.erase(0, start);
                if (wait)
                    wait->SetProgress(++blocks);
            }
            if (!carry.empty())
                scan(carry);
            std::fclose(file);
        }
    }
    m_csStatus.Format("%ld lines loaded", lines);
    if (wait)
        wait->Close();
    return true;
}

BOOL CMySuperGrid::OnItemChanged(NMHDR* nm, LRESULT* result) {
    *result = 0;
    auto* lv = reinterpret_cast<NMLISTVIEW*>(nm);
    if (!(lv->uChanged & LVIF_STATE) || !((lv->uNewState ^ lv->uOldState) & LVIS_STATEIMAGEMASK))
        return FALSE;
    SyncCheck(lv->iItem);
    if (!m_hOwnerDlg || m_bBusy)
        return FALSE;
    CTreeItem* node = GetTreeItem(lv->iItem);
    if (!node)
        return FALSE;
    CString upper = node->GetData()->GetItemText();
    upper.MakeUpper();
    if (upper.Find("QBROKER") < 0)
        return FALSE;
    if (GetCheck(lv->iItem) && LoadCheckedLog(lv->iItem))
        ::PostMessage(m_hOwnerDlg, WM_STATSLOGLOADED, 0, 0);
    return FALSE;
}

CItemInfo* CMySuperGrid::CloneItemInfo(CTreeItem* pItem) {
    return pItem && pItem->GetData() ? new CItemInfo(*pItem->GetData()) : nullptr;
}

int CMySuperGrid::GetItemImage(CTreeItem* pItem) {
    if (!pItem)
        return -1;
    if (pItem->GetData() && pItem->GetData()->GetImage() != -1)
        return pItem->GetData()->GetImage();
    if (!pItem->HasChildren())
        return 2;
    return pItem->m_bHideChildren ? 0 : 1;
}

void CMySuperGrid::OnUpdateItemText(CTreeItem* pItem, int nColumn, LPCTSTR text) {
    CString value = text ? text : "";
    if (value == "Bugs: Impossible")
        value += " (selfconfidence allright)";
    CSuperGridCtrl::OnUpdateItemText(pItem, nColumn, value);
}

void CMySuperGrid::EditCell(int nItem, int nCol) {
    CTreeItem* node = GetTreeItem(nItem);
    if (!node)
        return;
    CItemInfo::CONTROLTYPE type;
    if (node->GetData()->GetControlType(nCol, type) && type == CItemInfo::combobox) {
        const std::vector<CString>* choices = node->GetData()->GetListData(nCol);
        ShowComboInCell(nItem, nCol, choices ? *choices : std::vector<CString>());
    }
}

HIMAGELIST CMySuperGrid::CreateDragImage(int nItem) {
    return m_bDrag ? CSuperGridCtrl::CreateDragImage(nItem) : nullptr;
}

void CMySuperGrid::OnEditKey(int nItem, int nCol) {
    CTreeItem* node = GetTreeItem(nItem);
    CItemInfo::CONTROLTYPE type;
    if (node && node->GetData()->GetControlType(nCol, type) && type == CItemInfo::combobox)
        EditCell(nItem, nCol);
}

BOOL CMySuperGrid::CanClickItem(int nItem, int nCol) {
    CTreeItem* node = GetTreeItem(nItem);
    return !(nCol == 0 && node && node->GetData()->GetItemText().Find(" - N/A") >= 0);
}

CComboInListView* CMySuperGrid::ShowComboInCell(int nItem, int nCol, const std::vector<CString>& choices) {
    RECT cell{};
    MakeCellVisible(nItem, nCol, cell);
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    int height = cell.bottom - cell.top;
    RECT box{cell.left, cell.top, std::min<int>(cell.left + GetColumnWidth(nCol), client.right), cell.top + height * 11};
    auto* combo = new CComboInListView(nItem, nCol, choices);
    if (!combo->CreateOver(this, box, kComboId))
        return nullptr;
    HDC dc = ::GetDC(m_hWnd);
    HGDIOBJ font = (HGDIOBJ)::SendMessage(m_hWnd, WM_GETFONT, 0, 0);
    HGDIOBJ old = font ? ::SelectObject(dc, font) : nullptr;
    int widest = 0;
    for (const CString& c : choices) {
        SIZE size{};
        ::GetTextExtentPoint32(dc, c, c.GetLength(), &size);
        widest = std::max<int>(widest, size.cx + 6);
    }
    if (old)
        ::SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
    ::SendMessage(combo->m_hWnd, CB_SETHORIZONTALEXTENT, (WPARAM)widest, 0);
    ::SendMessage(combo->m_hWnd, CB_SHOWDROPDOWN, TRUE, 0);
    CTreeItem* node = GetTreeItem(nItem);
    CString current = node ? node->GetData()->GetColumnText(nCol) : CString();
    ::SendMessage(combo->m_hWnd, CB_SELECTSTRING, (WPARAM)-1, (LPARAM)current.GetString());
    return combo;
}

// ---------------------------------------------------------------------------------------------------------

CComboInListView::CComboInListView(int iItem, int iSubItem, const std::vector<CString>& choices)
    : m_iItem(iItem), m_iSubItem(iSubItem), m_choices(choices) {}

BOOL CComboInListView::CreateOver(CWnd* list, const RECT& rect, UINT id) {
    if (!CWnd::CreateEx(WS_EX_CLIENTEDGE, WC_COMBOBOX, nullptr,
                        WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | CBS_DROPDOWNLIST | CBS_DISABLENOSCROLL,
                        rect, list, id)) {
        delete this;
        return FALSE;
    }
    ::SendMessage(m_hWnd, WM_SETFONT, ::SendMessage(list->m_hWnd, WM_GETFONT, 0, 0), FALSE);
    for (const CString& c : m_choices)
        ::SendMessage(m_hWnd, CB_ADDSTRING, 0, (LPARAM)c.GetString());
    ::SetFocus(m_hWnd);
    return TRUE;
}

BOOL CComboInListView::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE)) {
        ::TranslateMessage(pMsg);
        ::DispatchMessage(pMsg);
        return TRUE;
    }
    return CWnd::PreTranslateMessage(pMsg);
}

LRESULT CComboInListView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE || wParam == VK_RETURN) {
                m_bVK_ESCAPE = wParam == VK_ESCAPE;
                ::SetFocus(::GetParent(m_hWnd));
                return 0;
            }
            break;
        case WM_KILLFOCUS: {
            LRESULT r = CWnd::WindowProc(message, wParam, lParam);
            // The drop-down's own list takes the focus for a moment: that is no end of the edit.
            if (m_bEnded || (wParam && ::GetParent((HWND)wParam) == m_hWnd))
                return r;
            m_bEnded = true;
            int sel = (int)::SendMessage(m_hWnd, CB_GETCURSEL, 0, 0);
            if (sel >= 0) {
                char text[512] = "";
                if (::SendMessage(m_hWnd, CB_GETLBTEXTLEN, (WPARAM)sel, 0) < (LRESULT)sizeof text)
                    ::SendMessage(m_hWnd, CB_GETLBTEXT, (WPARAM)sel, (LPARAM)text);
                NotifyEndLabelEdit(m_hWnd, m_iItem, m_iSubItem, m_bVK_ESCAPE ? nullptr : text,
                                   (LPARAM)::SendMessage(m_hWnd, CB_GETITEMDATA, (WPARAM)sel, 0));
            }
            ::PostMessage(m_hWnd, WM_CLOSE, 0, 0);
            return r;
        }
        default:
            break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
