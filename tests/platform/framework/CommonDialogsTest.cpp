// The file and print dialogs driven as a user drives them, over a fixture folder and stand-in CUPS tools.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/display/HeadlessDisplay.h"
#include "platform/framework/dialogs/FileDialog.h"
#include "platform/framework/dialogs/PrintDialog.h"
#include "platform/user/ComboBox.h"
#include "platform/user/CommonDialogs.h"
#include "platform/user/ListView.h"
#include "tests/support/Gui.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TempFolder.h"

namespace {
std::vector<std::string> Rows(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_FILE_LIST);
    std::vector<std::string> rows;
    int count = (int)SendMessage(list, LVM_GETITEMCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) {
        char text[256] = "";
        LVITEM item{};
        item.iSubItem = 0;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessage(list, LVM_GETITEMTEXT, (WPARAM)i, (LPARAM)&item);
        rows.push_back(text);
    }
    return rows;
}

ModalSteps::Step Type(int id, std::string text) {
    return [id, text](HWND dialog) { SetDlgItemText(dialog, id, text.c_str()); };
}

// Selects rows of the list as a click and Ctrl+clicks would.
ModalSteps::Step SelectRows(std::vector<int> rows) {
    return [rows](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_FILE_LIST);
        for (int row : rows) {
            LVITEM item{};
            item.stateMask = LVIS_SELECTED;
            item.state = LVIS_SELECTED;
            SendMessage(list, LVM_SETITEMSTATE, (WPARAM)row, (LPARAM)&item);
        }
    };
}

class FileDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        display = std::make_shared<HeadlessDisplay>();
        SetDisplayBackend(display);
        owner = CreateWindowEx(0, "Static", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 700, 500, nullptr,
                               nullptr, nullptr, nullptr);
        for (const char* name : {"QBroker_01.log", "qbroker-old.txt", "QServer.log", "notes", "QBROKER"})
            tmp.Write(name, "x");
        mkdir((tmp / "Archive").c_str(), 0755);
        tmp.Write("Archive/inner.log", "x");
    }
    void TearDown() override {
        DestroyWindow(owner);
        Pump();
        SetDisplayBackend(nullptr);
    }
    INT_PTR Run(CFileDialog& dialog, std::vector<ModalSteps::Step> steps) {
        dialog.m_ofn.lpstrInitialDir = tmp.Path().c_str();
        dialog.m_ofn.hwndOwner = owner;
        modal.Start(std::move(steps));
        return dialog.DoModal();
    }

    std::shared_ptr<HeadlessDisplay> display;
    ModalSteps modal;
    HWND owner = nullptr;
    TempFolder tmp{"filedialog"};
};

TEST_F(FileDialogTest, TheFilterListsOnlyMatchingNamesCaseBlindWithFoldersFirst) {
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY, "Brokers (*QBroker*.*)|*QBroker*.*|All (*.*)|*.*||");
    std::vector<std::string> shown, all;
    std::string shot;
    EXPECT_EQ(Run(dialog, {[&](HWND d) {
                               shown = Rows(d);
                               shot = WriteScreenshot(d, "file-dialog");
                           },
                           [&](HWND d) {
                               HWND types = GetDlgItem(d, IDC_FILE_TYPES);
                               SendMessage(types, CB_SETCURSEL, 1, 0);
                               SendMessage(d, WM_COMMAND, MAKEWPARAM(IDC_FILE_TYPES, CBN_SELCHANGE), (LPARAM)types);
                               all = Rows(d);
                           },
                           ModalSteps::Key(VK_ESCAPE)}),
              IDCANCEL);
    // Sorted without regard to case; "QBROKER" has no dot for the pattern's ".*".
    EXPECT_EQ(shown, (std::vector<std::string>{"..", "Archive/", "qbroker-old.txt", "QBroker_01.log"}));
    EXPECT_EQ(all.size(), 7u);
    EXPECT_NE(shot, "");
}

TEST_F(FileDialogTest, AMultiSelectionReturnsBothPaths) {
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST,
                       "Logs (*.log)|*.log||");
    // Rows: "..", "Archive/", "QBroker_01.log", "QServer.log".
    ASSERT_EQ(Run(dialog, {SelectRows({2, 3}), ModalSteps::ClickItem(IDOK)}), IDOK);
    std::vector<std::string> paths;
    for (POSITION pos = dialog.GetStartPosition(); pos;)
        paths.push_back(dialog.GetNextPathName(pos).GetString());
    EXPECT_EQ(paths, (std::vector<std::string>{tmp / "QBroker_01.log", tmp / "QServer.log"}));
}

TEST_F(FileDialogTest, TypedNamesOpenFoldersFilterOrChooseAFile) {
    CFileDialog dialog(TRUE, "log", nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, "All (*.*)|*.*||");
    std::vector<std::string> inArchive, filtered;
    ASSERT_EQ(Run(dialog, {Type(IDC_FILE_NAME, "Archive"), ModalSteps::ClickItem(IDOK),
                           [&](HWND d) { inArchive = Rows(d); }, Type(IDC_FILE_NAME, "../*.txt"),
                           ModalSteps::ClickItem(IDOK), [&](HWND d) { filtered = Rows(d); },
                           // The default extension completes a name without one.
                           Type(IDC_FILE_NAME, "QServer"), ModalSteps::ClickItem(IDOK)}),
              IDOK);
    EXPECT_EQ(inArchive, (std::vector<std::string>{"..", "inner.log"}));
    EXPECT_EQ(filtered, (std::vector<std::string>{"..", "Archive/", "qbroker-old.txt"}));
    EXPECT_EQ(dialog.GetPathName(), CString((tmp / "QServer.log").c_str()));
    EXPECT_EQ(dialog.GetFileExt(), CString("log"));
    EXPECT_EQ(dialog.GetFileTitle(), CString("QServer"));
}

TEST_F(FileDialogTest, AMissingFileIsRefusedWhenItMustExist) {
    MessageBoxRecorder boxes;
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST);
    EXPECT_EQ(Run(dialog, {Type(IDC_FILE_NAME, "missing.log"), ModalSteps::ClickItem(IDOK), ModalSteps::Key(VK_ESCAPE)}),
              IDCANCEL);
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].text, CString("missing.log\nFile not found.\nPlease verify the correct file name was given."));
}

TEST_F(FileDialogTest, SavingOverAFileAsksFirst) {
    struct Case {
        int answer;
        INT_PTR result;
        int asked;
    };
    for (Case c : {Case{IDNO, IDCANCEL, 1}, Case{IDYES, IDOK, 1}}) {
        MessageBoxRecorder boxes;
        boxes.ScriptAnswer(c.answer);
        CFileDialog dialog(FALSE, "log", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
        // After "No" the dialog stays open until Escape.
        EXPECT_EQ(Run(dialog, {Type(IDC_FILE_NAME, "QServer.log"), ModalSteps::ClickItem(IDOK),
                               ModalSteps::Key(VK_ESCAPE)}),
                  c.result);
        ASSERT_EQ((int)boxes.Calls().size(), c.asked);
        EXPECT_EQ(boxes.Calls()[0].text, CString((tmp / "QServer.log" + " already exists.\nDo you want to replace it?").c_str()));
        EXPECT_EQ(boxes.Calls()[0].type, (UINT)(MB_YESNO | MB_ICONEXCLAMATION));
        if (c.result == IDOK) {
            EXPECT_EQ(dialog.GetPathName(), CString((tmp / "QServer.log").c_str()));
        }
    }
    // A new name is saved without a question.
    MessageBoxRecorder boxes;
    CFileDialog dialog(FALSE, "log", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
    EXPECT_EQ(Run(dialog, {Type(IDC_FILE_NAME, "new"), ModalSteps::ClickItem(IDOK)}), IDOK);
    EXPECT_EQ(boxes.Calls().size(), 0u);
    EXPECT_EQ(dialog.GetPathName(), CString((tmp / "new.log").c_str()));
}

TEST_F(FileDialogTest, AResultTooLongForTheBufferFailsWithItsError) {
    char small[8] = "";
    CFileDialog dialog(TRUE);
    dialog.m_ofn.lpstrFile = small;
    dialog.m_ofn.nMaxFile = sizeof small;
    EXPECT_EQ(Run(dialog, {Type(IDC_FILE_NAME, "QServer.log"), ModalSteps::ClickItem(IDOK)}), IDCANCEL);
    EXPECT_EQ(CommDlgExtendedError(), (DWORD)FNERR_BUFFERTOOSMALL);
}

// ---- Print dialog

void WriteScript(const std::string& path, const std::string& body) {
    FILE* f = std::fopen(path.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fputs(("#!/bin/sh\n" + body).c_str(), f);
    std::fclose(f);
    chmod(path.c_str(), 0755);
}

class PrintDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        display = std::make_shared<HeadlessDisplay>();
        SetDisplayBackend(display);
        owner = CreateWindowEx(0, "Static", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 700, 500, nullptr,
                               nullptr, nullptr, nullptr);
        mkdir((tmp / "bin").c_str(), 0755);
        path.emplace("PATH", tmp / "bin");
        home.emplace("HOME", tmp.Path());
    }
    void TearDown() override {
        DestroyWindow(owner);
        Pump();
        SetDisplayBackend(nullptr);
    }
    void WithCups() {
        WriteScript(tmp / "bin/lpstat",
                    "case \"$1\" in -e) printf 'Office\\nLab\\n';; -d) echo 'no system default destination';; esac\n");
    }
    INT_PTR Run(CPrintDialog& dialog, std::vector<ModalSteps::Step> steps) {
        dialog.m_pd.hwndOwner = owner;
        modal.Start(std::move(steps));
        return dialog.DoModal();
    }
    std::vector<std::string> Names(HWND dialog) {
        HWND names = GetDlgItem(dialog, IDC_PRINT_NAME);
        std::vector<std::string> out;
        for (int i = 0; i < (int)SendMessage(names, CB_GETCOUNT, 0, 0); ++i) {
            char text[128] = "";
            SendMessage(names, CB_GETLBTEXT, i, (LPARAM)text);
            out.push_back(text);
        }
        return out;
    }

    std::shared_ptr<HeadlessDisplay> display;
    ModalSteps modal;
    HWND owner = nullptr;
    TempFolder tmp{"printdialog"};
    std::optional<ScopedEnv> path, home;
};

TEST_F(PrintDialogTest, WithoutCupsOnlyThePdfFileIsListed) {
    CPrintDialog dialog(TRUE);
    std::vector<std::string> names;
    ASSERT_EQ(Run(dialog, {[&](HWND d) { names = Names(d); }, ModalSteps::ClickItem(IDOK)}), IDOK);
    EXPECT_EQ(names, std::vector<std::string>{PDF_FILE_DESTINATION});
    EXPECT_EQ(dialog.GetDriverName(), CString("PDF"));
    EXPECT_EQ(dialog.GetPortName(), CString((tmp / "print.pdf").c_str()));
    GlobalFree(dialog.m_pd.hDevMode);
    GlobalFree(dialog.m_pd.hDevNames);
}

TEST_F(PrintDialogTest, SetupReturnsTheChoiceInBlocksAndReadsThemBack) {
    WithCups();
    CPrintDialog setup(TRUE, PD_NOSELECTION | PD_NOPAGENUMS | PD_USEDEVMODECOPIESANDCOLLATE | PD_HIDEPRINTTOFILE);
    std::vector<std::string> names;
    ASSERT_EQ(Run(setup, {[&](HWND d) {
                              names = Names(d);
                              SendDlgItemMessage(d, IDC_PRINT_NAME, CB_SETCURSEL, 1, 0);
                              SendDlgItemMessage(d, IDC_PRINT_PAPER, CB_SETCURSEL, 2, 0);
                          },
                          ModalSteps::ClickItem(IDC_PRINT_LANDSCAPE), ModalSteps::ClickItem(IDOK)}),
              IDOK);
    EXPECT_EQ(names, (std::vector<std::string>{"Office", "Lab", PDF_FILE_DESTINATION}));
    EXPECT_EQ(setup.GetDriverName(), CString("lp"));
    EXPECT_EQ(setup.GetDeviceName(), CString("Lab"));
    DEVMODE mode{};
    ASSERT_TRUE(setup.GetDevMode(mode));
    EXPECT_EQ(mode.dmSize, sizeof(DEVMODE));
    EXPECT_EQ(mode.dmOrientation, DMORIENT_LANDSCAPE);
    EXPECT_EQ(mode.dmPaperSize, DMPAPER_A4);
    EXPECT_STREQ(reinterpret_cast<const char*>(mode.dmDeviceName), "Lab");

    // The blocks given back to the dialog choose the same printer, paper and orientation.
    CPrintDialog again(TRUE);
    again.m_pd.hDevMode = setup.m_pd.hDevMode;
    again.m_pd.hDevNames = setup.m_pd.hDevNames;
    int name = -1, paper = -1;
    bool landscape = false;
    ASSERT_EQ(Run(again, {[&](HWND d) {
                              name = (int)SendDlgItemMessage(d, IDC_PRINT_NAME, CB_GETCURSEL, 0, 0);
                              paper = (int)SendDlgItemMessage(d, IDC_PRINT_PAPER, CB_GETCURSEL, 0, 0);
                              landscape = IsDlgButtonChecked(d, IDC_PRINT_LANDSCAPE) == BST_CHECKED;
                          },
                          ModalSteps::Key(VK_ESCAPE)}),
              IDCANCEL);
    EXPECT_EQ(name, 1);
    EXPECT_EQ(paper, 2);
    EXPECT_TRUE(landscape);
    // Cancelled: the blocks are left as they were.
    EXPECT_EQ(again.m_pd.hDevMode, setup.m_pd.hDevMode);
    GlobalFree(again.m_pd.hDevMode);
    GlobalFree(again.m_pd.hDevNames);
}

TEST_F(PrintDialogTest, BlocksTooShortOrDamagedReadAsNoPrinterChosen) {
    WithCups();
    HGLOBAL goodNames = CreateDevNames("lp", "Lab", "", FALSE);
    DEVMODE full{};
    InitDevMode(full, "Lab");
    full.dmOrientation = DMORIENT_LANDSCAPE;
    auto block = [](const void* bytes, size_t size) {
        HGLOBAL h = GlobalAlloc(GHND, size);
        std::memcpy(GlobalLock(h), bytes, size);
        GlobalUnlock(h);
        return h;
    };
    DEVMODE shortSize = full;
    shortSize.dmSize = 68;  // an older, shorter layout
    const BYTE badNames[] = {8, 0, 200, 0, 9, 0, 0, 0, 'l', 'p', 0};  // the device offset is past the end
    struct Case {
        const char* what;
        HGLOBAL mode, names;
    } cases[] = {
        {"a device mode cut short", block(&full, 60), CreateDevNames("lp", "Lab", "", FALSE)},
        {"a device mode saying it is short", block(&shortSize, sizeof shortSize), CreateDevNames("lp", "Lab", "", FALSE)},
        {"names pointing past their block", block(&full, sizeof full), block(badNames, sizeof badNames)},
        {"names shorter than their header", block(&full, sizeof full), block(badNames, 4)},
    };
    GlobalFree(goodNames);
    for (Case& c : cases) {
        std::string chosen = "unset";
        bool landscape = true;
        CPrintDialog dialog(TRUE);
        dialog.m_pd.hDevMode = c.mode;
        dialog.m_pd.hDevNames = c.names;
        Run(dialog, {[&](HWND d) {
                         chosen = Names(d)[(size_t)SendDlgItemMessage(d, IDC_PRINT_NAME, CB_GETCURSEL, 0, 0)];
                         landscape = IsDlgButtonChecked(d, IDC_PRINT_LANDSCAPE) == BST_CHECKED;
                     },
                     ModalSteps::Key(VK_ESCAPE)});
        // The first destination and portrait, not the stored landscape "Lab".
        EXPECT_EQ(chosen, "Office") << c.what;
        EXPECT_FALSE(landscape) << c.what;
        DEVMODE read{};
        EXPECT_FALSE(dialog.GetDevMode(read) && dialog.GetDeviceName() == "Lab") << c.what;
        GlobalFree(c.mode);
        GlobalFree(c.names);
    }
}

TEST_F(PrintDialogTest, ThePrintDialogChecksThePageRangeAndCopies) {
    CPrintDialog dialog(FALSE, PD_ALLPAGES | PD_NOSELECTION);
    dialog.m_pd.nMinPage = 1;
    dialog.m_pd.nMaxPage = 3;
    ASSERT_EQ(Run(dialog, {ModalSteps::ClickItem(IDC_PRINT_PAGES), Type(IDC_PRINT_FROM, "2"), Type(IDC_PRINT_TO, "4"),
                           ModalSteps::ClickItem(IDOK),  // refused: page 4 is past the last
                           Type(IDC_PRINT_TO, "3"), Type(IDC_PRINT_COPIES, "2"), ModalSteps::ClickItem(IDOK)}),
              IDOK);
    EXPECT_TRUE(dialog.PrintRange());
    EXPECT_EQ(dialog.GetFromPage(), 2);
    EXPECT_EQ(dialog.GetToPage(), 3);
    EXPECT_EQ(dialog.GetCopies(), 2);
    ASSERT_NE(dialog.m_pd.hDC, nullptr);
    EXPECT_TRUE(IsPrinterDC(dialog.m_pd.hDC));
    DeleteDC(dialog.m_pd.hDC);
    GlobalFree(dialog.m_pd.hDevMode);
    GlobalFree(dialog.m_pd.hDevNames);
}
}  // namespace
