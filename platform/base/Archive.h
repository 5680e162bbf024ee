// CArchive: the framework's binary serialisation over any CFile, little-endian and byte-exact.
//   string: BYTE length below 0xFF, else 0xFF + WORD below 0xFFFE, else 0xFF 0xFFFF + DWORD; then the bytes
//   count:  WORD below 0xFFFF, else 0xFFFF + DWORD
//   object: 0x0000 (null); 0xFFFF + WORD schema + WORD name length + name, then the body (a class met for
//           the first time); 0x8000|index, then the body (a class met before); or the index of an object
//           stored before. Classes and objects share one index sequence from 1; an index from 0x7FFF on
//           is written as 0x7FFF + DWORD (with 0x80000000 for a class).
// Loading never reads past the data: short data throws CArchiveException::endOfFile, an unknown class
// badClass, a schema a non-versionable class does not know badSchema, a reference to nothing badIndex.
#pragma once

#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/base/Exceptions.h"
#include "platform/base/File.h"
#include "platform/base/Object.h"
#include "platform/base/String.h"
#include "platform/base/Time.h"

class CDocument;

class CArchive {
public:
    enum Mode { store = 0, load = 1, bNoFlushOnDelete = 2, bNoByteSwap = 4 };

    // `bufferSize` and `buffer` tune the buffering only.
    CArchive(CFile* file, UINT mode, int bufferSize = 4096, void* buffer = nullptr);
    // A storing archive not closed writes its buffer (unless bNoFlushOnDelete); errors are swallowed here.
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    BOOL IsLoading() const { return (m_mode & load) != 0; }
    BOOL IsStoring() const { return (m_mode & load) == 0; }
    CFile* GetFile() const { return m_file; }
    // Writes what is buffered; the file stays open.
    void Flush();
    void Close();
    // Closes without writing or throwing.
    void Abort();

    // Raw bytes; Read returns how many were there.
    UINT Read(void* buffer, UINT count);
    void Write(const void* buffer, UINT count);

    void WriteCount(DWORD_PTR count);
    DWORD_PTR ReadCount();
    void WriteClass(const CRuntimeClass* cls);
    // The class read; `requested` (when given) must be it or a base of it (else badClass).
    const CRuntimeClass* ReadClass(const CRuntimeClass* requested = nullptr, UINT* schema = nullptr);
    void WriteObject(const CObject* object);
    // The object read (null for a stored null); a new object belongs to the caller.
    CObject* ReadObject(const CRuntimeClass* requested);
    // The schema the object being loaded was stored with, once: a second call gives (UINT)-1.
    UINT GetObjectSchema();
    void SetObjectSchema(UINT schema) { m_objectSchema = schema; }

    CArchive& operator<<(BYTE v);
    CArchive& operator<<(char v) { return *this << (BYTE)v; }
    CArchive& operator<<(WORD v);
    CArchive& operator<<(short v) { return *this << (WORD)v; }
    CArchive& operator<<(int32_t v) { return *this << (uint32_t)v; }
    CArchive& operator<<(uint32_t v);
    CArchive& operator<<(int64_t v) { return *this << (uint64_t)v; }
    CArchive& operator<<(uint64_t v);
    CArchive& operator<<(float v);
    CArchive& operator<<(double v);
    CArchive& operator<<(const CString& v);

    CArchive& operator>>(BYTE& v);
    CArchive& operator>>(char& v);
    CArchive& operator>>(WORD& v);
    CArchive& operator>>(short& v);
    CArchive& operator>>(int32_t& v);
    CArchive& operator>>(uint32_t& v);
    CArchive& operator>>(int64_t& v);
    CArchive& operator>>(uint64_t& v);
    CArchive& operator>>(float& v);
    CArchive& operator>>(double& v);
    CArchive& operator>>(CString& v);

    CDocument* m_pDocument = nullptr;

private:
    void CheckStoring();
    void CheckLoading();
    void ReadExact(void* buffer, UINT count);
    [[noreturn]] void Throw(int cause) const;
    void WriteTag(DWORD index, bool isClass);
    // Reads a tag: 0xFFFF for a new class, else the index with 0x80000000 for a class reference.
    DWORD ReadTag();
    const CRuntimeClass* LoadNewClass(const CRuntimeClass* requested, UINT* schema);

    struct Loaded {
        const CRuntimeClass* cls = nullptr;  // a class entry
        CObject* object = nullptr;           // an object entry
        UINT schema = 0;
    };

    CFile* m_file;
    UINT m_mode;
    size_t m_bufferSize;
    std::vector<BYTE> m_buffer;  // storing: bytes not yet written; loading: bytes read ahead
    size_t m_readPos = 0;
    bool m_closed = false;
    UINT m_objectSchema = (UINT)-1;
    DWORD m_mapCount = 1;
    std::unordered_map<const void*, DWORD> m_stored;  // classes and objects stored, by index
    std::vector<Loaded> m_loaded;                     // index 0 is null
};

CArchive& operator<<(CArchive& ar, const CObject* object);
CArchive& operator>>(CArchive& ar, CObject*& object);
// A time as its 64-bit value.
CArchive& operator<<(CArchive& ar, const CTime& time);
CArchive& operator>>(CArchive& ar, CTime& time);

// Storing and loading one element of a collection: the archive's own operators, objects through
// WriteObject/ReadObject. A type without them throws CArchiveException::genericException.
template <class T>
void SerializeElement(CArchive& ar, T& value) {
    if constexpr (requires(CArchive & a, T & v) {
                      a << v;
                      a >> v;
                  }) {
        if (ar.IsStoring())
            ar << value;
        else
            ar >> value;
    } else {
        AfxThrowArchiveException(CArchiveException::genericException);
    }
}

// Objects made by a load that failed part way: nobody holds them yet, so they are freed (once each).
void DeleteLoadedObjects(std::vector<CObject*>& objects);
