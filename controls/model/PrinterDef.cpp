#include "controls/model/PrinterDef.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/base/Archive.h"

CPrinterDef::~CPrinterDef() = default;

namespace {
HGLOBAL GlobalCopy(const std::vector<BYTE>& block) {
    if (block.empty())
        return nullptr;
    HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE, block.size());
    if (handle) {
        std::memcpy(GlobalLock(handle), block.data(), block.size());
        GlobalUnlock(handle);
    }
    return handle;
}

std::vector<BYTE> CopyOf(HGLOBAL handle) {
    std::vector<BYTE> block;
    if (!handle)
        return block;
    SIZE_T size = GlobalSize(handle);
    if (const void* bytes = GlobalLock(handle)) {
        block.assign(static_cast<const BYTE*>(bytes), static_cast<const BYTE*>(bytes) + size);
        GlobalUnlock(handle);
    }
    return block;
}

// A block of a stored size, read a piece at a time so that a damaged size fails at the end of the data
// instead of asking for memory it never had.
std::vector<BYTE> ReadBlock(CArchive& ar) {
    uint32_t size = 0;
    ar >> size;
    std::vector<BYTE> block;
    constexpr uint32_t kPiece = 64 * 1024;
    while (block.size() < size) {
        size_t done = block.size();
        uint32_t piece = std::min<uint32_t>(kPiece, size - (uint32_t)done);
        block.resize(done + piece);
        if (ar.Read(block.data() + done, piece) != piece)
            AfxThrowArchiveException(CArchiveException::endOfFile);
    }
    return block;
}
}  // namespace

void CPrinterDef::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        for (const auto* block : {&m_devNames, &m_devMode}) {
            ar << (uint32_t)block->size();
            if (!block->empty())
                ar.Write(block->data(), (UINT)block->size());
        }
        return;
    }
    std::vector<BYTE> names = ReadBlock(ar);
    std::vector<BYTE> mode = ReadBlock(ar);
    m_devNames = std::move(names);
    m_devMode = std::move(mode);
}

void CPrinterDef::CopyToGlobal(HGLOBAL& devNames, HGLOBAL& devMode) const {
    devNames = GlobalCopy(m_devNames);
    devMode = GlobalCopy(m_devMode);
}

void CPrinterDef::CopyFromGlobal(HGLOBAL devNames, HGLOBAL devMode) {
    m_devNames = CopyOf(devNames);
    m_devMode = CopyOf(devMode);
}
