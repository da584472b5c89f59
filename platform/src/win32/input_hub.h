// Internal: what the window system (win32) shares with the other platform parts that
// need its windows and its input: the input method (imm), the input devices (dinput)
// and, later, the Direct3D device (d3d9).
//
// One pump, PumpEvents, drains SDL's event queue. It turns SDL's events into the thread
// queue's messages, keeps the window records up to date and tells the registered input
// listeners and the input method what it saw, in the order it saw it. Everything runs on
// the thread that created the windows.
#ifndef VEXA_PLATFORM_INPUT_HUB_H
#define VEXA_PLATFORM_INPUT_HUB_H

#include <windows.h>

#include <string>

struct SDL_Window;

namespace vexa::platform {

// ---- windows -------------------------------------------------------------------------
// Starts SDL's video and event subsystems once; false (and SDL's error traced to stderr)
// when no video driver can start.
bool EnsureVideo();
// The SDL window behind a window handle; null for an unknown or destroyed handle.
SDL_Window* SdlWindowOf(HWND window);
// The window handle of an SDL window id; null when none.
HWND WindowOfSdlId(uint32_t sdlWindowId);
// True while the program is the active application (after the first window was shown and
// until the focus goes to another program).
bool IsApplicationActive();

// Full-screen windows show a back buffer scaled to fit and letterboxed. The Direct3D
// device sets the back buffer's size; until then it is the window's own size. Client
// coordinates of such a window are back-buffer pixels.
void SetBackBufferSize(HWND window, int width, int height);
// Maps a position in the SDL window's pixels to client (back-buffer) pixels.
POINT WindowPixelToClient(HWND window, int x, int y);

// ---- the pump ------------------------------------------------------------------------
// Drains SDL's queue: posts the messages, updates the window records, and notifies the
// listeners and the input method. PeekMessage, GetMessage and WaitMessage call it, and so
// do the input devices before they read the state.
void PumpEvents();

// Receives the raw input the pump sees, for the DirectInput devices.
class InputListener {
public:
    virtual ~InputListener() = default;
    // Relative motion in window pixels, as SDL reports it.
    virtual void OnMouseMotion(int dx, int dy) = 0;
    // button 0 left, 1 right, 2 middle, 3 and 4 the side buttons.
    virtual void OnMouseButton(int button, bool down) = 0;
    // Wheel movement in WHEEL_DELTA units (120 per notch), positive away from the user.
    virtual void OnMouseWheel(int delta) = 0;
    // key: the DirectInput key code (PC set-1 scan code, 0x80 for extended keys).
    virtual void OnKey(int key, bool down) = 0;
    // The application became active (true) or went to the background (false).
    virtual void OnActivation(bool active) = 0;
};
void AddInputListener(InputListener* listener);
void RemoveInputListener(InputListener* listener);

// Current state as the pump has seen it (the devices start from it when acquired).
// Pointer position in client pixels of the window under the pointer (or last seen).
POINT PointerPosition();
HWND PointerWindow();
// Bit i set while mouse button i is held.
unsigned MouseButtons();
// True while the key with this DirectInput code is held.
bool IsKeyHeld(int key);

// ---- keyboard translation ------------------------------------------------------------
// The DirectInput code (set-1 scan code, 0x80 for extended keys) of an SDL scancode;
// 0 when the key has none.
int ScanCodeOfSdl(int sdlScancode);
// The Windows virtual key of an SDL scancode (layout-independent, US positions) as window
// messages carry it: VK_SHIFT, VK_CONTROL and VK_MENU for either side; 0 when none.
int VirtualKeyOfSdl(int sdlScancode);

// ---- the input method ------------------------------------------------------------------
// The pump hands text events and focus changes to the input method (platform/src/imm),
// which registers itself when the library loads. It posts the WM_IME_* and WM_CHAR
// messages and turns SDL's text input on or off. Without a handler the pump posts each
// committed text's code-page-936 bytes as WM_CHAR and keeps text input on.
class TextInputHandler {
public:
    virtual ~TextInputHandler() = default;
    virtual void OnFocus(HWND focused) = 0;
    virtual void OnTextEditing(HWND window, const std::string& utf8, int start, int length) = 0;
    virtual void OnTextInput(HWND window, const std::string& utf8) = 0;
    // True when the window's typed text arrives through SDL's text input (its context is
    // attached); TranslateMessage then produces only the control characters itself and
    // otherwise also the printable ones, from the keyboard layout.
    virtual bool TextInputActive(HWND window) = 0;
    // Called by DestroyWindow before the window's record goes.
    virtual void OnWindowDestroyed(HWND window) = 0;
};
void SetTextInputHandler(TextInputHandler* handler);
TextInputHandler* GetTextInputHandler();
// Posts one WM_CHAR per code-page-936 byte of a UTF-8 text, lead byte first.
void PostTextAsChars(HWND window, const std::string& utf8);
// DefWindowProcA's share for the input method's messages (implemented in imm): a
// composition result becomes WM_CHAR bytes. *handled false: DefWindowProcA goes on as usual.
LRESULT ImeDefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool* handled);

}  // namespace vexa::platform

#endif
