#include "platform/framework/app/RecentFileList.h"

#include <algorithm>

#include "platform/framework/app/WinThread.h"
#include "platform/framework/window/Menu.h"

CRecentFileList::CRecentFileList(UINT start, LPCTSTR section, LPCTSTR entryFormat, int size,
                                 int maxDisplayLength)
    : m_nSize(std::clamp(size, 0, 16)),
      m_arrNames((size_t)m_nSize),
      m_strSectionName(section),
      m_strEntryFormat(entryFormat),
      m_nStart(start),
      m_nMaxDisplayLength(maxDisplayLength) {}

void CRecentFileList::Add(LPCTSTR path) {
    if (!path || !*path || m_nSize == 0)
        return;
    CString name = path;
    // The entry that matches (or the last one, which drops out) makes room at the top.
    int at = 0;
    while (at < m_nSize - 1 && m_arrNames[at] != name)
        ++at;
    for (; at > 0; --at)
        m_arrNames[at] = m_arrNames[at - 1];
    m_arrNames[0] = name;
}

void CRecentFileList::Remove(int index) {
    if (index < 0 || index >= m_nSize)
        return;
    m_arrNames.erase(m_arrNames.begin() + index);
    m_arrNames.emplace_back();
}

void CRecentFileList::ReadList() {
    CWinApp* app = AfxGetApp();
    if (!app)
        return;
    int filled = 0;
    for (int i = 0; i < m_nSize; ++i) {
        CString entry;
        entry.Format(m_strEntryFormat, i + 1);
        CString value = app->GetProfileString(m_strSectionName, entry);
        // Gaps left by a damaged list close up; the order stays.
        if (!value.IsEmpty())
            m_arrNames[filled++] = value;
    }
    for (int i = filled; i < m_nSize; ++i)
        m_arrNames[i].Empty();
}

void CRecentFileList::WriteList() {
    CWinApp* app = AfxGetApp();
    if (!app)
        return;
    for (int i = 0; i < m_nSize; ++i) {
        CString entry;
        entry.Format(m_strEntryFormat, i + 1);
        if (m_arrNames[i].IsEmpty())
            app->WriteProfileString(m_strSectionName, entry, nullptr);
        else
            app->WriteProfileString(m_strSectionName, entry, m_arrNames[i]);
    }
}

BOOL CRecentFileList::GetDisplayName(CString& name, int index, BOOL) const {
    if (index < 0 || index >= m_nSize || m_arrNames[index].IsEmpty())
        return FALSE;
    name = m_arrNames[index];
    if (m_nMaxDisplayLength > 8 && name.GetLength() > m_nMaxDisplayLength) {
        // Keep the start of the path and its end, the file name whole when it fits.
        int keep = m_nMaxDisplayLength - 3;
        int slash = name.ReverseFind('/');
        int tail = slash >= 0 ? name.GetLength() - slash : keep / 2;
        tail = std::min(std::max(tail, keep / 2), keep);
        name = name.Left(keep - tail) + "..." + name.Right(tail);
    }
    return TRUE;
}

void CRecentFileList::UpdateMenu(CCmdUI* ui) {
    CMenu* menu = ui->m_pMenu;
    if (m_strOriginal.IsEmpty() && menu)
        menu->GetMenuString(ui->m_nID, m_strOriginal, MF_BYCOMMAND);
    if (m_nSize == 0 || m_arrNames[0].IsEmpty()) {
        if (!m_strOriginal.IsEmpty())
            ui->SetText(m_strOriginal);
        ui->Enable(FALSE);
        return;
    }
    if (!menu)
        return;
    for (int i = 0; i < m_nSize; ++i)
        ::DeleteMenu(menu->m_hMenu, ui->m_nID + (UINT)i, MF_BYCOMMAND);
    UINT id = ui->m_nID;
    for (int i = 0; i < m_nSize; ++i) {
        CString shown;
        if (!GetDisplayName(shown, i))
            break;
        shown.Replace("&", "&&");
        CString text;
        if (i < 9)
            text.Format("&%d %s", i + 1, shown.GetString());
        else
            text.Format("%d %s", i + 1, shown.GetString());
        ::InsertMenu(menu->m_hMenu, ui->m_nIndex++, MF_STRING | MF_BYPOSITION, id++, text);
    }
    // The caller's loop goes on after the items just made.
    ui->m_nIndex--;
    ui->m_nIndexMax = (UINT)menu->GetMenuItemCount();
    ui->m_bEnableChanged = TRUE;
}
