// Internal: surfaces. Three kinds share the interface: a level of a texture (counted with
// its texture, as Direct3D's are), the device's back buffer (counted with the device),
// and off-screen plain surfaces (counted themselves, pixels in memory).
#ifndef VEXA_PLATFORM_D3D9_SURFACE_H
#define VEXA_PLATFORM_D3D9_SURFACE_H

#include <d3d9.h>

#include <vector>

namespace vexa::platform::d3d9 {

class Device;
class Texture;

class Surface final : public IDirect3DSurface9 {
public:
    enum class Kind { Level, BackBuffer, Plain };

    static Surface* ForLevel(Texture* texture, UINT level);
    static Surface* ForBackBuffer(Device* device);
    static HRESULT CreatePlain(Device* device, UINT width, UINT height, D3DFORMAT format,
                               D3DPOOL pool, IDirect3DSurface9** out);
    // Deletes a level or back-buffer surface with its owner.
    static void DeleteOwned(Surface* surface) { delete surface; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice9** ppDevice) override;
    DWORD STDMETHODCALLTYPE SetPriority(DWORD PriorityNew) override;
    DWORD STDMETHODCALLTYPE GetPriority() override;
    void STDMETHODCALLTYPE PreLoad() override {}
    D3DRESOURCETYPE STDMETHODCALLTYPE GetType() override { return D3DRTYPE_SURFACE; }
    HRESULT STDMETHODCALLTYPE GetDesc(D3DSURFACE_DESC* pDesc) override;
    HRESULT STDMETHODCALLTYPE LockRect(D3DLOCKED_RECT* pLockedRect, const RECT* pRect,
                                       DWORD Flags) override;
    HRESULT STDMETHODCALLTYPE UnlockRect() override;

    Kind GetKind() const { return kind_; }
    Texture* Container() const { return texture_; }
    UINT Level() const { return level_; }
    D3DSURFACE_DESC Desc() const;
    // Memory of a level or plain surface (null for the back buffer), and its pitch.
    BYTE* Bits();
    UINT Pitch() const;
    // Copies a rectangle as A8R8G8B8 words, top row first.
    void ReadArgb(const RECT& rect, DWORD* out);
    // Replaces a rectangle of a level or plain surface from A8R8G8B8 words.
    void WriteArgb(const RECT& rect, const DWORD* in);

private:
    Surface(Kind kind, Device* device, Texture* texture, UINT level);
    ~Surface();

    Kind kind_;
    Device* device_;
    Texture* texture_;
    UINT level_;
    // Plain surfaces only.
    ULONG references_ = 1;
    D3DSURFACE_DESC plain_ = {};
    UINT pitch_ = 0;
    std::vector<BYTE> bits_;
    bool locked_ = false;
};

Surface* AsSurface(IDirect3DSurface9* surface);

}  // namespace vexa::platform::d3d9

#endif
