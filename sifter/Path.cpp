#include "sifter/Path.h"

CString AppendPathSeparator(const CString& text, BOOL /*forward*/) {
    if (text.IsEmpty() || text[text.GetLength() - 1] == '/')
        return text;
    return text + '/';
}

void CPath::CArgument::SetName(const CString& name) {
    m_sName = name;
    if (m_sName.Remove('/') > 0)
        m_cSwitch = '/';
    if (m_sName.Remove('-') > 0)
        m_cSwitch = '-';
    m_sName.Remove(' ');
}

CPath::CPath(LPCTSTR path, BOOL folderOnly, BOOL withArguments) {
    Parse(path, folderOnly, withArguments);
}

CPath& CPath::operator=(LPCTSTR path) {
    Parse(path, FALSE, FALSE);
    return *this;
}

namespace {
// Index of the first blank outside double quotes, or -1.
int FindArgumentsBlank(const CString& text) {
    bool quoted = false;
    for (int i = 0; i < text.GetLength(); ++i) {
        if (text[i] == '"')
            quoted = !quoted;
        else if (text[i] == ' ' && !quoted)
            return i;
    }
    return -1;
}
}  // namespace

void CPath::Parse(LPCTSTR path, BOOL folderOnly, BOOL withArguments) {
    // Every member starts afresh, so a reused object never keeps a part of its previous path.
    m_sDrive.Empty();
    m_sFolder.Empty();
    m_sTitle.Empty();
    m_sExtension.Empty();
    m_sArguments.Empty();
    m_aFolderParts.clear();
    m_aArguments.clear();
    m_bRelative = FALSE;
    m_sGiven = path;

    CString work = m_sGiven;
    if (withArguments) {
        int blank = FindArgumentsBlank(work);
        if (blank >= 0) {
            m_sArguments = work.Mid(blank + 1);
            work = work.Left(blank);
        }
    }
    if (work.GetLength() >= 2 && work[0] == '"' && work[work.GetLength() - 1] == '"')
        work = work.Mid(1, work.GetLength() - 2);
    if (work.IsEmpty())
        return;

    // Folder up to the last '/'; the extension is the name's part from its last '.'.
    int slash = work.ReverseFind('/');
    CString folder = work.Left(slash + 1);
    CString name = work.Mid(slash + 1);
    // A name that ends in '.' ("a.", "a..") has no extension: the dots stay part of its title, so the
    // rebuilt path names the same file.
    int dot = name.ReverseFind('.');
    if (dot == name.GetLength() - 1)
        dot = -1;
    CString ext = dot < 0 ? CString() : name.Mid(dot);
    if (dot >= 0)
        name = name.Left(dot);

    m_sFolder = folder;
    if (folderOnly) {
        // The last name is one more folder level, its dots included ("v1.2" stays whole).
        m_sFolder = AppendPathSeparator(AppendPathSeparator(m_sFolder) + name + ext);
    } else if (name.IsEmpty()) {
        m_sTitle = ext;  // ".profile": the whole name is the title
    } else {
        m_sTitle = name;
        m_sExtension = ext;
        m_sExtension.Remove('.');
    }
    m_bRelative = !m_sFolder.IsEmpty() && m_sFolder[0] != '/';
}

LPCTSTR CPath::GetPath() {
    m_sPath = m_sDrive + m_sFolder + GetFileName();
    return m_sPath;
}

CString CPath::GetFullPath(BOOL withArguments, BOOL givenText) {
    CString full = givenText ? m_sGiven : m_sDrive + m_sFolder + GetFileName();
    if (withArguments)
        full += " " + GetArgument(-1);
    return full;
}

CString CPath::GetFileName() const {
    return m_sTitle + GetExtensionWithDot();
}

CString CPath::GetExtensionWithDot() const {
    return m_sExtension.IsEmpty() ? CString() : "." + m_sExtension;
}

void CPath::ParseFolderParts() {
    if (m_sFolder.IsEmpty() || !m_aFolderParts.empty())
        return;
    // Each run of characters up to the next '/' is a part; the root and empty runs ("a//b") are none.
    int start = 0;
    for (int i = 0; i < m_sFolder.GetLength(); ++i) {
        if (m_sFolder[i] != '/')
            continue;
        if (i > start)
            m_aFolderParts.push_back(m_sFolder.Mid(start, i - start));
        start = i + 1;
    }
}

CString CPath::GetFolderPart(int index) {
    if (index < 0)
        return m_sFolder;
    ParseFolderParts();
    return index < (int)m_aFolderParts.size() ? m_aFolderParts[(size_t)index] : CString();
}

int CPath::GetFolderPartCount() {
    ParseFolderParts();
    return (int)m_aFolderParts.size();
}

void CPath::ParseArguments() {
    if (m_sArguments.IsEmpty() || !m_aArguments.empty())
        return;
    CString rest = m_sArguments;
    rest.Trim();
    rest += ' ';
    CString name;
    CString value;
    auto store = [this](const CString& typedName, const CString& argValue) {
        CArgument arg;
        arg.SetName(typedName);
        arg.m_sValue = argValue;
        m_aArguments.push_back(arg);
    };
    for (;;) {
        int at = rest.FindOneOf(" \"");
        if (at < 0)
            break;
        bool haveValue = false;
        if (rest[at] == '"') {
            int close = rest.Find('"', at + 1);
            if (close < 0)
                break;
            value = rest.Mid(at + 1, close - at - 1);
            haveValue = true;
            at = close;
        } else {
            CString token = rest.Left(at);
            if (token[0] == '/' || token[0] == '-') {
                if (!name.IsEmpty())
                    store(name, CString());
                name = token;
            } else {
                value = token;
                haveValue = true;
            }
        }
        if (haveValue) {
            store(name, value);
            name.Empty();
            value.Empty();
        }
        rest = rest.Mid(at + 1);
        rest.TrimLeft();
    }
    if (!name.IsEmpty())
        store(name, CString());
}

int CPath::GetArgumentCount() {
    ParseArguments();
    return (int)m_aArguments.size();
}

CString CPath::GetArgument(int index, BOOL name) {
    if (index < 0) {
        if (m_sArguments.IsEmpty() && !m_aArguments.empty()) {
            CString text;
            for (const CArgument& arg : m_aArguments) {
                if (!arg.m_sName.IsEmpty())
                    text += CString(' ') + arg.m_cSwitch + arg.m_sName;
                if (arg.m_sValue.Find(' ') >= 0)
                    text += " \"" + arg.m_sValue + "\"";
                else
                    text += " " + arg.m_sValue;
            }
            text.TrimLeft();
            m_sArguments = text;
        }
        return m_sArguments;
    }
    ParseArguments();
    if (index >= (int)m_aArguments.size())
        return CString();
    const CArgument& arg = m_aArguments[(size_t)index];
    return name ? arg.m_sName : arg.m_sValue;
}

BOOL CPath::GetFileInfo() {
    m_fileInfo = CFileStatus();
    CFileStatus status;
    if (!CFile::GetStatus(GetFullPath(), status) || (status.m_attribute & FILE_ATTRIBUTE_DIRECTORY))
        return FALSE;
    m_fileInfo = status;
    return TRUE;
}

BOOL CPath::GetFileSize(ULONGLONG& size) {
    BOOL ok = GetFileInfo();
    size = m_fileInfo.m_size;
    return ok;
}

BOOL CPath::GetFileTime(CTime& time, int which) {
    BOOL ok = GetFileInfo();
    time = which == 0 ? m_fileInfo.m_ctime : (which == 2 ? m_fileInfo.m_mtime : m_fileInfo.m_atime);
    return ok;
}
