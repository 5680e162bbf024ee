// A small MDI application for the workspace tests: a frame with its own accelerators, one document
// template with a table of its own, and a document, child frame and view that record the commands
// they receive.
#pragma once

#include <string>
#include <vector>

#include "platform/framework/app/WinThread.h"
#include "platform/framework/docview/DocTemplate.h"
#include "platform/framework/frames/MDIChildWnd.h"
#include "platform/framework/frames/MDIFrameWnd.h"
#include "platform/user/Accelerators.h"
#include "platform/user/Resources.h"

namespace mdi_test {
constexpr UINT IDR_MAINFRAME = 128;
constexpr UINT IDR_LOGTYPE = 129;
constexpr UINT ID_CMD_A = 32900;
constexpr UINT ID_CMD_B = 32901;

class Resources : public ResourceModule {
public:
    const AcceleratorTemplate* FindAccelerators(UINT id) const override;
    const MenuTemplate* FindMenu(UINT id) const override;
    const char* FindString(UINT id) const override;
};

class CLogDoc : public CDocument {
    DECLARE_DYNCREATE(CLogDoc)
public:
    BOOL OnOpenDocument(LPCTSTR path) override;
};

class CLogView : public CView {
    DECLARE_DYNCREATE(CLogView)
public:
    void OnDraw(HDC dc) override;
};

class CLogFrame : public CMDIChildWnd {
    DECLARE_DYNCREATE(CLogFrame)
};

class CTestFrame : public CMDIFrameWnd {
public:
    std::vector<UINT> commands;  // every command the frame receives
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        commands.push_back(LOWORD(wParam));
        return CMDIFrameWnd::OnCommand(wParam, lParam);
    }
};

// The application with its frame shown and the template registered; tears both down at the end.
class App {
public:
    App();
    ~App();
    // Hands every queued message to the application's loop.
    void Pump();
    // A key-down of `vk` with Ctrl or Shift held as asked, through the application's translation.
    void Key(UINT vk, bool ctrl = false, bool shift = false);
    CDocument* Open(const std::string& path);

    Resources resources;
    CWinApp app{"WorkApp"};
    CMultiDocTemplate* tmpl = nullptr;
    CTestFrame* frame = nullptr;
};
}  // namespace mdi_test
