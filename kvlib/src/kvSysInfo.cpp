// The system-information block that opens the debug log: processor, memory and version,
// read from the machine the program runs on.
#include "kvSystem.h"
#include "kvTrace.h"

#include <intrin.h>

#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

const char* YesNo(bool b) { return b ? "Yes" : "No"; }

void AmdName(int family, int model, char* out, size_t size)
{
    const char* name = "";
    if (family == 4) {
        name = "AMD Am486";
    } else if (family == 5) {
        if (model <= 3) name = "AMD K5";
        else if (model <= 5) name = "";
        else if (model <= 7) name = "AMD K6";
        else if (model == 8) name = "AMD K6-2";
        else if (model <= 15) name = "AMD K6-3";
        else { std::snprintf(out, size, "Unknown (Model=%d)", model); return; }
    } else if (family == 6) {
        name = "AMD ATHLON";
    }
    std::snprintf(out, size, "%s", name);
}

void IntelName(int family, int model, char* out, size_t size)
{
    const char* name = nullptr;
    switch (family) {
    case 4:
        switch (model) {
        case 0: case 1: name = "INTEL 486DX"; break;
        case 2: name = "INTEL 486SX"; break;
        case 3: name = "INTEL 486DX2"; break;
        case 4: name = "INTEL 486SL"; break;
        case 5: name = "INTEL 486SX2"; break;
        case 7: name = "INTEL 486DX2E"; break;
        case 8: name = "INTEL 486DX4"; break;
        }
        break;
    case 5:
        if (model >= 1 && model <= 3) name = "INTEL Pentium";
        else if (model == 4) name = "INTEL Pentium-MMX";
        break;
    case 6:
        switch (model) {
        case 1: name = "INTEL Pentium-Pro"; break;
        case 3: case 5: name = "INTEL Pentium-II"; break;
        case 6: name = "INTEL Celeron"; break;
        case 7: case 8: name = "INTEL Pentium-III"; break;
        }
        break;
    default:
        std::snprintf(out, size, "Unknown (Family=%d, Model=%d)", family, model);
        return;
    }
    if (name)
        std::snprintf(out, size, "%s", name);
    else
        std::snprintf(out, size, "Unknown (Model=%d)", model);
}

}  // namespace

void kvlib::CpuModelName(const char* vendor, int family, int model, char* out, size_t size)
{
    if (std::strcmp(vendor, "AuthenticAMD") == 0)
        AmdName(family, model, out, size);
    else if (std::strcmp(vendor, "GenuineIntel") == 0)
        IntelName(family, model, out, size);
    else
        std::snprintf(out, size, "Unknown");
}

namespace kvlib {

void WriteSystemInformation()
{
    time_t now = std::time(nullptr);
    Trace("--------  D E B U G  -------- %s", std::ctime(&now));
    Trace("SYSTEM  INFORMATION\n");
    Trace("CPU Host Freq: %dMhz", int(TestCPUFrequency(125)));

    int regs[4];
    __cpuid(regs, 0);
    const int maxLeaf = regs[0];
    char vendor[13] = {};
    std::memcpy(vendor, &regs[1], 4);  // EBX, EDX, ECX spell the vendor
    std::memcpy(vendor + 4, &regs[3], 4);
    std::memcpy(vendor + 8, &regs[2], 4);
    int family = 0, model = 0;
    unsigned features = 0;
    if (maxLeaf >= 1) {
        __cpuid(regs, 1);
        family = (regs[0] >> 8) & 0xF;
        model = (regs[0] >> 4) & 0xF;
        features = unsigned(regs[3]);
    }
    bool has3DNow = false;
    __cpuid(regs, int(0x80000000));
    if (unsigned(regs[0]) >= 0x80000001u) {
        __cpuid(regs, int(0x80000001));
        has3DNow = (unsigned(regs[3]) >> 31) & 1;
    }
    char modelName[64];
    CpuModelName(vendor, family, model, modelName, sizeof modelName);
    Trace("Vendor Name: %s", vendor);
    Trace("CPU Model: %s", modelName);
    Trace("CPU Support MMX: %s", YesNo((features >> 23) & 1));
    Trace("CPU Support for SSE: %s", YesNo((features >> 25) & 1));
    Trace("CPU Support for SSE2: %s", YesNo((features >> 26) & 1));
    Trace("CPU Support for 3DNOW: %s", YesNo(has3DNow));

    SYSTEM_INFO si;
    GetSystemInfo(&si);
    Trace("CPU Number: %d", int(si.dwNumberOfProcessors));
    Trace(" ");

    MEMORYSTATUS ms;
    GlobalMemoryStatus(&ms);
    Trace("Physical Memory: %d MB (Free: %d MB)", int(ms.dwTotalPhys >> 20),
          int(ms.dwAvailPhys >> 20));
    Trace("Virtual Memory: %d MB (Free: %d MB)", int(ms.dwTotalVirtual >> 20),
          int(ms.dwAvailVirtual >> 20));
    Trace(" ");

    OSVERSIONINFOA vi{};
    vi.dwOSVersionInfoSize = sizeof vi;
    GetVersionExA(&vi);
    Trace("Windows Version: %d.%d (Build %d)", int(vi.dwMajorVersion), int(vi.dwMinorVersion),
          int(vi.dwBuildNumber));
    Trace("-----------------------------");
}

}  // namespace kvlib
