// The input backend over DirectInput 8: state polling for the mouse and the keyboard,
// buffered key presses for GetAKey.
#include "kvDInput.h"

#include <kvApplication.h>
#include <kvException.h>

#include <cstring>

namespace {

// {5A1C0E52-8D3B-4F27-9E61-2B7D4C8A9F30}
const GUID kClassId = {0x5A1C0E52, 0x8D3B, 0x4F27, {0x9E, 0x61, 0x2B, 0x7D, 0x4C, 0x8A, 0x9F, 0x30}};

constexpr DWORD kKeyBufferSize = 32;
constexpr DWORD kRepeatDelay = 500;
constexpr DWORD kRepeatInterval = 50;

template <class T>
void ReleaseCom(T*& object)
{
    if (object) {
        object->Release();
        object = nullptr;
    }
}

bool Lost(HRESULT hr)
{
    return hr == DIERR_INPUTLOST || hr == DIERR_NOTACQUIRED;
}

// Reads the state; once the device was lost, tries to get it back and reads again.
HRESULT ReadState(LPDIRECTINPUTDEVICE8 device, DWORD size, void* state)
{
    HRESULT hr = device->GetDeviceState(size, state);
    if (Lost(hr) && SUCCEEDED(device->Acquire()))
        hr = device->GetDeviceState(size, state);
    return hr;
}

}  // namespace

kvDInput::kvDInput()
{
    ClassId = kClassId;
    InstallSelf();
}

kvDInput::~kvDInput()
{
    Release();
}

DWORD kvDInput::Now()
{
    return GetTickCount();
}

void kvDInput::Fail(const char* message)
{
    Release();
    NewException(message, 0);
}

void kvDInput::Init()
{
    Release();
    if (FAILED(DirectInput8Create(hInst, DIRECTINPUT_VERSION, IID_IDirectInput8,
                                  reinterpret_cast<void**>(&input_), nullptr)))
        Fail("Failed to initialize DirectInput.");
    if (FAILED(input_->CreateDevice(GUID_SysMouse, &mouse_, nullptr)))
        Fail("Failed to create the DirectInput mouse device.");
    if (FAILED(input_->CreateDevice(GUID_SysKeyboard, &keyboard_, nullptr)))
        Fail("Failed to create the DirectInput keyboard device.");
    if (FAILED(mouse_->SetDataFormat(&c_dfDIMouse)))
        Fail("Failed to set the mouse data format.");
    if (FAILED(keyboard_->SetDataFormat(&c_dfDIKeyboard)))
        Fail("Failed to set the keyboard data format.");
    const DWORD level = DISCL_FOREGROUND | DISCL_NONEXCLUSIVE;
    if (FAILED(mouse_->SetCooperativeLevel(hWnd, level)))
        Fail("Failed to set the mouse cooperative level.");
    if (FAILED(keyboard_->SetCooperativeLevel(hWnd, level)))
        Fail("Failed to set the keyboard cooperative level.");
    DIPROPDWORD size = {};
    size.diph.dwSize = sizeof(DIPROPDWORD);
    size.diph.dwHeaderSize = sizeof(DIPROPHEADER);
    size.diph.dwHow = DIPH_DEVICE;
    size.dwData = kKeyBufferSize;
    if (FAILED(keyboard_->SetProperty(DIPROP_BUFFERSIZE, &size.diph)))
        Fail("Failed to set the keyboard buffer size.");
    // In the background now: the polls acquire them once the program is active.
    mouse_->Acquire();
    keyboard_->Acquire();
}

void kvDInput::Release()
{
    if (mouse_)
        mouse_->Unacquire();
    if (keyboard_)
        keyboard_->Unacquire();
    ReleaseCom(mouse_);
    ReleaseCom(keyboard_);
    ReleaseCom(input_);
    ringStart_ = 0;
    ringCount_ = 0;
    repeatKey_ = 0;
}

void kvDInput::GetMouseInput()
{
    if (!mouse_ || FAILED(ReadState(mouse_, sizeof(MyMouse), &MyMouse)))
        std::memset(&MyMouse, 0, sizeof(MyMouse));
    MouseWheel = MyMouse.lZ;

    POINT p;
    if (ScreenX <= 0 || ScreenY <= 0 || !GetCursorPos(&p) || !ScreenToClient(hWnd, &p))
        return;
    bMouseOuted = p.x < 0 || p.y < 0 || p.x >= ScreenX || p.y >= ScreenY;
    const int32_t x = p.x < 0 ? 0 : (p.x >= ScreenX ? ScreenX - 1 : p.x);
    const int32_t y = p.y < 0 ? 0 : (p.y >= ScreenY ? ScreenY - 1 : p.y);
    bMouseMoved = x != MouseX || y != MouseY;
    MouseX = x;
    MouseY = y;
}

void kvDInput::GetKbdInput()
{
    std::memcpy(prevkeys, keys, sizeof(keys));
    if (!keyboard_ || FAILED(ReadState(keyboard_, sizeof(keys), keys))) {
        std::memset(keys, 0, sizeof(keys));
        repeatKey_ = 0;
        return;
    }
    ReadKeyPresses();
    if (!bKeyRepeat || repeatKey_ == 0)
        return;
    if (!(keys[repeatKey_] & 0x80)) {
        repeatKey_ = 0;
        return;
    }
    const DWORD now = Now();
    if (LONG(now - repeatAt_) >= 0) {
        PushKey(repeatKey_);
        repeatAt_ = now + kRepeatInterval;
    }
}

void kvDInput::ReadKeyPresses()
{
    DIDEVICEOBJECTDATA data[kKeyBufferSize];
    DWORD count = kKeyBufferSize;
    while (SUCCEEDED(keyboard_->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), data, &count, 0)) &&
           count > 0) {
        for (DWORD i = 0; i < count; ++i) {
            const int code = int(data[i].dwOfs);
            if (data[i].dwData & 0x80) {
                PushKey(code);
                repeatKey_ = code;
                repeatAt_ = Now() + kRepeatDelay;
            } else if (code == repeatKey_) {
                repeatKey_ = 0;
            }
        }
        if (count < kKeyBufferSize)
            break;
        count = kKeyBufferSize;
    }
}

void kvDInput::PushKey(int code)
{
    if (ringCount_ == kRingSize)
        return;
    ring_[(ringStart_ + ringCount_) % kRingSize] = code;
    ++ringCount_;
}

int kvDInput::GetAKey()
{
    if (ringCount_ == 0)
        return 0;
    const int code = ring_[ringStart_];
    ringStart_ = (ringStart_ + 1) % kRingSize;
    --ringCount_;
    return code;
}
