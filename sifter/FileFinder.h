// CFileFinder: searches a folder tree for files by name masks, size and date ranges and a text the file
// must contain ("a && b", "a || b"), reporting progress to a callback that may stop the search.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/DirWalk.h"
#include "platform/base/String.h"
#include "sifter/FindOptions.h"
#include "sifter/Path.h"

class CFileFinder;

// Progress codes of the callback.
#define FF_FOUND 0      // a file passed every test and was added to the list
#define FF_DISCARDED 1  // a file failed a test
#define FF_FOLDER 2     // the files of the current folder are about to be matched
#define FF_FINDTEXT 3   // one block of the current file has been searched for the text

typedef void (*FILEFINDERPROC)(CFileFinder* finder, DWORD code, void* userData);

class CFileFinder {
public:
    // Bytes read from a file per round of the text search.
    static constexpr size_t kReadBlock = 64 * 1024;
    // Threads that read a folder's files ahead of the search while it reports them in order.
    static constexpr unsigned kReaders = 4;

    CFileFinder();
    ~CFileFinder();
    CFileFinder(const CFileFinder&) = delete;
    CFileFinder& operator=(const CFileFinder&) = delete;

    void SetCallback(FILEFINDERPROC callback, void* userData);
    // Searches the options' folder (rewritten with a trailing '/'); files found are appended to the
    // list. Returns the number of files in the list.
    int Search(CFindOptions* options);
    // Asks a running search to end; meant for the callback.
    void StopSearch() { m_bStopSearch = true; }

    int GetFileCount() const { return (int)m_aFilesFound.size(); }
    // The index-th file found; an index out of range gives an empty path.
    CPath GetFilePath(int index) const;
    void RemoveAll() { m_aFilesFound.clear(); }

    CString GetCurrentFolder() const { return m_sCurrentFolder; }
    CString GetCurrentFile() const { return m_sCurrentFile; }
    CString GetMatchedText() const { return m_sMatchedText; }

    // The text test: "a && b" (b searched first, then a; matched text a), "a || b" (the first found),
    // else the whole text. A null text never matches.
    bool MatchText(LPCTSTR path, LPCTSTR text, CString& matched);
    // Whether the file holds the needle, ASCII case-blind, NUL bytes ignored. An empty or all-blank
    // needle is found in every file that can be opened.
    bool FindTextInFile(LPCTSTR path, LPCTSTR needle);
    // Trims the blanks round an operand and one pair of quotes; an unquoted operand is left as it is.
    static void TrimOperand(CString& operand);

private:
    // A file to read: its name relative to an open folder (AT_FDCWD for a path of its own) and the full
    // path that progress reports show. Opening by folder keeps every call short of the path limit.
    struct FileRef {
        int dirFd;
        LPCTSTR name;
        LPCTSTR path;
    };

    // What one text search of a file gave: the blocks it searched (each one a progress report) and
    // whether the needle was found in the last of them.
    struct TextResult {
        size_t blocks = 0;
        bool found = false;
    };
    class ReadAhead;
    struct TextJob;
    using FindFn = std::function<bool(LPCTSTR needle)>;

    // Searches the open folder `dirFd` (-1 when it could not be opened), whose path is `folder`.
    void SearchFolder(const CFindOptions& options, int dirFd, const CString& folder);
    // The tests but the text's, which need no reading.
    static bool PassesPlainTests(const CFindOptions& options, const DirEntry& entry);
    // The text test splits the text and runs `find` on its operands in the order the test needs them.
    static bool MatchTextWith(const FindFn& find, LPCTSTR text, CString& matched);
    bool MatchTextIn(const FileRef& file, LPCTSTR text, CString& matched);
    bool FindTextIn(const FileRef& file, LPCTSTR needle);
    // The block-by-block search itself; afterBlock runs after each block searched and ends the search
    // when it answers true.
    static TextResult ScanFile(const FileRef& file, LPCTSTR needle, std::vector<char>& buffer,
                               const std::function<bool()>& afterBlock);
    // The text test of a file another thread has searched: its searches are reported block by block as
    // if they ran now, and a stop request ends them where it would have.
    bool ReplayTextTest(TextJob& job, const FileRef& file, LPCTSTR text, CString& matched);
    void Notify(DWORD code) {
        if (m_pfnCallback)
            m_pfnCallback(this, code, m_pUserData);
    }

    std::vector<CString> m_aFilesFound;
    bool m_bStopSearch = false;
    FILEFINDERPROC m_pfnCallback = nullptr;
    void* m_pUserData = nullptr;
    CString m_sCurrentFile;
    CString m_sCurrentFolder;
    CString m_sMatchedText;
    std::vector<char> m_readBuffer;          // reused by every text search
    std::unique_ptr<ReadAhead> m_readAhead;  // while a search with a text test runs
};
