// The event queue, the typed-character buffer and the caret blink clock.
// Invariant: 0 <= queueCount <= VLX_QUEUE_SIZE, slot 0 is the oldest event;
// 0 <= charCount <= VLX_CHARBUF_SIZE, index 0 is the newest character.
#include "kvInput.h"

#include <string.h>

bool bCursorSparkle = false;
bool bExit = false;

namespace {
VlxMessage queue[VLX_QUEUE_SIZE];
int32_t queueCount = 0;
char charBuf[VLX_CHARBUF_SIZE];
int32_t charCount = 0;
DWORD lastBlink = 0;

// Inverts the caret phase every 500 ms, and at once while characters wait to be read.
void BlinkClock()
{
    if (DWORD(TimeStamp - lastBlink) > 500u || charCount > 0) {
        InvalidateView();
        lastBlink = TimeStamp;
        bCursorSparkle = !bCursorSparkle;
    }
}
}  // namespace

void AddEvent(VlxMessage* event)
{
    if (queueCount >= VLX_QUEUE_SIZE)
        return;
    queue[queueCount++] = *event;
}

bool LoadEvent(VlxMessage* out)
{
    BlinkClock();
    if (queueCount == 0) {
        ClearEvent(out);
        return false;
    }
    *out = queue[0];
    memmove(&queue[0], &queue[1], sizeof(VlxMessage) * size_t(queueCount - 1));
    --queueCount;
    ClearEvent(&queue[queueCount]);
    return true;
}

int GetEventCount()
{
    return queueCount;
}

void ClearExtraEvent()
{
    int32_t kept = 0;
    for (int32_t i = 0; i < queueCount; ++i) {
        if (queue[i].type != VLX_MOUSE)
            queue[kept++] = queue[i];
    }
    for (int32_t i = kept; i < queueCount; ++i)
        ClearEvent(&queue[i]);
    queueCount = kept;
}

void InvalidateView()
{
    for (int32_t i = 0; i < queueCount; ++i) {
        if (queue[i].type == VLX_COMMAND && queue[i].x == VLX_CMD_REDRAW)
            return;
    }
    kvlib::PostCommand(VLX_CMD_REDRAW);
}

void PushExitEvent()
{
    kvlib::PostCommand(VLX_CMD_EXIT);
    bExit = true;
}

bool LoadAsciiChar(char* out)
{
    if (charCount == 0)
        return false;
    *out = charBuf[--charCount];
    return true;
}

void ClearAsciiBuf()
{
    charCount = 0;
}

namespace kvlib {
void PostCommand(int32_t code)
{
    VlxMessage e;
    ClearEvent(&e);
    e.type = VLX_COMMAND;
    e.x = code;
    AddEvent(&e);
}

void PutTypedChar(WPARAM code)
{
    if (code == 8 || code == 9 || code == 10 || code == 13 || code == 27)
        return;
    if (charCount >= VLX_CHARBUF_SIZE)
        return;
    memmove(&charBuf[1], &charBuf[0], size_t(charCount));
    charBuf[0] = char(code & 0xFF);
    ++charCount;
}
}  // namespace kvlib
