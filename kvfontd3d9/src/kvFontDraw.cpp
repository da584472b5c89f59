// kvFont::DrawTextExA: the text becomes screen-space quads in one discard-locked buffer
// and one draw call; spaces and newlines only move the pen.
#include "kvFont.h"

#include <kvD3D.h>

#include <cstring>

namespace {

struct GlyphVertex {
    float x, y, z, rhw;
    DWORD colour;
    float u, v;
};
static_assert(sizeof(GlyphVertex) == kvFont::kVertexSize, "the buffer's stride");

GlyphVertex* Put(GlyphVertex* v, float x, float y, DWORD colour, float u, float tv)
{
    *v = {x, y, 0.0f, 1.0f, colour, u, tv};
    return v + 1;
}

} // namespace

float kvFont::LineStart(float x, const char* text, float scale)
{
    switch (flags & 6) {
    case 6:
        return x - scale * float(GetWidth(text) / 2);
    case 2:
        return x - scale * float(GetWidth(text));
    default:
        return x;
    }
}

void kvFont::DrawTextExA(int x, int y, DWORD textColour, const char* text, float scale)
{
    if (kvD3D* d3d = kvD3D::Installed()) {
        x += d3d->ViewX;
        y += d3d->ViewY;
    }
    if (!text || !*text || !pVB)
        return;
    void* data = nullptr;
    if (FAILED(pVB->Lock(0, 0, &data, D3DLOCK_DISCARD)))
        return;
    auto* v = static_cast<GlyphVertex*>(data);

    const float lineStart = LineStart(float(x), text, scale);
    float penX = lineStart;
    float penY = float(y);
    if (flags & 8)
        penY -= float(height);
    // The atlas holds glyphs at RasterScale of their size; dividing brings them back.
    const float atlasToScreen = scale / RasterScale;
    UINT quads = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        if (*p == 10) {
            penX = LineStart(float(x), reinterpret_cast<const char*>(p + 1), scale);
            // Lines step by the nominal height: the atlas's smaller raster has no say in it.
            penY += scale * float(height + 1);
            continue;
        }
        if (*p == 32) {
            penX += atlasToScreen * float(SpaceWidth);
            continue;
        }
        // Pre: the buffer holds kMaxQuads glyphs; the rest of a longer text is cut.
        if (quads == kMaxQuads)
            break;
        const float* r = TexCoords[*p];
        const float w = atlasToScreen * (r[2] - r[0]) * float(TexWidth);
        const float h = atlasToScreen * (r[3] - r[1]) * float(TexHeight);
        v = Put(v, penX, penY + h, textColour, r[0], r[3]);
        v = Put(v, penX, penY, textColour, r[0], r[1]);
        v = Put(v, penX + w, penY + h, textColour, r[2], r[3]);
        v = Put(v, penX + w, penY, textColour, r[2], r[1]);
        v = Put(v, penX + w, penY + h, textColour, r[2], r[3]);
        v = Put(v, penX, penY, textColour, r[0], r[1]);
        penX += w;
        ++quads;
    }
    pVB->Unlock();
    if (quads > 0)
        Submit(quads * 2, scale);
}

void kvFont::Submit(UINT primitives, float scale)
{
    if (sbDrawText)
        sbDrawText->Apply();
    // Unmagnified text maps texels to pixels one to one; filtering would only blur it.
    const DWORD filter = scale == 1.0f ? D3DTEXF_POINT : D3DTEXF_LINEAR;
    pDevice->SetSamplerState(0, D3DSAMP_MINFILTER, filter);
    pDevice->SetSamplerState(0, D3DSAMP_MAGFILTER, filter);
    pDevice->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_NONE);
    pDevice->SetFVF(KVFONT_FVF);
    pDevice->SetStreamSource(0, pVB, 0, kVertexSize);
    pDevice->SetTexture(0, pTexture);
    pDevice->DrawPrimitive(D3DPT_TRIANGLELIST, 0, primitives);
}
