#include <gtest/gtest.h>

#include "analysis/records/MapStrToObjClient.h"
#include "analysis/records/MapStrToObjSqlDetail.h"
#include "analysis/records/MapStrToObjXact.h"
#include "analysis/records/MapStrToTObj.h"

TEST(RecordMaps, RecordsStartAsDocumented) {
    CTransaction t;
    EXPECT_EQ(t.m_csMinElapsed, "23:59:59");
    EXPECT_EQ(t.m_csMaxElapsed, "00:00:00");
    EXPECT_EQ(t.m_nCount, 0);
    CClient c;
    EXPECT_EQ(c.m_csMinElapsed, "23:59:59");
}

TEST(RecordMaps, GetAddRemoveContract) {
    CMapStrToObjClient map;
    CClient rec;
    rec.m_csMachine = "M1";
    rec.m_csType = "GUI";
    rec.m_nCount = 1;
    EXPECT_TRUE(map.Add("M1|GUI", rec));
    rec.m_nCount = 5;
    EXPECT_TRUE(map.Add("M1|GUI", rec));  // replaces; one entry
    EXPECT_EQ(map.GetCount(), 1);

    CClient out;
    out.m_nCount = -7;
    EXPECT_FALSE(map.Get("M1", out));      // machine alone is another key
    EXPECT_FALSE(map.Get("m1|gui", out));  // keys are case-sensitive
    EXPECT_EQ(out.m_nCount, -7);           // untouched on a miss
    EXPECT_TRUE(map.Get("M1|GUI", out));
    EXPECT_EQ(out.m_nCount, 5);

    EXPECT_FALSE(map.Remove("absent"));
    EXPECT_EQ(map.GetCount(), 1);
    EXPECT_TRUE(map.Remove("M1|GUI"));
    EXPECT_EQ(map.GetCount(), 0);
    EXPECT_EQ(map.GetStartPosition(), nullptr);
}

TEST(RecordMaps, IterationVisitsEveryEntryOnceInInsertionOrder) {
    CMapStrToObjXact map;
    int loops = 0;
    for (POSITION pos = map.GetStartPosition(); pos;)
        ++loops;  // empty: body never runs
    EXPECT_EQ(loops, 0);

    const char* names[] = {"zeta", "alpha", "Mid", "beta"};
    for (const char* n : names) {
        CTransaction t;
        t.m_csTransaction = n;
        map.Add(n, t);
    }
    std::vector<std::string> seen;
    POSITION pos = map.GetStartPosition();
    while (pos) {
        CString key;
        CTransaction t;
        pos = map.GetNext(pos, key, t);
        EXPECT_EQ(key, t.m_csTransaction);
        seen.push_back(key.str());
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"zeta", "alpha", "Mid", "beta"}));

    CMapStrToObjXact one;
    one.Add("only", CTransaction());
    CString key;
    CTransaction t;
    EXPECT_EQ(one.GetNext(one.GetStartPosition(), key, t), nullptr);
    EXPECT_EQ(key, "only");
    EXPECT_EQ(one.GetNext(nullptr, key, t), nullptr);
}

TEST(RecordMaps, CopiesAreIndependent) {
    CMapStrToObjSqlDetail map;
    CSqlDetail d;
    d.m_csStatement = "select 1";
    d.m_nStartRow = 10;
    map.Add("f:10", d);
    d.m_csStatement = "changed after add";
    CSqlDetail out;
    ASSERT_TRUE(map.Get("f:10", out));
    out.m_nStartRow = 99;
    CSqlDetail again;
    ASSERT_TRUE(map.Get("f:10", again));
    EXPECT_EQ(again.m_csStatement, "select 1");
    EXPECT_EQ(again.m_nStartRow, 10);
}

TEST(RecordMaps, ReplaceOnlyReplacesPresentKeys) {
    CMapStrToTObj map;
    TObj t;
    t.m_nValue1 = 1;
    EXPECT_FALSE(map.Replace("x", t));
    EXPECT_EQ(map.GetCount(), 0);
    map.Add("x", t);
    t.m_nValue1 = 2;
    EXPECT_TRUE(map.Replace("x", t));
    TObj out;
    ASSERT_TRUE(map.Lookup("x", out));
    EXPECT_EQ(out.m_nValue1, 2);
    map.RemoveAll();
    EXPECT_EQ(map.GetCount(), 0);
}
