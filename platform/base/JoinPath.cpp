#include "platform/base/JoinPath.h"

#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

CString JoinPath(LPCTSTR folder, LPCTSTR name) {
    CString result(folder ? folder : "");
    if (result.IsEmpty())
        return CString(name ? name : "");
    if (result[result.GetLength() - 1] != '/')
        result += '/';
    result += name ? name : "";
    return result;
}

CString AbsolutePath(LPCTSTR path) {
    std::string in = path ? path : "";
    if (in.empty())
        return CString();
    if (in[0] != '/') {
        char cwd[4096];
        if (!::getcwd(cwd, sizeof cwd))
            return CString(in.c_str());
        in = std::string(JoinPath(cwd, in.c_str()).GetString());
    }
    std::vector<std::string> parts;
    size_t at = 0;
    while (at <= in.size()) {
        size_t slash = in.find('/', at);
        if (slash == std::string::npos)
            slash = in.size();
        std::string part = in.substr(at, slash - at);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        at = slash + 1;
    }
    std::string out;
    for (const std::string& part : parts)
        out += "/" + part;
    // A trailing slash names a folder: it stays.
    if (out.empty() || in.back() == '/')
        out += "/";
    return CString(out.c_str());
}
