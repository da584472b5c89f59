// Internal: focus and activation changes, shared by ShowWindow and SetFocus (which send
// their messages at once, as Windows does) and by the pump (which posts them, so they
// reach the program in order with the input around them).
#ifndef VEXA_PLATFORM_ACTIVATION_H
#define VEXA_PLATFORM_ACTIVATION_H

#include <windows.h>

namespace vexa::platform {

enum class Delivery { Send, Post };

// Makes the window the active and focused one; the application becomes active first
// (WM_ACTIVATEAPP) when it was not.
void ActivateWindow(HWND window, Delivery delivery);
// Moves the keyboard focus (WM_KILLFOCUS to the old window, WM_SETFOCUS to the new) and
// tells the input method. Pre: window is live or null.
void ChangeFocus(HWND window, Delivery delivery);
// The application went to the background: focus and activation become null.
void DeactivateApplication(Delivery delivery);
// Forgets a window that is going away, without messages.
void ForgetWindowInFocus(HWND window);
// Tells every input listener about an activation change.
void NotifyActivation(bool active);

} // namespace vexa::platform

#endif
