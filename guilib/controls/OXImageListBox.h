// Every image of an image list as one cell of a multi-column list box; an item's data is its image index,
// so the selection index is the image index.
#pragma once

#include "platform/framework/controls/ListBox.h"
#include "platform/user/ImageList.h"

class COXImageListBox : public CListBox {
    DECLARE_DYNAMIC(COXImageListBox)
public:
    COXImageListBox(int nImageWidth = 16, int nImageHeight = 16, UINT nFlags = ILC_COLOR24 | ILC_MASK);
    ~COXImageListBox() override;

    virtual COLORREF GetBkColor() const { return m_clrBackground; }
    virtual COLORREF GetSelColor() const { return m_clrSelection; }
    // Item height and column width: the image size and a quarter more.
    virtual BOOL UpdateItemSize();

    // Shows a copy of the list's images; the number of images (0 for none).
    int SetImageList(HIMAGELIST hImageList);
    // Shows every icon of a file (null or empty: the program's own); FALSE for a missing file or when
    // fewer icons arrive than the file holds.
    BOOL LoadImagesFromFile(LPCTSTR lpszFileName = nullptr, BOOL bSmallIcons = TRUE);
    HIMAGELIST GetImageList() const { return m_hImageList; }
    void SetBkColor(COLORREF colour) { m_clrBackground = colour; }
    void SetSelColor(COLORREF colour) { m_clrSelection = colour; }

    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    HIMAGELIST m_hImageList;
    int m_nImageWidth, m_nImageHeight;
    UINT m_nFlags;
    COLORREF m_clrBackground;
    COLORREF m_clrSelection;
    BOOL m_bCreating;
};
