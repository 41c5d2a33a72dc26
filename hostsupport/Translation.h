// CTranslation: the host's tables of user-interface texts, keyed by numeric id, in
// the user's language (option 110 of the options store: 2 German, else English).
#pragma once

#include "HostSupportApi.h"

#include "String.h"

class COptions;

class CTranslation {
public:
    HOSTSUPPORT_API explicit CTranslation(const COptions* pOptions);

    // The text of nID in the current language, at most nMaxLength - 1 characters
    // (nMaxLength counts the terminator, as a buffer size does). An unknown id
    // gives an empty text. The language is looked up at each call, so texts
    // follow a change of language at once.
    HOSTSUPPORT_API CString LoadStringW(UINT nID, int nMaxLength) const;

private:
    const COptions* m_pOptions;
};
