// shellapi.h: the one shell32 function the runtime uses.
#ifndef VEXA_PLATFORM_SHELLAPI_H
#define VEXA_PLATFORM_SHELLAPI_H

#include <windows.h>

// Splits a command line as the C runtime does; the result is one block for LocalFree.
WINAPI_EXPORT LPWSTR* WINAPI CommandLineToArgvW(LPCWSTR lpCmdLine, int* pNumArgs);

#endif
