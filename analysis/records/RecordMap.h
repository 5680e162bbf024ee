// String-keyed maps of value records. A map owns its records: callers copy a record in (Add) and out
// (Get, Lookup, GetNext) and never hold a pointer into the map. Keys are exact (case matters);
// iteration follows insertion order.
#pragma once

#include "platform/base/Collections.h"

template <class RECORD>
class CRecordMap {
public:
    CRecordMap() : m_map(10) {}
    virtual ~CRecordMap() { DeleteAll(); }
    CRecordMap(const CRecordMap&) = delete;
    CRecordMap& operator=(const CRecordMap&) = delete;

    // Copies the record under the key into rec; FALSE (rec untouched) when the key is absent.
    BOOL Get(LPCTSTR key, RECORD& rec) const {
        CObject* p = nullptr;
        if (!m_map.Lookup(key, p) || !p)
            return FALSE;
        rec = *static_cast<RECORD*>(p);
        return TRUE;
    }
    POSITION GetStartPosition() const { return m_map.GetStartPosition(); }
    // One step of an iteration: the key and a copy of the record at pos; returns the next position,
    // null after the last entry.
    POSITION GetNext(POSITION pos, CString& key, RECORD& rec) const {
        while (pos) {
            CObject* p = nullptr;
            m_map.GetNextAssoc(pos, key, p);
            if (p) {
                rec = *static_cast<RECORD*>(p);
                break;
            }
        }
        return pos;
    }
    // Stores a copy of rec under the key, destroying a record the key held before.
    BOOL Add(LPCTSTR key, const RECORD& rec) {
        ++m_generation;
        RECORD* copy = new RECORD(rec);
        CObject*& slot = m_map[key];
        delete slot;
        slot = copy;
        return TRUE;
    }
    BOOL Remove(LPCTSTR key) {
        CObject* p = nullptr;
        if (!m_map.Lookup(key, p))
            return FALSE;
        ++m_generation;
        m_map.RemoveKey(key);
        delete p;
        return TRUE;
    }
    int32_t GetCount() const { return (int32_t)m_map.GetCount(); }
    // Lets update(record) change the record under the key in place (TRUE), or does nothing (FALSE) when
    // the key is absent; the reference is valid during the call only.
    template <class UPDATE>
    BOOL Update(LPCTSTR key, UPDATE update) {
        CObject* p = nullptr;
        if (!m_map.Lookup(key, p) || !p)
            return FALSE;
        ++m_generation;
        update(*static_cast<RECORD*>(p));
        return TRUE;
    }
    BOOL Contains(LPCTSTR key) const {
        CObject* p = nullptr;
        return m_map.Lookup(key, p) && p;
    }
    // A number that changes whenever the map or one of its records may have changed, so that a caller
    // can keep something it worked out from the map until then.
    uint64_t GetGeneration() const { return m_generation; }
    // Calls visit(key, record) for every entry in iteration order, without copying the records; the
    // reference is valid during the call only.
    template <class VISIT>
    void ForEach(VISIT visit) const {
        CString key;  // reused, so that walking a set does not allocate per entry
        for (POSITION pos = m_map.GetStartPosition(); pos;) {
            CObject* p = nullptr;
            m_map.GetNextAssoc(pos, key, p);
            if (p)
                visit(static_cast<const CString&>(key), static_cast<const RECORD&>(*static_cast<RECORD*>(p)));
        }
    }
    void DeleteAll() {
        ++m_generation;
        for (POSITION pos = m_map.GetStartPosition(); pos;) {
            CString key;
            CObject* p = nullptr;
            m_map.GetNextAssoc(pos, key, p);
            delete p;
        }
        m_map.RemoveAll();
    }

protected:
    CMapStringToOb m_map;
    uint64_t m_generation = 0;
};

// The application-wide maps: the same store with the names the application uses.
template <class RECORD>
class CAppRecordMap : public CRecordMap<RECORD> {
public:
    BOOL Lookup(LPCTSTR key, RECORD& rec) const { return this->Get(key, rec); }
    void RemoveAll() { this->DeleteAll(); }
    // Stores a copy under a key that is present; FALSE and no change when it is absent.
    BOOL Replace(LPCTSTR key, const RECORD& rec) {
        CObject* p = nullptr;
        if (!this->m_map.Lookup(key, p))
            return FALSE;
        return this->Add(key, rec);
    }
};
