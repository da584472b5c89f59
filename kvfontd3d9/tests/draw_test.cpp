// Drawing through the atlas font, read back from the device: placement and anchoring,
// lines, magnification and filtering, colour, shadow, the view origin, the quad limit,
// text that draws nothing, and the state block around a device reset.
#include "FontFixture.h"

#include <string>

namespace {
constexpr DWORD kBlack = 0xFF000000;
constexpr DWORD kWhite = 0xFFFFFFFF;
} // namespace

TEST_F(FontTest, TextLightsPixelsOnlyInsideItsBox)
{
    Start();
    kvFont* f = MakeFont(16);
    const char text[] = "Hello";
    Frame(kBlack, [&] { f->DrawTextExA(40, 50, kWhite, text, 1.0f); });
    const PixelBox box = Lit();
    ASSERT_FALSE(box.Empty());
    EXPECT_GE(box.left, 40) << box;
    EXPECT_LE(box.left, 43) << box;
    EXPECT_GE(box.top, 50) << box;
    EXPECT_LE(box.right, 40 + f->GetWidth(text)) << box;
    EXPECT_GE(box.right, 40 + f->GetWidth(text) - 4) << box;
    EXPECT_LT(box.bottom, 50 + int(CellHeight(*f, 'H'))) << box;
    EXPECT_GT(box.bottom - box.top, 8) << box;
}

TEST_F(FontTest, TheAnchorPlacesEachLineByItsWidth)
{
    Start();
    const char text[] = "HeH";
    const struct {
        int flags;
        const char* name;
    } cases[] = {{0, "left"}, {4, "left"}, {2, "right"}, {6, "centre"}};
    for (const auto& c : cases) {
        kvFont* f = MakeFont(16, c.flags);
        const int w = f->GetWidth(text);
        Frame(kBlack, [&] { f->DrawTextExA(160, 100, kWhite, text, 1.0f); });
        const PixelBox box = Lit();
        ASSERT_FALSE(box.Empty()) << c.name;
        const int expectedLeft = c.flags == 2 ? 160 - w : c.flags == 6 ? 160 - w / 2 : 160;
        // Glyph cells carry a pixel or two of bearing on either side of the ink.
        EXPECT_NEAR(expectedLeft, box.left, 3) << c.name << " " << box;
        EXPECT_NEAR(expectedLeft + w, box.right + 1, 3) << c.name << " " << box;
    }
}

TEST_F(FontTest, TheBottomFlagLiftsTheTextByItsHeight)
{
    Start();
    kvFont* top = MakeFont(16, 0);
    kvFont* bottom = MakeFont(16, 8);
    Frame(kBlack, [&] { top->DrawTextExA(20, 100 - 16, kWhite, "Hb", 1.0f); });
    const PixelBox expected = Lit();
    Frame(kBlack, [&] { bottom->DrawTextExA(20, 100, kWhite, "Hb", 1.0f); });
    const PixelBox got = Lit();
    ASSERT_FALSE(got.Empty());
    EXPECT_EQ(expected.top, got.top) << got;
    EXPECT_EQ(expected.bottom, got.bottom) << got;
    EXPECT_EQ(expected.count, got.count);
}

TEST_F(FontTest, TwoCentredLinesAreCentredEachByItsOwnWidth)
{
    Start();
    kvFont* f = MakeFont(16, 6);
    const int step = 16 + 1;
    ASSERT_NE(f->GetWidth("il"), f->GetWidth("WM"));
    Frame(kBlack, [&] { f->DrawTextExA(160, 60, kWhite, "il\nWM", 1.0f); });
    const PixelBox first = Lit(0, 0, 0, -1, 60 + step);
    const PixelBox second = Lit(0, 0, 60 + step, -1, -1);
    ASSERT_FALSE(first.Empty());
    ASSERT_FALSE(second.Empty());
    EXPECT_NEAR(160, (first.left + first.right + 1) / 2, 2) << first;
    EXPECT_NEAR(160, (second.left + second.right + 1) / 2, 2) << second;
    EXPECT_GT(first.left, second.left);

    // The second line is the same text drawn alone one line lower.
    Frame(kBlack, [&] { f->DrawTextExA(160, 60 + step, kWhite, "WM", 1.0f); });
    const PixelBox alone = Lit();
    EXPECT_EQ(alone.left, second.left) << alone << " " << second;
    EXPECT_EQ(alone.top, second.top) << alone << " " << second;
    EXPECT_EQ(alone.right, second.right) << alone << " " << second;
    EXPECT_EQ(alone.bottom, second.bottom) << alone << " " << second;
}

TEST_F(FontTest, SpacesAdvanceThePenWithoutDrawing)
{
    Start();
    kvFont* f = MakeFont(16);
    Frame(kBlack, [&] { f->DrawTextExA(20, 20, kWhite, "H", 1.0f); });
    const PixelBox h = Lit();
    Frame(kBlack, [&] { f->DrawTextExA(20, 20, kWhite, "   H", 1.0f); });
    const PixelBox shifted = Lit();
    EXPECT_EQ(h.left + 3 * int(f->SpaceWidth), shifted.left) << shifted;
    EXPECT_EQ(h.count, shifted.count);
}

TEST_F(FontTest, ScaleMagnifiesAndOnlyOneSamplesByPoint)
{
    Start();
    kvFont* f = MakeFont(16);
    const struct {
        float scale;
        DWORD filter;
    } cases[] = {{1.0f, D3DTEXF_POINT},
                 {1.5f, D3DTEXF_LINEAR},
                 {2.0f, D3DTEXF_LINEAR},
                 {0.75f, D3DTEXF_LINEAR}};
    Frame(kBlack, [&] { f->DrawTextExA(10, 10, kWhite, "WHW", 1.0f); });
    const PixelBox unit = Lit();
    for (const auto& c : cases) {
        Frame(kBlack, [&] { f->DrawTextExA(10, 10, kWhite, "WHW", c.scale); });
        const PixelBox box = Lit();
        DWORD minFilter = 0, magFilter = 0, mipFilter = 99;
        d3d->pDevice->GetSamplerState(0, D3DSAMP_MINFILTER, &minFilter);
        d3d->pDevice->GetSamplerState(0, D3DSAMP_MAGFILTER, &magFilter);
        d3d->pDevice->GetSamplerState(0, D3DSAMP_MIPFILTER, &mipFilter);
        EXPECT_EQ(c.filter, minFilter) << c.scale;
        EXPECT_EQ(c.filter, magFilter) << c.scale;
        EXPECT_EQ(DWORD(D3DTEXF_NONE), mipFilter) << c.scale;
        const float wide = float(unit.right - unit.left + 1) * c.scale;
        const float tall = float(unit.bottom - unit.top + 1) * c.scale;
        EXPECT_NEAR(wide, float(box.right - box.left + 1), 3.0f + c.scale) << c.scale << box;
        EXPECT_NEAR(tall, float(box.bottom - box.top + 1), 3.0f + c.scale) << c.scale << box;
    }
}

TEST_F(FontTest, TheColourModulatesTheGlyphs)
{
    Start();
    kvFont* f = MakeFont(20);
    const DWORD colours[] = {0xFFFF0000, 0xFF00FF00, 0xFF2040C0};
    for (DWORD colour : colours) {
        Frame(kBlack, [&] { f->DrawTextExA(10, 10, colour, "HIH", 1.0f); });
        // Full-coverage stems take the colour itself; nothing takes another hue.
        const DWORD rgb = colour & 0xFFFFFF;
        EXPECT_GT(Find([rgb](DWORD c) { return Near(c, rgb, 4); }).count, 20) << std::hex << colour;
        EXPECT_EQ(0, Find([rgb](DWORD c) {
                         for (int s = 0; s < 24; s += 8)
                             if (((c >> s) & 0xFF) > ((rgb >> s) & 0xFF) + 2)
                                 return true;
                         return false;
                     }).count)
            << std::hex << colour;
    }
    // DrawTextA draws in the writer's colour.
    f->colour = 0xFF0000FF;
    Frame(kBlack, [&] { f->DrawTextA(10, 10, "HIH"); });
    EXPECT_GT(Find([](DWORD c) { return Near(c, 0x0000FF, 4); }).count, 20);
    EXPECT_EQ(0, Find([](DWORD c) { return (c & 0xFFFF00) != 0; }).count);
}

TEST_F(FontTest, TheShadowAppearsOnePixelDownAndRight)
{
    Start();
    const DWORD grey = 0xFF808080;
    auto dark = [](DWORD c) { return (c & 0xFF) < 0x60; };
    kvFont* plain = MakeFont(20);
    Frame(grey, [&] { plain->DrawTextExA(30, 30, kWhite, "HIH", 1.0f); });
    EXPECT_EQ(0, Find(dark).count);
    const std::vector<DWORD> light = pixels;

    kvFont* shadowed = MakeFont(20, 0, true);
    Frame(grey, [&] { shadowed->DrawTextExA(30, 30, kWhite, "HIH", 1.0f); });
    const PixelBox shadow = Find(dark);
    ASSERT_FALSE(shadow.Empty());
    // Each dark pixel has lit ink up-left of it in the plain text, and hardly ever
    // down-right: the shadow is the ink moved by one pixel down and right.
    auto hits = [&](int dx, int dy) {
        int n = 0;
        for (int y = shadow.top; y <= shadow.bottom; ++y)
            for (int x = shadow.left; x <= shadow.right; ++x)
                if (dark(At(x, y)) &&
                    (light[size_t(y - dy) * size_t(width) + size_t(x - dx)] & 0xFF) > 0x88)
                    ++n;
        return n;
    };
    EXPECT_GT(hits(1, 1), shadow.count * 6 / 10) << shadow;
    EXPECT_LT(hits(-1, -1), shadow.count * 2 / 10) << shadow;
    PixelBox ink;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if ((light[size_t(y) * size_t(width) + size_t(x)] & 0xFF) > 0x88)
                ink.Add(x, y);
    EXPECT_NEAR(ink.right + 1, shadow.right, 1) << ink << " " << shadow;
    EXPECT_NEAR(ink.bottom + 1, shadow.bottom, 1) << ink << " " << shadow;
    EXPECT_GE(shadow.top, ink.top + 1) << ink << " " << shadow;
    // Black at alpha 10/15 over the grey.
    EXPECT_GT(Find([](DWORD c) { return Near(c, 0x2B2B2B, 6); }).count, 20);
}

TEST_F(FontTest, PositionsAreRelativeToTheCurrentView)
{
    Start();
    kvFont* f = MakeFont(16);
    Frame(kBlack, [&] { f->DrawTextExA(10, 20, kWhite, "Hi", 1.0f); });
    const PixelBox atOrigin = Lit();
    d3d->ViewX = 100;
    d3d->ViewY = 60;
    Frame(kBlack, [&] { f->DrawTextExA(10, 20, kWhite, "Hi", 1.0f); });
    const PixelBox inView = Lit();
    // Glyph edges fall on texel edges, where point sampling may round either way.
    EXPECT_NEAR(atOrigin.left + 100, inView.left, 1) << inView;
    EXPECT_NEAR(atOrigin.top + 60, inView.top, 1) << inView;
    EXPECT_NEAR(atOrigin.right + 100, inView.right, 1) << inView;
    EXPECT_NEAR(atOrigin.bottom + 60, inView.bottom, 1) << inView;
    EXPECT_NEAR(atOrigin.count, inView.count, atOrigin.count / 8);
}

TEST_F(FontTest, TextBeyondFiveHundredTwelveGlyphsIsCut)
{
    Start();
    kvFont* f = MakeFont(16);
    // The first line runs off the right edge; the second draws only while the buffer
    // still has room for it.
    for (size_t before : {size_t(511), size_t(512)}) {
        const std::string text = std::string(before, 'l') + "\nW";
        Frame(kBlack, [&] { f->DrawTextExA(0, 10, kWhite, text.c_str(), 1.0f); });
        const PixelBox second = Lit(0, 0, 10 + 17, -1, -1);
        EXPECT_EQ(before == 511, !second.Empty()) << before << " " << second;
    }
}

TEST_F(FontTest, TextThatDrawsNothingLeavesTheDeviceAlone)
{
    Start();
    kvFont* f = MakeFont(16);
    for (const char* text : {"", "    ", "\n", " \n "}) {
        d3d->pDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
        d3d->pDevice->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_ANISOTROPIC);
        d3d->pDevice->SetFVF(D3DFVF_XYZ);
        Frame(kBlack, [&] { f->DrawTextExA(10, 10, kWhite, text, 1.0f); });
        DWORD blend = 7, filter = 0, fvf = 0;
        d3d->pDevice->GetRenderState(D3DRS_ALPHABLENDENABLE, &blend);
        d3d->pDevice->GetSamplerState(0, D3DSAMP_MINFILTER, &filter);
        d3d->pDevice->GetFVF(&fvf);
        EXPECT_EQ(DWORD(FALSE), blend) << "'" << text << "'";
        EXPECT_EQ(DWORD(D3DTEXF_ANISOTROPIC), filter) << "'" << text << "'";
        EXPECT_EQ(DWORD(D3DFVF_XYZ), fvf) << "'" << text << "'";
        EXPECT_TRUE(Lit().Empty()) << "'" << text << "'";
    }
    // Drawing something does apply the font's state.
    Frame(kBlack, [&] { f->DrawTextExA(10, 10, kWhite, "H", 1.0f); });
    DWORD blend = 0;
    d3d->pDevice->GetRenderState(D3DRS_ALPHABLENDENABLE, &blend);
    EXPECT_EQ(DWORD(TRUE), blend);
}

TEST_F(FontTest, FontsDrawAgainAfterAResetWithTheStateBlockRecordedAnew)
{
    Start();
    kvFont* f = MakeFont(16);
    Frame(kBlack, [&] { f->DrawTextExA(20, 20, kWhite, "Hi", 1.0f); });
    const PixelBox before = Lit();
    // A live state block keeps the device from resetting; atlas and buffer do not.
    EXPECT_NE(D3D_OK, d3d->pDevice->Reset(&d3d->Params));
    kvFont::ReleaseStateBlock();
    EXPECT_EQ(nullptr, kvFont::sbDrawText);
    EXPECT_EQ(D3D_OK, d3d->pDevice->Reset(&d3d->Params));
    kvFont::CreateStateBlock(d3d->pDevice);
    ASSERT_NE(nullptr, kvFont::sbDrawText);
    Frame(kBlack, [&] { f->DrawTextExA(20, 20, kWhite, "Hi", 1.0f); });
    const PixelBox after = Lit();
    EXPECT_EQ(before.left, after.left) << after;
    EXPECT_EQ(before.top, after.top) << after;
    EXPECT_EQ(before.count, after.count);
}
