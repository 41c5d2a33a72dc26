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
// "attribute=text". The text goes in as typed: "*" in it is a wildcard, and a text
// the LDAP library cannot parse makes the search request fail.
CString BuildSearchFilter(const CString& attribute, const CString& text);
