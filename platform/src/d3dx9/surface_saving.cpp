// D3DXSaveSurfaceToFileA: any surface of the layer (the back buffer included) read as
// A8R8G8B8 and written as BMP, PNG, TGA or JPG through the system's stb_image_write.
// Formats without alpha are written with three channels.
#include <d3dx9tex.h>

#include "../d3d9/surface.h"

#include <vexa/platform.h>

#include <stb_image_write.h>

#include <vector>

WINAPI_EXPORT HRESULT WINAPI D3DXSaveSurfaceToFileA(LPCSTR pDestFile,
                                                    D3DXIMAGE_FILEFORMAT DestFormat,
                                                    LPDIRECT3DSURFACE9 pSrcSurface,
                                                    const PALETTEENTRY* pSrcPalette,
                                                    const RECT* pSrcRect)
{
    (void)pSrcPalette;
    vexa::platform::d3d9::Surface* surface = vexa::platform::d3d9::AsSurface(pSrcSurface);
    if (!pDestFile || !surface)
        return D3DERR_INVALIDCALL;
    const D3DSURFACE_DESC desc = surface->Desc();
    const RECT r = pSrcRect ? *pSrcRect : RECT{0, 0, LONG(desc.Width), LONG(desc.Height)};
    if (r.left < 0 || r.top < 0 || r.left >= r.right || r.top >= r.bottom ||
        UINT(r.right) > desc.Width || UINT(r.bottom) > desc.Height)
        return D3DERR_INVALIDCALL;
    if (DestFormat != D3DXIFF_BMP && DestFormat != D3DXIFF_PNG && DestFormat != D3DXIFF_TGA &&
        DestFormat != D3DXIFF_JPG)
        return D3DERR_INVALIDCALL;
    const int w = int(r.right - r.left), h = int(r.bottom - r.top);
    std::vector<DWORD> argb(size_t(w) * size_t(h));
    surface->ReadArgb(r, argb.data());
    const bool alpha = desc.Format == D3DFMT_A8R8G8B8 || desc.Format == D3DFMT_A4R4G4B4 ||
                       desc.Format == D3DFMT_A1R5G5B5 || desc.Format == D3DFMT_A8;
    const int channels = alpha ? 4 : 3;
    std::vector<unsigned char> pixels(argb.size() * size_t(channels));
    for (size_t i = 0; i < argb.size(); ++i) {
        unsigned char* p = &pixels[i * size_t(channels)];
        p[0] = (unsigned char)(argb[i] >> 16);
        p[1] = (unsigned char)(argb[i] >> 8);
        p[2] = (unsigned char)argb[i];
        if (alpha)
            p[3] = (unsigned char)(argb[i] >> 24);
    }
    const std::string path = vexa::platform::HostPath(pDestFile);
    int ok = 0;
    switch (DestFormat) {
    case D3DXIFF_BMP:
        ok = stbi_write_bmp(path.c_str(), w, h, channels, pixels.data());
        break;
    case D3DXIFF_PNG:
        ok = stbi_write_png(path.c_str(), w, h, channels, pixels.data(), w * channels);
        break;
    case D3DXIFF_TGA:
        ok = stbi_write_tga(path.c_str(), w, h, channels, pixels.data());
        break;
    default:
        ok = stbi_write_jpg(path.c_str(), w, h, channels, pixels.data(), 90);
        break;
    }
    return ok ? D3D_OK : D3DERR_INVALIDCALL;
}
