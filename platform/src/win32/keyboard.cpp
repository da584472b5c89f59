// The key state behind GetKeyState, GetAsyncKeyState and IsKeyHeld, and TranslateMessage.
//
// The state is what the pump has seen, not SDL's: events reach the program through the
// pump, so a key is held from its WM_KEYDOWN on, as GetKeyState reports on Windows.
// TranslateMessage gives the characters of the US layout (what ToAscii gives there).
#include "keyboard.h"
#include "input_hub.h"
#include "message_queue.h"

#include <SDL.h>

#include <cstring>

namespace vexa::platform {

namespace {

struct KeyState {
    bool heldDik[256] = {};
    bool heldVk[256] = {};
    bool toggled[256] = {};
};

// The lock keys start as the system has them, read once SDL's video runs.
KeyState& Keys()
{
    static KeyState keys;
    static bool togglesRead = false;
    if (!togglesRead && SDL_WasInit(SDL_INIT_VIDEO)) {
        togglesRead = true;
        SDL_Keymod mod = SDL_GetModState();
        keys.toggled[VK_CAPITAL] = (mod & KMOD_CAPS) != 0;
        keys.toggled[VK_NUMLOCK] = (mod & KMOD_NUM) != 0;
        keys.toggled[VK_SCROLL] = (mod & KMOD_SCROLL) != 0;
    }
    return keys;
}

void UpdatePlainModifiers()
{
    KeyState& k = Keys();
    k.heldVk[VK_SHIFT] = k.heldVk[VK_LSHIFT] || k.heldVk[VK_RSHIFT];
    k.heldVk[VK_CONTROL] = k.heldVk[VK_LCONTROL] || k.heldVk[VK_RCONTROL];
    k.heldVk[VK_MENU] = k.heldVk[VK_LMENU] || k.heldVk[VK_RMENU];
}

// The printable character of a virtual key on the US layout; 0 when it has none.
char UsCharacter(int vk, bool shift, bool caps)
{
    if (vk >= 'A' && vk <= 'Z')
        return char((shift != caps) ? vk : vk - 'A' + 'a');
    if (vk >= '0' && vk <= '9')
        return shift ? ")!@#$%^&*("[vk - '0'] : char(vk);
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9)
        return char('0' + vk - VK_NUMPAD0);
    struct Pair {
        int vk;
        char plain;
        char shifted;
    };
    static const Pair pairs[] = {
        {VK_SPACE, ' ', ' '},     {VK_OEM_MINUS, '-', '_'},  {VK_OEM_PLUS, '=', '+'},
        {VK_OEM_4, '[', '{'},     {VK_OEM_6, ']', '}'},      {VK_OEM_5, '\\', '|'},
        {VK_OEM_1, ';', ':'},     {VK_OEM_7, '\'', '"'},     {VK_OEM_3, '`', '~'},
        {VK_OEM_COMMA, ',', '<'}, {VK_OEM_PERIOD, '.', '>'}, {VK_OEM_2, '/', '?'},
        {VK_MULTIPLY, '*', '*'},  {VK_ADD, '+', '+'},        {VK_SUBTRACT, '-', '-'},
        {VK_DECIMAL, '.', '.'},   {VK_DIVIDE, '/', '/'},     {0xE2, '\\', '|'},
    };
    for (const Pair& p : pairs) {
        if (p.vk == vk)
            return shift ? p.shifted : p.plain;
    }
    return 0;
}

char ControlCharacter(int vk, bool ctrl)
{
    switch (vk) {
    case VK_BACK:
        return 8;
    case VK_TAB:
        return 9;
    case VK_RETURN:
        return 13;
    case VK_ESCAPE:
        return 27;
    default:
        break;
    }
    if (ctrl && vk >= 'A' && vk <= 'Z')
        return char(vk - 'A' + 1);
    return 0;
}

bool TextComesFromTextInput(HWND window)
{
    if (TextInputHandler* handler = GetTextInputHandler())
        return handler->TextInputActive(window);
    return SDL_WasInit(SDL_INIT_VIDEO) && SDL_IsTextInputActive();
}

} // namespace

void RecordKey(int sdlScancode, bool down, bool repeat)
{
    KeyState& k = Keys();
    int dik = ScanCodeOfSdl(sdlScancode);
    int vk = SidedVirtualKeyOfSdl(sdlScancode);
    if (dik)
        k.heldDik[dik] = down;
    if (vk) {
        if (down && !repeat && (vk == VK_CAPITAL || vk == VK_NUMLOCK || vk == VK_SCROLL))
            k.toggled[vk] = !k.toggled[vk];
        k.heldVk[vk] = down;
        UpdatePlainModifiers();
    }
}

void RecordMouseButton(int virtualKey, bool down)
{
    Keys().heldVk[virtualKey & 0xFF] = down;
}

bool VirtualKeyHeld(int virtualKey)
{
    return Keys().heldVk[virtualKey & 0xFF];
}

bool IsKeyHeld(int key)
{
    return key >= 0 && key < 256 && Keys().heldDik[key];
}

} // namespace vexa::platform

using namespace vexa::platform;

WINAPI_EXPORT SHORT WINAPI GetKeyState(int nVirtKey)
{
    int vk = nVirtKey & 0xFF;
    unsigned value = (Keys().heldVk[vk] ? 0xFF80u : 0u) | (Keys().toggled[vk] ? 1u : 0u);
    return SHORT(value);
}

// The low bit ("pressed since the last call") is not kept; programs that poll read only
// the high bit.
WINAPI_EXPORT SHORT WINAPI GetAsyncKeyState(int vKey)
{
    return SHORT(Keys().heldVk[vKey & 0xFF] ? 0x8000u : 0u);
}

WINAPI_EXPORT HKL WINAPI GetKeyboardLayout(DWORD)
{
    // US English, the layout TranslateMessage follows.
    return reinterpret_cast<HKL>(uintptr_t(0x04090409));
}

WINAPI_EXPORT BOOL WINAPI TranslateMessage(const MSG* lpMsg)
{
    if (!lpMsg || (lpMsg->message != WM_KEYDOWN && lpMsg->message != WM_SYSKEYDOWN))
        return FALSE;
    int vk = int(lpMsg->wParam & 0xFF);
    bool shift = VirtualKeyHeld(VK_SHIFT);
    bool ctrl = VirtualKeyHeld(VK_CONTROL);
    bool caps = (GetKeyState(VK_CAPITAL) & 1) != 0;
    if (lpMsg->message == WM_SYSKEYDOWN) {
        char c = UsCharacter(vk, shift, caps);
        if (!c || vk == VK_SPACE)
            return FALSE;
        PostMessageFirst(lpMsg->hwnd, WM_SYSCHAR, WPARAM(static_cast<unsigned char>(c)),
                         lpMsg->lParam);
        return TRUE;
    }
    char c = ControlCharacter(vk, ctrl);
    if (!c && !ctrl && !TextComesFromTextInput(lpMsg->hwnd))
        c = UsCharacter(vk, shift, caps);
    if (!c)
        return FALSE;
    PostMessageFirst(lpMsg->hwnd, WM_CHAR, WPARAM(static_cast<unsigned char>(c)), lpMsg->lParam);
    return TRUE;
}
