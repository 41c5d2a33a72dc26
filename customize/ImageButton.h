// CImageButton: an owner-drawn push button that shows a bitmap instead of text: a
// raised or sunken face, the bitmap of the button's state placed by its alignment
// style, a checkerboard greying when disabled, and the focus rectangle.
#pragma once

#include "Framework.h"

class CImageButton : public CButton {
public:
    // Bitmaps are looked up in the resources current when the button is made.
    CImageButton();
    ~CImageButton() override = default;

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDIS);

    int m_nStretch = 0;        // non-zero: the bitmap fills the face
    int m_nNormalBitmap = 0;   // resource ids; 0 for none
    int m_nPressedBitmap = 0;  // 0: the normal bitmap
    int m_nDisabledBitmap = 0; // 0: the normal bitmap, greyed with a checkerboard

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    HINSTANCE m_hResources;
};
