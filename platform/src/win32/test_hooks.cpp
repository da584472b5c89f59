// The hooks vexa/platform.h offers tests beyond the Windows interfaces.
#include <vexa/platform.h>

#include "input_hub.h"

#include <SDL.h>

namespace vexa::platform {
uint32_t SdlWindowIdOf(void* window)
{
    SDL_Window* sdl = SdlWindowOf(static_cast<HWND>(window));
    return sdl ? SDL_GetWindowID(sdl) : 0;
}
}  // namespace vexa::platform
