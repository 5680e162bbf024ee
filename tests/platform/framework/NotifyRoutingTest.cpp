// WM_NOTIFY and WM_COMMAND from controls through message maps: ON_NOTIFY and its range and EX
// forms, reflection to the control's own map, base-ward lookup, and commands from accelerators.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/framework/window/Wnd.h"

namespace {
// Common control notification codes (negative, as the controls send them).
constexpr UINT kClick = (UINT)-2;
constexpr UINT kDblClk = (UINT)-3;
constexpr UINT kRClick = (UINT)-5;
constexpr UINT kSetFocus = (UINT)-7;
constexpr UINT kItemChanged = (UINT)-101;  // a list view's
constexpr UINT ID_FILE_OPEN = 0xE101;

std::vector<std::string> g_log;

class CReflector : public CWnd {
public:
    BOOL m_stopFocus = FALSE;

protected:
    void OnReflectedClick(NMHDR* hdr, LRESULT* result) {
        g_log.push_back("child click " + std::to_string(hdr->idFrom));
        *result = 7;
    }
    BOOL OnReflectedFocus(NMHDR*, LRESULT*) {
        g_log.push_back("child focus");
        return m_stopFocus;
    }
    void OnReflectedClicked() { g_log.push_back("child clicked"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CReflector, CWnd)
ON_NOTIFY_REFLECT(kClick, OnReflectedClick)
ON_NOTIFY_REFLECT_EX(kSetFocus, OnReflectedFocus)
ON_CONTROL_REFLECT(BN_CLICKED, OnReflectedClicked)
END_MESSAGE_MAP()

class CNotifyParent : public CWnd {
public:
    BOOL m_rclickHandled = TRUE;

protected:
    void OnClick(NMHDR* hdr, LRESULT* result) {
        g_log.push_back("parent click " + std::to_string(hdr->idFrom));
        *result = 5;
    }
    void OnSetFocusNotify(NMHDR*, LRESULT*) { g_log.push_back("parent focus"); }
    void OnDblClkRange(UINT id, NMHDR*, LRESULT* result) {
        g_log.push_back("parent dblclk " + std::to_string(id));
        *result = (LRESULT)id;
    }
    BOOL OnRClick(UINT id, NMHDR*, LRESULT*) {
        g_log.push_back("parent rclick " + std::to_string(id));
        return m_rclickHandled;
    }
    void OnItemChanged(NMHDR*, LRESULT* result) {
        g_log.push_back("base item changed");
        *result = 1;
    }
    void OnButton() { g_log.push_back("parent button"); }
    void OnFileOpen() { g_log.push_back("file open"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CNotifyParent, CWnd)
ON_NOTIFY(kClick, 10, OnClick)
ON_NOTIFY(kClick, 11, OnClick)
ON_NOTIFY(kSetFocus, 11, OnSetFocusNotify)
ON_NOTIFY_RANGE(kDblClk, 20, 29, OnDblClkRange)
ON_NOTIFY_EX(kRClick, 30, OnRClick)
ON_NOTIFY(kItemChanged, 40, OnItemChanged)
ON_BN_CLICKED(11, OnButton)
ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
END_MESSAGE_MAP()

// A derived parent takes one notification over and keeps the rest of its base's map.
class CDerivedParent : public CNotifyParent {
protected:
    void OnItemChangedHere(NMHDR*, LRESULT* result) {
        g_log.push_back("derived item changed");
        *result = 2;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CDerivedParent, CNotifyParent)
ON_NOTIFY(kItemChanged, 40, OnItemChangedHere)
END_MESSAGE_MAP()

class NotifyRoutingTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_log.clear();
        ASSERT_TRUE(parent.CreateEx(0, nullptr, "Parent", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr));
        ASSERT_TRUE(derived.CreateEx(0, nullptr, "Derived", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr));
        ASSERT_TRUE(reflector.Create(nullptr, "", WS_CHILD | WS_VISIBLE, RECT{0, 0, 50, 20}, &parent, 11));
        plain = CreateWindowEx(0, "Static", "", WS_CHILD | WS_VISIBLE, 0, 30, 50, 20, parent.m_hWnd,
                               (HMENU)10, nullptr, nullptr);
    }
    void TearDown() override {
        parent.DestroyWindow();
        derived.DestroyWindow();
    }
    // Sends a notification to `to` as a control with this handle and id does.
    static LRESULT Notify(HWND to, HWND from, UINT_PTR id, UINT code) {
        NMHDR hdr{from, id, code};
        return SendMessage(to, WM_NOTIFY, id, (LPARAM)&hdr);
    }

    CNotifyParent parent;
    CDerivedParent derived;
    CReflector reflector;
    HWND plain = nullptr;
};

TEST_F(NotifyRoutingTest, ParentMapsTakeNotificationsByCodeAndId) {
    struct Case {
        UINT_PTR id;
        UINT code;
        LRESULT result;
        const char* logged;  // null: nobody handles it
    } cases[] = {
        {10, kClick, 5, "parent click 10"},
        {10, kDblClk, 0, nullptr},              // a code the map has only for other ids
        {12, kClick, 0, nullptr},               // an id the map does not know
        {20, kDblClk, 20, "parent dblclk 20"},  // range: the id reaches the handler
        {29, kDblClk, 29, "parent dblclk 29"},
        {30, kDblClk, 0, nullptr},
        {40, kItemChanged, 1, "base item changed"},
    };
    for (const Case& c : cases) {
        g_log.clear();
        EXPECT_EQ(Notify(parent.m_hWnd, plain, c.id, c.code), c.result) << c.id << " " << (int)c.code;
        std::vector<std::string> expected;
        if (c.logged)
            expected.push_back(c.logged);
        EXPECT_EQ(g_log, expected) << c.id << " " << (int)c.code;
    }
}

TEST_F(NotifyRoutingTest, ExHandlersChooseWhetherTheyHandled) {
    EXPECT_EQ(Notify(parent.m_hWnd, plain, 30, kRClick), 0);
    parent.m_rclickHandled = FALSE;
    EXPECT_EQ(Notify(parent.m_hWnd, plain, 30, kRClick), 0);
    EXPECT_EQ(g_log, (std::vector<std::string>{"parent rclick 30", "parent rclick 30"}));
    // Asking who handles a notification names the handler without calling it.
    AFX_CMDHANDLERINFO info{};
    NMHDR hdr{plain, 30, kRClick};
    LRESULT r = 0;
    AFX_NOTIFY notify{&r, &hdr};
    EXPECT_TRUE(parent.OnCmdMsg(30, (int)MAKELONG(LOWORD(kRClick), WM_NOTIFY), &notify, &info));
    EXPECT_EQ(info.pTarget, &parent);
    EXPECT_EQ(g_log.size(), 2u);
    EXPECT_FALSE(parent.OnCmdMsg(31, (int)MAKELONG(LOWORD(kRClick), WM_NOTIFY), &notify, &info));
}

TEST_F(NotifyRoutingTest, ControlsHandleReflectedNotificationsBeforeTheirParent) {
    // Reflected and handled: the parent's own entry for the same code and id is not called.
    EXPECT_EQ(Notify(parent.m_hWnd, reflector.m_hWnd, 11, kClick), 7);
    EXPECT_EQ(g_log, (std::vector<std::string>{"child click 11"}));
    // The EX form lets the parent have it too when it returns FALSE, and keeps it when TRUE.
    g_log.clear();
    Notify(parent.m_hWnd, reflector.m_hWnd, 11, kSetFocus);
    reflector.m_stopFocus = TRUE;
    Notify(parent.m_hWnd, reflector.m_hWnd, 11, kSetFocus);
    EXPECT_EQ(g_log, (std::vector<std::string>{"child focus", "parent focus", "child focus"}));
    // A code the control does not reflect goes to the parent.
    g_log.clear();
    EXPECT_EQ(Notify(parent.m_hWnd, reflector.m_hWnd, 20, kDblClk), 20);
    EXPECT_EQ(g_log, (std::vector<std::string>{"parent dblclk 20"}));
    // WM_COMMAND from the control is reflected as well.
    g_log.clear();
    SendMessage(parent.m_hWnd, WM_COMMAND, MAKEWPARAM(11, BN_CLICKED), (LPARAM)reflector.m_hWnd);
    EXPECT_EQ(g_log, (std::vector<std::string>{"child clicked"}));
    // The same notification from a control without a C++ object goes straight to the parent.
    g_log.clear();
    EXPECT_EQ(Notify(parent.m_hWnd, plain, 11, kClick), 5);
    SendMessage(parent.m_hWnd, WM_COMMAND, MAKEWPARAM(11, BN_CLICKED), (LPARAM)plain);
    EXPECT_EQ(g_log, (std::vector<std::string>{"parent click 11", "parent button"}));
}

TEST_F(NotifyRoutingTest, DerivedMapsWinAndKeepTheirBasesEntries) {
    EXPECT_EQ(Notify(derived.m_hWnd, plain, 40, kItemChanged), 2);
    EXPECT_EQ(Notify(derived.m_hWnd, plain, 10, kClick), 5);
    EXPECT_EQ(g_log, (std::vector<std::string>{"derived item changed", "parent click 10"}));
}

TEST_F(NotifyRoutingTest, MenusAndAcceleratorsAreCommandsAndBadNotificationsAreIgnored) {
    SendMessage(parent.m_hWnd, WM_COMMAND, MAKEWPARAM(ID_FILE_OPEN, 0), 0);  // a menu
    SendMessage(parent.m_hWnd, WM_COMMAND, MAKEWPARAM(ID_FILE_OPEN, 1), 0);  // an accelerator
    EXPECT_EQ(g_log, (std::vector<std::string>{"file open", "file open"}));
    g_log.clear();
    EXPECT_EQ(SendMessage(parent.m_hWnd, WM_NOTIFY, 10, 0), 0);  // no header
    HWND gone =
        CreateWindowEx(0, "Static", "", WS_CHILD, 0, 0, 5, 5, parent.m_hWnd, (HMENU)50, nullptr, nullptr);
    DestroyWindow(gone);
    EXPECT_EQ(Notify(parent.m_hWnd, gone, 50, kClick), 0);  // from a control that is gone
    EXPECT_TRUE(g_log.empty());
}
}  // namespace
