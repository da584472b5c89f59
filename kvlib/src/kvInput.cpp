// The input-state globals, the input backend's base class, and the mouse-event generator
// that GetEvent runs once per frame.
#include "kvInput.h"

DIMOUSESTATE MyMouse = {};
int32_t MouseWheel = 0;
BYTE keys[256] = {};
BYTE prevkeys[256] = {};
bool bKeyRepeat = true;
bool bMouseMoved = false;
bool bMouseOuted = false;
kvInputInterface* kvii = nullptr;

int kvInputInterface::GetAKey()
{
    return 0;
}

void kvInputInterface::Release() {}

kvInputInterface::~kvInputInterface()
{
    // A backend deleted by its owner must not stay reachable through kvii.
    if (kvii == this)
        kvii = nullptr;
}

void kvInputInterface::InstallSelf()
{
    kvii = this;
}

void kvInputInterface::GetInput()
{
    GetMouseInput();
    GetKbdInput();
}

void kvInputInterface::ClearKeyBuf()
{
    while (GetAKey() != 0) {
    }
}

void kvInputInterface::ReadAKey()
{
    while (GetAKey() != 0) {
    }
    while (GetAKey() == 0) {
    }
    while (GetAKey() != 0) {
    }
}

namespace {
// Mouse-generator state. Invariant: dragging only while a button set is held.
int32_t prevX = 0;
int32_t prevY = 0;
int32_t prevButtons = 0;
int32_t pressX = 0;
int32_t pressY = 0;
bool dragging = false;

int32_t HeldButtons()
{
    return ((MyMouse.rgbButtons[0] >> 7) & 1) | (((MyMouse.rgbButtons[1] >> 7) & 1) << 1) |
           (((MyMouse.rgbButtons[2] >> 7) & 1) << 2);
}

void GenerateMouseEvents()
{
    kvii->GetMouseInput();
    const int32_t b = HeldButtons();
    const int32_t x = MouseX;
    const int32_t y = MouseY;
    const bool moved = x != prevX || y != prevY;
    int32_t action = 0;
    int32_t buttons = 0;
    bool wheelOnly = false;
    if (b != 0) {
        if (b != prevButtons) {
            action = VLX_MOUSE_PRESS;
            buttons = b;
        } else if (moved) {
            action = VLX_MOUSE_MOVE;
            buttons = b;
        }
    } else if (prevButtons != 0) {
        action = VLX_MOUSE_RELEASE;
        buttons = prevButtons;
    } else if (moved) {
        action = VLX_MOUSE_MOVE;
    } else if (MouseWheel != 0) {
        action = VLX_MOUSE_MOVE;
        buttons = 4;
        wheelOnly = true;
    }
    prevButtons = b;

    if (action != 0) {
        VlxMessage e;
        ClearEvent(&e);
        e.type = VLX_MOUSE;
        e.x = x;
        e.y = y;
        e.dx = x - prevX;
        e.dy = y - prevY;
        e.action = action;
        e.buttons = buttons;
        e.time = int32_t(TimeStamp);
        AddEvent(&e);
        if (action == VLX_MOUSE_PRESS) {
            pressX = x;
            pressY = y;
        } else if (action == VLX_MOUSE_MOVE && buttons != 0 && !dragging && !wheelOnly) {
            // A wheel turn reports buttons 4 but holds nothing: it never starts a drag.
            dragging = true;
            e.action = VLX_MOUSE_DRAGSTART;
            e.x = pressX;
            e.y = pressY;
            AddEvent(&e);
        } else if (action == VLX_MOUSE_RELEASE) {
            e.action = dragging ? VLX_MOUSE_DROP : VLX_MOUSE_CLICK;
            AddEvent(&e);
            dragging = false;
        }
    }
    prevX = x;
    prevY = y;
}
}  // namespace

void GetEvent()
{
    GenerateMouseEvents();
    kvii->GetKbdInput();
}
