#include "analysis/SqlFormat.h"

#include <string>
#include <string_view>

namespace {
bool BreaksBefore(std::string_view word, int number) {
    if (word == "SELECT")
        return number != 1;
    if (word.find("VALUES(") != std::string_view::npos)
        return true;
    for (std::string_view keyword : {"VALUES", "SET", "FROM", "WHERE", "AND", "GROUP", "HAVING", "ORDER"})
        if (word == keyword)
            return true;
    return false;
}
}  // namespace

bool FormatSqlStatement(CString& statement) {
    FormatSqlText(statement);
    return true;
}

void FormatSqlText(CString& statement) {
    // Built apart and assigned at the end, so the statement stays whole until the result is ready.
    const std::string_view text = statement.str();
    std::string result;
    result.reserve(text.size() + text.size() / 8 + 2);
    int number = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t first = text.find_first_not_of(' ', pos);
        if (first == std::string_view::npos)
            break;
        size_t end = text.find(' ', first);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view word = text.substr(first, end - first);
        if (BreaksBefore(word, ++number))
            result += "\r\n";
        result += word;
        result += ' ';
        pos = end;
    }
    statement = CString(std::move(result));
}
