#include "SearchBox.h"

#include "DirectorySearchDialog.h"
#include "resource.h"

BOOL CSearchBox::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN && m_pSearchWindow) {
        m_pSearchWindow->SendMessage(WM_COMMAND, ID_FILE_SEARCH);
        return TRUE;
    }
    return CComboBox::PreTranslateMessage(pMsg);
}
