// Internal: the pump's translation of keyboard, text and mouse events, and the list of
// input listeners it notifies.
#ifndef VEXA_PLATFORM_INPUT_EVENTS_H
#define VEXA_PLATFORM_INPUT_EVENTS_H

#include "input_hub.h"

#include <functional>

union SDL_Event;

namespace vexa::platform {

// Posts the messages of one keyboard, text or mouse event and tells the listeners;
// false when the event is of another kind.
bool TranslateInputEvent(const SDL_Event& event);
// Calls fn for every registered listener; a listener may remove itself meanwhile.
void ForEachListener(const std::function<void(InputListener&)>& fn);

} // namespace vexa::platform

#endif
