// Starts SDL's video and event subsystems the first time a window class or a window needs
// them, so a program that never opens a window (and every test that needs none) runs
// without a display.
#include "input_hub.h"

#include <SDL.h>

#include <cstdio>

namespace vexa::platform {

bool EnsureVideo()
{
    if (SDL_WasInit(SDL_INIT_VIDEO))
        return true;
    // The program draws its own cursor-free full screen and minimises on its own terms.
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "SDL video: %s\n", SDL_GetError());
        return false;
    }
    return true;
}

}  // namespace vexa::platform
