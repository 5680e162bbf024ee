// The shortcut keys page over a small MDI application (a frame and one document template, each with
// its menu and keys): the command tree merged from both menus, the key lists of the two tables, the
// conflict texts, Assign and Remove, a bound key reaching the hot-key control instead of the frame, and
// OK and Cancel with the saved tables; the hot-key control's notifications.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "guilib/customize/OXCustomizePagesResources.h"
#include "guilib/customize/OXCustomizeShortkeysPage.h"
#include "guilib/skins/MFCToolBar.h"
#include "platform/framework/app/WinThread.h"
#include "platform/framework/docview/DocTemplate.h"
#include "platform/framework/frames/MDIChildWnd.h"
#include "platform/framework/frames/MDIFrameWnd.h"
#include "platform/framework/window/AfxRes.h"
#include "platform/user/Accelerators.h"
#include "platform/user/ComboBox.h"
#include "platform/user/Resources.h"
#include "tests/support/Gui.h"
#include "tests/support/TempRegistry.h"
#include "tests/guilib/customize/PageTestManager.h"

extern const unsigned char test_toolbar3_png[];
extern const size_t test_toolbar3_png_size;

namespace shortkeys_page_test {
constexpr UINT kMainMenu = 127, kLogType = 131, kNoString = 40000;
constexpr const char* kSection = "CustomizeShortkeys";

const MenuTemplate kFrameMenu{kMainMenu,
                              {{"&File", 0, MF_POPUP,
                                {{"&New\tCtrl+N", ID_FILE_NEW, 0, {}},
                                 {"", 0, MF_SEPARATOR, {}},
                                 {"1 recent", ID_FILE_MRU_FILE1, 0, {}},
                                 {"E&xit", ID_APP_EXIT, 0, {}}}},
                               {"&Edit", 0, MF_POPUP, {{"&Copy\tCtrl+C", ID_EDIT_COPY, 0, {}}}}}};
const MenuTemplate kLogMenu{kLogType,
                            {{"&file", 0, MF_POPUP, {{"&Close", ID_FILE_CLOSE, 0, {}}, {"&New", ID_FILE_NEW, 0, {}}}},
                             {"&Window", 0, MF_POPUP, {{"&Cascade", ID_WINDOW_CASCADE, 0, {}}}}}};
const AcceleratorTemplate kFrameKeys{kMainMenu,
                                     {{FVIRTKEY | FCONTROL, 'N', ID_FILE_NEW},
                                      {FVIRTKEY | FCONTROL, 'C', ID_EDIT_COPY},
                                      {FVIRTKEY | FCONTROL, 'Q', kNoString}}};
const AcceleratorTemplate kLogKeys{kLogType, {{FVIRTKEY | FCONTROL, 'W', ID_FILE_CLOSE}}};

class Resources : public ResourceModule {
public:
    // A toolbar of three images: Close, Copy and Save (which no menu has).
    const ToolbarTemplate* FindToolbar(UINT id) const override {
        static const ToolbarTemplate bar{300, 16, 15, {ID_FILE_CLOSE, 0, ID_EDIT_COPY, ID_FILE_SAVE}};
        return id == 300 ? &bar : nullptr;
    }
    const BitmapResource* FindBitmap(UINT id) const override {
        static const BitmapResource strip{300, test_toolbar3_png, test_toolbar3_png_size};
        return id == 300 ? &strip : nullptr;
    }
    const AcceleratorTemplate* FindAccelerators(UINT id) const override {
        return id == kMainMenu ? &kFrameKeys : id == kLogType ? &kLogKeys : nullptr;
    }
    const MenuTemplate* FindMenu(UINT id) const override {
        return id == kMainMenu ? &kFrameMenu : id == kLogType ? &kLogMenu : nullptr;
    }
    const char* FindString(UINT id) const override {
        switch (id) {
            case kMainMenu: return "KeysApp";
            case kLogType: return "\nLog\nLog\nLogs (*.log)\n.log\nLog.Document\nLog Document";
            case ID_FILE_NEW: return "Create a new document\nNew";
            case ID_FILE_MRU_FILE1: return "Open this document";
            case ID_APP_EXIT: return "Quit the application\nExit";
            case ID_EDIT_COPY: return "Copy the selection\nCopy";
            case ID_FILE_CLOSE: return "Close the document";
            case ID_FILE_SAVE: return "Save the document\nSave";
            default: return nullptr;
        }
    }
};

class LogDoc : public CDocument {
    DECLARE_DYNCREATE(LogDoc)
};
IMPLEMENT_DYNCREATE(LogDoc, CDocument)
class LogFrame : public CMDIChildWnd {
    DECLARE_DYNCREATE(LogFrame)
};
IMPLEMENT_DYNCREATE(LogFrame, CMDIChildWnd)

class RecordingFrame : public CMDIFrameWnd {
public:
    std::vector<UINT> commands;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        commands.push_back(LOWORD(wParam));
        return CMDIFrameWnd::OnCommand(wParam, lParam);
    }
};

class ShortkeysPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddResourceModule(&resources);
        app.SetRegistryKey("Test");
        tmpl = new CMultiDocTemplate(kLogType, RUNTIME_CLASS(LogDoc), RUNTIME_CLASS(LogFrame), nullptr);
        app.AddDocTemplate(tmpl);
        frame = new RecordingFrame;
        ASSERT_TRUE(frame->LoadFrame(kMainMenu));
        app.m_pMainWnd = frame;
        frame->ShowWindow(SW_SHOW);
        ASSERT_TRUE(manager.Open(frame, TRUE));
        Pump();
    }
    void TearDown() override {
        page.reset();
        if (manager.m_hWnd)
            manager.DestroyWindow();
        if (::IsWindow(frame->m_hWnd))
            frame->DestroyWindow();
        app.m_pMainWnd = nullptr;
        Pump();
        RemoveResourceModule(&resources);
    }
    void Open(LPCTSTR section = kSection) {
        ASSERT_TRUE(page->SetupPage(frame, section));
        ASSERT_TRUE(page->ShowInManager(&manager));
        RECT client{};
        manager.GetClientRect(&client);
        page->MoveWindow(0, 0, client.right, client.bottom);
        Pump();
    }
    // The application's loop: translation from the focus up, then dispatch.
    void PumpApp() {
        MSG m;
        while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE))
            if (!app.PreTranslateMessage(&m)) {
                TranslateMessage(&m);
                DispatchMessage(&m);
            }
    }
    HWND Item(int id) { return ::GetDlgItem(page->m_hWnd, id); }
    CTreeCtrl& Tree() { return page->GetCommandTree(); }
    HTREEITEM Find(HTREEITEM parent, const char* text) {
        for (HTREEITEM i = Tree().GetChildItem(parent); i; i = Tree().GetNextSiblingItem(i))
            if (Tree().GetItemText(i) == text)
                return i;
        return nullptr;
    }
    void SelectCommand(const char* group, const char* command) {
        HTREEITEM g = Find(TVI_ROOT, group);
        ASSERT_TRUE(g);
        HTREEITEM item = command ? Find(g, command) : g;
        ASSERT_TRUE(item);
        Tree().SelectItem(item);
        Pump();
    }
    void ChooseTable(int index) {
        ::SendMessage(Item(IDC_OX_COMBO_TABLES), CB_SETCURSEL, (WPARAM)index, 0);
        ::SendMessage(page->m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_OX_COMBO_TABLES, CBN_SELCHANGE),
                      (LPARAM)Item(IDC_OX_COMBO_TABLES));
    }
    // The key list: each text with 'g' for a grey (main-table) line.
    std::vector<std::string> Keys() {
        std::vector<std::string> keys;
        HWND list = Item(IDC_OX_LIST_KEYS);
        const int count = (int)::SendMessage(list, LB_GETCOUNT, 0, 0);
        for (int i = 0; i < count; ++i) {
            char text[64] = {};
            ::SendMessage(list, LB_GETTEXT, (WPARAM)i, (LPARAM)text);
            keys.push_back(std::string(text) + (::SendMessage(list, LB_GETITEMDATA, (WPARAM)i, 0) != 0 ? " g" : ""));
        }
        return keys;
    }
    // Keys typed into the focused window, through the application's loop.
    void Type(std::initializer_list<UINT> held, UINT vk) {
        for (UINT h : held)
            PostKeyInput(WM_KEYDOWN, h, 1);
        PostKeyInput(WM_KEYDOWN, vk, 1);
        PostKeyInput(WM_KEYUP, vk, (LPARAM)0xC0000001);
        for (UINT h : held)
            PostKeyInput(WM_KEYUP, h, (LPARAM)0xC0000001);
        PumpApp();
    }
    void Click(int id) {
        ::SendMessage(Item(id), BM_CLICK, 0, 0);
        Pump();
    }
    WORD MainKey(BYTE flags, WORD key) { return page->GetShortkeysOrganizer()->FindAccelerator(flags, key); }

    TempRegistry registry;
    Resources resources;
    CWinApp app{"KeysApp"};
    CMultiDocTemplate* tmpl = nullptr;
    RecordingFrame* frame = nullptr;
    PageTestManager manager;
    std::unique_ptr<COXCustomizeShortkeysPage> page = std::make_unique<COXCustomizeShortkeysPage>();
};

TEST(ShortkeysFlags, HotKeyModifiersBecomeAcceleratorFlags) {
    const struct {
        WORD modifiers;
        BYTE flags;
    } cases[] = {{0, FVIRTKEY},
                 {HOTKEYF_SHIFT, FVIRTKEY | FSHIFT},
                 {HOTKEYF_CONTROL, FVIRTKEY | FCONTROL},
                 {HOTKEYF_ALT, FVIRTKEY | FALT},
                 {HOTKEYF_SHIFT | HOTKEYF_CONTROL | HOTKEYF_ALT | HOTKEYF_EXT, FVIRTKEY | FSHIFT | FCONTROL | FALT}};
    for (const auto& c : cases)
        EXPECT_EQ(COXCustomizeShortkeysPage::HotKeyToAccelFlags(c.modifiers), c.flags) << c.modifiers;
}

TEST_F(ShortkeysPageTest, OneTreeFromBothMenusWithCleanTextsAndDescriptions) {
    Open();
    std::vector<std::string> groups;
    for (HTREEITEM g = Tree().GetChildItem(TVI_ROOT); g; g = Tree().GetNextSiblingItem(g)) {
        std::string line = std::string(Tree().GetItemText(g)) + ":";
        EXPECT_EQ(Tree().GetItemData(g), (DWORD_PTR)0xFFFFFFFF);
        EXPECT_TRUE(Tree().GetItemState(g, TVIS_BOLD) & TVIS_BOLD);
        for (HTREEITEM c = Tree().GetChildItem(g); c; c = Tree().GetNextSiblingItem(c))
            line += " " + std::string(Tree().GetItemText(c));
        groups.push_back(line);
    }
    // The recent file and the command without a string are left out; "file" joins "File".
    EXPECT_EQ(groups, (std::vector<std::string>{"File: New Exit Close", "Edit: Copy", "Window:"}));
    int image = 0;
    EXPECT_TRUE(page->GetCommandImage(ID_FILE_CLOSE, image));
    EXPECT_FALSE(page->GetCommandImage(ID_FILE_MRU_FILE1, image));

    std::vector<std::string> tables;
    for (int i = 0; i < 2; ++i) {
        char text[32] = {};
        ::SendMessage(Item(IDC_OX_COMBO_TABLES), CB_GETLBTEXT, (WPARAM)i, (LPARAM)text);
        tables.push_back(text);
    }
    EXPECT_EQ(tables, (std::vector<std::string>{"Main", "Log"}));

    SelectCommand("File", "New");
    EXPECT_EQ(page->GetDescriptionText(), "Create a new document");
    EXPECT_TRUE(::IsWindowEnabled(Item(IDC_OX_HOTKEY)));
    SelectCommand("File", nullptr);
    EXPECT_EQ(page->GetDescriptionText(), "File group");
    EXPECT_FALSE(::IsWindowEnabled(Item(IDC_OX_HOTKEY)));
    EXPECT_TRUE(Keys().empty());
}

TEST_F(ShortkeysPageTest, CommandsTakeTheirToolbarImagesAndTheOthersTheCommandIcon) {
    CMFCToolBar bar;
    ASSERT_TRUE(bar.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE800));
    ASSERT_TRUE(bar.LoadToolBar(300));
    Open();
    const struct {
        UINT command;
        int image;
    } cases[] = {{ID_FILE_CLOSE, 0}, {ID_EDIT_COPY, 1}, {ID_FILE_SAVE, 2}, {ID_FILE_NEW, -1}};
    for (const auto& c : cases) {
        int image = -2;
        EXPECT_TRUE(page->GetCommandImage(c.command, image)) << c.command;
        EXPECT_EQ(image, c.image) << c.command;
    }
    // After the three toolbar images: the group's icon, then the plain command's.
    auto imageOf = [&](const char* group, const char* command) {
        HTREEITEM g = Find(TVI_ROOT, group);
        TVITEM item{};
        item.mask = TVIF_IMAGE;
        item.hItem = command ? Find(g, command) : g;
        ::SendMessage(Tree().m_hWnd, TVM_GETITEM, 0, (LPARAM)&item);
        return item.iImage;
    };
    EXPECT_EQ(imageOf("File", nullptr), 3);
    EXPECT_EQ(imageOf("File", "New"), 4);
    EXPECT_EQ(imageOf("File", "Close"), 0);
    EXPECT_EQ(imageOf("Edit", "Copy"), 1);
}

TEST_F(ShortkeysPageTest, ADocumentTableListsTheMainKeysGreyFirstAndWontRemoveThem) {
    Open();
    SelectCommand("File", "New");
    EXPECT_EQ(Keys(), (std::vector<std::string>{"Ctrl+N"}));
    ChooseTable(1);
    EXPECT_EQ(Keys(), (std::vector<std::string>{"Ctrl+N g"}));
    ::SendMessage(Item(IDC_OX_LIST_KEYS), LB_SETCURSEL, 0, 0);
    ::SendMessage(page->m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_OX_LIST_KEYS, LBN_SELCHANGE), (LPARAM)Item(IDC_OX_LIST_KEYS));
    EXPECT_FALSE(::IsWindowEnabled(Item(IDC_OX_BUTTON_REMOVE)));
    SelectCommand("File", "Close");
    EXPECT_EQ(Keys(), (std::vector<std::string>{"Ctrl+W"}));
    ::SendMessage(Item(IDC_OX_LIST_KEYS), LB_SETCURSEL, 0, 0);
    ::SendMessage(page->m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_OX_LIST_KEYS, LBN_SELCHANGE), (LPARAM)Item(IDC_OX_LIST_KEYS));
    EXPECT_TRUE(::IsWindowEnabled(Item(IDC_OX_BUTTON_REMOVE)));
    Click(IDC_OX_BUTTON_REMOVE);
    EXPECT_TRUE(Keys().empty());
    EXPECT_EQ(page->GetShortkeysOrganizer()->FindAccelerator(FVIRTKEY | FCONTROL, 'W', tmpl), 0);
}

TEST_F(ShortkeysPageTest, TypedKeysNameTheirCommandAndAssignMovesThem) {
    Open();
    SelectCommand("File", "New");
    ::SetFocus(Item(IDC_OX_HOTKEY));
    Pump();
    const struct {
        UINT key;
        const char* conflict;
    } cases[] = {{'C', "Currently assigned to the command:\n<Copy>"},
                 {'Q', "Currently assigned to the command:\nwith ID=40000"},
                 {'K', ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        Type({VK_CONTROL}, c.key);
        EXPECT_EQ(::SendMessage(Item(IDC_OX_HOTKEY), HKM_GETHOTKEY, 0, 0), MAKEWORD(c.key, HOTKEYF_CONTROL));
        EXPECT_EQ(page->GetConflictText(), c.conflict);
        EXPECT_TRUE(::IsWindowEnabled(Item(IDC_OX_BUTTON_ASSIGN)));
    }
    // A key the frame binds reaches the control, not the frame.
    frame->commands.clear();
    Type({VK_CONTROL}, 'C');
    EXPECT_TRUE(frame->commands.empty());
    Click(IDC_OX_BUTTON_ASSIGN);
    EXPECT_EQ(MainKey(FVIRTKEY | FCONTROL, 'C'), (WORD)ID_FILE_NEW);
    EXPECT_EQ(Keys(), (std::vector<std::string>{"Ctrl+N", "Ctrl+C"}));
    EXPECT_EQ(page->GetConflictText(), "");
    EXPECT_EQ(::SendMessage(Item(IDC_OX_HOTKEY), HKM_GETHOTKEY, 0, 0), 0);
    SelectCommand("Edit", "Copy");
    EXPECT_TRUE(Keys().empty());
    EXPECT_FALSE(::IsWindowEnabled(Item(IDC_OX_BUTTON_REMOVE_ALL)));
}

TEST_F(ShortkeysPageTest, OkSavesTheTablesAndCancelReloadsThem) {
    Open();
    SelectCommand("File", "Exit");
    ::SetFocus(Item(IDC_OX_HOTKEY));
    Type({VK_CONTROL, VK_SHIFT}, VK_F9);
    Click(IDC_OX_BUTTON_ASSIGN);
    ASSERT_TRUE(page->OnManagerClose(TRUE));
    BYTE* data = nullptr;
    UINT bytes = 0;
    ASSERT_TRUE(app.GetProfileBinary(kSection, "AcceleratorsState", &data, &bytes));
    EXPECT_GT(bytes, 0u);
    delete[] data;

    SelectCommand("File", "New");
    Click(IDC_OX_BUTTON_REMOVE_ALL);
    EXPECT_EQ(MainKey(FVIRTKEY | FCONTROL, 'N'), 0);
    ASSERT_TRUE(page->OnManagerClose(FALSE));
    EXPECT_EQ(MainKey(FVIRTKEY | FCONTROL, 'N'), (WORD)ID_FILE_NEW);
    EXPECT_EQ(MainKey(FVIRTKEY | FCONTROL | FSHIFT, VK_F9), (WORD)ID_APP_EXIT);
    EXPECT_EQ(Keys(), (std::vector<std::string>{"Ctrl+N"}));
}

// ---- The hot-key control's notifications -------------------------------------------------------------

std::vector<std::string> g_notes;

LRESULT RecordNotes(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NOTIFY) {
        const NMHDR* hdr = reinterpret_cast<const NMHDR*>(lParam);
        std::string note = hdr->code == (UINT)NM_SETFOCUS    ? "focus"
                           : hdr->code == (UINT)NM_KILLFOCUS ? "lost"
                           : hdr->code == (UINT)NM_KEYDOWN   ? "key"
                                                             : "other";
        if (hdr->code == (UINT)NM_KEYDOWN) {
            const NMKEY* key = reinterpret_cast<const NMKEY*>(lParam);
            note += " " + std::to_string(key->nVKey) + " " + std::to_string(key->uFlags);
        }
        note += " " + std::to_string(wParam);
        g_notes.push_back(note);
        return 0;
    }
    return DefWindowProc(h, msg, wParam, lParam);
}

TEST(InteractiveHotKey, TellsItsParentOfFocusAndEveryKeyAfterTakingIt) {
    RegisterTestWindowClass("HotKeyParent", RecordNotes, COLOR_WINDOW);
    HWND parent = CreateWindowEx(0, "HotKeyParent", "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr,
                                 nullptr, nullptr);
    HWND other = CreateWindowEx(0, "Edit", "", WS_CHILD | WS_VISIBLE, 0, 50, 100, 20, parent, nullptr, nullptr, nullptr);
    {
        COXInteractiveHotKeyCtrl hotKey;
        ASSERT_TRUE(hotKey.Create(WS_CHILD | WS_VISIBLE, RECT{0, 0, 100, 20}, CWnd::FromHandle(parent), 77));
        g_notes.clear();
        ::SetFocus(hotKey.m_hWnd);
        ::SendMessage(hotKey.m_hWnd, WM_KEYDOWN, VK_F7, (LPARAM)(0x41u << 16 | 1));
        EXPECT_EQ(hotKey.GetHotKey(), MAKEWORD(VK_F7, 0));
        ::SetFocus(other);
        EXPECT_EQ(g_notes, (std::vector<std::string>{"focus 77", "key 118 65 77", "lost 77"}));
    }
    DestroyWindow(parent);
    Pump();
}
}  // namespace shortkeys_page_test
