// An MDI application: two documents of one template, the Window menu, Ctrl+F6, a maximised child in
// the frame's title and menu bar, menus switching with the active child, and command routing.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/framework/app/RecentFileList.h"
#include "platform/framework/docview/DocTemplate.h"
#include "platform/framework/frames/MDIChildWnd.h"
#include "platform/user/Accelerators.h"
#include "platform/user/Resources.h"
#include "tests/support/Gui.h"
#include "tests/support/TempFolder.h"

namespace {
constexpr UINT IDR_MAINFRAME = 128;
constexpr UINT IDR_DOCTYPE = 129;
constexpr UINT ID_TEST_CMD = 32900;
constexpr UINT ID_TEST_NOHANDLER = 32901;

const MenuTemplate kFrameMenu{IDR_MAINFRAME,
                              {{"&File",
                                0,
                                MF_POPUP,
                                {{"&New", ID_FILE_NEW, 0, {}},
                                 {"Recent File", ID_FILE_MRU_FILE1, 0, {}},
                                 {"E&xit", ID_APP_EXIT, 0, {}}}},
                               {"&Help", 0, MF_POPUP, {{"&About", ID_APP_ABOUT, 0, {}}}}}};
const MenuTemplate kDocMenu{
    IDR_DOCTYPE,
    {{"&File",
      0,
      MF_POPUP,
      {{"&New", ID_FILE_NEW, 0, {}},
       {"&Close", ID_FILE_CLOSE, 0, {}},
       {nullptr, 0, 0, {}},
       {"Recent File", ID_FILE_MRU_FILE1, 0, {}},
       {"E&xit", ID_APP_EXIT, 0, {}}}},
     {"&Edit", 0, MF_POPUP, {{"&Test", ID_TEST_CMD, 0, {}}, {"&None", ID_TEST_NOHANDLER, 0, {}}}},
     {"&Window",
      0,
      MF_POPUP,
      {{"&New Window", ID_WINDOW_NEW, 0, {}},
       {"&Cascade", ID_WINDOW_CASCADE, 0, {}},
       {"&Tile", ID_WINDOW_TILE_HORZ, 0, {}}}}}};

// The frame's table and the document type's: Ctrl+E means another command in a child.
const AcceleratorTemplate kFrameKeys{IDR_MAINFRAME,
                                     {{FVIRTKEY | FCONTROL, 'O', ID_FILE_OPEN}, {FVIRTKEY | FCONTROL, 'E', ID_TEST_CMD}}};
const AcceleratorTemplate kDocKeys{IDR_DOCTYPE, {{FVIRTKEY | FCONTROL, 'E', ID_TEST_NOHANDLER}}};

class Resources : public ResourceModule {
public:
    const AcceleratorTemplate* FindAccelerators(UINT id) const override {
        return id == IDR_MAINFRAME ? &kFrameKeys : id == IDR_DOCTYPE ? &kDocKeys : nullptr;
    }
    const MenuTemplate* FindMenu(UINT id) const override {
        return id == IDR_MAINFRAME ? &kFrameMenu : id == IDR_DOCTYPE ? &kDocMenu : nullptr;
    }
    const char* FindString(UINT id) const override {
        if (id == IDR_MAINFRAME)
            return "App";
        if (id == IDR_DOCTYPE)
            return "\nDoc\nDoc\n\n\nDoc.Document\nDoc Document";
        return nullptr;
    }
};

std::vector<std::string> g_route;
// Which targets still handle ID_TEST_CMD (a handler "removed" passes the command on).
struct Handles {
    bool view = true, doc = true, frame = true, app = true;
    bool disable = false;
} g_handles;

class CTestDoc : public CDocument {
    DECLARE_DYNCREATE(CTestDoc)
protected:
    BOOL OnTest(UINT) {
        g_route.push_back("doc");
        return g_handles.doc;
    }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CTestDoc, CDocument)
BEGIN_MESSAGE_MAP(CTestDoc, CDocument)
ON_COMMAND_EX(ID_TEST_CMD, OnTest)
END_MESSAGE_MAP()

class CTestView : public CView {
    DECLARE_DYNCREATE(CTestView)
public:
    void OnDraw(HDC dc) override {
        RECT rc;
        GetClientRect(&rc);
        FillRect(dc, &rc, GetSysColorBrush(COLOR_WINDOW));
    }

protected:
    BOOL OnTest(UINT) {
        g_route.push_back("view");
        return g_handles.view;
    }
    void OnUpdateTest(CCmdUI* ui) {
        if (g_handles.disable)
            ui->Enable(FALSE);
        else
            ui->ContinueRouting();
    }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CTestView, CView)
BEGIN_MESSAGE_MAP(CTestView, CView)
ON_COMMAND_EX(ID_TEST_CMD, OnTest)
ON_UPDATE_COMMAND_UI(ID_TEST_CMD, OnUpdateTest)
END_MESSAGE_MAP()

class CChildFrame : public CMDIChildWnd {
    DECLARE_DYNCREATE(CChildFrame)
protected:
    BOOL OnTest(UINT) {
        g_route.push_back("child");
        return FALSE;
    }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CChildFrame, CMDIChildWnd)
BEGIN_MESSAGE_MAP(CChildFrame, CMDIChildWnd)
ON_COMMAND_EX(ID_TEST_CMD, OnTest)
END_MESSAGE_MAP()

class CMainFrame : public CMDIFrameWnd {
public:
    std::vector<UINT> commands;  // every command the frame receives
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        commands.push_back(LOWORD(wParam));
        return CMDIFrameWnd::OnCommand(wParam, lParam);
    }

protected:
    BOOL OnTest(UINT) {
        g_route.push_back("frame");
        return g_handles.frame;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CMainFrame, CMDIFrameWnd)
ON_COMMAND_EX(ID_TEST_CMD, OnTest)
END_MESSAGE_MAP()

class CTestApp : public CWinApp {
public:
    CTestApp() : CWinApp("App") {}

protected:
    BOOL OnTest(UINT) {
        g_route.push_back("app");
        return g_handles.app;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
ON_COMMAND_EX(ID_TEST_CMD, OnTest)
END_MESSAGE_MAP()

class MdiTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddResourceModule(&resources);
        g_route.clear();
        g_handles = Handles{};
        tmpl = new CMultiDocTemplate(IDR_DOCTYPE, RUNTIME_CLASS(CTestDoc), RUNTIME_CLASS(CChildFrame),
                                     RUNTIME_CLASS(CTestView));
        app.AddDocTemplate(tmpl);
        frame = new CMainFrame;
        ASSERT_TRUE(frame->LoadFrame(IDR_MAINFRAME));
        app.m_pMainWnd = frame;
        frame->SetWindowPos(nullptr, 0, 0, 800, 600, SWP_NOZORDER);
        frame->ShowWindow(SW_SHOW);
        Pump();
    }
    void TearDown() override {
        if (app.m_pMainWnd)
            frame->SendMessage(WM_CLOSE);
        Pump();
        RemoveResourceModule(&resources);
    }
    void Pump() {
        MSG m;
        while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (m.message == WM_QUIT)
                continue;
            if (!app.PreTranslateMessage(&m)) {
                TranslateMessage(&m);
                DispatchMessage(&m);
            }
        }
        app.OnIdle(0);
    }
    std::string Text(HWND h) { return GetWindowTextString(h).GetString(); }
    std::string ActiveTitle() {
        CMDIChildWnd* child = frame->MDIGetActive();
        return child ? Text(child->m_hWnd) : "";
    }
    HMENU WindowPopup() { return GetSubMenu(GetMenu(frame->m_hWnd), 2); }
    std::vector<std::string> WindowList() {
        std::vector<std::string> out;
        HMENU popup = WindowPopup();
        for (int i = 0; i < GetMenuItemCount(popup); ++i) {
            UINT id = GetMenuItemID(popup, i);
            if (id < AFX_IDM_FIRST_MDICHILD || id == (UINT)-1)
                continue;
            char text[64];
            GetMenuString(popup, (UINT)i, text, sizeof text, MF_BYPOSITION);
            bool checked = GetMenuState(popup, (UINT)i, MF_BYPOSITION) & MF_CHECKED;
            out.push_back(std::string(text) + (checked ? " *" : ""));
        }
        return out;
    }

    Resources resources;
    CTestApp app;
    CMultiDocTemplate* tmpl = nullptr;
    CMainFrame* frame = nullptr;
};
}  // namespace

TEST_F(MdiTest, TwoDocumentsListedSwitchedAndMaximisedIntoTheFrame) {
    HMENU frameMenu = GetMenu(frame->m_hWnd);
    EXPECT_EQ(Text(frame->m_hWnd), "App");
    app.OnFileNew();
    app.OnFileNew();
    Pump();
    EXPECT_EQ(app.GetOpenDocumentCount(), 2);
    // The template's menu shows while a child is active.
    EXPECT_EQ(GetMenu(frame->m_hWnd), tmpl->m_hMenuShared);
    EXPECT_EQ(ActiveTitle(), "Doc2");
    EXPECT_EQ(Text(frame->m_hWnd), "App - Doc2");
    EXPECT_EQ(WindowList(), (std::vector<std::string>{"&1 Doc1", "&2 Doc2 *"}));

    // Ctrl+F6 goes to the next child, and again back.
    PostKeyInput(WM_KEYDOWN, VK_CONTROL, 1);
    SimulateKey(VK_F6);
    Pump();
    EXPECT_EQ(ActiveTitle(), "Doc1");
    EXPECT_EQ(WindowList(), (std::vector<std::string>{"&1 Doc1 *", "&2 Doc2"}));
    SimulateKey(VK_F6);
    Pump();
    PostKeyInput(WM_KEYUP, VK_CONTROL, 1);
    Pump();
    EXPECT_EQ(ActiveTitle(), "Doc2");

    // The window list's command activates a child.
    frame->SendMessage(WM_COMMAND, AFX_IDM_FIRST_MDICHILD);
    Pump();
    EXPECT_EQ(ActiveTitle(), "Doc1");
    frame->SendMessage(WM_COMMAND, AFX_IDM_FIRST_MDICHILD + 1);
    Pump();

    // Maximised: the frame's title carries the child's, and the child's buttons sit in the menu bar.
    CMDIChildWnd* doc2 = frame->MDIGetActive();
    frame->MDIMaximize(doc2);
    Pump();
    EXPECT_TRUE(doc2->IsZoomed());
    EXPECT_EQ(Text(frame->m_hWnd), "App - [Doc2]");
    RECT wr, fc;
    frame->GetWindowRect(&wr);
    frame->GetClientRect(&fc);
    POINT clientOrigin{0, 0};
    frame->ClientToScreen(&clientOrigin);
    // The bar lies between the caption and the client area; its close button is at its right end.
    int barBottom = clientOrigin.y - wr.top;
    POINT closeButton{wr.right - 4 - 2 - 8, wr.top + barBottom - 19 + 9};
    EXPECT_EQ(frame->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(closeButton.x, closeButton.y)), HTMENU);
    // Another child activated while maximised is maximised in turn.
    frame->MDINext();
    Pump();
    EXPECT_EQ(Text(frame->m_hWnd), "App - [Doc1]");
    EXPECT_FALSE(doc2->IsZoomed());

    // The close button in the menu bar closes the maximised child; the other takes its place.
    PostMouseInput(WM_LBUTTONDOWN, closeButton, MK_LBUTTON);
    PostMouseInput(WM_LBUTTONUP, closeButton, 0);
    Pump();
    EXPECT_EQ(app.GetOpenDocumentCount(), 1);
    EXPECT_EQ(Text(frame->m_hWnd), "App - [Doc2]");
    EXPECT_EQ(WindowList(), (std::vector<std::string>{"&1 Doc2 *"}));

    // The last child closed: the frame's own menu and title.
    frame->MDIGetActive()->SendMessage(WM_CLOSE);
    Pump();
    EXPECT_EQ(app.GetOpenDocumentCount(), 0);
    EXPECT_EQ(GetMenu(frame->m_hWnd), frameMenu);
    EXPECT_EQ(Text(frame->m_hWnd), "App");
    EXPECT_EQ(frame->MDIGetActive(), nullptr);
}

TEST_F(MdiTest, CommandsGoThroughViewDocumentFramesAndApplication) {
    app.OnFileNew();
    Pump();
    auto send = [&] {
        g_route.clear();
        frame->SendMessage(WM_COMMAND, ID_TEST_CMD);
        return g_route;
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(send(), V{"view"});
    g_handles.view = false;
    EXPECT_EQ(send(), (V{"view", "doc"}));
    g_handles.doc = false;
    EXPECT_EQ(send(), (V{"view", "doc", "child", "frame"}));
    g_handles.frame = false;
    EXPECT_EQ(send(), (V{"view", "doc", "child", "frame", "app"}));
    // A command its update handler disables is not carried out.
    g_handles.disable = true;
    EXPECT_EQ(send(), V{});
}

TEST_F(MdiTest, AcceleratorsOfTheActiveChildsTemplateComeFirst) {
    auto press = [&](UINT key) {
        frame->commands.clear();
        PostKeyInput(WM_KEYDOWN, VK_CONTROL, 1);
        SimulateKey(key);
        PostKeyInput(WM_KEYUP, VK_CONTROL, 1);
        Pump();
        return frame->commands;
    };
    using V = std::vector<UINT>;
    frame->SetFocus();
    EXPECT_EQ(press('O'), V{ID_FILE_OPEN});
    EXPECT_EQ(press('E'), V{ID_TEST_CMD});
    app.OnFileNew();
    Pump();
    ASSERT_NE(frame->MDIGetActive(), nullptr);
    // With a child active its table wins; keys it lacks fall to the frame's table.
    EXPECT_EQ(press('E'), V{ID_TEST_NOHANDLER});
    EXPECT_EQ(press('O'), V{ID_FILE_OPEN});
    // A key neither table holds is no command.
    EXPECT_EQ(press('Q'), V{});
}

TEST_F(MdiTest, MenuItemsAreUpdatedWhenTheirPopupOpens) {
    app.OnFileNew();
    Pump();
    HMENU edit = GetSubMenu(GetMenu(frame->m_hWnd), 1);
    g_handles.disable = true;
    EXPECT_FALSE(GetMenuState(edit, ID_TEST_CMD, MF_BYCOMMAND) & MF_GRAYED);
    frame->SendMessage(WM_INITMENUPOPUP, (WPARAM)edit, MAKELPARAM(1, FALSE));
    EXPECT_TRUE(GetMenuState(edit, ID_TEST_CMD, MF_BYCOMMAND) & MF_GRAYED);
    // No handler anywhere: greyed.
    EXPECT_TRUE(GetMenuState(edit, ID_TEST_NOHANDLER, MF_BYCOMMAND) & MF_GRAYED);
    g_handles.disable = false;
    frame->SendMessage(WM_INITMENUPOPUP, (WPARAM)edit, MAKELPARAM(1, FALSE));
    EXPECT_FALSE(GetMenuState(edit, ID_TEST_CMD, MF_BYCOMMAND) & MF_GRAYED);
}

TEST_F(MdiTest, OpeningAFileNamesTheDocumentListsItAndReopeningActivatesIt) {
    TempFolder folder("frames-open");
    std::string path = folder.Write("frames-open-test.log", "x");
    app.LoadStdProfileSettings(8);
    CDocument* doc = app.OpenDocumentFile(path.c_str());
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(std::string(doc->GetTitle().GetString()), "frames-open-test.log");
    EXPECT_EQ(std::string((*app.m_pRecentFileList)[0].GetString()), path);
    app.OnFileNew();
    Pump();
    EXPECT_EQ(ActiveTitle(), "Doc1");
    EXPECT_EQ(app.OpenDocumentFile(path.c_str()), doc);
    Pump();
    EXPECT_EQ(app.GetOpenDocumentCount(), 2);
    EXPECT_EQ(ActiveTitle(), "frames-open-test.log");
    // A file that does not open gives no document and no frame.
    EXPECT_EQ(app.OpenDocumentFile((path + ".missing").c_str()), nullptr);
    EXPECT_EQ(app.GetOpenDocumentCount(), 2);
}

// A document's path is the file's full path: absolute against the working folder, "." and ".." resolved by
// name; the title is its last part.
TEST(DocumentPath, SetPathNameStoresTheFullPath) {
    TempFolder folder("docpath");
    folder.Write("sub/x.log", "x");
    char before[4096];
    ASSERT_NE(getcwd(before, sizeof before), nullptr);
    ASSERT_EQ(chdir((folder / "sub").c_str()), 0);
    const std::string sub = folder / "sub", parent = folder.Path();
    struct Case {
        const char* given;
        std::string path, title;
    } cases[] = {
        {"x.log", sub + "/x.log", "x.log"},
        {"./x.log", sub + "/x.log", "x.log"},
        {"../sub/./x.log", sub + "/x.log", "x.log"},
        {"../up.log", parent + "/up.log", "up.log"},
        {"/var//log/../tmp/a.log", "/var/tmp/a.log", "a.log"},
        {"/../a.log", "/a.log", "a.log"},
        {"Import_1", sub + "/Import_1", "Import_1"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        CDocument doc;
        doc.SetPathName(c.given, FALSE);
        EXPECT_EQ(std::string(doc.GetPathName().GetString()), c.path) << c.given;
        EXPECT_EQ(std::string(doc.GetTitle().GetString()), c.title) << c.given;
    }
    EXPECT_EQ(chdir(before), 0);
}

namespace {
// A toolbar stand-in: a 26-pixel face-coloured strip along the top.
class CTopStrip : public CWnd {
protected:
    LRESULT OnSizeParent(WPARAM, LPARAM lParam) {
        auto* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
        RECT r{layout->rect.left, layout->rect.top, layout->rect.right, layout->rect.top + 26};
        layout->rect.top += 26;
        AfxRepositionWindow(layout, m_hWnd, &r);
        return 0;
    }
    void OnPaint() {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(m_hWnd, &ps);
        RECT rc;
        GetClientRect(&rc);
        FillRect(dc, &rc, GetSysColorBrush(COLOR_3DFACE));
        EndPaint(m_hWnd, &ps);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTopStrip, CWnd)
ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
ON_WM_PAINT()
END_MESSAGE_MAP()
}  // namespace

TEST_F(MdiTest, ScreenshotOfTheFrameWithMenuBarAndTwoChildren) {
    CTopStrip strip;
    ASSERT_TRUE(strip.Create(nullptr, nullptr, WS_VISIBLE, RECT{0, 0, 0, 0}, frame, AFX_IDW_TOOLBAR));
    frame->RecalcLayout();
    app.OnFileNew();
    app.OnFileNew();
    Pump();
    frame->UpdateWindow();
    EXPECT_NE(WriteScreenshot(frame->m_hWnd, "mdi-frame"), "");

    // Frame: 800 x 600, border 4, caption 18 + 1, menu bar 19, client edge 2 around the MDI client.
    HWND f = frame->m_hWnd;
    EXPECT_EQ(GetWindowPixel(f, 4, 5), GetSysColor(COLOR_ACTIVECAPTION));     // caption, left end
    EXPECT_EQ(GetWindowPixel(f, 780, 4 + 19 + 10), GetSysColor(COLOR_MENU));  // menu bar, right of the items
    EXPECT_EQ(GetWindowPixel(f, 400, 4 + 19 + 19 + 13), GetSysColor(COLOR_3DFACE));  // the top strip
    RECT client;
    GetClientRect(frame->m_hWndMDIClient, &client);
    POINT corner{client.right - 3, client.bottom - 3};
    MapWindowPoints(frame->m_hWndMDIClient, f, &corner, 1);
    RECT wr, cr;
    GetWindowRect(f, &wr);
    POINT origin{0, 0};
    ClientToScreen(f, &origin);
    corner.x += origin.x - wr.left;
    corner.y += origin.y - wr.top;
    EXPECT_EQ(GetWindowPixel(f, corner.x, corner.y), GetSysColor(COLOR_APPWORKSPACE));  // uncovered client

    // Doc1 at the client's origin, Doc2 one cascade step further and active: its caption in the active
    // colour, Doc1's above it in the inactive one; Doc2's view is white.
    CMDIChildWnd* doc2 = frame->MDIGetActive();
    HWND doc1 = GetWindow(doc2->m_hWnd, GW_HWNDNEXT);
    ASSERT_TRUE(doc1);
    EXPECT_EQ(GetWindowPixel(doc2->m_hWnd, 4, 6), GetSysColor(COLOR_ACTIVECAPTION));
    EXPECT_EQ(GetWindowPixel(doc1, 4, 6), GetSysColor(COLOR_INACTIVECAPTION));
    GetClientRect(doc2->m_hWnd, &cr);
    POINT mid{cr.right / 2, cr.bottom / 2};
    ClientToScreen(doc2->m_hWnd, &mid);
    RECT d2;
    GetWindowRect(doc2->m_hWnd, &d2);
    EXPECT_EQ(GetWindowPixel(doc2->m_hWnd, mid.x - d2.left, mid.y - d2.top), RGB(255, 255, 255));
}

TEST_F(MdiTest, APressInAnInactiveChildActivatesIt) {
    app.OnFileNew();
    app.OnFileNew();
    Pump();
    CMDIChildWnd* doc2 = frame->MDIGetActive();
    HWND doc1 = GetWindow(doc2->m_hWnd, GW_HWNDNEXT);
    // Doc1's caption shows above Doc2.
    RECT r1;
    GetWindowRect(doc1, &r1);
    SimulateClick(nullptr, r1.left + 60, r1.top + 10);
    Pump();
    EXPECT_EQ(ActiveTitle(), "Doc1");
    // A press in Doc2's view (its lower right, which Doc1 does not cover) activates Doc2, and its view
    // has the focus.
    CView* view = doc2->GetActiveView();
    ASSERT_NE(view, nullptr);
    RECT vc;
    view->GetClientRect(&vc);
    SimulateClick(view->m_hWnd, vc.right - 5, vc.bottom - 5);
    Pump();
    EXPECT_EQ(ActiveTitle(), "Doc2");
    EXPECT_EQ(GetFocus(), view->m_hWnd);
}
