// Internal: the device capabilities record of the layer's HAL device.
#ifndef VEXA_PLATFORM_D3D9_CAPS_H
#define VEXA_PLATFORM_D3D9_CAPS_H

#include <d3d9.h>

namespace vexa::platform::d3d9 {

// MaxTextureWidth/Height follow the driver and the test limit of vexa/graphics.h.
void FillHalCaps(D3DCAPS9& caps);

}  // namespace vexa::platform::d3d9

#endif
