// The atlas font's life, atlas and measuring: the shared state block and its counter, the
// atlas edge for each height and for a small device, the texel and shadow rules, glyph
// rectangles and widths.
#include "FontFixture.h"

#include <algorithm>
#include <set>

namespace {

// The atlas read back as A4R4G4B4 words, row by row.
std::vector<WORD> Texels(const kvFont& f)
{
    std::vector<WORD> out;
    D3DLOCKED_RECT locked = {};
    if (FAILED(f.pTexture->LockRect(0, &locked, nullptr, D3DLOCK_READONLY)))
        return out;
    for (DWORD y = 0; y < f.TexHeight; ++y) {
        auto* row = reinterpret_cast<const WORD*>(static_cast<const BYTE*>(locked.pBits) +
                                                  size_t(y) * size_t(locked.Pitch));
        out.insert(out.end(), row, row + f.TexWidth);
    }
    f.pTexture->UnlockRect(0);
    return out;
}

} // namespace

TEST_F(FontTest, FontsShareOneStateBlockThatTheLastOneReleases)
{
    Start();
    ASSERT_EQ(0u, kvFont::RefCounter);
    ASSERT_EQ(nullptr, kvFont::sbDrawText);
    auto* a = new kvFont(d3d->pDevice);
    IDirect3DStateBlock9* shared = kvFont::sbDrawText;
    EXPECT_NE(nullptr, shared);
    EXPECT_EQ(nullptr, a->pTexture);
    EXPECT_NE(nullptr, a->pVB);
    EXPECT_EQ(12, a->height);
    EXPECT_EQ(0, a->flags);
    EXPECT_EQ(255u, a->colour);
    auto* b = new kvFont(d3d->pDevice);
    EXPECT_EQ(2u, kvFont::RefCounter);
    EXPECT_EQ(shared, kvFont::sbDrawText);
    delete a;
    EXPECT_EQ(1u, kvFont::RefCounter);
    EXPECT_EQ(shared, kvFont::sbDrawText);
    delete b;
    EXPECT_EQ(0u, kvFont::RefCounter);
    EXPECT_EQ(nullptr, kvFont::sbDrawText);
}

TEST_F(FontTest, TheBufferHoldsFiveHundredTwelveQuadsInSystemMemory)
{
    Start();
    kvFont* f = MakeFont();
    D3DVERTEXBUFFER_DESC desc = {};
    ASSERT_EQ(D3D_OK, f->pVB->GetDesc(&desc));
    EXPECT_EQ(86016u, desc.Size);
    EXPECT_EQ(DWORD(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1), desc.FVF);
    EXPECT_EQ(D3DPOOL_SYSTEMMEM, desc.Pool);
    EXPECT_EQ(DWORD(D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY), desc.Usage);
}

TEST_F(FontTest, TheAtlasEdgeFollowsTheHeight)
{
    Start();
    const struct {
        DWORD height;
        DWORD edge;
    } cases[] = {{12, 256}, {30, 256}, {31, 512}, {60, 512}, {61, 1024}};
    for (const auto& c : cases) {
        kvFont* f = MakeFont(c.height, 6);
        EXPECT_EQ(c.edge, f->TexWidth) << "height " << c.height;
        EXPECT_EQ(c.edge, f->TexHeight) << "height " << c.height;
        EXPECT_EQ(1.0f, f->RasterScale) << "height " << c.height;
        EXPECT_EQ(int32_t(c.height), f->height);
        EXPECT_EQ(6, f->flags);
        D3DSURFACE_DESC desc = {};
        ASSERT_EQ(D3D_OK, f->pTexture->GetLevelDesc(0, &desc));
        EXPECT_EQ(c.edge, desc.Width);
        EXPECT_EQ(D3DFMT_A4R4G4B4, desc.Format);
        EXPECT_EQ(D3DPOOL_MANAGED, desc.Pool);
        EXPECT_EQ(1u, f->pTexture->GetLevelCount());
    }
}

TEST_F(FontTest, ASmallDeviceRastersAtHalfSizeAndMeasuresAtNominalSize)
{
    vexa::platform::SetTextureSizeLimit(128);
    Start();
    kvFont* f = MakeFont(20);
    EXPECT_EQ(128u, f->TexWidth);
    EXPECT_EQ(128u, f->TexHeight);
    EXPECT_EQ(0.5f, f->RasterScale);

    // The atlas holds glyphs of a 10-pixel GDI font.
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT ten = CreateFontA(-10, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                            VARIABLE_PITCH, "");
    SelectObject(dc, ten);
    for (unsigned char c : {'W', 'i', 'A', ' '}) {
        const char s = char(c);
        SIZE size = {};
        GetTextExtentPoint32A(dc, &s, 1, &size);
        const float* r = f->TexCoords[c];
        EXPECT_FLOAT_EQ(float(size.cx), (r[2] - r[0]) * 128.0f) << c;
        EXPECT_FLOAT_EQ(float(size.cy + 2), (r[3] - r[1]) * 128.0f) << c;
        EXPECT_EQ(2 * size.cx, f->Widths[c]) << c;
    }
    DeleteDC(dc);
    DeleteObject(ten);
    EXPECT_EQ(DWORD(f->TexCoords[' '][2] * 128.0f - f->TexCoords[' '][0] * 128.0f + 0.5f),
              f->SpaceWidth);

    // Drawn, the text is as tall as a 20-pixel font and as wide as it measures.
    const char text[] = "HWH";
    Frame(0xFF000000, [&] { f->DrawTextExA(10, 10, 0xFFFFFFFF, text, 1.0f); });
    PixelBox box = Lit();
    ASSERT_FALSE(box.Empty());
    EXPECT_GE(box.bottom - box.top + 1, 12) << box;
    EXPECT_LE(box.bottom - box.top + 1, int(CellHeight(*f, 'H'))) << box;
    EXPECT_NEAR(f->GetWidth(text), box.right - box.left + 1, 6) << box;
}

TEST_F(FontTest, TexelsAreWhiteWithTheCoverageAsAlpha)
{
    Start();
    kvFont* f = MakeFont(20);
    std::vector<WORD> t = Texels(*f);
    ASSERT_EQ(size_t(256 * 256), t.size());
    std::set<int> alphas;
    for (WORD w : t) {
        if (w == 0)
            continue;
        EXPECT_EQ(0x0FFF, w & 0x0FFF) << std::hex << w;
        alphas.insert(w >> 12);
    }
    // Antialiased edges give partial coverage, stems full.
    EXPECT_TRUE(alphas.count(15));
    EXPECT_GT(alphas.size(), 3u);
}

TEST_F(FontTest, TheShadowFallsDownRightOfLitPixelsButNeverInRowOrColumnZero)
{
    Start();
    kvFont* plain = MakeFont(24);
    kvFont* shadowed = MakeFont(24, 0, true);
    const std::vector<WORD> a = Texels(*plain);
    const std::vector<WORD> b = Texels(*shadowed);
    ASSERT_EQ(a.size(), b.size());
    const int edge = int(plain->TexWidth);
    int shadows = 0;
    for (int r = 0; r < edge; ++r)
        for (int c = 0; c < edge; ++c) {
            const size_t i = size_t(r * edge + c);
            EXPECT_NE(0xA000, a[i]) << c << "," << r;
            if (a[i] != 0) {
                EXPECT_EQ(a[i], b[i]) << "lit texel " << c << "," << r;
                continue;
            }
            if (b[i] == 0xA000) {
                ++shadows;
                EXPECT_TRUE(r > 0 && c > 0) << "shadow at " << c << "," << r;
            } else {
                EXPECT_EQ(0, b[i]) << c << "," << r;
            }
            if (r > 0 && c > 0 && a[i - size_t(edge) - 1] != 0) {
                EXPECT_EQ(0xA000, b[i]) << "no shadow at " << c << "," << r;
            }
        }
    EXPECT_GT(shadows, 100);
}

TEST_F(FontTest, GlyphsSitSideBySideWithATwoPixelGap)
{
    Start();
    kvFont* f = MakeFont(30);
    const float w = float(f->TexWidth);
    float lastRight = 0.0f, lastTop = 0.0f;
    int rows = 1;
    for (int c = 0x20; c <= 0x7F; ++c) {
        const float* r = f->TexCoords[c];
        ASSERT_LT(r[0], r[2]) << c;
        ASSERT_LT(r[1], r[3]) << c;
        EXPECT_LE(r[2] * w, w - 2.0f + 0.01f) << c;
        if (c > 0x20 && r[1] != lastTop) {
            // A new row starts at the left, below the one before.
            ++rows;
            EXPECT_EQ(0.0f, r[0]) << c;
            EXPECT_GT(r[1], lastTop) << c;
        } else if (c > 0x20) {
            EXPECT_FLOAT_EQ(lastRight * w + 2.0f, r[0] * w) << c;
        }
        EXPECT_EQ(int32_t((r[2] - r[0]) * w + 0.5f), f->Widths[c]) << c;
        lastRight = r[2];
        lastTop = r[1];
    }
    EXPECT_GT(rows, 1);
    EXPECT_EQ(DWORD(f->Widths[' ']), f->SpaceWidth);
    // Nothing outside the rasterised range.
    for (int c : {0, 1, 9, 0x1F, 0x80, 0xA1, 0xFF}) {
        EXPECT_EQ(0, f->Widths[c]) << c;
        EXPECT_EQ(0.0f, f->TexCoords[c][2]) << c;
    }
}

TEST_F(FontTest, WidthsStopAtTheFirstNewlineAndHeightIgnoresTheText)
{
    Start();
    kvFont* f = MakeFont(16);
    const int ab = f->Widths['A'] + f->Widths['B'];
    const struct {
        const char* text;
        int width;
    } cases[] = {
        {"", 0},
        {"AB", ab},
        {"AB\nWWWW", ab},
        {"\nAB", 0},
        {"A B", ab + f->Widths[' ']},
        {"A\xB0\xA1", f->Widths['A']}, // a double-byte character is not in this atlas
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.width, f->GetWidth(c.text)) << c.text;
        EXPECT_EQ(17, f->GetHeight(c.text)) << c.text;
    }
    const WCHAR empty[] = {0};
    const WCHAR wide[] = {u'A', u'B', 0};
    // Only the low byte counts: U+0141 measures as 'A'.
    const WCHAR high[] = {0x0141, u'B', u'\n', u'W', 0};
    EXPECT_EQ(0, f->GetWidthW(empty));
    EXPECT_EQ(ab, f->GetWidthW(wide));
    EXPECT_EQ(ab, f->GetWidthW(high));
}
