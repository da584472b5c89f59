// GlobalMemoryStatus, GetVersionExA and GetSystemInfo from the Linux kernel's figures.
//
// Physical memory and swap (the page file) come from sysinfo(2). The virtual figures are
// the process's user address space, as on Windows: its size is the architecture's user
// half, and what is free is that size less the process's mapped size (/proc/self/status,
// VmSize). The version is the kernel release: "6.1.0-28" reads as 6.1, build 0.
#include <windows.h>

#include <sys/sysinfo.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

namespace {

// 47-bit user address space of x86-64 Linux (and of 64-bit Windows since 8.1).
constexpr uint64_t kUserAddressSpace = sizeof(void*) == 8 ? (uint64_t(1) << 47) : (uint64_t(1) << 31);

uint64_t ProcessMappedBytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.compare(0, 7, "VmSize:") == 0)
            return uint64_t(std::strtoull(line.c_str() + 7, nullptr, 10)) * 1024u;
    }
    return 0;
}

}  // namespace

WINAPI_EXPORT void WINAPI GlobalMemoryStatus(LPMEMORYSTATUS lpBuffer)
{
    if (!lpBuffer)
        return;
    struct sysinfo si {};
    sysinfo(&si);
    uint64_t unit = si.mem_unit ? si.mem_unit : 1;
    uint64_t totalPhys = uint64_t(si.totalram) * unit;
    uint64_t availPhys = (uint64_t(si.freeram) + uint64_t(si.bufferram)) * unit;
    // MemAvailable counts reclaimable caches, which is what Windows reports as available.
    std::ifstream meminfo("/proc/meminfo");
    std::string line;
    while (std::getline(meminfo, line)) {
        if (line.compare(0, 13, "MemAvailable:") == 0) {
            availPhys = uint64_t(std::strtoull(line.c_str() + 13, nullptr, 10)) * 1024u;
            break;
        }
    }
    uint64_t mapped = ProcessMappedBytes();
    lpBuffer->dwLength = sizeof(MEMORYSTATUS);
    lpBuffer->dwMemoryLoad = totalPhys ? DWORD(100 - availPhys * 100 / totalPhys) : 0;
    lpBuffer->dwTotalPhys = SIZE_T(totalPhys);
    lpBuffer->dwAvailPhys = SIZE_T(availPhys);
    lpBuffer->dwTotalPageFile = SIZE_T(totalPhys + uint64_t(si.totalswap) * unit);
    lpBuffer->dwAvailPageFile = SIZE_T(availPhys + uint64_t(si.freeswap) * unit);
    lpBuffer->dwTotalVirtual = SIZE_T(kUserAddressSpace);
    lpBuffer->dwAvailVirtual = SIZE_T(mapped < kUserAddressSpace ? kUserAddressSpace - mapped : 0);
}

WINAPI_EXPORT BOOL WINAPI GetVersionExA(LPOSVERSIONINFOA lpVersionInformation)
{
    if (!lpVersionInformation ||
        lpVersionInformation->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    struct utsname u {};
    uname(&u);
    unsigned major = 0, minor = 0, build = 0;
    std::sscanf(u.release, "%u.%u.%u", &major, &minor, &build);
    lpVersionInformation->dwMajorVersion = major;
    lpVersionInformation->dwMinorVersion = minor;
    lpVersionInformation->dwBuildNumber = build;
    lpVersionInformation->dwPlatformId = VER_PLATFORM_WIN32_NT;
    std::snprintf(lpVersionInformation->szCSDVersion, sizeof lpVersionInformation->szCSDVersion,
                  "%s", u.sysname);
    return TRUE;
}

WINAPI_EXPORT void WINAPI GetSystemInfo(LPSYSTEM_INFO lpSystemInfo)
{
    if (!lpSystemInfo)
        return;
    std::memset(lpSystemInfo, 0, sizeof *lpSystemInfo);
#if defined(__x86_64__)
    lpSystemInfo->wProcessorArchitecture = PROCESSOR_ARCHITECTURE_AMD64;
    lpSystemInfo->dwProcessorType = 8664;
#elif defined(__i386__)
    lpSystemInfo->wProcessorArchitecture = PROCESSOR_ARCHITECTURE_INTEL;
    lpSystemInfo->dwProcessorType = 586;
#else
    lpSystemInfo->wProcessorArchitecture = PROCESSOR_ARCHITECTURE_UNKNOWN;
#endif
    long page = sysconf(_SC_PAGESIZE);
    long cpus = sysconf(_SC_NPROCESSORS_ONLN);
    lpSystemInfo->dwPageSize = DWORD(page > 0 ? page : 4096);
    lpSystemInfo->lpMinimumApplicationAddress = reinterpret_cast<LPVOID>(uintptr_t(0x10000));
    lpSystemInfo->lpMaximumApplicationAddress =
        reinterpret_cast<LPVOID>(uintptr_t(kUserAddressSpace - 0x10001));
    lpSystemInfo->dwNumberOfProcessors = DWORD(cpus > 0 ? cpus : 1);
    lpSystemInfo->dwActiveProcessorMask =
        lpSystemInfo->dwNumberOfProcessors >= sizeof(DWORD_PTR) * 8
            ? ~DWORD_PTR(0)
            : (DWORD_PTR(1) << lpSystemInfo->dwNumberOfProcessors) - 1;
    lpSystemInfo->dwAllocationGranularity = 65536;
}
