#include "HostSettings.h"

namespace {
const wchar_t kConfirmDial[] = L"ConfirmDial";
}

BOOL CHostSettings::ConfirmDial() const {
    return m_options.GetRegistryValue(HKEY_CURRENT_USER, OptionsKey(), kConfirmDial, 1) != 0;
}

void CHostSettings::SetConfirmDial(BOOL bConfirm) {
    m_options.SetRegistryValue(HKEY_CURRENT_USER, OptionsKey(), kConfirmDial, bConfirm ? 1 : 0);
}

void CHostSettings::SetAccess(int nRightsOption, BOOL bAccess) {
    int nRights = m_options.GetNumber(nRightsOption);
    nRights = bAccess ? nRights & ~HostRight::NoAccess : nRights | HostRight::NoAccess;
    SetNumber(nRightsOption, nRights);
}

void CHostSettings::SetNumber(int nOption, int nValue) {
    CString name;
    name.Format(L"Option%d", nOption);
    m_options.SetRegistryValue(HKEY_CURRENT_USER, OptionsKey(), name, nValue);
}
