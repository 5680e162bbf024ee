// The cool combo box: paints its whole face flat (field, frame, drop-down button), draws the selection
// of a drop-down list itself, and makes its edit and its list cool controls that share its active state
// and its tooltip.
#pragma once

#include "guilib/controls/OXCoolCtrl.h"
#include "platform/framework/controls/ComboBox.h"
#include "platform/framework/controls/Edit.h"
#include "platform/framework/controls/ListBox.h"

class COXCoolComboBox;

class COXCoolComboEdit : public COXCoolCtrl<CEdit> {
public:
    COXCoolComboBox* m_pCombo = nullptr;
    void OnChangeFocus(CWnd* pWndGainFocus, CWnd* pWndLoseFocus) override;
};

class COXCoolComboBox : public COXCoolCtrl<CComboBox> {
public:
    COXCoolComboBox() = default;
    // Gives the parts back to their windows, which live on with the combo box.
    ~COXCoolComboBox() override;

    BOOL InitializeCoolControl() override;
    void SetFocusState(BOOL bActive) override;
    BOOL OnChangeTooltipText(const CString& sText) override;
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    virtual int CompareItem(LPCOMPAREITEMSTRUCT lpCompareItemStruct);

    BOOL SubclassEditCtrl();
    BOOL SubclassListBox();
    void GetDropDownButtonRect(RECT& rect) const;

    COXCoolComboEdit& GetEdit() { return m_edit; }
    COXCoolCtrl<CListBox>& GetListBox() { return m_listBox; }

protected:
    void OnPaint();
    void MeasureTextHeights();
    BOOL IsOwnerDraw() const { return (GetStyle() & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) != 0; }
    BOOL IsSimple() const { return (GetStyle() & 3) == CBS_SIMPLE; }
    CString ItemText(int index) const;

    COXCoolComboEdit m_edit;
    COXCoolCtrl<CListBox> m_listBox;
    int m_nFontHeight = 0;
    int m_nTextExtentHeight = 0;
};
