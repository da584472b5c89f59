// The event record's helpers and the pointer globals.
#include "kvEvent.h"

#include <string.h>

int32_t MouseX = 0;
int32_t MouseY = 0;

void ClearEvent(VlxMessage* event)
{
    memset(event, 0, sizeof(*event));
}
