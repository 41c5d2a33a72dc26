// The Customize Search & Display window as the search window reaches it. It belongs
// to the customize layer above the window, which the façade plugs in when it creates
// the window.
#pragma once

#include "String.h"

class ICustomizeSearch {
public:
    virtual ~ICustomizeSearch() = default;
    // Advance Search (35014): opens the window, or brings the open one forward.
    virtual void Open() = 0;
    // The search window is going: the customize window forgets it and closes.
    virtual void Release() = 0;
};

// A shown field as the customize window hands it back: its key and its title.
struct CShownField {
    CString strName;
    CString strTitle;
};
