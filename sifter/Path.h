// CPath: a file path (optionally followed by program arguments) taken apart into folder, title and
// extension, with the folder's parts and the parsed arguments; rebuilds full paths and reads a file's
// size and times. Paths use '/'; a backslash is an ordinary character of a name; there are no drives.
#pragma once

#include <vector>

#include "platform/base/File.h"
#include "platform/base/String.h"
#include "platform/base/Time.h"

// A copy of the text with '/' appended, unless it is empty or already ends in '/'. The forward flag
// is kept for callers that choose a separator: both choices give '/'.
CString AppendPathSeparator(const CString& text, BOOL forward = FALSE);

class CPath {
public:
    // One parsed argument: switch character ('/' or '-'), name and value.
    class CArgument {
    public:
        // Takes a name as typed ("-out"): every '/' goes (switch '/'), then every '-' (switch '-'),
        // then every blank.
        void SetName(const CString& name);

        char m_cSwitch = '/';
        CString m_sName;
        CString m_sValue;
    };

    explicit CPath(LPCTSTR path = "", BOOL folderOnly = FALSE, BOOL withArguments = FALSE);
    virtual ~CPath() = default;
    CPath(const CPath&) = default;
    CPath& operator=(const CPath&) = default;
    // Parses the new text, with both flags clear.
    CPath& operator=(LPCTSTR path);

    void Parse(LPCTSTR path, BOOL folderOnly = FALSE, BOOL withArguments = FALSE);

    // Folder, title and extension; the pointer stays valid until the next call.
    LPCTSTR GetPath();
    // The given text when asked, else folder + file name; with arguments, a blank and the arguments.
    CString GetFullPath(BOOL withArguments = FALSE, BOOL givenText = FALSE);
    CString GetDriveAndFolder() const { return m_sDrive + m_sFolder; }
    CString GetDrive() const { return m_sDrive; }
    CString GetTitle() const { return m_sTitle; }
    CString GetExtension() const { return m_sExtension; }
    CString GetFileName() const;
    CString GetExtensionWithDot() const;
    // Below 0 the whole folder; past the last part an empty text.
    CString GetFolderPart(int index);
    int GetFolderPartCount();

    BOOL IsRelative() const { return m_bRelative; }
    // TRUE when the path is anchored at the root ('/'); there are no drive letters.
    BOOL HasDriveAndRoot() const { return !m_bRelative && !m_sFolder.IsEmpty() && m_sFolder[0] == '/'; }
    BOOL HasTitle() const { return !m_sTitle.IsEmpty(); }

    int GetArgumentCount();
    // Below 0 the argument text; else the index-th argument's name (name flag) or value; empty past the
    // last.
    CString GetArgument(int index, BOOL name = FALSE);

    // Reads size and times of the file (not a folder); FALSE with zeros when it cannot be read.
    BOOL GetFileInfo();
    BOOL GetFileSize(ULONGLONG& size);
    // which: 0 creation, 2 last write, any other last access.
    BOOL GetFileTime(CTime& time, int which);

private:
    void ParseFolderParts();
    void ParseArguments();

    CString m_sGiven;
    CString m_sDrive;  // always empty: kept so that full paths read as drive + folder + name
    std::vector<CString> m_aFolderParts;
    CString m_sFolder;
    CString m_sTitle;
    CString m_sExtension;
    CString m_sArguments;
    std::vector<CArgument> m_aArguments;
    BOOL m_bRelative = FALSE;
    CFileStatus m_fileInfo;
    CString m_sPath;
};
