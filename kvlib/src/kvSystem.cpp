// kvPath, GetComspec, InitFileLoader and TestCPUFrequency.
#include "kvSystem.h"

#include <intrin.h>

#include <cstdio>
#include <cstring>
#include <string>

char kvPath[260];

void GetComspec(char*)
{
    kvPath[0] = 0;
    LPCSTR line = GetCommandLineA();
    int wideLen = MultiByteToWideChar(CP_ACP, 0, line, -1, nullptr, 0);
    if (wideLen <= 0)
        return;
    std::u16string wide(size_t(wideLen), u'\0');
    MultiByteToWideChar(CP_ACP, 0, line, -1, wide.data(), wideLen);
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(wide.c_str(), &argc);
    if (!argv)
        return;
    if (argc > 0) {
        int n = WideCharToMultiByte(CP_ACP, 0, argv[0], -1, nullptr, 0, nullptr, nullptr);
        std::string program(size_t(n > 0 ? n : 1), '\0');
        if (n > 0)
            WideCharToMultiByte(CP_ACP, 0, argv[0], -1, program.data(), n, nullptr, nullptr);
        std::snprintf(kvPath, sizeof kvPath, "%s", program.c_str());
    }
    LocalFree(argv);
    if (char* slash = std::strrchr(kvPath, '\\'))
        slash[1] = 0;  // the directory keeps its final backslash
}

void InitFileLoader(const char* a, const char* b)
{
    char joined[256];
    std::snprintf(joined, sizeof joined, "%s%s", a ? a : "", b ? b : "");
    std::snprintf(kvPath, sizeof kvPath, "%s", joined);
}

DWORD TestCPUFrequency(DWORD ms)
{
    if (ms == 0)
        return 0;
    Sleep(1);
    Sleep(1);
    Sleep(1);
    DWORD start = DWORD(__rdtsc());
    Sleep(ms);
    DWORD end = DWORD(__rdtsc());
    return (end - start) / (ms * 1000);
}
