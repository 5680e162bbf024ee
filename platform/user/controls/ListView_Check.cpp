// The list view's check boxes: with LVS_EX_CHECKBOXES every row carries state image 1 (clear) or 2
// (ticked) from a state image list the control draws itself; a click on the box or Space flips it.
#include <algorithm>

#include "platform/user/ImageList.h"
#include "platform/user/UserInternal.h"
#include "platform/user/controls/ListViewControl.h"

namespace user::listview {
namespace {
constexpr int kStateImage = 16;  // one image; the box is 13 pixels square, centred
constexpr COLORREF kTransparent = RGB(255, 0, 255);

// Two images in the Classic look: a sunken white box, the second with a tick.
HIMAGELIST MakeCheckBoxImages() {
    HIMAGELIST list = ImageList_Create(kStateImage, kStateImage, ILC_COLOR32 | ILC_MASK, 2, 0);
    if (!list)
        return nullptr;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP strip = CreateCompatibleBitmap(screen, 2 * kStateImage, kStateImage);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, strip);
    RECT all{0, 0, 2 * kStateImage, kStateImage};
    HBRUSH clear = CreateSolidBrush(kTransparent);
    FillRect(dc, &all, clear);
    DeleteObject(clear);
    for (int i = 0; i < 2; ++i) {
        int left = i * kStateImage + (kStateImage - 13) / 2, top = (kStateImage - 13) / 2;
        RECT box{left, top, left + 13, top + 13};
        FillRect(dc, &box, GetSysColorBrush(COLOR_WINDOW));
        DrawEdge(dc, &box, EDGE_SUNKEN, BF_RECT);
        if (i == 1) {
            // A tick three pixels thick: down from (3,5) to (5,7), up to (9,3).
            static const int kTop[7] = {5, 6, 7, 6, 5, 4, 3};
            for (int c = 0; c < 7; ++c)
                for (int d = 0; d < 3; ++d)
                    SetPixel(dc, left + 3 + c, top + kTop[c] + d, GetSysColor(COLOR_WINDOWTEXT));
        }
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    ImageList_AddMasked(list, strip, kTransparent);
    DeleteObject(strip);
    return list;
}
}  // namespace

void ListView::ApplyCheckBoxes(bool on) {
    if (on) {
        if (!m_imageLists[LVSIL_STATE]) {
            m_ownStateImages = MakeCheckBoxImages();
            m_imageLists[LVSIL_STATE] = m_ownStateImages;
        }
        // Rows without a state image start clear, as rows inserted later do.
        for (Row& r : m_rows)
            if (!(r.state & LVIS_STATEIMAGEMASK))
                r.state |= INDEXTOSTATEIMAGEMASK(1);
    } else {
        if (m_ownStateImages && m_imageLists[LVSIL_STATE] == m_ownStateImages)
            m_imageLists[LVSIL_STATE] = nullptr;
        DropOwnStateImages();
        for (Row& r : m_rows)
            r.state &= ~(UINT)LVIS_STATEIMAGEMASK;
    }
}

void ListView::DropOwnStateImages() {
    if (!m_ownStateImages)
        return;
    if (m_imageLists[LVSIL_STATE] == m_ownStateImages)
        m_imageLists[LVSIL_STATE] = nullptr;
    ImageList_Destroy(m_ownStateImages);
    m_ownStateImages = nullptr;
}

int ListView::StateImageWidth() const {
    int cx = 0, cy = 0;
    if (!m_imageLists[LVSIL_STATE] || !ImageList_GetIconSize((HIMAGELIST)m_imageLists[LVSIL_STATE], &cx, &cy))
        return 0;
    return cx;
}

void ListView::DrawStateImage(HDC dc, int item, const RECT& cell) {
    int index = (int)(State(item, LVIS_STATEIMAGEMASK) >> 12);
    HIMAGELIST list = (HIMAGELIST)m_imageLists[LVSIL_STATE];
    int cx = 0, cy = 0;
    if (index <= 0 || !list || !ImageList_GetIconSize(list, &cx, &cy))
        return;
    // Image i of the list stands for state image index i + 1.
    ImageList_Draw(list, index - 1, dc, cell.left, cell.top + (cell.bottom - cell.top - cy) / 2,
                   ILD_TRANSPARENT);
}

void ListView::ToggleCheck(int item) {
    if (!Valid(item) || OwnerData())
        return;
    UINT index = State(item, LVIS_STATEIMAGEMASK) >> 12;
    SetOneState(item, INDEXTOSTATEIMAGEMASK(index == 2 ? 1 : 2), LVIS_STATEIMAGEMASK);
}
}  // namespace user::listview
