// Export/import switches of the host support library.
#pragma once

// Members implemented in hostsupport.dll.
#ifdef HOSTSUPPORT_BUILD
#define HOSTSUPPORT_API __declspec(dllexport)
#else
#define HOSTSUPPORT_API __declspec(dllimport)
#endif

// The host's small inline accessors are compiled into every binary that uses them;
// the directory search module exports its copies, so a host that looks them up in
// the module finds them there.
#ifdef DIRSEARCH_BUILD
#define HOSTSUPPORT_INLINE __declspec(dllexport)
#else
#define HOSTSUPPORT_INLINE
#endif
