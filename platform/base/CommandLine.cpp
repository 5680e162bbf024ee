#include "platform/base/CommandLine.h"

namespace {
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view line) {
    std::vector<std::string> args;
    size_t pos = 0;
    const size_t n = line.size();
    while (pos < n && IsBlank(line[pos]))
        ++pos;
    if (pos == n)
        return args;

    // The program name: quotes toggle, backslashes are plain.
    std::string program;
    bool quoted = false;
    for (; pos < n && (quoted || !IsBlank(line[pos])); ++pos) {
        if (line[pos] == '"')
            quoted = !quoted;
        else
            program += line[pos];
    }
    args.push_back(std::move(program));

    for (;;) {
        while (pos < n && IsBlank(line[pos]))
            ++pos;
        if (pos == n)
            break;
        std::string arg;
        quoted = false;
        while (pos < n) {
            size_t slashes = 0;
            while (pos < n && line[pos] == '\\') {
                ++slashes;
                ++pos;
            }
            if (pos < n && line[pos] == '"') {
                arg.append(slashes / 2, '\\');
                if (slashes % 2 == 1) {
                    arg += '"';
                    ++pos;
                } else if (quoted && pos + 1 < n && line[pos + 1] == '"') {
                    arg += '"';
                    pos += 2;
                } else {
                    quoted = !quoted;
                    ++pos;
                }
                continue;
            }
            arg.append(slashes, '\\');
            if (pos == n || (!quoted && IsBlank(line[pos])))
                break;
            arg += line[pos++];
        }
        args.push_back(std::move(arg));
    }
    return args;
}

std::string QuoteArgument(std::string_view arg) {
    if (!arg.empty() && arg.find_first_of(" \t\"") == std::string_view::npos)
        return std::string(arg);
    std::string out = "\"";
    size_t slashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++slashes;
            continue;
        }
        // Backslashes before a quote are doubled and the quote escaped; others stay as they are.
        out.append(c == '"' ? slashes * 2 + 1 : slashes, '\\');
        slashes = 0;
        out += c;
    }
    // Backslashes before the closing quote are doubled so that they do not escape it.
    out.append(slashes * 2, '\\');
    out += '"';
    return out;
}

std::string BuildCommandLine(const std::vector<std::string>& args) {
    std::string line;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (i > 0) {
            line += ' ';
            line += QuoteArgument(arg);
        } else if (!arg.empty() && arg.find_first_of(" \t") == std::string::npos) {
            line += arg;
        } else {
            line += '"' + arg + '"';
        }
    }
    return line;
}
