// Surfaces: texture levels, the back buffer and off-screen plain surfaces.
#include "surface.h"

#include "device.h"
#include "formats.h"
#include "texture.h"

#include <new>

namespace vexa::platform::d3d9 {

Surface* AsSurface(IDirect3DSurface9* surface) { return dynamic_cast<Surface*>(surface); }

Surface::Surface(Kind kind, Device* device, Texture* texture, UINT level)
    : kind_(kind), device_(device), texture_(texture), level_(level)
{
}

Surface::~Surface() = default;

Surface* Surface::ForLevel(Texture* texture, UINT level)
{
    return new (std::nothrow) Surface(Kind::Level, texture->Owner(), texture, level);
}

Surface* Surface::ForBackBuffer(Device* device)
{
    return new (std::nothrow) Surface(Kind::BackBuffer, device, nullptr, 0);
}

HRESULT Surface::CreatePlain(Device* device, UINT width, UINT height, D3DFORMAT format,
                             D3DPOOL pool, IDirect3DSurface9** out)
{
    if (!out)
        return D3DERR_INVALIDCALL;
    *out = nullptr;
    if (width == 0 || height == 0 || width > 16384 || height > 16384 ||
        !FindTextureFormat(format) || pool == D3DPOOL_MANAGED || pool > D3DPOOL_SCRATCH)
        return D3DERR_INVALIDCALL;
    Surface* s = new (std::nothrow) Surface(Kind::Plain, device, nullptr, 0);
    if (!s)
        return E_OUTOFMEMORY;
    try {
        s->pitch_ = PitchOf(format, width);
        s->bits_.assign(size_t(s->pitch_) * height, 0);
    } catch (const std::bad_alloc&) {
        delete s;
        return E_OUTOFMEMORY;
    }
    s->plain_ = D3DSURFACE_DESC{format, D3DRTYPE_SURFACE, 0, pool, D3DMULTISAMPLE_NONE, 0,
                                width, height};
    DeviceAddRef(device);
    if (pool == D3DPOOL_DEFAULT)
        CountDefaultObject(device, 1);
    *out = s;
    return D3D_OK;
}

HRESULT Surface::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDirect3DResource9 || riid == IID_IDirect3DSurface9) {
        *ppv = static_cast<IDirect3DSurface9*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG Surface::AddRef()
{
    switch (kind_) {
    case Kind::Level:
        return texture_->AddRef();
    case Kind::BackBuffer:
        return device_->AddRef();
    default:
        return ++references_;
    }
}

ULONG Surface::Release()
{
    switch (kind_) {
    case Kind::Level:
        return texture_->Release();
    case Kind::BackBuffer:
        return device_->Release();
    default:
        break;
    }
    if (references_ == 0)
        return 0;
    const ULONG left = --references_;
    if (left == 0) {
        Device* device = device_;
        if (plain_.Pool == D3DPOOL_DEFAULT)
            CountDefaultObject(device, -1);
        delete this;
        DeviceRelease(device);
    }
    return left;
}

HRESULT Surface::GetDevice(IDirect3DDevice9** ppDevice)
{
    if (!ppDevice)
        return D3DERR_INVALIDCALL;
    *ppDevice = device_;
    device_->AddRef();
    return D3D_OK;
}

DWORD Surface::SetPriority(DWORD) { return 0; }
DWORD Surface::GetPriority() { return 0; }

D3DSURFACE_DESC Surface::Desc() const
{
    D3DSURFACE_DESC desc = plain_;
    if (kind_ == Kind::Level)
        texture_->GetLevelDesc(level_, &desc);
    else if (kind_ == Kind::BackBuffer)
        desc = D3DSURFACE_DESC{device_->BackBufferFormat(), D3DRTYPE_SURFACE,
                               D3DUSAGE_RENDERTARGET, D3DPOOL_DEFAULT, D3DMULTISAMPLE_NONE, 0,
                               device_->BackBufferWidth(), device_->BackBufferHeight()};
    return desc;
}

HRESULT Surface::GetDesc(D3DSURFACE_DESC* pDesc)
{
    if (!pDesc)
        return D3DERR_INVALIDCALL;
    *pDesc = Desc();
    return D3D_OK;
}

BYTE* Surface::Bits()
{
    if (kind_ == Kind::Level)
        return texture_->LevelAt(level_).bits.data();
    return kind_ == Kind::Plain ? bits_.data() : nullptr;
}

UINT Surface::Pitch() const
{
    return kind_ == Kind::Level ? texture_->LevelAt(level_).pitch : pitch_;
}

HRESULT Surface::LockRect(D3DLOCKED_RECT* pLockedRect, const RECT* pRect, DWORD Flags)
{
    if (kind_ == Kind::Level)
        return texture_->LockRect(level_, pLockedRect, pRect, Flags);
    // The back buffer lives in OpenGL: it is read through GetRenderTargetData, never locked.
    if (kind_ == Kind::BackBuffer || !pLockedRect || locked_)
        return D3DERR_INVALIDCALL;
    RECT r = pRect ? *pRect : RECT{0, 0, LONG(plain_.Width), LONG(plain_.Height)};
    if (r.left < 0 || r.top < 0 || r.left >= r.right || r.top >= r.bottom ||
        UINT(r.right) > plain_.Width || UINT(r.bottom) > plain_.Height)
        return D3DERR_INVALIDCALL;
    locked_ = true;
    pLockedRect->Pitch = INT(pitch_);
    pLockedRect->pBits =
        bits_.data() + size_t(r.top) * pitch_ + size_t(r.left) * BytesPerPixel(plain_.Format);
    return D3D_OK;
}

HRESULT Surface::UnlockRect()
{
    if (kind_ == Kind::Level)
        return texture_->UnlockRect(level_);
    if (kind_ == Kind::BackBuffer || !locked_)
        return D3DERR_INVALIDCALL;
    locked_ = false;
    return D3D_OK;
}

void Surface::ReadArgb(const RECT& rect, DWORD* out)
{
    if (kind_ == Kind::BackBuffer) {
        device_->ReadBackBuffer(rect, out);
        return;
    }
    const D3DFORMAT format = Desc().Format;
    const UINT bpp = BytesPerPixel(format);
    const BYTE* bits = Bits();
    const UINT pitch = Pitch();
    for (LONG y = rect.top; y < rect.bottom; ++y)
        for (LONG x = rect.left; x < rect.right; ++x)
            *out++ = d3d9::ReadArgb(format, bits + size_t(y) * pitch + size_t(x) * bpp);
}

void Surface::WriteArgb(const RECT& rect, const DWORD* in)
{
    const D3DFORMAT format = Desc().Format;
    const UINT bpp = BytesPerPixel(format);
    BYTE* bits = Bits();
    const UINT pitch = Pitch();
    if (!bits)
        return;
    for (LONG y = rect.top; y < rect.bottom; ++y)
        for (LONG x = rect.left; x < rect.right; ++x)
            d3d9::WriteArgb(format, *in++, bits + size_t(y) * pitch + size_t(x) * bpp);
    if (kind_ == Kind::Level) {
        texture_->SetDirty(true);
        texture_->Upload(level_, rect);
    }
}

}  // namespace vexa::platform::d3d9
