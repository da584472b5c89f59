// The system mouse and keyboard as DirectInput devices, fed by the pump's listener calls.
// Mouse axes are relative only; the pump reports no absolute position to them.
#include "input_device.h"

#include <cstring>

namespace vexa::platform {

namespace {

constexpr HRESULT kNoEffect = S_FALSE;  // DI_NOEFFECT
constexpr DWORD kKeyCount = 256;

// Predefined properties are told apart by the address of their identifier object.
uintptr_t PropertyId(REFGUID property)
{
    return reinterpret_cast<uintptr_t>(&property);
}

bool ValidDwordHeader(LPCDIPROPHEADER header)
{
    return header && header->dwSize == sizeof(DIPROPDWORD) &&
           header->dwHeaderSize == sizeof(DIPROPHEADER) && header->dwHow == DIPH_DEVICE;
}

}  // namespace

InputDevice::InputDevice(Kind kind, IUnknown* owner) : kind_(kind), owner_(owner)
{
    owner_->AddRef();
}

InputDevice::~InputDevice()
{
    if (listening_)
        RemoveInputListener(this);
    owner_->Release();
}

HRESULT InputDevice::QueryInterface(REFIID riid, void** ppvObject)
{
    if (!ppvObject)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDirectInputDevice8A) {
        *ppvObject = static_cast<IDirectInputDevice8A*>(this);
        AddRef();
        return S_OK;
    }
    *ppvObject = nullptr;
    return E_NOINTERFACE;
}

ULONG InputDevice::AddRef()
{
    return ++references_;
}

ULONG InputDevice::Release()
{
    const ULONG left = --references_;
    if (left == 0)
        delete this;
    return left;
}

HRESULT InputDevice::GetProperty(REFGUID rguidProp, LPDIPROPHEADER pdiph)
{
    if (!ValidDwordHeader(pdiph))
        return DIERR_INVALIDPARAM;
    DIPROPDWORD* value = reinterpret_cast<DIPROPDWORD*>(pdiph);
    if (PropertyId(rguidProp) == PropertyId(DIPROP_BUFFERSIZE)) {
        value->dwData = bufferSize_;
        return DI_OK;
    }
    if (PropertyId(rguidProp) == PropertyId(DIPROP_AXISMODE) && kind_ == Kind::Mouse) {
        value->dwData = DIPROPAXISMODE_REL;
        return DI_OK;
    }
    return DIERR_UNSUPPORTED;
}

HRESULT InputDevice::SetProperty(REFGUID rguidProp, LPCDIPROPHEADER pdiph)
{
    if (!ValidDwordHeader(pdiph))
        return DIERR_INVALIDPARAM;
    const DWORD data = reinterpret_cast<const DIPROPDWORD*>(pdiph)->dwData;
    if (PropertyId(rguidProp) == PropertyId(DIPROP_BUFFERSIZE)) {
        if (acquired_)
            return DIERR_ACQUIRED;
        bufferSize_ = data;
        while (buffer_.size() > bufferSize_)
            buffer_.pop_front();
        return DI_OK;
    }
    if (PropertyId(rguidProp) == PropertyId(DIPROP_AXISMODE) && kind_ == Kind::Mouse) {
        if (acquired_)
            return DIERR_ACQUIRED;
        return data == DIPROPAXISMODE_REL ? DI_OK : DIERR_UNSUPPORTED;
    }
    return DIERR_UNSUPPORTED;
}

HRESULT InputDevice::SetDataFormat(LPCDIDATAFORMAT lpdf)
{
    if (!lpdf || lpdf->dwSize != sizeof(DIDATAFORMAT) ||
        lpdf->dwObjSize != sizeof(DIOBJECTDATAFORMAT))
        return DIERR_INVALIDPARAM;
    if (acquired_)
        return DIERR_ACQUIRED;
    const bool fits = kind_ == Kind::Keyboard
                          ? lpdf->dwDataSize == kKeyCount
                          : lpdf->dwDataSize == sizeof(DIMOUSESTATE) ||
                                lpdf->dwDataSize == sizeof(DIMOUSESTATE2);
    if (!fits)
        return DIERR_INVALIDPARAM;
    dataSize_ = lpdf->dwDataSize;
    return DI_OK;
}

HRESULT InputDevice::SetCooperativeLevel(HWND hwnd, DWORD dwFlags)
{
    const bool exclusive = dwFlags & DISCL_EXCLUSIVE;
    const bool foreground = dwFlags & DISCL_FOREGROUND;
    const DWORD known = DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE | DISCL_FOREGROUND |
                        DISCL_BACKGROUND | DISCL_NOWINKEY;
    if ((dwFlags & ~known) || exclusive == bool(dwFlags & DISCL_NONEXCLUSIVE) ||
        foreground == bool(dwFlags & DISCL_BACKGROUND))
        return DIERR_INVALIDPARAM;
    // Windows keeps the keyboard from being held exclusively in the background, and the
    // Windows key can only be blocked in the foreground.
    if (kind_ == Kind::Keyboard && exclusive && !foreground)
        return DIERR_INVALIDPARAM;
    if ((dwFlags & DISCL_NOWINKEY) && (kind_ != Kind::Keyboard || !foreground))
        return DIERR_INVALIDPARAM;
    if (foreground && !IsWindow(hwnd))
        return DIERR_INVALIDPARAM;
    cooperation_ = dwFlags;
    return DI_OK;
}

void InputDevice::ResetState()
{
    std::memset(motion_, 0, sizeof(motion_));
    std::memset(buttons_, 0, sizeof(buttons_));
    std::memset(keys_, 0, sizeof(keys_));
    buffer_.clear();
    overflowed_ = false;
}

HRESULT InputDevice::Acquire()
{
    if (dataSize_ == 0)
        return DIERR_INVALIDPARAM;
    if (acquired_)
        return kNoEffect;
    PumpEvents();
    if ((cooperation_ & DISCL_FOREGROUND) && !IsApplicationActive())
        return DIERR_OTHERAPPHASPRIO;
    ResetState();
    // Start from what is held now, so a key pressed before acquiring reads as held.
    if (kind_ == Kind::Keyboard) {
        for (DWORD key = 0; key < kKeyCount; ++key)
            keys_[key] = IsKeyHeld(int(key)) ? 0x80 : 0;
    } else {
        const unsigned held = MouseButtons();
        for (int b = 0; b < 8; ++b)
            buttons_[b] = (held >> b) & 1 ? 0x80 : 0;
    }
    acquired_ = true;
    lost_ = false;
    if (!listening_) {
        AddInputListener(this);
        listening_ = true;
    }
    return DI_OK;
}

HRESULT InputDevice::Unacquire()
{
    lost_ = false;
    if (listening_) {
        RemoveInputListener(this);
        listening_ = false;
    }
    if (!acquired_)
        return kNoEffect;
    acquired_ = false;
    return DI_OK;
}

HRESULT InputDevice::AcquiredResult()
{
    if (acquired_)
        return DI_OK;
    if (lost_) {
        lost_ = false;
        return DIERR_INPUTLOST;
    }
    return DIERR_NOTACQUIRED;
}

HRESULT InputDevice::GetDeviceState(DWORD cbData, LPVOID lpvData)
{
    if (!lpvData || dataSize_ == 0 || cbData != dataSize_)
        return DIERR_INVALIDPARAM;
    PumpEvents();
    const HRESULT state = AcquiredResult();
    if (state != DI_OK)
        return state;
    if (kind_ == Kind::Keyboard) {
        std::memcpy(lpvData, keys_, kKeyCount);
        return DI_OK;
    }
    DIMOUSESTATE2 mouse = {};
    mouse.lX = motion_[0];
    mouse.lY = motion_[1];
    mouse.lZ = motion_[2];
    std::memcpy(mouse.rgbButtons, buttons_, sizeof(mouse.rgbButtons));
    std::memset(motion_, 0, sizeof(motion_));
    std::memcpy(lpvData, &mouse, cbData);
    return DI_OK;
}

HRESULT InputDevice::GetDeviceData(DWORD cbObjectData, LPDIDEVICEOBJECTDATA rgdod,
                                   LPDWORD pdwInOut, DWORD dwFlags)
{
    if (!pdwInOut || cbObjectData != sizeof(DIDEVICEOBJECTDATA) || (dwFlags & ~DIGDD_PEEK))
        return DIERR_INVALIDPARAM;
    // An unbuffered device has nothing to read.
    if (dataSize_ == 0 || bufferSize_ == 0)
        return DIERR_INVALIDPARAM;
    PumpEvents();
    const HRESULT state = AcquiredResult();
    if (state != DI_OK)
        return state;
    const bool peek = dwFlags & DIGDD_PEEK;
    const size_t wanted = *pdwInOut;  // INFINITE asks for everything
    const size_t count = wanted < buffer_.size() ? wanted : buffer_.size();
    if (rgdod) {
        for (size_t i = 0; i < count; ++i)
            rgdod[i] = buffer_[i];
    }
    const HRESULT result = overflowed_ ? DI_BUFFEROVERFLOW : DI_OK;
    if (!peek) {
        buffer_.erase(buffer_.begin(), buffer_.begin() + std::ptrdiff_t(count));
        overflowed_ = false;
    }
    *pdwInOut = DWORD(count);
    return result;
}

HRESULT InputDevice::Poll()
{
    // The system devices are interrupt-driven in DirectInput: polling has no effect.
    return acquired_ ? kNoEffect : DIERR_NOTACQUIRED;
}

void InputDevice::Record(DWORD offset, DWORD data)
{
    if (bufferSize_ == 0)
        return;
    if (buffer_.size() >= bufferSize_) {
        buffer_.pop_front();
        overflowed_ = true;
    }
    DIDEVICEOBJECTDATA item = {};
    item.dwOfs = offset;
    item.dwData = data;
    item.dwTimeStamp = GetTickCount();
    item.dwSequence = ++sequence_;
    buffer_.push_back(item);
}

void InputDevice::OnMouseMotion(int dx, int dy)
{
    if (!acquired_ || kind_ != Kind::Mouse)
        return;
    motion_[0] += dx;
    motion_[1] += dy;
    if (dx != 0)
        Record(DIMOFS_X, DWORD(dx));
    if (dy != 0)
        Record(DIMOFS_Y, DWORD(dy));
}

void InputDevice::OnMouseButton(int button, bool down)
{
    if (!acquired_ || kind_ != Kind::Mouse || button < 0 || button >= ButtonCount())
        return;
    buttons_[button] = down ? 0x80 : 0;
    Record(DWORD(DIMOFS_BUTTON0 + button), down ? 0x80 : 0);
}

void InputDevice::OnMouseWheel(int delta)
{
    if (!acquired_ || kind_ != Kind::Mouse || delta == 0)
        return;
    motion_[2] += delta;
    Record(DIMOFS_Z, DWORD(delta));
}

void InputDevice::OnKey(int key, bool down)
{
    if (!acquired_ || kind_ != Kind::Keyboard || key <= 0 || key >= int(kKeyCount))
        return;
    keys_[key] = down ? 0x80 : 0;
    Record(DWORD(key), down ? 0x80 : 0);
}

void InputDevice::OnActivation(bool active)
{
    if (active || !acquired_ || !(cooperation_ & DISCL_FOREGROUND))
        return;
    acquired_ = false;
    lost_ = true;
}

}  // namespace vexa::platform
