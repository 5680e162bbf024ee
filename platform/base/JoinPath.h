// Joins a folder and a name with one '/': the one place where "%s\%s" of a folder and a file becomes a
// Linux path. An empty folder leaves the name as it is.
#pragma once

#include "platform/base/String.h"

CString JoinPath(LPCTSTR folder, LPCTSTR name);

// A path made absolute against the working folder, its "." and ".." parts and repeated slashes resolved by
// name (links are not followed), as the framework's full path of a file. An empty path stays empty.
CString AbsolutePath(LPCTSTR path);
