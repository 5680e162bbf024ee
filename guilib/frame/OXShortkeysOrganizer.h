// Editable, persistent keyboard shortcuts: the accelerator tables of the main frame and of every document
// template read into tables of our own, edited as key/command pairs, installed again, and kept in the
// binary profile value "AcceleratorsState".
#pragma once

#include <vector>

#include "platform/base/Archive.h"
#include "platform/base/Object.h"
#include "platform/base/String.h"
#include "platform/user/Accelerators.h"

class CFrameWnd;
class CDocTemplate;
class CMultiDocTemplate;

struct _tagOXACCELTABLE {
    CMultiDocTemplate* m_pDocTemplate = nullptr;  // none for the frame's own table
    std::vector<ACCEL> m_accelerators;
};
typedef _tagOXACCELTABLE OXACCELTABLE;

class COXShortkeysOrganizer : public CObject {
public:
    COXShortkeysOrganizer() = default;
    ~COXShortkeysOrganizer() override = default;

    // FALSE when a frame is attached already; with `build` the tables are read from the frame and templates.
    BOOL Attach(CFrameWnd* frame, BOOL build = TRUE);
    BOOL Detach();
    CFrameWnd* GetFrameWnd() const { return m_pFrameWnd; }

    static CString GetKeyText(const ACCEL* accel);
    static BOOL ParseKeyText(const CString& text, ACCEL* accel);

    // The command of the first entry with the same flags (no-invert not counting) and key; 0 when none.
    WORD FindAccelerator(BYTE flags, WORD key, CMultiDocTemplate* docTemplate = nullptr);
    // Whether any current table, or any table of removed keys, binds the flags (no-invert not counting)
    // and key.
    BOOL FindKeyInTables(BYTE flags, WORD key) const;
    BOOL FindKeyInRemovedKeys(BYTE flags, WORD key) const;
    BOOL GetCommandAccelerators(WORD command, CMultiDocTemplate* docTemplate, std::vector<ACCEL>& accelerators);
    BOOL RemoveAccelerator(BYTE flags, WORD key, WORD command, CMultiDocTemplate* docTemplate = nullptr);
    BOOL RemoveAccelerator(const ACCEL* accel, CMultiDocTemplate* docTemplate = nullptr);
    BOOL RemoveCommand(WORD command, CMultiDocTemplate* docTemplate = nullptr);
    BOOL SetAccelerator(BYTE flags, WORD key, WORD command, CMultiDocTemplate* docTemplate = nullptr,
                        BOOL replace = FALSE);
    // Builds and installs new platform tables in the frame, the templates and the open frames that used
    // a template's old table.
    BOOL Apply();

    BOOL SaveState(LPCTSTR section);
    BOOL LoadState(LPCTSTR section, BOOL apply = TRUE);
    void Serialize(CArchive& ar) override;

    const std::vector<OXACCELTABLE>& GetAccelTables() const { return m_arrAccelTables; }
    const std::vector<OXACCELTABLE>& GetRemovedAccelerators() const { return m_arrRemovedAccelerators; }

protected:
    void BuildTables();
    OXACCELTABLE* FindTable(CMultiDocTemplate* docTemplate);
    OXACCELTABLE* FindRemovedTable(CMultiDocTemplate* docTemplate, BOOL create);
    BOOL RemoveAt(OXACCELTABLE& table, size_t index);

    CFrameWnd* m_pFrameWnd = nullptr;
    std::vector<OXACCELTABLE> m_arrAccelTables;
    std::vector<OXACCELTABLE> m_arrRemovedAccelerators;
};
