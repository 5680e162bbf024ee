#include "platform/base/HandleTable.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/base/Handles.h"

namespace {
uintptr_t Value(HANDLE h) {
    return reinterpret_cast<uintptr_t>(h);
}
HANDLE Make(uintptr_t v) {
    return reinterpret_cast<HANDLE>(v);
}
}  // namespace

TEST(HandleTableTest, HandlesNameTheirObjectsAndFitThirtyOneBits) {
    HandleTable<std::string> table(0x100);
    HANDLE a = table.Add("a");
    HANDLE b = table.Add("b");
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(a, b);
    for (HANDLE h : {a, b}) {
        EXPECT_GE(Value(h), 0x100u);
        EXPECT_LE(Value(h), 0x7FFFFFFFu);
        EXPECT_EQ(Value(h) % 4, 0u);
    }
    EXPECT_EQ(*table.Find(a), "a");
    EXPECT_EQ(*table.Find(b), "b");
    EXPECT_EQ(table.Size(), 2u);
}

// Nothing that the table did not give out, or took back, finds an object.
TEST(HandleTableTest, ForeignAndStaleHandlesFindNothing) {
    HandleTable<int> table(0x100);
    HANDLE live = table.Add(1);
    HANDLE closed = table.Add(2);
    ASSERT_EQ(table.Take(closed), 2);
    const uintptr_t l = Value(live);
    const std::vector<HANDLE> foreign = {
        nullptr,              INVALID_HANDLE_VALUE, Make(l + 1), Make(l + 2), Make(0xFC),
        Make(l + 0x1000),     Make(l | 0x01000000), Make(l | 0x80000000ull), Make(0x80000001),
        closed,
    };
    for (HANDLE h : foreign) {
        EXPECT_EQ(table.Find(h), nullptr) << std::hex << Value(h);
        EXPECT_FALSE(table.Take(h).has_value()) << std::hex << Value(h);
    }
    EXPECT_EQ(*table.Find(live), 1);
    EXPECT_EQ(table.Size(), 1u);
}

// A slot is reused only after others are free, and then under a new handle: the old one stays dead.
TEST(HandleTableTest, ReusedSlotGetsNewHandle) {
    HandleTable<int> table(0x100);
    std::vector<HANDLE> handles;
    for (int i = 0; i < 200; ++i)
        handles.push_back(table.Add(i));
    std::set<HANDLE> closed;
    for (int i = 0; i < 100; ++i) {
        ASSERT_TRUE(table.Remove(handles[i]));
        closed.insert(handles[i]);
    }
    for (int i = 0; i < 100; ++i) {
        HANDLE h = table.Add(1000 + i);
        ASSERT_NE(h, nullptr);
        EXPECT_EQ(closed.count(h), 0u);
    }
    for (HANDLE h : closed)
        EXPECT_EQ(table.Find(h), nullptr);
    EXPECT_EQ(table.Size(), 200u);
}

TEST(HandleTableTest, FullTableGivesNullHandle) {
    HandleTable<int> table(0xFFFFF0);  // room for four
    for (int i = 0; i < 4; ++i)
        ASSERT_NE(table.Add(i), nullptr);
    EXPECT_EQ(table.Add(4), nullptr);
    EXPECT_EQ(table.Size(), 4u);
}

TEST(HandleTableTest, ForEachVisitsLiveObjectsInOrder) {
    HandleTable<int> table(0x100);
    HANDLE a = table.Add(1);
    HANDLE b = table.Add(2);
    HANDLE c = table.Add(3);
    table.Remove(b);
    std::vector<std::pair<HANDLE, int>> seen;
    table.ForEach([&](HANDLE h, int& v) { seen.emplace_back(h, v); });
    EXPECT_EQ(seen, (std::vector<std::pair<HANDLE, int>>{{a, 1}, {c, 3}}));
}

// The locked table hands out copies, and an object taken out outlives the table's lock.
TEST(HandleTableTest, LockedTableCopiesAndTakes) {
    LockedHandleTable<std::shared_ptr<int>> table(0x100);
    HANDLE h = table.Add(std::make_shared<int>(7));
    std::shared_ptr<int> copy = table.Get(h).value_or(nullptr);
    ASSERT_TRUE(copy);
    EXPECT_EQ(*copy, 7);
    EXPECT_EQ(copy.use_count(), 2);
    auto taken = table.Take(h);
    ASSERT_TRUE(taken);
    EXPECT_FALSE(table.Get(h).has_value());
    EXPECT_FALSE(table.Take(h).has_value());
}
