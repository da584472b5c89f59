// Direct3D 9's default device state, and which states belong to the pixel and vertex
// halves of a state block (the lists of the state-block documentation, cut to the
// layer's subset).
#include "device_state.h"

#include <cstring>

namespace vexa::platform::d3d9 {

namespace {

DWORD FloatBits(float f)
{
    DWORD bits;
    std::memcpy(&bits, &f, 4);
    return bits;
}

struct RenderDefault {
    D3DRENDERSTATETYPE state;
    DWORD value;
    bool pixel;  // belongs to D3DSBT_PIXELSTATE (else D3DSBT_VERTEXSTATE)
};

const RenderDefault kRenderDefaults[] = {
    // The implicit depth buffer turns the depth test on (D3DZB_TRUE).
    {D3DRS_ZENABLE, D3DZB_TRUE, true},
    {D3DRS_FILLMODE, D3DFILL_SOLID, true},
    {D3DRS_SHADEMODE, D3DSHADE_GOURAUD, true},
    {D3DRS_ZWRITEENABLE, TRUE, true},
    {D3DRS_ALPHATESTENABLE, FALSE, true},
    {D3DRS_LASTPIXEL, TRUE, true},
    {D3DRS_SRCBLEND, D3DBLEND_ONE, true},
    {D3DRS_DESTBLEND, D3DBLEND_ZERO, true},
    {D3DRS_CULLMODE, D3DCULL_CCW, false},
    {D3DRS_ZFUNC, D3DCMP_LESSEQUAL, true},
    {D3DRS_ALPHAREF, 0, true},
    {D3DRS_ALPHAFUNC, D3DCMP_ALWAYS, true},
    {D3DRS_DITHERENABLE, FALSE, true},
    {D3DRS_ALPHABLENDENABLE, FALSE, true},
    {D3DRS_FOGENABLE, FALSE, false},
    {D3DRS_SPECULARENABLE, FALSE, false},
    {D3DRS_FOGCOLOR, 0, false},
    {D3DRS_FOGTABLEMODE, D3DFOG_NONE, false},
    {D3DRS_FOGSTART, 0, false},
    {D3DRS_FOGEND, 0, false},
    {D3DRS_FOGDENSITY, 0, false},
    {D3DRS_RANGEFOGENABLE, FALSE, false},
    {D3DRS_STENCILENABLE, FALSE, true},
    {D3DRS_STENCILFAIL, D3DSTENCILOP_KEEP, true},
    {D3DRS_STENCILZFAIL, D3DSTENCILOP_KEEP, true},
    {D3DRS_STENCILPASS, D3DSTENCILOP_KEEP, true},
    {D3DRS_STENCILFUNC, D3DCMP_ALWAYS, true},
    {D3DRS_STENCILREF, 0, true},
    {D3DRS_STENCILMASK, 0xFFFFFFFF, true},
    {D3DRS_STENCILWRITEMASK, 0xFFFFFFFF, true},
    {D3DRS_TEXTUREFACTOR, 0xFFFFFFFF, true},
    {D3DRS_CLIPPING, TRUE, false},
    {D3DRS_LIGHTING, TRUE, false},
    {D3DRS_AMBIENT, 0, false},
    {D3DRS_FOGVERTEXMODE, D3DFOG_NONE, false},
    {D3DRS_COLORVERTEX, TRUE, false},
    {D3DRS_LOCALVIEWER, TRUE, false},
    {D3DRS_NORMALIZENORMALS, FALSE, false},
    {D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1, false},
    {D3DRS_SPECULARMATERIALSOURCE, D3DMCS_COLOR2, false},
    {D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_MATERIAL, false},
    {D3DRS_EMISSIVEMATERIALSOURCE, D3DMCS_MATERIAL, false},
    {D3DRS_VERTEXBLEND, D3DVBF_DISABLE, false},
    {D3DRS_CLIPPLANEENABLE, 0, false},
    {D3DRS_INDEXEDVERTEXBLENDENABLE, FALSE, false},
    {D3DRS_COLORWRITEENABLE, 0xF, true},
    {D3DRS_BLENDOP, D3DBLENDOP_ADD, true},
    {D3DRS_SCISSORTESTENABLE, FALSE, true},
};

const D3DTEXTURESTAGESTATETYPE kStageStates[] = {
    D3DTSS_COLOROP,   D3DTSS_COLORARG1,     D3DTSS_COLORARG2,
    D3DTSS_ALPHAOP,   D3DTSS_ALPHAARG1,     D3DTSS_ALPHAARG2,
    D3DTSS_TEXCOORDINDEX, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTSS_RESULTARG,
    D3DTSS_CONSTANT,
};

bool IsVertexStageState(DWORD type)
{
    return type == D3DTSS_TEXCOORDINDEX || type == D3DTSS_TEXTURETRANSFORMFLAGS;
}

}  // namespace

int TransformIndex(D3DTRANSFORMSTATETYPE type)
{
    switch (DWORD(type)) {
    case D3DTS_WORLD:
        return 0;
    case D3DTS_VIEW:
        return 1;
    case D3DTS_PROJECTION:
        return 2;
    default:
        return -1;
    }
}

void SetDefaultState(DeviceState& state, UINT width, UINT height)
{
    std::memset(&state, 0, sizeof state);
    for (const RenderDefault& d : kRenderDefaults)
        state.render[d.state] = d.value;
    state.render[D3DRS_FOGDENSITY] = FloatBits(1.0f);
    state.render[D3DRS_FOGEND] = FloatBits(1.0f);
    for (int s = 0; s < kMaxStages; ++s) {
        DWORD* st = state.stage[s];
        st[D3DTSS_COLOROP] = s == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
        st[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
        st[D3DTSS_COLORARG2] = D3DTA_CURRENT;
        st[D3DTSS_ALPHAOP] = s == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
        st[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
        st[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
        st[D3DTSS_TEXCOORDINDEX] = DWORD(s);
        st[D3DTSS_TEXTURETRANSFORMFLAGS] = D3DTTFF_DISABLE;
        st[D3DTSS_RESULTARG] = D3DTA_CURRENT;
        DWORD* sa = state.sampler[s];
        sa[D3DSAMP_ADDRESSU] = D3DTADDRESS_WRAP;
        sa[D3DSAMP_ADDRESSV] = D3DTADDRESS_WRAP;
        sa[D3DSAMP_ADDRESSW] = D3DTADDRESS_WRAP;
        sa[D3DSAMP_MAGFILTER] = D3DTEXF_POINT;
        sa[D3DSAMP_MINFILTER] = D3DTEXF_POINT;
        sa[D3DSAMP_MIPFILTER] = D3DTEXF_NONE;
        sa[D3DSAMP_MAXANISOTROPY] = 1;
    }
    for (D3DMATRIX& m : state.transforms)
        for (int i = 0; i < 4; ++i)
            m.m[i][i] = 1.0f;
    state.viewport = D3DVIEWPORT9{0, 0, width, height, 0.0f, 1.0f};
}

StateMask MaskOfType(D3DSTATEBLOCKTYPE type)
{
    const bool pixel = type == D3DSBT_ALL || type == D3DSBT_PIXELSTATE;
    const bool vertex = type == D3DSBT_ALL || type == D3DSBT_VERTEXSTATE;
    StateMask mask;
    for (const RenderDefault& d : kRenderDefaults)
        if ((d.pixel && pixel) || (!d.pixel && vertex))
            mask.render.set(d.state);
    for (int s = 0; s < kMaxStages; ++s) {
        for (D3DTEXTURESTAGESTATETYPE t : kStageStates)
            if ((IsVertexStageState(t) && vertex) || (!IsVertexStageState(t) && pixel))
                mask.stage[s].set(t);
        if (pixel)
            for (int i = D3DSAMP_ADDRESSU; i <= D3DSAMP_MAXANISOTROPY; ++i)
                mask.sampler[s].set(size_t(i));
    }
    if (vertex)
        mask.fvf = true;
    if (type == D3DSBT_ALL) {
        mask.transforms.set();
        mask.viewport = true;
        mask.material = true;
        mask.textures.set();
        mask.stream = true;
    }
    return mask;
}

bool IsKnownRenderState(DWORD state)
{
    for (const RenderDefault& d : kRenderDefaults)
        if (DWORD(d.state) == state)
            return true;
    return false;
}

}  // namespace vexa::platform::d3d9
