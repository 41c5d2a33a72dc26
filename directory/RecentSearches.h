// The recent searches of the search box: per search attribute, at most ten texts,
// most recent first, without duplicates, kept in the host's options store under
// "General\RecentLdapSearch\<attribute>". Only the name, e-mail and telephone
// attributes keep them.
#pragma once

#include "Options.h"

constexpr int kMaxRecentSearches = 10;

// True for "cn", "mail" and "telephoneNumber" (exact comparison).
bool KeepsRecentSearches(const CString& attribute);

// The store key of attribute's recent searches, relative to the options root.
CString RecentSearchesKey(const CString& attribute);

// Puts text at the head of list: an equal entry already there moves rather than
// repeats, and the oldest entries go so that at most kMaxRecentSearches remain.
void PutRecentSearchFirst(CStringList& list, const CString& text);

// Records a search for text in attribute and fills stored with the list now
// stored, for the search box. Returns false, touching nothing, for an attribute
// without recent searches.
bool RecordRecentSearch(COptions& options, const CString& attribute, const CString& text,
                        CStringList& stored);
