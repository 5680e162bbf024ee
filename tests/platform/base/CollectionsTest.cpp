#include <gtest/gtest.h>

#include "platform/base/Collections.h"

TEST(CMapStringToOb, IteratesInInsertionOrderAndSurvivesRemoval) {
    CMapStringToOb map;
    const char* keys[] = {"zeta", "alpha", "mid", "beta", "omega"};
    for (const char* k : keys)
        map[k] = nullptr;
    map.RemoveKey("mid");
    map["alpha"] = nullptr;  // re-setting keeps its place
    map["last"] = nullptr;
    std::vector<std::string> seen;
    for (POSITION pos = map.GetStartPosition(); pos;) {
        CString key;
        CObject* value;
        map.GetNextAssoc(pos, key, value);
        seen.push_back(key.str());
        if (key == "beta")
            map.RemoveKey("beta");  // removing the entry just visited is safe
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"zeta", "alpha", "beta", "omega", "last"}));
    EXPECT_EQ(map.GetCount(), 4);
    CObject* v = reinterpret_cast<CObject*>(1);
    EXPECT_FALSE(map.Lookup("ALPHA", v));  // keys are exact
    EXPECT_EQ(v, reinterpret_cast<CObject*>(1));
}

TEST(CList, InsertRemoveAndWalk) {
    CStringList list;
    list.AddTail("b");
    list.AddHead("a");
    POSITION c = list.AddTail("c");
    list.InsertBefore(c, "bb");
    list.RemoveAt(list.Find("b"));
    std::vector<std::string> seen;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        seen.push_back(list.GetNext(pos).str());
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "bb", "c"}));
    EXPECT_EQ(list.RemoveTail(), "c");
    EXPECT_EQ(list.GetCount(), 2);
}

TEST(CArray, RemoveAtIgnoresOutOfRange) {
    CStringArray a;
    a.Add("x");
    a.Add("y");
    a.RemoveAt(5);
    a.RemoveAt(0, 10);
    EXPECT_EQ(a.GetSize(), 0);
    a.SetAtGrow(3, "z");
    EXPECT_EQ(a.GetSize(), 4);
    EXPECT_EQ(a[3], "z");
}
