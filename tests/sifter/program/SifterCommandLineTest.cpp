#include <gtest/gtest.h>

#include "sifter/program/SifterApp.h"
#include "sifter/program/SifterCommandLine.h"
#include "tests/platform/base/ProcessTestSupport.h"

using namespace process_test;

namespace {
SifterCommandLine ParseRaw(const char* raw) {
    SifterCommandLine line;
    line.Parse(SifterCommandLine::StripProgramName(raw));
    return line;
}
}  // namespace

TEST(SifterCommandLineTest, VeltrinsLineKeepsTheCaseOfEveryValue) {
    SifterCommandLine line = ParseRaw(
        "/opt/bin/Sifter BASEPATH=/Logs/Run A|FILEMASK=_FF_.lst|FINDTEXT=Timeout|SUBDIRS=N|EXECNOW=Y|");
    EXPECT_STREQ(line.m_sBasePath, "/Logs/Run A");
    EXPECT_STREQ(line.m_sFileMask, "_FF_.lst");
    EXPECT_STREQ(line.m_sFindText, "Timeout");
    EXPECT_TRUE(line.m_bMaskGiven);
    EXPECT_FALSE(line.m_bSubDirs);
    EXPECT_TRUE(line.m_bExecNow);
    EXPECT_FALSE(line.m_bUseDefViewer);
    EXPECT_TRUE(IsListFileMask(line.m_sFileMask));
}

TEST(SifterCommandLineTest, SeparatorKeysAndFlags) {
    const struct {
        const char* args;
        const char* base;
        const char* text;
        BOOL execNow, subDirs, maskGiven, useDefViewer;
    } cases[] = {
        // A ';' inside a value does not split a '|' line.
        {"BASEPATH=/logs|FINDTEXT=a;b", "/logs", "a;b", FALSE, TRUE, FALSE, FALSE},
        // Without '|', ';' separates.
        {"BASEPATH=/logs;FINDTEXT=x", "/logs", "x", FALSE, TRUE, FALSE, FALSE},
        // Keys are case-blind; only the first letter of a flag counts.
        {"basepath=/a|execnow=yes|usedefviewer=y", "/a", "", TRUE, TRUE, FALSE, TRUE},
        {"EXECNOW=1", "", "", FALSE, TRUE, FALSE, FALSE},
        {"EXECNOW=", "", "", FALSE, TRUE, FALSE, FALSE},
        // A key inside another value is not a key.
        {"FINDTEXT=xBASEPATH=/etc|EXECNOW=nope", "", "xBASEPATH=/etc", FALSE, TRUE, FALSE, FALSE},
        {"FILEMASK=*.log|SUBDIRS=no", "", "", FALSE, FALSE, TRUE, FALSE},
        // Blanks before a field are skipped; the value keeps everything up to the separator.
        {"BASEPATH=/x | FINDTEXT=error && timeout", "/x ", "error && timeout", FALSE, TRUE, FALSE, FALSE},
        {"", "", "", FALSE, TRUE, FALSE, FALSE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        SifterCommandLine line;
        line.Parse(c.args);
        EXPECT_STREQ(line.m_sBasePath, c.base);
        EXPECT_STREQ(line.m_sFindText, c.text);
        EXPECT_EQ(line.m_bExecNow, c.execNow);
        EXPECT_EQ(line.m_bSubDirs, c.subDirs);
        EXPECT_EQ(line.m_bMaskGiven, c.maskGiven);
        EXPECT_EQ(line.m_bUseDefViewer, c.useDefViewer);
    }
}

// The application reads a field under its own name: a key anywhere at a field's start, case-blind.
TEST(SifterCommandLineTest, ApplicationReadsOneValue) {
    CString value = "untouched";
    EXPECT_TRUE(CSifterApp::GetCommandLineValue("BASEPATH=/Logs|filemask=*.LOG", "FILEMASK=", '|', value));
    EXPECT_STREQ(value, "*.LOG");
    EXPECT_TRUE(CSifterApp::GetCommandLineValue("basepath=/Logs;X=1", "BASEPATH=", ';', value));
    EXPECT_STREQ(value, "/Logs");
    EXPECT_FALSE(CSifterApp::GetCommandLineValue("FINDTEXT=xBASEPATH=/etc", "BASEPATH=", '|', value));
}

TEST(SifterCommandLineTest, ProgramNameIsTakenOff) {
    EXPECT_STREQ(SifterCommandLine::StripProgramName("\"/my bin/sifter\" BASEPATH=/a"), "BASEPATH=/a");
    EXPECT_STREQ(SifterCommandLine::StripProgramName("  sifter   EXECNOW=Y"), "EXECNOW=Y");
    EXPECT_STREQ(SifterCommandLine::StripProgramName("sifter"), "");
    // The program name never counts as a field.
    SifterCommandLine line = ParseRaw("/BASEPATH=/x/sifter");
    EXPECT_STREQ(line.m_sBasePath, "");
}

TEST(SifterCommandLineTest, ListFileGivesItsFirstLine) {
    TempDir dir;
    WriteFile(dir / "_FF_.lst", "a.log,QServer 1.log,\nignored.log\n", 0644);
    CString masks, path;
    ASSERT_TRUE(ReadListFileMasks(dir.Path().c_str(), masks, path));
    EXPECT_STREQ(masks, "a.log,QServer 1.log,");
    EXPECT_EQ(std::string(path), dir / "_FF_.lst");

    // Without a base folder the file is looked for in the working folder.
    {
        ScopedChdir here(dir.Path());
        ASSERT_TRUE(ReadListFileMasks("", masks, path));
        EXPECT_STREQ(path, "_FF_.lst");
    }
    EXPECT_FALSE(ReadListFileMasks((dir / "missing").c_str(), masks, path));
    EXPECT_STREQ(masks, "");
}
