// Internal: the key state the pump keeps and GetKeyState, TranslateMessage and the
// DirectInput keyboard read.
#ifndef VEXA_PLATFORM_KEYBOARD_H
#define VEXA_PLATFORM_KEYBOARD_H

#include <windows.h>

namespace vexa::platform {

// The sided virtual key of an SDL scancode (VK_LSHIFT rather than VK_SHIFT); what
// VirtualKeyOfSdl gives for every other key.
int SidedVirtualKeyOfSdl(int sdlScancode);
// Records a key going down or up: its DirectInput code, its sided and plain virtual
// keys, and the toggle of Caps Lock, Num Lock and Scroll Lock on each press.
void RecordKey(int sdlScancode, bool down, bool repeat);
// Records a mouse button (VK_LBUTTON, VK_RBUTTON or VK_MBUTTON) for GetKeyState.
void RecordMouseButton(int virtualKey, bool down);
bool VirtualKeyHeld(int virtualKey);
// The WM_KEYDOWN family's lParam for a key of this SDL scancode.
LPARAM KeyMessageParam(int sdlScancode, bool down, bool repeat, bool altHeld);

} // namespace vexa::platform

#endif
