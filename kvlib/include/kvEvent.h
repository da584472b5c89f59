// kvEvent: the engine's event record and the pointer position the input backend keeps.
// The queue that carries these records is built on top of this header; the game and the
// GUI only need the record itself and the pointer globals.
#ifndef KVLIB_KVEVENT_H
#define KVLIB_KVEVENT_H

#include <stdint.h>

// Event kinds carried in VlxMessage::type.
#define VLX_EMPTY 0
#define VLX_MOUSE 1
#define VLX_KEY 2
#define VLX_COMMAND 3

// Mouse actions carried in VlxMessage::action of a mouse event.
#define VLX_MOUSE_PRESS 1
#define VLX_MOUSE_MOVE 2
#define VLX_MOUSE_RELEASE 3
#define VLX_MOUSE_CLICK 4
#define VLX_MOUSE_DRAGSTART 5
#define VLX_MOUSE_DROP 6

// Invariant: eight signed 32-bit words, copied by value; type 0 is an empty record.
struct VlxMessage {
    int32_t type;
    int32_t x;
    int32_t y;
    int32_t dx;
    int32_t dy;
    int32_t action;
    int32_t buttons;
    int32_t time;
};

// Pointer position in client pixels, written by the input backend.
extern int32_t MouseX;
extern int32_t MouseY;

// Sets all eight words to 0, so that later handlers see an empty record.
void ClearEvent(VlxMessage* event);

#endif
