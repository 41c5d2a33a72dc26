// Diagnostic lines for the debugger output. They exist only in debug builds: a
// release build compiles TRACE to nothing, arguments included.
#pragma once

#include "FrameworkApi.h"

// printf-style, wide (%s is a wide string).
FW_API void AfxTrace(const wchar_t* pszFormat, ...);

#ifdef NDEBUG
#define TRACE(...) ((void)0)
#else
#define TRACE(...) AfxTrace(__VA_ARGS__)
#endif
