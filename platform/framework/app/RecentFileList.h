// The recent-file list of the application: newest first, kept in the profile and shown in menus.
#pragma once

#include "platform/base/Collections.h"
#include "platform/framework/window/CmdUI.h"

class CRecentFileList {
public:
    // Entries `entryFormat` ("File%d") under `section`, numbered from 1; shown from command `start`.
    CRecentFileList(UINT start, LPCTSTR section, LPCTSTR entryFormat, int size, int maxDisplayLength = 64);
    virtual ~CRecentFileList() = default;

    int GetSize() const { return m_nSize; }
    CString& operator[](int index) { return m_arrNames[index]; }
    const CString& operator[](int index) const { return m_arrNames[index]; }
    // Puts the path first; an equal path (compared exactly) already in the list moves up, else the last
    // entry drops out.
    virtual void Add(LPCTSTR path);
    virtual void Remove(int index);
    virtual void ReadList();
    virtual void WriteList();
    // Fills the menu at the item of the command: one item per entry ("&1 name"), or the item greyed with
    // its original text when the list is empty.
    virtual void UpdateMenu(CCmdUI* ui);
    // The text of an entry as the menu shows it, shortened to the display length.
    virtual BOOL GetDisplayName(CString& name, int index, BOOL atLeastName = TRUE) const;

    int m_nSize;
    std::vector<CString> m_arrNames;
    CString m_strSectionName;
    CString m_strEntryFormat;
    UINT m_nStart;
    int m_nMaxDisplayLength;
    CString m_strOriginal;  // the menu item's text before the list replaced it
};
