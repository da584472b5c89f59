// Internal: device loss at random frames, for soak runs of a whole program (the public
// switch is vexa::platform::SetRandomDeviceLoss in vexa/graphics.h). Present asks once a
// frame whether this frame loses the device.
#ifndef VEXA_PLATFORM_D3D9_RANDOM_LOSS_H
#define VEXA_PLATFORM_D3D9_RANDOM_LOSS_H

namespace vexa::platform::d3d9 {

// True when the frame being presented is to lose its device. The first call reads
// VEXA_LOSE_DEVICE unless SetRandomDeviceLoss came first.
bool RandomLossNow();

// "N" or "N:MAX" with N >= 1 and MAX >= 0, nothing else; false leaves the outputs alone.
bool ParseRandomLoss(const char* text, unsigned* oneIn, unsigned* maxLosses);

}  // namespace vexa::platform::d3d9

#endif
