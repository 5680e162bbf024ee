// CMyEditView: a text page of the output pad: a notes edit view in a tab view container, in a fixed-pitch
// font, blue on the window colour.
#pragma once

#include "guilib/controls/OXNotesEditView.h"
#include "guilib/frame/OXTabViewPage.h"

class CMyEditView : public COXTabViewPage<COXNotesEditView> {
    DECLARE_DYNCREATE(CMyEditView)
public:
    CMyEditView();
    ~CMyEditView() override;

    void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) override;
    void OnActivateView(BOOL activate, CView* activateView, CView* deactiveView) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    HFONT m_hFont = nullptr;
};
