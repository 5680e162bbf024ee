#include "standins/StandinArgs.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/base/MessageBox.h"
#include "platform/display/DisplayFactory.h"
#include "platform/user/MessageBoxDialog.h"

extern char** environ;

namespace {
bool StartsWithNoCase(const std::string& s, const char* prefix) {
    size_t n = std::strlen(prefix);
    return s.size() >= n && strncasecmp(s.c_str(), prefix, n) == 0;
}

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = (char)(c - 'A' + 'a');
    return s;
}

std::string Trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos)
        return std::string();
    size_t e = s.find_last_not_of(" \t");
    std::string t = s.substr(b, e - b + 1);
    if (t.size() >= 2 && t.front() == '"' && t.back() == '"')
        t = t.substr(1, t.size() - 2);
    return t;
}

int Run(const std::vector<std::string>& argv) {
    std::vector<char*> raw;
    for (const std::string& a : argv)
        raw.push_back(const_cast<char*>(a.c_str()));
    raw.push_back(nullptr);
    pid_t pid;
    if (posix_spawnp(&pid, raw[0], nullptr, nullptr, raw.data(), environ) != 0)
        return -1;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}
}  // namespace

StandinArgs ParseStandinArgs(const std::vector<std::string>& args, bool allowGoto, bool allowSearchEtx) {
    StandinArgs result;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const char* key = nullptr;
        if (StartsWithNoCase(a, "SEARCH="))
            key = "SEARCH=";
        else if (allowSearchEtx && StartsWithNoCase(a, "SEARCH_ETX="))
            key = "SEARCH_ETX=";
        if (key) {
            // The text is handed over unquoted: the words after it are part of it.
            result.search = a.substr(std::strlen(key));
            for (++i; i < args.size(); ++i)
                result.search += " " + args[i];
            result.hasSearch = true;
            break;
        }
        if (allowGoto && StartsWithNoCase(a, "GOTOLINE=")) {
            char* end = nullptr;
            std::string value = a.substr(9);
            long line = std::strtol(value.c_str(), &end, 10);
            if (value.empty() || *end != '\0' || line < 0) {
                result.error = "bad line number: " + value;
                return result;
            }
            result.gotoLine = line;
        } else if (result.file.empty() && !a.empty() && a[0] != '-') {
            result.file = a;
        } else {
            result.error = "unexpected argument: " + a;
            return result;
        }
    }
    if (result.file.empty() && result.error.empty())
        result.error = "no file named";
    return result;
}

long FindLineOf(const std::string& file, const std::string& text) {
    std::vector<std::string> terms;
    std::string rest = text;
    for (const char* op : {"&&", "||"}) {
        size_t at = rest.find(op);
        if (at != std::string::npos) {
            terms.push_back(Lower(Trim(rest.substr(0, at))));
            rest = rest.substr(at + 2);
        }
    }
    terms.push_back(Lower(Trim(rest)));
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return 0;
    std::string line;
    for (long number = 1; std::getline(in, line); ++number) {
        std::string lower = Lower(line);
        for (const std::string& term : terms)
            if (!term.empty() && lower.find(term) != std::string::npos)
                return number;
    }
    return 0;
}

int OpenInEditor(const std::string& program, const std::string& file, long line, bool* byOpener) {
    if (byOpener)
        *byOpener = false;
    std::vector<std::string> tried;
    for (const char* var : {"VISUAL", "EDITOR"}) {
        const char* value = std::getenv(var);
        if (!value || !*value) {
            tried.push_back(std::string("$") + var + " is not set");
            continue;
        }
        // The variable may hold options ("code -w"): split at blanks, never through a shell.
        std::vector<std::string> argv;
        std::istringstream words(value);
        for (std::string w; words >> w;)
            argv.push_back(w);
        if (argv.empty()) {
            tried.push_back(std::string("$") + var + " is blank");
            continue;
        }
        if (line > 0)
            argv.push_back("+" + std::to_string(line));
        argv.push_back(file);
        int rc = Run(argv);
        if (rc >= 0)
            return rc;
        tried.push_back(std::string("$") + var + " (" + argv[0] + ") could not be started");
    }
    int rc = Run({"xdg-open", file});
    if (rc == 0) {
        if (byOpener)
            *byOpener = true;
        return 0;
    }
    tried.push_back(rc < 0 ? "xdg-open is not on PATH"
                           : "xdg-open found no program to open it (exit code " + std::to_string(rc) + ")");
    std::string text = "No editor could open\n" + file + "\n\nTried:";
    for (const std::string& t : tried)
        text += "\n- " + t;
    text += "\n\nSet VISUAL or EDITOR to an editor, or install xdg-utils.";
    std::fprintf(stderr, "%s: %s\n", program.c_str(), text.c_str());
    PlatformMessageBox(nullptr, text.c_str(), program.c_str(), MB_OK | MB_ICONEXCLAMATION);
    return 1;
}

void ShowMessagesOnTheDesktop() {
    // Without a desktop the message stays on standard error.
    if (DisplayNameFromEnvironment() == "sdl" && InitDisplayFromEnvironment() == "sdl")
        InstallMessageBoxDialogPresenter();
}
