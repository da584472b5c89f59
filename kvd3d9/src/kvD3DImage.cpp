// kvD3D: image files, screenshots, pixel sizes and the view frustum.
#include "kvD3D.h"

#include <kvApplication.h>
#include <kvException.h>
#include <kvSystem.h>
#include <kvTrace.h>

#include <cmath>
#include <string>

namespace {
std::string InPath(const char* name)
{
    return std::string(kvPath) + (name ? name : "");
}

// Texels of an alpha map become white, as opaque as the map is dark. False when the map
// cannot be locked.
bool InvertRedIntoAlpha(IDirect3DTexture9* texture)
{
    D3DSURFACE_DESC desc = {};
    D3DLOCKED_RECT locked = {};
    if (FAILED(texture->GetLevelDesc(0, &desc)) ||
        FAILED(texture->LockRect(0, &locked, nullptr, 0)))
        return false;
    for (UINT y = 0; y < desc.Height; ++y) {
        auto* row = reinterpret_cast<DWORD*>(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch);
        for (UINT x = 0; x < desc.Width; ++x) {
            const DWORD red = (row[x] >> 16) & 0xFF;
            row[x] = ((255 - red) << 24) | 0x00FFFFFF;
        }
    }
    texture->UnlockRect(0);
    return true;
}
}  // namespace

IDirect3DTexture9* kvD3D::LoadImage(const char* name, bool alphaMap, DWORD colorKey)
{
    const std::string path = InPath(name);
    if (!pDevice)
        NewExceptionf(KVEXCEPTION_GENERAL, "Failed to load image : %s.", path.c_str());
    IDirect3DTexture9* texture = nullptr;
    if (!alphaMap) {
        if (FAILED(D3DXCreateTextureFromFileExA(pDevice, path.c_str(), D3DX_DEFAULT_NONPOW2,
                                                D3DX_DEFAULT_NONPOW2, 1, 0, D3DFMT_A8R8G8B8,
                                                D3DPOOL_MANAGED, D3DX_FILTER_NONE, D3DX_DEFAULT,
                                                colorKey, nullptr, nullptr, &texture)))
            NewExceptionf(KVEXCEPTION_GENERAL, "Failed to load image : %s.", path.c_str());
        return texture;
    }
    IDirect3DTexture9* map = nullptr;
    if (FAILED(D3DXCreateTextureFromFileExA(pDevice, path.c_str(), 0, 0, 1, 0, D3DFMT_A8R8G8B8,
                                            D3DPOOL_SYSTEMMEM, D3DX_FILTER_NONE, D3DX_DEFAULT,
                                            colorKey, nullptr, nullptr, &map)))
        NewExceptionf(KVEXCEPTION_GENERAL, "Failed to load alpha map : %s.", path.c_str());
    // A map that cannot be converted or copied is refused: a blank texture would draw
    // as if the file held nothing.
    if (!InvertRedIntoAlpha(map)) {
        map->Release();
        NewExceptionf(KVEXCEPTION_GENERAL, "Failed to load alpha map : %s.", path.c_str());
    }
    D3DSURFACE_DESC desc = {};
    map->GetLevelDesc(0, &desc);
    if (FAILED(pDevice->CreateTexture(desc.Width, desc.Height, 1, 0, desc.Format,
                                      D3DPOOL_DEFAULT, &texture, nullptr))) {
        map->Release();
        NewException("Failed to create alpha map texture.", KVEXCEPTION_GENERAL);
    }
    map->AddDirtyRect(nullptr);
    texture->AddDirtyRect(nullptr);
    const HRESULT copied = pDevice->UpdateTexture(map, texture);
    map->Release();
    if (FAILED(copied)) {
        texture->Release();
        NewExceptionf(KVEXCEPTION_GENERAL, "Failed to load alpha map : %s.", path.c_str());
    }
    return texture;
}

IDirect3DCubeTexture9* kvD3D::LoadCubeTexture(const char* name)
{
    const std::string path = InPath(name);
    IDirect3DCubeTexture9* cube = nullptr;
    if (!pDevice || FAILED(D3DXCreateCubeTextureFromFileA(pDevice, path.c_str(), &cube)))
        NewExceptionf(KVEXCEPTION_GENERAL, "Failed to load image : %s.", path.c_str());
    return cube;
}

void kvD3D::SaveScreenShot(const char* name)
{
    if (bWindowed) {
        Trace("Failed to save screenshot in Window Mode.");
        return;
    }
    if (!pDevice) {
        Trace("Failed to save screenshots.");
        return;
    }
    // A back buffer is read through GetRenderTargetData into system memory; the device
    // does not copy render targets with UpdateSurface.
    IDirect3DSurface9* back = nullptr;
    IDirect3DSurface9* copy = nullptr;
    bool saved = false;
    if (SUCCEEDED(pDevice->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back))) {
        D3DSURFACE_DESC desc = {};
        back->GetDesc(&desc);
        if (SUCCEEDED(pDevice->CreateOffscreenPlainSurface(UINT(ScreenX), UINT(ScreenY),
                                                           desc.Format, D3DPOOL_SYSTEMMEM,
                                                           &copy, nullptr)) &&
            SUCCEEDED(pDevice->GetRenderTargetData(back, copy)))
            saved = SUCCEEDED(D3DXSaveSurfaceToFileA(InPath(name).c_str(), D3DXIFF_BMP, copy,
                                                     nullptr, nullptr));
    }
    if (copy)
        copy->Release();
    if (back)
        back->Release();
    if (!saved)
        Trace("Failed to save screenshots.");
}

DWORD kvD3D::GetPixelSize(D3DFORMAT format)
{
    switch (format) {
    case D3DFMT_A8R8G8B8:
    case D3DFMT_X8R8G8B8:
    case D3DFMT_A2B10G10R10:
    case D3DFMT_G16R16:
        return 4;
    case D3DFMT_R8G8B8:
        return 3;
    case D3DFMT_R5G6B5:
    case D3DFMT_X1R5G5B5:
    case D3DFMT_A1R5G5B5:
    case D3DFMT_A4R4G4B4:
    case D3DFMT_A8R3G3B2:
    case D3DFMT_X4R4G4B4:
    case D3DFMT_A8L8:
    case D3DFMT_A8P8:
        return 2;
    case D3DFMT_R3G3B2:
    case D3DFMT_A8:
    case D3DFMT_P8:
    case D3DFMT_L8:
    case D3DFMT_A4L4:
        return 1;
    default:
        return 0;
    }
}

void kvD3D::GetFrustum(const D3DXMATRIX* m)
{
    if (!m)
        return;
    // Columns of the row-vector matrix: a point p is inside where p . (C4 -/+ Ci) >= 0.
    const float c[4][4] = {{m->_11, m->_21, m->_31, m->_41},
                           {m->_12, m->_22, m->_32, m->_42},
                           {m->_13, m->_23, m->_33, m->_43},
                           {m->_14, m->_24, m->_34, m->_44}};
    const int axis[6] = {0, 0, 1, 1, 2, 2};
    const float sign[6] = {-1, 1, 1, -1, -1, 1};
    for (int p = 0; p < 6; ++p) {
        float plane[4];
        for (int k = 0; k < 4; ++k)
            plane[k] = c[3][k] + sign[p] * c[axis[p]][k];
        const float length = std::sqrt(plane[0] * plane[0] + plane[1] * plane[1] + plane[2] * plane[2]);
        for (int k = 0; k < 4; ++k)
            frustum[p][k] = length > 0.0f ? plane[k] / length : plane[k];
    }
}
