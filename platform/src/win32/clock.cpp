// GetTickCount, the performance counter and Sleep over the monotonic clock. The counter
// runs at 10 MHz, the rate modern Windows reports, so code dividing by the frequency sees
// familiar magnitudes; GetTickCount wraps at 2^32 milliseconds as on Windows. Windows
// gives the counter no fixed origin; ours starts when the library loads, so a program
// reading it as a float keeps its resolution however long the machine has been up.
#include <windows.h>

#include <vexa/platform.h>

#include <cerrno>
#include <ctime>

namespace {

constexpr LONGLONG kCounterHz = 10'000'000;

timespec Monotonic()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts;
}

LONGLONG CounterOf(const timespec& ts) { return LONGLONG(ts.tv_sec) * kCounterHz + ts.tv_nsec / 100; }

// The monotonic clock's reading, in counter ticks, at which the counter reads zero.
LONGLONG counterOrigin = CounterOf(Monotonic());

}  // namespace

namespace vexa::platform {
void MovePerformanceCounterOrigin(double secondsEarlier)
{
    counterOrigin -= LONGLONG(secondsEarlier * double(kCounterHz));
}
}  // namespace vexa::platform

WINAPI_EXPORT DWORD WINAPI GetTickCount(void)
{
    timespec ts = Monotonic();
    uint64_t ms = uint64_t(ts.tv_sec) * 1000u + uint64_t(ts.tv_nsec) / 1'000'000u;
    return DWORD(ms);
}

WINAPI_EXPORT BOOL WINAPI QueryPerformanceCounter(LARGE_INTEGER* lpPerformanceCount)
{
    if (!lpPerformanceCount) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    lpPerformanceCount->QuadPart = CounterOf(Monotonic()) - counterOrigin;
    return TRUE;
}

WINAPI_EXPORT BOOL WINAPI QueryPerformanceFrequency(LARGE_INTEGER* lpFrequency)
{
    if (!lpFrequency) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    lpFrequency->QuadPart = kCounterHz;
    return TRUE;
}

WINAPI_EXPORT void WINAPI Sleep(DWORD dwMilliseconds)
{
    timespec req{time_t(dwMilliseconds / 1000), long(dwMilliseconds % 1000) * 1'000'000L};
    while (nanosleep(&req, &req) == -1 && errno == EINTR) {
    }
}
