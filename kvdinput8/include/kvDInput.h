// kvDInput: the input backend over DirectInput 8, for the system mouse and keyboard.
//
// What it writes at each poll:
// - MyMouse: the relative motion, wheel (lZ, 120 per notch) and buttons (0x80 while held)
//   since the previous GetMouseInput; all zero while the mouse cannot be acquired, so no
//   button stays held while the program is in the background.
// - MouseX, MouseY: the pointer in client (back-buffer) pixels, clamped to
//   0..ScreenX-1 x 0..ScreenY-1, since views test the pointer against the screen.
// - bMouseOuted: the pointer was outside that area (MouseX/MouseY hold the nearest edge).
// - bMouseMoved: MouseX/MouseY differ from the previous poll.
// - MouseWheel: MyMouse.lZ, 0 when the wheel did not turn.
// - keys, prevkeys: the 256 key states by DirectInput code, now and at the previous poll.
// - GetAKey: key presses in order, by DirectInput code, from a ring of 32 (further presses
//   are dropped until it is read). With bKeyRepeat, the last key pressed repeats while it
//   stays held: first after 500 ms, then every 50 ms, at most once per GetKbdInput.
// A device lost to another program is acquired again at the next poll that can.
#ifndef KVDINPUT8_KVDINPUT_H
#define KVDINPUT8_KVDINPUT_H

#include <kvInput.h>

class kvDInput : public kvInputInterface {
public:
    kvDInput();
    ~kvDInput() override;

    // Pre: hWnd is the program's window. Throws the engine exception when a step fails.
    void Init() override;
    void GetMouseInput() override;
    void GetKbdInput() override;
    int GetAKey() override;
    // Unacquires and releases the devices and DirectInput; safe to call again.
    void Release() override;

protected:
    // Milliseconds for the key repeat; GetTickCount.
    virtual DWORD Now();

private:
    void Fail(const char* message);
    void ReadKeyPresses();
    void PushKey(int code);

    static constexpr int kRingSize = 32;

    LPDIRECTINPUT8 input_ = nullptr;
    LPDIRECTINPUTDEVICE8 mouse_ = nullptr;
    LPDIRECTINPUTDEVICE8 keyboard_ = nullptr;
    int ring_[kRingSize] = {};
    int ringStart_ = 0;
    int ringCount_ = 0;
    int repeatKey_ = 0;
    DWORD repeatAt_ = 0;
};

#endif
