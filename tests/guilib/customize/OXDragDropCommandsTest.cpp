// The command drag block: its bytes for a command, a popup and nested popups, the image that the main
// window's organizer knows, and the one reader refusing malformed blocks without reading past them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "guilib/customize/OXDragDropCommands.h"
#include "guilib/skins/OXBitmapMenuOrganizer.h"
#include "platform/framework/bars/ToolBar.h"
#include "platform/user/Clipboard.h"
#include "platform/user/Resources.h"
#include "tests/support/TempRegistry.h"

extern const unsigned char test_toolbar3_png[];
extern const size_t test_toolbar3_png_size;

// One namespace per test file: the test program compiles its files in batches.
namespace ox_drag_drop_commands_test {
namespace {
constexpr UINT ID_OPEN = 100, ID_SAVE = 101, ID_CLOSE = 102, ID_NOWHERE = 555;

std::string U32(uint32_t v) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i)
        s[(size_t)i] = (char)(v >> (8 * i));
    return s;
}
// One item as the block holds it.
std::string Item(uint32_t id, const std::string& text, int32_t image, uint8_t style, uint32_t next) {
    return U32(id) + text + std::string(1, '\0') + U32((uint32_t)image) + std::string(1, (char)style) + U32(next);
}

std::string BlockOf(COleDataSource* source) {
    HGLOBAL block = source ? source->Block(CommandDragFormat) : nullptr;
    if (!block)
        return "<none>";
    std::string bytes(static_cast<const char*>(GlobalLock(block)), GlobalSize(block));
    GlobalUnlock(block);
    return bytes;
}

bool Parse(const std::string& bytes, std::vector<OXCommandDragItem>& items) {
    // A block of exactly these bytes, so that a read past them shows under the address sanitizer.
    std::vector<BYTE> exact(bytes.begin(), bytes.end());
    return ParseCommandDragData(exact.data(), exact.size(), items) != FALSE;
}

class Resources : public ResourceModule {
public:
    const ToolbarTemplate* FindToolbar(UINT id) const override {
        static const ToolbarTemplate bar{300, 16, 15, {ID_SAVE, 0, ID_OPEN}};
        return id == 300 ? &bar : nullptr;
    }
    const BitmapResource* FindBitmap(UINT id) const override {
        static const BitmapResource strip{300, test_toolbar3_png, test_toolbar3_png_size};
        return id == 300 ? &strip : nullptr;
    }
};

class CommandDragTest : public ::testing::Test {
protected:
    void TearDown() override {
        for (HMENU m : menus)
            DestroyMenu(m);
    }
    // A popup from (id, text) pairs; id 0 a separator, OX_DRAG_POPUP takes the next submenu given.
    HMENU Popup(std::vector<std::pair<UINT, const char*>> items, std::vector<HMENU> subs = {}) {
        HMENU menu = CreatePopupMenu();
        size_t sub = 0;
        for (auto& [id, text] : items) {
            if (id == OX_DRAG_POPUP)
                AppendMenu(menu, MF_POPUP, (UINT_PTR)subs[sub++], text);
            else
                AppendMenu(menu, id ? MF_STRING : MF_SEPARATOR, id, text);
        }
        menus.push_back(menu);
        return menu;
    }
    std::vector<HMENU> menus;
};
}  // namespace

TEST_F(CommandDragTest, GoldenBlocks) {
    // A single command: one item closing the block, text length + 14 bytes.
    std::unique_ptr<COleDataSource> open(CreateCommandDataSource("Open", 3, ID_OPEN, 0x08));
    EXPECT_EQ(BlockOf(open.get()), Item(ID_OPEN, "Open", 3, 0x08, 0));
    EXPECT_EQ(BlockOf(open.get()).size(), 18u);

    // A popup with a command and a separator.
    HMENU file = Popup({{ID_OPEN, "&Open...\tCtrl+O"}, {0, nullptr}});
    std::unique_ptr<COleDataSource> popup(CreateCommandDataSource("&File", -1, OX_DRAG_POPUP, 0, file));
    EXPECT_EQ(BlockOf(popup.get()), Item(OX_DRAG_POPUP, "&File", -1, 0, 2) +
                                        Item(ID_OPEN, "&Open...\tCtrl+O", -1, 0, 1) + Item(0, "", -1, 0, 0));

    // A popup whose last item is a popup with one command.
    HMENU inner = Popup({{ID_CLOSE, "&Close"}});
    HMENU outer = Popup({{ID_SAVE, "&Save"}, {OX_DRAG_POPUP, "&More"}}, {inner});
    std::unique_ptr<COleDataSource> nested(CreateCommandDataSource("&Edit", -1, OX_DRAG_POPUP, 0, outer));
    EXPECT_EQ(BlockOf(nested.get()), Item(OX_DRAG_POPUP, "&Edit", -1, 0, 2) + Item(ID_SAVE, "&Save", -1, 0, 1) +
                                         Item(OX_DRAG_POPUP, "&More", -1, 0, 2) + Item(ID_CLOSE, "&Close", -1, 0, 0));
}

TEST_F(CommandDragTest, ACommandWithoutImageTakesTheOneTheMainWindowsOrganizerKnows) {
    TempRegistry registry;
    Resources resources;
    AddResourceModule(&resources);
    CWinApp app{"DragApp"};
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, "Frame", WS_OVERLAPPEDWINDOW, RECT{0, 0, 400, 300}));
    app.m_pMainWnd = frame;
    CToolBar bar;
    ASSERT_TRUE(bar.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE800));
    ASSERT_TRUE(bar.LoadToolBar(300));
    {
        COXBitmapMenuOrganizer organizer;
        ASSERT_TRUE(organizer.AttachFrameWnd(frame));
        ASSERT_TRUE(organizer.CollectToolbarImages());

        std::unique_ptr<COleDataSource> known(CreateCommandDataSource("Open", -1, ID_OPEN, 0));
        EXPECT_EQ(BlockOf(known.get()), Item(ID_OPEN, "Open", 1, 0, 0));
        // An image given is kept; a command the organizer does not know keeps none.
        std::unique_ptr<COleDataSource> given(CreateCommandDataSource("Open", 2, ID_OPEN, 0));
        EXPECT_EQ(BlockOf(given.get()), Item(ID_OPEN, "Open", 2, 0, 0));
        std::unique_ptr<COleDataSource> unknown(CreateCommandDataSource("X", -1, ID_NOWHERE, 0));
        EXPECT_EQ(BlockOf(unknown.get()), Item(ID_NOWHERE, "X", -1, 0, 0));
    }
    app.m_pMainWnd = nullptr;
    frame->DestroyWindow();
    RemoveResourceModule(&resources);
    // Without a main window the index stays -1.
    std::unique_ptr<COleDataSource> alone(CreateCommandDataSource("Open", -1, ID_OPEN, 0));
    EXPECT_EQ(BlockOf(alone.get()), Item(ID_OPEN, "Open", -1, 0, 0));
}

TEST_F(CommandDragTest, EmptyPopupsAreLeftOutAndTheTreeReadsBackEqual) {
    HMENU empty = Popup({});
    HMENU onlyEmpty = Popup({{OX_DRAG_POPUP, "Hollow"}}, {empty});
    HMENU inner = Popup({{ID_CLOSE, "&Close"}, {OX_DRAG_POPUP, "Nothing"}}, {empty});
    HMENU menu = Popup({{ID_OPEN, "&Open"}, {OX_DRAG_POPUP, "&Empty"}, {OX_DRAG_POPUP, "&Inner"}, {0, nullptr},
                        {ID_SAVE, "&Save"}, {OX_DRAG_POPUP, "Last"}},
                       {onlyEmpty, inner, empty});
    std::unique_ptr<COleDataSource> source(CreateCommandDataSource("&File", -1, OX_DRAG_POPUP, 0, menu));
    std::string bytes = BlockOf(source.get());
    EXPECT_EQ(bytes, Item(OX_DRAG_POPUP, "&File", -1, 0, 2) + Item(ID_OPEN, "&Open", -1, 0, 1) +
                         Item(OX_DRAG_POPUP, "&Inner", -1, 0, 1) + Item(ID_CLOSE, "&Close", -1, 0, 2) +
                         Item(0, "", -1, 0, 1) + Item(ID_SAVE, "&Save", -1, 0, 0));

    // Read back through the data object of a drop.
    COleDataObject data;
    data.Attach(source.get());
    std::vector<OXCommandDragItem> top;
    ASSERT_TRUE(ReadCommandDragData(&data, &top));
    ASSERT_EQ(top.size(), 1u);
    EXPECT_EQ(top[0].sText, "&File");
    ASSERT_EQ(top[0].items.size(), 4u);
    EXPECT_EQ(top[0].items[0].nCommandID, ID_OPEN);
    ASSERT_TRUE(top[0].items[1].IsPopup());
    ASSERT_EQ(top[0].items[1].items.size(), 1u);
    EXPECT_EQ(top[0].items[1].items[0].sText, "&Close");
    EXPECT_TRUE(top[0].items[2].IsSeparator());
    EXPECT_EQ(top[0].items[3].nCommandID, ID_SAVE);

    // A popup with nothing to carry is a bare popup item that closes the block.
    std::unique_ptr<COleDataSource> hollow(CreateCommandDataSource("Hollow", -1, OX_DRAG_POPUP, 0, empty));
    EXPECT_EQ(BlockOf(hollow.get()), Item(OX_DRAG_POPUP, "Hollow", -1, 0, 0));
}

TEST_F(CommandDragTest, MalformedBlocksAreRefused) {
    std::string good = Item(OX_DRAG_POPUP, "&File", -1, 0, 2) + Item(ID_OPEN, "Open", 1, 0, 1) +
                       Item(ID_SAVE, "Save", 2, 0, 0);
    std::vector<OXCommandDragItem> items;
    ASSERT_TRUE(Parse(good, items));
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].items.size(), 2u);

    // Sixteen nested popups are read; a seventeenth is refused.
    auto deep = [](int levels) {
        std::string bytes;
        for (int i = 0; i < levels; ++i)
            bytes += Item(OX_DRAG_POPUP, "P", -1, 0, 2);
        return bytes + Item(ID_OPEN, "Open", -1, 0, 0);
    };
    EXPECT_TRUE(Parse(deep(OX_DRAG_MAX_NESTING), items));
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"cut inside the id", good.substr(0, 2)},
        {"cut before the next field", good.substr(0, good.size() - 2)},
        {"popup whose items are missing", Item(OX_DRAG_POPUP, "&File", -1, 0, 2)},
        {"text without its NUL", U32(ID_OPEN) + "Open"},
        {"next field out of range", Item(ID_OPEN, "Open", -1, 0, 7)},
        {"a sibling promised but missing", Item(ID_OPEN, "Open", -1, 0, 1)},
        {"seventeen nested popups", deep(OX_DRAG_MAX_NESTING + 1)},
    };
    for (const Case& c : cases) {
        std::vector<OXCommandDragItem> kept(1);
        EXPECT_FALSE(Parse(c.bytes, kept)) << c.what;
        EXPECT_EQ(kept.size(), 1u) << c.what;
    }
    // A data object offering another format, or none, is not the block.
    COleDataSource other;
    HGLOBAL text = GlobalAlloc(GMEM_FIXED, 2);
    other.CacheGlobalData(CF_TEXT, text);
    COleDataObject data;
    data.Attach(&other);
    EXPECT_FALSE(ReadCommandDragData(&data));
    EXPECT_FALSE(ReadCommandDragData(nullptr));
}
}  // namespace ox_drag_drop_commands_test
