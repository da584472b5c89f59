// Internal: the thread message queue beyond PostMessageA, for the pump, TranslateMessage
// and DestroyWindow.
#ifndef VEXA_PLATFORM_MESSAGE_QUEUE_H
#define VEXA_PLATFORM_MESSAGE_QUEUE_H

#include <windows.h>

namespace vexa::platform {

// Puts a message at the head of the queue, so it is the next one retrieved (the
// characters TranslateMessage makes come before the input that followed their key).
void PostMessageFirst(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Drops the posted messages of a window that is going away.
void PurgeMessagesFor(HWND window);
// Milliseconds between two WM_PAINT messages for a window that is not validated.
uint32_t PaintInterval();

} // namespace vexa::platform

#endif
