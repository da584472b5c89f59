// Internal: a DirectInput device for the system mouse or keyboard. It listens to the
// pump while acquired, keeps the state the program reads with GetDeviceState and the
// buffered changes it reads with GetDeviceData.
//
// Invariant: registered with the pump from the first Acquire until Unacquire or the end;
// a device that lost acquisition stays registered but ignores what it hears (the pump
// may be calling listeners when the loss happens, so it never unregisters from there).
#ifndef VEXA_PLATFORM_DINPUT_INPUT_DEVICE_H
#define VEXA_PLATFORM_DINPUT_INPUT_DEVICE_H

#include <dinput.h>

#include "../win32/input_hub.h"

#include <deque>

namespace vexa::platform {

class InputDevice final : public IDirectInputDevice8A, private InputListener {
public:
    enum class Kind { Mouse, Keyboard };
    // Holds a reference on its DirectInput object for its whole life.
    InputDevice(Kind kind, IUnknown* owner);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE GetProperty(REFGUID rguidProp, LPDIPROPHEADER pdiph) override;
    HRESULT STDMETHODCALLTYPE SetProperty(REFGUID rguidProp, LPCDIPROPHEADER pdiph) override;
    HRESULT STDMETHODCALLTYPE Acquire() override;
    HRESULT STDMETHODCALLTYPE Unacquire() override;
    HRESULT STDMETHODCALLTYPE GetDeviceState(DWORD cbData, LPVOID lpvData) override;
    HRESULT STDMETHODCALLTYPE GetDeviceData(DWORD cbObjectData, LPDIDEVICEOBJECTDATA rgdod,
                                            LPDWORD pdwInOut, DWORD dwFlags) override;
    HRESULT STDMETHODCALLTYPE SetDataFormat(LPCDIDATAFORMAT lpdf) override;
    HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND hwnd, DWORD dwFlags) override;
    HRESULT STDMETHODCALLTYPE Poll() override;

private:
    ~InputDevice();

    void OnMouseMotion(int dx, int dy) override;
    void OnMouseButton(int button, bool down) override;
    void OnMouseWheel(int delta) override;
    void OnKey(int key, bool down) override;
    void OnActivation(bool active) override;

    // DI_OK while acquired, else the loss (once) or DIERR_NOTACQUIRED.
    HRESULT AcquiredResult();
    void Record(DWORD offset, DWORD data);
    void ResetState();
    int ButtonCount() const { return dataSize_ == sizeof(DIMOUSESTATE2) ? 8 : 4; }

    Kind kind_;
    IUnknown* owner_;
    ULONG references_ = 1;
    DWORD dataSize_ = 0;  // 0 until SetDataFormat
    DWORD cooperation_ = DISCL_NONEXCLUSIVE | DISCL_BACKGROUND;
    bool acquired_ = false;
    bool lost_ = false;
    bool listening_ = false;

    LONG motion_[3] = {};  // x, y, wheel since the last GetDeviceState
    BYTE buttons_[8] = {};
    BYTE keys_[256] = {};

    DWORD bufferSize_ = 0;
    std::deque<DIDEVICEOBJECTDATA> buffer_;
    bool overflowed_ = false;
    DWORD sequence_ = 0;
};

}  // namespace vexa::platform

#endif
