#include "guilib/controls/OXCaptionInfo.h"

#include <cstring>
#include <memory>

#include "platform/user/User.h"

const UINT WM_OX_SETCAPTIONPAINTER = ::RegisterWindowMessage("_SET_CAPTION_PAINTER_");
const UINT WM_OX_GETCAPTIONPAINTER = ::RegisterWindowMessage("_GET_CAPTION_PAINTER_");
CMap<DWORD, DWORD, COXCaptionPainterOrganizer*, COXCaptionPainterOrganizer*> g_arrCaptionPainterOrganizers;

IMPLEMENT_SERIAL(COXCaptionInfo, CObject, 1)

COXCaptionInfo::COXCaptionInfo() {
    Reset();
}

COXCaptionInfo::~COXCaptionInfo() {
    delete m_pTextFont;
    delete m_pSmallTextFont;
}

void COXCaptionInfo::Reset() {
    m_clrBackground = (COLORREF)-1;
    m_bGradient = TRUE;
    m_nGradientAlgorithm = 0;
    m_bGradientSmooth = TRUE;
    m_nNumberShade = 64;
    delete m_pTextFont;
    m_pTextFont = nullptr;
    delete m_pSmallTextFont;
    m_pSmallTextFont = nullptr;
    m_clrText = (COLORREF)-1;
    m_nTextFormat = 0x8024;
}

void COXCaptionInfo::StoreFont(CArchive& ar, CFont* font) {
    if (!font || !font->GetSafeHandle()) {
        ar << (int32_t)0;
        return;
    }
    LOGFONT lf{};
    if (!font->GetLogFont(&lf))
        AfxThrowArchiveException(CArchiveException::badClass);
    lf.lfFaceName[LF_FACESIZE - 1] = 0;
    ar << (int32_t)1;
    ar << (int32_t)lf.lfHeight << (int32_t)lf.lfWidth << (int32_t)lf.lfEscapement << (int32_t)lf.lfOrientation
       << (int32_t)lf.lfWeight;
    ar << (BYTE)lf.lfItalic << (BYTE)lf.lfUnderline << (BYTE)lf.lfStrikeOut << (BYTE)lf.lfCharSet
       << (BYTE)lf.lfOutPrecision << (BYTE)lf.lfClipPrecision << (BYTE)lf.lfQuality << (BYTE)lf.lfPitchAndFamily;
    ar << CString(lf.lfFaceName);
}

CFont* COXCaptionInfo::LoadFont(CArchive& ar) {
    int32_t present = 0;
    ar >> present;
    if (!present)
        return nullptr;
    LOGFONT lf{};
    int32_t height, width, escapement, orientation, weight;
    ar >> height >> width >> escapement >> orientation >> weight;
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfEscapement = escapement;
    lf.lfOrientation = orientation;
    lf.lfWeight = weight;
    BYTE b[8];
    for (BYTE& v : b)
        ar >> v;
    lf.lfItalic = b[0];
    lf.lfUnderline = b[1];
    lf.lfStrikeOut = b[2];
    lf.lfCharSet = b[3];
    lf.lfOutPrecision = b[4];
    lf.lfClipPrecision = b[5];
    lf.lfQuality = b[6];
    lf.lfPitchAndFamily = b[7];
    CString face;
    ar >> face;
    // At most 31 characters of the face fit, with the terminating zero.
    size_t n = std::min((size_t)face.GetLength(), (size_t)LF_FACESIZE - 1);
    std::memcpy(lf.lfFaceName, (LPCTSTR)face, n);
    lf.lfFaceName[n] = 0;
    auto font = std::make_unique<CFont>();
    if (!font->CreateFontIndirect(&lf))
        AfxThrowArchiveException(CArchiveException::badClass);
    return font.release();
}

void COXCaptionInfo::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << (int32_t)m_clrBackground << (int32_t)m_bGradient << (int32_t)m_nGradientAlgorithm
           << (int32_t)m_bGradientSmooth << (int32_t)m_nTextFormat << (int32_t)m_clrText << (int32_t)m_nNumberShade;
        StoreFont(ar, m_pTextFont);
        StoreFont(ar, m_pSmallTextFont);
        return;
    }
    int32_t background, gradient, algorithm, smooth, format, text, shades;
    ar >> background >> gradient >> algorithm >> smooth >> format >> text >> shades;
    m_clrBackground = (COLORREF)background;
    m_bGradient = gradient;
    m_nGradientAlgorithm = algorithm;
    m_bGradientSmooth = smooth;
    m_nTextFormat = (UINT)format;
    m_clrText = (COLORREF)text;
    m_nNumberShade = shades;
    delete m_pTextFont;
    m_pTextFont = nullptr;
    m_pTextFont = LoadFont(ar);
    delete m_pSmallTextFont;
    m_pSmallTextFont = nullptr;
    m_pSmallTextFont = LoadFont(ar);
}
