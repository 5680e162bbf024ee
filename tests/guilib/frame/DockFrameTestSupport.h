// A shown 1000 x 700 docking MDI frame as the application's main window, with a temporary registry, for
// the tests of bars and children docked in it.
#pragma once

#include <gtest/gtest.h>

#include "guilib/frame/OXFrameWndDock.h"
#include "platform/base/Profile.h"
#include "platform/framework/app/WinThread.h"
#include "tests/support/Gui.h"
#include "tests/support/TempRegistry.h"

class DockFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        AfxGetProfile().SetRegistryKey("Test");
        AfxGetProfile().SetProfileName("DockApp");
        frame = new COXMDIFrameWndSizeDock;
        ASSERT_TRUE(frame->Create(nullptr, "Dock", WS_OVERLAPPEDWINDOW, RECT{0, 0, 1000, 700}));
        app.m_pMainWnd = frame;
        frame->EnableDocking(CBRS_ALIGN_ANY);
        frame->ShowWindow(SW_SHOW);
    }
    void TearDown() override {
        if (frame && IsWindow(frame->m_hWnd))
            frame->DestroyWindow();
        frame = nullptr;
        app.m_pMainWnd = nullptr;
        Pump();
        AfxGetProfile().SetRegistryKey("");
    }

    TempRegistry registry;
    CWinApp app{"DockApp"};
    COXMDIFrameWndSizeDock* frame = nullptr;
};
