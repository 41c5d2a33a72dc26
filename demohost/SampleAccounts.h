// The server accounts of the bundled sample directories (demohost/sample): given to a
// user who has no accounts at all, and kept pointing at the sample server's port
// while they are still the sample's own. Accounts the user made are never touched.
#pragma once

#include "Options.h"

class CSampleAccounts {
public:
    // What was done, as a line for the host's log.
    static CString Provide(COptions& options, int nPort);
};
