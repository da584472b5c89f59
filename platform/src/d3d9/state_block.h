// Internal: state blocks. A block carries a mask of the states it covers and their values;
// Apply replays them through the device's setters, Capture reads the device's current
// values for the same mask. Textures and the stream buffer it stores are held.
#ifndef VEXA_PLATFORM_D3D9_STATE_BLOCK_H
#define VEXA_PLATFORM_D3D9_STATE_BLOCK_H

#include "device_state.h"

#include <d3d9.h>

namespace vexa::platform::d3d9 {

class Device;

class StateBlock final : public IDirect3DStateBlock9 {
public:
    // An empty block, for BeginStateBlock to record into.
    static StateBlock* CreateEmpty(Device* device);
    // A block covering a type's states, captured now.
    static StateBlock* CreateOfType(Device* device, D3DSTATEBLOCKTYPE type);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice9** ppDevice) override;
    HRESULT STDMETHODCALLTYPE Capture() override;
    HRESULT STDMETHODCALLTYPE Apply() override;

    // Recording: the device stores each set state here instead of applying it.
    StateMask& Mask() { return mask_; }
    DeviceState& Values() { return values_; }
    void RecordTexture(DWORD stage, IDirect3DBaseTexture9* texture);
    void RecordStream(IDirect3DVertexBuffer9* buffer, UINT offset, UINT stride);

private:
    explicit StateBlock(Device* device);
    ~StateBlock();

    Device* device_;
    ULONG references_ = 1;
    StateMask mask_;
    DeviceState values_ = {};
};

}  // namespace vexa::platform::d3d9

#endif
