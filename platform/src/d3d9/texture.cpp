// Textures: levels in memory in Direct3D's layout, mirrored into an OpenGL texture.
#include "texture.h"

#include "device.h"
#include "gl_context.h"
#include "surface.h"

#include <algorithm>
#include <new>

namespace vexa::platform::d3d9 {

namespace {

bool ValidRect(const RECT& r, UINT width, UINT height)
{
    return r.left >= 0 && r.top >= 0 && r.left < r.right && r.top < r.bottom &&
           UINT(r.right) <= width && UINT(r.bottom) <= height;
}

}  // namespace

Texture* AsTexture(IDirect3DBaseTexture9* texture)
{
    return dynamic_cast<Texture*>(texture);
}

HRESULT Texture::Create(Device* device, UINT width, UINT height, UINT levels, DWORD usage,
                        D3DFORMAT format, D3DPOOL pool, IDirect3DTexture9** out)
{
    if (!out)
        return D3DERR_INVALIDCALL;
    *out = nullptr;
    const TextureFormat* f = FindTextureFormat(format);
    const UINT maxEdge = device->Caps().MaxTextureWidth;
    if (!f || width == 0 || height == 0 || width > maxEdge || height > maxEdge ||
        pool == D3DPOOL_SCRATCH || pool > D3DPOOL_SCRATCH ||
        (usage & ~(D3DUSAGE_DYNAMIC | D3DUSAGE_AUTOGENMIPMAP)) != 0 ||
        ((usage & D3DUSAGE_DYNAMIC) && pool == D3DPOOL_MANAGED))
        return D3DERR_INVALIDCALL;
    UINT full = 1;
    for (UINT edge = std::max(width, height); edge > 1; edge >>= 1)
        ++full;
    if (levels == 0 || levels > full)
        levels = levels == 0 ? full : 0;
    if (levels == 0)
        return D3DERR_INVALIDCALL;

    Texture* texture = new (std::nothrow) Texture(device, pool, f, usage);
    if (!texture)
        return E_OUTOFMEMORY;
    try {
        texture->levels_.resize(levels);
        texture->surfaces_.assign(levels, nullptr);
        for (UINT i = 0; i < levels; ++i) {
            TextureLevel& level = texture->levels_[i];
            level.width = std::max(width >> i, 1u);
            level.height = std::max(height >> i, 1u);
            level.pitch = PitchOf(format, level.width);
            level.bits.assign(size_t(level.pitch) * level.height, 0);
        }
    } catch (const std::bad_alloc&) {
        texture->Release();
        return E_OUTOFMEMORY;
    }
    if (pool != D3DPOOL_SYSTEMMEM) {
        device->MakeCurrent();
        glGenTextures(1, &texture->texture_);
        device->Gl().BindTexture(0, texture->texture_);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, GLint(levels - 1));
        glTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_RGBA, f->swizzle);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        for (UINT i = 0; i < levels; ++i) {
            const TextureLevel& level = texture->levels_[i];
            glPixelStorei(GL_UNPACK_ROW_LENGTH, GLint(level.pitch / f->bytes));
            glTexImage2D(GL_TEXTURE_2D, GLint(i), GLint(f->internal), GLsizei(level.width),
                         GLsizei(level.height), 0, f->upload, f->type, level.bits.data());
        }
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
        if (glGetError() != GL_NO_ERROR) {
            texture->Release();
            return D3DERR_OUTOFVIDEOMEMORY;
        }
    }
    *out = texture;
    return D3D_OK;
}

Texture::Texture(Device* device, D3DPOOL pool, const TextureFormat* format, DWORD usage)
    : Resource(device, pool), format_(format), usage_(usage)
{
}

Texture::~Texture()
{
    for (Surface* s : surfaces_)
        Surface::DeleteOwned(s);
    if (texture_) {
        device_->MakeCurrent();
        glDeleteTextures(1, &texture_);
        device_->Gl().Forget(texture_, 0);
    }
}

bool Texture::Implements(REFIID riid) const
{
    return riid == IID_IDirect3DResource9 || riid == IID_IDirect3DBaseTexture9 ||
           riid == IID_IDirect3DTexture9;
}

HRESULT Texture::GetLevelDesc(UINT Level, D3DSURFACE_DESC* pDesc)
{
    if (Level >= levels_.size() || !pDesc)
        return D3DERR_INVALIDCALL;
    *pDesc = D3DSURFACE_DESC{format_->format, D3DRTYPE_SURFACE, usage_, pool_,
                             D3DMULTISAMPLE_NONE, 0, levels_[Level].width, levels_[Level].height};
    return D3D_OK;
}

HRESULT Texture::GetSurfaceLevel(UINT Level, IDirect3DSurface9** ppSurface)
{
    if (!ppSurface)
        return D3DERR_INVALIDCALL;
    *ppSurface = nullptr;
    if (Level >= levels_.size())
        return D3DERR_INVALIDCALL;
    if (!surfaces_[Level])
        surfaces_[Level] = Surface::ForLevel(this, Level);
    if (!surfaces_[Level])
        return E_OUTOFMEMORY;
    *ppSurface = surfaces_[Level];
    AddRef();
    return D3D_OK;
}

HRESULT Texture::LockRect(UINT Level, D3DLOCKED_RECT* pLockedRect, const RECT* pRect, DWORD Flags)
{
    if (Level >= levels_.size() || !pLockedRect)
        return D3DERR_INVALIDCALL;
    // Only dynamic textures of the default pool can be locked.
    if (pool_ == D3DPOOL_DEFAULT && !(usage_ & D3DUSAGE_DYNAMIC))
        return D3DERR_INVALIDCALL;
    TextureLevel& level = levels_[Level];
    RECT rect = pRect ? *pRect : RECT{0, 0, LONG(level.width), LONG(level.height)};
    if (level.locked || !ValidRect(rect, level.width, level.height))
        return D3DERR_INVALIDCALL;
    level.locked = true;
    level.lockRect = rect;
    level.lockFlags = Flags;
    pLockedRect->Pitch = INT(level.pitch);
    pLockedRect->pBits =
        level.bits.data() + size_t(rect.top) * level.pitch + size_t(rect.left) * format_->bytes;
    return D3D_OK;
}

HRESULT Texture::UnlockRect(UINT Level)
{
    if (Level >= levels_.size() || !levels_[Level].locked)
        return D3DERR_INVALIDCALL;
    TextureLevel& level = levels_[Level];
    level.locked = false;
    if (!(level.lockFlags & D3DLOCK_READONLY)) {
        if (!(level.lockFlags & D3DLOCK_NO_DIRTY_UPDATE))
            dirty_ = true;
        Upload(Level, level.lockRect);
    }
    return D3D_OK;
}

HRESULT Texture::AddDirtyRect(const RECT* pDirtyRect)
{
    if (pDirtyRect && !ValidRect(*pDirtyRect, levels_[0].width, levels_[0].height))
        return D3DERR_INVALIDCALL;
    dirty_ = true;
    return D3D_OK;
}

void Texture::Upload(UINT levelIndex, const RECT& rect)
{
    if (!texture_)
        return;
    const TextureLevel& level = levels_[levelIndex];
    device_->MakeCurrent();
    device_->Gl().BindTexture(0, texture_);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, GLint(level.pitch / format_->bytes));
    const BYTE* start =
        level.bits.data() + size_t(rect.top) * level.pitch + size_t(rect.left) * format_->bytes;
    glTexSubImage2D(GL_TEXTURE_2D, GLint(levelIndex), rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, format_->upload, format_->type, start);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
}

}  // namespace vexa::platform::d3d9
