#include "platform/base/JoinPath.h"

#include <cstring>

CString JoinPath(LPCTSTR folder, LPCTSTR name) {
    CString result(folder ? folder : "");
    if (result.IsEmpty())
        return CString(name ? name : "");
    if (result[result.GetLength() - 1] != '/')
        result += '/';
    result += name ? name : "";
    return result;
}
