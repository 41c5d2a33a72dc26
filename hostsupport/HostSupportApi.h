// Export/import switches of the host support library.
#pragma once

// Members implemented in hostsupport.dll.
#ifdef HOSTSUPPORT_BUILD
#define HOSTSUPPORT_API __declspec(dllexport)
#else
#define HOSTSUPPORT_API __declspec(dllimport)
#endif

// The host's small inline accessors are compiled into every binary that uses them.
// A binary that must export its copies (the directory search module does) defines
// HOSTSUPPORT_INLINE as an export before it includes these headers.
#ifndef HOSTSUPPORT_INLINE
#define HOSTSUPPORT_INLINE
#endif
