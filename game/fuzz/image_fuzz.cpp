// Fuzz target: arbitrary bytes as a picture file, loaded into a real device the three
// ways the engine loads pictures (plain, with a colour key, as an alpha map). Every
// refusal must be an engine exception; a crash, a sanitizer report or a hang is a fault.
// A picture that loads must give a texture of its own size within the device's limits,
// every texel of which can be read.
#include "mesh_fuzz_device.h"

#include <kvException.h>

#include <stdlib.h>

namespace {

void LoadOnce(kvD3D* d3d, bool alphaMap, DWORD colorKey)
{
    IDirect3DTexture9* texture = nullptr;
    try {
        texture = d3d->LoadImage("i.img", alphaMap, colorKey);
    } catch (kvException* e) {
        DeleteException(e);
        return;
    }
    D3DSURFACE_DESC desc = {};
    D3DCAPS9 caps = {};
    d3d->pDevice->GetDeviceCaps(&caps);
    if (!texture || FAILED(texture->GetLevelDesc(0, &desc)) || desc.Width == 0 ||
        desc.Height == 0 || desc.Width > caps.MaxTextureWidth || desc.Height > caps.MaxTextureHeight)
        abort();
    // Alpha maps live in the default pool, which cannot be locked.
    D3DLOCKED_RECT locked = {};
    if (!alphaMap && SUCCEEDED(texture->LockRect(0, &locked, nullptr, D3DLOCK_READONLY))) {
        volatile DWORD sum = 0;
        for (UINT y = 0; y < desc.Height; ++y) {
            const DWORD* row = reinterpret_cast<const DWORD*>(static_cast<const BYTE*>(locked.pBits) +
                                                              size_t(y) * locked.Pitch);
            for (UINT x = 0; x < desc.Width; ++x)
                sum = sum + row[x];
        }
        texture->UnlockRect(0);
    }
    texture->Release();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    meshfuzz::EnsureDevice();
    meshfuzz::WriteScratch("i.img", data, size);
    kvD3D* d3d = kvD3D::Installed();
    LoadOnce(d3d, false, 0);
    LoadOnce(d3d, false, 0xFF000000);
    LoadOnce(d3d, true, 0);
    return 0;
}
