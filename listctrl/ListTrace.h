// Fixed diagnostic lines of the list control, written to the debugger output.
#pragma once

// printf-style (%s is a wide string); the line has no effect beyond the debugger.
void ListTrace(const wchar_t* pszFormat, ...);
