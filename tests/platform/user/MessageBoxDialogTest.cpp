#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/base/Clock.h"
#include "platform/display/HeadlessDisplay.h"
#include "platform/user/MessageBoxDialog.h"
#include "platform/user/Resources.h"
#include "tests/support/Gui.h"

namespace {
// What a box showed, read from its windows while it was open.
struct Shown {
    CString caption, text;
    std::vector<std::pair<int, CString>> buttons;  // id and text, left to right
    int defaultId = 0, focusId = 0;
    HICON icon = nullptr;
    bool ownerEnabled = true;
    bool textInked = false, iconInked = false, laidOut = true;
};

// Whether the control shows ink: dark pixels, or any pixel off the face colour.
bool HasInk(HWND box, HWND control, bool dark) {
    RECT r, b;
    GetWindowRect(control, &r);
    GetWindowRect(box, &b);
    OffsetRect(&r, -b.left, -b.top);
    COLORREF face = GetSysColor(COLOR_3DFACE);
    return PixelProbe(box).Any(r, [&](COLORREF c) { return dark ? PixelProbe::Dark(c, 100) : c != face; });
}

Shown Inspect(HWND box, HWND owner) {
    Shown s;
    s.caption = GetWindowTextString(box);
    s.ownerEnabled = IsWindowEnabled(owner) != FALSE;
    s.focusId = GetDlgCtrlID(GetFocus());
    RECT client;
    GetWindowRect(box, &client);
    LONG textBottom = 0, buttonsTop = 1 << 30;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char cls[32];
        GetClassName(c, cls, sizeof cls);
        DWORD style = (DWORD)GetWindowLongPtr(c, GWL_STYLE);
        RECT r;
        GetWindowRect(c, &r);
        if (r.left < client.left || r.right > client.right || r.top < client.top || r.bottom > client.bottom)
            s.laidOut = false;
        if (AsciiCompareNoCase(cls, WC_BUTTON) == 0) {
            s.buttons.emplace_back(GetDlgCtrlID(c), GetWindowTextString(c));
            if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
                s.defaultId = GetDlgCtrlID(c);
            buttonsTop = std::min(buttonsTop, r.top);
        } else if ((style & SS_TYPEMASK) == SS_ICON) {
            s.icon = (HICON)SendMessage(c, STM_GETICON, 0, 0);
            s.iconInked = HasInk(box, c, false);
        } else {
            s.text = GetWindowTextString(c);
            s.textInked = HasInk(box, c, true);
            textBottom = std::max(textBottom, r.bottom);
        }
    }
    if (textBottom > buttonsTop)
        s.laidOut = false;
    return s;
}

class MessageBoxDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        display = std::make_shared<HeadlessDisplay>();
        SetDisplayBackend(display);
        owner = CreateWindowEx(0, "Static", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 500, 400,
                               nullptr, nullptr, nullptr, nullptr);
    }
    void TearDown() override {
        DestroyWindow(owner);
        MSG m;
        while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
        }
        SetDisplayBackend(nullptr);
    }
    // Shows the box with `steps` run inside its loop after it is inspected; returns its answer.
    int Run(const char* text, const char* caption, UINT type, std::vector<std::function<void(HWND)>> steps) {
        steps.insert(steps.begin(), [this](HWND box) { shown = Inspect(box, owner); });
        modal.Start(std::move(steps));
        return ShowMessageBoxDialog(MessageBoxCall{owner, text, caption, type});
    }
    static std::function<void(HWND)> Click(int id) { return ModalSteps::ClickItem(id); }
    static std::function<void(HWND)> Key(UINT vk) { return ModalSteps::Key(vk); }

    std::shared_ptr<HeadlessDisplay> display;
    ModalSteps modal;
    HWND owner = nullptr;
    Shown shown;
};

TEST_F(MessageBoxDialogTest, ShowsTextIconAndButtonsAndAClickAnswers) {
    int beeps = GetMessageBeepCount();
    int answer = Run("Delete the selected rows?", "Sifter", MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2,
                     {Click(IDCANCEL)});
    EXPECT_EQ(answer, IDCANCEL);
    EXPECT_EQ(shown.caption, CString("Sifter"));
    EXPECT_EQ(shown.text, CString("Delete the selected rows?"));
    std::vector<std::pair<int, CString>> buttons{{IDYES, "&Yes"}, {IDNO, "&No"}, {IDCANCEL, "Cancel"}};
    EXPECT_EQ(shown.buttons, buttons);
    EXPECT_EQ(shown.defaultId, IDNO);
    EXPECT_EQ(shown.focusId, IDNO);
    EXPECT_EQ(shown.icon, LoadIcon(nullptr, IDI_QUESTION));
    EXPECT_TRUE(shown.iconInked);
    EXPECT_TRUE(shown.textInked);
    EXPECT_TRUE(shown.laidOut);
    EXPECT_FALSE(shown.ownerEnabled);  // modal to its owner
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(GetActiveWindow(), owner);
    EXPECT_EQ(GetMessageBeepCount(), beeps);                  // a question is silent
    EXPECT_EQ(display->Windows(), std::vector<HWND>{owner});  // the box is gone
}

TEST_F(MessageBoxDialogTest, KeysAnswerAsTheBoxesOfTheDesktopDo) {
    struct Case {
        UINT type;
        std::vector<std::function<void(HWND)>> steps;
        int answer;
        HICON icon;
        bool beeps;
    } cases[] = {
        // Escape closes a box with a Cancel button, or an OK-only box (answering OK).
        {MB_OK | MB_ICONEXCLAMATION, {Key(VK_ESCAPE)}, IDOK, LoadIcon(nullptr, IDI_EXCLAMATION), true},
        {MB_OKCANCEL | MB_ICONHAND, {Key(VK_ESCAPE)}, IDCANCEL, LoadIcon(nullptr, IDI_HAND), true},
        // Otherwise Escape does nothing; Enter takes the default button.
        {MB_YESNO | MB_DEFBUTTON2, {Key(VK_ESCAPE), Key(VK_RETURN)}, IDNO, nullptr, false},
        {MB_ABORTRETRYIGNORE | MB_ICONASTERISK | MB_DEFBUTTON3,
         {Key(VK_RETURN)},
         IDIGNORE,
         LoadIcon(nullptr, IDI_ASTERISK),
         false},
        {MB_RETRYCANCEL, {Click(IDRETRY)}, IDRETRY, nullptr, false},
    };
    for (const Case& c : cases) {
        int beeps = GetMessageBeepCount();
        EXPECT_EQ(Run("Text", "Caption", c.type, c.steps), c.answer) << std::hex << c.type;
        EXPECT_EQ(shown.icon, c.icon) << std::hex << c.type;
        EXPECT_EQ(GetMessageBeepCount() > beeps, c.beeps) << std::hex << c.type;
        EXPECT_TRUE(IsWindowEnabled(owner));
    }
}

TEST_F(MessageBoxDialogTest, LongTextMakesATallerBoxWithTheButtonsBelow) {
    Run("One line", "C", MB_OK, {Key(VK_RETURN)});
    Shown one = shown;
    RECT tall{};
    std::string lines;
    for (int i = 0; i < 12; ++i)
        lines += "A line of a longer message that the box must show in full\n";
    HWND boxSeen = nullptr;
    Run(lines.c_str(), "C", MB_OK, {[&](HWND box) {
            boxSeen = box;
            GetWindowRect(box, &tall);
            SimulateKey(VK_RETURN);
        }});
    EXPECT_TRUE(one.laidOut);
    EXPECT_TRUE(shown.laidOut);
    EXPECT_TRUE(shown.textInked);
    EXPECT_GT(tall.bottom - tall.top, 12 * 10);  // every line has room
    EXPECT_FALSE(IsWindow(boxSeen));
}

TEST_F(MessageBoxDialogTest, TheRecorderAnswersUnderTestWithoutAWindow) {
    InstallMessageBoxDialogPresenter();
    {
        MessageBoxRecorder recorder;
        recorder.ScriptAnswer(IDNO);
        EXPECT_EQ(MessageBox(owner, "Save changes?", "Veltrin", MB_YESNO | MB_ICONQUESTION), IDNO);
        EXPECT_EQ(AfxMessageBox("Done."), IDOK);
        ASSERT_EQ(recorder.Calls().size(), 2u);
        EXPECT_EQ(recorder.Calls()[0].text, CString("Save changes?"));
        EXPECT_EQ(recorder.Calls()[0].type, (UINT)(MB_YESNO | MB_ICONQUESTION));
        EXPECT_EQ(display->Windows(), std::vector<HWND>{owner});
    }
    // Without the recorder the presenter shows the real box.
    modal.Start({Click(IDYES)});
    EXPECT_EQ(MessageBox(owner, "Really?", "Veltrin", MB_YESNO), IDYES);
    SetMessageBoxPresenter(nullptr);
}
}  // namespace
