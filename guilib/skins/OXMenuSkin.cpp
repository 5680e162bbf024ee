#include "guilib/skins/OXMenuSkin.h"

#include <algorithm>

#include "guilib/skins/OXSkin.h"
#include "guilib/skins/OXToolbarSkin.h"
#include "platform/framework/bars/RectTracker.h"
#include "platform/user/DesktopDC.h"
#include "platform/user/DrawState.h"

namespace {

COLORREF Sys(int index) {
    return GetSysColor(index);
}

COXBitmapMenuView* g_trackingMenu = nullptr;

BOOL IsCheckmarkImage(COXImageInfo* image) {
    return image && image->defaultImage;
}

// The 8 x 8 checkerboard of COLOR_MENU and COLOR_BTNHIGHLIGHT.
void FillDithered(CDC* dc, const RECT& rect) {
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            dc->SetPixel(x, y, ((x + y) & 1) ? Sys(COLOR_BTNHIGHLIGHT) : Sys(COLOR_MENU));
}

}  // namespace

void COXMenuSkin::SetTrackingBitmapMenu(COXBitmapMenuView* menu) {
    g_trackingMenu = menu;
}

COXBitmapMenuView* COXMenuSkin::GetTrackingBitmapMenu() {
    return g_trackingMenu;
}

// Classic.

COXMenuSkinClassic::COXMenuSkinClassic() : m_metrics{{2, 0, 8, 2, 3, 4, 3, 8, 0, 12}} {}

void COXMenuSkinClassic::SplitText(const CString& text, CString& label, CString& accelerator) {
    int tab = text.Find('\t');
    if (tab < 0) {
        label = text;
        accelerator.Empty();
    } else {
        label = text.Left(tab);
        accelerator = text.Mid(tab + 1);
    }
}

void COXMenuSkinClassic::DrawMarlettGlyph(CDC* dc, const RECT& rect, LPCTSTR glyph, COLORREF colour) {
    CFont font;
    BOOL made = font.CreateFont(GetSystemMetrics(SM_CYMENUCHECK), 0, 0, 0, FW_NORMAL, 0, 0, 0, SYMBOL_CHARSET, 0, 0, 0,
                                0, "Marlett");
    CFont* old = made ? dc->SelectObject(&font) : nullptr;
    int oldMode = dc->SetBkMode(TRANSPARENT);
    COLORREF oldColour = dc->SetTextColor(colour);
    RECT r = rect;
    dc->DrawText(glyph, 1, &r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    dc->SetTextColor(oldColour);
    dc->SetBkMode(oldMode);
    if (old)
        dc->SelectObject(old);
}

void COXMenuSkinClassic::CalcItemLayout(CDC*, COXImageInfo* image, const RECT& item, RECT& imageFrame,
                                        RECT& imageRect, RECT& textRect, RECT& accelRect, COXBitmapMenuView* menu) {
    const int* m = m_metrics.values;
    SetRectEmpty(&imageFrame);
    SetRectEmpty(&imageRect);
    if (image && image->imageList) {
        int w = 0, h = 0;
        ImageList_GetIconSize(image->imageList, &w, &h);
        imageRect.left = item.left + m[0];
        imageRect.top = item.top + (item.bottom - item.top - h) / 2;
        imageRect.right = imageRect.left + w;
        imageRect.bottom = imageRect.top + h;
        imageFrame = imageRect;
        InflateRect(&imageFrame, 2, 2);
    }
    int spare = (item.bottom - item.top - menu->GetTextHeight()) / 2;
    textRect.left = m[0] + menu->GetImageColumnWidth() + m[2];
    textRect.right = textRect.left + menu->GetTextWidth();
    textRect.top = item.top + spare;
    textRect.bottom = item.bottom - spare;
    accelRect.right = item.right - m[4];
    accelRect.left = accelRect.right - menu->GetAcceleratorWidth();
    int gap = accelRect.left - textRect.right;
    OffsetRect(&accelRect, -gap / 2, 0);
    accelRect.top = textRect.top;
    accelRect.bottom = textRect.bottom;
}

void COXMenuSkinClassic::DrawBackground(CDC* dc, UINT state, COXImageInfo* image, const RECT& item,
                                        const RECT& imageCell, COXBitmapMenuView* menu) {
    BOOL rare = (state & OXODS_RARELYUSED) != 0;
    BOOL checked = (state & ODS_CHECKED) != 0, selected = (state & ODS_SELECTED) != 0;
    BOOL checkmark = IsCheckmarkImage(image);
    if (!rare || checkmark) {
        if (!checked)
            dc->FillSolidRect(&imageCell, Sys(selected && checkmark ? COLOR_HIGHLIGHT : COLOR_MENU));
        else if (selected)
            dc->FillSolidRect(&imageCell, Sys(COLOR_MENU));
        else
            FillDithered(dc, imageCell);
    } else {
        FillDithered(dc, imageCell);
    }
    if (!rare || selected) {
        int d = checked ? 2 : (checkmark ? -1 : 1);
        int left = m_metrics.values[0] + menu->GetImageColumnWidth() + d;
        left = std::max<int>(left, imageCell.right);
        RECT r{left, item.top, item.right, item.bottom - 1};
        dc->FillSolidRect(&r, Sys(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    } else {
        FillDithered(dc, item);
        if (state & OXODS_FIRSTOFRUN)
            dc->FillSolidRect(item.left, item.top, item.right - item.left, 1, Sys(COLOR_BTNSHADOW));
        if (state & OXODS_LASTOFRUN)
            dc->FillSolidRect(item.left, item.bottom - 1, item.right - item.left, 1, Sys(COLOR_BTNHIGHLIGHT));
    }
}

void COXMenuSkinClassic::DrawImageFrame(CDC* dc, UINT state, COXImageInfo* image, const RECT& frame,
                                        COXBitmapMenuView*) {
    RECT r = frame;
    if (state & ODS_CHECKED)
        dc->DrawEdge(&r, BDR_SUNKENOUTER, BF_RECT);
    else if ((state & ODS_SELECTED) && !(state & ODS_DISABLED) && !IsCheckmarkImage(image))
        dc->DrawEdge(&r, BDR_RAISEDINNER, BF_RECT);
}

void COXMenuSkinClassic::DrawImage(CDC* dc, UINT state, COXImageInfo* image, const RECT& rect, COXBitmapMenuView*) {
    if (!image || !image->imageList)
        return;
    if (IsCheckmarkImage(image) && !(state & ODS_CHECKED))
        return;
    int index = image->index;
    if ((state & ODS_SELECTED) && image->hotIndex >= 0)
        index = image->hotIndex;
    if (!(state & ODS_DISABLED)) {
        ImageList_Draw(image->imageList, index, *dc, rect.left, rect.top, ILD_TRANSPARENT);
        return;
    }
    OXDrawImageState(dc, image->imageList, index, rect.left, rect.top, DSS_DISABLED, nullptr);
}

void COXMenuSkinClassic::DrawText(CDC* dc, UINT state, const CString& text, const RECT& textRect,
                                  const RECT& accelRect, COXBitmapMenuView*) {
    CString label, accelerator;
    SplitText(text, label, accelerator);
    BOOL disabled = (state & ODS_DISABLED) != 0, selected = (state & ODS_SELECTED) != 0;
    COLORREF colour = Sys(disabled ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
    UINT flags = (disabled && !selected) ? DSS_DISABLED : DSS_NORMAL;
    DrawLabels(dc, colour, flags, label, accelerator, textRect, accelRect);
}

void COXMenuSkinClassic::DrawLabels(CDC* dc, COLORREF colour, UINT flags, const CString& label,
                                    const CString& accelerator, const RECT& textRect, const RECT& accelRect) {
    COLORREF oldColour = dc->SetTextColor(colour);
    int oldMode = dc->SetBkMode(TRANSPARENT);
    dc->DrawState(POINT{textRect.left, textRect.top}, SIZE{textRect.right - textRect.left, textRect.bottom - textRect.top},
                  label, flags, TRUE, 0, (HBRUSH) nullptr);
    if (!accelerator.IsEmpty()) {
        RECT extent{};
        dc->DrawText(accelerator, &extent, DT_CALCRECT | DT_SINGLELINE);
        int width = extent.right - extent.left;
        dc->DrawState(POINT{accelRect.right - width, accelRect.top}, SIZE{width, extent.bottom - extent.top},
                      accelerator, flags, TRUE, 0, (HBRUSH) nullptr);
    }
    dc->SetBkMode(oldMode);
    dc->SetTextColor(oldColour);
}

void COXMenuSkinClassic::DrawSeparator(CDC* dc, const RECT& rect, COXBitmapMenuView*) {
    RECT r = rect;
    r.left += 2;
    r.right -= 2;
    r.top = r.top + (r.bottom - r.top) / 2 - 1;
    r.bottom = r.top + 2;
    dc->Draw3dRect(&r, Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNHIGHLIGHT));
}

void COXMenuSkinClassic::DrawCustomizedItem(CDC* dc, const RECT& rect, COXBitmapMenuView*) {
    SIZE border{2, 2};
    AfxDrawDragRect(*dc, &rect, border, nullptr, border);
}

void COXMenuSkinClassic::DrawInsertMark(CDC* dc, const RECT& item, BOOL before, COXBitmapMenuView*) {
    int l = item.left + 2, r = item.right - 2;
    int t = before ? item.top - 2 : item.bottom - 2;
    int b = t + 3;
    POINT points[] = {{l, t}, {l + 1, t + 1}, {r - 1, t + 1}, {r, t}, {r, b},
                      {r - 1, b - 1}, {l + 1, b - 1}, {l, b}, {l, t}};
    dc->Polyline(points, 9);
}

void COXMenuSkinClassic::DrawSubmenuItem(CDC* dc, UINT state, const CString& text, COXImageInfo* image,
                                         const RECT& item, const RECT& imageFrame, const RECT& textRect,
                                         const RECT& accelRect, COXBitmapMenuView* menu) {
    DrawBackground(dc, state, image, item, imageFrame, menu);
    if (menu->DrawsSubmenuArrows())
        DrawMarlettGlyph(dc, accelRect, "8", (state & ODS_DISABLED) ? Sys(COLOR_BTNSHADOW) : dc->GetTextColor());
    CString label, accelerator;
    SplitText(text, label, accelerator);
    DrawText(dc, state, label, textRect, accelRect, menu);
}

void COXMenuSkinClassic::DrawExpansionItem(CDC* dc, const RECT& rect, UINT state, COXBitmapMenuView*) {
    int colour = (state & ODS_DISABLED) ? COLOR_GRAYTEXT : (state & ODS_SELECTED) ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT;
    DrawMarlettGlyph(dc, rect, "6", Sys(colour));
}

LRESULT COXMenuSkinClassic::PopupWindowProc(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    return ::CallWindowProc(previous, window, message, wParam, lParam);
}

void COXMenuSkinClassic::OnNcPaintPopup(CWnd* popup) {
    popup->Default();
}

void COXMenuSkinClassic::OnPaintShadowedItem(CWnd* itemWindow) {
    itemWindow->Default();
}

// Office XP.

COXMenuSkinXP::COXMenuSkinXP(COXSkinXP* skin) : m_pSkin(skin) {
    m_metrics = OXMenuMetrics{{3, 5, 15, 12, 6, 10, 4, 3, 16, 16}};
}

void COXMenuSkinXP::CalcItemLayout(CDC* dc, COXImageInfo* image, const RECT& item, RECT& imageFrame, RECT& imageRect,
                                   RECT& textRect, RECT& accelRect, COXBitmapMenuView* menu) {
    COXMenuSkinClassic::CalcItemLayout(dc, image, item, imageFrame, imageRect, textRect, accelRect, menu);
    imageFrame = RECT{item.left + 1, item.top + 1, item.left + 1 + menu->GetImageColumnWidth() + 4, item.bottom - 1};
    if (IsCheckmarkImage(image)) {
        int w = imageRect.right - imageRect.left;
        imageRect.left = imageFrame.left + (imageFrame.right - imageFrame.left - w) / 2;
        imageRect.right = imageRect.left + w;
    }
}

void COXMenuSkinXP::DrawBackground(CDC* dc, UINT state, COXImageInfo*, const RECT& item, const RECT&,
                                   COXBitmapMenuView* menu) {
    if ((state & ODS_SELECTED) && !(state & ODS_DISABLED)) {
        CPen pen(PS_SOLID, 1, m_pSkin->GetHighlightBorderColor());
        CBrush brush(m_pSkin->GetHotItemColor());
        CPen* oldPen = dc->SelectObject(&pen);
        CBrush* oldBrush = dc->SelectObject(&brush);
        dc->Rectangle(&item);
        dc->SelectObject(oldBrush);
        dc->SelectObject(oldPen);
        return;
    }
    dc->FillSolidRect(&item, m_pSkin->GetMenuBackgroundColor());
    const int* m = m_metrics.values;
    RECT column{item.left, item.top, m[0] + menu->GetImageColumnWidth() + m[1], item.bottom};
    COLORREF colour = (state & OXODS_RARELYUSED) ? COXSkinXP::AdjustColor(Sys(COLOR_BTNFACE), -8, -8, -8)
                                                 : m_pSkin->GetBarBackgroundColor();
    dc->FillSolidRect(&column, colour);
}

void COXMenuSkinXP::DrawImageFrame(CDC* dc, UINT state, COXImageInfo*, const RECT& frame, COXBitmapMenuView*) {
    if (!(state & ODS_CHECKED))
        return;
    CPen pen(PS_SOLID, 1, m_pSkin->GetHighlightBorderColor());
    CBrush brush((state & ODS_SELECTED) ? m_pSkin->GetPressedItemColor() : m_pSkin->GetCheckedItemColor());
    CPen* oldPen = dc->SelectObject(&pen);
    CBrush* oldBrush = dc->SelectObject(&brush);
    dc->Rectangle(&frame);
    dc->SelectObject(oldBrush);
    dc->SelectObject(oldPen);
}

void COXMenuSkinXP::DrawImage(CDC* dc, UINT state, COXImageInfo* image, const RECT& rect, COXBitmapMenuView* menu) {
    if (!image || !image->imageList)
        return;
    if (IsCheckmarkImage(image) && !(state & ODS_CHECKED))
        return;
    BOOL hot = (state & ODS_SELECTED) && !(state & ODS_CHECKED) && !(state & ODS_DISABLED);
    if (!hot) {
        COXMenuSkinClassic::DrawImage(dc, state & ~ODS_SELECTED, image, rect, menu);
        return;
    }
    // Raised: the image one pixel up and left over its shadow.
    int index = image->hotIndex >= 0 ? image->hotIndex : image->index;
    CBrush shadow(Sys(COLOR_BTNSHADOW));
    RECT below = rect;
    OffsetRect(&below, 1, 1);
    OXDrawImageState(dc, image->imageList, index, below.left, below.top, DSS_MONO, &shadow);
    ImageList_Draw(image->imageList, image->hotIndex >= 0 ? image->hotIndex : image->index, *dc, rect.left - 1,
                   rect.top - 1, ILD_TRANSPARENT);
}

void COXMenuSkinXP::DrawText(CDC* dc, UINT state, const CString& text, const RECT& textRect, const RECT& accelRect,
                             COXBitmapMenuView*) {
    CString label, accelerator;
    SplitText(text, label, accelerator);
    COLORREF colour = (state & ODS_DISABLED) ? m_pSkin->GetAltLightShadowColor() : Sys(COLOR_MENUTEXT);
    DrawLabels(dc, colour, DSS_NORMAL, label, accelerator, textRect, accelRect);
}

void COXMenuSkinXP::DrawSeparator(CDC* dc, const RECT& rect, COXBitmapMenuView* menu) {
    const int* m = m_metrics.values;
    dc->FillSolidRect(&rect, m_pSkin->GetMenuBackgroundColor());
    RECT column{rect.left, rect.top, m[0] + menu->GetImageColumnWidth() + m[1], rect.bottom};
    dc->FillSolidRect(&column, m_pSkin->GetBarBackgroundColor());
    int x = m[0] + menu->GetImageColumnWidth() + m[2];
    dc->FillSolidRect(x, (rect.top + rect.bottom) / 2, rect.right - x, 1, m_pSkin->GetLightShadowColor());
}

void COXMenuSkinXP::DrawCustomizedItem(CDC* dc, const RECT& rect, COXBitmapMenuView*) {
    CBrush brush(Sys(COLOR_3DDKSHADOW));
    dc->FrameRect(&rect, &brush);
    RECT inner = rect;
    InflateRect(&inner, -1, -1);
    dc->FrameRect(&inner, &brush);
}

void COXMenuSkinXP::DrawSubmenuItem(CDC* dc, UINT state, const CString& text, COXImageInfo* image, const RECT& item,
                                    const RECT& imageFrame, const RECT& textRect, const RECT& accelRect,
                                    COXBitmapMenuView* menu) {
    DrawBackground(dc, state, image, item, imageFrame, menu);
    DrawText(dc, state, text, textRect, accelRect, menu);
}

void COXMenuSkinXP::DrawExpansionItem(CDC* dc, const RECT& rect, UINT state, COXBitmapMenuView*) {
    DrawMarlettGlyph(dc, rect, "6", (state & ODS_DISABLED) ? m_pSkin->GetLightShadowColor() : Sys(COLOR_MENUTEXT));
}

void COXMenuSkinXP::AdjustExpansionItemHeight(UINT* height, COXBitmapMenuView*) {
    if (height)
        *height = *height / 2 + 1;
}

BOOL COXMenuSkinXP::GetPopupPosition(HWND popup, RECT* rect) const {
    auto it = m_mapPopupPositions.find(popup);
    if (it == m_mapPopupPositions.end())
        return FALSE;
    if (rect)
        *rect = it->second;
    return TRUE;
}

LRESULT COXMenuSkinXP::PopupWindowProc(WNDPROC previous, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    COXBitmapMenuView* menu = GetTrackingBitmapMenu();
    if (!menu)
        return ::CallWindowProc(previous, window, message, wParam, lParam);
    switch (message) {
    case WM_CREATE:
        menu->AddPopupWindow(window);
        break;
    case WM_DESTROY:
        menu->RemovePopupWindow(window);
        m_mapPopupPositions.erase(window);
        break;
    case WM_WINDOWPOSCHANGING: {
        auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
        if (pos && !(pos->flags & SWP_NOSIZE)) {
            pos->cx += 4;
            pos->cy += 4;
        }
        if (pos)
            m_mapPopupPositions[window] = RECT{pos->x, pos->y, pos->x + pos->cx, pos->y + pos->cy};
        break;
    }
    case WM_NCCALCSIZE: {
        // The shadow lies outside the client area, along the right and bottom edges.
        LRESULT result = ::CallWindowProc(previous, window, message, wParam, lParam);
        RECT* client = reinterpret_cast<RECT*>(lParam);
        if (client) {
            client->right = std::max(client->left, client->right - 4);
            client->bottom = std::max(client->top, client->bottom - 4);
        }
        return result;
    }
    case WM_NCPAINT:
        OnNcPaintPopup(CWnd::FromHandle(window));
        return 0;
    case WM_PRINT:
        if (wParam) {
            PaintPopup(CDC::FromHandle((HDC)wParam), window, (lParam & PRF_CLIENT) != 0);
            return 0;
        }
        OnNcPaintPopup(CWnd::FromHandle(window));
        return 0;
    case WM_ERASEBKGND:
        return 0;
    default:
        break;
    }
    return ::CallWindowProc(previous, window, message, wParam, lParam);
}

namespace {

// A memory DC over a bitmap of a window's size, for drawing a window frame in one pass.
class FrameCanvas {
public:
    FrameCanvas(CDC* like, int width, int height) {
        m_dc.CreateCompatibleDC(like);
        m_bitmap.CreateCompatibleBitmap(like, std::max(width, 1), std::max(height, 1));
        m_old = m_dc.SelectObject(&m_bitmap);
    }
    ~FrameCanvas() { m_dc.SelectObject(m_old); }
    FrameCanvas(const FrameCanvas&) = delete;
    FrameCanvas& operator=(const FrameCanvas&) = delete;
    CDC* dc() { return &m_dc; }

private:
    CDC m_dc;
    CBitmap m_bitmap;
    CBitmap* m_old = nullptr;
};

// Window and client rectangles of a window, both in its window coordinates.
void WindowRects(HWND window, RECT& whole, RECT& client) {
    RECT screen{};
    ::GetWindowRect(window, &screen);
    ::GetClientRect(window, &client);
    POINT origin{0, 0};
    ::ClientToScreen(window, &origin);
    OffsetRect(&client, origin.x - screen.left, origin.y - screen.top);
    whole = RECT{0, 0, screen.right - screen.left, screen.bottom - screen.top};
}

// Opens the frame's edge where the menu-bar item (window coordinates) lies just outside it: the part of
// the edge alongside the item, less its end pixels, takes the background colour.
void OpenEdgeTowards(CDC* dc, const RECT& frame, const RECT& item, COLORREF background) {
    constexpr int kReach = 4;  // how far outside the edge the item may end and still touch it
    auto overlap = [](LONG a0, LONG a1, LONG b0, LONG b1, LONG& from, LONG& to) {
        from = std::max(a0, b0) + 1;
        to = std::min(a1, b1) - 1;
        return to > from;
    };
    LONG from = 0, to = 0;
    if (item.bottom <= frame.top && frame.top - item.bottom <= kReach &&
        overlap(frame.left, frame.right, item.left, item.right, from, to))
        dc->FillSolidRect(from, frame.top, to - from, 1, background);
    if (item.top >= frame.bottom && item.top - frame.bottom <= kReach &&
        overlap(frame.left, frame.right, item.left, item.right, from, to))
        dc->FillSolidRect(from, frame.bottom - 1, to - from, 1, background);
    if (item.right <= frame.left && frame.left - item.right <= kReach &&
        overlap(frame.top, frame.bottom, item.top, item.bottom, from, to))
        dc->FillSolidRect(frame.left, from, 1, to - from, background);
    if (item.left >= frame.right && item.left - frame.right <= kReach &&
        overlap(frame.top, frame.bottom, item.top, item.bottom, from, to))
        dc->FillSolidRect(frame.right - 1, from, 1, to - from, background);
}

}  // namespace

void COXMenuSkinXP::PaintPopup(CDC* target, HWND popup, BOOL printClient) {
    RECT whole{}, client{};
    WindowRects(popup, whole, client);
    int width = whole.right, height = whole.bottom;
    if (width <= 0 || height <= 0)
        return;
    FrameCanvas canvas(target, width, height);
    CDC* dc = canvas.dc();
    COLORREF background = m_pSkin->GetMenuBackgroundColor();
    dc->FillSolidRect(&whole, background);
    RECT body{0, 0, std::max(width - 4, 0), std::max(height - 4, 0)};
    RECT inner = body;
    InflateRect(&inner, -1, -1);
    if (!IsRectEmpty(&inner))
        DrawPopupBorder(dc, inner);
    COXBitmapMenuView* menu = GetTrackingBitmapMenu();
    int columnWidth = menu ? menu->GetImageColumnWidth() : 16;
    RECT column{0, 2, m_metrics.values[0] + columnWidth + 7, height - 4};
    if (column.bottom > column.top)
        FillImageColumn(dc, column);
    if (printClient && !IsRectEmpty(&client)) {
        POINT old = dc->SetViewportOrg(client.left, client.top);
        ::SendMessage(popup, WM_PRINTCLIENT, (WPARAM)dc->GetSafeHdc(), PRF_CLIENT | PRF_ERASEBKGND);
        dc->SetViewportOrg(old.x, old.y);
    }
    CBrush frame(Sys(COLOR_BTNSHADOW));
    dc->FrameRect(&body, &frame);
    RECT item{};
    if (menu && menu->GetExcludeRect(&item)) {
        RECT screen{};
        ::GetWindowRect(popup, &screen);
        OffsetRect(&item, -screen.left, -screen.top);
        OpenEdgeTowards(dc, body, item, background);
    }
    DrawShadowOverScreen(dc, popup, width, height, 0);
    int saved = target->SaveDC();
    if (!printClient)
        target->ExcludeClipRect(&client);
    target->BitBlt(0, 0, width, height, dc, 0, 0, SRCCOPY);
    target->RestoreDC(saved);
}

void COXMenuSkinXP::OnNcPaintPopup(CWnd* popup) {
    CWindowDC dc(popup);
    PaintPopup(&dc, popup->GetSafeHwnd(), FALSE);
}

int COXMenuSkinXP::ShadowSideOf(int openSide) {
    switch (openSide) {
    case 2:
        return 2;
    case 4:
        return 3;
    case 8:
        return 4;
    default:
        return 1;
    }
}

void COXMenuSkinXP::DrawShadowOverScreen(CDC* dc, HWND window, int width, int height, int side) {
    if (width < 4 || height < 4)
        return;
    RECT screen{};
    ::GetWindowRect(window, &screen);
    HDC beneath = user::CreateDesktopSnapshotBeneathDC(window);
    if (beneath) {
        CDC* source = CDC::FromHandle(beneath);
        dc->BitBlt(width - 4, 0, 4, height, source, screen.left + width - 4, screen.top, SRCCOPY);
        dc->BitBlt(0, height - 4, width, 4, source, screen.left, screen.top + height - 4, SRCCOPY);
        ::DeleteDC(beneath);
    }
    DrawShadow(dc, width, height, side);
}

void COXMenuSkinXP::FillShadowedItem(CDC* dc, const RECT& item, COXShadowedItemView* view, HWND itemWindow) {
    dc->FillSolidRect(&item, m_pSkin->GetMenuBackgroundColor());
    DrawDroppedButton(dc, item, view, itemWindow, FALSE);
}

void COXMenuSkinXP::OnPaintShadowedItem(CWnd* itemWindow) {
    HWND h = itemWindow->GetSafeHwnd();
    auto* view = dynamic_cast<COXShadowedItemView*>(itemWindow);
    int open = view ? view->GetOpenSide() : 1;
    CPaintDC paint(itemWindow);
    CWindowDC dc(itemWindow);
    RECT whole{}, client{};
    WindowRects(h, whole, client);
    int width = whole.right, height = whole.bottom;
    if (width <= 4 || height <= 4)
        return;
    FrameCanvas canvas(&dc, width, height);
    CDC* mem = canvas.dc();
    RECT item{0, 0, width - 4, height - 4};
    FillShadowedItem(mem, item, view, h);
    // The outline leaves out the side that touches the menu.
    COLORREF line = Sys(COLOR_BTNSHADOW);
    int w = item.right, ht = item.bottom;
    if (open != 8)
        mem->FillSolidRect(0, 0, w, 1, line);
    if (open != 1)
        mem->FillSolidRect(0, ht - 1, w, 1, line);
    if (open != 4)
        mem->FillSolidRect(0, 0, 1, ht, line);
    if (open != 2)
        mem->FillSolidRect(w - 1, 0, 1, ht, line);
    DrawShadowOverScreen(mem, h, width, height, ShadowSideOf(open));
    dc.BitBlt(0, 0, width, height, mem, 0, 0, SRCCOPY);
}

void COXMenuSkinXP::DrawShadow(CDC* dc, int width, int height, int side) {
    auto amount = [](int k, int step) { return step * (k + 1); };
    // Right band: the 4 rightmost columns, outermost first.
    if (side != 2) {
        for (int k = 0; k < 4; ++k) {
            int x = width - 1 - k;
            int full = 15 * (k + 1);
            int startRow = side == 4 ? 1 : 4;
            for (int y = startRow; y < height; ++y) {
                int a = full;
                if (side != 4 && y >= 4 && y <= 7)
                    a = amount(k, 3 * (y - 3));  // rows 4..7 fade in: 3, 6, 9, 12 times (k+1)
                int fromBottom = height - 1 - y;
                if (fromBottom < 4) {
                    if (side == 1)
                        continue;
                    a = amount(k, 3 * (fromBottom + 1));
                }
                dc->SetPixel(x, y, COXSkinXP::DarkenColor(a, dc->GetPixel(x, y)));
            }
        }
    }
    // Bottom band: the 4 lowest rows, outermost first.
    if (side != 1) {
        for (int k = 0; k < 4; ++k) {
            int y = height - 1 - k;
            int full = 15 * (k + 1);
            int startCol = side == 3 ? 1 : 4;
            for (int x = startCol; x < width - 4; ++x) {
                int a = full;
                if (side != 3 && x >= 4 && x <= 7)
                    a = amount(k, 3 * (x - 3));
                dc->SetPixel(x, y, COXSkinXP::DarkenColor(a, dc->GetPixel(x, y)));
            }
        }
    }
}

void COXMenuSkinXP::FillImageColumn(CDC* dc, const RECT& rect) {
    dc->FillSolidRect(&rect, m_pSkin->GetBarBackgroundColor());
}

void COXMenuSkinXP::DrawPopupBorder(CDC* dc, const RECT& rect) {
    CBrush brush(m_pSkin->GetBarBackgroundColor());
    dc->FrameRect(&rect, &brush);
}

void COXMenuSkinXP::FillImageColumnHdc(HDC dc, const RECT& rect) {
    FillImageColumn(CDC::FromHandle(dc), rect);
}

// Office 2003.

COXMenuSkin2003::COXMenuSkin2003(COXSkin2003* skin) : COXMenuSkinXP(skin), m_pSkin2003(skin) {}

void COXMenuSkin2003::ColumnGradient(CDC* dc, const RECT& rect, BOOL rare) {
    COLORREF light = m_pSkin2003->GetMenuGradientLightColor(), dark = m_pSkin2003->GetMenuBarGradientDarkColor();
    if (rare) {
        light = COXSkinXP::BlendColors(light, 0, 0, 0.93f, 0.07f, 0);
        dark = COXSkinXP::BlendColors(dark, 0, 0, 0.93f, 0.07f, 0);
    }
    m_pSkin2003->FillGradient(dc, rect, light, dark, 0);
}

void COXMenuSkin2003::DrawBackground(CDC* dc, UINT state, COXImageInfo* image, const RECT& item, const RECT& cell,
                                     COXBitmapMenuView* menu) {
    if ((state & ODS_SELECTED) && !(state & ODS_DISABLED)) {
        COXMenuSkinXP::DrawBackground(dc, state, image, item, cell, menu);
        return;
    }
    dc->FillSolidRect(&item, m_pSkin2003->GetMenuBackgroundColor());
    const int* m = m_metrics.values;
    RECT column{item.left - 2, item.top, m[0] + menu->GetImageColumnWidth() + m[1], item.bottom};
    ColumnGradient(dc, column, (state & OXODS_RARELYUSED) != 0);
}

void COXMenuSkin2003::DrawSeparator(CDC* dc, const RECT& rect, COXBitmapMenuView* menu) {
    const int* m = m_metrics.values;
    dc->FillSolidRect(&rect, m_pSkin2003->GetMenuBackgroundColor());
    RECT column{rect.left - 2, rect.top, m[0] + menu->GetImageColumnWidth() + m[1], rect.bottom};
    ColumnGradient(dc, column, FALSE);
    int x = m[0] + menu->GetImageColumnWidth() + m[2];
    dc->FillSolidRect(x, (rect.top + rect.bottom) / 2, rect.right - x, 1, m_pSkin2003->GetLightShadowColor());
}

void COXMenuSkin2003::FillImageColumn(CDC* dc, const RECT& rect) {
    RECT r = rect;
    r.bottom += 2;
    ColumnGradient(dc, r, FALSE);
}

void COXMenuSkin2003::DrawPopupBorder(CDC* dc, const RECT& rect) {
    m_pSkin2003->FillGradient(dc, rect, m_pSkin2003->GetMenuGradientLightColor(),
                                  m_pSkin2003->GetMenuGradientDarkColor(), 1);
}

namespace {

// A tool bar as it shows while its menu is open: everything as the bar says, except that no command
// counts as the last dropped-down one, so drawing the dropped button leaves the bar's record alone.
class OpenMenuBarView : public COXCoolToolBarView {
public:
    explicit OpenMenuBarView(COXCoolToolBarView* bar) : m_bar(bar) {}
    HWND GetBarHwnd() const override { return m_bar->GetBarHwnd(); }
    UINT GetBarId() const override { return m_bar->GetBarId(); }
    DWORD GetBarStyle() const override { return m_bar->GetBarStyle(); }
    BOOL HasDockContext() const override { return m_bar->HasDockContext(); }
    int GetCustomizedButton() const override { return m_bar->GetCustomizedButton(); }
    BOOL IsCustomButton(int index) const override { return m_bar->IsCustomButton(index); }
    BOOL IsCool() const override { return m_bar->IsCool(); }
    BOOL HasSeparatorFlag() const override { return m_bar->HasSeparatorFlag(); }
    BOOL IsDropDownArrow() const override { return m_bar->IsDropDownArrow(); }
    COLORREF GetCustomColor(OXToolbarState state, OXToolbarColorPart part) const override {
        return m_bar->GetCustomColor(state, part);
    }
    DWORD GetComCtlVersion() const override { return m_bar->GetComCtlVersion(); }
    BOOL IsMenuBar() const override { return m_bar->IsMenuBar(); }
    int GetDroppedCommand() const override { return -1; }
    void ResetDroppedCommand() override {}
    CString GetMenuItemText(int position) const override { return m_bar->GetMenuItemText(position); }
    HWND GetBandReferenceWindow() const override { return m_bar->GetBandReferenceWindow(); }
    void DrawBorders(CDC* dc, RECT& rect) override { m_bar->DrawBorders(dc, rect); }
    void DrawSeparator(CDC* dc, RECT& rect) override { m_bar->DrawSeparator(dc, rect); }
    void DrawCustomizedButton(CDC* dc, RECT& rect) override { m_bar->DrawCustomizedButton(dc, rect); }
    LRESULT Default() override { return m_bar->Default(); }

private:
    COXCoolToolBarView* m_bar;
};

}  // namespace

BOOL COXMenuSkinXP::DrawDroppedButton(CDC* dc, const RECT& item, COXShadowedItemView* view, HWND itemWindow,
                                      BOOL withBar) {
    COXCoolToolBarView* bar = view ? view->GetToolBarView() : nullptr;
    auto* toolbarSkin = dynamic_cast<COXToolbarSkinXP*>(m_pSkin->GetToolbarSkin());
    TBBUTTON button{};
    RECT buttonRect{};
    HWND barWindow = bar ? bar->GetBarHwnd() : nullptr;
    if (!toolbarSkin || !barWindow || view->GetButtonIndex() < 0 ||
        !::SendMessage(barWindow, TB_GETBUTTON, (WPARAM)view->GetButtonIndex(), (LPARAM)&button) ||
        !::SendMessage(barWindow, TB_GETITEMRECT, (WPARAM)view->GetButtonIndex(), (LPARAM)&buttonRect))
        return FALSE;
    // The item window lies over the button: draw the bar in its coordinates, clipped to the item.
    RECT screen{};
    ::GetWindowRect(itemWindow, &screen);
    POINT origin{0, 0};
    ::ClientToScreen(barWindow, &origin);
    int saved = dc->SaveDC();
    dc->IntersectClipRect(&item);
    dc->SetViewportOrg(origin.x - screen.left, origin.y - screen.top);
    OpenMenuBarView open(bar);
    if (withBar)
        toolbarSkin->DrawBackground(dc, &open);
    // Over the item's own face, not the pressed one: its text stays in the dark text colour.
    button.fsState &= ~TBSTATE_PRESSED;
    toolbarSkin->DrawButton(dc, button, buttonRect, &open, FALSE);
    dc->RestoreDC(saved);
    return TRUE;
}

void COXMenuSkin2003::FillShadowedItem(CDC* dc, const RECT& item, COXShadowedItemView* view, HWND itemWindow) {
    if (!DrawDroppedButton(dc, item, view, itemWindow, TRUE))
        COXMenuSkinXP::FillShadowedItem(dc, item, view, itemWindow);
}
