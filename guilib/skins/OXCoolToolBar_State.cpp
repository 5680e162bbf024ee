// The cool tool bar's buttons, texts and look in the profile. The blocks are the framework archive's
// bytes (little-endian 32-bit integers, bytes, length-prefixed strings); each block is parsed whole and
// bounded by its bytes before anything is applied, so a damaged block leaves the bar as it was.
#include <cstring>
#include <optional>
#include <set>
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

// The positions block: (index, hosted window's id) pairs; empty when it is damaged.
std::optional<std::vector<std::pair<int32_t, int32_t>>> ParsePositions(const std::vector<BYTE>& bytes) {
    OXBlockReader in(bytes.data(), (UINT)bytes.size());
    int32_t count;
    if (!in.Int(count) || count < 0 || (UINT)count > in.Left() / 8)
        return std::nullopt;
    std::vector<std::pair<int32_t, int32_t>> slots((size_t)count);
    for (auto& [index, id] : slots)
        if (!in.Int(index) || !in.Int(id))
            return std::nullopt;
    return slots;
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
            block.Archive() << (int32_t)m_mapCustomButtons.size();
            for (const auto& [index, descriptor] : m_mapCustomButtons) {
                HWND window = CustomButtonWindow(descriptor);
                block.Archive() << (int32_t)index << (int32_t)(window ? ::GetDlgCtrlID(window) : descriptor.m_nID);
            }
            block.WriteTo(section, n + "_CustomButtonsPositions");
        }
        GetToolBarCtrl().SaveState(key, section, name);
        RegCloseKey(key);
    }
    if (!s_bTableSaved) {
        BlockWriter block;
        int count = GetRegisteredCustomButtonCount();
        block.Archive() << (int32_t)count;
        for (int i = 0; i < count; ++i) {
            const OXCUSTOMBUTTONDESCRIPTOR& d = *GetRegisteredCustomButton(i);
            block.Archive() << (int32_t)d.m_nID << (int32_t)d.m_nWidth << (int32_t)d.m_nHeight << (int32_t)d.m_nFlags
                            << (int32_t)d.m_nImageIndex;
            d.m_pCBTemplate->CBSaveState(block.Archive());
        }
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
        if (HasEntry(section, "Toolbars_CustomButtonsSettings_Size"))
            if (auto bytes = ReadBlock(section, "Toolbars_CustomButtonsSettings"))
                LoadCustomButtonTable(*bytes);
        s_bTableLoaded = TRUE;
    }
    BOOL result = TRUE;
    if (IsCustomizable(FALSE) || IsCustomizable(TRUE)) {
        HKEY key = AfxGetProfile().GetAppRegistryKey();
        if (!key)
            return FALSE;
        // The hosted windows leave their slots; those that stay are put back after the buttons.
        std::map<int, OXCUSTOMBUTTONDESCRIPTOR> kept;
        std::vector<std::pair<int32_t, int32_t>> slots;
        BOOL positions = (int)AfxGetProfile().GetProfileInt(section, n + "_CustomButtonsPositions_Size", -1) > 0;
        if (HasEntry(section, n + "_CustomButtonsPositions_Size")) {
            auto bytes = ReadBlock(section, n + "_CustomButtonsPositions");
            auto parsed = bytes ? ParsePositions(*bytes) : std::nullopt;
            if (parsed) {
                slots = std::move(*parsed);
            } else {
                // A damaged block: the hosted windows stay where they are.
                for (const auto& [index, descriptor] : m_mapCustomButtons)
                    if (HWND window = CustomButtonWindow(descriptor))
                        slots.emplace_back(index, ::GetDlgCtrlID(window));
                positions = TRUE;
            }
        }
        if (positions) {
            std::vector<int> indexes;
            for (const auto& entry : m_mapCustomButtons)
                indexes.insert(indexes.begin(), entry.first);  // the last first
            for (int index : indexes) {
                OXCUSTOMBUTTONDESCRIPTOR descriptor = m_mapCustomButtons[index];
                m_mapCustomButtons.erase(index);  // kept, not released, by the deletion below
                HWND window = CustomButtonWindow(descriptor);
                if (descriptor.m_pCBTemplate && descriptor.m_pCBTemplate->CBReleaseOnStateLoad()) {
                    descriptor.m_pCBTemplate->CBDelete();
                    descriptor.m_pCBTemplate = nullptr;
                }
                if (window)
                    kept[::GetDlgCtrlID(window)] = descriptor;
                GetToolBarCtrl().DeleteButton(index);
            }
        }
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
        RestoreCustomButtons(slots, kept);
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

void COXCoolToolBar::LoadCustomButtonTable(const std::vector<BYTE>& bytes) {
    // The length of an object's state is not stored: reading stops at an id that is not registered, or
    // at a state its object cannot read.
    OXBlockReader in(bytes.data(), (UINT)bytes.size());
    int32_t count;
    if (!in.Int(count) || count < 0 || (UINT)count > in.Left() / 20)
        return;
    for (int32_t k = 0; k < count; ++k) {
        int32_t id, width, height, flags, image;
        if (!in.Int(id) || !in.Int(width) || !in.Int(height) || !in.Int(flags) || !in.Int(image))
            return;
        int at = FindCustomButton((UINT)id);
        if (at < 0)
            return;
        OXCUSTOMBUTTONDESCRIPTOR descriptor = *GetRegisteredCustomButton(at);
        descriptor.m_nWidth = width;
        descriptor.m_nHeight = height;
        descriptor.m_nFlags = flags;
        descriptor.m_nImageIndex = image;
        if (!descriptor.m_pCBTemplate->CBLoadState(in))
            return;
        RegisterCustomButton((UINT)id, descriptor.m_pCBTemplate, descriptor);
    }
}

void COXCoolToolBar::RestoreCustomButtons(const std::vector<std::pair<int32_t, int32_t>>& slots,
                                          std::map<int, OXCUSTOMBUTTONDESCRIPTOR>& kept) {
    // The control's own state brought the slots back as plain buttons or separators with the hosted
    // windows' ids: they go, so that each custom button stands once at its index.
    std::set<int> hostedIds;
    for (const auto& slot : slots)
        hostedIds.insert(slot.second);
    for (const auto& entry : kept)
        hostedIds.insert(entry.first);
    hostedIds.erase(0);
    for (int i = GetToolBarCtrl().GetButtonCount() - 1; i >= 0; --i) {
        TBBUTTON button{};
        if (!IsCustomButton(i) && GetToolBarCtrl().GetButton(i, &button) && hostedIds.count(button.idCommand))
            GetToolBarCtrl().DeleteButton(i);
    }
    for (const auto& [index, id] : slots) {
        auto found = kept.find(id);
        int count = GetToolBarCtrl().GetButtonCount();
        if (found != kept.end() && CustomButtonWindow(found->second) && index >= 0 && index <= count) {
            TBBUTTON placeholder{};
            placeholder.iBitmap = -1;
            placeholder.fsStyle = TBSTYLE_SEP;
            placeholder.iString = -1;
            if (GetToolBarCtrl().InsertButton(index, &placeholder)) {
                OXCUSTOMBUTTONDESCRIPTOR descriptor = found->second;
                if (int at = FindCustomButton((UINT)id); at >= 0) {
                    const OXCUSTOMBUTTONDESCRIPTOR& registered = *GetRegisteredCustomButton(at);
                    descriptor.m_nWidth = registered.m_nWidth;
                    descriptor.m_nHeight = registered.m_nHeight;
                    descriptor.m_nFlags = registered.m_nFlags;
                    descriptor.m_nImageIndex = registered.m_nImageIndex;
                }
                m_mapCustomButtons[index] = descriptor;
                kept.erase(found);
            }
            continue;
        }
        InsertCustomButton(index, FindCustomButton((UINT)id), WS_CHILD | WS_VISIBLE, nullptr, CustomButtonWindowClass(), "");
    }
    // Hosted windows that have no slot any more are let go.
    for (auto& [id, descriptor] : kept)
        if (descriptor.m_pCBTemplate)
            descriptor.m_pCBTemplate->CBDelete();
}
