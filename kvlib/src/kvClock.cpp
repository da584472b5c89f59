// The frame clock. Invariant: pausedMark is set whenever the last frame ran inactive (and
// at load), so the first frame after a pause never adds its elapsed time to fAppTime.
// The performance counter has no fixed origin (it may have run for weeks), so fTime
// counts from the clock's first reading: as a float it then keeps a fine resolution for
// as long as a program runs.
#include "kvApplication.h"

DWORD TimeStamp = 0;

namespace {
bool started = false;
bool usePerformanceCounter = false;
double counterFrequency = 1.0;
LONGLONG counterOrigin = 0;
LONGLONG previousCounter = 0;
float previousTime = 0.0f;
bool pausedMark = true;
}  // namespace

namespace kvlib {
// The window procedure marks the clock on deactivation and at the start of a move or
// size drag.
void PauseClock()
{
    pausedMark = true;
}
}  // namespace kvlib

void UpdateTimeCounter()
{
    if (!started) {
        started = true;
        fAppTime = 0.0f;
        LARGE_INTEGER frequency;
        if (QueryPerformanceFrequency(&frequency) == 1 && frequency.QuadPart > 0) {
            usePerformanceCounter = true;
            counterFrequency = double(frequency.QuadPart);
            LARGE_INTEGER counter;
            QueryPerformanceCounter(&counter);
            counterOrigin = previousCounter = counter.QuadPart;
        }
    }
    if (usePerformanceCounter) {
        LARGE_INTEGER counter;
        QueryPerformanceCounter(&counter);
        fElapsedTime = float(double(counter.QuadPart - previousCounter) / counterFrequency);
        fTime = float(double(counter.QuadPart - counterOrigin) / counterFrequency);
        previousCounter = counter.QuadPart;
    } else {
        fTime = float(GetTickCount()) * 0.001f;
        fElapsedTime = fTime - previousTime;
        previousTime = fTime;
    }
    if (!pausedMark && bActive)
        fAppTime += fElapsedTime;
    pausedMark = !bActive;
    TimeStamp = DWORD(int64_t(double(fTime) * 1000.0));
}

DWORD GetFPS()
{
    // A zero or negative interval (two calls within the counter's resolution) has no rate.
    if (!(fElapsedTime > 0.0f))
        return 0;
    float fps = 1.0f / fElapsedTime;
    return fps >= 4294967295.0f ? 0xFFFFFFFFu : DWORD(fps);
}
