// SDL scancodes to DirectInput key codes and Windows virtual keys.
//
// Both follow the key's position on a US keyboard, whatever layout the system has, as a
// DirectInput code and a virtual key do on Windows. DirectInput codes are the PC set-1
// scan codes, with 0x80 added for the keys that send the 0xE0 prefix.
#include "input_hub.h"
#include "keyboard.h"

#include <SDL_scancode.h>

namespace vexa::platform {

namespace {

// Virtual key of the key left of Z on ISO keyboards.
constexpr int kVkOem102 = 0xE2;

struct KeyCodes {
    SDL_Scancode sdl;
    int dik;
    int vk; // sided for the modifiers
};

const KeyCodes kKeys[] = {
    {SDL_SCANCODE_ESCAPE, 0x01, VK_ESCAPE},
    {SDL_SCANCODE_1, 0x02, '1'},
    {SDL_SCANCODE_2, 0x03, '2'},
    {SDL_SCANCODE_3, 0x04, '3'},
    {SDL_SCANCODE_4, 0x05, '4'},
    {SDL_SCANCODE_5, 0x06, '5'},
    {SDL_SCANCODE_6, 0x07, '6'},
    {SDL_SCANCODE_7, 0x08, '7'},
    {SDL_SCANCODE_8, 0x09, '8'},
    {SDL_SCANCODE_9, 0x0A, '9'},
    {SDL_SCANCODE_0, 0x0B, '0'},
    {SDL_SCANCODE_MINUS, 0x0C, VK_OEM_MINUS},
    {SDL_SCANCODE_EQUALS, 0x0D, VK_OEM_PLUS},
    {SDL_SCANCODE_BACKSPACE, 0x0E, VK_BACK},
    {SDL_SCANCODE_TAB, 0x0F, VK_TAB},
    {SDL_SCANCODE_Q, 0x10, 'Q'},
    {SDL_SCANCODE_W, 0x11, 'W'},
    {SDL_SCANCODE_E, 0x12, 'E'},
    {SDL_SCANCODE_R, 0x13, 'R'},
    {SDL_SCANCODE_T, 0x14, 'T'},
    {SDL_SCANCODE_Y, 0x15, 'Y'},
    {SDL_SCANCODE_U, 0x16, 'U'},
    {SDL_SCANCODE_I, 0x17, 'I'},
    {SDL_SCANCODE_O, 0x18, 'O'},
    {SDL_SCANCODE_P, 0x19, 'P'},
    {SDL_SCANCODE_LEFTBRACKET, 0x1A, VK_OEM_4},
    {SDL_SCANCODE_RIGHTBRACKET, 0x1B, VK_OEM_6},
    {SDL_SCANCODE_RETURN, 0x1C, VK_RETURN},
    {SDL_SCANCODE_LCTRL, 0x1D, VK_LCONTROL},
    {SDL_SCANCODE_A, 0x1E, 'A'},
    {SDL_SCANCODE_S, 0x1F, 'S'},
    {SDL_SCANCODE_D, 0x20, 'D'},
    {SDL_SCANCODE_F, 0x21, 'F'},
    {SDL_SCANCODE_G, 0x22, 'G'},
    {SDL_SCANCODE_H, 0x23, 'H'},
    {SDL_SCANCODE_J, 0x24, 'J'},
    {SDL_SCANCODE_K, 0x25, 'K'},
    {SDL_SCANCODE_L, 0x26, 'L'},
    {SDL_SCANCODE_SEMICOLON, 0x27, VK_OEM_1},
    {SDL_SCANCODE_APOSTROPHE, 0x28, VK_OEM_7},
    {SDL_SCANCODE_GRAVE, 0x29, VK_OEM_3},
    {SDL_SCANCODE_LSHIFT, 0x2A, VK_LSHIFT},
    {SDL_SCANCODE_BACKSLASH, 0x2B, VK_OEM_5},
    {SDL_SCANCODE_NONUSHASH, 0x2B, VK_OEM_5},
    {SDL_SCANCODE_Z, 0x2C, 'Z'},
    {SDL_SCANCODE_X, 0x2D, 'X'},
    {SDL_SCANCODE_C, 0x2E, 'C'},
    {SDL_SCANCODE_V, 0x2F, 'V'},
    {SDL_SCANCODE_B, 0x30, 'B'},
    {SDL_SCANCODE_N, 0x31, 'N'},
    {SDL_SCANCODE_M, 0x32, 'M'},
    {SDL_SCANCODE_COMMA, 0x33, VK_OEM_COMMA},
    {SDL_SCANCODE_PERIOD, 0x34, VK_OEM_PERIOD},
    {SDL_SCANCODE_SLASH, 0x35, VK_OEM_2},
    {SDL_SCANCODE_RSHIFT, 0x36, VK_RSHIFT},
    {SDL_SCANCODE_KP_MULTIPLY, 0x37, VK_MULTIPLY},
    {SDL_SCANCODE_LALT, 0x38, VK_LMENU},
    {SDL_SCANCODE_SPACE, 0x39, VK_SPACE},
    {SDL_SCANCODE_CAPSLOCK, 0x3A, VK_CAPITAL},
    {SDL_SCANCODE_F1, 0x3B, VK_F1},
    {SDL_SCANCODE_F2, 0x3C, VK_F2},
    {SDL_SCANCODE_F3, 0x3D, VK_F3},
    {SDL_SCANCODE_F4, 0x3E, VK_F4},
    {SDL_SCANCODE_F5, 0x3F, VK_F5},
    {SDL_SCANCODE_F6, 0x40, VK_F6},
    {SDL_SCANCODE_F7, 0x41, VK_F7},
    {SDL_SCANCODE_F8, 0x42, VK_F8},
    {SDL_SCANCODE_F9, 0x43, VK_F9},
    {SDL_SCANCODE_F10, 0x44, VK_F10},
    {SDL_SCANCODE_NUMLOCKCLEAR, 0x45, VK_NUMLOCK},
    {SDL_SCANCODE_SCROLLLOCK, 0x46, VK_SCROLL},
    // The numeric keypad with Num Lock on.
    {SDL_SCANCODE_KP_7, 0x47, VK_NUMPAD7},
    {SDL_SCANCODE_KP_8, 0x48, VK_NUMPAD8},
    {SDL_SCANCODE_KP_9, 0x49, VK_NUMPAD9},
    {SDL_SCANCODE_KP_MINUS, 0x4A, VK_SUBTRACT},
    {SDL_SCANCODE_KP_4, 0x4B, VK_NUMPAD4},
    {SDL_SCANCODE_KP_5, 0x4C, VK_NUMPAD5},
    {SDL_SCANCODE_KP_6, 0x4D, VK_NUMPAD6},
    {SDL_SCANCODE_KP_PLUS, 0x4E, VK_ADD},
    {SDL_SCANCODE_KP_1, 0x4F, VK_NUMPAD1},
    {SDL_SCANCODE_KP_2, 0x50, VK_NUMPAD2},
    {SDL_SCANCODE_KP_3, 0x51, VK_NUMPAD3},
    {SDL_SCANCODE_KP_0, 0x52, VK_NUMPAD0},
    {SDL_SCANCODE_KP_PERIOD, 0x53, VK_DECIMAL},
    {SDL_SCANCODE_NONUSBACKSLASH, 0x56, kVkOem102},
    {SDL_SCANCODE_F11, 0x57, VK_F11},
    {SDL_SCANCODE_F12, 0x58, VK_F12},
    {SDL_SCANCODE_F13, 0x64, VK_F13},
    {SDL_SCANCODE_F14, 0x65, VK_F14},
    {SDL_SCANCODE_F15, 0x66, VK_F15},
    {SDL_SCANCODE_KP_ENTER, 0x9C, VK_RETURN},
    {SDL_SCANCODE_RCTRL, 0x9D, VK_RCONTROL},
    {SDL_SCANCODE_KP_DIVIDE, 0xB5, VK_DIVIDE},
    {SDL_SCANCODE_PRINTSCREEN, 0xB7, VK_SNAPSHOT},
    {SDL_SCANCODE_RALT, 0xB8, VK_RMENU},
    {SDL_SCANCODE_PAUSE, 0xC5, VK_PAUSE},
    {SDL_SCANCODE_HOME, 0xC7, VK_HOME},
    {SDL_SCANCODE_UP, 0xC8, VK_UP},
    {SDL_SCANCODE_PAGEUP, 0xC9, VK_PRIOR},
    {SDL_SCANCODE_LEFT, 0xCB, VK_LEFT},
    {SDL_SCANCODE_RIGHT, 0xCD, VK_RIGHT},
    {SDL_SCANCODE_END, 0xCF, VK_END},
    {SDL_SCANCODE_DOWN, 0xD0, VK_DOWN},
    {SDL_SCANCODE_PAGEDOWN, 0xD1, VK_NEXT},
    {SDL_SCANCODE_INSERT, 0xD2, VK_INSERT},
    {SDL_SCANCODE_DELETE, 0xD3, VK_DELETE},
    {SDL_SCANCODE_LGUI, 0xDB, VK_LWIN},
    {SDL_SCANCODE_RGUI, 0xDC, VK_RWIN},
    {SDL_SCANCODE_APPLICATION, 0xDD, VK_APPS},
};

const KeyCodes* Lookup(int sdlScancode)
{
    for (const KeyCodes& k : kKeys) {
        if (k.sdl == sdlScancode)
            return &k;
    }
    return nullptr;
}

} // namespace

int ScanCodeOfSdl(int sdlScancode)
{
    const KeyCodes* k = Lookup(sdlScancode);
    return k ? k->dik : 0;
}

int SidedVirtualKeyOfSdl(int sdlScancode)
{
    const KeyCodes* k = Lookup(sdlScancode);
    return k ? k->vk : 0;
}

int VirtualKeyOfSdl(int sdlScancode)
{
    // Window messages carry the plain modifier; GetKeyState tells the sides apart.
    switch (int vk = SidedVirtualKeyOfSdl(sdlScancode)) {
    case VK_LSHIFT:
    case VK_RSHIFT:
        return VK_SHIFT;
    case VK_LCONTROL:
    case VK_RCONTROL:
        return VK_CONTROL;
    case VK_LMENU:
    case VK_RMENU:
        return VK_MENU;
    default:
        return vk;
    }
}

LPARAM KeyMessageParam(int sdlScancode, bool down, bool repeat, bool altHeld)
{
    int dik = ScanCodeOfSdl(sdlScancode);
    // Pause sends its own prefix (0xE1), not the extended one.
    bool extended = (dik & 0x80) && dik != 0xC5;
    DWORD lParam = 1u | (DWORD(dik & 0x7F) << 16);
    if (extended)
        lParam |= 1u << 24;
    if (altHeld)
        lParam |= 1u << 29;
    if (repeat || !down)
        lParam |= 1u << 30;
    if (!down)
        lParam |= 1u << 31;
    return LPARAM(lParam);
}

} // namespace vexa::platform
