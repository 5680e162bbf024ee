// CEditView: a view that is a multi-line edit control; it edits its text with the control's own keys
// and answers the Edit menu's commands. The text has no length limit.
#pragma once

#include "platform/framework/controls/Edit.h"
#include "platform/framework/docview/View.h"

class CEditView : public CView {
    DECLARE_DYNCREATE(CEditView)
public:
    CEditView() = default;
    ~CEditView() override;

    // The styles a new edit view gets besides those of its creator.
    static const DWORD dwStyleDefault;

    // The view as its edit control (the same window).
    CEdit& GetEditCtrl() const;
    // The length of the text.
    UINT GetBufferLength() const;
    // The selected text (the part of the first line of the selection, as the framework does).
    void GetSelectedText(CString& text) const;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void OnDraw(HDC) override {}

protected:
    mutable CEdit m_edit;  // borrows the view's handle; never attached to the handle map

    int OnCreate(LPCREATESTRUCT cs);
    void OnDestroy();
    void OnPaint();
    void OnEditCopy();
    void OnEditCut();
    void OnEditPaste();
    void OnEditClear();
    void OnEditUndo();
    void OnEditSelectAll();
    void OnUpdateNeedSel(CCmdUI* ui);
    void OnUpdateNeedText(CCmdUI* ui);
    void OnUpdateEditPaste(CCmdUI* ui);
    void OnUpdateEditUndo(CCmdUI* ui);
    BOOL OnEditChange();
    DECLARE_MESSAGE_MAP()
};
