// The one table behind every handle the platform gives out (kernel objects, registry keys, drawing
// objects, windows, menus, image lists, hooks): an object is named by a handle value, and a handle that
// is stale, forged or of another table finds nothing, so the call that got it fails instead of
// crashing.
//
// A handle value is `first + 4 * slot` in its low 24 bits and the slot's generation in bits 24..30, so
// it fits 31 bits as a 32-bit program's handles do, stays clear of small numbers that stand for other
// things (stock ids, colour indexes) and is never 0 or INVALID_HANDLE_VALUE. A freed slot gets the next
// generation and is reused only once more than 64 others are free, oldest first: a stale handle could
// meet a new object only after its slot came round 128 times.
#pragma once

#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

#include "platform/base/Types.h"

// Not synchronised: the owner guards it with the lock that guards the objects it holds.
template <class T, class H = HANDLE>
class HandleTable {
public:
    // `first` is the lowest handle value, a multiple of 4 below 0x1000000.
    explicit HandleTable(uint32_t first) : m_first(first) {}

    // A new handle for the object; a null handle when every slot is taken.
    H Add(T value) {
        uint32_t index;
        if (m_free.size() > kReuseAfter) {
            index = m_free.front();
            m_free.pop_front();
        } else {
            if (m_slots.size() >= Capacity())
                return nullptr;
            index = (uint32_t)m_slots.size();
            m_slots.emplace_back();
        }
        Slot& s = m_slots[index];
        s.value.emplace(std::move(value));
        ++m_count;
        return Encode(index, s.gen);
    }

    // The object a handle names, or nullptr.
    T* Find(H handle) {
        Slot* s = SlotOf(handle);
        return s ? &*s->value : nullptr;
    }
    const T* Find(H handle) const { return const_cast<HandleTable*>(this)->Find(handle); }

    // Removes the object and hands it back, so the caller can destroy it outside its lock; nothing for a
    // handle that names nothing.
    std::optional<T> Take(H handle) {
        Slot* s = SlotOf(handle);
        if (!s)
            return std::nullopt;
        std::optional<T> out(std::move(s->value));
        s->value.reset();
        s->gen = (s->gen + 1) & kGenMask;
        m_free.push_back((uint32_t)(s - m_slots.data()));
        --m_count;
        return out;
    }
    bool Remove(H handle) { return Take(handle).has_value(); }

    // Calls f(handle, object) for every object, in slot order.
    template <class F>
    void ForEach(F&& f) {
        for (size_t i = 0; i < m_slots.size(); ++i)
            if (m_slots[i].value)
                f(Encode((uint32_t)i, m_slots[i].gen), *m_slots[i].value);
    }

    size_t Size() const { return m_count; }

private:
    static constexpr uint32_t kGenMask = 0x7F;
    static constexpr uint32_t kLowLimit = 0x1000000;
    static constexpr size_t kReuseAfter = 64;

    struct Slot {
        std::optional<T> value;
        uint32_t gen = 0;
    };

    size_t Capacity() const { return m_first < kLowLimit ? (kLowLimit - m_first) / 4 : 0; }

    H Encode(uint32_t index, uint32_t gen) const {
        return reinterpret_cast<H>((uintptr_t)(((gen & kGenMask) << 24) | (m_first + index * 4)));
    }

    Slot* SlotOf(H handle) {
        uintptr_t v = reinterpret_cast<uintptr_t>(handle);
        if (v > 0x7FFFFFFF)
            return nullptr;
        uint32_t low = (uint32_t)(v & 0xFFFFFF);
        if (low < m_first || ((low - m_first) & 3))
            return nullptr;
        uint32_t index = (low - m_first) / 4;
        if (index >= m_slots.size())
            return nullptr;
        Slot& s = m_slots[index];
        if (!s.value || s.gen != (uint32_t)(v >> 24))
            return nullptr;
        return &s;
    }

    uint32_t m_first;
    std::vector<Slot> m_slots;
    std::deque<uint32_t> m_free;
    size_t m_count = 0;
};

// A handle table with a lock of its own, for objects handed out by copy (shared pointers, small
// values): a caller never holds a pointer into the table.
template <class T, class H = HANDLE>
class LockedHandleTable {
public:
    explicit LockedHandleTable(uint32_t first) : m_table(first) {}

    H Add(T value) {
        std::lock_guard<std::mutex> g(m_mutex);
        return m_table.Add(std::move(value));
    }
    // A copy of the object a handle names, or nothing.
    std::optional<T> Get(H handle) const {
        std::lock_guard<std::mutex> g(m_mutex);
        const T* p = m_table.Find(handle);
        return p ? std::optional<T>(*p) : std::nullopt;
    }
    // Removes the object; it is destroyed by the caller, after the lock is released.
    std::optional<T> Take(H handle) {
        std::lock_guard<std::mutex> g(m_mutex);
        return m_table.Take(handle);
    }

private:
    mutable std::mutex m_mutex;
    HandleTable<T, H> m_table;
};
