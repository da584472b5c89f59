// Internal: the pictures behind icon handles, for windows whose class has an icon.
#ifndef VEXA_PLATFORM_CURSOR_ICON_H
#define VEXA_PLATFORM_CURSOR_ICON_H

#include <windows.h>

struct SDL_Surface;

namespace vexa::platform {

// The loaded picture of an icon handle; null for the default icon or an unknown handle.
SDL_Surface* IconSurface(HICON icon);
// Shows or hides SDL's cursor as ShowCursor's counter says, once video runs.
void ApplyCursorCount();

} // namespace vexa::platform

#endif
