// COptions: the host's per-user options store in the registry.
//
// Everything lives under HKEY_CURRENT_USER\Software\Tovana\<product key>, the
// options root. Numbered options are values of the key "Config\Options" below the
// root, named "Option" followed by the number ("Option110"): integers as REG_DWORD,
// texts as REG_SZ. A numbered option that is not stored has the default listed in
// Options.cpp (every access right granted, language 0, option 196 on). Option 18,
// the product key, is the one that cannot live there: it names the root itself, so
// it is fixed when the object is made.
//
// Ordered lists (the recent searches) are keys whose values "1", "2", ... hold the
// texts in list order.
#pragma once

#include "HostSupportApi.h"

#include "Collections.h"

class CEventLog;
class CTranslation;
class CWnd;
class IFieldList;

// Numbers of the options the host and the module use.
namespace HostOption {
constexpr int ProductKey = 18;
constexpr int HelpFileName = 19;          // base name of the compiled help file
constexpr int Language = 110;             // 0 English, 2 German, ... (see GetLanguagePrefix)
constexpr int ProgramOptionsLocked = 112; // bit 0: the user may not change program options
constexpr int Administrator = 114;
constexpr int PhoneDirectoryRights = 115;
constexpr int CallHistoryRights = 116;
constexpr int PublicSearchRights = 117;
constexpr int PhoneFeaturesRights = 118;
constexpr int AgentGreetingsRights = 119;
constexpr int ScreenPopsRights = 120;
constexpr int StatboardsRights = 121;
constexpr int SpeedDialsRights = 122;
constexpr int AdvancedSearch = 196;
} // namespace HostOption

// Bits of the rights options 115 to 122.
namespace HostRight {
constexpr int ReadOnly = 2;
constexpr int NoAccess = 4;
} // namespace HostRight

// Text flag of GetRegistryValue/SetRegistryValue: the text may hold %VARIABLE%
// references, stored as REG_EXPAND_SZ and expanded when read.
constexpr int kExpandableText = 1;

class COptions {
public:
    HOSTSUPPORT_API explicit COptions(const wchar_t* pszProductKey = L"Tovana Quillet");
    COptions(const COptions&) = delete;
    COptions& operator=(const COptions&) = delete;

    // The process-wide options object of the host.
    HOSTSUPPORT_API static COptions* GetOptions();

    // "Software\Tovana\<product key>", relative to HKEY_CURRENT_USER.
    HOSTSUPPORT_API CString GetRootKey() const;

    HOSTSUPPORT_API int GetNumber(int nOption) const;
    HOSTSUPPORT_API BOOL Is(int nOption) const;
    HOSTSUPPORT_API CString GetString(int nOption) const;

    // The host program's folder, without a trailing backslash.
    HOSTSUPPORT_API CString GetProgramPath() const;
    // The folder of the user's language for localised files, such as "deu\".
    HOSTSUPPORT_API CString GetLanguagePrefix() const;

    // Reads and writes with a key path relative to hRoot. Reads give the default for
    // a missing key or value and for a value of another kind; a write creates the
    // key when it is missing.
    HOSTSUPPORT_API int GetRegistryValue(HKEY hRoot, const wchar_t* pszKey, const wchar_t* pszValue,
                                         int nDefault) const;
    HOSTSUPPORT_API CString GetRegistryValue(HKEY hRoot, const wchar_t* pszKey,
                                             const wchar_t* pszValue, const wchar_t* pszDefault,
                                             int nFlag) const;
    HOSTSUPPORT_API BOOL SetRegistryValue(HKEY hRoot, const wchar_t* pszKey,
                                          const wchar_t* pszValue, int nNumber);
    HOSTSUPPORT_API BOOL SetRegistryValue(HKEY hRoot, const wchar_t* pszKey,
                                          const wchar_t* pszValue, const wchar_t* pszText,
                                          int nFlag);

    // Key paths below are relative to the options root.
    // Names of the sub-keys of pszKey in the registry's order.
    HOSTSUPPORT_API void GetList(const wchar_t* pszKey, CStringList& list) const;
    // The ordered list stored in pszKey under hRoot's options root.
    HOSTSUPPORT_API void GetSubKeyValues(const wchar_t* pszKey, CStringList& list,
                                         HKEY hRoot) const;
    // Stores list as the ordered list "General\RecentLdapSearch\<attribute>".
    HOSTSUPPORT_API BOOL SetRecentLdapSearchList(const wchar_t* pszAttribute,
                                                 const CStringList& list);
    HOSTSUPPORT_API BOOL IsSubKeyPresent(const wchar_t* pszKey) const;
    // Removes the child pszSubKey of pszKey with all its values and sub-keys. An
    // empty child name is refused: it would name pszKey itself.
    HOSTSUPPORT_API BOOL DeleteSubKey(const wchar_t* pszKey, const wchar_t* pszSubKey);

    // Whether the user may change the public-directory settings / the personal
    // phone directory: access granted and not read-only.
    HOSTSUPPORT_API BOOL ModifyPublicSearch() const;
    HOSTSUPPORT_API BOOL ModifyPhoneDirectory() const;

    // The host's Select Phone Numbers dialog, modal over pOwner (the active window
    // when null): the user ticks the fields that hold telephone numbers. TRUE when
    // the user confirmed with OK (the flags are then written back to fields).
    HOSTSUPPORT_API BOOL SelectNumbers(IFieldList& fields, CWnd* pOwner = nullptr);
    // The host's field organizer, modal over pOwner (the active window when null):
    // the user ticks the fields to show, puts them in order and renames them. TRUE
    // when the user confirmed with OK (the layout is then written back to fields).
    HOSTSUPPORT_API BOOL ShowFields(IFieldList& fields, CWnd* pOwner = nullptr);

    // The accessors below are inline; the module exports its copies.
    HOSTSUPPORT_INLINE CString GetKelvoSubKey() const { return m_strKelvoSubKey; }
    HOSTSUPPORT_INLINE void SetTranslation(CTranslation* pTranslation) {
        m_pTranslation = pTranslation;
    }
    HOSTSUPPORT_INLINE void SetEventLog(CEventLog* pEventLog) { m_pEventLog = pEventLog; }
    HOSTSUPPORT_INLINE void SetPhoneControlWnd(HWND hWnd) { m_hPhoneControlWnd = hWnd; }
    HOSTSUPPORT_INLINE void SetMainWindow(CWnd* pWnd) { m_pMainWindow = pWnd; }
    HOSTSUPPORT_INLINE CWnd* GetMainWindow() const { return m_pMainWindow; }
    HOSTSUPPORT_INLINE BOOL RestartNeeded() const { return m_bRestartNeeded; }
    HOSTSUPPORT_INLINE BOOL RebootNeeded() const { return m_bRebootNeeded; }
    HOSTSUPPORT_INLINE void ResetRestartRebootStatus() {
        m_bRestartNeeded = FALSE;
        m_bRebootNeeded = FALSE;
    }
    HOSTSUPPORT_INLINE CString GetLogFilePath() const { return m_strLogFilePath; }
    HOSTSUPPORT_INLINE BOOL ModifyProgramOptions() const {
        return !(GetNumber(HostOption::ProgramOptionsLocked) & 1) ||
               Is(HostOption::Administrator) || m_bOverride;
    }
    HOSTSUPPORT_INLINE BOOL AccessPhoneDirectory() const {
        return HasAccess(HostOption::PhoneDirectoryRights);
    }
    HOSTSUPPORT_INLINE BOOL AccessCallHistory() const {
        return HasAccess(HostOption::CallHistoryRights);
    }
    HOSTSUPPORT_INLINE BOOL AccessPublicSearch() const {
        return HasAccess(HostOption::PublicSearchRights);
    }
    HOSTSUPPORT_INLINE BOOL AccessPhoneFeatures() const {
        return HasAccess(HostOption::PhoneFeaturesRights);
    }
    HOSTSUPPORT_INLINE BOOL AccessAgentGreetings() const {
        return HasAccess(HostOption::AgentGreetingsRights);
    }
    HOSTSUPPORT_INLINE BOOL AccessScreenPops() const {
        return HasAccess(HostOption::ScreenPopsRights);
    }
    HOSTSUPPORT_INLINE BOOL AccessStatboards() const {
        return HasAccess(HostOption::StatboardsRights);
    }
    HOSTSUPPORT_INLINE BOOL AccessSpeedDials() const {
        return HasAccess(HostOption::SpeedDialsRights);
    }

    // The host's own side of the state above.
    CTranslation* GetTranslation() const { return m_pTranslation; }
    CEventLog* GetEventLog() const { return m_pEventLog; }
    HWND GetPhoneControlWnd() const { return m_hPhoneControlWnd; }
    void SetLogFilePath(const wchar_t* pszPath) { m_strLogFilePath = pszPath; }
    void RequestRestart() { m_bRestartNeeded = TRUE; }
    void RequestReboot() { m_bRebootNeeded = TRUE; }
    // Lets the user change program options whatever the rights say.
    void SetOverride(BOOL bOverride) { m_bOverride = bOverride; }

private:
    BOOL HasAccess(int nRightsOption) const {
        return !(GetNumber(nRightsOption) & HostRight::NoAccess);
    }
    CString RootedPath(const wchar_t* pszKey) const;
    // Writes a trace line naming the value written, when an event log is set.
    void TraceWrite(const wchar_t* pszKey, const wchar_t* pszValue) const;

    CString m_strKelvoSubKey;
    CTranslation* m_pTranslation = nullptr;
    CEventLog* m_pEventLog = nullptr;
    HWND m_hPhoneControlWnd = nullptr;
    CWnd* m_pMainWindow = nullptr;
    CString m_strLogFilePath;
    BOOL m_bRestartNeeded = FALSE;
    BOOL m_bRebootNeeded = FALSE;
    BOOL m_bOverride = FALSE;
};
