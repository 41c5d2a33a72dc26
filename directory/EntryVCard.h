// A directory entry as a contact card (vCard 4.0), for pasting into an address book.
#pragma once

#include "Collections.h"

#include <string>

// The card, UTF-8 with CRLF line ends, long lines folded: the name (FN from "cn",
// else given name and surname, else the organisation or the entry's DN; N from
// "sn" and "givenname", else from "cn"), every telephone, mobile, fax, home and
// pager number, every e-mail address, organisation and unit, title and the postal
// address. Every value of a multi-valued attribute when entry is a CEntryMap.
std::string BuildVCard(const CMapStringToString& entry);
