// kvFont::InitFont: the atlas. GDI draws each printable byte white on black into a 32-bit
// DIB, left to right with a two-pixel gap, wrapping to a new row when the next glyph
// would not fit; the coverage then becomes the alpha of white A4R4G4B4 texels.
#include "kvFont.h"

#include <kvException.h>

#include <windows.h>

namespace {

constexpr WORD kLit = 0x0FFF;    // white; the coverage goes in the top nibble
constexpr WORD kShadow = 0xA000; // black at alpha 10/15

// Atlas edge the height asks for, before the device's limit.
DWORD RequestedEdge(int32_t fontHeight)
{
    if (fontHeight <= 30)
        return 256;
    if (fontHeight <= 60)
        return 512;
    return 1024;
}

// GDI objects of one atlas build; all of them go when the build ends, thrown or not.
struct GdiCanvas {
    HDC dc = nullptr;
    HBITMAP dib = nullptr;
    HFONT font = nullptr;
    const DWORD* pixels = nullptr;

    ~GdiCanvas()
    {
        if (dc)
            DeleteDC(dc);
        if (dib)
            DeleteObject(dib);
        if (font)
            DeleteObject(font);
    }
};

} // namespace

void kvFont::InitFont(DWORD fontHeight, int fontFlags, const char* face, bool shadow)
{
    RasterScale = 1.0f;
    height = int32_t(fontHeight);
    flags = fontFlags;
    if (pTexture) {
        pTexture->Release();
        pTexture = nullptr;
    }

    const DWORD requested = RequestedEdge(height);
    DWORD edge = requested;
    D3DCAPS9 caps = {};
    if (SUCCEEDED(pDevice->GetDeviceCaps(&caps)) && caps.MaxTextureWidth != 0 &&
        caps.MaxTextureWidth < requested) {
        edge = caps.MaxTextureWidth;
        RasterScale = float(edge) / float(requested);
    }
    TexWidth = TexHeight = edge;

    if (FAILED(pDevice->CreateTexture(edge, edge, 1, 0, D3DFMT_A4R4G4B4, D3DPOOL_MANAGED, &pTexture,
                                      nullptr))) {
        pTexture = nullptr;
        NewException("Failed to create fontTexture.", 0);
    }

    GdiCanvas canvas;
    canvas.dc = CreateCompatibleDC(nullptr);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = LONG(edge);
    info.bmiHeader.biHeight = -LONG(edge); // top-down: row 0 is the atlas's top row
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    if (canvas.dc)
        canvas.dib = CreateDIBSection(canvas.dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    canvas.pixels = static_cast<const DWORD*>(bits);
    if (!canvas.dib || !canvas.pixels)
        NewException("Failed to create font bitmap.", 0);

    // A negative height asks for the character height, without the internal leading.
    canvas.font = CreateFontA(-int(float(height) * RasterScale), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                              FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                              ANTIALIASED_QUALITY, VARIABLE_PITCH, face ? face : "");
    if (!canvas.font)
        NewException("Failed to create hFont.", 0);

    SelectObject(canvas.dc, canvas.dib);
    SelectObject(canvas.dc, canvas.font);
    SetTextColor(canvas.dc, RGB(255, 255, 255));
    SetBkColor(canvas.dc, 0);
    SetTextAlign(canvas.dc, TA_LEFT | TA_TOP);

    const float w = float(TexWidth);
    const float h = float(TexHeight);
    int x = 0, y = 0;
    for (int c = 0x20; c <= 0x7F; ++c) {
        const char glyph = char(c);
        SIZE size = {};
        GetTextExtentPoint32A(canvas.dc, &glyph, 1, &size);
        if (DWORD(x + size.cx + 2) > TexWidth) {
            x = 0;
            y += size.cy + 2;
        }
        ExtTextOutA(canvas.dc, x, y, ETO_OPAQUE, nullptr, &glyph, 1, nullptr);
        float* r = TexCoords[c];
        r[0] = float(x) / w;
        r[1] = float(y) / h;
        r[2] = float(x + size.cx) / w;
        r[3] = float(y + size.cy + 2) / h;
        // From the extent itself: (uR - uL) * width can land a hair under a whole pixel.
        Widths[c] = int32_t(float(size.cx) / RasterScale);
        if (c == 0x20)
            SpaceWidth = DWORD(size.cx);
        x += size.cx + 2;
    }

    D3DLOCKED_RECT locked = {};
    if (FAILED(pTexture->LockRect(0, &locked, nullptr, 0)))
        NewException("Failed to create fontTexture.", 0);
    ConvertCoverage(canvas.pixels, edge, edge, static_cast<BYTE*>(locked.pBits), locked.Pitch,
                    shadow);
    pTexture->UnlockRect(0);
}

void kvFont::ConvertCoverage(const DWORD* src, DWORD w, DWORD h, BYTE* dst, INT pitch, bool shadow)
{
    for (DWORD row = 0; row < h; ++row) {
        const DWORD* in = src + size_t(row) * w;
        const DWORD* above = row > 0 ? in - w : nullptr;
        WORD* out = reinterpret_cast<WORD*>(dst + size_t(row) * size_t(pitch));
        for (DWORD col = 0; col < w; ++col) {
            // The upper nibble of blue: white text makes all three channels alike.
            const WORD a = WORD((in[col] >> 4) & 0xF);
            if (a != 0)
                out[col] = WORD((a << 12) | kLit);
            else if (shadow && col > 0 && above && (above[col - 1] & 0xFF) != 0)
                out[col] = kShadow;
            else
                out[col] = 0;
        }
    }
}
