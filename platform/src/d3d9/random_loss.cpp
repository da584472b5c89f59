// Device loss at random frames. A soak run starts the real program with
//   VEXA_LOSE_DEVICE=N[:MAX]  [VEXA_LOSE_DEVICE_SEED=S]
// and every presented frame then loses its device with a chance of one in N, at most MAX
// times (no limit without MAX), as a full-screen device is lost when another program
// takes the screen. Each loss writes one line to stderr, so the run can count them; the
// seed (from the clock unless given) is written once at the start, so a run can be
// repeated. The generator is our own, so a seed means the same frames on every machine.
#include "random_loss.h"

#include <vexa/graphics.h>

#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>

namespace vexa::platform::d3d9 {
namespace {

struct Schedule {
    std::mutex lock;
    bool configured = false;  // by the environment or SetRandomDeviceLoss
    unsigned oneIn = 0;       // 0: off
    unsigned maxLosses = 0;   // 0: no limit
    unsigned losses = 0;
    unsigned long long state = 0;
    bool fromEnvironment = false;
};

Schedule& TheSchedule()
{
    static Schedule schedule;
    return schedule;
}

// splitmix64: one 64-bit step, well mixed even from small seeds.
unsigned long long NextRandom(unsigned long long& state)
{
    unsigned long long z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

bool ParseNumber(const char* text, const char** end, unsigned* value)
{
    if (*text < '0' || *text > '9')
        return false;
    errno = 0;
    char* stop = nullptr;
    const unsigned long v = strtoul(text, &stop, 10);
    if (errno != 0 || v > 0xFFFFFFFFul)
        return false;
    *value = unsigned(v);
    *end = stop;
    return true;
}

// Pre: the schedule's lock is held.
void ReadEnvironment(Schedule& s)
{
    s.configured = true;
    const char* text = getenv("VEXA_LOSE_DEVICE");
    if (!text || !*text)
        return;
    unsigned oneIn = 0, most = 0, seed = 0;
    if (!ParseRandomLoss(text, &oneIn, &most)) {
        fprintf(stderr, "platform: VEXA_LOSE_DEVICE=%s is not N or N:MAX; no device is lost\n", text);
        return;
    }
    const char* seedText = getenv("VEXA_LOSE_DEVICE_SEED");
    const char* end = nullptr;
    if (!seedText || !ParseNumber(seedText, &end, &seed) || *end)
        seed = unsigned(time(nullptr)) ^ (unsigned(getpid()) << 16);
    s.oneIn = oneIn;
    s.maxLosses = most;
    s.losses = 0;
    s.state = seed;
    s.fromEnvironment = true;
    fprintf(stderr, "platform: a device is lost at one frame in %u (at most %u times), seed %u\n",
            oneIn, most, seed);
}

}  // namespace

bool ParseRandomLoss(const char* text, unsigned* oneIn, unsigned* maxLosses)
{
    if (!text)
        return false;
    unsigned n = 0, most = 0;
    const char* end = nullptr;
    if (!ParseNumber(text, &end, &n) || n == 0)
        return false;
    if (*end == ':') {
        if (!ParseNumber(end + 1, &end, &most))
            return false;
    }
    if (*end)
        return false;
    *oneIn = n;
    *maxLosses = most;
    return true;
}

bool RandomLossNow()
{
    Schedule& s = TheSchedule();
    std::lock_guard<std::mutex> guard(s.lock);
    if (!s.configured)
        ReadEnvironment(s);
    if (s.oneIn == 0 || (s.maxLosses != 0 && s.losses >= s.maxLosses))
        return false;
    if (NextRandom(s.state) % s.oneIn != 0)
        return false;
    ++s.losses;
    if (s.fromEnvironment)
        fprintf(stderr, "platform: device lost on purpose (%u)\n", s.losses);
    return true;
}

}  // namespace vexa::platform::d3d9

namespace vexa::platform {

void SetRandomDeviceLoss(unsigned oneIn, unsigned maxLosses, unsigned seed)
{
    d3d9::Schedule& s = d3d9::TheSchedule();
    std::lock_guard<std::mutex> guard(s.lock);
    s.configured = true;
    s.oneIn = oneIn;
    s.maxLosses = maxLosses;
    s.losses = 0;
    s.state = seed;
    s.fromEnvironment = false;
}

unsigned RandomDeviceLosses()
{
    d3d9::Schedule& s = d3d9::TheSchedule();
    std::lock_guard<std::mutex> guard(s.lock);
    return s.losses;
}

}  // namespace vexa::platform
