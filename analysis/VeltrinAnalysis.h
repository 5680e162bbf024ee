// The report view's analysis side: its state and every analysis member. The view derives from this
// class, so the members keep their names (CVeltrinView::ParseLogTimeMs). The pure helpers are static.
#pragma once

#include "platform/base/Collections.h"
#include "platform/base/String.h"

class CVeltrinAnalysis {
public:
    CVeltrinAnalysis() = default;
    virtual ~CVeltrinAnalysis() = default;

    // ---- Time arithmetic ----
    // Milliseconds since the start of the stamp's year of "YYYY-MM-DD HH:MM:SS.fff"; fields that are
    // missing or not digits read as 0; the year itself does not enter the value.
    static double ParseLogTimeMs(LPCTSTR stamp);
    // end - start when start is not after end, else 0.
    static double ElapsedMs(LPCTSTR startStamp, LPCTSTR endStamp);
    static CString FormatHms(int32_t ms);        // "%02d:%02d:%02d"; hours are not limited
    static CString FormatElapsedMs(int32_t ms);  // "%02d:%02d:%02d (%d msec)"
    static BOOL IsWholeNumber(float value);
    static BOOL IsLeapYear(LPCTSTR year);

    // ---- Text extraction ----
    static void ExtractMarkerWord(LPCTSTR marker, LPCTSTR text, CString& word);
    static void ExtractMarkerWordAndName(LPCTSTR marker, LPCTSTR text, CString& word, CString& name);
    static void ExtractMarkerValues(LPCTSTR marker, LPCTSTR text, CString& value, CString& path);
    // Appends the tokens of text between runs of delimiters; returns how many were appended.
    static int SplitToArray(LPCTSTR text, CStringArray& tokens, LPCTSTR delimiters);
    // The entry of the loaded log's setting list that equals the search text (or it followed by
    // " - N/A"), else the first that contains it; empty when none or when the log is not loaded.
    static CString FindInSettingList(LPCTSTR key, LPCTSTR search);
    static void StripIdSuffix(CString& text);
    static int32_t SplitIdNumber(CString& text);
    static void SplitColonFields(LPCTSTR text, CString& first, CString& second, CString& third);
    static BOOL IsOneChar(LPCTSTR text, char ch);
};
