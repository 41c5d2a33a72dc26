// The Advanced page of the account property sheet: port, search time-out, maximum
// entries returned and the bind option.
#pragma once

#include "Framework.h"

class CLDapAccount;
class CTranslation;

class CAccountAdvancedPage : public CPropertyPage {
public:
    // The bind option items in their fixed order; an item's index is the stored
    // bindSelection.
    static constexpr int kNegotiateBind = 0;
    static constexpr int kSimpleBind = 1;
    // The highest TCP port: a larger number would reach another port.
    static constexpr int kMaximumPort = 65535;

    CAccountAdvancedPage(const CLDapAccount& account, CTranslation* pTranslation);

    CComboBox m_bindOption;
    int m_nPort;
    int m_nTimeout;
    int m_nMaximumHits;
    int m_nBindIndex;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;

private:
    CTranslation* m_pTranslation;
};
