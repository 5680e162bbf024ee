#include "guilib/customize/OXDragDropCommands.h"

#include <algorithm>
#include <cstring>

#include "guilib/skins/OXBitmapMenu.h"
#include "guilib/skins/OXBitmapMenuOrganizer.h"
#include "platform/framework/app/WinThread.h"
#include "platform/user/Clipboard.h"

namespace {
// Command id, image index, style and next around the text and its NUL.
constexpr UINT ITEM_FIXED_BYTES = 4 + 1 + 4 + 1 + 4;

void Put32(BYTE*& pos, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        *pos++ = (BYTE)(v >> (8 * i));
}

}  // namespace

CString OXGetMenuItemText(HMENU menu, int position) {
    if (dynamic_cast<COXBitmapMenu*>(CMenu::FromHandlePermanent(menu))) {
        MENUITEMINFO info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_DATA;
        if (GetMenuItemInfo(menu, (UINT)position, TRUE, &info) && info.dwItemData)
            return reinterpret_cast<COXItemInfo*>(info.dwItemData)->GetText();
    }
    char buffer[512] = "";
    GetMenuString(menu, (UINT)position, buffer, (int)sizeof buffer, MF_BYPOSITION);
    return buffer;
}

namespace {

// The bytes an item takes with its popup's items; 0 for a popup that would carry no items, which is
// left out of the block.
UINT ItemSize(HMENU menu, int position) {
    UINT size = (UINT)OXGetMenuItemText(menu, position).GetLength() + ITEM_FIXED_BYTES;
    if (GetMenuItemID(menu, position) != OX_DRAG_POPUP)
        return size;
    HMENU sub = GetSubMenu(menu, position);
    UINT items = sub ? CalcMenuDragSize(sub) : 0;
    return items ? size + items : 0;
}

// Reads a block without passing its end.
class DragBlockReader {
public:
    DragBlockReader(const BYTE* data, SIZE_T size) : m_data(data), m_size(size) {}

    // One level of items; `ended` when an item closed the whole block.
    bool Level(std::vector<OXCommandDragItem>& items, int depth, bool& ended) {
        for (;;) {
            OXCommandDragItem item;
            int32_t image;
            uint32_t id, next;
            if (!U32(id) || !Text(item.sText) || !U32(reinterpret_cast<uint32_t&>(image)) || !Byte(item.nStyle) ||
                !U32(next))
                return false;
            if (next > OX_DRAG_NEXT_LAST_OF_LEVEL)
                return false;
            item.nCommandID = id;
            item.nImageIndex = image;
            item.dwNext = next;
            if (id == OX_DRAG_POPUP && next != OX_DRAG_NEXT_LAST_OF_BLOCK) {
                if (depth >= OX_DRAG_MAX_NESTING || !Level(item.items, depth + 1, ended))
                    return false;
            }
            items.push_back(std::move(item));
            if (ended || next == OX_DRAG_NEXT_LAST_OF_BLOCK) {
                ended = true;
                return true;
            }
            if (next == OX_DRAG_NEXT_LAST_OF_LEVEL)
                return true;
        }
    }

private:
    bool U32(uint32_t& v) {
        if (m_size - m_pos < 4)
            return false;
        v = (uint32_t)m_data[m_pos] | (uint32_t)m_data[m_pos + 1] << 8 | (uint32_t)m_data[m_pos + 2] << 16 |
            (uint32_t)m_data[m_pos + 3] << 24;
        m_pos += 4;
        return true;
    }
    bool Byte(BYTE& v) {
        if (m_pos >= m_size)
            return false;
        v = m_data[m_pos++];
        return true;
    }
    bool Text(CString& v) {
        const void* nul = std::memchr(m_data + m_pos, 0, m_size - m_pos);
        if (!nul)
            return false;
        SIZE_T length = (SIZE_T)(static_cast<const BYTE*>(nul) - (m_data + m_pos));
        v = CString(reinterpret_cast<const char*>(m_data + m_pos), (int)length);
        m_pos += length + 1;
        return true;
    }

    const BYTE* m_data;
    SIZE_T m_size;
    SIZE_T m_pos = 0;
};
}  // namespace

CLIPFORMAT GetCommandDragFormat() {
    static const CLIPFORMAT format = (CLIPFORMAT)RegisterClipboardFormat("KVX_Command_Button");
    return format;
}

void WriteCommandDragItem(BYTE*& pos, LPCTSTR text, int imageIndex, UINT commandID, BYTE style) {
    Put32(pos, commandID);
    size_t length = text ? std::strlen(text) : 0;
    if (length)
        std::memcpy(pos, text, length);
    pos += length;
    *pos++ = 0;
    Put32(pos, (uint32_t)imageIndex);
    *pos++ = style;
    Put32(pos, OX_DRAG_NEXT_SIBLING);
}

UINT CalcMenuDragSize(HMENU menu) {
    UINT size = 0;
    int count = menu ? GetMenuItemCount(menu) : 0;
    for (int i = 0; i < count; ++i)
        size += ItemSize(menu, i);
    return size;
}

void WriteMenuDragItems(BYTE*& pos, HMENU menu) {
    int count = menu ? GetMenuItemCount(menu) : 0;
    std::vector<bool> written((size_t)std::max(count, 0));
    int last = -1;
    for (int i = 0; i < count; ++i)
        if ((written[(size_t)i] = ItemSize(menu, i) != 0))
            last = i;
    for (int i = 0; i <= last; ++i) {
        if (!written[(size_t)i])
            continue;
        UINT id = GetMenuItemID(menu, i);
        if (id != OX_DRAG_POPUP && (GetMenuState(menu, (UINT)i, MF_BYPOSITION) & MF_SEPARATOR))
            id = 0;
        WriteCommandDragItem(pos, OXGetMenuItemText(menu, i), -1, id, 0);
        if (i == last) {
            BYTE* next = pos - 4;
            Put32(next, OX_DRAG_NEXT_LAST_OF_LEVEL);
        }
        if (id == OX_DRAG_POPUP)
            WriteMenuDragItems(pos, GetSubMenu(menu, i));
    }
}

COleDataSource* CreateCommandDataSource(LPCTSTR text, int imageIndex, UINT commandID, BYTE style, HMENU popup) {
    size_t size = (text ? std::strlen(text) : 0) + ITEM_FIXED_BYTES;
    if (popup)
        size += CalcMenuDragSize(popup);
    HGLOBAL block = GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, size);
    if (!block)
        return nullptr;
    BYTE* start = static_cast<BYTE*>(GlobalLock(block));
    if (!start) {
        GlobalFree(block);
        return nullptr;
    }
    if (commandID != OX_DRAG_POPUP && imageIndex == -1) {
        CWnd* main = AfxGetMainWnd();
        COXBitmapMenuOrganizer* organizer = main ? COXBitmapMenuOrganizer::FindOrganizer(main->m_hWnd) : nullptr;
        if (COXImageInfo* image = organizer ? organizer->GetImageInfo(commandID) : nullptr)
            imageIndex = image->index;
    }
    BYTE* pos = start;
    WriteCommandDragItem(pos, text, imageIndex, commandID, style);
    if (popup) {
        BYTE* next = pos - 4;
        Put32(next, OX_DRAG_NEXT_LAST_OF_LEVEL);
        WriteMenuDragItems(pos, popup);
    }
    BYTE* last = start + size - 4;
    Put32(last, OX_DRAG_NEXT_LAST_OF_BLOCK);
    GlobalUnlock(block);
    auto* source = new COleDataSource;
    source->CacheGlobalData(CommandDragFormat, block);
    return source;
}

DROPEFFECT StartCommandDragDrop(COleDataSource* dataSource, COleDropSource* dropSource) {
    return dataSource ? dataSource->DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE, nullptr, dropSource)
                      : DROPEFFECT_NONE;
}

BOOL ParseCommandDragData(const BYTE* data, SIZE_T size, std::vector<OXCommandDragItem>& items) {
    if (!data)
        return FALSE;
    std::vector<OXCommandDragItem> read;
    bool ended = false;
    DragBlockReader reader(data, size);
    if (!reader.Level(read, 0, ended))
        return FALSE;
    items = std::move(read);
    return TRUE;
}

BOOL ParseCommandDragData(HGLOBAL block, std::vector<OXCommandDragItem>& items) {
    const BYTE* data = block ? static_cast<const BYTE*>(GlobalLock(block)) : nullptr;
    if (!data)
        return FALSE;
    BOOL ok = ParseCommandDragData(data, GlobalSize(block), items);
    GlobalUnlock(block);
    return ok;
}

BOOL ReadCommandDragData(COleDataObject* dataObject, std::vector<OXCommandDragItem>* items) {
    if (!dataObject || !dataObject->IsDataAvailable(CommandDragFormat))
        return FALSE;
    HGLOBAL block = dataObject->GetGlobalData(CommandDragFormat);
    std::vector<OXCommandDragItem> read;
    BOOL ok = ParseCommandDragData(block, read);
    if (block)
        GlobalFree(block);
    if (ok && items)
        *items = std::move(read);
    return ok;
}
