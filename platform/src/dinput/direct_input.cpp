// DirectInput8Create and the IDirectInput8A object: it makes the system mouse and keyboard
// devices and nothing else; no other device is ever attached.
#include <dinput.h>

#include "input_device.h"

#include <new>

namespace vexa::platform {

namespace {

constexpr HRESULT kNoAggregation = HRESULT(0x80040110L);  // CLASS_E_NOAGGREGATION

class DirectInput final : public IDirectInput8A {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override
    {
        if (!ppvObject)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDirectInput8A) {
            *ppvObject = static_cast<IDirectInput8A*>(this);
            AddRef();
            return S_OK;
        }
        *ppvObject = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE CreateDevice(REFGUID rguid, LPDIRECTINPUTDEVICE8A* device,
                                           LPUNKNOWN pUnkOuter) override
    {
        if (!device)
            return E_POINTER;
        *device = nullptr;
        if (pUnkOuter)
            return kNoAggregation;
        InputDevice::Kind kind;
        if (rguid == GUID_SysMouse)
            kind = InputDevice::Kind::Mouse;
        else if (rguid == GUID_SysKeyboard)
            kind = InputDevice::Kind::Keyboard;
        else
            return DIERR_DEVICENOTREG;
        *device = new (std::nothrow) InputDevice(kind, this);
        return *device ? DI_OK : DIERR_OUTOFMEMORY;
    }

    HRESULT STDMETHODCALLTYPE GetDeviceStatus(REFGUID rguidInstance) override
    {
        return rguidInstance == GUID_SysMouse || rguidInstance == GUID_SysKeyboard
                   ? DI_OK
                   : DIERR_DEVICENOTREG;
    }

private:
    ~DirectInput() = default;

    ULONG references_ = 1;
};

}  // namespace

}  // namespace vexa::platform

WINAPI_EXPORT HRESULT WINAPI DirectInput8Create(HINSTANCE hinst, DWORD dwVersion, REFIID riidltf,
                                                LPVOID* ppvOut, LPUNKNOWN punkOuter)
{
    (void)hinst;
    if (!ppvOut)
        return DIERR_INVALIDPARAM;
    *ppvOut = nullptr;
    // Older versions are the prerelease interfaces to DirectInput 8; newer ones need a
    // DirectInput this one is not.
    if (dwVersion == 0)
        return DIERR_NOTINITIALIZED;
    if (dwVersion < 0x0800)
        return DIERR_BETADIRECTINPUTVERSION;
    if (dwVersion > 0x0800)
        return DIERR_OLDDIRECTINPUTVERSION;
    if (punkOuter)
        return vexa::platform::kNoAggregation;
    if (riidltf != IID_IDirectInput8A && riidltf != IID_IUnknown)
        return DIERR_NOINTERFACE;
    auto* object = new (std::nothrow) vexa::platform::DirectInput;
    if (!object)
        return DIERR_OUTOFMEMORY;
    *ppvOut = static_cast<IDirectInput8A*>(object);
    return DI_OK;
}
