#include "platform/framework/ole/OleDataObject.h"

#include "platform/framework/ole/OleDataSource.h"
#include "platform/user/Clipboard.h"

void COleDataObject::Attach(COleDataSource* source) {
    Release();
    m_source = source;
}

BOOL COleDataObject::AttachClipboard() {
    Release();
    m_clipboard = true;
    return TRUE;
}

void COleDataObject::Release() {
    m_source = nullptr;
    m_clipboard = false;
}

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT format, LPFORMATETC) {
    if (m_source)
        return m_source->HasFormat(format) ? TRUE : FALSE;
    return m_clipboard && ::IsClipboardFormatAvailable(format);
}

HGLOBAL COleDataObject::GetGlobalData(CLIPFORMAT format, LPFORMATETC) {
    if (m_source)
        return CopyGlobalBlock(m_source->Block(format));
    if (!m_clipboard || !::OpenClipboard(nullptr))
        return nullptr;
    HGLOBAL copy = CopyGlobalBlock(::GetClipboardData(format));
    ::CloseClipboard();
    return copy;
}
