#include "tests/guilib/frame/WorkspaceTestSupport.h"

#include "platform/user/Keyboard.h"
#include "tests/support/Gui.h"

namespace mdi_test {
namespace {
const MenuTemplate kFrameMenu{IDR_MAINFRAME, {{"&File", 0, MF_POPUP, {{"E&xit", ID_APP_EXIT, 0, {}}}}}};
const MenuTemplate kLogMenu{IDR_LOGTYPE,
                            {{"&File", 0, MF_POPUP, {{"&Close", ID_FILE_CLOSE, 0, {}}}},
                             {"&Window", 0, MF_POPUP, {{"&Cascade", ID_WINDOW_CASCADE, 0, {}}}}}};
const AcceleratorTemplate kFrameKeys{IDR_MAINFRAME, {{FVIRTKEY | FCONTROL, 'O', ID_FILE_OPEN}}};
const AcceleratorTemplate kLogKeys{IDR_LOGTYPE, {{FVIRTKEY | FCONTROL, 'E', ID_CMD_A}}};
}  // namespace

const AcceleratorTemplate* Resources::FindAccelerators(UINT id) const {
    return id == IDR_MAINFRAME ? &kFrameKeys : id == IDR_LOGTYPE ? &kLogKeys : nullptr;
}
const MenuTemplate* Resources::FindMenu(UINT id) const {
    return id == IDR_MAINFRAME ? &kFrameMenu : id == IDR_LOGTYPE ? &kLogMenu : nullptr;
}
const char* Resources::FindString(UINT id) const {
    if (id == IDR_MAINFRAME)
        return "WorkApp";
    if (id == IDR_LOGTYPE)
        return "\nLog\nLog\nLogs (*.log)\n.log\nLog.Document\nLog Document";
    return nullptr;
}

IMPLEMENT_DYNCREATE(CLogDoc, CDocument)
BOOL CLogDoc::OnOpenDocument(LPCTSTR) {
    return TRUE;
}
IMPLEMENT_DYNCREATE(CLogView, CView)
void CLogView::OnDraw(HDC dc) {
    RECT rc;
    GetClientRect(&rc);
    FillRect(dc, &rc, GetSysColorBrush(COLOR_WINDOW));
}
IMPLEMENT_DYNCREATE(CLogFrame, CMDIChildWnd)

App::App() {
    AddResourceModule(&resources);
    tmpl = new CMultiDocTemplate(IDR_LOGTYPE, RUNTIME_CLASS(CLogDoc), RUNTIME_CLASS(CLogFrame),
                                 RUNTIME_CLASS(CLogView));
    app.AddDocTemplate(tmpl);
    frame = new CTestFrame;
    frame->LoadFrame(IDR_MAINFRAME);
    app.m_pMainWnd = frame;
    frame->SetWindowPos(nullptr, 0, 0, 800, 600, SWP_NOZORDER);
    frame->ShowWindow(SW_SHOW);
    Pump();
}

App::~App() {
    if (app.m_pMainWnd)
        frame->SendMessage(WM_CLOSE);
    Pump();
    RemoveResourceModule(&resources);
}

void App::Pump() {
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

void App::Key(UINT vk, bool ctrl, bool shift) {
    std::vector<UINT> held;
    if (ctrl)
        held.push_back(VK_CONTROL);
    if (shift)
        held.push_back(VK_SHIFT);
    for (UINT h : held)
        PostKeyInput(WM_KEYDOWN, h, 1);
    PostKeyInput(WM_KEYDOWN, vk, 1);
    Pump();
    PostKeyInput(WM_KEYUP, vk, (LPARAM)0xC0000001);
    for (UINT h : held)
        PostKeyInput(WM_KEYUP, h, (LPARAM)0xC0000001);
    Pump();
}

CDocument* App::Open(const std::string& path) {
    CDocument* doc = tmpl->OpenDocumentFile(path.c_str());
    Pump();
    return doc;
}
}  // namespace mdi_test
