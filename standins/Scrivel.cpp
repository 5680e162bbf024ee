// Scrivel FILE [GOTOLINE=n | SEARCH=t | SEARCH_ETX=t]: opens the file in the user's editor at the line
// given, or at the first line that holds the text.
#include <cstdio>

#include "platform/base/CommandLine.h"
#include "platform/base/Process.h"
#include "standins/StandinArgs.h"

int main(int argc, char** argv) {
    // A program of ours hands over its exact Windows command line; read it back the same way.
    std::vector<std::string> args = SplitCommandLine(GetCommandLine());
    if (args.empty())
        for (int i = 0; i < argc; ++i)
            args.push_back(argv[i]);
    args.erase(args.begin());
    StandinArgs parsed = ParseStandinArgs(args, true, true);
    if (!parsed.error.empty()) {
        std::fprintf(stderr,
                     "Scrivel: %s\nusage: Scrivel FILE [GOTOLINE=n | SEARCH=text | SEARCH_ETX=text]\n",
                     parsed.error.c_str());
        return 2;
    }
    long line = parsed.gotoLine;
    if (parsed.hasSearch)
        line = FindLineOf(parsed.file, parsed.search);
    ShowMessagesOnTheDesktop();
    return OpenInEditor("Scrivel", parsed.file, line);
}
