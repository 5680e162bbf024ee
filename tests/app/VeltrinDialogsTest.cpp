// The options, Find and Goto Line dialogs driven as a user does: their checks, what they store and
// when they stay open.
#include <gtest/gtest.h>

#include "app/VeltrinApp.h"
#include "app/VeltrinDialogs.h"
#include "core/RequestStrings.h"
#include "platform/base/MessageBox.h"
#include "res/veltrin/VeltrinResources.h"
#include "res/veltrin/resource.h"
#include "tests/support/Gui.h"
#include "tests/support/TempRegistry.h"

namespace {
class VeltrinDialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const ResourceModule* m : {&VeltrinResources(), &VeltrinFrameResources()})
            AddResourceModule(m);
        AfxSetCurrentThread(&app);
        app.SetRegistryKey("VeltrinEx");
        _csLastFindText = "";
        _csLastGotoLine = "0";
        _csImportDelimiter = ",";
        g_nFilterQTrace = 1;
    }
    void TearDown() override {
        for (const ResourceModule* m : {&VeltrinResources(), &VeltrinFrameResources()})
            RemoveResourceModule(m);
        _csLastFindText = "";
        _csLastGotoLine = "0";
        _csImportDelimiter = ",";
        g_nFilterQTrace = 1;
    }
    CString Setting(const char* entry) { return app.GetProfileString("Settings", entry, "<none>"); }

    static ModalSteps::Step SetText(int id, const char* text) {
        return [id, text](HWND dialog) { SetDlgItemText(dialog, id, text); };
    }
    static ModalSteps::Step Check(int id, UINT state) {
        return [id, state](HWND dialog) { CheckDlgButton(dialog, id, state); };
    }
    // Types a character into a control, as the keyboard's WM_CHAR does.
    static ModalSteps::Step Type(int id, char c) {
        return [id, c](HWND dialog) { SendMessage(GetDlgItem(dialog, id), WM_CHAR, (WPARAM)(unsigned char)c, 1); };
    }
    // Ends a dialog a failed step left open, so that the test reports instead of waiting.
    static ModalSteps::Step EndIfOpen(int itemId) {
        return [itemId](HWND dialog) {
            if (GetDlgItem(dialog, itemId))
                EndDialog(dialog, IDABORT);
        };
    }
    static bool OkEnabled(HWND dialog) { return IsWindowEnabled(GetDlgItem(dialog, IDOK)) != FALSE; }
    static CString Text(HWND dialog, int id) {
        char buffer[256] = {};
        GetDlgItemText(dialog, id, buffer, sizeof buffer);
        return buffer;
    }

    TempRegistry registry;
    CVeltrinApp app;
    MessageBoxRecorder boxes;
    ModalSteps steps;
};
}  // namespace

TEST_F(VeltrinDialogsTest, OptionsRefuseDigitsOutsideOneToSixAndStoreNothing) {
    for (const char* digits : {"0", "7", "", "x"}) {
        bool stayedOpen = false;
        COptionsDlg dlg;
        steps.Start({SetText(IDC_MIN_MILLISECONDS, digits), ModalSteps::ClickItem(IDOK),
                     [&](HWND dialog) {
                         stayedOpen = IsWindow(dialog) && GetFocus() == GetDlgItem(dialog, IDC_MIN_MILLISECONDS);
                     },
                     ModalSteps::ClickItem(IDCANCEL), EndIfOpen(IDC_MIN_MILLISECONDS)});
        EXPECT_EQ(dlg.DoModal(), IDCANCEL) << digits;
        EXPECT_TRUE(stayedOpen) << digits;
        for (const char* entry : {"MinMilliseconds", "StartItemizeOnOpen", "ImportDelimiter", "TreeViewUseSearchOption"})
            EXPECT_EQ(Setting(entry), CString("<none>")) << digits << " " << entry;
    }
    EXPECT_TRUE(boxes.Calls().empty());
}

TEST_F(VeltrinDialogsTest, OptionsShowTheStoredValuesAndStoreWhatIsSet) {
    app.WriteProfileInt("Settings", "MinMilliseconds", 3);
    app.WriteProfileInt("Settings", "EnableFilterQTrace", 0);
    app.WriteProfileInt("Settings", "TreeViewUseSearchOption", 0);
    app.WriteProfileString("Settings", "ImportDelimiter", ";");
    // The filter is on at start, whatever the stored value says, until the dialog is confirmed.
    EXPECT_EQ(g_nFilterQTrace, 1);
    CString shownDigits, shownDelimiter;
    UINT shownInternal = 0, shownSifter = 0, shownFilter = 0, shownLink = 0;
    COptionsDlg dlg;
    steps.Start({[&](HWND dialog) {
                     shownDigits = Text(dialog, IDC_MIN_MILLISECONDS);
                     shownDelimiter = Text(dialog, IDC_IMPORT_DELIMITER);
                     shownInternal = IsDlgButtonChecked(dialog, IDC_SEARCH_INTERNAL);
                     shownSifter = IsDlgButtonChecked(dialog, IDC_SEARCH_WITH_SIFTER);
                     shownFilter = IsDlgButtonChecked(dialog, IDC_FILTER_QTRACE);
                     shownLink = IsDlgButtonChecked(dialog, IDC_LINK_LOWER_TAB);
                 },
                 SetText(IDC_MIN_MILLISECONDS, "6"), SetText(IDC_IMPORT_DELIMITER, "T"),
                 Check(IDC_START_ITEMIZE_ON_OPEN, BST_CHECKED), Check(IDC_SEARCH_INTERNAL, 0),
                 Check(IDC_SEARCH_WITH_SIFTER, BST_CHECKED), ModalSteps::ClickItem(IDOK),
                 EndIfOpen(IDC_MIN_MILLISECONDS)});
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(shownDigits, CString("3"));
    EXPECT_EQ(shownDelimiter, CString(";"));
    EXPECT_EQ(shownInternal, (UINT)BST_CHECKED);
    EXPECT_EQ(shownSifter, 0u);
    EXPECT_EQ(shownFilter, 0u);
    EXPECT_EQ(shownLink, (UINT)BST_CHECKED);  // its default

    EXPECT_EQ(app.GetProfileInt("Settings", "MinMilliseconds", 0), 6u);
    EXPECT_EQ(app.GetProfileInt("Settings", "StartItemizeOnOpen", 0), 1u);
    EXPECT_EQ(app.GetProfileInt("Settings", "StartSqlSumRptOnT20", 0), 1u);
    EXPECT_EQ(app.GetProfileInt("Settings", "LinkLowerTabWithUpperTabOnActivate", 0), 1u);
    EXPECT_EQ(app.GetProfileInt("Settings", "EnableFilterQTrace", 9), 0u);
    EXPECT_EQ(g_nFilterQTrace, 0);
    // "T" is stored as it stands and means a tab.
    EXPECT_EQ(Setting("ImportDelimiter"), CString("T"));
    EXPECT_EQ(_csImportDelimiter, CString("\t"));
    EXPECT_EQ(app.GetProfileInt("Settings", "TreeViewUseSearchOption", 9), 1u);
}

TEST_F(VeltrinDialogsTest, OptionsRefuseALongDelimiterAfterTheChecksAreStored) {
    for (const char* delimiter : {"ab", ""}) {
        boxes.Clear();
        bool stayedOpen = false;
        COptionsDlg dlg;
        steps.Start({SetText(IDC_IMPORT_DELIMITER, delimiter), Check(IDC_LAUNCH_EXCEL_ON_EXPORT, BST_CHECKED),
                     ModalSteps::ClickItem(IDOK),
                     [&](HWND dialog) {
                         stayedOpen = IsWindow(dialog) && GetFocus() == GetDlgItem(dialog, IDC_IMPORT_DELIMITER);
                     },
                     ModalSteps::ClickItem(IDCANCEL), EndIfOpen(IDC_MIN_MILLISECONDS)});
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_TRUE(stayedOpen) << delimiter;
        ASSERT_EQ(boxes.Calls().size(), 1u) << delimiter;
        EXPECT_EQ(boxes.Calls()[0].text, CString("Delimiter can only be 1 character!"));
        EXPECT_EQ(boxes.Calls()[0].type & MB_ICONEXCLAMATION, (UINT)MB_ICONEXCLAMATION);
        EXPECT_EQ(app.GetProfileInt("Settings", "LaunchExcelOnExport", 0), 1u) << delimiter;
        EXPECT_EQ(app.GetProfileInt("Settings", "MinMilliseconds", 0), 4u) << delimiter;
        EXPECT_EQ(Setting("ImportDelimiter"), CString("<none>"));
        EXPECT_EQ(Setting("TreeViewUseSearchOption"), CString("<none>"));
        EXPECT_EQ(_csImportDelimiter, CString(","));
    }
}

TEST_F(VeltrinDialogsTest, FindOffersTheStoredOrLastTextAndEnablesOkOnlyWithText) {
    struct Case {
        const char* stored;  // "FindString", null: none
        const char* last;
        const char* shown;
    } cases[] = {{nullptr, "abc", "abc"}, {"select", "abc", "select"}, {nullptr, "", ""}};
    for (const Case& c : cases) {
        if (c.stored)
            app.WriteProfileString("Settings", "FindString", c.stored);
        _csLastFindText = c.last;
        CString shown;
        bool okAtOpen = false;
        CFindTextDlg dlg;
        steps.Start({[&](HWND dialog) {
                         shown = Text(dialog, IDC_FIND_TEXT);
                         okAtOpen = OkEnabled(dialog);
                     },
                     ModalSteps::ClickItem(IDCANCEL), EndIfOpen(IDC_FIND_TEXT)});
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_EQ(shown, CString(c.shown)) << c.shown;
        EXPECT_EQ(okAtOpen, *c.shown != 0) << c.shown;
        app.WriteProfileString("Settings", "FindString", nullptr);
    }

    // Emptying the text disables OK, typing enables it again; OK stores the text.
    _csLastFindText = "abc";
    bool okWhenEmpty = true, okWhenTyped = false;
    CFindTextDlg dlg;
    steps.Start({SetText(IDC_FIND_TEXT, ""), [&](HWND dialog) { okWhenEmpty = OkEnabled(dialog); },
                 Type(IDC_FIND_TEXT, 'q'), [&](HWND dialog) { okWhenTyped = OkEnabled(dialog); },
                 ModalSteps::ClickItem(IDOK), EndIfOpen(IDC_FIND_TEXT)});
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_FALSE(okWhenEmpty);
    EXPECT_TRUE(okWhenTyped);
    EXPECT_EQ(dlg.m_csFindText, CString("q"));
    EXPECT_EQ(Setting("FindString"), CString("q"));
}

TEST_F(VeltrinDialogsTest, GotoLineTakesDigitsOnlyAndEnablesOkOnlyWithText) {
    _csLastGotoLine = "12";
    CString shown, typed;
    bool okWhenEmpty = true;
    CGotoLineDlg dlg;
    steps.Start({[&](HWND dialog) { shown = Text(dialog, IDC_GOTO_LINE); }, SetText(IDC_GOTO_LINE, ""),
                 [&](HWND dialog) { okWhenEmpty = OkEnabled(dialog); }, Type(IDC_GOTO_LINE, 'a'),
                 Type(IDC_GOTO_LINE, '7'), Type(IDC_GOTO_LINE, '-'), Type(IDC_GOTO_LINE, '3'),
                 [&](HWND dialog) { typed = Text(dialog, IDC_GOTO_LINE); }, ModalSteps::ClickItem(IDOK),
                 EndIfOpen(IDC_GOTO_LINE)});
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(shown, CString("12"));
    EXPECT_FALSE(okWhenEmpty);
    EXPECT_EQ(typed, CString("73"));
    EXPECT_EQ(dlg.m_csLineNumber, CString("73"));
    // The caller keeps the number; the dialog leaves the shared text alone.
    EXPECT_EQ(_csLastGotoLine, CString("12"));
}
