// kvCFont: drawing and measuring mixed single- and double-byte text. Single-byte glyphs go
// to the atlas's buffer, double-byte ones to the cache's; one draw call each.
#include "kvCFont.h"

#include <kvD3D.h>

namespace {

struct GlyphVertex {
    float x, y, z, rhw;
    DWORD colour;
    float u, v;
};

// The six vertices of a quad, two triangles, in the order kvFont writes them.
GlyphVertex* PutQuad(GlyphVertex* v, float x, float y, float w, float h, const float* r,
                     DWORD colour)
{
    v[0] = {x, y + h, 0.0f, 1.0f, colour, r[0], r[3]};
    v[1] = {x, y, 0.0f, 1.0f, colour, r[0], r[1]};
    v[2] = {x + w, y + h, 0.0f, 1.0f, colour, r[2], r[3]};
    v[3] = {x + w, y, 0.0f, 1.0f, colour, r[2], r[1]};
    v[4] = {x + w, y + h, 0.0f, 1.0f, colour, r[2], r[3]};
    v[5] = {x, y, 0.0f, 1.0f, colour, r[0], r[1]};
    return v + 6;
}

bool IsDoubleByte(const unsigned char* p)
{
    return p[0] >= 0xA1 && p[1] >= 0xA1;
}

} // namespace

int kvCFont::GetWidth(const char* text)
{
    int width = 0;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    while (p && *p && *p != 10) {
        if (*p <= 0x7F) {
            width += Widths[*p];
            ++p;
        } else if (IsDoubleByte(p)) {
            width += height;
            p += 2;
        } else {
            ++p;
        }
    }
    return width;
}

int kvCFont::GetWidthW(const WCHAR* text)
{
    int width = 0;
    for (const WCHAR* p = text; p && *p && *p != 10; ++p) {
        if (*p <= 0x7F)
            width += Widths[*p];
        else if (*p >= 0x100)
            width += height;
    }
    return width;
}

void kvCFont::DrawTextExA(int x, int y, DWORD textColour, const char* text, float scale)
{
    if (kvD3D* d3d = kvD3D::Installed()) {
        x += d3d->ViewX;
        y += d3d->ViewY;
    }
    void* single = nullptr;
    void* dual = nullptr;
    if (FAILED(pCacheVB->Lock(0, 0, &dual, D3DLOCK_DISCARD)))
        return;
    if (FAILED(pVB->Lock(0, 0, &single, D3DLOCK_DISCARD))) {
        pCacheVB->Unlock();
        return;
    }
    auto* sv = static_cast<GlyphVertex*>(single);
    auto* dv = static_cast<GlyphVertex*>(dual);
    UINT singles = 0, duals = 0;

    const float k = scale / RasterScale;
    const char* start = text ? text : "";
    float penX = LineStart(float(x), start, scale);
    float penY = float(y);
    if (flags & 8)
        penY -= scale * float(height);
    const unsigned char* p = reinterpret_cast<const unsigned char*>(start);
    while (*p) {
        const unsigned char b = *p;
        if (b == 10) {
            penX = LineStart(float(x), reinterpret_cast<const char*>(p + 1), scale);
            // Lines step by the nominal height: the smaller raster has no say in it.
            penY += scale * float(height + 1);
            ++p;
        } else if (b == 32) {
            penX += k * float(SpaceWidth);
            ++p;
        } else if (b <= 0x7F) {
            // Pre: the buffer holds kMaxQuads glyphs; further ones are cut.
            const float* r = TexCoords[b];
            const float w = k * (r[2] - r[0]) * float(TexWidth);
            if (singles < kMaxQuads) {
                const float h = k * (r[3] - r[1]) * float(TexHeight);
                sv = PutQuad(sv, penX, penY, w, h, r, textColour);
                ++singles;
            }
            penX += w;
            ++p;
        } else if (!IsDoubleByte(p)) {
            // A stray byte: skipped alone, the next one read afresh.
            ++p;
        } else {
            // Without InitFont there is no cache to draw from.
            if (duals < kMaxQuads && SlotCount > 0) {
                const float* r = CellCoords[FindSlot(DWORD(b) * 256 + p[1])];
                const float w = k * (r[2] - r[0]) * float(CacheWidth);
                const float h = k * (r[3] - r[1]) * float(CacheHeight);
                dv = PutQuad(dv, penX, penY, w, h, r, textColour);
                ++duals;
            }
            penX += k * float(CellEdge);
            p += 2;
        }
    }
    pVB->Unlock();
    pCacheVB->Unlock();

    for (DWORD s = 0; s < SlotCount; ++s)
        if (Slots[s].usage > 0)
            --Slots[s].usage;

    if (sbDrawText)
        sbDrawText->Apply();
    const DWORD filter = scale == 1.0f ? D3DTEXF_POINT : D3DTEXF_LINEAR;
    pDevice->SetSamplerState(0, D3DSAMP_MINFILTER, filter);
    pDevice->SetSamplerState(0, D3DSAMP_MAGFILTER, filter);
    pDevice->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_NONE);
    pDevice->SetFVF(KVFONT_FVF);
    if (singles > 0) {
        pDevice->SetStreamSource(0, pVB, 0, kVertexSize);
        pDevice->SetTexture(0, pTexture);
        pDevice->DrawPrimitive(D3DPT_TRIANGLELIST, 0, singles * 2);
    }
    if (duals > 0) {
        pDevice->SetStreamSource(0, pCacheVB, 0, kVertexSize);
        pDevice->SetTexture(0, pCacheTexture);
        pDevice->DrawPrimitive(D3DPT_TRIANGLELIST, 0, duals * 2);
    }
}
