// Runtime helpers around the program's process: the executable directory kvPath and the
// processor clock rate.
#ifndef KVLIB_KVSYSTEM_H
#define KVLIB_KVSYSTEM_H

#include <windows.h>

// Directory prefix for file loading; ends in a backslash once set.
extern char kvPath[260];

// Sets kvPath to the directory of the running executable; the argument is ignored.
void GetComspec(char* unused);
// Sets kvPath to a followed by b.
void InitFileLoader(const char* a, const char* b);

// The processor's clock rate in MHz, measured over ms milliseconds of the time-stamp counter.
DWORD TestCPUFrequency(DWORD ms);

namespace kvlib {
// The processor's model name for the debug log, from its CPUID vendor, family and model.
void CpuModelName(const char* vendor, int family, int model, char* out, size_t size);
}

#endif
