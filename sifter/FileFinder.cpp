#include "sifter/FileFinder.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <mutex>
#include <thread>
#include <unistd.h>

#include "platform/base/BlockReader.h"
#include "platform/base/SearchNoCase.h"
#include "platform/base/Wildcard.h"

// A file's text test run ahead on a reader thread: the needles it searched, in order, with their results.
struct CFileFinder::TextJob {
    int dirFd;
    CString name;
    CString path;
    CString text;
    std::vector<TextResult> results;
    bool done = false;
};

// Reader threads that take text jobs in the order given. Jobs not started when cancelled are skipped;
// Wait returns once a job is done or skipped.
class CFileFinder::ReadAhead {
public:
    explicit ReadAhead(unsigned threads) {
        for (unsigned i = 0; i < threads; ++i)
            m_threads.emplace_back([this] { Run(); });
    }
    ~ReadAhead() {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_quit = true;
        }
        m_changed.notify_all();
        for (std::thread& t : m_threads)
            t.join();
    }

    void Add(TextJob* job) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_queue.push_back(job);
        }
        m_changed.notify_one();
    }
    void Wait(TextJob& job) {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [&] { return job.done; });
    }
    // Drops the jobs not started and lets those running end at their next block.
    void Cancel() {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (TextJob* job : m_queue)
            job->done = true;
        m_queue.clear();
        m_cancel = true;
        m_changed.notify_all();
    }
    // After Cancel, once the jobs running are done: the next jobs run again.
    void Resume() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_cancel = false;
    }

private:
    void Run() {
        std::vector<char> buffer;
        std::unique_lock<std::mutex> lock(m_mutex);
        for (;;) {
            m_changed.wait(lock, [this] { return m_quit || !m_queue.empty(); });
            if (m_quit)
                return;
            TextJob* job = m_queue.front();
            m_queue.pop_front();
            lock.unlock();
            const FileRef file{job->dirFd, job->name, job->path};
            std::vector<TextResult> results;
            CString matched;
            MatchTextWith(
                [&](LPCTSTR needle) {
                    TextResult r = ScanFile(file, needle, buffer, [this] { return m_cancel.load(); });
                    results.push_back(r);
                    return r.found;
                },
                job->text, matched);
            lock.lock();
            job->results = std::move(results);
            job->done = true;
            m_changed.notify_all();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<TextJob*> m_queue;
    std::atomic<bool> m_cancel{false};
    bool m_quit = false;
    std::vector<std::thread> m_threads;
};

CFileFinder::CFileFinder() = default;
CFileFinder::~CFileFinder() = default;

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
    if (options->dwOptionsFlags & FIND_TEXT)
        m_readAhead = std::make_unique<ReadAhead>(kReaders);
    SearchFolder(*options, baseFd, options->sBaseFolder);
    m_readAhead.reset();
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

    // Each mask in turn; a file that matches several masks is tested and reported once for each.
    std::vector<CString> tokens;
    const CString& masks = options.sFileMask;
    int pos = 0;
    for (int tokenIndex = 0;; ++tokenIndex) {
        CString token = masks.Tokenize(" ,;", pos);
        if (pos < 0)
            break;
        // After the first, ".txt" stands for "*.txt"; the first is taken as written.
        if (tokenIndex > 0 && token[0] == '.')
            token = "*" + token;
        tokens.push_back(token);
    }

    // The files whose text is to be searched go to the reader threads now, in the order they are
    // tested below; each is reported when its turn comes, as if searched then.
    std::deque<TextJob> jobs;
    if (m_readAhead) {
        for (const CString& token : tokens)
            for (const DirEntry& entry : entries)
                if (!entry.isFolder && MatchWildcard(token.str(), entry.name.str()) &&
                    PassesPlainTests(options, entry))
                    jobs.push_back(
                        TextJob{dirFd, entry.name, folder + entry.name, options.sFindText, {}, false});
        for (TextJob& job : jobs)
            m_readAhead->Add(&job);
    }
    size_t nextJob = 0;
    // The jobs refer to the open folder: none may run once this returns.
    struct Settle {
        ReadAhead* readAhead;
        std::deque<TextJob>& jobs;
        ~Settle() {
            if (!readAhead || jobs.empty())
                return;
            readAhead->Cancel();
            for (TextJob& job : jobs)
                readAhead->Wait(job);
            readAhead->Resume();
        }
    } settle{m_readAhead.get(), jobs};

    m_sCurrentFolder = folder;
    Notify(FF_FOLDER);

    for (const CString& token : tokens) {
        for (const DirEntry& entry : entries) {
            if (entry.isFolder || !MatchWildcard(token.str(), entry.name.str()))
                continue;
            if (m_bStopSearch)
                return;
            CString path = folder + entry.name;
            bool passes = PassesPlainTests(options, entry);
            if (passes && (options.dwOptionsFlags & FIND_TEXT)) {
                const FileRef file{dirFd, entry.name, path};
                passes = m_readAhead
                             ? ReplayTextTest(jobs[nextJob++], file, options.sFindText, m_sMatchedText)
                             : MatchTextIn(file, options.sFindText, m_sMatchedText);
            }
            if (passes) {
                m_aFilesFound.push_back(path);
                Notify(FF_FOUND);
            } else {
                Notify(FF_DISCARDED);
            }
        }
    }
}

bool CFileFinder::ReplayTextTest(TextJob& job, const FileRef& file, LPCTSTR text, CString& matched) {
    m_readAhead->Wait(job);
    size_t next = 0;
    return MatchTextWith(
        [&](LPCTSTR needle) {
            if (next >= job.results.size())  // a search the reader did not make: made now
                return FindTextIn(file, needle);
            const TextResult r = job.results[next++];
            for (size_t block = 1; block <= r.blocks; ++block) {
                m_sCurrentFile = file.path;
                Notify(FF_FINDTEXT);
                if (block == r.blocks)
                    return r.found;
                if (m_bStopSearch)
                    return false;  // ended here: the needle was only found in a later block
            }
            return r.found;  // no block was searched: the file could not be read
        },
        text, matched);
}

bool CFileFinder::PassesPlainTests(const CFindOptions& options, const DirEntry& entry) {
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
    return MatchTextWith([&](LPCTSTR needle) { return FindTextIn(file, needle); }, text, matched);
}

bool CFileFinder::MatchTextWith(const FindFn& FindTextIn, LPCTSTR text, CString& matched) {
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
        if (!FindTextIn(right) || !FindTextIn(left))
            return false;
        matched = left;
        return true;
    }
    at = whole.Find("||");
    if (at >= 0) {
        CString left = whole.Left(at), right = whole.Mid(at + 2);
        TrimOperand(left);
        TrimOperand(right);
        if (FindTextIn(left)) {
            matched = left;
            return true;
        }
        if (FindTextIn(right)) {
            matched = right;
            return true;
        }
        return false;
    }
    if (!FindTextIn(whole))
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
    return ScanFile(ref, needle, m_readBuffer,
                    [&] {
                        m_sCurrentFile = ref.path;
                        Notify(FF_FINDTEXT);
                        return m_bStopSearch;
                    })
        .found;
}

CFileFinder::TextResult CFileFinder::ScanFile(const FileRef& ref, LPCTSTR needle, std::vector<char>& buffer,
                                              const std::function<bool()>& afterBlock) {
    TextResult result;
    CBlockReader file;
    if (!needle || !file.OpenAt(ref.dirFd, ref.name))
        return result;
    std::string upper(needle);
    for (char& c : upper)
        c = AsciiUpper(c);
    const size_t carry = upper.size();
    // A needle of blanks only (or none) is found in every file that can be opened.
    const bool blanksOnly = upper.find_first_not_of(' ') == std::string::npos;

    // The window is the last bytes of the file read so far (at most `carry` of them) followed by the
    // next block, so a needle that straddles two blocks is still seen whole; no match can begin before
    // the file's first byte.
    if (buffer.size() < carry + kReadBlock)
        buffer.resize(carry + kReadBlock);
    char* window = buffer.data();
    size_t carried = 0;  // bytes of the file kept in front of the block, ending at window + carry
    bool found = false;
    for (;;) {
        const size_t got = file.Read(window + carry, kReadBlock);
        if (file.ReadFailed()) {
            result.found = false;  // unreadable, as a file that cannot be opened; never waited on
            return result;
        }
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
        ++result.blocks;
        const bool stop = afterBlock();
        if (got < kReadBlock || found || stop)
            break;
        carried = std::min(carry, size);
        std::memmove(window + carry - carried, begin + size - carried, carried);
    }
    result.found = found;
    return result;
}
