// The per-language column titles of localized lists and the default titles of
// the well-known columns.
#pragma once

#include "String.h"

namespace ColumnTitles {

// The profile value that holds a title in the user's language ("Title.enu" for
// setting 0 ... "Title.ptb" for 8); null for settings without one.
LPCTSTR LanguageValueName(int nLanguageSetting);

// The translation id of a well-known column's default title, 0 when the name has
// none. Two instant-messaging columns have a default only when read.
UINT DefaultTitleId(const CString& szName, bool bForWrite);

} // namespace ColumnTitles
