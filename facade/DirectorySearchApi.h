// Export/import switch of the directory search module: the module exports, a host
// imports.
#pragma once

#ifdef DIRSEARCH_BUILD
#define DIRSEARCH_API __declspec(dllexport)
#else
#define DIRSEARCH_API __declspec(dllimport)
#endif
