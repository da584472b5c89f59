// Internal: the Direct3D side of a device's state, the values Set* stores and Get*
// answers, and the mask of the entries a state block carries.
#ifndef VEXA_PLATFORM_D3D9_DEVICE_STATE_H
#define VEXA_PLATFORM_D3D9_DEVICE_STATE_H

#include "gl_state.h"

#include <d3d9.h>

#include <bitset>

namespace vexa::platform::d3d9 {

constexpr int kRenderStateCount = 256;
constexpr int kStageStateCount = 33;
constexpr int kSamplerStateCount = 14;
constexpr int kTransformCount = 3;  // world, view, projection

// Index into DeviceState::transforms, or -1 for a transform outside the subset.
int TransformIndex(D3DTRANSFORMSTATETYPE type);

struct DeviceState {
    DWORD render[kRenderStateCount];
    DWORD stage[kMaxStages][kStageStateCount];
    DWORD sampler[kMaxStages][kSamplerStateCount];
    D3DMATRIX transforms[kTransformCount];
    D3DVIEWPORT9 viewport;
    D3DMATERIAL9 material;
    DWORD fvf;
    // Not counted here: the device and state blocks hold what they store.
    IDirect3DBaseTexture9* textures[kMaxStages];
    IDirect3DVertexBuffer9* stream;
    UINT streamOffset;
    UINT streamStride;
};

// Direct3D 9's state of a new or reset device; the viewport covers the back buffer.
void SetDefaultState(DeviceState& state, UINT width, UINT height);

struct StateMask {
    std::bitset<kRenderStateCount> render;
    std::bitset<kStageStateCount> stage[kMaxStages];
    std::bitset<kSamplerStateCount> sampler[kMaxStages];
    std::bitset<kTransformCount> transforms;
    bool viewport = false;
    bool material = false;
    bool fvf = false;
    std::bitset<kMaxStages> textures;
    bool stream = false;
};

// The entries CreateStateBlock captures for a state-block type.
StateMask MaskOfType(D3DSTATEBLOCKTYPE type);

// Render states the layer knows; others are refused by SetRenderState.
bool IsKnownRenderState(DWORD state);

}  // namespace vexa::platform::d3d9

#endif
