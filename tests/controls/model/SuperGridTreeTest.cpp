#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/model/SuperGridTree.h"

namespace {
// Mirrors the rows as a list would, so that every row change the tree reports is checked against them.
class MirrorRows : public SuperGridTreeObserver {
public:
    std::vector<std::string> rows;
    void OnRowInserted(int row, CTreeItem* node) override {
        rows.insert(rows.begin() + row, node->GetData()->GetItemText().GetString());
    }
    void OnRowDeleted(int row) override { rows.erase(rows.begin() + row); }
};

CItemInfo* Info(const char* text) {
    auto* info = new CItemInfo;
    info->SetItemText(text);
    return info;
}

std::vector<std::string> Shown(const CSuperGridTree& tree) {
    std::vector<std::string> out;
    for (int i = 0; i < tree.GetRowCount(); ++i) {
        EXPECT_EQ(tree.GetNodeAt(i)->m_nIndex, i);
        out.push_back(tree.GetNodeAt(i)->GetData()->GetItemText().GetString());
    }
    return out;
}

// a (b (c, d), e), f
class SuperGridTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        tree.SetObserver(&mirror);
        a = tree.InsertRootItem(Info("a"));
        b = tree.InsertItem(a, Info("b"));
        c = tree.InsertItem(b, Info("c"));
        d = tree.InsertItem(b, Info("d"));
        e = tree.InsertItem(a, Info("e"));
        f = tree.InsertRootItem(Info("f"));
    }
    void ExpectRows(std::vector<std::string> expected) {
        EXPECT_EQ(Shown(tree), expected);
        EXPECT_EQ(mirror.rows, expected);
    }
    MirrorRows mirror;
    CSuperGridTree tree;
    CTreeItem *a, *b, *c, *d, *e, *f;
};
}  // namespace

TEST_F(SuperGridTreeTest, ChildrenStayHiddenUntilExpanded) {
    ExpectRows({"a", "f"});
    EXPECT_EQ(c->m_nIndent, 3);
    EXPECT_EQ(tree.Expand(a), 2);  // the last row inserted
    ExpectRows({"a", "b", "e", "f"});
    tree.Expand(b);
    ExpectRows({"a", "b", "c", "d", "e", "f"});
    EXPECT_EQ(tree.Expand(b), -1);  // already expanded
    EXPECT_EQ(tree.Expand(f), -1);  // no children
    // A child added under a shown, expanded node shows at the end of that node's rows.
    tree.InsertItem(b, Info("d2"));
    ExpectRows({"a", "b", "c", "d", "d2", "e", "f"});
}

TEST_F(SuperGridTreeTest, CollapsingANodeWithAnExpandedChildHidesTheGrandchildren) {
    tree.Expand(a);
    tree.Expand(b);
    tree.Collapse(a);
    ExpectRows({"a", "f"});
    tree.Expand(a);
    ExpectRows({"a", "b", "e", "f"});  // b comes back collapsed
    EXPECT_TRUE(b->m_bHideChildren);
    EXPECT_EQ(tree.GetRow(c), -1);
}

TEST_F(SuperGridTreeTest, DeletingANodeTakesItsShownDescendants) {
    tree.ExpandAll(a);
    ExpectRows({"a", "b", "c", "d", "e", "f"});
    EXPECT_TRUE(tree.DeleteItem(b));
    ExpectRows({"a", "e", "f"});
    ASSERT_EQ(a->m_listChild.size(), 1u);
    EXPECT_TRUE(tree.DeleteItem(f));
    ExpectRows({"a", "e"});
    EXPECT_EQ(tree.GetRoots().size(), 1u);
}

TEST_F(SuperGridTreeTest, ANodeIsNeverMovedIntoItsOwnSubtree) {
    tree.ExpandAll(a);
    EXPECT_FALSE(tree.MoveItem(a, c));
    EXPECT_FALSE(tree.MoveItem(b, b));
    ExpectRows({"a", "b", "c", "d", "e", "f"});

    // b (with c, d) under f: f had no children, so it shows collapsed; the indents follow.
    EXPECT_TRUE(tree.MoveItem(b, f));
    ExpectRows({"a", "e", "f"});
    EXPECT_EQ(b->m_nIndent, 2);
    EXPECT_EQ(c->m_nIndent, 3);
    tree.Expand(f);
    ExpectRows({"a", "e", "f", "b"});
    // Into an expanded node: the moved node shows as its last child.
    EXPECT_TRUE(tree.MoveItem(e, f));
    ExpectRows({"a", "f", "b", "e"});
}
