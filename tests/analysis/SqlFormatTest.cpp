#include <gtest/gtest.h>

#include <string>

#include "analysis/SqlFormat.h"

TEST(SqlFormat, BreaksBeforeTheMainKeywords) {
    struct Case {
        const char* what;
        std::string in, out;
    } cases[] = {
        {"a leading SELECT stays; a second SELECT word starts a line",
         "SELECT A FROM T WHERE B IN ( SELECT C FROM U )",
         "SELECT A \r\nFROM T \r\nWHERE B IN ( \r\nSELECT C \r\nFROM U ) "},
        {"VALUES glued to its list breaks before the whole word", "INSERT INTO T (A,B) VALUES(1,2)",
         "INSERT INTO T (A,B) \r\nVALUES(1,2) "},
        {"VALUES( inside another word", "INSERT INTO T(A)VALUES(1)", "INSERT INTO \r\nT(A)VALUES(1) "},
        {"VALUES as a word of its own", "INSERT INTO T VALUES (1)", "INSERT INTO T \r\nVALUES (1) "},
        {"GROUP BY, HAVING and ORDER BY keep BY on their line",
         "SELECT A, COUNT(*) FROM T GROUP BY A HAVING COUNT(*) > 1 ORDER BY A",
         "SELECT A, COUNT(*) \r\nFROM T \r\nGROUP BY A \r\nHAVING COUNT(*) > 1 \r\nORDER BY A "},
        {"UPDATE ... SET ... WHERE ... AND; OR never breaks",
         "UPDATE T SET A = 1 WHERE B = 2 AND C = 3 OR D = 4",
         "UPDATE T \r\nSET A = 1 \r\nWHERE B = 2 \r\nAND C = 3 OR D = 4 "},
        {"JOIN, ON, INTO, DELETE and INSERT never break", "DELETE FROM T JOIN U ON X INTO INSERT",
         "DELETE \r\nFROM T JOIN U ON X INTO INSERT "},
        {"case and glued characters hide a keyword", "select a from t WHERE(x) ,FROM AND,",
         "select a from t WHERE(x) ,FROM AND, "},
        {"runs of blanks are one separator", "  SELECT   A    FROM  T  ", "SELECT A \r\nFROM T "},
        {"one word", "COMMIT", "COMMIT "},
        {"a first word that is another keyword starts with a line break", "FROM T", "\r\nFROM T "},
        {"a first word holding VALUES(", "VALUES(1)", "\r\nVALUES(1) "},
        {"tabs and line ends stay inside words", "SELECT\tA FROM\r\nT", "SELECT\tA FROM\r\nT "},
        {"empty", "", ""},
        {"all blanks", "    ", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CString statement(c.in);
        EXPECT_TRUE(FormatSqlStatement(statement));
        EXPECT_EQ(statement.str(), c.out);
    }
}

TEST(SqlFormat, WorksOnTheCallersCopyOnly) {
    const CString shown("SELECT A FROM T");
    CString copy = shown;
    FormatSqlText(copy);
    EXPECT_EQ(copy, "SELECT A \r\nFROM T ");
    EXPECT_EQ(shown, "SELECT A FROM T");
}
