// What the scroll bar control and the scroll bars in windows' frames share: the state of a bar, where
// its parts lie along it, how it is drawn in the Classic look, and which part a point hits.
#pragma once

#include "platform/user/ListView.h"

namespace user {

struct ScrollBarState {
    int min = 0;
    int max = 100;
    UINT page = 0;
    int pos = 0;
    int trackPos = 0;
    UINT disabledArrows = 0;  // ESB_DISABLE_LTUP, ESB_DISABLE_RTDN
    bool set = false;         // a window's bar: given values through SetScrollInfo at least once
};

enum ScrollBarPart { kPartNone, kPartArrowUp, kPartPageUp, kPartThumb, kPartPageDown, kPartArrowDown };

// Lengths along a bar: the arrow buttons, the track between them and the thumb in it.
struct ScrollBarGeometry {
    int length = 0;  // whole bar
    int arrow = 0;
    int track = 0;  // between the arrows
    int thumb = 0;  // 0: no thumb shows
    int thumbStart = 0;  // from the bar's start
};

int ScrollMaxPos(const ScrollBarState& s);
int ClampScrollPos(const ScrollBarState& s, int pos);
// Whether the range leaves anything to scroll.
bool ScrollBarUseful(const ScrollBarState& s);
ScrollBarGeometry MeasureScrollBar(const ScrollBarState& s, int length, int breadth, int pos);
ScrollBarPart HitScrollBar(const ScrollBarState& s, int length, int breadth, int along);
// The position a thumb dragged to `along` (the thumb's start `dragOffset` before it) stands for.
int ScrollTrackPosition(const ScrollBarState& s, int length, int breadth, int along, int dragOffset);
// Draws a bar into `bar` of the DC; `pressed` shows that part held down, `tracking` the thumb at trackPos.
void PaintScrollBar(HDC dc, const RECT& bar, bool vertical, const ScrollBarState& s, ScrollBarPart pressed,
                    bool enabled);
// The code of WM_HSCROLL / WM_VSCROLL a pressed part sends.
int ScrollCodeOf(ScrollBarPart part);

}  // namespace user
