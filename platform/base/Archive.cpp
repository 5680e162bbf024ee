#include "platform/base/Archive.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

namespace {
const WORD kNullTag = 0x0000;
const WORD kNewClassTag = 0xFFFF;
const WORD kClassTag = 0x8000;
const DWORD kBigClassTag = 0x80000000;
const WORD kBigObjectTag = 0x7FFF;
// Longer strings are read in pieces, so a damaged length costs no more memory than the data there is.
const UINT kReadPiece = 1 << 16;

template <class T>
T FromLittleEndian(const BYTE* p) {
    uint64_t v = 0;
    for (size_t i = 0; i < sizeof(T); ++i)
        v |= (uint64_t)p[i] << (8 * i);
    return (T)v;
}

template <class T>
void ToLittleEndian(T value, BYTE* p) {
    uint64_t v = (uint64_t)value;
    for (size_t i = 0; i < sizeof(T); ++i)
        p[i] = (BYTE)(v >> (8 * i));
}
}  // namespace

CArchive::CArchive(CFile* file, UINT mode, int bufferSize, void*)
    : m_file(file), m_mode(mode), m_bufferSize((size_t)std::max(bufferSize, 128)) {
    m_loaded.push_back(Loaded{});
}

CArchive::~CArchive() {
    if (m_closed || !m_file)
        return;
    if (IsStoring() && !(m_mode & bNoFlushOnDelete)) {
        try {
            Flush();
        } catch (CException* e) {
            e->Delete();
        }
    }
}

void CArchive::Throw(int cause) const {
    AfxThrowArchiveException(cause, m_file ? m_file->GetFilePath().GetString() : nullptr);
}

void CArchive::CheckStoring() {
    if (!IsStoring())
        Throw(CArchiveException::readOnly);
}

void CArchive::CheckLoading() {
    if (!IsLoading())
        Throw(CArchiveException::writeOnly);
}

void CArchive::Flush() {
    if (IsStoring() && !m_buffer.empty() && m_file) {
        std::vector<BYTE> out;
        out.swap(m_buffer);
        m_file->Write(out.data(), (UINT)out.size());
        m_file->Flush();
    }
}

void CArchive::Close() {
    if (m_closed)
        return;
    Flush();
    m_closed = true;
    m_buffer.clear();
}

void CArchive::Abort() {
    m_closed = true;
    m_buffer.clear();
}

UINT CArchive::Read(void* buffer, UINT count) {
    CheckLoading();
    BYTE* out = static_cast<BYTE*>(buffer);
    UINT done = 0;
    while (done < count) {
        if (m_readPos == m_buffer.size()) {
            m_buffer.resize(m_bufferSize);
            UINT n = m_closed || !m_file ? 0 : m_file->Read(m_buffer.data(), (UINT)m_bufferSize);
            m_buffer.resize(n);
            m_readPos = 0;
            if (n == 0)
                break;
        }
        UINT n = std::min<UINT>(count - done, (UINT)(m_buffer.size() - m_readPos));
        std::memcpy(out + done, m_buffer.data() + m_readPos, n);
        m_readPos += n;
        done += n;
    }
    return done;
}

void CArchive::ReadExact(void* buffer, UINT count) {
    if (Read(buffer, count) != count)
        Throw(CArchiveException::endOfFile);
}

void CArchive::Write(const void* buffer, UINT count) {
    CheckStoring();
    const BYTE* in = static_cast<const BYTE*>(buffer);
    m_buffer.insert(m_buffer.end(), in, in + count);
    if (m_buffer.size() >= m_bufferSize)
        Flush();
}

#define ARCHIVE_SCALAR(T)                  \
    CArchive& CArchive::operator<<(T v) {  \
        BYTE bytes[sizeof(T)];             \
        ToLittleEndian<T>(v, bytes);       \
        Write(bytes, sizeof bytes);        \
        return *this;                      \
    }                                      \
    CArchive& CArchive::operator>>(T& v) { \
        BYTE bytes[sizeof(T)];             \
        ReadExact(bytes, sizeof bytes);    \
        v = FromLittleEndian<T>(bytes);    \
        return *this;                      \
    }
ARCHIVE_SCALAR(BYTE)
ARCHIVE_SCALAR(WORD)
ARCHIVE_SCALAR(uint32_t)
ARCHIVE_SCALAR(uint64_t)
#undef ARCHIVE_SCALAR

CArchive& CArchive::operator>>(char& v) {
    BYTE b;
    *this >> b;
    v = (char)b;
    return *this;
}
CArchive& CArchive::operator>>(short& v) {
    WORD w;
    *this >> w;
    v = (short)w;
    return *this;
}
CArchive& CArchive::operator>>(int32_t& v) {
    uint32_t d;
    *this >> d;
    v = (int32_t)d;
    return *this;
}
CArchive& CArchive::operator>>(int64_t& v) {
    uint64_t q;
    *this >> q;
    v = (int64_t)q;
    return *this;
}
CArchive& CArchive::operator<<(float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return *this << bits;
}
CArchive& CArchive::operator>>(float& v) {
    uint32_t bits;
    *this >> bits;
    std::memcpy(&v, &bits, sizeof v);
    return *this;
}
CArchive& CArchive::operator<<(double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return *this << bits;
}
CArchive& CArchive::operator>>(double& v) {
    uint64_t bits;
    *this >> bits;
    std::memcpy(&v, &bits, sizeof v);
    return *this;
}

CArchive& CArchive::operator<<(const CString& v) {
    CheckStoring();
    size_t n = v.str().size();
    if (n < 0xFF) {
        *this << (BYTE)n;
    } else if (n < 0xFFFE) {
        *this << (BYTE)0xFF << (WORD)n;
    } else {
        if (n > 0xFFFFFFFFu)
            Throw(CArchiveException::genericException);
        *this << (BYTE)0xFF << (WORD)0xFFFF << (uint32_t)n;
    }
    Write(v.str().data(), (UINT)n);
    return *this;
}

CArchive& CArchive::operator>>(CString& v) {
    BYTE b;
    *this >> b;
    uint32_t n = b;
    if (b == 0xFF) {
        WORD w;
        *this >> w;
        n = w;
        if (w == 0xFFFE)
            Throw(CArchiveException::genericException);  // a wide-character string: never written here
        if (w == 0xFFFF)
            *this >> n;
    }
    std::string text;
    while (text.size() < n) {
        size_t old = text.size();
        UINT piece = std::min<UINT>(kReadPiece, (UINT)(n - old));
        text.resize(old + piece);
        ReadExact(&text[old], piece);
    }
    v = CString(std::move(text));
    return *this;
}

void CArchive::WriteCount(DWORD_PTR count) {
    if (count < 0xFFFF) {
        *this << (WORD)count;
    } else {
        if (count > 0xFFFFFFFFu)
            Throw(CArchiveException::genericException);
        *this << (WORD)0xFFFF << (uint32_t)count;
    }
}

DWORD_PTR CArchive::ReadCount() {
    WORD w;
    *this >> w;
    if (w != 0xFFFF)
        return w;
    uint32_t d;
    *this >> d;
    return d;
}

UINT CArchive::GetObjectSchema() {
    UINT schema = m_objectSchema;
    m_objectSchema = (UINT)-1;
    return schema;
}

void CArchive::WriteTag(DWORD index, bool isClass) {
    if (index < kBigObjectTag) {
        *this << (WORD)(isClass ? (kClassTag | index) : index);
    } else {
        *this << kBigObjectTag << (uint32_t)(isClass ? (kBigClassTag | index) : index);
    }
}

DWORD CArchive::ReadTag() {
    WORD w;
    *this >> w;
    if (w == kNewClassTag)
        return kNewClassTag;
    if (w == kBigObjectTag) {
        uint32_t d;
        *this >> d;
        return d;
    }
    return ((DWORD)(w & kClassTag) << 16) | (w & ~kClassTag);
}

void CArchive::WriteClass(const CRuntimeClass* cls) {
    CheckStoring();
    // Only a class that can be created again can be stored.
    if (!cls || cls->m_wSchema == 0xFFFF || !cls->m_pfnCreateObject)
        Throw(CArchiveException::badClass);
    auto it = m_stored.find(cls);
    if (it != m_stored.end()) {
        WriteTag(it->second, true);
        return;
    }
    WORD length = (WORD)std::min<size_t>(std::strlen(cls->m_lpszClassName), 0xFFFF);
    *this << kNewClassTag << (WORD)(cls->m_wSchema & ~VERSIONABLE_SCHEMA) << length;
    Write(cls->m_lpszClassName, length);
    m_stored[cls] = m_mapCount++;
}

const CRuntimeClass* CArchive::LoadNewClass(const CRuntimeClass* requested, UINT* schema) {
    WORD storedSchema, length;
    *this >> storedSchema >> length;
    std::string name(length, '\0');
    ReadExact(name.data(), length);
    const CRuntimeClass* cls = CRuntimeClass::FromName(name.c_str());
    if (!cls || name.size() != std::strlen(name.c_str()) || cls->m_wSchema == 0xFFFF ||
        !cls->m_pfnCreateObject)
        Throw(CArchiveException::badClass);
    if ((cls->m_wSchema & ~VERSIONABLE_SCHEMA) != storedSchema && !(cls->m_wSchema & VERSIONABLE_SCHEMA))
        Throw(CArchiveException::badSchema);
    if (requested && !cls->IsDerivedFrom(requested))
        Throw(CArchiveException::badClass);
    m_loaded.push_back(Loaded{cls, nullptr, storedSchema});
    ++m_mapCount;
    if (schema)
        *schema = storedSchema;
    return cls;
}

const CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* requested, UINT* schema) {
    CheckLoading();
    DWORD tag = ReadTag();
    if (tag == kNewClassTag)
        return LoadNewClass(requested, schema);
    DWORD index = tag & ~kBigClassTag;
    if (!(tag & kBigClassTag) || index >= m_loaded.size() || !m_loaded[index].cls)
        Throw(CArchiveException::badIndex);
    const Loaded& entry = m_loaded[index];
    if (requested && !entry.cls->IsDerivedFrom(requested))
        Throw(CArchiveException::badClass);
    if (schema)
        *schema = entry.schema;
    return entry.cls;
}

void CArchive::WriteObject(const CObject* object) {
    CheckStoring();
    if (!object) {
        *this << kNullTag;
        return;
    }
    auto it = m_stored.find(object);
    if (it != m_stored.end()) {
        WriteTag(it->second, false);
        return;
    }
    WriteClass(object->GetRuntimeClass());
    // Indexed before its body, so the body may refer back to the object.
    m_stored[object] = m_mapCount++;
    const_cast<CObject*>(object)->Serialize(*this);
}

CObject* CArchive::ReadObject(const CRuntimeClass* requested) {
    CheckLoading();
    DWORD tag = ReadTag();
    if (tag != kNewClassTag && !(tag & kBigClassTag)) {
        // A null or an object read before.
        if (tag >= m_loaded.size() || m_loaded[tag].cls)
            Throw(CArchiveException::badIndex);
        CObject* object = m_loaded[tag].object;
        if (object && requested && !object->IsKindOf(requested))
            Throw(CArchiveException::badClass);
        return object;
    }
    const CRuntimeClass* cls;
    UINT schema;
    if (tag == kNewClassTag) {
        cls = LoadNewClass(requested, &schema);
    } else {
        DWORD index = tag & ~kBigClassTag;
        if (index >= m_loaded.size() || !m_loaded[index].cls)
            Throw(CArchiveException::badIndex);
        cls = m_loaded[index].cls;
        schema = m_loaded[index].schema;
        if (requested && !cls->IsDerivedFrom(requested))
            Throw(CArchiveException::badClass);
    }
    std::unique_ptr<CObject> object(cls->CreateObject());
    if (!object)
        AfxThrowMemoryException();
    size_t slot = m_loaded.size();
    m_loaded.push_back(Loaded{nullptr, object.get(), 0});
    ++m_mapCount;
    UINT saved = m_objectSchema;
    m_objectSchema = schema;
    try {
        object->Serialize(*this);
    } catch (...) {
        // The object dies with the failed load; nothing may refer to it afterwards.
        m_loaded[slot].object = nullptr;
        m_objectSchema = saved;
        throw;
    }
    m_objectSchema = saved;
    return object.release();
}

CArchive& operator<<(CArchive& ar, const CObject* object) {
    ar.WriteObject(object);
    return ar;
}

CArchive& operator>>(CArchive& ar, CObject*& object) {
    object = ar.ReadObject(RUNTIME_CLASS(CObject));
    return ar;
}

void DeleteLoadedObjects(std::vector<CObject*>& objects) {
    std::unordered_set<CObject*> seen;
    for (CObject* o : objects)
        if (o && seen.insert(o).second)
            delete o;
    objects.clear();
}

CArchive& operator<<(CArchive& ar, const CTime& time) {
    return ar << (int64_t)time.GetTime();
}

CArchive& operator>>(CArchive& ar, CTime& time) {
    int64_t value = 0;
    ar >> value;
    time = CTime((time_t)value);
    return ar;
}
