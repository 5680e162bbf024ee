#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/print/PrintEngine.h"
#include "platform/base/MessageBox.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TempFolder.h"

namespace {
std::string Script(const PrintEngine& engine) {
    return ReadFileBytes(engine.GetPathName().GetString());
}

std::vector<PrintObject> Page(PrintEngine& engine) {
    std::vector<PrintObject> objects;
    for (POSITION pos = engine.m_Script.GetHeadPosition(); pos;)
        objects.push_back(*static_cast<PrintObject*>(engine.m_Script.GetNext(pos)));
    return objects;
}

bool Exists(const CString& path) {
    return std::ifstream(path.GetString()).good();
}
}  // namespace

TEST(PrintEngineTest, TextIsQuotedOnOneLineAndReadsBack) {
    PrintEngine engine;
    ASSERT_TRUE(engine.IsOpen());
    engine.Start();
    engine.AddFont("normal", "Arial", 8, 0);
    engine.SetCurrentFont("normal");
    engine.Text(1, 2, "a \"q\", c\r\nd", "normal");
    engine.SetTextAlignment(3);
    engine.Text(0.5, 0.25, "x", "DEFAULT");
    engine.TextRect(0.1, 0.2, 1.5, 0.35, "in, rect", "normal10");
    engine.Line(0.1, 0.2, 7.9, 0.2);
    engine.End();
    EXPECT_EQ(Script(engine),
              "<START>\n<FONT><normal,Arial,8,0>\n\n<Page1>\n"
              "<Text,1.000000,2.000000,0,0,\"a \"\"q\"\", c  d\",normal,1>\n"
              "<Text,0.500000,0.250000,0,0,\"x\",normal,3>\n"
              "<TextRect,0.100000,0.200000,1.500000,0.350000,\"in, rect\",normal10>\n"
              "<Line,0.100000,0.200000,7.900000,0.200000>\n\n<END>");

    engine.LoadPage(1);
    auto objects = Page(engine);
    ASSERT_EQ(objects.size(), 4u);
    EXPECT_EQ(objects[0].m_nType, PrintObject::kText);
    EXPECT_EQ(objects[0].m_csText, "a \"q\", c  d");
    EXPECT_EQ(objects[0].m_csFont, "normal");
    EXPECT_EQ(objects[0].m_nValue, 1);
    EXPECT_DOUBLE_EQ(objects[0].m_dX1, 1.0);
    EXPECT_DOUBLE_EQ(objects[0].m_dY1, 2.0);
    EXPECT_EQ(objects[1].m_nValue, 3);
    EXPECT_EQ(objects[2].m_nType, PrintObject::kTextRect);
    EXPECT_EQ(objects[2].m_csText, "in, rect");
    EXPECT_DOUBLE_EQ(objects[2].m_dX2, 1.5);
    EXPECT_EQ(objects[3].m_nType, PrintObject::kLine);
    EXPECT_DOUBLE_EQ(objects[3].m_dX2, 7.9);
    EXPECT_EQ(engine.GetCurrentFont(), "DEFAULT");
}

TEST(PrintEngineTest, PagesLoadOneAtATimeAndAMissingPageLeavesTheLoadedOne) {
    PrintEngine engine;
    engine.Start();
    for (int page = 1; page <= 3; ++page) {
        if (page > 1)
            engine.NewPage();
        for (int i = 0; i < page; ++i)
            engine.Line(page, i, page, i);
    }
    engine.End();
    std::string script = Script(engine);
    EXPECT_EQ(script.substr(script.size() - 7), "\n\n<END>");
    EXPECT_EQ(engine.GetPageCount(), 3);

    for (int page : {2, 3, 1}) {
        engine.LoadPage(page);
        auto objects = Page(engine);
        ASSERT_EQ((int)objects.size(), page);
        EXPECT_DOUBLE_EQ(objects[0].m_dX1, page);
    }
    engine.LoadPage(4);
    EXPECT_EQ(Page(engine).size(), 1u);
}

// Markers and the end are whole lines only; a text holding one, or a long text of quotes, stays one object.
TEST(PrintEngineTest, TextsHoldingMarkersOrManyQuotesStayOneObject) {
    const std::string quotes(1023, '"');
    const struct {
        std::string text;
        std::string readBack;
    } cases[] = {{"see <Page3> here", "see <Page3> here"},
                 {"<Page2>", "<Page2>"},
                 {"\n<END>", " <END>"},
                 {quotes, quotes},
                 {quotes + "cut", quotes}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 20));
        PrintEngine engine;
        engine.Start();
        engine.Text(0, 0, c.text.c_str(), "DEFAULT");
        engine.Line(1, 1, 2, 2);
        engine.NewPage();
        engine.Line(3, 3, 4, 4);
        engine.End();
        engine.LoadPage(1);
        auto objects = Page(engine);
        ASSERT_EQ(objects.size(), 2u);
        EXPECT_EQ(std::string(objects[0].m_csText.GetString()), c.readBack);
        EXPECT_EQ(objects[1].m_nType, PrintObject::kLine);
        engine.LoadPage(2);
        ASSERT_EQ(Page(engine).size(), 1u);
        EXPECT_DOUBLE_EQ(Page(engine)[0].m_dX1, 3.0);
    }
}

TEST(PrintEngineTest, FontsComeBackWithTheirStyles) {
    PrintEngine engine;
    engine.Start();
    engine.AddFont("b", "Arial", 72, 201);
    engine.AddFont("i", "Arial", 36, 202);
    engine.AddFont("u", "Arial", 10, 204);
    engine.AddFont("p", "Arial", 10, 203);
    engine.End();
    engine.LoadFonts();
    const struct {
        const char* name;
        int height, weight;
        bool italic, underline;
    } cases[] = {{"b", 1000, 700, false, false},
                 {"i", 500, 400, true, false},
                 {"u", 138, 400, false, true},
                 {"p", 138, 400, false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CFont* font = engine.FindFont(c.name);
        ASSERT_NE(font, nullptr);
        LOGFONT lf{};
        ASSERT_TRUE(font->GetLogFont(&lf));
        EXPECT_EQ(lf.lfHeight, c.height);
        EXPECT_EQ(lf.lfWeight, c.weight);
        EXPECT_EQ(lf.lfItalic != 0, c.italic);
        EXPECT_EQ(lf.lfUnderline != 0, c.underline);
        EXPECT_STREQ(lf.lfFaceName, "Arial");
    }
    EXPECT_EQ(engine.FindFont("B"), nullptr);
    EXPECT_EQ(engine.FindFont("DEFAULT"), nullptr);
}

TEST(PrintEngineTest, EachEngineHasItsOwnFileGoneWithIt) {
    TempFolder folder;
    ScopedEnv tmp("TMPDIR", folder.Path().c_str());
    CString first, second;
    {
        PrintEngine a, b;
        first = a.GetPathName();
        second = b.GetPathName();
        EXPECT_NE(first, second);
        EXPECT_EQ(std::string(first.GetString()).rfind(folder.Path() + "/", 0), 0u);
        a.Start();
        a.Text(0, 0, "a", "DEFAULT");
        a.End();
        b.Start();
        b.End();
        EXPECT_NE(Script(a), Script(b));
    }
    EXPECT_FALSE(Exists(first));
    EXPECT_FALSE(Exists(second));
}

TEST(PrintEngineTest, AScriptFileThatCannotBeMadeIsReportedAndNothingIsWritten) {
    ScopedEnv tmp("TMPDIR", "/nonexistent-folder/for/scripts");
    MessageBoxRecorder recorder;
    PrintEngine engine;
    EXPECT_FALSE(engine.IsOpen());
    ASSERT_EQ(recorder.Calls().size(), 1u);
    EXPECT_NE(recorder.Calls()[0].text.Find("/nonexistent-folder/for/scripts"), -1);
    engine.Start();
    engine.Text(0, 0, "a", "DEFAULT");
    engine.End();
    engine.LoadFonts();
    engine.LoadPage(1);
    EXPECT_EQ(engine.GetPathName(), "");
    EXPECT_EQ(recorder.Calls().size(), 1u);
}

// Numbers are written and read in the C locale whatever the process's locale says.
TEST(PrintEngineTest, NumbersRoundTripUnderACommaLocale) {
    std::string locales = std::string(VELTRIN_BIN_DIR) + "/../locales";
    std::string command = "mkdir -p " + locales + " && { [ -d " + locales + "/de_DE.UTF-8 ] || localedef -i de_DE -f UTF-8 " +
                          locales + "/de_DE.UTF-8 >/dev/null 2>&1; }";
    ScopedEnv path("LOCPATH", locales.c_str());
    if (std::system(command.c_str()) != 0 || !std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "no de_DE locale can be made here";
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    PrintEngine engine;
    engine.Start();
    engine.AddFont("normal", "Arial", 8, 0);
    engine.Line(1.5, 0.25, 7.875, 9.75);
    engine.End();
    engine.LoadPage(1);
    engine.LoadFonts();
    std::setlocale(LC_ALL, "C");
    EXPECT_NE(Script(engine).find("<Line,1.500000,0.250000,7.875000,9.750000>"), std::string::npos);
    auto objects = Page(engine);
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_DOUBLE_EQ(objects[0].m_dX1, 1.5);
    EXPECT_DOUBLE_EQ(objects[0].m_dY2, 9.75);
    EXPECT_NE(engine.FindFont("normal"), nullptr);
}
