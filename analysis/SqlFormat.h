// The SQL pretty-printer behind the view's statement display: breaks a statement into lines in front
// of its main keywords. Plain functions; no state is kept between calls.
#pragma once

#include "platform/base/String.h"

// Formats the statement with FormatSqlText; always true.
bool FormatSqlStatement(CString& statement);

// Rewrites the statement as its words (split at blanks only, runs of blanks counting as one), each
// followed by one blank, with "\r\n" in front of every "SELECT" but the first word, every word holding
// "VALUES(", and every "VALUES", "SET", "FROM", "WHERE", "AND", "GROUP", "HAVING" and "ORDER"
// (exact case). An empty or all-blank statement becomes empty.
void FormatSqlText(CString& statement);
