// The server accounts of the bundled sample directories (demohost/sample), one of
// them reached over SSL/TLS: given to a user who has no accounts at all, and kept
// pointing at the sample server's ports while they are still the sample's own.
// Accounts the user made are never touched.
#pragma once

#include "Options.h"

class CSampleAccounts {
public:
    // What was done, as a line for the host's log.
    // nTlsPort: the sample server's SSL/TLS port; 0 leaves the encrypted server out.
    // nMaximumHits: the most entries a search of a new account lists; 0, the default.
    static CString Provide(COptions& options, int nPort, int nTlsPort, int nMaximumHits = 0);
};
