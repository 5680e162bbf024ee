// The part of a QServer log that belongs to a list row: from the row's line to the end of its
// transaction, shown on the view's pad page.
#include <cstdlib>
#include <new>
#include <string_view>

#include "analysis/LogLineReader.h"
#include "analysis/VeltrinAnalysis.h"
#include "core/TextHelpers.h"
#include "platform/base/Exceptions.h"
#include "platform/base/JoinPath.h"

namespace {
const char kNotAvailable[] = "<N/A> - QServer Log information not available.";
constexpr int kMaxExcerptLines = 2000;
}  // namespace

void CVeltrinAnalysis::LoadQServerExcerpt(LPCTSTR logName, LPCTSTR lineNumber) {
    CString path = JoinPath(m_csBaseFolder, logName);
    ClearPadText();
    Host().Pause(100);
    if (!logName || !*logName) {
        m_csPadText = kNotAvailable;
        ShowPadText(m_csPadText);
        return;
    }
    const long start = std::atol(lineNumber ? lineNumber : "");

    LogLineReader reader;
    if (!reader.Open(path))
        return;
    CString excerpt;
    try {
        int appended = 0;
        CString text;
        std::string_view line;
        while (reader.NextLine(line)) {
            if (reader.GetLineNumber() < start)
                continue;
            text = CString(line);
            ExpandTabs(text);
            excerpt += text;
            excerpt += "\r\n";
            if (text.Find("| End ") >= 0)
                break;
            if (++appended == kMaxExcerptLines) {
                excerpt += "\r\n    :\r\n    :\r\n    :\r\n";
                break;
            }
        }
    } catch (CException* e) {  // an excerpt too large for memory: show none
        e->Delete();
        excerpt.Empty();
    } catch (const std::bad_alloc&) {
        excerpt.Empty();
    }
    m_csPadText = excerpt.IsEmpty() ? CString(kNotAvailable) : excerpt;
    ShowOutputBarOnce();
    ShowPadText(m_csPadText);
    reader.Close();
}
