// COleDataSource: data offered to a drop or to the clipboard, as blocks of global memory by format.
#pragma once

#include <map>

#include "platform/framework/ole/Ole.h"
#include "platform/framework/window/CmdTarget.h"

class COleDropSource;

class COleDataSource : public CCmdTarget {
    DECLARE_DYNAMIC(COleDataSource)
public:
    COleDataSource() = default;
    ~COleDataSource() override;
    COleDataSource(const COleDataSource&) = delete;
    COleDataSource& operator=(const COleDataSource&) = delete;

    // The source owns the block from then on and frees it; a block given again for a format replaces
    // (and frees) the one before. A null block is refused.
    void CacheGlobalData(CLIPFORMAT format, HGLOBAL block, LPFORMATETC formatEtc = nullptr);
    // Frees every block.
    void Empty();

    // Runs the drag: the mouse (captured) carries the data over windows with a registered drop target,
    // found under the cursor up through the parents, until the button goes up (a drop where the target
    // offered an effect) or Escape, the other button or a lost capture cancels. With `startRect` (screen
    // coordinates) the drag starts only when the mouse leaves it. The effect of the drop, limited to
    // `allowed`; DROPEFFECT_NONE when cancelled or nothing took it.
    DROPEFFECT DoDragDrop(DWORD allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK,
                          LPCRECT startRect = nullptr, COleDropSource* dropSource = nullptr);

    // Puts a copy of every format on the clipboard (CF_TEXT reaches the desktop's, other formats stay in
    // the process). The clipboard owns the source from then on: it must have been made with new, and is
    // deleted when another source takes the clipboard or FlushClipboard is called.
    void SetClipboard();
    // The source that last went to the clipboard, while it is kept.
    static COleDataSource* GetClipboardOwner();
    // Lets the kept source go; what it put on the clipboard stays.
    static void FlushClipboard();

    // For the data object of a drop: the formats and their blocks (the source's own; not to be freed).
    bool HasFormat(CLIPFORMAT format) const { return m_blocks.count(format) != 0; }
    HGLOBAL Block(CLIPFORMAT format) const;
    const std::map<CLIPFORMAT, HGLOBAL>& Blocks() const { return m_blocks; }

private:
    std::map<CLIPFORMAT, HGLOBAL> m_blocks;
};

// A copy of a block, or null.
HGLOBAL CopyGlobalBlock(HGLOBAL block);
