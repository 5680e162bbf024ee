// The look of a window caption in one state: colours, gradient values, text format and two fonts, as a
// serialisable record. The caption painter that would use it is not part of this system; its registered
// messages and its per-thread organizer map exist and stay empty.
#pragma once

#include "platform/base/Archive.h"
#include "platform/base/Collections.h"
#include "platform/base/Object.h"
#include "platform/framework/gdi/GdiObject.h"

// The per-thread organizer of caption painters: no painter exists in this system, so none is made.
class COXCaptionPainterOrganizer : public CObject {};

extern const UINT WM_OX_SETCAPTIONPAINTER;  // "_SET_CAPTION_PAINTER_"
extern const UINT WM_OX_GETCAPTIONPAINTER;  // "_GET_CAPTION_PAINTER_"
extern CMap<DWORD, DWORD, COXCaptionPainterOrganizer*, COXCaptionPainterOrganizer*> g_arrCaptionPainterOrganizers;

class COXCaptionInfo : public CObject {
    DECLARE_SERIAL(COXCaptionInfo)
public:
    COXCaptionInfo();
    ~COXCaptionInfo() override;
    COXCaptionInfo(const COXCaptionInfo&) = delete;
    COXCaptionInfo& operator=(const COXCaptionInfo&) = delete;

    // Back to the defaults; deletes both fonts.
    void Reset();
    // Seven 32-bit values, then each font as a presence flag and, when present, its description.
    void Serialize(CArchive& ar) override;

    COLORREF m_clrBackground = (COLORREF)-1;
    BOOL m_bGradient = TRUE;
    int m_nGradientAlgorithm = 0;
    BOOL m_bGradientSmooth = TRUE;
    int m_nNumberShade = 64;
    CFont* m_pTextFont = nullptr;       // owned
    CFont* m_pSmallTextFont = nullptr;  // owned
    COLORREF m_clrText = (COLORREF)-1;
    UINT m_nTextFormat = 0x8024;  // DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS

private:
    static void StoreFont(CArchive& ar, CFont* font);
    static CFont* LoadFont(CArchive& ar);
};
