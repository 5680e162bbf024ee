#include <cstdlib>
#include <cstring>

#include "analysis/AppMaps.h"
#include "analysis/VeltrinAnalysis.h"

namespace {
// The text after the first occurrence of marker, or null.
const char* AfterMarker(LPCTSTR marker, LPCTSTR text) {
    if (!marker || !text)
        return nullptr;
    const char* at = std::strstr(text, marker);
    return at ? at + std::strlen(marker) : nullptr;
}

CString CutAt(const char* s, char stop) {
    const char* end = std::strchr(s, stop);
    return end ? CString(s, (int)(end - s)) : CString(s);
}
}  // namespace

void CVeltrinAnalysis::ExtractMarkerWord(LPCTSTR marker, LPCTSTR text, CString& word) {
    if (const char* v = AfterMarker(marker, text))
        word = CutAt(v, ' ');
}

void CVeltrinAnalysis::ExtractMarkerWordAndName(LPCTSTR marker, LPCTSTR text, CString& word, CString& name) {
    const char* v = AfterMarker(marker, text);
    if (!v)
        return;
    word = CutAt(v, ' ');
    int slash = word.ReverseFind('/');
    if (slash >= 0)
        name = word.Mid(slash + 1);
}

void CVeltrinAnalysis::ExtractMarkerValues(LPCTSTR marker, LPCTSTR text, CString& value, CString& path) {
    const char* v = AfterMarker(marker, text);
    if (!v)
        return;
    // The path starts two characters before the value, but never before the text.
    const char* pathStart = (v - text >= 2) ? v - 2 : text;
    path = CutAt(pathStart, ' ');
    if (std::strchr(v, '/')) {
        value = CutAt(v, '/');
        value.MakeUpper();
    } else {
        value = v;
    }
}

int CVeltrinAnalysis::SplitToArray(LPCTSTR text, CStringArray& tokens, LPCTSTR delimiters) {
    if (!text)
        return 0;
    const char* delims = delimiters ? delimiters : "";
    int count = 0;
    const char* p = text;
    while (*p) {
        p += std::strspn(p, delims);
        if (!*p)
            break;
        size_t n = std::strcspn(p, delims);
        tokens.Add(CString(p, (int)n));
        ++count;
        p += n;
    }
    return count;
}

CString CVeltrinAnalysis::FindInSettingList(LPCTSTR key, LPCTSTR search) {
    HObj rec;
    if (!key || !g_mapLoadedLogs.Lookup(key, rec))
        return CString();
    CStringArray entries;
    SplitToArray(rec.m_csServerList, entries, ">|");
    CString wanted(search ? search : "");
    CString wantedNA = wanted + " - N/A";
    // An entry equal to the search text wins over one that merely contains it: server "1" must not
    // pick "...QServer12".
    for (INT_PTR i = 0; i < entries.GetSize(); ++i)
        if (entries[i] == wanted || entries[i] == wantedNA)
            return entries[i];
    for (INT_PTR i = 0; i < entries.GetSize(); ++i)
        if (entries[i].Find(wanted) >= 0)
            return entries[i];
    return CString();
}

void CVeltrinAnalysis::StripIdSuffix(CString& text) {
    int paren = text.Find('(');
    if (paren >= 0)
        text = text.Left(paren);
    int hash = text.Find('#');
    if (hash >= 0)
        text = text.Left(hash);
}

int32_t CVeltrinAnalysis::SplitIdNumber(CString& text) {
    int paren = text.Find('(');
    int32_t number = paren >= 0 ? (int32_t)std::atol(text.Mid(paren + 1)) : 0;
    StripIdSuffix(text);
    return number;
}

void CVeltrinAnalysis::SplitColonFields(LPCTSTR textIn, CString& first, CString& second, CString& third) {
    CString text(textIn);
    int colon = text.Find(':');
    if (colon < 0)
        return;
    first = text.Left(colon);
    CString rest = text.Mid(colon + 1);
    int colon2 = rest.Find(':');
    if (colon2 < 0)
        return;
    second = rest.Left(colon2);
    third = rest.Mid(colon2 + 1).Left(second.GetLength());
}

BOOL CVeltrinAnalysis::IsOneChar(LPCTSTR text, char ch) {
    return text && text[0] == ch && text[1] == '\0';
}
