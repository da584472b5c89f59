// Present pacing: a wait to the next refresh of the window's display. Sleeping rather
// than the driver's swap interval keeps the rate the same where there is no vertical
// retrace to wait for (a virtual X server, the offscreen driver).
#include "frame_pacer.h"

#include <vexa/graphics.h>

#include <SDL.h>

#include <thread>

namespace {
bool pacing = true;  // process-wide, as the display is
}  // namespace

namespace vexa::platform {
void SetPresentPacing(bool on) { pacing = on; }
}  // namespace vexa::platform

namespace vexa::platform::d3d9 {

namespace {
std::chrono::steady_clock::duration RefreshPeriod(SDL_Window* window)
{
    SDL_DisplayMode mode;
    const int display = window ? SDL_GetWindowDisplayIndex(window) : 0;
    int hz = 0;
    if (display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0)
        hz = mode.refresh_rate;
    return std::chrono::duration_cast<std::chrono::steady_clock::duration>(
        std::chrono::duration<double>(1.0 / (hz > 0 ? hz : 60)));
}
}  // namespace

void FramePacer::Wait(SDL_Window* window)
{
    const auto period = RefreshPeriod(window);
    const auto now = std::chrono::steady_clock::now();
    if (pacing && started_ && now < next_) {
        std::this_thread::sleep_until(next_);
        next_ += period;
        return;
    }
    started_ = true;
    next_ = now + period;
}

}  // namespace vexa::platform::d3d9
