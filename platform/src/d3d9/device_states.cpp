// Set and Get of the device's states, transforms and bindings. While a state block is
// being recorded, a Set stores its value in the block and leaves the device unchanged,
// as Direct3D 9 does. OpenGL is not touched here: a Set that changes a value the draws
// flush marks the state changed, and the next draw flushes it.
#include "device.h"

#include "resource.h"
#include "state_block.h"

#include <cstdio>
#include <cstring>
#include <set>

namespace vexa::platform::d3d9 {

namespace {

D3DMATRIX Multiply(const D3DMATRIX& a, const D3DMATRIX& b)
{
    D3DMATRIX r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j] +
                        a.m[i][3] * b.m[3][j];
    return r;
}

bool ValidStageState(DWORD type) { return type >= 1 && type < kStageStateCount; }
bool ValidSamplerState(DWORD type) { return type >= 1 && type < kSamplerStateCount; }

}  // namespace

HRESULT Device::SetTransform(D3DTRANSFORMSTATETYPE State, const D3DMATRIX* pMatrix)
{
    const int index = TransformIndex(State);
    if (!pMatrix || index < 0)
        return D3DERR_INVALIDCALL;
    if (recording_) {
        recording_->Values().transforms[index] = *pMatrix;
        recording_->Mask().transforms.set(size_t(index));
        return D3D_OK;
    }
    if (std::memcmp(&state_.transforms[index], pMatrix, sizeof *pMatrix) != 0) {
        state_.transforms[index] = *pMatrix;
        stateChanged_ = true;
    }
    return D3D_OK;
}

HRESULT Device::GetTransform(D3DTRANSFORMSTATETYPE State, D3DMATRIX* pMatrix)
{
    const int index = TransformIndex(State);
    if (!pMatrix || index < 0)
        return D3DERR_INVALIDCALL;
    *pMatrix = state_.transforms[index];
    return D3D_OK;
}

HRESULT Device::MultiplyTransform(D3DTRANSFORMSTATETYPE State, const D3DMATRIX* pMatrix)
{
    const int index = TransformIndex(State);
    if (!pMatrix || index < 0)
        return D3DERR_INVALIDCALL;
    const D3DMATRIX product = Multiply(*pMatrix, state_.transforms[index]);
    return SetTransform(State, &product);
}

HRESULT Device::SetViewport(const D3DVIEWPORT9* pViewport)
{
    if (!pViewport)
        return D3DERR_INVALIDCALL;
    const D3DVIEWPORT9& v = *pViewport;
    if (v.Width == 0 || v.Height == 0 || v.X + v.Width > parameters_.BackBufferWidth ||
        v.Y + v.Height > parameters_.BackBufferHeight || v.MinZ < 0.0f || v.MaxZ > 1.0f ||
        v.MinZ > v.MaxZ)
        return D3DERR_INVALIDCALL;
    if (recording_) {
        recording_->Values().viewport = v;
        recording_->Mask().viewport = true;
        return D3D_OK;
    }
    if (std::memcmp(&state_.viewport, &v, sizeof v) != 0) {
        state_.viewport = v;
        stateChanged_ = true;
    }
    return D3D_OK;
}

HRESULT Device::GetViewport(D3DVIEWPORT9* pViewport)
{
    if (!pViewport)
        return D3DERR_INVALIDCALL;
    *pViewport = state_.viewport;
    return D3D_OK;
}

HRESULT Device::SetMaterial(const D3DMATERIAL9* pMaterial)
{
    if (!pMaterial)
        return D3DERR_INVALIDCALL;
    if (recording_) {
        recording_->Values().material = *pMaterial;
        recording_->Mask().material = true;
        return D3D_OK;
    }
    if (std::memcmp(&state_.material, pMaterial, sizeof *pMaterial) != 0) {
        state_.material = *pMaterial;
        stateChanged_ = true;
    }
    return D3D_OK;
}

HRESULT Device::GetMaterial(D3DMATERIAL9* pMaterial)
{
    if (!pMaterial)
        return D3DERR_INVALIDCALL;
    *pMaterial = state_.material;
    return D3D_OK;
}

HRESULT Device::SetRenderState(D3DRENDERSTATETYPE State, DWORD Value)
{
    if (!IsKnownRenderState(State)) {
        static std::set<DWORD> reported;
        if (reported.insert(State).second)
            std::fprintf(stderr, "Direct3D: render state %u is outside the layer\n", unsigned(State));
        return D3DERR_INVALIDCALL;
    }
    if (recording_) {
        recording_->Values().render[State] = Value;
        recording_->Mask().render.set(State);
        return D3D_OK;
    }
    if (state_.render[State] != Value) {
        state_.render[State] = Value;
        stateChanged_ = true;
    }
    return D3D_OK;
}

HRESULT Device::GetRenderState(D3DRENDERSTATETYPE State, DWORD* pValue)
{
    if (!pValue || !IsKnownRenderState(State))
        return D3DERR_INVALIDCALL;
    *pValue = state_.render[State];
    return D3D_OK;
}

HRESULT Device::CreateStateBlock(D3DSTATEBLOCKTYPE Type, IDirect3DStateBlock9** ppSB)
{
    if (!ppSB)
        return D3DERR_INVALIDCALL;
    *ppSB = nullptr;
    if (recording_ || Type < D3DSBT_ALL || Type > D3DSBT_VERTEXSTATE)
        return D3DERR_INVALIDCALL;
    StateBlock* block = StateBlock::CreateOfType(this, Type);
    if (!block)
        return E_OUTOFMEMORY;
    *ppSB = block;
    return D3D_OK;
}

HRESULT Device::BeginStateBlock()
{
    if (recording_)
        return D3DERR_INVALIDCALL;
    recording_ = StateBlock::CreateEmpty(this);
    return recording_ ? D3D_OK : E_OUTOFMEMORY;
}

HRESULT Device::EndStateBlock(IDirect3DStateBlock9** ppSB)
{
    if (!ppSB || !recording_)
        return D3DERR_INVALIDCALL;
    *ppSB = recording_;
    recording_ = nullptr;
    return D3D_OK;
}

HRESULT Device::GetTexture(DWORD Stage, IDirect3DBaseTexture9** ppTexture)
{
    if (!ppTexture || Stage >= DWORD(kMaxStages))
        return D3DERR_INVALIDCALL;
    *ppTexture = state_.textures[Stage];
    if (*ppTexture)
        (*ppTexture)->AddRef();
    return D3D_OK;
}

HRESULT Device::SetTexture(DWORD Stage, IDirect3DBaseTexture9* pTexture)
{
    if (Stage >= DWORD(kMaxStages))
        return D3DERR_INVALIDCALL;
    if (recording_) {
        recording_->RecordTexture(Stage, pTexture);
        return D3D_OK;
    }
    if (state_.textures[Stage] == pTexture)
        return D3D_OK;
    HoldObject(pTexture);
    UnholdObject(state_.textures[Stage]);
    state_.textures[Stage] = pTexture;
    stateChanged_ = true;
    return D3D_OK;
}

HRESULT Device::GetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type, DWORD* pValue)
{
    if (!pValue || Stage >= DWORD(kMaxStages) || !ValidStageState(Type))
        return D3DERR_INVALIDCALL;
    *pValue = state_.stage[Stage][Type];
    return D3D_OK;
}

HRESULT Device::SetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type, DWORD Value)
{
    if (Stage >= DWORD(kMaxStages) || !ValidStageState(Type))
        return D3DERR_INVALIDCALL;
    if (recording_) {
        recording_->Values().stage[Stage][Type] = Value;
        recording_->Mask().stage[Stage].set(Type);
        return D3D_OK;
    }
    if (state_.stage[Stage][Type] != Value) {
        state_.stage[Stage][Type] = Value;
        stateChanged_ = true;
    }
    return D3D_OK;
}

HRESULT Device::GetSamplerState(DWORD Sampler, D3DSAMPLERSTATETYPE Type, DWORD* pValue)
{
    if (!pValue || Sampler >= DWORD(kMaxStages) || !ValidSamplerState(Type))
        return D3DERR_INVALIDCALL;
    *pValue = state_.sampler[Sampler][Type];
    return D3D_OK;
}

HRESULT Device::SetSamplerState(DWORD Sampler, D3DSAMPLERSTATETYPE Type, DWORD Value)
{
    if (Sampler >= DWORD(kMaxStages) || !ValidSamplerState(Type))
        return D3DERR_INVALIDCALL;
    if (recording_) {
        recording_->Values().sampler[Sampler][Type] = Value;
        recording_->Mask().sampler[Sampler].set(Type);
        return D3D_OK;
    }
    if (state_.sampler[Sampler][Type] != Value) {
        state_.sampler[Sampler][Type] = Value;
        stateChanged_ = true;
    }
    return D3D_OK;
}

HRESULT Device::SetFVF(DWORD FVF)
{
    if (recording_) {
        recording_->Values().fvf = FVF;
        recording_->Mask().fvf = true;
        return D3D_OK;
    }
    if (state_.fvf != FVF) {
        state_.fvf = FVF;
        stateChanged_ = true;
    }
    return D3D_OK;
}

HRESULT Device::GetFVF(DWORD* pFVF)
{
    if (!pFVF)
        return D3DERR_INVALIDCALL;
    *pFVF = state_.fvf;
    return D3D_OK;
}

HRESULT Device::SetVertexShader(IDirect3DVertexShader9* pShader)
{
    // Only the fixed-function pipeline exists: no shader object can be made.
    return pShader ? D3DERR_INVALIDCALL : D3D_OK;
}

HRESULT Device::GetVertexShader(IDirect3DVertexShader9** ppShader)
{
    if (!ppShader)
        return D3DERR_INVALIDCALL;
    *ppShader = nullptr;
    return D3D_OK;
}

HRESULT Device::SetStreamSource(UINT StreamNumber, IDirect3DVertexBuffer9* pStreamData,
                                UINT OffsetInBytes, UINT Stride)
{
    if (StreamNumber != 0 || Stride > caps_.MaxStreamStride)
        return D3DERR_INVALIDCALL;
    if (recording_) {
        recording_->RecordStream(pStreamData, OffsetInBytes, Stride);
        return D3D_OK;
    }
    if (state_.stream != pStreamData) {
        HoldObject(pStreamData);
        UnholdObject(state_.stream);
        state_.stream = pStreamData;
    }
    state_.streamOffset = OffsetInBytes;
    state_.streamStride = Stride;
    return D3D_OK;
}

HRESULT Device::GetStreamSource(UINT StreamNumber, IDirect3DVertexBuffer9** ppStreamData,
                                UINT* pOffsetInBytes, UINT* pStride)
{
    if (StreamNumber != 0 || !ppStreamData || !pOffsetInBytes || !pStride)
        return D3DERR_INVALIDCALL;
    *ppStreamData = state_.stream;
    if (*ppStreamData)
        (*ppStreamData)->AddRef();
    *pOffsetInBytes = state_.streamOffset;
    *pStride = state_.streamStride;
    return D3D_OK;
}

void Device::ApplyState(const StateMask& mask, const DeviceState& v)
{
    for (int i = 0; i < kRenderStateCount; ++i)
        if (mask.render[size_t(i)])
            SetRenderState(D3DRENDERSTATETYPE(i), v.render[i]);
    for (int s = 0; s < kMaxStages; ++s) {
        for (int i = 0; i < kStageStateCount; ++i)
            if (mask.stage[s][size_t(i)])
                SetTextureStageState(DWORD(s), D3DTEXTURESTAGESTATETYPE(i), v.stage[s][i]);
        for (int i = 0; i < kSamplerStateCount; ++i)
            if (mask.sampler[s][size_t(i)])
                SetSamplerState(DWORD(s), D3DSAMPLERSTATETYPE(i), v.sampler[s][i]);
        if (mask.textures[size_t(s)])
            SetTexture(DWORD(s), v.textures[s]);
    }
    static const D3DTRANSFORMSTATETYPE kTransforms[kTransformCount] = {D3DTS_WORLD, D3DTS_VIEW,
                                                                       D3DTS_PROJECTION};
    for (int i = 0; i < kTransformCount; ++i)
        if (mask.transforms[size_t(i)])
            SetTransform(kTransforms[i], &v.transforms[i]);
    if (mask.viewport)
        SetViewport(&v.viewport);
    if (mask.material)
        SetMaterial(&v.material);
    if (mask.fvf)
        SetFVF(v.fvf);
    if (mask.stream)
        SetStreamSource(0, v.stream, v.streamOffset, v.streamStride);
}

}  // namespace vexa::platform::d3d9
