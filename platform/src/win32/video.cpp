// Starts SDL's video and event subsystems the first time a window class or a window needs
// them, so a program that never opens a window (and every test that needs none) runs
// without a display.
#include "cursor_icon.h"
#include "input_hub.h"

#include <SDL.h>

#include <cstdio>

namespace vexa::platform {

bool EnsureVideo()
{
    if (SDL_WasInit(SDL_INIT_VIDEO))
        return true;
    // Closing the last window is the program's WM_CLOSE to answer, not an end of the
    // session: only a termination request from outside (SIGTERM, SIGINT) ends it.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "SDL video: %s\n", SDL_GetError());
        return false;
    }
    // SDL unloads the OpenGL library with the last OpenGL window; holding one load keeps
    // the driver in place for the next window (and its allocations reachable), instead
    // of loading the whole driver again. Without OpenGL, windows are made without it.
    SDL_GL_LoadLibrary(nullptr);
    // ShowCursor may have counted below zero before there was a cursor to hide.
    ApplyCursorCount();
    return true;
}

} // namespace vexa::platform
