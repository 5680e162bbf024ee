// CCtrlView: a view that is a control window of a given class; the control draws itself.
#pragma once

#include <string>

#include "platform/framework/docview/View.h"

class CCtrlView : public CView {
    DECLARE_DYNAMIC(CCtrlView)
public:
    CCtrlView(LPCTSTR className, DWORD defaultStyle)
        : m_strClass(className ? className : ""), m_dwDefaultStyle(defaultStyle) {}
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void OnDraw(HDC) override {}

protected:
    std::string m_strClass;
    DWORD m_dwDefaultStyle;
};

// The views over the list, tree and rich edit controls.
class CListView : public CCtrlView {
    DECLARE_DYNCREATE(CListView)
public:
    CListView();
};

class CTreeView : public CCtrlView {
    DECLARE_DYNCREATE(CTreeView)
public:
    CTreeView();
};

class CRichEditView : public CCtrlView {
    DECLARE_DYNCREATE(CRichEditView)
public:
    CRichEditView();
};
