// Internal: image files read into A8R8G8B8 pixels, through stb_image.
#ifndef VEXA_PLATFORM_D3DX9_IMAGE_FILE_H
#define VEXA_PLATFORM_D3DX9_IMAGE_FILE_H

#include <d3dx9tex.h>

#include <vector>

namespace vexa::platform::d3dx9 {

struct Image {
    D3DXIMAGE_INFO info = {};
    std::vector<DWORD> argb;  // Width x Height, top row first
};

// D3D_OK, D3DXERR_INVALIDDATA (missing, unreadable or corrupt file, unknown format) or
// E_OUTOFMEMORY (an image too large to hold). Paths take either separator.
HRESULT ReadImageFile(const char* path, Image* image, bool infoOnly = false);

}  // namespace vexa::platform::d3dx9

#endif
