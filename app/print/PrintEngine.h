// PrintEngine: the print script of one print request. A report describes its pages as drawing objects
// (coordinates in inches, named fonts) written to a temporary text file; the print view reads the file
// back a page at a time and draws it (PrintEngineImpl).
#pragma once

#include <cstdio>
#include <memory>

#include "platform/base/Collections.h"
#include "platform/framework/gdi/GdiObject.h"

// One drawing object of a page.
class PrintObject {
public:
    enum { kText = 100, kFillRect = 101, kRect = 102, kLine = 103, kUnused = 104, kTextRect = 105, kBitmap = 106 };

    int m_nType = 0;
    double m_dX1 = 0, m_dY1 = 0, m_dX2 = 0, m_dY2 = 0;  // inches
    CString m_csText;
    CString m_csFont;
    int m_nValue = 0;  // a text's alignment (1 left, 2 centred, 3 right) or a bitmap's resource id
};

// A named font of the script; its platform font is made when the script is read back.
class PrintFont {
public:
    enum { kBold = 201, kItalic = 202, kUnderline = 204 };

    CString m_csName;
    int m_nSize = 0;  // points
    CString m_csFace;
    UINT m_nStyle = 0;
    CFont m_Font;

    // Height in thousandths of an inch: the size in points × 1,000 / 72.
    int Height() const { return m_nSize * 1000 / 72; }
    BOOL CreatePlatformFont();
};

// The objects of the page in memory; it owns them.
class CScript : public CPtrList {
public:
    ~CScript() { DeleteAll(); }
    void DeleteAll();
};

// The fonts of the script; it owns them.
class FontList : public CPtrList {
public:
    ~FontList() { DeleteAll(); }
    void DeleteAll();
};

class PrintEngine {
public:
    PrintEngine();
    ~PrintEngine();
    PrintEngine(const PrintEngine&) = delete;
    PrintEngine& operator=(const PrintEngine&) = delete;

    // Writer.
    void Start();
    void AddFont(LPCTSTR name, LPCTSTR face, int size, UINT style);
    void SetCurrentFont(LPCTSTR name) { m_csCurrentFont = name; }
    void Text(double x, double y, LPCTSTR text, LPCTSTR font);
    void TextRect(double left, double top, double right, double bottom, LPCTSTR text, LPCTSTR font);
    void Line(double x1, double y1, double x2, double y2);
    void NewPage();
    void End();
    void WritePage();

    // Reader.
    void LoadFonts();
    void LoadPage(int page);
    CFont* FindFont(LPCTSTR name);

    // Alignment of the texts that follow: 1 left, 2 centred on x, 3 right.
    void SetTextAlignment(int align) { m_nTextAlign = align; }
    int GetTextAlignment() const { return m_nTextAlign; }
    CString GetCurrentFont() const { return m_csCurrentFont; }
    int GetPage() const { return m_nPage; }
    // Pages written by the last script.
    int GetPageCount() const { return m_nPageCount; }
    // Whether the script file could be made.
    BOOL IsOpen() const { return m_pFile != nullptr; }
    CString GetPathName() const { return m_csPath; }

    // Text quoted for a field: blanks for line breaks, quotes doubled, at most 1,023 characters.
    static CString QuoteText(const CString& text);
    // A field read back: outer quotes removed and doubled quotes made single.
    static CString UnquoteText(const CString& field);

    CScript m_Script;
    FontList m_FontList;
    BOOL m_bLandscape = FALSE;  // set by a landscape report

private:
    void AddObject(int type, double x1, double y1, double x2, double y2, LPCTSTR text, LPCTSTR font, int value);
    void WriteLine(const CString& line);
    void ReportFileException();

    std::FILE* m_pFile = nullptr;
    CString m_csPath;
    int m_nPage = 1;
    int m_nPageCount = 0;
    CString m_csCurrentFont = "DEFAULT";
    int m_nTextAlign = 1;
};
