// The telephone's settings that the directory search module reads: the two access
// rights, the dialling confirmation, the advanced search option and the language.
// They live in the host's options store; the module reads most of them when its
// window opens.
#pragma once

#include "Options.h"

class CHostSettings {
public:
    explicit CHostSettings(COptions& options) : m_options(options) {}

    BOOL PhoneDirectoryAccess() const { return m_options.AccessPhoneDirectory(); }
    BOOL PublicSearchAccess() const { return m_options.AccessPublicSearch(); }
    // The module asks before dialling (host message 36) unless this is off (11).
    BOOL ConfirmDial() const;
    BOOL AdvancedSearch() const { return m_options.Is(HostOption::AdvancedSearch); }
    BOOL German() const { return m_options.GetNumber(HostOption::Language) == kGerman; }

    void SetPhoneDirectoryAccess(BOOL bAccess) {
        SetAccess(HostOption::PhoneDirectoryRights, bAccess);
    }
    void SetPublicSearchAccess(BOOL bAccess) { SetAccess(HostOption::PublicSearchRights, bAccess); }
    void SetConfirmDial(BOOL bConfirm);
    void SetAdvancedSearch(BOOL bOn) { SetNumber(HostOption::AdvancedSearch, bOn ? 1 : 0); }
    void SetGerman(BOOL bGerman) { SetNumber(HostOption::Language, bGerman ? kGerman : 0); }

private:
    static constexpr int kGerman = 2;
    CString OptionsKey() const { return m_options.GetRootKey() + L"\\Config\\Options"; }
    // Sets or clears the no-access bit, keeping the option's other bits.
    void SetAccess(int nRightsOption, BOOL bAccess);
    void SetNumber(int nOption, int nValue);

    COptions& m_options;
};
