// kvD3D: the 2D drawing every screen is made of. Each rectangle refills one small dynamic
// vertex buffer and is one draw call; pre-transformed vertices address pixels directly,
// offset by the current view.
#include "kvD3D.h"

#include <kvApplication.h>
#include <kvInput.h>

namespace {
struct TexturedVertex {  // D3DFVF_XYZRHW | D3DFVF_TEX1, 24 bytes
    float x, y, z, rhw;
    float u, v;
};
struct ColouredVertex {  // D3DFVF_XYZRHW | D3DFVF_DIFFUSE, 20 bytes
    float x, y, z, rhw;
    D3DCOLOR colour;
};
static_assert(sizeof(TexturedVertex) == 24, "stride of the textured-quad buffer");
static_assert(sizeof(ColouredVertex) == 20, "stride of the colour-quad buffer");
}  // namespace

void kvD3D::BeginScene()
{
    bInScene = pDevice && SUCCEEDED(pDevice->BeginScene());
}

void kvD3D::EndScene()
{
    if (!bInScene)
        return;
    if (pMousePointer && bMouseVis)
        BltImage(MouseX, MouseY, pMousePointer);
    pDevice->EndScene();
    bInScene = false;
}

void kvD3D::ClearScreen(DWORD color, DWORD flags)
{
    if (pDevice)
        pDevice->Clear(0, nullptr, flags, color, 1.0f, 0);
}

void kvD3D::DrawStrip(IDirect3DVertexBuffer9* buffer, UINT stride, DWORD fvf,
                      IDirect3DTexture9* texture)
{
    pDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    pDevice->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    pDevice->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    pDevice->SetStreamSource(0, buffer, 0, stride);
    pDevice->SetFVF(fvf);
    pDevice->SetTexture(0, texture);
    pDevice->SetTexture(1, nullptr);
    pDevice->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
}

void kvD3D::Blt(KVD3DRECT* rect, IDirect3DTexture9* texture, bool filter)
{
    if (!pDevice || !pBltBuffer || !rect)
        return;
    void* data = nullptr;
    if (FAILED(pBltBuffer->Lock(0, 0, &data, D3DLOCK_DISCARD)))
        return;
    const float x0 = float(ViewX + rect->left), y0 = float(ViewY + rect->top);
    const float x1 = x0 + float(rect->right - rect->left);
    const float y1 = y0 + float(rect->bottom - rect->top);
    auto* v = static_cast<TexturedVertex*>(data);
    v[0] = {x0, y1, 0.0f, 1.0f, rect->u0, rect->v1};
    v[1] = {x0, y0, 0.0f, 1.0f, rect->u0, rect->v0};
    v[2] = {x1, y1, 0.0f, 1.0f, rect->u1, rect->v1};
    v[3] = {x1, y0, 0.0f, 1.0f, rect->u1, rect->v0};
    pBltBuffer->Unlock();
    // Without filtering means point sampling, whatever an earlier filtered rectangle left
    // in the sampler: pictures and the pointer are copied texel for pixel.
    const DWORD sampling = filter ? D3DTEXF_LINEAR : D3DTEXF_POINT;
    pDevice->SetSamplerState(0, D3DSAMP_MAGFILTER, sampling);
    pDevice->SetSamplerState(0, D3DSAMP_MINFILTER, sampling);
    DrawStrip(pBltBuffer, sizeof(TexturedVertex), D3DFVF_XYZRHW | D3DFVF_TEX1, texture);
}

void kvD3D::Bar(int x1, int y1, int x2, int y2, DWORD color)
{
    if (!pDevice || !pColorBuffer)
        return;
    void* data = nullptr;
    if (FAILED(pColorBuffer->Lock(0, 0, &data, D3DLOCK_DISCARD)))
        return;
    const float l = float(ViewX + x1), t = float(ViewY + y1);
    const float r = float(ViewX + x2), b = float(ViewY + y2);
    auto* v = static_cast<ColouredVertex*>(data);
    v[0] = {l, b, 0.0f, 1.0f, color};
    v[1] = {l, t, 0.0f, 1.0f, color};
    v[2] = {r, b, 0.0f, 1.0f, color};
    v[3] = {r, t, 0.0f, 1.0f, color};
    pColorBuffer->Unlock();
    DrawStrip(pColorBuffer, sizeof(ColouredVertex), D3DFVF_XYZRHW | D3DFVF_DIFFUSE, nullptr);
}

void kvD3D::BltImage(int x, int y, IDirect3DTexture9* texture)
{
    if (!texture)
        return;
    D3DSURFACE_DESC desc = {};
    if (FAILED(texture->GetLevelDesc(0, &desc)))
        return;
    KVD3DRECT rect = {x, y, x + int32_t(desc.Width), y + int32_t(desc.Height),
                      0.0f, 0.0f, 1.0f, 1.0f};
    Blt(&rect, texture, false);
}
