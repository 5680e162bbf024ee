#include "sifter/program/SifterCommandLine.h"

#include <cstdio>

#include "platform/base/JoinPath.h"

CString SifterCommandLine::StripProgramName(const CString& rawLine) {
    std::string line(rawLine.GetString());
    size_t i = line.find_first_not_of(" \t");
    if (i == std::string::npos)
        return CString();
    bool quoted = false;
    for (; i < line.size(); ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (!quoted && (line[i] == ' ' || line[i] == '\t'))
            break;
    }
    i = line.find_first_not_of(" \t", i);
    return i == std::string::npos ? CString() : CString(line.substr(i).c_str());
}

char SifterCommandLine::SeparatorOf(const CString& line) {
    if (line.Find('|') >= 0)
        return '|';
    return line.Find(';') >= 0 ? ';' : '|';
}

BOOL SifterCommandLine::GetValue(const CString& line, LPCTSTR key, char separator, CString& value) {
    std::string text(line.GetString());
    std::string wanted(key);
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(separator, start);
        if (end == std::string::npos)
            end = text.size();
        size_t field = text.find_first_not_of(" \t", start);
        if (field != std::string::npos && field < end && end - field >= wanted.size() &&
            AsciiCompareNoCase(text.substr(field, wanted.size()).c_str(), wanted.c_str()) == 0) {
            value = text.substr(field + wanted.size(), end - field - wanted.size()).c_str();
            return TRUE;
        }
        start = end + 1;
    }
    return FALSE;
}

void SifterCommandLine::Parse(const CString& arguments) {
    char separator = SeparatorOf(arguments);
    CString value;
    if (GetValue(arguments, "BASEPATH=", separator, value))
        m_sBasePath = value;
    if (GetValue(arguments, "FILEMASK=", separator, value)) {
        m_sFileMask = value;
        m_bMaskGiven = TRUE;
    }
    if (GetValue(arguments, "FINDTEXT=", separator, value))
        m_sFindText = value;
    auto firstLetter = [&](LPCTSTR key) -> char {
        if (!GetValue(arguments, key, separator, value) || value.IsEmpty())
            return 0;
        return AsciiUpper(value[0]);
    };
    if (firstLetter("EXECNOW=") == 'Y')
        m_bExecNow = TRUE;
    if (firstLetter("SUBDIRS=") == 'N')
        m_bSubDirs = FALSE;
    if (firstLetter("USEDEFVIEWER=") == 'Y')
        m_bUseDefViewer = TRUE;
}

BOOL IsListFileMask(const CString& mask) {
    return mask.Find("_FF_.lst") >= 0 || mask.Find("_ff_.lst") >= 0;
}

BOOL ReadListFileMasks(const CString& baseFolder, CString& masks, CString& path) {
    path = baseFolder.IsEmpty() ? CString("_FF_.lst") : JoinPath(baseFolder, "_FF_.lst");
    masks.Empty();
    FILE* file = std::fopen(path, "rb");
    if (!file)
        return FALSE;
    std::string line;
    int c;
    while ((c = std::fgetc(file)) != EOF && c != '\n')
        line.push_back((char)c);
    std::fclose(file);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    masks = line.c_str();
    return TRUE;
}
