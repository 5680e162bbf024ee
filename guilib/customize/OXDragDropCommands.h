// The command drag block: what a command, a tool bar button or a whole popup menu carries while it is
// dragged between the commands page, tool bars and menus. One writer builds it and one bounded reader
// parses it for every drop target.
//
// The block is a sequence of packed items without a header:
//   command id (uint32: 0 separator, 0xFFFFFFFF popup), text (NUL-terminated), image index (int32,
//   -1 none), style (1 byte, the button's TBSTYLE_ byte), next (uint32: 1 a sibling follows, 2 last
//   of its level, 0 last of the block).
// A popup item whose next is not 0 is followed by its own items before its next sibling.
#pragma once

#include <vector>

#include "platform/base/GlobalMemory.h"
#include "platform/base/String.h"
#include "platform/base/Types.h"
#include "platform/framework/ole/OleDataObject.h"
#include "platform/framework/ole/OleDataSource.h"
#include "platform/framework/ole/OleDropSource.h"
#include "platform/framework/window/Menu.h"

#define OX_DRAG_POPUP ((UINT)0xFFFFFFFF)
#define OX_DRAG_NEXT_LAST_OF_BLOCK 0
#define OX_DRAG_NEXT_SIBLING 1
#define OX_DRAG_NEXT_LAST_OF_LEVEL 2

// The clipboard format of the block, "KVX_Command_Button", registered at first use.
CLIPFORMAT GetCommandDragFormat();
#define CommandDragFormat GetCommandDragFormat()

// One item read back from a block; a popup holds its items.
struct OXCommandDragItem {
    UINT nCommandID = 0;
    CString sText;
    int nImageIndex = -1;
    BYTE nStyle = 0;
    DWORD dwNext = 0;
    std::vector<OXCommandDragItem> items;

    BOOL IsPopup() const { return nCommandID == OX_DRAG_POPUP; }
    BOOL IsSeparator() const { return nCommandID == 0; }
};

// The deepest popup nesting a block may hold; deeper blocks are refused.
constexpr int OX_DRAG_MAX_NESTING = 16;

// A new data source holding the block of one dragged item (with its popup's items when `popup` is
// given); the caller owns it. A command without an image takes the one that the main window's bitmap
// menu organizer knows. Null when the block cannot be allocated.
COleDataSource* CreateCommandDataSource(LPCTSTR text, int imageIndex, UINT commandID, BYTE style,
                                        HMENU popup = nullptr);
// Runs the drag with copy and move allowed; the effect of the drop.
DROPEFFECT StartCommandDragDrop(COleDataSource* dataSource, COleDropSource* dropSource);
// Writes one item with next = 1 and moves `pos` past it.
void WriteCommandDragItem(BYTE*& pos, LPCTSTR text, int imageIndex, UINT commandID, BYTE style);
// The text that a menu item carries: a bitmap menu keeps it in the item's record, other menus in the
// item itself.
CString OXGetMenuItemText(HMENU menu, int position);
// The bytes that the items of a popup menu take, recursively (empty popups are left out).
UINT CalcMenuDragSize(HMENU menu);
// Writes the items of a popup menu, recursively; the last item of each level gets next = 2. Empty
// popups are left out, so that a reader never takes the following items as their children.
void WriteMenuDragItems(BYTE*& pos, HMENU menu);

// Parses a whole block into the items of its top level (the dragged item; a reader inserting a list
// takes them in order): every field and every text's NUL inside `size`, popups nested at most
// OX_DRAG_MAX_NESTING deep. FALSE (and `items` untouched) for a malformed block: it is not the format.
BOOL ParseCommandDragData(const BYTE* data, SIZE_T size, std::vector<OXCommandDragItem>& items);
// The same for a block in global memory, bounded by its size.
BOOL ParseCommandDragData(HGLOBAL block, std::vector<OXCommandDragItem>& items);
// Whether the data object offers a well-formed block; with `items`, the parsed block.
BOOL ReadCommandDragData(COleDataObject* dataObject, std::vector<OXCommandDragItem>* items = nullptr);
