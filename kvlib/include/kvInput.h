// kvInput: the application-wide event queue, the typed-character buffer, the input-state
// globals the input backend fills, and the abstract input backend kvInputInterface.
// The window procedure, the frame clock and the backends build on this header; the record
// itself and the pointer position live in kvEvent.h.
#ifndef KVLIB_KVINPUT_H
#define KVLIB_KVINPUT_H

#include <windows.h>

#include "kvEvent.h"

#include <dinput.h>

// Command codes KvLib itself posts (word x of a type-3 event).
#define VLX_CMD_REDRAW 0
#define VLX_CMD_CLOSE 2
#define VLX_CMD_EXIT 5
#define VLX_CMD_RESIZED 18

// Capacity of the event queue and of the typed-character buffer.
#define VLX_QUEUE_SIZE 16
#define VLX_CHARBUF_SIZE 16

// Input state written by the input backend (GetMouseInput, GetKbdInput).
extern DIMOUSESTATE MyMouse;
extern int32_t MouseWheel;
extern BYTE keys[256];
extern BYTE prevkeys[256];
extern bool bKeyRepeat;
extern bool bMouseMoved;
extern bool bMouseOuted;
// Caret blink phase, inverted by the blink clock in LoadEvent.
extern bool bCursorSparkle;
// Exit requested; set by PushExitEvent.
extern bool bExit;
// Milliseconds of the frame clock; events and the caret blink read it.
extern DWORD TimeStamp;

// The abstract input backend. Invariant: the class identifier follows the table pointer;
// each implementation sets it, the base constructor leaves it untouched.
class kvInputInterface {
public:
    GUID ClassId;

    virtual void Init() = 0;
    virtual void GetMouseInput() = 0;
    virtual void GetKbdInput() = 0;
    // The next buffered key stroke, 0 when none.
    virtual int GetAKey();
    virtual void Release();
    virtual ~kvInputInterface();

    // Stores this object in kvii; an implementation's constructor calls it.
    void InstallSelf();
    // Refreshes the input globals without queueing mouse events.
    void GetInput();
    // Drops every buffered key stroke.
    void ClearKeyBuf();
    // Waits for one whole key stroke: no key, then a key, then no key again.
    void ReadAKey();
};

// The installed input backend; null until one calls InstallSelf.
extern kvInputInterface* kvii;

// Appends a copy of *event; when 16 are queued the new one is dropped silently.
void AddEvent(VlxMessage* event);
// Copies the oldest event to *out and removes it; false and an all-zero record when empty.
// Runs the caret blink clock first.
bool LoadEvent(VlxMessage* out);
// Pre: kvii is installed. Polls the backend once and turns mouse changes into events.
void GetEvent();
int GetEventCount();
// Removes every mouse event, keeping the others in order.
void ClearExtraEvent();
// Queues the redraw command unless one is already queued.
void InvalidateView();
// Queues the exit command and sets bExit.
void PushExitEvent();
// Takes the oldest typed character; false when none is buffered.
bool LoadAsciiChar(char* out);
void ClearAsciiBuf();

namespace kvlib {
// Queues a command record carrying only its code, as the runtime posts its own commands.
void PostCommand(int32_t code);
// Buffers one typed character as WM_CHAR delivers it: codes 8, 9, 10, 13 and 27 are
// ignored, others are truncated to a byte; dropped silently when 16 are buffered.
void PutTypedChar(WPARAM code);
// The key code of a WM_KEYDOWN: the DirectInput code for the virtual key when the table
// has one, else the high word of lParam (scan code, extended and repeat bits).
int32_t KeyDownCode(WPARAM virtualKey, LPARAM lParam);
}

#endif
