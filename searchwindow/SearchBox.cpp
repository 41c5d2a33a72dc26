#include "SearchBox.h"

#include "DirectorySearchDialog.h"

BOOL CSearchBox::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN && m_pSearchWindow) {
        m_pSearchWindow->SearchFromSearchBox();
        return TRUE;
    }
    return CComboBox::PreTranslateMessage(pMsg);
}
