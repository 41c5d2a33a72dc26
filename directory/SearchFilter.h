// How a search text typed into the search box becomes an LDAP filter.
#pragma once

#include "String.h"

// A name search text taken apart. Only a blank (U+0020) or a comma separates the
// parts; "Smith, John", "John Smith" and "John  Smith" all give the first name
// "John" and the last name "Smith".
struct CSearchName {
    bool bSingleWord = true; // no blank and no comma: the names below are empty
    CString strFirstName;
    CString strLastName;
    CString strFullName; // first name, a blank, last name
};

CSearchName SplitSearchName(const CString& text);

// The filter for text searched in attribute. A name search ("cn") matches the start
// of the given name, surname or common name; any other attribute is compared as
// "attribute=text". A "*" typed is a wildcard (a name that ends in one is not
// given a second); every other character stands for itself (see EscapeFilterValue).
CString BuildSearchFilter(const CString& attribute, const CString& text);

// Typed text as a filter value: "(", ")", "\" and NUL become their RFC 4515 escapes
// ("\28", "\29", "\5c", "\00") so that a name such as "Ahmed (Sales) Khan" is
// searched for rather than breaking the filter. "*" stays: it is the wildcard, and
// "**" becomes one "*".
CString EscapeFilterValue(const CString& text);

// The filter as the LDAP library is given it: a blank between two components,
// "(a=1) (b=2)", as the advanced search writes them, is dropped, for the filter
// grammar has none there (RFC 4515) and a strict library refuses it. Values hold no
// bare parenthesis (EscapeFilterValue), so every ") (" is such a separator.
CString CompactFilterComponents(const CString& filter);
