// Clock, debugger output and system information answer with this machine's figures.
#include <windows.h>
#include <intrin.h>

#include <vexa/platform.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(Clock, PerformanceCounterIsMonotonicAndMatchesSleep)
{
    LARGE_INTEGER freq, a, b;
    ASSERT_TRUE(QueryPerformanceFrequency(&freq));
    EXPECT_EQ(10000000, freq.QuadPart);
    ASSERT_TRUE(QueryPerformanceCounter(&a));
    DWORD t0 = GetTickCount();
    Sleep(30);
    ASSERT_TRUE(QueryPerformanceCounter(&b));
    DWORD t1 = GetTickCount();
    EXPECT_GE(b.QuadPart - a.QuadPart, freq.QuadPart * 30 / 1000);
    EXPECT_GE(DWORD(t1 - t0), 29u);
    EXPECT_FALSE(QueryPerformanceCounter(nullptr));
}

TEST(OutputDebugString, IsKeptForReadersAndBounded)
{
    vexa::platform::ClearDebugOutput();
    OutputDebugStringA("first\n");
    OutputDebugStringA("second");
    OutputDebugStringA(nullptr);
    EXPECT_EQ("first\nsecond", vexa::platform::DebugOutputText());
    std::string big(vexa::platform::kDebugOutputKeep, 'x');
    OutputDebugStringA(big.c_str());
    OutputDebugStringA("tail");
    std::string kept = vexa::platform::DebugOutputText();
    EXPECT_EQ(vexa::platform::kDebugOutputKeep, kept.size());
    EXPECT_EQ("tail", kept.substr(kept.size() - 4));
}

TEST(SystemInformation, ReportsThisMachine)
{
    MEMORYSTATUS ms;
    GlobalMemoryStatus(&ms);
    EXPECT_EQ(sizeof ms, ms.dwLength);
    EXPECT_GT(ms.dwTotalPhys, SIZE_T(64) << 20);
    EXPECT_LE(ms.dwAvailPhys, ms.dwTotalPhys);
    EXPECT_LT(ms.dwAvailVirtual, ms.dwTotalVirtual);

    SYSTEM_INFO si;
    GetSystemInfo(&si);
    EXPECT_GE(si.dwNumberOfProcessors, 1u);
    EXPECT_EQ(4096u, si.dwPageSize);

    OSVERSIONINFOA vi{};
    EXPECT_FALSE(GetVersionExA(&vi));  // the size field must be set
    vi.dwOSVersionInfoSize = sizeof vi;
    ASSERT_TRUE(GetVersionExA(&vi));
    EXPECT_GE(vi.dwMajorVersion, 2u);
}

#if defined(__x86_64__) || defined(__i386__)
TEST(Intrinsics, CpuidGivesTheVendorAndTheCounterRuns)
{
    int regs[4];
    __cpuid(regs, 0);
    EXPECT_GE(regs[0], 1);
    char vendor[13] = {};
    std::memcpy(vendor, &regs[1], 4);
    std::memcpy(vendor + 4, &regs[3], 4);
    std::memcpy(vendor + 8, &regs[2], 4);
    EXPECT_EQ(12u, std::strlen(vendor));
    unsigned long long a = __rdtsc();
    Sleep(1);
    EXPECT_GT(__rdtsc(), a);
}
#endif

}  // namespace
