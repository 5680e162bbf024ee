// The clipboard: text through the display's clipboard, private formats in the process, one opener.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <thread>

#include "platform/base/GlobalMemory.h"
#include "platform/display/HeadlessDisplay.h"
#include "platform/user/Clipboard.h"

namespace {
HGLOBAL Block(const std::string& bytes) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(GlobalLock(h), bytes.data(), bytes.size());
    GlobalUnlock(h);
    return h;
}

std::string Read(HANDLE h) {
    if (!h)
        return "<none>";
    std::string s(static_cast<const char*>(GlobalLock(h)), GlobalSize(h));
    GlobalUnlock(h);
    return s;
}

class ClipboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        display = std::make_shared<HeadlessDisplay>();
        SetDisplayBackend(display);
        window =
            CreateWindowEx(0, "Static", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    }
    void TearDown() override {
        DestroyWindow(window);
        SetDisplayBackend(nullptr);
    }
    void Put(UINT format, const std::string& bytes) {
        ASSERT_TRUE(OpenClipboard(window));
        EmptyClipboard();
        EXPECT_TRUE(SetClipboardData(format, Block(bytes)));
        CloseClipboard();
    }
    std::string Get(UINT format) {
        EXPECT_TRUE(OpenClipboard(window));
        std::string s = Read(GetClipboardData(format));
        CloseClipboard();
        return s;
    }
    std::shared_ptr<HeadlessDisplay> display;
    HWND window = nullptr;
};

TEST_F(ClipboardTest, TextGoesToTheDisplayAsUtf8AndReadsBackAsTheBytesGiven) {
    Put(CF_TEXT, std::string("caf\xE9\0", 5));  // Windows-1252
    std::string desktop;
    ASSERT_TRUE(display->GetClipboardText(desktop));
    EXPECT_EQ(desktop, "caf\xC3\xA9");
    EXPECT_EQ(Get(CF_TEXT), std::string("caf\xE9\0", 5));
    EXPECT_EQ(GetClipboardOwner(), window);

    Put(CF_TEXT, std::string("na\xC3\xAFve\0", 7));  // UTF-8 leaves as it is
    display->GetClipboardText(desktop);
    EXPECT_EQ(desktop, "na\xC3\xAFve");
}

TEST_F(ClipboardTest, AnotherProgramsTextReplacesEverythingThisProcessPut) {
    UINT mine = RegisterClipboardFormat("Test private format");
    EXPECT_GE(mine, 0xC000u);
    EXPECT_EQ(RegisterClipboardFormat("TEST PRIVATE FORMAT"), mine);
    ASSERT_TRUE(OpenClipboard(window));
    EmptyClipboard();
    SetClipboardData(CF_TEXT, Block(std::string("ours\0", 5)));
    SetClipboardData(mine, Block("\x01\x02"));
    CloseClipboard();
    EXPECT_TRUE(IsClipboardFormatAvailable(mine));
    EXPECT_EQ(Get(mine), "\x01\x02");

    display->SetClipboardFromOutside("theirs");
    EXPECT_FALSE(IsClipboardFormatAvailable(mine));
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_EQ(Get(CF_TEXT), std::string("theirs\0", 7));
    EXPECT_EQ(GetClipboardOwner(), nullptr);

    // Emptying takes the desktop's text away too.
    ASSERT_TRUE(OpenClipboard(window));
    EmptyClipboard();
    CloseClipboard();
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
}

TEST_F(ClipboardTest, OneOpenerAtATimeAndNothingWithoutOpening) {
    EXPECT_EQ(SetClipboardData(CF_TEXT, nullptr), nullptr);
    HGLOBAL kept = Block("x");
    EXPECT_EQ(SetClipboardData(CF_TEXT, kept), nullptr);  // not open: the caller keeps its block
    EXPECT_EQ(GlobalFree(kept), nullptr);
    EXPECT_FALSE(EmptyClipboard());
    EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);
    EXPECT_FALSE(CloseClipboard());

    ASSERT_TRUE(OpenClipboard(window));
    BOOL otherThread = TRUE;
    std::thread([&] { otherThread = OpenClipboard(nullptr); }).join();
    EXPECT_FALSE(otherThread);
    EXPECT_TRUE(CloseClipboard());
    std::thread([&] {
        otherThread = OpenClipboard(nullptr);
        CloseClipboard();
    }).join();
    EXPECT_TRUE(otherThread);
}

TEST_F(ClipboardTest, ListenersHearOfAChangeWhenTheClipboardCloses) {
    ASSERT_TRUE(AddClipboardFormatListener(window));
    Put(CF_TEXT, std::string("x\0", 2));
    MSG m;
    EXPECT_TRUE(PeekMessage(&m, window, WM_CLIPBOARDUPDATE, WM_CLIPBOARDUPDATE, PM_REMOVE));
    RemoveClipboardFormatListener(window);
}

}  // namespace
