// Internal: what the message queue needs from the pump to wait without spinning.
#ifndef VEXA_PLATFORM_EVENT_PUMP_H
#define VEXA_PLATFORM_EVENT_PUMP_H

#include <cstdint>

namespace vexa::platform {

// Milliseconds until the pump has something to produce without a new SDL event (the
// WM_EXITSIZEMOVE that ends a move or resize); -1 when nothing is due.
int MillisecondsToPumpTimer();
// Waits up to timeoutMs (-1: without limit) for one SDL event and translates it.
void WaitForEvent(int timeoutMs);

} // namespace vexa::platform

#endif
