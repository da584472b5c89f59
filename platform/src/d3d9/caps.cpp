// The capabilities of the one device type, HAL, as the emulation really has them: four
// texture stages of the blend operations, no shaders, no lights, one stream.
#include "caps.h"

#include "gl_context.h"
#include "gl_state.h"

namespace vexa::platform::d3d9 {

void FillHalCaps(D3DCAPS9& c)
{
    c = D3DCAPS9{};
    c.DeviceType = D3DDEVTYPE_HAL;
    c.AdapterOrdinal = 0;
    c.PresentationIntervals = D3DPRESENT_INTERVAL_IMMEDIATE | D3DPRESENT_INTERVAL_ONE;
    c.DevCaps = D3DDEVCAPS_HWTRANSFORMANDLIGHT | D3DDEVCAPS_DRAWPRIMITIVES2EX;
    c.PrimitiveMiscCaps = D3DPMISCCAPS_CULLNONE | D3DPMISCCAPS_CULLCW | D3DPMISCCAPS_CULLCCW |
                          D3DPMISCCAPS_COLORWRITEENABLE | D3DPMISCCAPS_BLENDOP;
    c.RasterCaps = D3DPRASTERCAPS_ZTEST;
    c.ZCmpCaps = c.AlphaCmpCaps = 0xFF;  // all eight comparisons
    c.SrcBlendCaps = c.DestBlendCaps = 0x7FF;  // ZERO .. SRCALPHASAT
    c.ShadeCaps = D3DPSHADECAPS_COLORGOURAUDRGB;
    c.TextureCaps = D3DPTEXTURECAPS_ALPHA | D3DPTEXTURECAPS_MIPMAP;
    c.TextureFilterCaps = D3DPTFILTERCAPS_MINFPOINT | D3DPTFILTERCAPS_MINFLINEAR |
                          D3DPTFILTERCAPS_MIPFPOINT | D3DPTFILTERCAPS_MIPFLINEAR |
                          D3DPTFILTERCAPS_MAGFPOINT | D3DPTFILTERCAPS_MAGFLINEAR;
    c.TextureAddressCaps = D3DPTADDRESSCAPS_WRAP | D3DPTADDRESSCAPS_MIRROR |
                           D3DPTADDRESSCAPS_CLAMP | D3DPTADDRESSCAPS_BORDER;
    c.MaxTextureWidth = c.MaxTextureHeight = MaxTextureEdge();
    c.MaxTextureRepeat = 8192;
    c.MaxTextureAspectRatio = c.MaxTextureWidth;
    c.MaxAnisotropy = 1;
    c.MaxVertexW = 1e10f;
    c.GuardBandLeft = c.GuardBandTop = -8192.0f;
    c.GuardBandRight = c.GuardBandBottom = 8192.0f;
    c.FVFCaps = 8;  // texture coordinate sets
    c.TextureOpCaps = D3DTEXOPCAPS_DISABLE | D3DTEXOPCAPS_SELECTARG1 | D3DTEXOPCAPS_SELECTARG2 |
                      D3DTEXOPCAPS_MODULATE | D3DTEXOPCAPS_MODULATE2X | D3DTEXOPCAPS_MODULATE4X |
                      D3DTEXOPCAPS_ADD | D3DTEXOPCAPS_ADDSIGNED | D3DTEXOPCAPS_ADDSIGNED2X |
                      D3DTEXOPCAPS_SUBTRACT | D3DTEXOPCAPS_ADDSMOOTH |
                      D3DTEXOPCAPS_BLENDDIFFUSEALPHA | D3DTEXOPCAPS_BLENDTEXTUREALPHA |
                      D3DTEXOPCAPS_BLENDFACTORALPHA | D3DTEXOPCAPS_BLENDCURRENTALPHA;
    c.MaxTextureBlendStages = kMaxStages;
    c.MaxSimultaneousTextures = kMaxStages;
    c.MaxActiveLights = 0;
    c.MaxPointSize = 1.0f;
    c.MaxPrimitiveCount = 0xFFFFF;
    c.MaxVertexIndex = 0xFFFFFF;
    c.MaxStreams = 1;
    c.MaxStreamStride = 255;
    // No programmable shaders: version 0.0 of both.
    c.VertexShaderVersion = D3DVS_VERSION(0, 0);
    c.PixelShaderVersion = D3DPS_VERSION(0, 0);
    c.NumberOfAdaptersInGroup = 1;
    c.NumSimultaneousRTs = 1;
}

}  // namespace vexa::platform::d3d9
