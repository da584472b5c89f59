// Internal: 2D textures. Every level keeps its pixels in Direct3D's layout in memory, so
// LockRect hands out D3D's own bytes and pitch; Unlock sends the locked rectangle to the
// OpenGL texture. System-memory textures have no OpenGL texture; they only feed
// UpdateTexture.
#ifndef VEXA_PLATFORM_D3D9_TEXTURE_H
#define VEXA_PLATFORM_D3D9_TEXTURE_H

#include "formats.h"
#include "resource.h"

#include <vector>

namespace vexa::platform::d3d9 {

class Surface;

struct TextureLevel {
    UINT width = 0;
    UINT height = 0;
    UINT pitch = 0;
    std::vector<BYTE> bits;
    bool locked = false;
    RECT lockRect = {};
    DWORD lockFlags = 0;
};

class Texture final : public Resource<IDirect3DTexture9> {
public:
    static HRESULT Create(Device* device, UINT width, UINT height, UINT levels, DWORD usage,
                          D3DFORMAT format, D3DPOOL pool, IDirect3DTexture9** out);

    D3DRESOURCETYPE STDMETHODCALLTYPE GetType() override { return D3DRTYPE_TEXTURE; }
    DWORD STDMETHODCALLTYPE GetLevelCount() override { return DWORD(levels_.size()); }
    HRESULT STDMETHODCALLTYPE GetLevelDesc(UINT Level, D3DSURFACE_DESC* pDesc) override;
    HRESULT STDMETHODCALLTYPE GetSurfaceLevel(UINT Level, IDirect3DSurface9** ppSurface) override;
    HRESULT STDMETHODCALLTYPE LockRect(UINT Level, D3DLOCKED_RECT* pLockedRect, const RECT* pRect,
                                       DWORD Flags) override;
    HRESULT STDMETHODCALLTYPE UnlockRect(UINT Level) override;
    HRESULT STDMETHODCALLTYPE AddDirtyRect(const RECT* pDirtyRect) override;

    GLuint Gl() const { return texture_; }
    D3DFORMAT Format() const { return format_->format; }
    DWORD Usage() const { return usage_; }
    TextureLevel& LevelAt(UINT level) { return levels_[level]; }
    // Sends a rectangle of a level's memory to OpenGL (nothing for system memory).
    void Upload(UINT level, const RECT& rect);
    bool Dirty() const { return dirty_; }
    void SetDirty(bool dirty) { dirty_ = dirty; }

protected:
    bool Implements(REFIID riid) const override;

private:
    Texture(Device* device, D3DPOOL pool, const TextureFormat* format, DWORD usage);
    ~Texture() override;

    const TextureFormat* format_;
    DWORD usage_;
    std::vector<TextureLevel> levels_;
    std::vector<Surface*> surfaces_;
    GLuint texture_ = 0;
    // A new texture counts as wholly dirty, as Direct3D's do.
    bool dirty_ = true;
};

// Our texture behind an interface, or null for anything else.
Texture* AsTexture(IDirect3DBaseTexture9* texture);

}  // namespace vexa::platform::d3d9

#endif
