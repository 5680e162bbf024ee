// What the stand-in viewers share: their arguments, the line that holds a text, and starting the
// user's editor on a file.
#pragma once

#include <string>
#include <vector>

struct StandinArgs {
    std::string file;
    long gotoLine = 0;   // GOTOLINE=n; 0 when not given
    std::string search;  // SEARCH=t or SEARCH_ETX=t; blanks and the words after it belong to it
    bool hasSearch = false;
    std::string error;  // set when an argument is not understood
};

// Reads the arguments after the program name. `allowGoto` admits GOTOLINE= (the editor only).
StandinArgs ParseStandinArgs(const std::vector<std::string>& args, bool allowGoto, bool allowSearchEtx);

// The 1-based number of the first line that holds one of the text's terms ("a && b" and "a || b" give
// two terms), ASCII case-blind; 0 when none does or the file cannot be read.
long FindLineOf(const std::string& file, const std::string& text);

// Starts $VISUAL, else $EDITOR (with "+line" when a line is given), else xdg-open on the file, without a
// shell; waits for the editor. When none of them opens the file, a message box captioned `program`
// says which were tried, and the result is 1. Returns the exit code to end with; `byOpener` tells
// whether xdg-open took the file (it may return before the program it starts has read it).
int OpenInEditor(const std::string& program, const std::string& file, long line, bool* byOpener = nullptr);

// Message boxes appear as dialogs when the program runs on a desktop (standard error otherwise).
void ShowMessagesOnTheDesktop();
