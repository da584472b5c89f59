// D3DXCreateTextureFromFile(Ex)A, D3DXCreateCubeTextureFromFileA and
// D3DXGetImageInfoFromFileA.
//
// Sizes: D3DX_DEFAULT_NONPOW2 and D3DX_FROM_FILE keep the file's size, 0 and D3DX_DEFAULT
// round it up to powers of two, anything else is taken as given; all are capped at the
// device's largest texture. With D3DX_FILTER_NONE the image lands unscaled at the top
// left and the rest is transparent black, otherwise it is resampled to the texture.
#include "image_file.h"

#include "../d3d9/formats.h"
#include "../d3d9/surface.h"

#include <stb_image_resize.h>

#include <algorithm>

using vexa::platform::d3dx9::Image;

namespace {

UINT NextPowerOfTwo(UINT v)
{
    UINT p = 1;
    while (p < v && p < 0x80000000u)
        p <<= 1;
    return p;
}

UINT ChooseEdge(UINT requested, UINT fromFile, UINT maxEdge)
{
    UINT edge;
    if (requested == D3DX_DEFAULT_NONPOW2 || requested == D3DX_FROM_FILE)
        edge = fromFile;
    else if (requested == 0 || requested == D3DX_DEFAULT)
        edge = NextPowerOfTwo(fromFile);
    else
        edge = requested;
    return std::min(edge, maxEdge);
}

D3DFORMAT ChooseFormat(D3DFORMAT requested, D3DFORMAT fromFile, D3DCOLOR colorKey)
{
    D3DFORMAT f = requested;
    if (f == D3DFMT_UNKNOWN || f == D3DFMT_FROM_FILE) {
        switch (fromFile) {
        case D3DFMT_L8:
            f = D3DFMT_L8;
            break;
        case D3DFMT_R8G8B8:
            f = D3DFMT_X8R8G8B8;
            break;
        default:
            f = D3DFMT_A8R8G8B8;
            break;
        }
        // A colour key needs somewhere to put its transparency.
        if (colorKey && (f == D3DFMT_X8R8G8B8 || f == D3DFMT_L8))
            f = D3DFMT_A8R8G8B8;
    }
    return vexa::platform::d3d9::FindTextureFormat(f) ? f : D3DFMT_A8R8G8B8;
}

// The top level: the image scaled to (or placed in) width x height.
std::vector<DWORD> TopLevel(const Image& image, UINT width, UINT height, DWORD filter)
{
    const UINT iw = image.info.Width, ih = image.info.Height;
    std::vector<DWORD> out(size_t(width) * height, 0);
    if ((filter & 0xFF) == D3DX_FILTER_NONE || (iw == width && ih == height)) {
        for (UINT y = 0; y < std::min(ih, height); ++y)
            std::copy_n(&image.argb[size_t(y) * iw], std::min(iw, width), &out[size_t(y) * width]);
        return out;
    }
    stbir_resize_uint8(reinterpret_cast<const unsigned char*>(image.argb.data()), int(iw), int(ih),
                       0, reinterpret_cast<unsigned char*>(out.data()), int(width), int(height), 0,
                       4);
    return out;
}

// The next level down, each pixel the average of the 2 x 2 (or fewer) above it.
std::vector<DWORD> HalfLevel(const std::vector<DWORD>& in, UINT w, UINT h, UINT nw, UINT nh)
{
    std::vector<DWORD> out(size_t(nw) * nh);
    for (UINT y = 0; y < nh; ++y)
        for (UINT x = 0; x < nw; ++x) {
            DWORD sum[4] = {}, n = 0;
            for (UINT dy = 0; dy < 2; ++dy)
                for (UINT dx = 0; dx < 2; ++dx) {
                    const UINT sx = std::min(2 * x + dx, w - 1), sy = std::min(2 * y + dy, h - 1);
                    const DWORD p = in[size_t(sy) * w + sx];
                    for (int c = 0; c < 4; ++c)
                        sum[c] += (p >> (8 * c)) & 255;
                    ++n;
                }
            DWORD p = 0;
            for (int c = 0; c < 4; ++c)
                p |= ((sum[c] + n / 2) / n) << (8 * c);
            out[size_t(y) * nw + x] = p;
        }
    return out;
}

HRESULT FillTexture(IDirect3DTexture9* texture, const Image& image, DWORD filter, DWORD mipFilter,
                    D3DCOLOR colorKey)
{
    D3DSURFACE_DESC desc;
    texture->GetLevelDesc(0, &desc);
    Image keyed = image;
    if (colorKey)
        for (DWORD& p : keyed.argb)
            if (p == colorKey)
                p = 0;
    std::vector<DWORD> level = TopLevel(keyed, desc.Width, desc.Height, filter);
    UINT w = desc.Width, h = desc.Height;
    for (UINT i = 0; i < texture->GetLevelCount(); ++i) {
        if (i > 0) {
            const UINT nw = std::max(w / 2, 1u), nh = std::max(h / 2, 1u);
            level = (mipFilter & 0xFF) == D3DX_FILTER_NONE ? std::vector<DWORD>(size_t(nw) * nh, 0)
                                                           : HalfLevel(level, w, h, nw, nh);
            w = nw, h = nh;
        }
        IDirect3DSurface9* surface = nullptr;
        if (FAILED(texture->GetSurfaceLevel(i, &surface)))
            return D3DERR_INVALIDCALL;
        vexa::platform::d3d9::AsSurface(surface)->WriteArgb(RECT{0, 0, LONG(w), LONG(h)},
                                                            level.data());
        surface->Release();
    }
    return D3D_OK;
}

}  // namespace

WINAPI_EXPORT HRESULT WINAPI D3DXGetImageInfoFromFileA(LPCSTR pSrcFile, D3DXIMAGE_INFO* pSrcInfo)
{
    if (!pSrcFile || !pSrcInfo)
        return D3DERR_INVALIDCALL;
    Image image;
    HRESULT hr = vexa::platform::d3dx9::ReadImageFile(pSrcFile, &image, true);
    if (SUCCEEDED(hr))
        *pSrcInfo = image.info;
    return hr;
}

WINAPI_EXPORT HRESULT WINAPI D3DXCreateTextureFromFileExA(
    LPDIRECT3DDEVICE9 pDevice, LPCSTR pSrcFile, UINT Width, UINT Height, UINT MipLevels,
    DWORD Usage, D3DFORMAT Format, D3DPOOL Pool, DWORD Filter, DWORD MipFilter,
    D3DCOLOR ColorKey, D3DXIMAGE_INFO* pSrcInfo, PALETTEENTRY* pPalette,
    LPDIRECT3DTEXTURE9* ppTexture)
{
    (void)pPalette;  // no palettised formats are made
    if (ppTexture)
        *ppTexture = nullptr;
    if (!pDevice || !pSrcFile || !ppTexture)
        return D3DERR_INVALIDCALL;
    Image image;
    HRESULT hr = vexa::platform::d3dx9::ReadImageFile(pSrcFile, &image);
    if (FAILED(hr))
        return hr;
    D3DCAPS9 caps;
    pDevice->GetDeviceCaps(&caps);
    const UINT width = ChooseEdge(Width, image.info.Width, caps.MaxTextureWidth);
    const UINT height = ChooseEdge(Height, image.info.Height, caps.MaxTextureHeight);
    const D3DFORMAT format = ChooseFormat(Format, image.info.Format, ColorKey);
    const UINT levels = MipLevels == D3DX_DEFAULT ? 0 : MipLevels == D3DX_FROM_FILE ? 1 : MipLevels;
    if (Filter == D3DX_DEFAULT)
        Filter = D3DX_FILTER_TRIANGLE;
    if (MipFilter == D3DX_DEFAULT)
        MipFilter = D3DX_FILTER_BOX;

    // Default-pool textures cannot be locked: fill a system-memory copy and send it over.
    const bool staged = Pool == D3DPOOL_DEFAULT && !(Usage & D3DUSAGE_DYNAMIC);
    IDirect3DTexture9* texture = nullptr;
    hr = pDevice->CreateTexture(width, height, levels, staged ? 0 : Usage, format,
                                staged ? D3DPOOL_SYSTEMMEM : Pool, &texture, nullptr);
    if (FAILED(hr))
        return hr;
    hr = FillTexture(texture, image, Filter, MipFilter, ColorKey);
    if (SUCCEEDED(hr) && staged) {
        IDirect3DTexture9* target = nullptr;
        hr = pDevice->CreateTexture(width, height, texture->GetLevelCount(), Usage, format,
                                    D3DPOOL_DEFAULT, &target, nullptr);
        if (SUCCEEDED(hr))
            hr = pDevice->UpdateTexture(texture, target);
        texture->Release();
        texture = target;
        if (FAILED(hr) && target) {
            target->Release();
            texture = nullptr;
        }
    }
    if (FAILED(hr)) {
        if (texture)
            texture->Release();
        return hr;
    }
    if (pSrcInfo)
        *pSrcInfo = image.info;
    *ppTexture = texture;
    return D3D_OK;
}

WINAPI_EXPORT HRESULT WINAPI D3DXCreateTextureFromFileA(LPDIRECT3DDEVICE9 pDevice, LPCSTR pSrcFile,
                                                        LPDIRECT3DTEXTURE9* ppTexture)
{
    return D3DXCreateTextureFromFileExA(pDevice, pSrcFile, D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT,
                                        0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_DEFAULT,
                                        D3DX_DEFAULT, 0, nullptr, nullptr, ppTexture);
}

WINAPI_EXPORT HRESULT WINAPI D3DXCreateCubeTextureFromFileA(LPDIRECT3DDEVICE9 pDevice,
                                                            LPCSTR pSrcFile,
                                                            LPDIRECT3DCUBETEXTURE9* ppCubeTexture)
{
    if (ppCubeTexture)
        *ppCubeTexture = nullptr;
    if (!pDevice || !pSrcFile || !ppCubeTexture)
        return D3DERR_INVALIDCALL;
    // Only DDS files hold cube maps, and none is read: a readable picture is a 2D image,
    // which D3DX refuses for a cube texture the same way it refuses a broken file.
    Image image;
    HRESULT hr = vexa::platform::d3dx9::ReadImageFile(pSrcFile, &image, true);
    return FAILED(hr) ? hr : D3DXERR_INVALIDDATA;
}
