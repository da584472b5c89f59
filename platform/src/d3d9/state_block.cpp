// State blocks. Counted with the objects Reset refuses to outlive, as Direct3D 9 counts
// them.
#include "state_block.h"

#include "device.h"
#include "resource.h"

#include <new>

namespace vexa::platform::d3d9 {

StateBlock::StateBlock(Device* device) : device_(device)
{
    DeviceAddRef(device_);
    CountDefaultObject(device_, 1);
}

StateBlock::~StateBlock()
{
    for (IDirect3DBaseTexture9* t : values_.textures)
        UnholdObject(t);
    UnholdObject(values_.stream);
}

StateBlock* StateBlock::CreateEmpty(Device* device)
{
    return new (std::nothrow) StateBlock(device);
}

StateBlock* StateBlock::CreateOfType(Device* device, D3DSTATEBLOCKTYPE type)
{
    StateBlock* block = new (std::nothrow) StateBlock(device);
    if (block) {
        block->mask_ = MaskOfType(type);
        block->Capture();
    }
    return block;
}

HRESULT StateBlock::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDirect3DStateBlock9) {
        *ppv = static_cast<IDirect3DStateBlock9*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG StateBlock::AddRef() { return ++references_; }

ULONG StateBlock::Release()
{
    if (references_ == 0)
        return 0;
    const ULONG left = --references_;
    if (left == 0) {
        Device* device = device_;
        CountDefaultObject(device, -1);
        delete this;
        DeviceRelease(device);
    }
    return left;
}

HRESULT StateBlock::GetDevice(IDirect3DDevice9** ppDevice)
{
    if (!ppDevice)
        return D3DERR_INVALIDCALL;
    *ppDevice = device_;
    device_->AddRef();
    return D3D_OK;
}

void StateBlock::RecordTexture(DWORD stage, IDirect3DBaseTexture9* texture)
{
    HoldObject(texture);
    UnholdObject(values_.textures[stage]);
    values_.textures[stage] = texture;
    mask_.textures.set(stage);
}

void StateBlock::RecordStream(IDirect3DVertexBuffer9* buffer, UINT offset, UINT stride)
{
    HoldObject(buffer);
    UnholdObject(values_.stream);
    values_.stream = buffer;
    values_.streamOffset = offset;
    values_.streamStride = stride;
    mask_.stream = true;
}

HRESULT StateBlock::Capture()
{
    const DeviceState& now = device_->State();
    for (int i = 0; i < kRenderStateCount; ++i)
        if (mask_.render[size_t(i)])
            values_.render[i] = now.render[i];
    for (int s = 0; s < kMaxStages; ++s) {
        for (int i = 0; i < kStageStateCount; ++i)
            if (mask_.stage[s][size_t(i)])
                values_.stage[s][i] = now.stage[s][i];
        for (int i = 0; i < kSamplerStateCount; ++i)
            if (mask_.sampler[s][size_t(i)])
                values_.sampler[s][i] = now.sampler[s][i];
        if (mask_.textures[size_t(s)])
            RecordTexture(DWORD(s), now.textures[s]);
    }
    for (int i = 0; i < kTransformCount; ++i)
        if (mask_.transforms[size_t(i)])
            values_.transforms[i] = now.transforms[i];
    if (mask_.viewport)
        values_.viewport = now.viewport;
    if (mask_.material)
        values_.material = now.material;
    if (mask_.fvf)
        values_.fvf = now.fvf;
    if (mask_.stream)
        RecordStream(now.stream, now.streamOffset, now.streamStride);
    return D3D_OK;
}

HRESULT StateBlock::Apply()
{
    device_->ApplyState(mask_, values_);
    return D3D_OK;
}

}  // namespace vexa::platform::d3d9
