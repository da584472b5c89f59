// kvFont: construction, the shared state block and measuring. The atlas is built in
// kvFontAtlas.cpp and text is drawn in kvFontDraw.cpp.
#include "kvFont.h"

#include <kvException.h>

#include <cstring>

IDirect3DStateBlock9* kvFont::sbDrawText = nullptr;
DWORD kvFont::RefCounter = 0;

kvFont::kvFont(IDirect3DDevice9* device)
    : WText(12, 0), pTexture(nullptr), pDevice(device), pVB(nullptr), CellEdge(0), SpaceWidth(0),
      TexWidth(0), TexHeight(0), RasterScale(1.0f)
{
    // Bytes InitFont never rasterises measure 0 and draw as empty quads.
    std::memset(TexCoords, 0, sizeof(TexCoords));
    std::memset(Widths, 0, sizeof(Widths));
    // System memory: the buffer survives a device reset and needs no rebuild.
    if (!device ||
        FAILED(device->CreateVertexBuffer(kBufferSize, D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY,
                                          KVFONT_FVF, D3DPOOL_SYSTEMMEM, &pVB, nullptr)))
        NewException("Failed to create font VertexBuffer.", 0);
    CreateStateBlock(device);
    ++RefCounter;
}

kvFont::~kvFont()
{
    if (pVB) {
        pVB->Release();
        pVB = nullptr;
    }
    if (pTexture) {
        pTexture->Release();
        pTexture = nullptr;
    }
    if (RefCounter > 0 && --RefCounter == 0)
        ReleaseStateBlock();
}

void kvFont::CreateStateBlock(IDirect3DDevice9* device)
{
    if (sbDrawText || !device)
        return;
    device->BeginStateBlock();
    // Coverage in the atlas alpha blends the glyph; the alpha test drops the near-empty
    // fringe so that it writes nothing at all.
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    device->SetRenderState(D3DRS_ALPHAREF, 8);
    device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
    device->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    device->SetRenderState(D3DRS_STENCILENABLE, FALSE);
    device->SetRenderState(D3DRS_CLIPPING, TRUE);
    device->SetRenderState(D3DRS_CLIPPLANEENABLE, 0);
    device->SetRenderState(D3DRS_VERTEXBLEND, D3DVBF_DISABLE);
    device->SetRenderState(D3DRS_INDEXEDVERTEXBLENDENABLE, FALSE);
    device->SetRenderState(D3DRS_FOGENABLE, FALSE);
    device->SetRenderState(D3DRS_COLORWRITEENABLE, 15);
    // White glyphs take the vertex colour; the colour's alpha fades them.
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 0);
    device->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE);
    device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    device->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    device->EndStateBlock(&sbDrawText);
}

void kvFont::ReleaseStateBlock()
{
    if (!sbDrawText)
        return;
    sbDrawText->Release();
    sbDrawText = nullptr;
}

void kvFont::DrawTextA(int x, int y, const char* text)
{
    DrawTextExA(x, y, colour, text, 1.0f);
}

int kvFont::GetWidth(const char* text)
{
    int width = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); p && *p && *p != 10;
         ++p)
        width += Widths[*p];
    return width;
}

int kvFont::GetHeight(const char*)
{
    return height + 1;
}

int kvFont::GetWidthW(const WCHAR* text)
{
    int width = 0;
    for (const WCHAR* p = text; p && *p && *p != 10; ++p)
        width += Widths[*p & 0xFF];
    return width;
}
