// Creation of textures, vertex buffers and off-screen surfaces, and the copies between
// memory and the device: UpdateTexture, UpdateSurface, GetRenderTargetData.
#include "device.h"

#include "formats.h"
#include "surface.h"
#include "texture.h"
#include "vertex_buffer.h"

#include <algorithm>
#include <cstring>

namespace vexa::platform::d3d9 {

HRESULT Device::CreateTexture(UINT Width, UINT Height, UINT Levels, DWORD Usage, D3DFORMAT Format,
                              D3DPOOL Pool, IDirect3DTexture9** ppTexture, HANDLE* pSharedHandle)
{
    if (pSharedHandle)
        return D3DERR_INVALIDCALL;
    FillCaps();
    return Texture::Create(this, Width, Height, Levels, Usage, Format, Pool, ppTexture);
}

HRESULT Device::CreateVertexBuffer(UINT Length, DWORD Usage, DWORD FVF, D3DPOOL Pool,
                                   IDirect3DVertexBuffer9** ppVertexBuffer, HANDLE* pSharedHandle)
{
    if (pSharedHandle)
        return D3DERR_INVALIDCALL;
    return VertexBuffer::Create(this, Length, Usage, FVF, Pool, ppVertexBuffer);
}

HRESULT Device::CreateOffscreenPlainSurface(UINT Width, UINT Height, D3DFORMAT Format,
                                            D3DPOOL Pool, IDirect3DSurface9** ppSurface,
                                            HANDLE* pSharedHandle)
{
    if (pSharedHandle)
        return D3DERR_INVALIDCALL;
    return Surface::CreatePlain(this, Width, Height, Format, Pool, ppSurface);
}

HRESULT Device::UpdateTexture(IDirect3DBaseTexture9* pSourceTexture,
                              IDirect3DBaseTexture9* pDestinationTexture)
{
    Texture* src = AsTexture(pSourceTexture);
    Texture* dst = AsTexture(pDestinationTexture);
    if (!src || !dst || src->Pool() != D3DPOOL_SYSTEMMEM || dst->Pool() != D3DPOOL_DEFAULT ||
        src->Format() != dst->Format())
        return D3DERR_INVALIDCALL;
    // The destination's levels match the source's from the level of the same size on.
    UINT first = 0;
    const TextureLevel& top = dst->LevelAt(0);
    while (first < src->GetLevelCount() && (src->LevelAt(first).width != top.width ||
                                            src->LevelAt(first).height != top.height))
        ++first;
    if (first == src->GetLevelCount() || src->GetLevelCount() - first < dst->GetLevelCount())
        return D3DERR_INVALIDCALL;
    if (!src->Dirty())
        return D3D_OK;
    for (UINT i = 0; i < dst->GetLevelCount(); ++i) {
        TextureLevel& to = dst->LevelAt(i);
        const TextureLevel& from = src->LevelAt(first + i);
        to.bits = from.bits;
        dst->Upload(i, RECT{0, 0, LONG(to.width), LONG(to.height)});
    }
    src->SetDirty(false);
    return D3D_OK;
}

HRESULT Device::UpdateSurface(IDirect3DSurface9* pSourceSurface, const RECT* pSourceRect,
                              IDirect3DSurface9* pDestinationSurface, const POINT* pDestPoint)
{
    Surface* src = AsSurface(pSourceSurface);
    Surface* dst = AsSurface(pDestinationSurface);
    if (!src || !dst || src == dst)
        return D3DERR_INVALIDCALL;
    const D3DSURFACE_DESC sd = src->Desc(), dd = dst->Desc();
    // As in Direct3D 9: from system memory to the default pool, in one format.
    if (sd.Pool != D3DPOOL_SYSTEMMEM || dd.Pool != D3DPOOL_DEFAULT || sd.Format != dd.Format ||
        dst->GetKind() == Surface::Kind::BackBuffer)
        return D3DERR_INVALIDCALL;
    const RECT r = pSourceRect ? *pSourceRect : RECT{0, 0, LONG(sd.Width), LONG(sd.Height)};
    const POINT at = pDestPoint ? *pDestPoint : POINT{0, 0};
    const LONG w = r.right - r.left, h = r.bottom - r.top;
    if (r.left < 0 || r.top < 0 || w <= 0 || h <= 0 || UINT(r.right) > sd.Width ||
        UINT(r.bottom) > sd.Height || at.x < 0 || at.y < 0 || UINT(at.x + w) > dd.Width ||
        UINT(at.y + h) > dd.Height)
        return D3DERR_INVALIDCALL;
    const UINT bpp = BytesPerPixel(sd.Format);
    for (LONG y = 0; y < h; ++y)
        std::memcpy(dst->Bits() + size_t(at.y + y) * dst->Pitch() + size_t(at.x) * bpp,
                    src->Bits() + size_t(r.top + y) * src->Pitch() + size_t(r.left) * bpp,
                    size_t(w) * bpp);
    if (dst->GetKind() == Surface::Kind::Level)
        dst->Container()->Upload(dst->Level(), RECT{at.x, at.y, at.x + w, at.y + h});
    return D3D_OK;
}

HRESULT Device::GetRenderTargetData(IDirect3DSurface9* pRenderTarget,
                                    IDirect3DSurface9* pDestSurface)
{
    Surface* src = AsSurface(pRenderTarget);
    Surface* dst = AsSurface(pDestSurface);
    if (!src || !dst || src->GetKind() != Surface::Kind::BackBuffer)
        return D3DERR_INVALIDCALL;
    const D3DSURFACE_DESC dd = dst->Desc();
    if (dd.Pool != D3DPOOL_SYSTEMMEM || dd.Width != BackBufferWidth() ||
        dd.Height != BackBufferHeight() || dd.Format != BackBufferFormat())
        return D3DERR_INVALIDCALL;
    const RECT all = {0, 0, LONG(dd.Width), LONG(dd.Height)};
    std::vector<DWORD> argb(size_t(dd.Width) * dd.Height);
    ReadBackBuffer(all, argb.data());
    dst->WriteArgb(all, argb.data());
    return D3D_OK;
}

}  // namespace vexa::platform::d3d9
