// Internal: the pacing of Present. Direct3D's immediate presentation interval would let a
// program that redraws continuously present thousands of frames a second; a display
// shows no more than its refresh rate, so Present waits out the rest of a refresh period
// instead. This is the one place the platform paces frames; benchmarks turn it off
// through vexa::platform::SetPresentPacing.
#ifndef VEXA_PLATFORM_D3D9_FRAME_PACER_H
#define VEXA_PLATFORM_D3D9_FRAME_PACER_H

#include <chrono>

struct SDL_Window;

namespace vexa::platform::d3d9 {

class FramePacer {
public:
    // Returns once a refresh period of the window's display (60 Hz when the display reports
    // no rate) has passed since the previous call, keeping a steady cadence; a late frame
    // starts a new period from now.
    void Wait(SDL_Window* window);

private:
    std::chrono::steady_clock::time_point next_{};
    bool started_ = false;
};

}  // namespace vexa::platform::d3d9

#endif
