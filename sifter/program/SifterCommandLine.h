// Sifter's command line: "KEY=value" fields separated by '|' (by ';' when the line holds no '|'), and
// the list file "_FF_.lst" whose first line names the files to look for.
#pragma once

#include "platform/base/String.h"

class SifterCommandLine {
public:
    // Reads the fields of a line that holds only the arguments (the program name already taken off).
    void Parse(const CString& arguments);

    // The arguments of a raw process command line: the program name (quoted or up to the first blank)
    // and the blanks after it are taken off.
    static CString StripProgramName(const CString& rawLine);
    // '|' when the line holds one, else ';' when it holds one, else '|'.
    static char SeparatorOf(const CString& line);
    // The value of the first field that starts with the key (case-blind; blanks before a field are
    // skipped), running to the next separator; the value keeps its case. FALSE when no field has it.
    static BOOL GetValue(const CString& line, LPCTSTR key, char separator, CString& value);

    CString m_sBasePath;
    CString m_sFileMask;
    CString m_sFindText;
    BOOL m_bUseDefViewer = FALSE;
    BOOL m_bExecNow = FALSE;
    BOOL m_bMaskGiven = FALSE;
    BOOL m_bSubDirs = TRUE;
};

// Whether a mask value names the list file.
BOOL IsListFileMask(const CString& mask);
// The masks of a list file: its first line (empty when the file is empty). FALSE when it cannot be
// opened; the path tried goes to `path`.
BOOL ReadListFileMasks(const CString& baseFolder, CString& masks, CString& path);
