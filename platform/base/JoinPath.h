// Joins a folder and a name with one '/': the one place where "%s\%s" of a folder and a file becomes a
// Linux path. An empty folder leaves the name as it is.
#pragma once

#include "platform/base/String.h"

CString JoinPath(LPCTSTR folder, LPCTSTR name);
