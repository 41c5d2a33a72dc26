// A server account tried out before it is stored: open, bind and read the root DSE
// with the values typed so far, then count what the search root shows.
#pragma once

#include "LDapAccount.h"

#include <vector>

// Counting stops here: enough to tell that the directory holds plenty.
constexpr int kConnectionTestCountLimit = 1000;
// The longest a test waits for the server, whatever the account's time-out says.
constexpr int kConnectionTestMaxSeconds = 30;

struct CConnectionTestResult {
    enum class Outcome {
        Connected,    // bound; the search root could be read
        Unreachable,  // no connection, or no answer
        Secure,       // the encrypted connection could not be made
        LogonRefused, // the server refused the bind
        NotReadable,  // bound, but the search under the search root failed
    };
    Outcome outcome = Outcome::Unreachable;
    ULONG nError = LDAP_SUCCESS;         // the library's code of a failure
    int nVersion = 2;                    // 3 when the root DSE lists version 3
    int nEntries = 0;                    // entries under the search root
    bool bMore = false;                  // counting stopped at kConnectionTestCountLimit
    std::vector<CString> namingContexts; // the root DSE's, for the search root
};

// Connects as the account says (address, port, encryption, bind) and reads the root
// DSE and the entries under searchRoot; each search waits at most the account's
// time-out, capped at kConnectionTestMaxSeconds. Blocks: run it on a worker thread.
CConnectionTestResult TestConnection(const CLDapAccount& account);
