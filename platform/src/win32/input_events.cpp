// Keyboard, text and mouse events as Windows delivers them: WM_KEYDOWN and its family
// with Windows' lParam, WM_CHAR from committed text, and the mouse messages in client
// coordinates. Each event also reaches the input listeners and the input method.
#include "input_events.h"
#include "keyboard.h"
#include "window_registry.h"

#include <SDL.h>

namespace vexa::platform {

namespace {

// The window an event names, or the focus window for events that name none.
HWND TargetOf(uint32_t sdlWindowId)
{
    HWND window = WindowOfSdlId(sdlWindowId);
    return window ? window : SystemState().focus;
}

WPARAM MouseKeyFlags()
{
    unsigned buttons = SystemState().mouseButtons;
    WPARAM flags = 0;
    if (buttons & 1u)
        flags |= MK_LBUTTON;
    if (buttons & 2u)
        flags |= MK_RBUTTON;
    if (buttons & 4u)
        flags |= MK_MBUTTON;
    if (VirtualKeyHeld(VK_SHIFT))
        flags |= MK_SHIFT;
    if (VirtualKeyHeld(VK_CONTROL))
        flags |= MK_CONTROL;
    return flags;
}

void TranslateKey(const SDL_KeyboardEvent& key)
{
    int sc = key.keysym.scancode;
    bool down = key.type == SDL_KEYDOWN;
    bool repeat = down && key.repeat != 0;
    // Alt's own press already counts as held; its release does not yet count as released.
    if (down)
        RecordKey(sc, true, repeat);
    bool alt = VirtualKeyHeld(VK_MENU) || (key.keysym.mod & KMOD_ALT);
    bool ctrl = VirtualKeyHeld(VK_CONTROL) || (key.keysym.mod & KMOD_CTRL);
    if (!down)
        RecordKey(sc, false, false);
    int vk = VirtualKeyOfSdl(sc);
    HWND window = TargetOf(key.windowID);
    if (vk && window) {
        // Ctrl+Alt is AltGr on many layouts, which Windows treats as a plain key.
        bool system = (alt && !ctrl) || vk == VK_F10;
        UINT message =
            down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
        PostMessageA(window, message, WPARAM(vk), KeyMessageParam(sc, down, repeat, alt));
    }
    int dik = ScanCodeOfSdl(sc);
    if (dik && !repeat)
        ForEachListener([dik, down](InputListener& l) { l.OnKey(dik, down); });
}

void TrackPointer(HWND window, int x, int y)
{
    WindowSystemState& state = SystemState();
    if (!window)
        return;
    state.pointerWindow = window;
    state.pointerPixel = POINT{x, y};
    state.pointer = WindowPixelToClient(window, x, y);
}

// SDL's button numbers to the listeners' order: left, right, middle, then the sides.
int ButtonIndex(uint8_t sdlButton)
{
    switch (sdlButton) {
    case SDL_BUTTON_LEFT:
        return 0;
    case SDL_BUTTON_RIGHT:
        return 1;
    case SDL_BUTTON_MIDDLE:
        return 2;
    case SDL_BUTTON_X1:
        return 3;
    case SDL_BUTTON_X2:
        return 4;
    default:
        return -1;
    }
}

void TranslateButton(const SDL_MouseButtonEvent& button)
{
    int index = ButtonIndex(button.button);
    if (index < 0)
        return;
    bool down = button.type == SDL_MOUSEBUTTONDOWN;
    HWND window = TargetOf(button.windowID);
    TrackPointer(window, button.x, button.y);
    WindowSystemState& state = SystemState();
    if (down)
        state.mouseButtons |= 1u << index;
    else
        state.mouseButtons &= ~(1u << index);
    static const int kVirtualKeys[] = {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON};
    static const UINT kMessages[][2] = {{WM_LBUTTONUP, WM_LBUTTONDOWN},
                                        {WM_RBUTTONUP, WM_RBUTTONDOWN},
                                        {WM_MBUTTONUP, WM_MBUTTONDOWN}};
    if (index < 3) {
        RecordMouseButton(kVirtualKeys[index], down);
        if (window)
            PostMessageA(window, kMessages[index][down ? 1 : 0], MouseKeyFlags(),
                         MAKELPARAM(state.pointer.x, state.pointer.y));
    }
    ForEachListener([index, down](InputListener& l) { l.OnMouseButton(index, down); });
}

void TranslateMotion(const SDL_MouseMotionEvent& motion)
{
    HWND window = TargetOf(motion.windowID);
    TrackPointer(window, motion.x, motion.y);
    if (window) {
        POINT p = SystemState().pointer;
        PostMessageA(window, WM_MOUSEMOVE, MouseKeyFlags(), MAKELPARAM(p.x, p.y));
    }
    int dx = motion.xrel;
    int dy = motion.yrel;
    ForEachListener([dx, dy](InputListener& l) { l.OnMouseMotion(dx, dy); });
}

void TranslateWheel(const SDL_MouseWheelEvent& wheel)
{
    int notches = wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -wheel.y : wheel.y;
    if (notches == 0)
        return;
    int delta = notches * WHEEL_DELTA;
    HWND window = TargetOf(wheel.windowID);
    if (window) {
        // Unlike the other mouse messages, the wheel's position is in screen coordinates.
        POINT screen;
        GetCursorPos(&screen);
        PostMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(MouseKeyFlags(), WORD(short(delta))),
                     MAKELPARAM(screen.x, screen.y));
    }
    ForEachListener([delta](InputListener& l) { l.OnMouseWheel(delta); });
}

} // namespace

bool TranslateInputEvent(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        TranslateKey(event.key);
        return true;
    case SDL_TEXTINPUT: {
        HWND window = TargetOf(event.text.windowID);
        if (TextInputHandler* handler = GetTextInputHandler())
            handler->OnTextInput(window, event.text.text);
        else
            PostTextAsChars(window, event.text.text);
        return true;
    }
    case SDL_TEXTEDITING:
        if (TextInputHandler* handler = GetTextInputHandler())
            handler->OnTextEditing(TargetOf(event.edit.windowID), event.edit.text, event.edit.start,
                                   event.edit.length);
        return true;
    case SDL_MOUSEMOTION:
        TranslateMotion(event.motion);
        return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        TranslateButton(event.button);
        return true;
    case SDL_MOUSEWHEEL:
        TranslateWheel(event.wheel);
        return true;
    default:
        return false;
    }
}

} // namespace vexa::platform
