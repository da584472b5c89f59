// kvFont: the atlas font. InitFont rasterises the printable single-byte characters 0x20
// to 0x7F once through GDI into one square A4R4G4B4 texture; every draw after that is one
// discard-lock of a dynamic vertex buffer, one state-block apply and one DrawPrimitive.
//
// Implemented:
//  - left, right and centre anchoring of each line by its own width, and the bottom flag
//  - newlines, spaces without geometry, magnification with point filtering at 1.0 only
//  - an optional one-pixel drop shadow baked into the atlas
//  - a smaller atlas (raster scale < 1) on devices whose textures cannot hold the edge;
//    glyphs still draw and measure at nominal size
//  - the view origin of the installed kvD3D added to every position
// Not done: double-byte text (kvCFont adds it).
#ifndef KVFONTD3D9_KVFONT_H
#define KVFONTD3D9_KVFONT_H

#include <WText.h>

#include <d3d9.h>

// The vertex of a glyph quad: screen position, colour, atlas coordinates.
#define KVFONT_FVF (D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1)

class kvFont : public WText {
  public:
    // Quads one draw call can hold; longer text is cut there.
    static constexpr UINT kMaxQuads = 512;
    static constexpr UINT kVertexSize = 28;
    static constexpr UINT kBufferSize = kMaxQuads * 6 * kVertexSize;

    IDirect3DTexture9* pTexture; // the atlas; null until InitFont
    IDirect3DDevice9* pDevice;   // not owned
    IDirect3DVertexBuffer9* pVB; // kMaxQuads quads, dynamic, system memory
    DWORD CellEdge;              // glyph cell edge, kvCFont's
    DWORD SpaceWidth;            // pen advance of a space, in atlas pixels
    DWORD TexWidth, TexHeight;   // atlas size in texels; always equal
    float TexCoords[256][4];     // per byte: uL, vT, uR, vB; zero outside 0x20..0x7F
    float RasterScale;           // atlas pixels per nominal pixel; 1 unless the device is small
    int32_t Widths[256];         // per byte: advance in nominal pixels

    // Recorded drawing state shared by every font; null when not recorded.
    static IDirect3DStateBlock9* sbDrawText;
    // Live font objects; the last one to go releases sbDrawText.
    static DWORD RefCounter;

    explicit kvFont(IDirect3DDevice9* device);
    ~kvFont() override;

    void DrawTextA(int x, int y, const char* text) override;
    // Sum of the widths of the bytes before the first newline.
    int GetWidth(const char* text) override;
    // height + 1, whatever the text.
    int GetHeight(const char* text) override;
    // As GetWidth, each unit looked up by its low byte.
    int GetWidthW(const WCHAR* text) override;

    // Pre: called once, before any drawing or measuring. An empty face lets GDI choose.
    virtual void InitFont(DWORD fontHeight, int fontFlags, const char* face, bool shadow);
    // Draws text anchored at (x, y) of the current view, in colour, magnified by scale.
    virtual void DrawTextExA(int x, int y, DWORD textColour, const char* text, float scale);

    // Records sbDrawText unless it is already recorded. Call after a device reset.
    static void CreateStateBlock(IDirect3DDevice9* device);
    // Releases sbDrawText; a state block does not survive a device reset.
    static void ReleaseStateBlock();

    kvFont(const kvFont&) = delete;
    kvFont& operator=(const kvFont&) = delete;

  protected:
    // GDI's white-on-black w x h pixels into A4R4G4B4 texels at dst, rows pitch bytes
    // apart: the coverage becomes the alpha of white, and with shadow an empty pixel
    // below-right of ink becomes translucent black.
    static void ConvertCoverage(const DWORD* src, DWORD w, DWORD h, BYTE* dst, INT pitch,
                                bool shadow);
    // Left end of the line that starts at text, for the anchoring in flags.
    float LineStart(float x, const char* text, float scale);
    // Binds the atlas, the buffer and the shared state, then draws the quads written.
    void Submit(UINT primitives, float scale);
};

#endif
