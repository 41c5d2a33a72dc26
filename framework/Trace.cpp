#include "Trace.h"

#include "String.h"

void AfxTrace(const wchar_t* pszFormat, ...) {
    CString line;
    va_list args;
    va_start(args, pszFormat);
    line.FormatV(pszFormat, args);
    va_end(args);
    ::OutputDebugStringW(line);
}
