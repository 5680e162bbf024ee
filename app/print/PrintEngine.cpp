#include "app/print/PrintEngine.h"

#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/base/Exceptions.h"
#include "platform/base/MessageBox.h"
#include "platform/user/User.h"

namespace {
constexpr int kMaxQuotedText = 1023;

// "%f" in the C locale whatever the process's locale: six decimals.
std::string Number(double value) {
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
    return std::string(buffer, result.ptr);
}

double ParseNumber(const std::string& field) {
    size_t start = field.find_first_not_of(" \t");
    if (start == std::string::npos)
        return 0;
    const char* first = field.data() + start;
    const char* last = field.data() + field.size();
    if (*first == '+')
        ++first;
    double value = 0;
    if (std::from_chars(first, last, value).ec != std::errc())
        return 0;
    return value;
}

int ParseInt(const std::string& field) {
    size_t start = field.find_first_not_of(" \t");
    if (start == std::string::npos)
        return 0;
    long value = std::strtol(field.c_str() + start, nullptr, 10);
    return (int)value;
}

// Fields separated by commas outside double quotes.
std::vector<std::string> SplitFields(const std::string& text) {
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false;
    for (char c : text) {
        if (c == '"')
            quoted = !quoted;
        if (c == ',' && !quoted) {
            fields.push_back(field);
            field.clear();
        } else {
            field += c;
        }
    }
    fields.push_back(field);
    return fields;
}

// One whole line without its end (CR LF or LF); false at the end of the file.
bool ReadLine(std::FILE* file, std::string& line) {
    line.clear();
    int c;
    bool any = false;
    while ((c = std::fgetc(file)) != EOF) {
        any = true;
        if (c == '\n')
            break;
        line += (char)c;
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return any;
}

std::string PageMarker(int page) {
    return "<Page" + std::to_string(page) + ">";
}

int TypeOf(const std::string& word) {
    static const struct {
        const char* word;
        int type;
    } types[] = {{"Text", PrintObject::kText},         {"FillRect", PrintObject::kFillRect},
                 {"Rect", PrintObject::kRect},         {"Line", PrintObject::kLine},
                 {"TextRect", PrintObject::kTextRect}, {"Bitmap", PrintObject::kBitmap}};
    for (const auto& t : types)
        if (word == t.word)
            return t.type;
    return 0;
}
}  // namespace

BOOL PrintFont::CreatePlatformFont() {
    m_Font.DeleteObject();
    return m_Font.CreateFont(Height(), 0, 0, 0, m_nStyle == kBold ? FW_BOLD : FW_NORMAL, m_nStyle == kItalic,
                             m_nStyle == kUnderline, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, m_csFace);
}

void CScript::DeleteAll() {
    for (POSITION pos = GetHeadPosition(); pos;)
        delete static_cast<PrintObject*>(GetNext(pos));
    RemoveAll();
}

void FontList::DeleteAll() {
    for (POSITION pos = GetHeadPosition(); pos;)
        delete static_cast<PrintFont*>(GetNext(pos));
    RemoveAll();
}

PrintEngine::PrintEngine() {
    // A file of its own for every engine: two requests at once never share a script.
    const char* folder = std::getenv("TMPDIR");
    std::string pattern = (folder && *folder) ? folder : "/tmp";
    while (pattern.size() > 1 && pattern.back() == '/')
        pattern.pop_back();
    pattern += "/veltrin-print-XXXXXX";
    int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        int error = errno;
        m_csPath = pattern.c_str();
        CFileException exception(error == EACCES ? CFileException::accessDenied : CFileException::badPath, error,
                                 m_csPath);
        exception.ReportError();
        m_csPath.Empty();
        return;
    }
    m_pFile = ::fdopen(fd, "w+");
    if (!m_pFile) {
        ::close(fd);
        ::unlink(pattern.c_str());
        CFileException(CFileException::genericException, errno, pattern.c_str()).ReportError();
        return;
    }
    m_csPath = pattern.c_str();
}

PrintEngine::~PrintEngine() {
    m_Script.DeleteAll();
    m_FontList.DeleteAll();
    if (m_pFile) {
        std::fclose(m_pFile);
        ::unlink(m_csPath);
    }
}

void PrintEngine::WriteLine(const CString& line) {
    if (m_pFile)
        std::fwrite(line.GetString(), 1, line.GetLength(), m_pFile);
}

void PrintEngine::Start() {
    m_Script.DeleteAll();
    m_nPage = 1;
    m_nPageCount = 0;
    if (!m_pFile)
        return;
    std::fflush(m_pFile);
    if (::ftruncate(::fileno(m_pFile), 0) != 0)
        return;
    std::rewind(m_pFile);
    WriteLine("<START>\n");
}

void PrintEngine::AddFont(LPCTSTR name, LPCTSTR face, int size, UINT style) {
    auto* font = new PrintFont;
    font->m_csName = name;
    font->m_csFace = face;
    font->m_nSize = size;
    font->m_nStyle = style;
    m_FontList.AddTail(font);
    CString line;
    line.Format("<FONT><%s,%s,%d,%u>\n", name, face, size, style);
    WriteLine(line);
}

void PrintEngine::AddObject(int type, double x1, double y1, double x2, double y2, LPCTSTR text, LPCTSTR font,
                            int value) {
    auto* object = new PrintObject;
    object->m_nType = type;
    object->m_dX1 = x1;
    object->m_dY1 = y1;
    object->m_dX2 = x2;
    object->m_dY2 = y2;
    object->m_csText = text ? text : "";
    object->m_csFont = font ? font : "";
    object->m_nValue = value;
    m_Script.AddTail(object);
}

void PrintEngine::Text(double x, double y, LPCTSTR text, LPCTSTR font) {
    CString name = font ? font : "";
    if (name == "DEFAULT")
        name = m_csCurrentFont;
    AddObject(PrintObject::kText, x, y, 0, 0, text, name, m_nTextAlign);
}

void PrintEngine::TextRect(double left, double top, double right, double bottom, LPCTSTR text, LPCTSTR font) {
    AddObject(PrintObject::kTextRect, left, top, right, bottom, text, font, 0);
}

void PrintEngine::Line(double x1, double y1, double x2, double y2) {
    AddObject(PrintObject::kLine, x1, y1, x2, y2, nullptr, nullptr, 0);
}

void PrintEngine::NewPage() {
    WritePage();
    m_Script.DeleteAll();
    ++m_nPage;
}

void PrintEngine::End() {
    WritePage();
    WriteLine("\n<END>");
    if (m_pFile)
        std::fflush(m_pFile);
}

CString PrintEngine::QuoteText(const CString& text) {
    std::string quoted = "\"";
    int length = std::min(text.GetLength(), kMaxQuotedText);
    for (int i = 0; i < length; ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n')
            c = ' ';
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return CString(quoted.c_str());
}

CString PrintEngine::UnquoteText(const CString& field) {
    std::string text(field.GetString(), field.GetLength());
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        text = text.substr(1, text.size() - 2);
    std::string result;
    for (size_t i = 0; i < text.size(); ++i) {
        result += text[i];
        if (text[i] == '"' && i + 1 < text.size() && text[i + 1] == '"')
            ++i;
    }
    return CString(result.c_str());
}

void PrintEngine::WritePage() {
    m_nPageCount = std::max(m_nPageCount, m_nPage);
    CString marker;
    marker.Format("\n<Page%d>\n", m_nPage);
    WriteLine(marker);
    for (POSITION pos = m_Script.GetHeadPosition(); pos;) {
        const auto* o = static_cast<const PrintObject*>(m_Script.GetNext(pos));
        std::string line;
        auto corners = [&](int count) {
            double values[4] = {o->m_dX1, o->m_dY1, o->m_dX2, o->m_dY2};
            for (int i = 0; i < count; ++i)
                line += "," + Number(values[i]);
        };
        switch (o->m_nType) {
        case PrintObject::kText:
            line = "<Text";
            corners(2);
            line += ",0,0,";
            line += QuoteText(o->m_csText).GetString();
            line += ",";
            line += o->m_csFont.GetString();
            line += "," + std::to_string(o->m_nValue) + ">\n";
            break;
        case PrintObject::kTextRect:
            line = "<TextRect";
            corners(4);
            line += ",";
            line += QuoteText(o->m_csText).GetString();
            line += ",";
            line += o->m_csFont.GetString();
            line += ">\n";
            break;
        case PrintObject::kRect:
        case PrintObject::kFillRect:
        case PrintObject::kLine:
            line = o->m_nType == PrintObject::kRect ? "<Rect" : o->m_nType == PrintObject::kFillRect ? "<FillRect" : "<Line";
            corners(4);
            line += ">\n";
            break;
        case PrintObject::kBitmap:
            line = "<Bitmap";
            corners(2);
            line += ",0,0,,," + std::to_string(o->m_nValue) + ">\n";
            break;
        default:
            continue;  // not a drawing object
        }
        WriteLine(line.c_str());
    }
}

void PrintEngine::ReportFileException() {
    ::MessageBeep(MB_ICONEXCLAMATION);
    AfxMessageBox("File exception");
}

void PrintEngine::LoadFonts() {
    if (!m_pFile)
        return;
    std::fflush(m_pFile);
    std::rewind(m_pFile);
    // The fonts are made again from the file: the writer's list has no platform fonts.
    m_FontList.DeleteAll();
    std::string line;
    while (ReadLine(m_pFile, line)) {
        size_t at = line.find("<FONT><");
        if (at == std::string::npos)
            continue;
        size_t end = line.rfind('>');
        std::string body = line.substr(at + 7, end > at + 7 ? end - at - 7 : 0);
        std::vector<std::string> fields;
        size_t from = 0;
        for (size_t comma; (comma = body.find(',', from)) != std::string::npos; from = comma + 1)
            fields.push_back(body.substr(from, comma - from));
        fields.push_back(body.substr(from));
        if (fields.size() < 4)
            continue;
        auto* font = new PrintFont;
        font->m_csName = fields[0].c_str();
        font->m_csFace = fields[1].c_str();
        font->m_nSize = ParseInt(fields[2]);
        font->m_nStyle = (UINT)ParseInt(fields[3]);
        font->CreatePlatformFont();
        m_FontList.AddTail(font);
    }
    if (std::ferror(m_pFile)) {
        std::clearerr(m_pFile);
        ReportFileException();
    }
}

void PrintEngine::LoadPage(int page) {
    if (!m_pFile)
        return;
    std::fflush(m_pFile);
    std::rewind(m_pFile);
    // Markers count only as whole lines: a text that holds one is inside an object line.
    const std::string marker = PageMarker(page), next = PageMarker(page + 1);
    std::string line;
    bool found = false;
    while (ReadLine(m_pFile, line))
        if (line == marker) {
            found = true;
            break;
        }
    if (!found) {
        if (std::ferror(m_pFile)) {
            std::clearerr(m_pFile);
            ReportFileException();
        }
        return;
    }
    m_csCurrentFont = "DEFAULT";
    m_Script.DeleteAll();
    m_nPage = page;
    while (ReadLine(m_pFile, line)) {
        size_t last = line.rfind('>');
        if (line == next || last == std::string::npos)
            break;
        std::vector<std::string> fields = SplitFields(last > 1 ? line.substr(1, last - 1) : std::string());
        auto* object = new PrintObject;
        object->m_nType = TypeOf(fields[0]);
        double* corners[4] = {&object->m_dX1, &object->m_dY1, &object->m_dX2, &object->m_dY2};
        size_t i = 1;
        for (double* corner : corners)
            *corner = i < fields.size() ? ParseNumber(fields[i++]) : 0;
        if (i < fields.size())
            object->m_csText = UnquoteText(fields[i++].c_str());
        if (i < fields.size())
            object->m_csFont = fields[i++].c_str();
        if (i < fields.size())
            object->m_nValue = ParseInt(fields[i++]);
        m_Script.AddTail(object);
    }
    if (std::ferror(m_pFile)) {
        std::clearerr(m_pFile);
        ReportFileException();
    }
}

CFont* PrintEngine::FindFont(LPCTSTR name) {
    for (POSITION pos = m_FontList.GetHeadPosition(); pos;) {
        auto* font = static_cast<PrintFont*>(m_FontList.GetNext(pos));
        if (font->m_csName == name)
            return font->m_Font.GetSafeHandle() ? &font->m_Font : nullptr;
    }
    return nullptr;
}
