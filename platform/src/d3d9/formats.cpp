// The format table: every texture format maps to an OpenGL upload that reads Direct3D's
// little-endian pixel words as they are, so LockRect hands out D3D's own layout.
#include "formats.h"

namespace vexa::platform::d3d9 {

namespace {

const TextureFormat kTextureFormats[] = {
    // ARGB words in memory are B, G, R, A bytes: BGRA read as reversed 8-bit components.
    {D3DFMT_A8R8G8B8, 4, GL_RGBA8, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV,
     {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA}},
    {D3DFMT_X8R8G8B8, 4, GL_RGBA8, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV,
     {GL_RED, GL_GREEN, GL_BLUE, GL_ONE}},
    // 0xARGB: reversed packing puts the first component (B) in the low nibble.
    {D3DFMT_A4R4G4B4, 2, GL_RGBA4, GL_BGRA, GL_UNSIGNED_SHORT_4_4_4_4_REV,
     {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA}},
    {D3DFMT_X4R4G4B4, 2, GL_RGBA4, GL_BGRA, GL_UNSIGNED_SHORT_4_4_4_4_REV,
     {GL_RED, GL_GREEN, GL_BLUE, GL_ONE}},
    // Forward packing puts the first component (R) in the high bits, as R5G6B5 does.
    {D3DFMT_R5G6B5, 2, GL_RGB8, GL_RGB, GL_UNSIGNED_SHORT_5_6_5,
     {GL_RED, GL_GREEN, GL_BLUE, GL_ONE}},
    {D3DFMT_A1R5G5B5, 2, GL_RGB5_A1, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV,
     {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA}},
    {D3DFMT_X1R5G5B5, 2, GL_RGB5_A1, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV,
     {GL_RED, GL_GREEN, GL_BLUE, GL_ONE}},
    {D3DFMT_A8, 1, GL_R8, GL_RED, GL_UNSIGNED_BYTE, {GL_ZERO, GL_ZERO, GL_ZERO, GL_RED}},
    {D3DFMT_L8, 1, GL_R8, GL_RED, GL_UNSIGNED_BYTE, {GL_RED, GL_RED, GL_RED, GL_ONE}},
};

// Expands an n-bit channel to 8 bits the way hardware does (bit replication).
DWORD Expand(DWORD value, int bits)
{
    if (bits == 8)
        return value;
    DWORD v = value << (8 - bits);
    return v | (v >> bits);
}

DWORD Narrow(DWORD value8, int bits) { return (value8 * ((1u << bits) - 1) + 127) / 255; }

}  // namespace

const TextureFormat* FindTextureFormat(D3DFORMAT format)
{
    for (const TextureFormat& f : kTextureFormats)
        if (f.format == format)
            return &f;
    return nullptr;
}

UINT BytesPerPixel(D3DFORMAT format)
{
    switch (format) {
    case D3DFMT_A8R8G8B8:
    case D3DFMT_X8R8G8B8:
    case D3DFMT_A8B8G8R8:
    case D3DFMT_X8B8G8R8:
    case D3DFMT_A2B10G10R10:
    case D3DFMT_A2R10G10B10:
    case D3DFMT_G16R16:
        return 4;
    case D3DFMT_R8G8B8:
        return 3;
    case D3DFMT_R5G6B5:
    case D3DFMT_X1R5G5B5:
    case D3DFMT_A1R5G5B5:
    case D3DFMT_A4R4G4B4:
    case D3DFMT_X4R4G4B4:
    case D3DFMT_A8R3G3B2:
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

UINT PitchOf(D3DFORMAT format, UINT width) { return (width * BytesPerPixel(format) + 3) & ~3u; }

DWORD ReadArgb(D3DFORMAT format, const BYTE* p)
{
    const DWORD w16 = DWORD(p[0]) | (DWORD(p[1]) << 8);
    switch (format) {
    case D3DFMT_A8R8G8B8:
        return DWORD(p[0]) | (DWORD(p[1]) << 8) | (DWORD(p[2]) << 16) | (DWORD(p[3]) << 24);
    case D3DFMT_X8R8G8B8:
        return DWORD(p[0]) | (DWORD(p[1]) << 8) | (DWORD(p[2]) << 16) | 0xFF000000u;
    case D3DFMT_A4R4G4B4:
    case D3DFMT_X4R4G4B4: {
        DWORD a = format == D3DFMT_A4R4G4B4 ? Expand(w16 >> 12, 4) : 0xFF;
        return (a << 24) | (Expand((w16 >> 8) & 15, 4) << 16) | (Expand((w16 >> 4) & 15, 4) << 8) |
               Expand(w16 & 15, 4);
    }
    case D3DFMT_R5G6B5:
        return 0xFF000000u | (Expand(w16 >> 11, 5) << 16) | (Expand((w16 >> 5) & 63, 6) << 8) |
               Expand(w16 & 31, 5);
    case D3DFMT_A1R5G5B5:
    case D3DFMT_X1R5G5B5: {
        DWORD a = format == D3DFMT_X1R5G5B5 || (w16 & 0x8000) ? 0xFF : 0;
        return (a << 24) | (Expand((w16 >> 10) & 31, 5) << 16) |
               (Expand((w16 >> 5) & 31, 5) << 8) | Expand(w16 & 31, 5);
    }
    case D3DFMT_A8:
        return DWORD(p[0]) << 24;
    case D3DFMT_L8:
        return 0xFF000000u | (DWORD(p[0]) * 0x010101u);
    default:
        return 0;
    }
}

void WriteArgb(D3DFORMAT format, DWORD argb, BYTE* p)
{
    const DWORD a = argb >> 24, r = (argb >> 16) & 255, g = (argb >> 8) & 255, b = argb & 255;
    DWORD w16 = 0;
    switch (format) {
    case D3DFMT_A8R8G8B8:
    case D3DFMT_X8R8G8B8:
        p[0] = BYTE(b), p[1] = BYTE(g), p[2] = BYTE(r);
        p[3] = BYTE(format == D3DFMT_A8R8G8B8 ? a : 0xFF);
        return;
    case D3DFMT_A4R4G4B4:
    case D3DFMT_X4R4G4B4:
        w16 = ((format == D3DFMT_A4R4G4B4 ? Narrow(a, 4) : 15) << 12) | (Narrow(r, 4) << 8) |
              (Narrow(g, 4) << 4) | Narrow(b, 4);
        break;
    case D3DFMT_R5G6B5:
        w16 = (Narrow(r, 5) << 11) | (Narrow(g, 6) << 5) | Narrow(b, 5);
        break;
    case D3DFMT_A1R5G5B5:
    case D3DFMT_X1R5G5B5:
        w16 = ((format == D3DFMT_X1R5G5B5 || a >= 128) ? 0x8000 : 0) | (Narrow(r, 5) << 10) |
              (Narrow(g, 5) << 5) | Narrow(b, 5);
        break;
    case D3DFMT_A8:
        p[0] = BYTE(a);
        return;
    case D3DFMT_L8:
        p[0] = BYTE((r * 77 + g * 150 + b * 29 + 128) >> 8);
        return;
    default:
        return;
    }
    p[0] = BYTE(w16), p[1] = BYTE(w16 >> 8);
}

GLenum ColorBufferStorage(D3DFORMAT format)
{
    switch (format) {
    case D3DFMT_A8R8G8B8:
    case D3DFMT_X8R8G8B8:
        return GL_RGBA8;
    case D3DFMT_R5G6B5:
        return GL_RGB565;
    case D3DFMT_X1R5G5B5:
    case D3DFMT_A1R5G5B5:
        return GL_RGB5_A1;
    default:
        return 0;
    }
}

GLenum DepthBufferStorage(D3DFORMAT format)
{
    switch (format) {
    case D3DFMT_D16:
        return GL_DEPTH_COMPONENT16;
    case D3DFMT_D24X8:
        return GL_DEPTH_COMPONENT24;
    case D3DFMT_D24S8:
        return GL_DEPTH24_STENCIL8;
    case D3DFMT_D32:
        return GL_DEPTH_COMPONENT32;
    default:
        return 0;  // D15S1 and D24X4S4 have no OpenGL storage with those exact bits
    }
}

bool HasStencil(D3DFORMAT format) { return format == D3DFMT_D24S8; }

}  // namespace vexa::platform::d3d9
