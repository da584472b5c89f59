// Internal: the desktop's display mode as Direct3D describes it.
#ifndef VEXA_PLATFORM_D3D9_DISPLAY_MODE_H
#define VEXA_PLATFORM_D3D9_DISPLAY_MODE_H

#include <d3d9.h>

namespace vexa::platform::d3d9 {

// False when SDL's video cannot start or reports no display.
bool DesktopMode(D3DDISPLAYMODE* mode);
// The Direct3D format of an SDL pixel format; D3DFMT_UNKNOWN when none matches.
D3DFORMAT FormatOfSdl(unsigned sdlPixelFormat);

}  // namespace vexa::platform::d3d9

#endif
