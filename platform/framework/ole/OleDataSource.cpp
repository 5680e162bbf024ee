#include "platform/framework/ole/OleDataSource.h"

#include <cstring>

#include "platform/user/Clipboard.h"

IMPLEMENT_DYNAMIC(COleDataSource, CCmdTarget)

namespace {
COleDataSource* g_clipboardOwner = nullptr;  // the UI thread's
}  // namespace

HGLOBAL CopyGlobalBlock(HGLOBAL block) {
    SIZE_T size = GlobalSize(block);
    const void* from = size ? GlobalLock(block) : nullptr;
    if (!from)
        return nullptr;
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
    void* to = copy ? GlobalLock(copy) : nullptr;
    if (to) {
        std::memcpy(to, from, size);
        GlobalUnlock(copy);
    } else if (copy) {
        GlobalFree(copy);
        copy = nullptr;
    }
    GlobalUnlock(block);
    return copy;
}

COleDataSource::~COleDataSource() {
    if (g_clipboardOwner == this)
        g_clipboardOwner = nullptr;
    Empty();
}

void COleDataSource::CacheGlobalData(CLIPFORMAT format, HGLOBAL block, LPFORMATETC) {
    if (!block || !format)
        return;
    auto it = m_blocks.find(format);
    if (it != m_blocks.end()) {
        if (it->second != block)
            GlobalFree(it->second);
        it->second = block;
        return;
    }
    m_blocks[format] = block;
}

void COleDataSource::Empty() {
    for (auto& [format, block] : m_blocks)
        GlobalFree(block);
    m_blocks.clear();
}

HGLOBAL COleDataSource::Block(CLIPFORMAT format) const {
    auto it = m_blocks.find(format);
    return it == m_blocks.end() ? nullptr : it->second;
}

void COleDataSource::SetClipboard() {
    if (::OpenClipboard(nullptr)) {
        ::EmptyClipboard();
        for (auto& [format, block] : m_blocks) {
            HGLOBAL copy = CopyGlobalBlock(block);
            if (copy && !::SetClipboardData(format, copy))
                GlobalFree(copy);
        }
        ::CloseClipboard();
    }
    if (g_clipboardOwner != this) {
        COleDataSource* before = g_clipboardOwner;
        g_clipboardOwner = this;
        delete before;
    }
}

COleDataSource* COleDataSource::GetClipboardOwner() {
    return g_clipboardOwner;
}

void COleDataSource::FlushClipboard() {
    COleDataSource* owner = g_clipboardOwner;
    g_clipboardOwner = nullptr;
    delete owner;
}
