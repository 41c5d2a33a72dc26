// Export/import switch of the application-framework DLL.
#pragma once

#ifdef FRAMEWORK_BUILD
#define FW_API __declspec(dllexport)
#else
#define FW_API __declspec(dllimport)
#endif
