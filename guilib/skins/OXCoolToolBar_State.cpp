// The cool tool bar's buttons, texts and look in the profile. The blocks are the framework archive's
// bytes (little-endian 32-bit integers, bytes, length-prefixed strings); each block is parsed whole and
// bounded by its bytes before anything is applied, so a damaged block leaves the bar as it was.
#include <cstring>
#include <optional>
#include <vector>

#include "guilib/skins/OXBlockReader.h"
#include "guilib/skins/OXCoolToolBar.h"
#include "platform/base/Archive.h"
#include "platform/base/MemFile.h"
#include "platform/base/Profile.h"
#include "platform/framework/app/WinThread.h"

namespace {
struct ButtonRecord {
    int32_t id = 0;
    int32_t image = 0;
    BYTE style = 0;
    int32_t shown = 0;
    CString text;
};

// The profile's blob, or nothing when the entry is missing.
std::optional<std::vector<BYTE>> ReadBlock(LPCTSTR section, const CString& entry) {
    BYTE* data = nullptr;
    UINT size = 0;
    if (!AfxGetProfile().GetProfileBinary(section, entry, &data, &size) || !data)
        return std::nullopt;
    std::vector<BYTE> bytes(data, data + size);
    delete[] data;
    return bytes;
}

bool HasEntry(LPCTSTR section, const CString& entry) {
    return (int)AfxGetProfile().GetProfileInt(section, entry, -1) != -1;
}

// The buttons block, or nothing when it is damaged. A record is at least 14 bytes.
std::optional<std::vector<ButtonRecord>> ParseButtons(const std::vector<BYTE>& bytes) {
    OXBlockReader in(bytes.data(), (UINT)bytes.size());
    int32_t count;
    if (!in.Int(count) || count < 0 || (UINT)count > in.Left() / 14)
        return std::nullopt;
    std::vector<ButtonRecord> records((size_t)count);
    for (ButtonRecord& r : records) {
        if (!in.Int(r.id) || !in.Int(r.image) || !in.Byte(r.style) || !in.Int(r.shown) || !in.String(r.text))
            return std::nullopt;
    }
    return records;
}

// Archive bytes written into a growing memory file.
class BlockWriter {
public:
    BlockWriter() : m_file(1024), m_archive(&m_file, CArchive::store, 4096) {}
    CArchive& Archive() { return m_archive; }
    void WriteTo(LPCTSTR section, const CString& entry) {
        m_archive.Close();
        UINT length = (UINT)m_file.GetLength();
        BYTE* data = m_file.Detach();
        AfxGetProfile().WriteProfileBinary(section, entry, data, length);
        AfxGetProfile().WriteProfileInt(section, entry + "_Size", (int)length);
        free(data);
    }

private:
    CMemFile m_file;
    CArchive m_archive;
};

const char* const kColorEntries[12] = {
    "DefaultTextColor", "HotTextColor", "SelectedTextColor", "CheckedTextColor",
    "DefaultBkColor", "HotBkColor", "SelectedBkColor", "CheckedBkColor",
    "DefaultBorderColor", "HotBorderColor", "SelectedBorderColor", "CheckedBorderColor"};
}  // namespace

void COXCoolToolBar::SetCustomizable(BOOL customizable, BOOL advanced) {
    bool pool = m_pAvailableButtons != nullptr && m_nAvailableButtons > 0;
    bool adjustable = pool && customizable && !advanced;
    m_bAdvancedCustomizable = pool && customizable && advanced;
    if (m_hWnd) {
        DWORD style = (DWORD)SendMessage(TB_GETSTYLE);
        style = adjustable ? (style | CCS_ADJUSTABLE) : (style & ~(DWORD)CCS_ADJUSTABLE);
        SendMessage(TB_SETSTYLE, 0, (LPARAM)style);
    }
}

void COXCoolToolBar::SetAvailableButtons(const UINT* ids, int count) {
    m_pAvailableButtons = ids;
    m_nAvailableButtons = count;
    SetCustomizable(TRUE, TRUE);
}

void COXCoolToolBar::SaveProperties(LPCTSTR p) {
    CProfile& profile = AfxGetProfile();
    DWORD style = GetStyle();
    profile.WriteProfileInt(p, "Cool", m_bCool);
    profile.WriteProfileInt(p, "Gripper", (m_dwStyle & CBRS_GRIPPER) ? 1 : 0);
    profile.WriteProfileInt(p, "Separator", m_bSeparator);
    profile.WriteProfileInt(p, "Flat", (style & TBSTYLE_FLAT) ? 1 : 0);
    profile.WriteProfileInt(p, "List", (style & TBSTYLE_LIST) ? 1 : 0);
    profile.WriteProfileInt(p, "DropDownArrow", IsDropDownArrow());
    profile.WriteProfileInt(p, "Indent", m_nIndent);
    for (int i = 0; i < 12; ++i)
        profile.WriteProfileInt(p, kColorEntries[i], (int)m_colors[i]);
    profile.WriteProfileInt(p, "TextType", m_nTextType);
    profile.WriteProfileInt(p, "TextRows", (int)SendMessage(TB_GETTEXTROWS));
    profile.WriteProfileInt(p, "MinButtonsWidth", m_nMinButtonWidth);
    profile.WriteProfileInt(p, "MaxButtonsWidth", m_nMaxButtonWidth);
    profile.WriteProfileInt(p, "Customizable", IsCustomizable(TRUE));
}

void COXCoolToolBar::LoadProperties(LPCTSTR p, BOOL& relayout) {
    CProfile& profile = AfxGetProfile();
    auto read = [&](LPCTSTR entry) { return (int)profile.GetProfileInt(p, entry, -1); };
    int v;
    if ((v = read("Customizable")) != -1)
        SetCustomizable(v, TRUE);
    if ((v = read("Cool")) != -1)
        m_bCool = v;
    if ((v = read("Gripper")) != -1)
        SetBarStyle(v ? (m_dwStyle | CBRS_GRIPPER) : (m_dwStyle & ~(DWORD)CBRS_GRIPPER));
    if ((v = read("Separator")) != -1)
        m_bSeparator = v;
    if ((v = read("Flat")) != -1)
        ModifyStyle(v ? 0 : TBSTYLE_FLAT, v ? TBSTYLE_FLAT : 0);
    if ((v = read("List")) != -1) {
        ModifyStyle(v ? 0 : TBSTYLE_LIST, v ? TBSTYLE_LIST : 0);
        relayout = TRUE;
    }
    if ((v = read("DropDownArrow")) != -1)
        SetDropDownArrow(v);
    if ((v = read("Indent")) != -1)
        SetIndent(v);
    for (int i = 0; i < 12; ++i)
        if ((v = read(kColorEntries[i])) != -1)
            m_colors[i] = (COLORREF)v;
    if ((v = read("TextType")) != -1 && v >= 0 && v != m_nTextType) {
        if (v == OXTT_NOTEXT)
            SetTextType(0, 65535, OXTT_EMPTY);
        SetTextType(0, 65535, v);
        relayout = TRUE;
    }
    if ((v = read("TextRows")) != -1 && v != (int)SendMessage(TB_GETTEXTROWS)) {
        SendMessage(TB_SETMAXTEXTROWS, (WPARAM)v);
        relayout = TRUE;
    }
    if ((v = read("MinButtonsWidth")) != -1 && v != m_nMinButtonWidth) {
        m_nMinButtonWidth = v;
        SetButtonsMinMaxWidth(v, m_nMaxButtonWidth);
    }
    if ((v = read("MaxButtonsWidth")) != -1 && v != m_nMaxButtonWidth) {
        m_nMaxButtonWidth = v;
        SetButtonsMinMaxWidth(m_nMinButtonWidth, v);
        relayout = TRUE;
    }
}

BOOL COXCoolToolBar::SaveBarState(LPCTSTR section, LPCTSTR name, BOOL withProperties) {
    CString p;
    p.Format("%s_%s", section, name);
    CString n(name);
    if (IsCustomizable(TRUE) || IsCustomizable(FALSE)) {
        HKEY key = AfxGetProfile().GetAppRegistryKey();
        if (!key)
            return FALSE;
        {
            BlockWriter block;
            int count = (int)SendMessage(TB_BUTTONCOUNT);
            block.Archive() << (int32_t)count;
            for (int i = 0; i < count; ++i) {
                TBBUTTON b{};
                GetToolBarCtrl().GetButton(i, &b);
                CString text = (b.fsStyle & TBSTYLE_SEP) ? CString() : GetToolBarCtrl().GetButtonText((UINT)b.idCommand);
                BOOL shown = !text.IsEmpty();
                if (!shown && !(b.fsStyle & TBSTYLE_SEP))
                    text = GetStoredButtonText((UINT)b.idCommand);
                block.Archive() << (int32_t)b.idCommand << (int32_t)b.iBitmap << (BYTE)b.fsStyle << (int32_t)shown
                                << text;
            }
            block.WriteTo(section, n + "_ButtonsSettings");
        }
        {
            BlockWriter block;
            block.Archive() << (int32_t)0;  // no custom buttons on the bar
            block.WriteTo(section, n + "_CustomButtonsPositions");
        }
        GetToolBarCtrl().SaveState(key, section, name);
        RegCloseKey(key);
    }
    if (!s_bTableSaved) {
        BlockWriter block;
        block.Archive() << (int32_t)0;  // no custom buttons registered
        block.WriteTo(section, "Toolbars_CustomButtonsSettings");
        s_bTableSaved = TRUE;
    }
    if (withProperties)
        SaveProperties(p);
    return TRUE;
}

BOOL COXCoolToolBar::LoadBarState(LPCTSTR section, LPCTSTR name, BOOL withProperties) {
    CString p;
    p.Format("%s_%s", section, name);
    CString n(name);
    BOOL relayout = FALSE;
    if (withProperties)
        LoadProperties(p, relayout);
    if (!s_bTableLoaded) {
        // No custom button is registered, so the first entry of a table would already end it.
        s_bTableLoaded = TRUE;
    }
    BOOL result = TRUE;
    if (IsCustomizable(FALSE) || IsCustomizable(TRUE)) {
        HKEY key = AfxGetProfile().GetAppRegistryKey();
        if (!key)
            return FALSE;
        m_bSuspendRedraw = TRUE;
        GetToolBarCtrl().RestoreState(key, section, name);
        RegCloseKey(key);
        if (HasEntry(section, n + "_ButtonsSettings_Size")) {
            auto bytes = ReadBlock(section, n + "_ButtonsSettings");
            auto records = bytes ? ParseButtons(*bytes) : std::nullopt;
            if (records) {
                for (const ButtonRecord& r : *records) {
                    if (r.style & TBSTYLE_SEP)
                        continue;
                    int index = CommandToIndex((UINT)r.id);
                    if (index < 0)
                        continue;
                    CToolBar::SetButtonInfo(index, (UINT)r.id, r.style, r.image);
                    if (r.shown)
                        SetButtonText(index, r.text);
                    else if (!r.text.IsEmpty())
                        m_mapHiddenText[(UINT)r.id] = r.text;
                }
            }
        }
        SetTextType(0, 65535, m_nTextType);
    }
    m_bSuspendRedraw = FALSE;
    if (!relayout) {
        UpdateCustomButtons(0, -1);
    } else {
        SIZE button = GetToolBarCtrl().GetButtonSize();
        if (SendMessage(TB_GETTEXTROWS) == 0)
            button = SIZE{m_sizeImage.cx + 7, m_sizeImage.cy + 6};
        SetSizes(button, m_sizeImage);
        SendMessage(TB_AUTOSIZE);
        RedrawToolBar(TRUE, FALSE);
    }
    return result;
}
