// Windows command lines: one text that the starting program splits into arguments by the C run-time's
// rules, so a line means the same here as it does to the programs that wrote it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Splits a command line into arguments.
// - Blanks and tabs separate arguments; leading blanks before the program name are skipped.
// - The program name (first argument) ends at a blank or tab outside double quotes; each double quote
//   toggles quoting and is dropped; backslashes are ordinary characters.
// - In the other arguments double quotes group and are dropped; 2n backslashes before a quote give n
//   backslashes and the quote toggles; 2n+1 backslashes before a quote give n backslashes and a literal
//   quote; backslashes not before a quote are literal; "" inside a quoted part gives a literal quote and
//   the part stays quoted.
// An empty or blank line gives no arguments.
std::vector<std::string> SplitCommandLine(std::string_view line);

// One argument (not the program name) written so that SplitCommandLine gives it back exactly: quoted
// when it holds a blank, a tab or a double quote or is empty; inside the quotes every double quote is
// escaped and the backslashes before it, or before the closing quote, are doubled. Any byte string is
// safe: a path or a text put into a command line through this stays one argument.
std::string QuoteArgument(std::string_view arg);

// The inverse: a command line whose split gives back the arguments. A program name cannot hold a
// double quote (the rules have no escape for it there); one that does is written as it is.
std::string BuildCommandLine(const std::vector<std::string>& args);
