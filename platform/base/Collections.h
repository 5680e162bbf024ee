// The framework's collections over std:: containers. Maps iterate in insertion order, so every
// report that walks a map is deterministic.
#pragma once

#include <algorithm>
#include <functional>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/base/Archive.h"
#include "platform/base/Object.h"
#include "platform/base/String.h"

namespace collections_detail {
template <class T>
constexpr bool kIsObjectPointer = std::is_pointer_v<T>&& std::is_base_of_v<CObject, std::remove_pointer_t<T>>;

// Frees the objects a failed load made (they are held nowhere else yet).
template <class T>
void DropLoaded(std::vector<T>& loaded) {
    if constexpr (kIsObjectPointer<T>) {
        std::vector<CObject*> objects(loaded.begin(), loaded.end());
        DeleteLoadedObjects(objects);
    }
    loaded.clear();
}

// How a map finds its key from the argument of a lookup. Text keys are found by their bytes, so a
// lookup builds no key string (a long key would cost an allocation and a copy each time).
template <class KEY>
struct KeyOps {
    using Hash = std::hash<KEY>;
    using Equal = std::equal_to<KEY>;
    template <class ARG>
    static KEY Probe(const ARG& key) {
        return KEY(key);
    }
};
template <>
struct KeyOps<CString> {
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const noexcept { return std::hash<std::string_view>()(s); }
        size_t operator()(const CString& s) const noexcept { return (*this)(std::string_view(s.str())); }
    };
    struct Equal {
        using is_transparent = void;
        bool operator()(const CString& a, const CString& b) const noexcept { return a.str() == b.str(); }
        bool operator()(std::string_view a, const CString& b) const noexcept { return a == b.str(); }
        bool operator()(const CString& a, std::string_view b) const noexcept { return a.str() == b; }
    };
    static std::string_view Probe(const char* key) { return key ? std::string_view(key) : std::string_view(); }
    static std::string_view Probe(const CString& key) { return key.str(); }
};
}  // namespace collections_detail

struct __POSITION {};
typedef __POSITION* POSITION;
#define BEFORE_START_POSITION ((POSITION)-1L)

// Growable array with the framework's interface.
template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject {
public:
    CArray() = default;
    INT_PTR GetSize() const { return (INT_PTR)m_v.size(); }
    INT_PTR GetCount() const { return (INT_PTR)m_v.size(); }
    BOOL IsEmpty() const { return m_v.empty(); }
    INT_PTR GetUpperBound() const { return (INT_PTR)m_v.size() - 1; }
    void SetSize(INT_PTR newSize, INT_PTR /*growBy*/ = -1) { m_v.resize(newSize > 0 ? (size_t)newSize : 0); }
    void RemoveAll() { m_v.clear(); }
    const TYPE& GetAt(INT_PTR i) const { return m_v[(size_t)i]; }
    TYPE& ElementAt(INT_PTR i) { return m_v[(size_t)i]; }
    void SetAt(INT_PTR i, ARG_TYPE v) { m_v[(size_t)i] = v; }
    void SetAtGrow(INT_PTR i, ARG_TYPE v) {
        if ((size_t)i >= m_v.size())
            m_v.resize((size_t)i + 1);
        m_v[(size_t)i] = v;
    }
    const TYPE& operator[](INT_PTR i) const { return m_v[(size_t)i]; }
    TYPE& operator[](INT_PTR i) { return m_v[(size_t)i]; }
    INT_PTR Add(ARG_TYPE v) {
        m_v.push_back(v);
        return (INT_PTR)m_v.size() - 1;
    }
    INT_PTR Append(const CArray& other) {
        INT_PTR first = GetSize();
        m_v.insert(m_v.end(), other.m_v.begin(), other.m_v.end());
        return first;
    }
    void Copy(const CArray& other) { m_v = other.m_v; }
    void InsertAt(INT_PTR i, ARG_TYPE v, INT_PTR count = 1) {
        if ((size_t)i > m_v.size())
            m_v.resize((size_t)i);
        m_v.insert(m_v.begin() + i, (size_t)count, v);
    }
    void RemoveAt(INT_PTR i, INT_PTR count = 1) {
        if (i < 0 || (size_t)i >= m_v.size() || count <= 0)
            return;
        size_t end = std::min(m_v.size(), (size_t)(i + count));
        m_v.erase(m_v.begin() + i, m_v.begin() + (ptrdiff_t)end);
    }
    TYPE* GetData() { return m_v.data(); }
    const TYPE* GetData() const { return m_v.data(); }
    // The count, then each element. Loading replaces the elements only when the whole array was read.
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring()) {
            ar.WriteCount((DWORD_PTR)m_v.size());
            for (size_t i = 0; i < m_v.size(); ++i) {
                TYPE element = m_v[i];
                SerializeElement(ar, element);
            }
            return;
        }
        DWORD_PTR count = ar.ReadCount();
        std::vector<TYPE> loaded;
        try {
            for (DWORD_PTR i = 0; i < count; ++i) {
                TYPE element{};
                SerializeElement(ar, element);
                loaded.push_back(std::move(element));
            }
        } catch (...) {
            collections_detail::DropLoaded(loaded);
            throw;
        }
        m_v.swap(loaded);
    }
    std::vector<TYPE>& vec() { return m_v; }
    const std::vector<TYPE>& vec() const { return m_v; }

private:
    std::vector<TYPE> m_v;
};

class CStringArray : public CArray<CString, const char*> {};
// Archived as an object of its own: the count, then each element as an archived object.
class CObArray : public CArray<CObject*, CObject*> {
    DECLARE_SERIAL(CObArray)
};
class CPtrArray : public CArray<void*, void*> {};
class CDWordArray : public CArray<DWORD, DWORD> {};
class CUIntArray : public CArray<UINT, UINT> {};
class CWordArray : public CArray<WORD, WORD> {};
class CByteArray : public CArray<BYTE, BYTE> {};

// Doubly linked list; a POSITION is a node.
template <class TYPE, class ARG_TYPE = const TYPE&>
class CList : public CObject {
    struct Node {
        Node* next;
        Node* prev;
        TYPE data;
    };

public:
    CList() = default;
    CList(const CList&) = delete;
    CList& operator=(const CList&) = delete;
    ~CList() override { RemoveAll(); }

    INT_PTR GetCount() const { return m_count; }
    INT_PTR GetSize() const { return m_count; }
    BOOL IsEmpty() const { return m_count == 0; }
    TYPE& GetHead() { return m_head->data; }
    const TYPE& GetHead() const { return m_head->data; }
    TYPE& GetTail() { return m_tail->data; }
    const TYPE& GetTail() const { return m_tail->data; }
    POSITION GetHeadPosition() const { return (POSITION)m_head; }
    POSITION GetTailPosition() const { return (POSITION)m_tail; }
    TYPE& GetNext(POSITION& pos) {
        Node* n = (Node*)pos;
        pos = (POSITION)n->next;
        return n->data;
    }
    const TYPE& GetNext(POSITION& pos) const {
        Node* n = (Node*)pos;
        pos = (POSITION)n->next;
        return n->data;
    }
    TYPE& GetPrev(POSITION& pos) {
        Node* n = (Node*)pos;
        pos = (POSITION)n->prev;
        return n->data;
    }
    TYPE& GetAt(POSITION pos) { return ((Node*)pos)->data; }
    const TYPE& GetAt(POSITION pos) const { return ((Node*)pos)->data; }
    void SetAt(POSITION pos, ARG_TYPE v) { ((Node*)pos)->data = v; }
    POSITION AddHead(ARG_TYPE v) { return InsertBefore((POSITION)m_head, v); }
    POSITION AddTail(ARG_TYPE v) { return InsertAfter((POSITION)m_tail, v); }
    POSITION InsertBefore(POSITION pos, ARG_TYPE v) {
        Node* at = (Node*)pos;
        Node* n = new Node{at, at ? at->prev : nullptr, v};
        if (!at) {  // empty list or insert at head of empty
            n->next = m_head;
            if (m_head)
                m_head->prev = n;
            m_head = n;
            if (!m_tail)
                m_tail = n;
        } else {
            if (at->prev)
                at->prev->next = n;
            else
                m_head = n;
            at->prev = n;
        }
        ++m_count;
        return (POSITION)n;
    }
    POSITION InsertAfter(POSITION pos, ARG_TYPE v) {
        Node* at = (Node*)pos;
        Node* n = new Node{at ? at->next : nullptr, at, v};
        if (!at) {
            n->prev = m_tail;
            if (m_tail)
                m_tail->next = n;
            m_tail = n;
            if (!m_head)
                m_head = n;
        } else {
            if (at->next)
                at->next->prev = n;
            else
                m_tail = n;
            at->next = n;
        }
        ++m_count;
        return (POSITION)n;
    }
    TYPE RemoveHead() {
        TYPE v = m_head->data;
        RemoveAt((POSITION)m_head);
        return v;
    }
    TYPE RemoveTail() {
        TYPE v = m_tail->data;
        RemoveAt((POSITION)m_tail);
        return v;
    }
    void RemoveAt(POSITION pos) {
        Node* n = (Node*)pos;
        if (!n)
            return;
        if (n->prev)
            n->prev->next = n->next;
        else
            m_head = n->next;
        if (n->next)
            n->next->prev = n->prev;
        else
            m_tail = n->prev;
        delete n;
        --m_count;
    }
    void RemoveAll() {
        Node* n = m_head;
        while (n) {
            Node* next = n->next;
            delete n;
            n = next;
        }
        m_head = m_tail = nullptr;
        m_count = 0;
    }
    POSITION Find(ARG_TYPE v, POSITION after = nullptr) const {
        Node* n = after ? ((Node*)after)->next : m_head;
        for (; n; n = n->next)
            if (n->data == v)
                return (POSITION)n;
        return nullptr;
    }
    POSITION FindIndex(INT_PTR index) const {
        if (index < 0)
            return nullptr;
        Node* n = m_head;
        while (n && index--)
            n = n->next;
        return (POSITION)n;
    }

private:
    Node* m_head = nullptr;
    Node* m_tail = nullptr;
    INT_PTR m_count = 0;
};

class CStringList : public CList<CString, const char*> {};
class CPtrList : public CList<void*, void*> {};
class CObList : public CList<CObject*, CObject*> {};

// Hash map that iterates in insertion order; a POSITION is an entry.
template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject {
    using Ops = collections_detail::KeyOps<KEY>;
    struct Node {
        Node* next;
        Node* prev;
        KEY key;
        VALUE value;
    };

public:
    explicit CMap(INT_PTR /*blockSize*/ = 10) {}
    CMap(const CMap&) = delete;
    CMap& operator=(const CMap&) = delete;
    ~CMap() override { RemoveAll(); }

    INT_PTR GetCount() const { return (INT_PTR)m_index.size(); }
    INT_PTR GetSize() const { return (INT_PTR)m_index.size(); }
    BOOL IsEmpty() const { return m_index.empty(); }

    BOOL Lookup(ARG_KEY key, VALUE& value) const {
        auto it = m_index.find(Ops::Probe(key));
        if (it == m_index.end())
            return FALSE;
        value = it->second->value;
        return TRUE;
    }
    // The value under the key, inserted (default-constructed) when absent.
    VALUE& operator[](ARG_KEY key) {
        auto it = m_index.find(Ops::Probe(key));
        if (it != m_index.end())
            return it->second->value;
        KEY k(key);
        Node* n = new Node{nullptr, m_tail, k, VALUE()};
        if (m_tail)
            m_tail->next = n;
        else
            m_head = n;
        m_tail = n;
        m_index.emplace(std::move(k), n);
        return n->value;
    }
    void SetAt(ARG_KEY key, ARG_VALUE value) { (*this)[key] = value; }
    BOOL RemoveKey(ARG_KEY key) {
        auto it = m_index.find(Ops::Probe(key));
        if (it == m_index.end())
            return FALSE;
        Node* n = it->second;
        m_index.erase(it);
        Unlink(n);
        return TRUE;
    }
    void RemoveAll() {
        Node* n = m_head;
        while (n) {
            Node* next = n->next;
            delete n;
            n = next;
        }
        m_head = m_tail = nullptr;
        m_index.clear();
    }
    POSITION GetStartPosition() const { return (POSITION)m_head; }
    void GetNextAssoc(POSITION& pos, KEY& key, VALUE& value) const {
        Node* n = (Node*)pos;
        key = n->key;
        value = n->value;
        pos = (POSITION)n->next;
    }
    void InitHashTable(UINT /*size*/, BOOL /*allocNow*/ = TRUE) {}
    // The count, then each key and its value in insertion order. Loading replaces the entries only when
    // the whole map was read.
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring()) {
            ar.WriteCount((DWORD_PTR)m_index.size());
            for (Node* n = m_head; n; n = n->next) {
                KEY key = n->key;
                VALUE value = n->value;
                SerializeElement(ar, key);
                SerializeElement(ar, value);
            }
            return;
        }
        DWORD_PTR count = ar.ReadCount();
        std::vector<KEY> keys;
        std::vector<VALUE> values;
        try {
            for (DWORD_PTR i = 0; i < count; ++i) {
                KEY key{};
                VALUE value{};
                SerializeElement(ar, key);
                keys.push_back(std::move(key));
                SerializeElement(ar, value);
                values.push_back(std::move(value));
            }
        } catch (...) {
            collections_detail::DropLoaded(values);
            throw;
        }
        RemoveAll();
        for (size_t i = 0; i < keys.size(); ++i)
            (*this)[keys[i]] = values[i];
    }

private:
    void Unlink(Node* n) {
        if (n->prev)
            n->prev->next = n->next;
        else
            m_head = n->next;
        if (n->next)
            n->next->prev = n->prev;
        else
            m_tail = n->prev;
        delete n;
    }

    Node* m_head = nullptr;
    Node* m_tail = nullptr;
    std::unordered_map<KEY, Node*, typename Ops::Hash, typename Ops::Equal> m_index;
};

// Text keys to object pointers. The map does not own the objects; its users do.
class CMapStringToOb : public CMap<CString, const char*, CObject*, CObject*> {
public:
    explicit CMapStringToOb(INT_PTR blockSize = 10) : CMap(blockSize) {}
};
class CMapStringToPtr : public CMap<CString, const char*, void*, void*> {
public:
    explicit CMapStringToPtr(INT_PTR blockSize = 10) : CMap(blockSize) {}
};
// Pointers to pointers (window handles to objects and the like); neither side is owned.
class CMapPtrToPtr : public CMap<void*, void*, void*, void*> {
public:
    explicit CMapPtrToPtr(INT_PTR blockSize = 10) : CMap(blockSize) {}
};
class CMapStringToString : public CMap<CString, const char*, CString, const char*> {
public:
    explicit CMapStringToString(INT_PTR blockSize = 10) : CMap(blockSize) {}
};
