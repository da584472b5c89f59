// intrin.h: the two processor intrinsics the runtime reads for its system-information
// block, in the compiler's own spelling (__cpuid fills EAX, EBX, ECX, EDX).
#ifndef VEXA_PLATFORM_INTRIN_H
#define VEXA_PLATFORM_INTRIN_H

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <x86intrin.h>
// cpuid.h spells __cpuid as a five-argument macro; the compiler intrinsic takes an array.
#undef __cpuid

static inline void __cpuid(int cpuInfo[4], int function_id)
{
    unsigned a = 0, b = 0, c = 0, d = 0;
    __cpuid_count(function_id, 0, a, b, c, d);
    cpuInfo[0] = (int)a;
    cpuInfo[1] = (int)b;
    cpuInfo[2] = (int)c;
    cpuInfo[3] = (int)d;
}
#else
// Other processors have no CPUID: leaf 0 reports no leaves and an empty vendor.
static inline void __cpuid(int cpuInfo[4], int)
{
    cpuInfo[0] = cpuInfo[1] = cpuInfo[2] = cpuInfo[3] = 0;
}
static inline unsigned long long __rdtsc(void)
{
    return 0;
}
#endif

#endif
