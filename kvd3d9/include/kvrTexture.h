// kvrTexture: a texture resource. A named one remembers its image file and drops and
// reloads its device texture with the registry; a wrapped one only carries a texture
// someone else made.
#ifndef KVD3D9_KVRTEXTURE_H
#define KVD3D9_KVRTEXTURE_H

#include <d3d9.h>

#include <kvResource.h>

class kvrTexture : public kvResource {
public:
    IDirect3DTexture9* texture;  // null while not loaded
    char* fileName;              // full path; null for a wrapped texture

    // Captures kvPath + name now; nothing is loaded.
    explicit kvrTexture(const char* name);
    explicit kvrTexture(IDirect3DTexture9* existing);
    // Frees the path; the texture is the registry's to release.
    ~kvrTexture() override;

    void ChangeFileName(const char* name);
    // Pre: kvgi is a kvD3D and kvPath is empty (kvResourceLoad sees to it).
    void Load() override;
    void Release() override;
    void* GetPtr() override { return texture; }
    IDirect3DTexture9* Get() const { return texture; }

    kvrTexture(const kvrTexture&) = delete;
    kvrTexture& operator=(const kvrTexture&) = delete;
};

#endif
