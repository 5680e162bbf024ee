#include "sifter/FileFinder.h"

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "platform/base/BlockReader.h"
#include "platform/base/SearchNoCase.h"
#include "platform/base/Wildcard.h"

void CFileFinder::SetCallback(FILEFINDERPROC callback, void* userData) {
    m_pfnCallback = callback;
    m_pUserData = userData;
}

int CFileFinder::Search(CFindOptions* options) {
    m_bStopSearch = false;
    if (!options)
        return GetFileCount();
    options->sBaseFolder = AppendPathSeparator(options->sBaseFolder);
    const int baseFd = OpenFolder(options->sBaseFolder);
    SearchFolder(*options, baseFd, options->sBaseFolder);
    if (baseFd >= 0)
        ::close(baseFd);
    return GetFileCount();
}

void CFileFinder::SearchFolder(const CFindOptions& options, int dirFd, const CString& folder) {
    // An unreadable folder contributes nothing and the search goes on.
    std::vector<DirEntry> entries;
    if (dirFd >= 0)
        ReadFolderAt(dirFd, entries);

    // Sub-folders first, depth first, in name order.
    if (options.bSubfolders) {
        for (const DirEntry& entry : entries) {
            if (m_bStopSearch)
                return;
            if (!entry.isFolder)
                continue;
            const int subFd = OpenSubFolder(dirFd, entry.name);
            SearchFolder(options, subFd, AppendPathSeparator(folder + entry.name));
            if (subFd >= 0)
                ::close(subFd);
        }
        if (m_bStopSearch)
            return;
    }

    m_sCurrentFolder = folder;
    Notify(FF_FOLDER);

    // Each mask in turn; a file that matches several masks is tested and reported once for each.
    const CString& masks = options.sFileMask;
    int pos = 0;
    for (int tokenIndex = 0;; ++tokenIndex) {
        CString token = masks.Tokenize(" ,;", pos);
        if (pos < 0)
            break;
        // After the first, ".txt" stands for "*.txt"; the first is taken as written.
        if (tokenIndex > 0 && token[0] == '.')
            token = "*" + token;
        for (const DirEntry& entry : entries) {
            if (entry.isFolder || !MatchWildcard(token.str(), entry.name.str()))
                continue;
            if (m_bStopSearch)
                return;
            CString path = folder + entry.name;
            if (PassesTests(options, dirFd, path, entry)) {
                m_aFilesFound.push_back(path);
                Notify(FF_FOUND);
            } else {
                Notify(FF_DISCARDED);
            }
        }
    }
}

bool CFileFinder::PassesTests(const CFindOptions& options, int dirFd, const CString& path,
                              const DirEntry& entry) {
    const DWORD flags = options.dwOptionsFlags;
    auto inRange = [](time_t t, const CTime& from, const CTime& to) {
        return from.GetTime() <= t && t <= to.GetTime();
    };
    if ((flags & FIND_SIZE) &&
        ((LONGLONG)entry.size < options.nMinSize || (LONGLONG)entry.size > options.nMaxSize))
        return false;
    if ((flags & FIND_DATEMODIFIED) && !inRange(entry.modified, options.tMinModified, options.tMaxModified))
        return false;
    if ((flags & FIND_DATECREATED) && !inRange(entry.created, options.tMinCreated, options.tMaxCreated))
        return false;
    if ((flags & FIND_DATEACCESSED) && !inRange(entry.accessed, options.tMinAccessed, options.tMaxAccessed))
        return false;
    if ((flags & FIND_TEXT) &&
        !MatchTextIn(FileRef{dirFd, entry.name, path}, options.sFindText, m_sMatchedText))
        return false;
    return true;
}

CPath CFileFinder::GetFilePath(int index) const {
    if (index < 0 || index >= GetFileCount())
        return CPath("");
    return CPath(m_aFilesFound[(size_t)index]);
}

bool CFileFinder::MatchText(LPCTSTR path, LPCTSTR text, CString& matched) {
    return MatchTextIn(FileRef{AT_FDCWD, path, path}, text, matched);
}

bool CFileFinder::MatchTextIn(const FileRef& file, LPCTSTR text, CString& matched) {
    matched.Empty();
    if (!text)
        return false;
    CString whole = text;
    // Only the first operator splits: in "a && b && c" the right operand is "b && c".
    int at = whole.Find("&&");
    if (at >= 0) {
        CString left = whole.Left(at), right = whole.Mid(at + 2);
        TrimOperand(left);
        TrimOperand(right);
        if (!FindTextIn(file, right) || !FindTextIn(file, left))
            return false;
        matched = left;
        return true;
    }
    at = whole.Find("||");
    if (at >= 0) {
        CString left = whole.Left(at), right = whole.Mid(at + 2);
        TrimOperand(left);
        TrimOperand(right);
        if (FindTextIn(file, left)) {
            matched = left;
            return true;
        }
        if (FindTextIn(file, right)) {
            matched = right;
            return true;
        }
        return false;
    }
    if (!FindTextIn(file, whole))
        return false;
    matched = whole;
    return true;
}

void CFileFinder::TrimOperand(CString& operand) {
    CString copy = operand;
    copy.Trim();
    if (copy.IsEmpty() || (copy[0] != '"' && copy[0] != '\''))
        return;
    copy.SetAt(0, ' ');
    copy.TrimLeft();
    int last = copy.GetLength() - 1;
    if (last >= 0 && (copy[last] == '"' || copy[last] == '\'')) {
        copy.SetAt(last, ' ');
        copy.TrimRight();
    }
    operand = copy;
}

bool CFileFinder::FindTextInFile(LPCTSTR path, LPCTSTR needle) {
    return FindTextIn(FileRef{AT_FDCWD, path, path}, needle);
}

bool CFileFinder::FindTextIn(const FileRef& ref, LPCTSTR needle) {
    CBlockReader file;
    if (!needle || !file.OpenAt(ref.dirFd, ref.name))
        return false;
    std::string upper(needle);
    for (char& c : upper)
        c = AsciiUpper(c);
    const size_t carry = upper.size();
    // A needle of blanks only (or none) is found in every file that can be opened.
    const bool blanksOnly = upper.find_first_not_of(' ') == std::string::npos;

    // The window is the last bytes of the file read so far (at most `carry` of them) followed by the
    // next block, so a needle that straddles two blocks is still seen whole; no match can begin before
    // the file's first byte.
    if (m_readBuffer.size() < carry + kReadBlock)
        m_readBuffer.resize(carry + kReadBlock);
    char* window = m_readBuffer.data();
    size_t carried = 0;  // bytes of the file kept in front of the block, ending at window + carry
    bool found = false;
    for (;;) {
        const size_t got = file.Read(window + carry, kReadBlock);
        if (file.ReadFailed())
            return false;  // unreadable, as a file that cannot be opened; never waited on
        // NUL bytes take no part in the comparison ("E\0R\0R" holds "ERR").
        size_t kept = got;
        if (char* nul = (char*)std::memchr(window + carry, '\0', got)) {
            char* out = nul;
            for (const char* in = nul; in < window + carry + got; ++in)
                if (*in != '\0')
                    *out++ = *in;
            kept = (size_t)(out - (window + carry));
        }
        const char* begin = window + carry - carried;
        const size_t size = carried + kept;
        found = blanksOnly || FindNoCase(begin, size, upper) != kNotFound;
        m_sCurrentFile = ref.path;
        Notify(FF_FINDTEXT);
        if (got < kReadBlock || found || m_bStopSearch)
            break;
        carried = std::min(carry, size);
        std::memmove(window + carry - carried, begin + size - carried, carried);
    }
    return found;
}
