// The desktop mode from SDL: size, refresh rate and the pixel format in Direct3D's names.
#include "display_mode.h"

#include "../win32/input_hub.h"

#include <SDL.h>

namespace vexa::platform::d3d9 {

D3DFORMAT FormatOfSdl(unsigned sdlPixelFormat)
{
    switch (sdlPixelFormat) {
    case SDL_PIXELFORMAT_RGB888:  // SDL's name for X8R8G8B8
    case SDL_PIXELFORMAT_BGR888:
        return D3DFMT_X8R8G8B8;
    case SDL_PIXELFORMAT_ARGB8888:
        return D3DFMT_A8R8G8B8;
    case SDL_PIXELFORMAT_RGB565:
        return D3DFMT_R5G6B5;
    case SDL_PIXELFORMAT_RGB555:
        return D3DFMT_X1R5G5B5;
    case SDL_PIXELFORMAT_ARGB1555:
        return D3DFMT_A1R5G5B5;
    default:
        return D3DFMT_UNKNOWN;
    }
}

bool DesktopMode(D3DDISPLAYMODE* mode)
{
    SDL_DisplayMode sdl;
    if (!EnsureVideo() || SDL_GetDesktopDisplayMode(0, &sdl) != 0)
        return false;
    mode->Width = UINT(sdl.w);
    mode->Height = UINT(sdl.h);
    mode->RefreshRate = UINT(sdl.refresh_rate > 0 ? sdl.refresh_rate : 60);
    mode->Format = FormatOfSdl(sdl.format);
    // Drivers that report no format (offscreen among them) draw into 32-bit surfaces.
    if (mode->Format == D3DFMT_UNKNOWN)
        mode->Format = D3DFMT_X8R8G8B8;
    return true;
}

}  // namespace vexa::platform::d3d9
