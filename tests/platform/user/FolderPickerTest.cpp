// The folder picker driven as a user drives it: steps run one per timer tick inside its modal loop.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/base/Clock.h"
#include "platform/display/HeadlessDisplay.h"
#include "platform/user/FolderPicker.h"
#include "platform/user/TreeView.h"
#include "tests/support/Gui.h"
#include "tests/support/TempFolder.h"

namespace fs = std::filesystem;

namespace {
HWND Control(HWND dialog, const char* cls, const char* text = nullptr) {
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char name[64];
        GetClassName(c, name, sizeof name);
        if (AsciiCompareNoCase(name, cls) == 0 && (!text || GetWindowTextString(c) == text))
            return c;
    }
    return nullptr;
}

// What the picker showed, read from its windows.
struct Shown {
    CString caption, field, selected;
    std::vector<std::string> roots;
    std::vector<std::string> rows;  // the shown rows, top to bottom
    bool treeFocused = false;
};

std::string ItemText(HWND tree, HTREEITEM item) {
    char buf[512] = "";
    TVITEM it{};
    it.mask = TVIF_TEXT;
    it.hItem = item;
    it.pszText = buf;
    it.cchTextMax = sizeof buf;
    SendMessage(tree, TVM_GETITEM, 0, (LPARAM)&it);
    return buf;
}

HTREEITEM NextItem(HWND tree, UINT code, HTREEITEM item = nullptr) {
    return (HTREEITEM)SendMessage(tree, TVM_GETNEXTITEM, code, (LPARAM)item);
}

Shown Inspect(HWND dialog) {
    Shown s;
    HWND tree = Control(dialog, WC_TREEVIEW);
    s.caption = GetWindowTextString(dialog);
    s.field = GetWindowTextString(Control(dialog, WC_EDIT));
    s.selected = ItemText(tree, NextItem(tree, TVGN_CARET)).c_str();
    s.treeFocused = GetFocus() == tree;
    for (HTREEITEM r = NextItem(tree, TVGN_ROOT); r; r = NextItem(tree, TVGN_NEXT, r))
        s.roots.push_back(ItemText(tree, r));
    for (HTREEITEM r = NextItem(tree, TVGN_ROOT); r; r = NextItem(tree, TVGN_NEXTVISIBLE, r))
        s.rows.push_back(ItemText(tree, r));
    return s;
}

class FolderPickerTest : public ::testing::Test {
protected:
    void SetUp() override {
        display = std::make_shared<HeadlessDisplay>();
        SetDisplayBackend(display);
        owner = CreateWindowEx(0, "Static", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 600, 500,
                               nullptr, nullptr, nullptr, nullptr);
        root = tmp.Path();
        fs::create_directories(root + "/alpha/deep/deeper");
        fs::create_directories(root + "/Beta");
        fs::create_directories(root + "/gamma");
        fs::create_directories(root + "/home/docs");
        std::ofstream(root + "/file.txt") << "x";
        std::ofstream(root + "/alpha/notes.log") << "x";
        fs::create_directory_symlink("..", root + "/alpha/up");  // a loop if it were entered
        const char* home = getenv("HOME");
        savedHome = home ? home : "";
        hadHome = home != nullptr;
        setenv("HOME", (root + "/home").c_str(), 1);
    }
    void TearDown() override {
        if (hadHome)
            setenv("HOME", savedHome.c_str(), 1);
        else
            unsetenv("HOME");
        DestroyWindow(owner);
        MSG m;
        while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
        }
        SetDisplayBackend(nullptr);
    }
    // Opens the picker at `start`; the steps run in its loop after it is inspected.
    BOOL Run(const char* start, std::vector<std::function<void(HWND)>> steps) {
        steps.insert(steps.begin(), [this](HWND dialog) { shown = Inspect(dialog); });
        modal.Start(std::move(steps));
        chosen = "unchanged";
        return BrowseForFolder(owner, "Select a directory...", start, chosen);
    }
    static std::function<void(HWND)> Key(UINT vk) { return ModalSteps::Key(vk); }
    static std::function<void(HWND)> ClickButton(const char* text) {
        return [text](HWND dialog) {
            HWND button = Control(dialog, WC_BUTTON, text);
            ASSERT_NE(button, nullptr) << text;
            ClickCentre(button);
        };
    }
    // A click on the label of the shown row with this text.
    static std::function<void(HWND)> ClickRow(std::string text) {
        return [text](HWND dialog) {
            HWND tree = Control(dialog, WC_TREEVIEW);
            for (HTREEITEM r = NextItem(tree, TVGN_ROOT); r; r = NextItem(tree, TVGN_NEXTVISIBLE, r)) {
                if (ItemText(tree, r) != text)
                    continue;
                SendMessage(tree, TVM_ENSUREVISIBLE, 0, (LPARAM)r);  // the user scrolls to it
                RECT rc{};
                std::memcpy(&rc, &r, sizeof r);
                SendMessage(tree, TVM_GETITEMRECT, TRUE, (LPARAM)&rc);
                SimulateClick(tree, rc.left + 4, (rc.top + rc.bottom) / 2);
                return;
            }
            ADD_FAILURE() << "no row " << text;
        };
    }
    static std::function<void(HWND)> Type(std::string text) {
        return [text](HWND dialog) {
            HWND edit = Control(dialog, WC_EDIT);
            SetFocus(edit);
            SendMessage(edit, EM_SETSEL, 0, -1);
            SimulateKey(VK_DELETE);
            SimulateChars(text.c_str());
        };
    }

    std::shared_ptr<HeadlessDisplay> display;
    ModalSteps modal;
    HWND owner = nullptr;
    TempFolder tmp{"folderpicker"};
    std::string root, savedHome;
    bool hadHome = false;
    Shown shown;
    CString chosen;
};

TEST_F(FolderPickerTest, OpensAtTheStartShowingFoldersOnlyAndAClickThenOkChoosesASubFolder) {
    std::string start = root + "/alpha/";
    Shown inAlpha;
    EXPECT_TRUE(
        Run(start.c_str(), {[&](HWND d) { inAlpha = Inspect(d); }, ClickRow("deep"), ClickButton("OK")}));
    EXPECT_EQ(chosen, CString((root + "/alpha/deep").c_str()));
    EXPECT_EQ(shown.caption, CString("Select a directory..."));
    EXPECT_EQ(shown.roots, (std::vector<std::string>{"/", root + "/home"}));
    EXPECT_EQ(shown.field, CString((root + "/alpha").c_str()));
    EXPECT_EQ(shown.selected, CString("alpha"));
    EXPECT_TRUE(shown.treeFocused);
    // The start's folder and its siblings, sorted without regard to case; no files, no linked folder.
    auto at = std::find(shown.rows.begin(), shown.rows.end(), "alpha");
    ASSERT_NE(at, shown.rows.end());
    std::vector<std::string> around(at, at + 4);
    EXPECT_EQ(around, (std::vector<std::string>{"alpha", "deep", "Beta", "gamma"}));
    for (const std::string& row : shown.rows) {
        EXPECT_NE(row, "file.txt");
        EXPECT_NE(row, "notes.log");
        EXPECT_NE(row, "up");
    }
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(display->Windows(), std::vector<HWND>{owner});  // the picker is gone
}

TEST_F(FolderPickerTest, KeysOpenAFolderAndEnterChoosesIt) {
    EXPECT_TRUE(Run(root.c_str(), {Key(VK_DOWN), Key(VK_RIGHT), Key(VK_RIGHT), Key(VK_RETURN)}));
    EXPECT_EQ(chosen, CString((root + "/alpha/deep").c_str()));
}

TEST_F(FolderPickerTest, CancelOrEscapeAnswersFalseAndLeavesTheResult) {
    EXPECT_FALSE(Run(root.c_str(), {Key(VK_DOWN), ClickButton("Cancel")}));
    EXPECT_EQ(chosen, CString("unchanged"));
    EXPECT_FALSE(Run(root.c_str(), {Key(VK_DOWN), Key(VK_ESCAPE)}));
    EXPECT_EQ(chosen, CString("unchanged"));
    EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST_F(FolderPickerTest, WithoutAUsableStartItOpensAtHome) {
    for (const std::string& start : {std::string(), root + "/file.txt", root + "/missing"}) {
        EXPECT_TRUE(Run(start.c_str(), {Key(VK_RETURN)})) << start;
        EXPECT_EQ(chosen, CString((root + "/home").c_str())) << start;
        EXPECT_EQ(shown.selected, CString((root + "/home").c_str())) << start;
        // Home is its own root, opened with its children.
        EXPECT_EQ(shown.rows.back(), "docs");
    }
}

TEST_F(FolderPickerTest, TheFieldAcceptsATypedFolderAndRefusesAnythingElse) {
    int beeps = GetMessageBeepCount();
    std::string typed = root + "/Beta//";
    EXPECT_TRUE(Run(root.c_str(), {Type(root + "/file.txt"), ClickButton("OK"), Type("relative"),
                                   ClickButton("OK"), Type(typed), ClickButton("OK")}));
    EXPECT_EQ(GetMessageBeepCount(), beeps + 2);
    EXPECT_EQ(chosen, CString((root + "/Beta").c_str()));
    // The top of the tree is "/" itself.
    EXPECT_TRUE(Run("/", {Key(VK_RETURN)}));
    EXPECT_EQ(chosen, CString("/"));
}

TEST_F(FolderPickerTest, AnUnreadableFolderShowsNoChildren) {
    if (geteuid() == 0)
        GTEST_SKIP() << "every folder is readable to root";
    fs::create_directories(root + "/gamma/hidden");
    fs::permissions(root + "/gamma", fs::perms::owner_exec);
    Shown after;
    EXPECT_TRUE(Run(root.c_str(),
                    {ClickRow("gamma"), Key(VK_RIGHT), [&](HWND d) { after = Inspect(d); }, Key(VK_RETURN)}));
    EXPECT_EQ(chosen, CString((root + "/gamma").c_str()));
    EXPECT_EQ(std::count(after.rows.begin(), after.rows.end(), "hidden"), 0);
}
}  // namespace
