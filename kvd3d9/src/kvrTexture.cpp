// kvrTexture: the file behind a texture, and loading it through the backend.
#include "kvrTexture.h"

#include "kvD3D.h"

#include <kvException.h>
#include <kvSystem.h>

#include <cstring>
#include <string>

namespace {
char* CopyInPath(const char* name)
{
    const std::string path = std::string(kvPath) + (name ? name : "");
    char* copy = new char[path.size() + 1];
    std::memcpy(copy, path.c_str(), path.size() + 1);
    return copy;
}
}  // namespace

kvrTexture::kvrTexture(const char* name) : texture(nullptr), fileName(CopyInPath(name)) {}

kvrTexture::kvrTexture(IDirect3DTexture9* existing) : texture(existing), fileName(nullptr) {}

kvrTexture::~kvrTexture()
{
    delete[] fileName;
}

void kvrTexture::ChangeFileName(const char* name)
{
    char* path = CopyInPath(name);
    delete[] fileName;
    fileName = path;
}

void kvrTexture::Load()
{
    if (!fileName)
        return;
    kvD3D* d3d = kvD3D::Installed();
    if (!d3d)
        NewExceptionf(KVEXCEPTION_GENERAL, "Failed to load image : %s.", fileName);
    // A texture loaded twice without a release in between would leak the first.
    if (texture) {
        texture->Release();
        texture = nullptr;
    }
    texture = d3d->LoadImage(fileName, false, 0);
}

void kvrTexture::Release()
{
    if (fileName && texture) {
        texture->Release();
        texture = nullptr;
    }
}
