// COXMenuDockBar<TDockBar>: a dock bar on which a docked menu bar that claims the whole row gets a row of
// its own over the dock bar's whole length.
#pragma once

#include <type_traits>
#include <vector>

#include "guilib/frame/OXMenuBar.h"
#include "platform/framework/bars/DockBar.h"

template <class TDockBar>
class COXMenuDockBar : public TDockBar {
    static_assert(std::is_base_of_v<CDockBar, TDockBar>, "a menu dock bar derives from a dock bar");

public:
    SIZE CalcFixedLayout(BOOL stretch, BOOL horz) override {
        std::vector<COXMenuBar*> menuBars;
        for (INT_PTR i = 0; i < this->m_arrBars.GetSize(); ++i) {
            auto* bar = dynamic_cast<COXMenuBar*>(this->GetBar(i));
            if (bar && bar->m_hWnd && bar->IsVisible() && bar->IsWholeRow() &&
                !(bar->IsFloating() && (bar->m_dwStyle & CBRS_SIZE_DYNAMIC)))
                menuBars.push_back(bar);
        }
        for (COXMenuBar* bar : menuBars) {
            GiveRowOfItsOwn(bar);
            bar->SetInLayout(TRUE);
        }
        SIZE size = TDockBar::CalcFixedLayout(stretch, horz);
        for (COXMenuBar* bar : menuBars)
            bar->SetInLayout(FALSE);
        return size;
    }

protected:
    // Row breaks before and after the bar when visible bars share its row, so the base layout puts it in
    // a row alone; the bar then reports the whole length.
    void GiveRowOfItsOwn(CControlBar* bar) {
        CPtrArray& bars = this->m_arrBars;
        INT_PTR at = this->FindBar(bar);
        if (at < 0)
            return;
        auto visible = [&](INT_PTR k) {
            CControlBar* other = this->GetBar(k);
            return other && other->m_hWnd && other->IsVisible();
        };
        bool before = false;
        for (INT_PTR k = at - 1; k >= 0 && bars[k]; --k)
            before = before || visible(k);
        if (before) {
            bars.InsertAt(at, nullptr);
            ++at;
        }
        bool after = false;
        for (INT_PTR k = at + 1; k < bars.GetSize() && bars[k]; ++k)
            after = after || visible(k);
        if (after)
            bars.InsertAt(at + 1, nullptr);
    }
};
