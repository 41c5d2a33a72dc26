// The search box on the search window's toolbar: an editable drop-down list of the
// recent search texts, where Enter starts a search.
#pragma once

#include "Framework.h"

class CDirectorySearchDialog;

class CSearchBox : public CComboBox {
public:
    BOOL PreTranslateMessage(MSG* pMsg) override;

    CDirectorySearchDialog* m_pSearchWindow = nullptr;
};
