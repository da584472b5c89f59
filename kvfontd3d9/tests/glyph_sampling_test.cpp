// Glyphs at scale 1 are copied texel for pixel: a glyph of either font shows the same
// pixels wherever it is drawn, in the windowed and the full-screen (16-bit) set-up.
#include "FontFixture.h"

namespace {

constexpr DWORD kBlack = 0xFF000000;
constexpr DWORD kWhite = 0xFFFFFFFF;

class GlyphSamplingTest : public FontTest, public testing::WithParamInterface<DWORD> {
protected:
    // The frame's pixels in a 40 x 40 box whose top-left is (x, y).
    std::vector<DWORD> Around(int x, int y) const
    {
        std::vector<DWORD> out;
        for (int dy = 0; dy < 40; ++dy)
            for (int dx = 0; dx < 40; ++dx)
                out.push_back(At(x + dx, y + dy));
        return out;
    }
};

TEST_P(GlyphSamplingTest, AGlyphLooksTheSameAtEveryPosition)
{
    Start(320, 240, GetParam());
    auto cached = std::make_unique<kvCFont>(d3d->pDevice);
    cached->InitFont(16, 0, "", 1, false);
    kvFont* atlas = MakeFont(32);
    const struct {
        kvFont* font;
        const char* text;
        const char* name;
    } glyphs[] = {{atlas, "W", "atlas"}, {cached.get(), "\xB0\xA1", "glyph-cache"}};
    const POINT positions[] = {{100, 103}, {0, 3}, {13, 16}, {0, 0}, {1, 1}, {57, 190}, {250, 7}};
    for (const auto& g : glyphs) {
        Frame(kBlack, [&] { g.font->DrawTextExA(100, 103, kWhite, g.text, 1.0f); });
        const std::vector<DWORD> reference = Around(100, 103);
        ASSERT_FALSE(Lit(0, 100, 103, 140, 143).Empty()) << g.name;
        for (const POINT& p : positions) {
            Frame(kBlack, [&] { g.font->DrawTextExA(p.x, p.y, kWhite, g.text, 1.0f); });
            EXPECT_TRUE(reference == Around(p.x, p.y))
                << (GetParam() ? "windowed" : "full screen") << ": " << g.name << " glyph at ("
                << p.x << ", " << p.y << ")";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(SetUps, GlyphSamplingTest,
                         testing::Values(DWORD(KVWIN_WINDOWED | KVWIN_FIXEDSIZE), DWORD(0)),
                         [](const testing::TestParamInfo<DWORD>& row) {
                             return row.param ? "Windowed" : "FullScreen";
                         });

}  // namespace
