#include "guilib/skins/OXToolbarSkin.h"

#include "guilib/skins/OXSkin.h"
#include <algorithm>

#include "platform/framework/bars/RectTracker.h"
#include "platform/user/ComboBox.h"
#include "platform/user/DrawState.h"
#include "platform/framework/frames/FrameWnd.h"

namespace {

COLORREF Sys(int index) {
    return GetSysColor(index);
}

BOOL IsFloating(COXCoolToolBarView* bar) {
    return (bar->GetBarStyle() & CBRS_FLOATING) != 0;
}

BOOL IsHorz(COXCoolToolBarView* bar) {
    return (bar->GetBarStyle() & CBRS_ORIENT_HORZ) != 0;
}

BOOL IsSet(COLORREF c) {
    return c != CLR_DEFAULT;
}

// The state whose custom colours a button takes.
OXToolbarState PickState(UINT itemState) {
    BOOL checked = (itemState & CDIS_CHECKED) != 0;
    BOOL hot = (itemState & CDIS_HOT) != 0;
    BOOL selected = (itemState & CDIS_SELECTED) != 0;
    if (checked && hot)
        return OXTB_PRESSED;
    if (checked)
        return OXTB_CHECKED;
    if (hot || selected)
        return selected ? OXTB_PRESSED : OXTB_HOT;
    return OXTB_NORMAL;
}

// Width of the "Marlett" glyph "6" at the menu check height: the drop-down arrow strip.
int DropDownArrowWidth(CDC* dc, int height) {
    CFont font;
    font.CreateFont(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, SYMBOL_CHARSET, 0, 0, 0, 0, "Marlett");
    CFont* old = dc->SelectObject(&font);
    SIZE size = dc->GetTextExtent("6", 1);
    dc->SelectObject(old);
    return size.cx;
}

LRESULT BarSend(COXCoolToolBarView* bar, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ::SendMessage(bar->GetBarHwnd(), msg, wParam, lParam);
}

}  // namespace

BOOL COXToolbarSkin::OfferToFrame(NMHDR* notify, LRESULT* result, COXCoolToolBarView* bar) {
    auto* cd = reinterpret_cast<NMCUSTOMDRAW*>(notify);
    CWnd* barWnd = CWnd::FromHandle(bar->GetBarHwnd());
    HWND target = nullptr;
    if (IsFloating(bar)) {
        CWnd* top = barWnd->GetTopLevelParent();
        target = top ? top->GetSafeHwnd() : nullptr;
    } else {
        CFrameWnd* frame = barWnd->GetParentFrame();
        target = frame ? frame->GetSafeHwnd() : nullptr;
    }
    OXNMCUSTOMDRAWOFFER offer{};
    offer.hdr.hwndFrom = bar->GetBarHwnd();
    offer.hdr.idFrom = bar->GetBarId();
    offer.hdr.code = OXTBN_CUSTOMDRAW;
    offer.customDraw = cd;
    offer.result = 0;
    offer.doDefault = TRUE;
    if (target)
        ::SendMessage(target, WM_NOTIFY, (WPARAM)bar->GetBarId(), (LPARAM)&offer);
    if (cd->dwDrawStage == CDDS_PREPAINT && BarSend(bar, TB_BUTTONCOUNT) > 0) {
        RECT settle{};
        BarSend(bar, TB_GETITEMRECT, 0, (LPARAM)&settle);
    }
    if (!offer.doDefault) {
        *result = offer.result;
        return TRUE;
    }
    return FALSE;
}

// Classic.

void COXToolbarSkinClassic::DrawGripper(CDC* dc, RECT& rect, COXCoolToolBarView* bar) {
    if (IsFloating(bar))
        return;
    COLORREF hi = Sys(COLOR_BTNHIGHLIGHT), sh = Sys(COLOR_BTNSHADOW);
    RECT r = rect;
    if (IsHorz(bar)) {
        InflateRect(&r, -1, -1);
        OffsetRect(&r, 0, 1);
        if (bar->HasDockContext()) {
            r.left += 2;
            r.bottom -= 2;
        } else if (bar->GetBarStyle() & CBRS_BORDER_BOTTOM) {
            r.top -= 2;
            r.bottom -= 2;
        }
        r.right = r.left + 3;
        dc->Draw3dRect(&r, hi, sh);
        OffsetRect(&r, 3, 0);
        dc->Draw3dRect(&r, hi, sh);
    } else {
        r.right -= 2;
        r.top += 1;
        r.bottom -= 1;
        OffsetRect(&r, 0, 1);
        if (bar->HasDockContext())
            r.left += 2;
        else
            r.right += 2;
        r.bottom = r.top + 3;
        dc->Draw3dRect(&r, hi, sh);
        OffsetRect(&r, 0, 3);
        dc->Draw3dRect(&r, hi, sh);
    }
}

void COXToolbarSkinClassic::DrawNonClientArea(CDC* dc, const RECT&, COXCoolToolBarView* bar) {
    HWND h = bar->GetBarHwnd();
    RECT window{}, client{};
    OXGetWindowRects(h, window, client);
    if (!bar->IsCool()) {
        bar->DrawBorders(dc, window);
        if (!(bar->GetBarStyle() & CBRS_BORDER_3D))
            InflateRect(&window, 1, 1);
    }
    int saved = dc->SaveDC();
    dc->IntersectClipRect(&window);
    dc->ExcludeClipRect(&client);
    dc->FillSolidRect(&window, Sys(COLOR_BTNFACE));
    dc->RestoreDC(saved);
}

void COXToolbarSkinClassic::DrawSeparator(CDC* dc, RECT& rect, COXCoolToolBarView* bar) {
    if (rect.right - rect.left > 8)
        return;
    RECT r = rect;
    if (IsHorz(bar)) {
        int mid = (rect.left + rect.right) / 2;
        r.left = mid - 1;
        r.right = mid + 1;
    } else {
        int buttonWidth = LOWORD(BarSend(bar, TB_GETBUTTONSIZE));
        r.right = rect.left;
        r.left = rect.left - buttonWidth;
        r.top = (2 * rect.bottom + 5) / 2 - 1;
        r.bottom = r.top + 2;
    }
    dc->Draw3dRect(&r, Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNHIGHLIGHT));
}

void COXToolbarSkinClassic::DrawCustomizedButton(CDC* dc, RECT& rect, COXCoolToolBarView*) {
    SIZE border{2, 2};
    AfxDrawDragRect(*dc, &rect, border, nullptr, border);
}

void COXToolbarSkinClassic::OnCustomDraw(NMHDR* notify, LRESULT* result, COXCoolToolBarView* bar) {
    if (OfferToFrame(notify, result, bar))
        return;
    auto* cd = reinterpret_cast<NMCUSTOMDRAW*>(notify);
    BOOL newControls = bar->GetComCtlVersion() >= OX_COMCTL_471;
    CDC dc;
    dc.Attach(cd->hdc);
    *result = CDRF_DODEFAULT;
    switch (cd->dwDrawStage) {
    case CDDS_PREPAINT: {
        RECT client{};
        ::GetClientRect(bar->GetBarHwnd(), &client);
        dc.FillSolidRect(&client, Sys(COLOR_BTNFACE));
        if (!newControls && (::GetWindowLong(bar->GetBarHwnd(), GWL_STYLE) & TBSTYLE_FLAT) && bar->HasSeparatorFlag()) {
            int count = (int)BarSend(bar, TB_BUTTONCOUNT);
            for (int i = 0; i < count; ++i) {
                TBBUTTON button{};
                BarSend(bar, TB_GETBUTTON, (WPARAM)i, (LPARAM)&button);
                if (!(button.fsStyle & TBSTYLE_SEP) || button.fsState == TBSTATE_HIDDEN)
                    continue;
                RECT r{};
                BarSend(bar, TB_GETITEMRECT, (WPARAM)i, (LPARAM)&r);
                if (button.fsState & TBSTATE_WRAP) {
                    dc.FillSolidRect(&r, Sys(COLOR_BTNFACE));
                } else {
                    r.top -= 1;
                    bar->DrawSeparator(&dc, r);
                }
            }
        }
        int customized = bar->GetCustomizedButton();
        if (customized >= 0 && bar->IsCustomButton(customized)) {
            RECT r{};
            BarSend(bar, TB_GETITEMRECT, (WPARAM)customized, (LPARAM)&r);
            bar->DrawCustomizedButton(&dc, r);
        }
        *result = CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
        break;
    }
    case CDDS_ITEMPREPAINT: {
        *result = CDRF_NOTIFYPOSTPAINT;
        if (BarSend(bar, TB_ISBUTTONHIDDEN, cd->dwItemSpec))
            break;
        OXToolbarState state = PickState(cd->uItemState);
        COLORREF text = bar->GetCustomColor(state, OXTB_TEXT);
        COLORREF border = bar->GetCustomColor(state, OXTB_BORDER);
        COLORREF fill = bar->GetCustomColor(state, OXTB_FILL);
        if (IsSet(text)) {
            if (newControls)
                reinterpret_cast<NMTBCUSTOMDRAW*>(cd)->clrText = text;
            else
                dc.SetTextColor(text);
        }
        RECT r = cd->rc;
        if (IsSet(border)) {
            CBrush brush(border);
            dc.FrameRect(&r, &brush);
            InflateRect(&r, -1, -1);
            if (newControls)
                *result |= TBCDRF_NOEDGES;
        }
        if (IsSet(fill)) {
            dc.FillSolidRect(&r, fill);
            if (newControls)
                *result |= TBCDRF_NOETCHEDEFFECT;
        }
        break;
    }
    case CDDS_ITEMPOSTPAINT: {
        if (BarSend(bar, TB_ISBUTTONHIDDEN, cd->dwItemSpec))
            break;
        int index = (int)BarSend(bar, TB_COMMANDTOINDEX, cd->dwItemSpec);
        TBBUTTON button{};
        BarSend(bar, TB_GETBUTTON, (WPARAM)index, (LPARAM)&button);
        if (bar->IsDropDownArrow() && (button.fsStyle & TBSTYLE_DROPDOWN)) {
            COLORREF border = bar->GetCustomColor(PickState(cd->uItemState), OXTB_BORDER);
            if (IsSet(border)) {
                RECT arrow = cd->rc;
                arrow.left = arrow.right - DropDownArrowWidth(&dc, GetSystemMetrics(SM_CYMENUCHECK));
                CBrush brush(border);
                dc.FrameRect(&arrow, &brush);
            }
        }
        if (index >= 0 && index == bar->GetCustomizedButton() && !bar->IsCustomButton(index)) {
            RECT r = cd->rc;
            bar->DrawCustomizedButton(&dc, r);
        }
        break;
    }
    default:
        break;
    }
    dc.Detach();
}

void COXToolbarSkinClassic::OnPaint(COXCoolToolBarView* bar) {
    bar->Default();
}

void COXToolbarSkinClassic::DrawMDIButtons(CDC* dc, COXMenuBarView* menuBar) {
    HWND frame = menuBar->GetMDIFrameHwnd();
    RECT close = menuBar->GetCloseRect();
    if (!frame || IsRectEmpty(&close))
        return;
    HWND client = ::GetWindow(frame, GW_CHILD);
    while (client) {
        char name[32] = {};
        ::GetClassName(client, name, sizeof name);
        if (strcmp(name, "MDICLIENT") == 0)
            break;
        client = ::GetWindow(client, GW_HWNDNEXT);
    }
    BOOL maximized = FALSE;
    HWND child = client ? (HWND)::SendMessage(client, WM_MDIGETACTIVE, 0, (LPARAM)&maximized) : nullptr;
    if (!child || !maximized)
        return;
    DWORD style = (DWORD)::GetWindowLong(child, GWL_STYLE);
    int pressed = menuBar->GetPressedMDIButton();
    RECT restore = menuBar->GetRestoreRect(), minimize = menuBar->GetMinimizeRect();
    UINT closeState = DFCS_CAPTIONCLOSE | (pressed == -4 ? DFCS_PUSHED : 0);
    dc->DrawFrameControl(&close, DFC_CAPTION, closeState);
    if (!IsRectEmpty(&restore)) {
        UINT state = DFCS_CAPTIONRESTORE | (style & WS_MAXIMIZEBOX ? 0 : DFCS_INACTIVE) | (pressed == -3 ? DFCS_PUSHED : 0);
        dc->DrawFrameControl(&restore, DFC_CAPTION, state);
    }
    if (!IsRectEmpty(&minimize)) {
        UINT state = DFCS_CAPTIONMIN | (style & WS_MINIMIZEBOX ? 0 : DFCS_INACTIVE) | (pressed == -2 ? DFCS_PUSHED : 0);
        dc->DrawFrameControl(&minimize, DFC_CAPTION, state);
    }
}

// Office XP.

void COXToolbarSkinXP::DrawGripper(CDC* dc, RECT& rect, COXCoolToolBarView* bar) {
    if (IsFloating(bar))
        return;
    RECT r = rect;
    if (IsHorz(bar)) {
        r.top += 6;
        r.bottom -= 5;
        r.left += 2;
        if (bar->HasDockContext()) {
            r.left += 2;
            r.bottom -= 2;
        } else if (bar->GetBarStyle() & CBRS_BORDER_BOTTOM) {
            r.top -= 2;
            r.bottom -= 2;
        }
        r.right = r.left + 3;
    } else {
        r.left += 3;
        r.top += 4;
        r.right -= 7;
        if (bar->HasDockContext())
            r.left += 2;
        else
            r.right += 2;
        r.bottom = r.top + 3;
    }
    CPen pen(PS_SOLID, 1, m_pSkin->GetSoftShadowColor());
    CPen* old = dc->SelectObject(&pen);
    if (IsHorz(bar)) {
        for (int y = r.top; y <= r.bottom; y += 2) {
            dc->MoveTo(r.left, y);
            dc->LineTo(r.right, y);
        }
    } else {
        for (int x = r.left; x <= r.right; x += 2) {
            dc->MoveTo(x, r.top);
            dc->LineTo(x, r.bottom);
        }
    }
    dc->SelectObject(old);
}

void COXToolbarSkinXP::DrawNonClientArea(CDC* dc, const RECT& windowRect, COXCoolToolBarView* bar) {
    COLORREF face = Sys(COLOR_BTNFACE);
    RECT r = windowRect;
    dc->FillSolidRect(&r, bar->IsMenuBar() ? face : m_pSkin->GetBarBackgroundColor());
    CBrush brush(face);
    dc->FrameRect(&r, &brush);
    RECT inner = r;
    InflateRect(&inner, -1, -1);
    dc->FrameRect(&inner, &brush);
    InflateRect(&inner, -1, -1);
    dc->SetPixel(inner.left, inner.top, face);
    dc->SetPixel(inner.right - 1, inner.top, face);
    dc->SetPixel(inner.left, inner.bottom - 1, face);
    dc->SetPixel(inner.right - 1, inner.bottom - 1, face);
}

void COXToolbarSkinXP::DrawSeparator(CDC* dc, RECT& rect, COXCoolToolBarView*) {
    RECT r = rect;
    if (rect.bottom - rect.top >= rect.right - rect.left) {
        r.left = (rect.left + rect.right) / 2 - 1;
        r.right = r.left + 1;
    } else {
        r.top = (rect.top + rect.bottom) / 2 - 1;
        r.bottom = r.top + 1;
    }
    dc->FillSolidRect(&r, m_pSkin->GetLightShadowColor());
}

void COXToolbarSkinXP::DrawCustomizedButton(CDC* dc, RECT& rect, COXCoolToolBarView*) {
    CBrush brush(Sys(COLOR_3DDKSHADOW));
    dc->FrameRect(&rect, &brush);
    RECT inner = rect;
    InflateRect(&inner, -1, -1);
    dc->FrameRect(&inner, &brush);
}

void COXToolbarSkinXP::OnCustomDraw(NMHDR* notify, LRESULT* result, COXCoolToolBarView* bar) {
    if (OfferToFrame(notify, result, bar))
        return;
    auto* cd = reinterpret_cast<NMCUSTOMDRAW*>(notify);
    *result = CDRF_DODEFAULT;
    if (cd->dwDrawStage != CDDS_PREPAINT)
        return;
    HWND h = bar->GetBarHwnd();
    RECT client{};
    ::GetClientRect(h, &client);
    CDC screen;
    screen.Attach(cd->hdc);
    CDC mem;
    mem.CreateCompatibleDC(&screen);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&screen, client.right, client.bottom);
    CBitmap* old = mem.SelectObject(&bitmap);
    HFONT font = (HFONT)::SendMessage(h, WM_GETFONT, 0, 0);
    if (font)
        ::SelectObject(mem, font);

    DrawBackground(&mem, bar);
    int count = (int)BarSend(bar, TB_BUTTONCOUNT);
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        BarSend(bar, TB_GETBUTTON, (WPARAM)i, (LPARAM)&button);
        if (button.fsState & TBSTATE_HIDDEN)
            continue;
        RECT r{};
        BarSend(bar, TB_GETITEMRECT, (WPARAM)i, (LPARAM)&r);
        if (!(button.fsStyle & TBSTYLE_SEP)) {
            DrawButton(&mem, button, r, bar, TRUE);
        } else if (button.fsState & TBSTATE_WRAP) {
            RECT line{client.left, r.bottom - (r.right - r.left), client.right, r.bottom};
            bar->DrawSeparator(&mem, line);
        } else if (r.bottom - r.top > r.right - r.left) {
            bar->DrawSeparator(&mem, r);
        }
    }
    int customized = bar->GetCustomizedButton();
    if (customized >= 0) {
        RECT r{};
        BarSend(bar, TB_GETITEMRECT, (WPARAM)customized, (LPARAM)&r);
        bar->DrawCustomizedButton(&mem, r);
    }
    TBINSERTMARK mark{-1, 0};
    BarSend(bar, TB_GETINSERTMARK, 0, (LPARAM)&mark);
    if (mark.iButton >= 0) {
        RECT r{};
        BarSend(bar, TB_GETITEMRECT, (WPARAM)mark.iButton, (LPARAM)&r);
        int x = (mark.dwFlags & TBIMHT_AFTER) ? r.right : r.left;
        mem.FillSolidRect(x - 1, r.top, 3, r.bottom - r.top, Sys(COLOR_3DDKSHADOW));
    }
    screen.BitBlt(0, 0, client.right, client.bottom, &mem, 0, 0, SRCCOPY);
    mem.SelectObject(old);
    screen.Detach();
    *result = CDRF_SKIPDEFAULT;
}

void COXToolbarSkinXP::OnPaint(COXCoolToolBarView* bar) {
    bar->Default();
}

void COXToolbarSkinXP::DrawBackground(CDC* dc, COXCoolToolBarView* bar) {
    RECT client{};
    ::GetClientRect(bar->GetBarHwnd(), &client);
    dc->FillSolidRect(&client, bar->IsMenuBar() ? Sys(COLOR_BTNFACE) : m_pSkin->GetBarBackgroundColor());
}

void COXToolbarSkinXP::FillBackgroundRect(CDC* dc, const RECT& rect) {
    dc->FillSolidRect(&rect, m_pSkin->GetBarBackgroundColor());
}

void COXToolbarSkinXP::FillButton(CDC* dc, const RECT& inner, OXToolbarState state) {
    COLORREF fill = state == OXTB_HOT       ? m_pSkin->GetHotItemColor()
                    : state == OXTB_PRESSED ? m_pSkin->GetPressedItemColor()
                                            : m_pSkin->GetCheckedItemColor();
    dc->FillSolidRect(&inner, fill);
}

void COXToolbarSkinXP::DrawButton(CDC* dc, const TBBUTTON& button, const RECT& rect, COXCoolToolBarView* bar,
                                  BOOL drawBackground) {
    HWND h = bar->GetBarHwnd();
    BOOL checked = (button.fsState & TBSTATE_CHECKED) != 0;
    BOOL pressed = (button.fsState & TBSTATE_PRESSED) != 0;
    BOOL enabled = (button.fsState & TBSTATE_ENABLED) != 0;
    int hotIndex = (int)::SendMessage(h, TB_GETHOTITEM, 0, 0);
    int index = (int)::SendMessage(h, TB_COMMANDTOINDEX, (WPARAM)button.idCommand, 0);
    BOOL hot = enabled && hotIndex >= 0 && hotIndex == index;
    BOOL dropDown = (button.fsStyle & TBSTYLE_DROPDOWN) != 0;
    BOOL arrows = dropDown && bar->IsDropDownArrow();

    RECT arrow = rect;
    if (arrows) {
        CFont marlett;
        marlett.CreatePointFont(80, "Marlett", dc);
        CFont* oldFont = dc->SelectObject(&marlett);
        RECT measure{};
        dc->DrawText("6", 1, &measure, DT_CALCRECT | DT_SINGLELINE);
        dc->SelectObject(oldFont);
        arrow.left = rect.right - (measure.right - measure.left) - 4;
    }

    OXToolbarState state = OXTB_NORMAL;
    if (bar->GetDroppedCommand() == button.idCommand) {
        if (drawBackground)
            FillBackgroundRect(dc, rect);
        bar->ResetDroppedCommand();
        hot = pressed = checked = FALSE;
    } else {
        if (pressed || (checked && hot))
            state = OXTB_PRESSED;
        else if (hot)
            state = OXTB_HOT;
        else if (checked)
            state = OXTB_CHECKED;
        if (drawBackground && state != OXTB_NORMAL) {
            RECT frame = rect;
            if (dropDown && !bar->IsDropDownArrow() && button.iBitmap == I_IMAGECALLBACK) {
                frame.top += 1;
                frame.bottom -= 1;
            }
            RECT inner = frame;
            InflateRect(&inner, -1, -1);
            FillButton(dc, inner, state);
            CBrush border(m_pSkin->GetHighlightBorderColor());
            dc->FrameRect(&frame, &border);
            if (arrows)
                dc->FrameRect(&arrow, &border);
        }
    }

    RECT body = rect;
    if (arrows)
        body.right = arrow.left;
    HIMAGELIST images = (HIMAGELIST)::SendMessage(h, TB_GETIMAGELIST, 0, 0);
    int imageWidth = 0, imageHeight = 0;
    if (images && button.iBitmap >= 0) {
        ImageList_GetIconSize(images, &imageWidth, &imageHeight);
        int x = body.left + (body.right - body.left - imageWidth) / 2;
        int y = body.top + 3;
        if (::GetWindowLong(h, GWL_STYLE) & TBSTYLE_LIST) {
            x = body.left + 3;
            y = body.top + (body.bottom - body.top - imageHeight) / 2;
        }
        HIMAGELIST hotImages = (HIMAGELIST)::SendMessage(h, TB_GETHOTIMAGELIST, 0, 0);
        HIMAGELIST disabledImages = (HIMAGELIST)::SendMessage(h, TB_GETDISABLEDIMAGELIST, 0, 0);
        if (!enabled) {
            if (disabledImages)
                ImageList_Draw(disabledImages, button.iBitmap, *dc, x, y, ILD_TRANSPARENT);
            else
                OXDrawImageMonochrome(dc, images, button.iBitmap, x, y, Sys(COLOR_BTNSHADOW));
        } else if (state == OXTB_HOT) {
            // Raised: the image one pixel up and left over its shadow one pixel right and down.
            HIMAGELIST list = hotImages ? hotImages : images;
            CBrush shadow(Sys(COLOR_BTNSHADOW));
            OXDrawImageState(dc, list, button.iBitmap, x + 1, y + 1, DSS_MONO, &shadow);
            ImageList_Draw(list, button.iBitmap, *dc, x - 1, y - 1, ILD_TRANSPARENT);
        } else {
            ImageList_Draw(images, button.iBitmap, *dc, x, y, ILD_TRANSPARENT);
        }
    }
    if (arrows) {
        CFont marlett;
        marlett.CreatePointFont(80, "Marlett", dc);
        CFont* oldFont = dc->SelectObject(&marlett);
        int oldMode = dc->SetBkMode(TRANSPARENT);
        COLORREF oldText = dc->SetTextColor(enabled ? Sys(COLOR_BTNTEXT) : Sys(COLOR_GRAYTEXT));
        dc->DrawText("6", 1, &arrow, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        dc->SetTextColor(oldText);
        dc->SetBkMode(oldMode);
        dc->SelectObject(oldFont);
    }

    CString text;
    if (bar->IsMenuBar() && dropDown && !bar->IsDropDownArrow()) {
        text = bar->GetMenuItemText(button.idCommand - 1);
    } else {
        char buffer[256] = {};
        if (::SendMessage(h, TB_GETBUTTONTEXT, (WPARAM)button.idCommand, (LPARAM)buffer) > 0)
            text = buffer;
    }
    if (text.IsEmpty())
        return;
    COLORREF colour = ((pressed && hot) || (checked && hot)) ? Sys(COLOR_HIGHLIGHTTEXT)
                      : !enabled                             ? Sys(COLOR_GRAYTEXT)
                                                             : m_pSkin->GetDarkTextColor();
    UINT format = DT_END_ELLIPSIS | DT_WORDBREAK;
    if (::SendMessage(h, TB_GETTEXTROWS, 0, 0) == 1)
        format |= DT_SINGLELINE;
    RECT textRect = body;
    if (::GetWindowLong(h, GWL_STYLE) & TBSTYLE_LIST) {
        textRect.left += imageWidth + 6;
        textRect.right -= 3;
        format |= DT_VCENTER;
    } else {
        textRect.top += imageHeight + 1;
        InflateRect(&textRect, -3, -3);
        format |= DT_CENTER;
    }
    int oldMode = dc->SetBkMode(TRANSPARENT);
    COLORREF oldText = dc->SetTextColor(colour);
    dc->DrawText(text, &textRect, format);
    dc->SetTextColor(oldText);
    dc->SetBkMode(oldMode);
}

void COXToolbarSkinXP::DrawComboBox(HWND comboBox) {
    CWnd* wnd = CWnd::FromHandle(comboBox);
    CClientDC dc(wnd);
    RECT client{};
    ::GetClientRect(comboBox, &client);
    int buttonWidth = client.bottom - client.top;
    RECT edit = client;
    InflateRect(&edit, -3, -3);
    edit.right -= buttonWidth;
    RECT button{edit.right, client.top, client.right, client.bottom};
    InflateRect(&button, 0, -1);
    button.right -= 1;
    int saved = dc.SaveDC();
    dc.ExcludeClipRect(&edit);
    dc.FillSolidRect(&client, m_pSkin->GetBarBackgroundColor());
    dc.RestoreDC(saved);
    dc.FillSolidRect(&edit, Sys(COLOR_WINDOW));
    BOOL dropped = ::SendMessage(comboBox, CB_GETDROPPEDSTATE, 0, 0) != 0;
    POINT cursor{};
    GetCursorPos(&cursor);
    RECT window{};
    ::GetWindowRect(comboBox, &window);
    HWND focus = GetFocus();
    BOOL active = dropped || PtInRect(&window, cursor) || focus == comboBox || (focus && ::GetParent(focus) == comboBox);
    if (active) {
        dc.FillSolidRect(&button, dropped ? m_pSkin->GetPressedItemColor() : m_pSkin->GetHotItemColor());
        CBrush border(m_pSkin->GetHighlightBorderColor());
        dc.FrameRect(&button, &border);
        RECT editFrame = edit;
        InflateRect(&editFrame, 1, 1);
        dc.FrameRect(&editFrame, &border);
    }
    COLORREF arrowColour = dropped ? Sys(COLOR_HIGHLIGHTTEXT) : Sys(COLOR_BTNTEXT);
    int cx = (button.left + button.right) / 2, cy = (button.top + button.bottom) / 2 - 1;
    dc.FillSolidRect(cx - 2, cy, 5, 1, arrowColour);
    dc.FillSolidRect(cx - 1, cy + 1, 3, 1, arrowColour);
    dc.FillSolidRect(cx, cy + 2, 1, 1, arrowColour);
}

void COXToolbarSkinXP::DrawEditBox(HWND edit) {
    CWindowDC dc(CWnd::FromHandle(edit));
    RECT window{}, client{};
    OXGetWindowRects(edit, window, client);
    dc.ExcludeClipRect(&client);
    dc.FillSolidRect(&window, m_pSkin->GetBarBackgroundColor());
    RECT inner = window;
    InflateRect(&inner, -1, -1);
    dc.FillSolidRect(&inner, Sys(COLOR_WINDOW));
    POINT cursor{};
    GetCursorPos(&cursor);
    RECT screen{};
    ::GetWindowRect(edit, &screen);
    if (PtInRect(&screen, cursor) || GetFocus() == edit) {
        CBrush border(m_pSkin->GetHighlightBorderColor());
        dc.FrameRect(&window, &border);
    }
}

void COXToolbarSkinXP::DrawMDIButtons(CDC* dc, COXMenuBarView* menuBar) {
    HWND frame = menuBar->GetMDIFrameHwnd();
    RECT close = menuBar->GetCloseRect();
    if (!frame || IsRectEmpty(&close))
        return;
    HWND client = ::GetWindow(frame, GW_CHILD);
    while (client) {
        char name[32] = {};
        ::GetClassName(client, name, sizeof name);
        if (strcmp(name, "MDICLIENT") == 0)
            break;
        client = ::GetWindow(client, GW_HWNDNEXT);
    }
    BOOL maximized = FALSE;
    HWND child = client ? (HWND)::SendMessage(client, WM_MDIGETACTIVE, 0, (LPARAM)&maximized) : nullptr;
    if (!child || !maximized)
        return;
    struct {
        RECT rect;
        UINT glyph;
    } buttons[] = {{close, DFCS_CAPTIONCLOSE},
                   {menuBar->GetRestoreRect(), DFCS_CAPTIONRESTORE},
                   {menuBar->GetMinimizeRect(), DFCS_CAPTIONMIN}};
    for (auto& b : buttons)
        if (!IsRectEmpty(&b.rect))
            m_pSkin->DrawCaptionButton(dc, b.rect, b.glyph, FALSE, FALSE, Sys(COLOR_BTNFACE), menuBar->GetMenuBarHwnd());
}

// Office 2003.

COXToolbarSkin2003::COXToolbarSkin2003(COXSkin2003* skin) : COXToolbarSkinXP(skin), m_pSkin2003(skin) {}

void COXToolbarSkin2003::DrawGripper(CDC* dc, RECT& rect, COXCoolToolBarView* bar) {
    if (IsFloating(bar))
        return;
    RECT r = rect;
    BOOL horz = IsHorz(bar);
    if (horz) {
        r.top += 6;
        r.bottom -= 5;
        r.left += 2;
        r.right -= 2;
        OffsetRect(&r, 1, 0);
        if (bar->HasDockContext()) {
            r.left += 2;
            r.bottom -= 2;
        } else if (bar->GetBarStyle() & CBRS_BORDER_BOTTOM) {
            r.top -= 2;
            r.bottom -= 2;
        }
        r.right = r.left + 2;
    } else {
        r.left += 3;
        r.right -= 7;
        r.top += 4;
        r.bottom -= 4;
        OffsetRect(&r, 0, 1);
        if (bar->HasDockContext())
            r.left += 2;
        else
            r.right += 2;
        r.bottom = r.top + 2;
    }
    COLORREF dot = m_pSkin->GetSoftShadowColor(), light = Sys(COLOR_WINDOW);
    if (horz) {
        for (int y = r.top; y + 2 <= r.bottom; y += 4) {
            dc->FillSolidRect(r.left + 1, y + 1, 2, 2, light);
            dc->FillSolidRect(r.left, y, 2, 2, dot);
        }
    } else {
        for (int x = r.left; x + 2 <= r.right; x += 4) {
            dc->FillSolidRect(x + 1, r.top + 1, 2, 2, light);
            dc->FillSolidRect(x, r.top, 2, 2, dot);
        }
    }
}

void COXToolbarSkin2003::DrawBand(CDC* dc, const RECT& rect, COXCoolToolBarView* bar) {
    HWND reference = bar->GetBandReferenceWindow();
    RECT refRect{};
    if (reference)
        ::GetWindowRect(reference, &refRect);
    POINT left{refRect.left, 0};
    ::ScreenToClient(bar->GetBarHwnd(), &left);
    int x = left.x - (bar->IsMenuBar() ? 2 : 0);
    int width = std::max<int>(GetSystemMetrics(SM_CXSCREEN), refRect.right - refRect.left);
    RECT band{x, rect.top, x + width, rect.bottom};
    m_pSkin2003->DrawDockBand(dc, band);
}

void COXToolbarSkin2003::DrawBackground(CDC* dc, COXCoolToolBarView* bar) {
    RECT client{};
    ::GetClientRect(bar->GetBarHwnd(), &client);
    if (bar->IsMenuBar()) {
        DrawBand(dc, client, bar);
        return;
    }
    m_pSkin2003->FillGradient(dc, client, m_pSkin2003->GetBarGradientLightColor(),
                                  m_pSkin2003->GetBarGradientDarkColor(), IsHorz(bar) ? 1 : 0);
}

void COXToolbarSkin2003::DrawNonClientArea(CDC* dc, const RECT& windowRect, COXCoolToolBarView* bar) {
    HWND h = bar->GetBarHwnd();
    RECT window{}, client{};
    OXGetWindowRects(h, window, client);
    int saved = dc->SaveDC();
    dc->ExcludeClipRect(&client);
    if (IsFloating(bar))
        dc->FillSolidRect(&windowRect, m_pSkin2003->GetFaceColor());
    else
        DrawBand(dc, windowRect, bar);
    if (!bar->IsMenuBar()) {
        RECT r = windowRect;
        InflateRect(&r, -2, -2);
        POINT corners[4] = {{r.left, r.top}, {r.right - 1, r.top}, {r.left, r.bottom - 1}, {r.right - 1, r.bottom - 1}};
        COLORREF saved4[4];
        for (int i = 0; i < 4; ++i)
            saved4[i] = dc->GetPixel(corners[i].x, corners[i].y);
        m_pSkin2003->FillGradient(dc, r, m_pSkin2003->GetBarGradientLightColor(),
                                      m_pSkin2003->GetBarGradientDarkColor(), IsHorz(bar) ? 1 : 0);
        for (int i = 0; i < 4; ++i)
            dc->SetPixel(corners[i].x, corners[i].y, saved4[i]);
    }
    dc->RestoreDC(saved);
}

void COXToolbarSkin2003::DrawSeparator(CDC* dc, RECT& rect, COXCoolToolBarView*) {
    RECT r = rect;
    if (rect.bottom - rect.top >= rect.right - rect.left) {
        r.left = (rect.left + rect.right) / 2 - 1;
        r.right = r.left + 1;
        r.top += 4;
        r.bottom -= 4;
    } else {
        r.top = (rect.top + rect.bottom) / 2 - 1;
        r.bottom = r.top + 1;
        r.left += 4;
        r.right -= 4;
    }
    dc->FillSolidRect(&r, m_pSkin->GetLightShadowColor());
    OffsetRect(&r, 1, 1);
    dc->FillSolidRect(&r, RGB(255, 255, 255));
}

void COXToolbarSkin2003::FillButton(CDC* dc, const RECT& inner, OXToolbarState state) {
    COLORREF top, bottom;
    if (state == OXTB_HOT) {
        top = m_pSkin2003->GetHotGradientLightColor();
        bottom = m_pSkin2003->GetHotGradientDarkColor();
    } else if (state == OXTB_PRESSED) {
        top = m_pSkin2003->GetPressedGradientDarkColor();
        bottom = m_pSkin2003->GetPressedGradientLightColor();
    } else {
        top = m_pSkin2003->GetCheckedGradientLightColor();
        bottom = m_pSkin2003->GetCheckedGradientDarkColor();
    }
    m_pSkin2003->FillGradient(dc, inner, top, bottom, 1);
}
