// The workspace state: its blob byte for byte, damaged blobs refused with nothing changed, the registry
// value, and applying a state to a running MDI application (main window, children, splitters).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "guilib/frame/OXChildFrameState.h"
#include "guilib/frame/OXWorkspaceState.h"
#include "platform/base/MemFile.h"
#include "platform/framework/frames/SplitterWnd.h"
#include "tests/guilib/frame/WorkspaceTestSupport.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TempRegistry.h"

using namespace mdi_test;

namespace {
std::string U32(uint32_t v) {
    return std::string(reinterpret_cast<const char*>(&v), 4);
}
std::string U16(uint16_t v) {
    return std::string(reinterpret_cast<const char*>(&v), 2);
}
std::string Str(const std::string& s) {
    return std::string(1, (char)s.size()) + s;
}
std::string NewClass(const std::string& name, uint16_t schema) {
    return U16(0xFFFF) + U16(schema) + U16((uint16_t)name.size()) + name;
}
std::string Bytes(const CByteArray& bytes) {
    return std::string(reinterpret_cast<const char*>(bytes.GetData()), (size_t)bytes.GetSize());
}
CByteArray Array(const std::string& bytes) {
    CByteArray a;
    a.vec().assign(bytes.begin(), bytes.end());
    return a;
}
std::string Placement(const WINDOWPLACEMENT& wp) {
    std::string s = U32(wp.flags) + U32(wp.showCmd);
    for (LONG v : {wp.ptMinPosition.x, wp.ptMinPosition.y, wp.ptMaxPosition.x, wp.ptMaxPosition.y,
                   wp.rcNormalPosition.left, wp.rcNormalPosition.top, wp.rcNormalPosition.right,
                   wp.rcNormalPosition.bottom})
        s += U32((uint32_t)v);
    return s;
}
// False when loading threw the archive's exception.
bool Loads(COXWorkspaceState& state, const std::string& bytes) {
    try {
        state.LoadFromByteArray(Array(bytes));
        return true;
    } catch (CException* e) {
        e->Delete();
        return false;
    }
}
}  // namespace

class WorkspaceTest : public ::testing::Test {
protected:
    void SetUp() override { env.app.SetRegistryKey("VeltrinEx"); }
    void OpenAt(const std::string& path, RECT r) {
        ASSERT_TRUE(env.Open(path));
        CMDIChildWnd* child = env.frame->MDIGetActive();
        ASSERT_TRUE(child);
        child->MoveWindow(r.left, r.top, r.right - r.left, r.bottom - r.top);
    }
    std::vector<CMDIChildWnd*> Children() {
        std::vector<CMDIChildWnd*> out;
        for (HWND h = GetWindow(env.frame->m_hWndMDIClient, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
            if (auto* c = dynamic_cast<CMDIChildWnd*>(CWnd::FromHandlePermanent(h)))
                out.push_back(c);
        return out;
    }
    void CloseAll() {
        for (CMDIChildWnd* c : Children())
            c->SendMessage(WM_CLOSE);
        env.Pump();
    }
    TempRegistry registry;
    TempFolder folder{"workspace"};
    CSplitterWnd splitter;  // outlives the frames of `env`
    App env;
};

TEST_F(WorkspaceTest, AllFlagsClearedStillWritesEveryItem) {
    COXWorkspaceState state;
    state.m_bIncludeMainWindow = state.m_bIncludeBars = FALSE;
    state.m_bIncludeChildFrames = state.m_bIncludeSplitterPanes = FALSE;
    OpenAt(folder.Write("a.log", "x\n"), RECT{0, 0, 200, 100});
    ASSERT_TRUE(state.ComputeState());
    CByteArray bytes;
    ASSERT_TRUE(state.StoreToByteArray(bytes));
    std::string expected = U32(0x1234FEDC) + U32(1) + U32(GetSystemMetrics(SM_CXSCREEN)) +
                           U32(GetSystemMetrics(SM_CYSCREEN)) + U32(0) + std::string(40, '\0') + U32(0) +
                           NewClass("CDockState", 1) + U16(1) + U32(0) + U32(0) + U16(0) + U32(0) + U32(0) +
                           NewClass("CObArray", 0) + U16(0) + U16(0) + U32(0) + U16(0x8003) + U16(0);
    EXPECT_EQ(Bytes(bytes), expected);
}

TEST_F(WorkspaceTest, ChildAndSplitterBlobRoundTripsAndDamagedBlobsChangeNothing) {
    std::string log = folder.Write("broker.log", "line\n");
    OpenAt(log, RECT{10, 20, 310, 220});
    CMDIChildWnd* child = env.frame->MDIGetActive();
    ASSERT_TRUE(splitter.CreateStatic(child, 2, 1, WS_CHILD | WS_VISIBLE, AFX_IDW_PANE_FIRST + 1));
    splitter.SetRowInfo(0, 40, 10);
    int current = 0, minimum = 0;
    splitter.GetRowInfo(0, current, minimum);

    COXWorkspaceState state;
    state.m_bIncludeBars = FALSE;
    ASSERT_TRUE(state.ComputeState());
    CByteArray stored;
    state.StoreToByteArray(stored);
    std::string bytes = Bytes(stored);
    ASSERT_EQ(bytes.substr(0, 8), std::string("\xDC\xFE\x34\x12\x01\x00\x00\x00", 8));

    // The child's record: placement, texts, flag, then its splitter rows and column.
    ASSERT_EQ(state.m_childFrameStates.GetSize(), 1);
    auto* childState = static_cast<COXChildFrameState*>(state.m_childFrameStates[0]);
    std::string childBytes = NewClass("COXChildFrameState", 1) + Placement(childState->m_windowPlacement) +
                             Str(log) + Str("CLogDoc") + Str("CLogFrame") + Str("CLogView") + U32(1);
    EXPECT_NE(bytes.find(childBytes), std::string::npos);
    std::string splitterBytes =
        NewClass("COXSplitterColRowState", 1) + U32(1) + U32(0) + U32((uint32_t)current) + U32(10);
    EXPECT_NE(bytes.find(splitterBytes), std::string::npos);
    EXPECT_EQ(childState->m_pSplitterStates->GetSize(), 3);

    COXWorkspaceState loaded;
    ASSERT_TRUE(Loads(loaded, bytes));
    ASSERT_EQ(loaded.m_childFrameStates.GetSize(), 1);
    auto* back = static_cast<COXChildFrameState*>(loaded.m_childFrameStates[0]);
    EXPECT_EQ(back->m_sDocPath, CString(log.c_str()));
    EXPECT_EQ(back->m_sViewClassName, CString("CLogView"));
    EXPECT_EQ(back->m_pSplitterStates->GetSize(), 3);
    CByteArray again;
    loaded.StoreToByteArray(again);
    EXPECT_EQ(Bytes(again), bytes);

    // Every truncation, another magic, version 2, schema 2, a tab count of 0xFFFF with three entries.
    std::vector<std::string> bad;
    for (size_t cut = 0; cut < bytes.size(); ++cut)
        bad.push_back(bytes.substr(0, cut));
    std::string magic = bytes;
    magic[0] = 0x00;
    bad.push_back(magic);
    std::string version = bytes;
    version[4] = 2;
    bad.push_back(version);
    std::string schema = bytes;
    size_t at = schema.find(NewClass("COXChildFrameState", 1));
    schema[at + 2] = 2;
    bad.push_back(schema);
    // The empty tab map sits just before the last flag and the splitter array.
    size_t mapAt = bytes.rfind(U16(0) + U32(1));
    ASSERT_NE(mapAt, std::string::npos);
    std::string entries;
    for (int i = 0; i < 3; ++i)
        entries += U32(100 + i) + U32(100 + i) + U32(59420) + U32(i) + U32(0);
    bad.push_back(bytes.substr(0, mapAt) + U16(0xFFFF) + entries);
    for (const std::string& b : bad) {
        EXPECT_FALSE(Loads(loaded, b)) << b.size();
        ASSERT_EQ(loaded.m_childFrameStates.GetSize(), 1);
        EXPECT_EQ(static_cast<COXChildFrameState*>(loaded.m_childFrameStates[0])->m_sDocPath,
                  CString(log.c_str()));
    }
}

TEST_F(WorkspaceTest, RegistryValueLoadsBackEqualAndNeedsACompany) {
    OpenAt(folder.Write("a.log", "x\n"), RECT{0, 0, 300, 200});
    COXWorkspaceState state;
    ASSERT_TRUE(state.StoreToRegistry());
    CByteArray stored, written;
    state.StoreToByteArray(stored);
    ASSERT_TRUE(state.ReadWriteRegistryBlob(FALSE, "Main", "VeltrinEx", "WorkApp", HKEY_CURRENT_USER, written));
    EXPECT_EQ(Bytes(written), Bytes(stored));
    COXWorkspaceState loaded;
    ASSERT_TRUE(loaded.LoadFromRegistry("Main", nullptr, nullptr, HKEY_CURRENT_USER, FALSE));
    CByteArray again;
    loaded.StoreToByteArray(again);
    EXPECT_EQ(Bytes(again), Bytes(stored));
    EXPECT_FALSE(loaded.LoadFromRegistry("Other", nullptr, nullptr, HKEY_CURRENT_USER, FALSE));
    env.app.m_pszRegistryKey.Empty();
    EXPECT_FALSE(loaded.LoadFromRegistry("Main", nullptr, nullptr, HKEY_CURRENT_USER, FALSE));
    EXPECT_FALSE(state.StoreToRegistry());
}

TEST_F(WorkspaceTest, ApplyingReopensLogsAtTheirPlacesAndRestoresTheMainWindow) {
    std::string first = folder.Write("first.log", "1\n");
    std::string second = folder.Write("Mixed.Log", "2\n");
    std::string emptied = folder.Write("empty.log", "3\n");
    std::string hidden = folder.Write("hidden.log", "4\n");
    OpenAt(hidden, RECT{5, 5, 105, 105});
    env.frame->MDIGetActive()->ShowWindow(SW_HIDE);
    OpenAt(emptied, RECT{0, 0, 100, 100});
    OpenAt(first, RECT{10, 10, 210, 110});
    OpenAt(second, RECT{30, 40, 330, 240});  // on top
    env.frame->ShowWindow(SW_MINIMIZE);
    COXWorkspaceState state;
    state.m_bIncludeBars = FALSE;
    ASSERT_TRUE(state.ComputeState());
    ASSERT_EQ(state.m_childFrameStates.GetSize(), 4);

    CloseAll();
    folder.Write("empty.log", "");
    env.frame->ShowWindow(SW_RESTORE);
    ASSERT_FALSE(state.ApplyState());  // the emptied log is not reopened
    env.Pump();
    EXPECT_FALSE(IsIconic(env.frame->m_hWnd));
    std::vector<CMDIChildWnd*> children = Children();
    ASSERT_EQ(children.size(), 3u);
    EXPECT_EQ(children[0]->GetActiveDocument()->GetPathName(), CString(second.c_str()));
    EXPECT_EQ(children[1]->GetActiveDocument()->GetPathName(), CString(first.c_str()));
    EXPECT_EQ(children[2]->GetActiveDocument()->GetPathName(), CString(hidden.c_str()));
    EXPECT_FALSE(children[2]->IsWindowVisible());
    WINDOWPLACEMENT wp{};
    children[0]->GetWindowPlacement(&wp);
    EXPECT_EQ(wp.rcNormalPosition.left, 30);
    EXPECT_EQ(wp.rcNormalPosition.bottom, 240);

    // A document still open gets a second frame, not a second document.
    int documents = env.app.GetOpenDocumentCount();
    EXPECT_TRUE(static_cast<COXChildFrameState*>(state.m_childFrameStates[0])->ApplyState());
    env.Pump();
    EXPECT_EQ(env.app.GetOpenDocumentCount(), documents);
    EXPECT_EQ(Children().size(), 4u);
}

TEST_F(WorkspaceTest, HiddenMainWindowGetsTheStoredShowCommandAtStartUp) {
    env.frame->ShowWindow(SW_MAXIMIZE);
    COXWorkspaceState state;
    state.m_bIncludeBars = state.m_bIncludeChildFrames = FALSE;
    ASSERT_TRUE(state.ComputeState());
    env.frame->ShowWindow(SW_HIDE);
    env.app.m_nCmdShow = SW_SHOWNORMAL;
    state.ApplyState();
    EXPECT_FALSE(env.frame->IsWindowVisible());
    EXPECT_EQ(env.app.m_nCmdShow, SW_SHOWMAXIMIZED);
}
