// Test helper: the SDL events a user causes in a window, pushed through SDL's queue so
// they travel the platform's real pump. Each returns whether SDL took the event.
#ifndef VEXA_PLATFORM_TESTS_SDL_EVENTS_H
#define VEXA_PLATFORM_TESTS_SDL_EVENTS_H

#include <vexa/platform.h>

#include <SDL.h>

#include <cstring>

namespace vexa::test {

inline Uint32 SdlId(void* window)
{
    return vexa::platform::SdlWindowIdOf(window);
}

inline bool PushSdlWindowEvent(void* window, Uint8 kind, int data1 = 0, int data2 = 0)
{
    SDL_Event e = {};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = SdlId(window);
    e.window.event = kind;
    e.window.data1 = data1;
    e.window.data2 = data2;
    e.window.timestamp = SDL_GetTicks();
    return SDL_PushEvent(&e) == 1;
}

inline bool PushSdlKey(void* window, SDL_Scancode scancode, bool down, bool repeat = false,
                       Uint16 mod = KMOD_NONE)
{
    SDL_Event e = {};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.windowID = SdlId(window);
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.repeat = repeat ? 1 : 0;
    e.key.keysym.scancode = scancode;
    e.key.keysym.sym = SDL_GetKeyFromScancode(scancode);
    e.key.keysym.mod = mod;
    return SDL_PushEvent(&e) == 1;
}

inline bool PushSdlMotion(void* window, int x, int y, int dx, int dy)
{
    SDL_Event e = {};
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = SdlId(window);
    e.motion.x = x;
    e.motion.y = y;
    e.motion.xrel = dx;
    e.motion.yrel = dy;
    return SDL_PushEvent(&e) == 1;
}

inline bool PushSdlButton(void* window, Uint8 button, bool down, int x = 10, int y = 10)
{
    SDL_Event e = {};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.windowID = SdlId(window);
    e.button.button = button;
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = 1;
    e.button.x = x;
    e.button.y = y;
    return SDL_PushEvent(&e) == 1;
}

inline bool PushSdlWheel(void* window, int notches)
{
    SDL_Event e = {};
    e.type = SDL_MOUSEWHEEL;
    e.wheel.windowID = SdlId(window);
    e.wheel.y = notches;
    e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    return SDL_PushEvent(&e) == 1;
}

// Text in UTF-8, as SDL delivers it.
inline bool PushSdlEditing(void* window, const char* utf8, int start, int length)
{
    SDL_Event e = {};
    e.type = SDL_TEXTEDITING;
    e.edit.windowID = SdlId(window);
    std::strncpy(e.edit.text, utf8, sizeof(e.edit.text) - 1);
    e.edit.start = start;
    e.edit.length = length;
    return SDL_PushEvent(&e) == 1;
}

inline bool PushSdlText(void* window, const char* utf8)
{
    SDL_Event e = {};
    e.type = SDL_TEXTINPUT;
    e.text.windowID = SdlId(window);
    std::strncpy(e.text.text, utf8, sizeof(e.text.text) - 1);
    return SDL_PushEvent(&e) == 1;
}

}  // namespace vexa::test

#endif
