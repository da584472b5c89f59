// vexa/graphics.h: hooks of the Direct3D layer for tests, beyond the Direct3D interfaces.
#ifndef VEXA_PLATFORM_GRAPHICS_H
#define VEXA_PLATFORM_GRAPHICS_H

struct IDirect3DDevice9;

namespace vexa::platform {

// Caps the largest texture edge devices report (MaxTextureWidth and MaxTextureHeight) and
// accept, as a smaller card would; 0 restores the driver's own limit.
void SetTextureSizeLimit(unsigned edge);

// Makes the device lost, as a full-screen device is when another program takes the
// screen: Present answers D3DERR_DEVICELOST and TestCooperativeLevel
// D3DERR_DEVICENOTRESET until a Reset succeeds.
void LoseDevice(IDirect3DDevice9* device);

// Soak runs: every presented frame of any device then loses that device with a chance of
// one in oneIn (0 turns it off), at most maxLosses times (0: no limit), drawn from a
// generator seeded with seed. Without a call, the first Present reads the environment:
// VEXA_LOSE_DEVICE=N[:MAX] and VEXA_LOSE_DEVICE_SEED=S (the clock when unset), and writes
// each loss to stderr ("platform: device lost on purpose (n)").
void SetRandomDeviceLoss(unsigned oneIn, unsigned maxLosses, unsigned seed);
// The losses made since the last SetRandomDeviceLoss (or the environment's schedule).
unsigned RandomDeviceLosses();

// Present waits so that frames follow no faster than the display refreshes; benchmarks
// that time drawing turn that off (false) and back on (true). On by default.
void SetPresentPacing(bool on);

}  // namespace vexa::platform

#endif
