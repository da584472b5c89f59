// Internal: the pixel formats the Direct3D layer stores, how each goes to OpenGL, and
// conversion of single pixels to and from A8R8G8B8 for D3DX and read-backs.
#ifndef VEXA_PLATFORM_D3D9_FORMATS_H
#define VEXA_PLATFORM_D3D9_FORMATS_H

#include <d3d9.h>

#include <epoxy/gl.h>

namespace vexa::platform::d3d9 {

struct TextureFormat {
    D3DFORMAT format;
    UINT bytes;           // per pixel, as LockRect lays them out
    GLenum internal;      // OpenGL's storage
    GLenum upload;        // the client format and type that read D3D's bytes unchanged
    GLenum type;
    GLint swizzle[4];     // X formats read alpha as one; A8 and L8 replicate their channel
};

// Null for a format no texture can have.
const TextureFormat* FindTextureFormat(D3DFORMAT format);
// Bytes per pixel of any colour format D3D stores, 0 for compressed, depth and unknown ones.
UINT BytesPerPixel(D3DFORMAT format);
// Row pitch LockRect reports: whole pixels, rounded up to four bytes.
UINT PitchOf(D3DFORMAT format, UINT width);

// The pixel at p as A8R8G8B8 (alpha 0xFF for formats without alpha).
DWORD ReadArgb(D3DFORMAT format, const BYTE* p);
// Stores an A8R8G8B8 colour at p, rounded to the format's channel widths.
void WriteArgb(D3DFORMAT format, DWORD argb, BYTE* p);

// Back-buffer and depth formats the device can render into, with their OpenGL storage.
GLenum ColorBufferStorage(D3DFORMAT format);   // 0: not a render target format
GLenum DepthBufferStorage(D3DFORMAT format);   // 0: not a depth format we can give
bool HasStencil(D3DFORMAT format);

}  // namespace vexa::platform::d3d9

#endif
