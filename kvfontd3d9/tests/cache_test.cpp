// The glyph-cache font: cache geometry and its initial GB2312 fill, least-used
// replacement with ageing, stray bytes, measuring, and double-byte text on screen.
#include "FontFixture.h"

#include <set>
#include <string>

namespace {

constexpr DWORD kBlack = 0xFF000000;
constexpr DWORD kWhite = 0xFFFFFFFF;

// The code table and the usage list each hold every slot once, in their orders.
::testing::AssertionResult TablesHold(const kvCFont& f)
{
    std::set<DWORD> inCodes, inUsage;
    for (DWORD i = 0; i < f.SlotCount; ++i) {
        if (i > 0 && f.Codes[i - 1].code >= f.Codes[i].code)
            return ::testing::AssertionFailure() << "codes out of order at " << i;
        if (i > 0 && f.Slots[f.Usage[i - 1]].usage > f.Slots[f.Usage[i]].usage)
            return ::testing::AssertionFailure() << "usage out of order at " << i;
        inCodes.insert(f.Codes[i].slot);
        inUsage.insert(f.Usage[i]);
    }
    if (inCodes.size() != f.SlotCount || inUsage.size() != f.SlotCount ||
        *inCodes.rbegin() != f.SlotCount - 1 || *inUsage.rbegin() != f.SlotCount - 1)
        return ::testing::AssertionFailure() << "a slot is missing or twice";
    if (f.Codes[f.SlotCount].code != 0xFFFF || f.Usage[f.SlotCount] != f.SlotCount ||
        f.Slots[f.SlotCount].usage != 0xFFFFFFFF)
        return ::testing::AssertionFailure() << "a sentinel is lost";
    return ::testing::AssertionSuccess();
}

// The slot holding code, or -1.
int SlotOf(const kvCFont& f, DWORD code)
{
    for (DWORD i = 0; i < f.SlotCount; ++i)
        if (f.Codes[i].code == code)
            return int(f.Codes[i].slot);
    return -1;
}

std::string Gbk(DWORD code)
{
    return std::string{char(code >> 8), char(code & 0xFF)};
}

} // namespace

class CFontTest : public FontTest {
  protected:
    kvCFont* MakeCFont(DWORD fontHeight, DWORD cacheSize, int fontFlags = 0, bool shadow = false)
    {
        auto font = std::make_unique<kvCFont>(d3d->pDevice);
        kvCFont* f = font.get();
        fonts.push_back(std::move(font));
        f->InitFont(fontHeight, fontFlags, "", cacheSize, shadow);
        return f;
    }
    void Draw(kvCFont* f, const std::string& text, int x = 10, int y = 10, DWORD c = kWhite)
    {
        Frame(kBlack, [&] { f->DrawTextExA(x, y, c, text.c_str(), 1.0f); });
    }
};

TEST_F(CFontTest, TheCacheEdgeCellAndSlotsFollowSizeAndHeight)
{
    Start();
    const struct {
        DWORD height, cacheSize, edge, cell, slots, atlas;
    } cases[] = {
        {16, 1, 256, 17, 225, 256}, {12, 1, 256, 13, 361, 256},   {32, 1, 256, 33, 49, 512},
        {16, 0, 256, 17, 225, 256}, {30, 7, 512, 31, 256, 256},   {41, 0, 1024, 42, 576, 512},
        {16, 2, 512, 17, 900, 256}, {16, 3, 1024, 17, 1024, 256},
    };
    for (const auto& c : cases) {
        kvCFont* f = MakeCFont(c.height, c.cacheSize);
        EXPECT_EQ(c.edge, f->CacheWidth) << c.height << "/" << c.cacheSize;
        EXPECT_EQ(c.edge, f->CacheHeight) << c.height << "/" << c.cacheSize;
        EXPECT_EQ(c.cell, f->CellEdge) << c.height << "/" << c.cacheSize;
        EXPECT_EQ(c.edge / c.cell, f->CellsPerRow) << c.height << "/" << c.cacheSize;
        EXPECT_EQ(c.slots, f->SlotCount) << c.height << "/" << c.cacheSize;
        EXPECT_EQ(c.atlas, f->TexWidth) << c.height << "/" << c.cacheSize;
        EXPECT_TRUE(TablesHold(*f)) << c.height << "/" << c.cacheSize;
        D3DSURFACE_DESC desc = {};
        ASSERT_EQ(D3D_OK, f->pCacheTexture->GetLevelDesc(0, &desc));
        EXPECT_EQ(D3DFMT_A4R4G4B4, desc.Format);
        EXPECT_EQ(D3DPOOL_MANAGED, desc.Pool);
    }
}

TEST_F(CFontTest, TheCacheStartsWithTheFirstLevelOneHanziInCodeOrder)
{
    Start();
    kvCFont* f = MakeCFont(16, 1);
    ASSERT_EQ(225u, f->SlotCount);
    EXPECT_EQ(0xB0A1u, f->Codes[0].code);
    EXPECT_EQ(0xB0FEu, f->Codes[93].code);
    EXPECT_EQ(0xB1A1u, f->Codes[94].code);
    EXPECT_EQ(0xB1FEu, f->Codes[187].code);
    EXPECT_EQ(0xB2A1u, f->Codes[188].code);
    EXPECT_EQ(0xB2A1u + 36, f->Codes[224].code);
    for (DWORD s = 0; s < f->SlotCount; ++s) {
        EXPECT_EQ(s, f->Codes[s].slot);
        EXPECT_EQ(1u, f->Slots[s].usage);
        EXPECT_EQ(s % 15, f->Slots[s].column);
        EXPECT_EQ(s / 15, f->Slots[s].row);
        EXPECT_FLOAT_EQ(17.0f * float(s % 15) / 256.0f, f->CellCoords[s][0]);
        EXPECT_FLOAT_EQ(17.0f * float(s / 15 + 1) / 256.0f, f->CellCoords[s][3]);
    }
}

TEST_F(CFontTest, ANewGlyphStartsAtOneHundredFiftyAndAgesToZero)
{
    Start();
    kvCFont* f = MakeCFont(16, 1);
    const DWORD twice = 0xC4E3, once = 0xC4E4; // not among the initial characters
    ASSERT_EQ(-1, SlotOf(*f, twice));
    ASSERT_EQ(-1, SlotOf(*f, once));
    const DWORD victim = f->Usage[0];
    const DWORD victimCode = f->Codes[victim].code;
    Draw(f, Gbk(twice) + Gbk(twice) + Gbk(once));
    // Loaded once, over the least-used cell; the second use was a hit.
    const int first = SlotOf(*f, twice);
    const int second = SlotOf(*f, once);
    EXPECT_EQ(int(victim), first);
    ASSERT_GE(second, 0);
    EXPECT_EQ(-1, SlotOf(*f, victimCode));
    EXPECT_EQ(150u, f->Slots[first].usage); // 150, one hit, one call's ageing
    EXPECT_EQ(149u, f->Slots[second].usage);
    EXPECT_EQ(DWORD(first), f->Usage[f->SlotCount - 1]);
    EXPECT_TRUE(TablesHold(*f));
    // The loading call was the first of 150.
    for (int call = 2; call <= 150; ++call)
        f->DrawTextExA(0, 0, kWhite, "", 1.0f);
    EXPECT_EQ(0u, f->Slots[second].usage);
    EXPECT_EQ(1u, f->Slots[first].usage);
    EXPECT_EQ(second, SlotOf(*f, once));
    EXPECT_TRUE(TablesHold(*f));
}

TEST_F(CFontTest, AHitRaisesItsCounterAndMovesBackInTheUsageList)
{
    Start();
    kvCFont* f = MakeCFont(16, 1);
    const DWORD front = f->Usage[0];
    Draw(f, Gbk(f->Codes[front].code) + Gbk(f->Codes[front].code) + Gbk(f->Codes[front].code));
    EXPECT_EQ(3u, f->Slots[front].usage); // 1, three uses, one call's ageing
    EXPECT_EQ(front, f->Usage[f->SlotCount - 1]);
    EXPECT_NE(front, f->Usage[0]);
    EXPECT_EQ(0u, f->Slots[f->Usage[0]].usage);
    EXPECT_TRUE(TablesHold(*f));
}

TEST_F(CFontTest, MoreNewCharactersThanCellsReuseCellsOfTheSameCall)
{
    Start();
    kvCFont* f = MakeCFont(32, 1);
    ASSERT_EQ(49u, f->SlotCount);
    std::string text;
    for (DWORD i = 0; i < 60; ++i)
        text += Gbk(0xC0A1 + i);
    Draw(f, text, 0, 10);
    EXPECT_TRUE(TablesHold(*f));
    // Once every cell held 150, the newest cell stood at the front and took each further
    // character in turn: the first 48 stay, with the last one over the 49th.
    for (DWORD i = 0; i < 60; ++i)
        EXPECT_EQ(i < 48 || i == 59, SlotOf(*f, 0xC0A1 + i) >= 0) << std::hex << 0xC0A1 + i;
}

TEST_F(CFontTest, StrayBytesAreSkippedAloneAndMeasureNothing)
{
    Start();
    kvCFont* f = MakeCFont(16, 1);
    Draw(f, "AB");
    const PixelBox plain = Lit();
    ASSERT_FALSE(plain.Empty());
    // A lead byte before a single-byte one, bytes 0x80 to 0xA0, a lead byte at the end.
    for (const char* text : {"\xB0\x41\x42", "\x41\x80\xA0\x42", "\x41\x42\xC4", "\xA1\x41\x42"}) {
        const std::string t = text;
        Draw(f, t);
        const PixelBox box = Lit();
        EXPECT_EQ(plain.left, box.left) << t;
        EXPECT_EQ(plain.right, box.right) << t;
        EXPECT_EQ(plain.count, box.count) << t;
        EXPECT_EQ(f->GetWidth("AB"), f->GetWidth(t.c_str())) << t;
    }
}

TEST_F(CFontTest, ADoubleByteCharacterMeasuresTheHeightAndAdvancesACell)
{
    Start();
    kvCFont* f = MakeCFont(16, 1);
    const int a = f->Widths['A'];
    EXPECT_EQ(a + 16, f->GetWidth("A\xB0\xA1"));
    EXPECT_EQ(a + 16, f->GetWidth("A\xB0\xA1\n\xB0\xA1\xB0\xA1"));
    EXPECT_EQ(17, f->GetHeight("\xB0\xA1"));
    const WCHAR wide[] = {u'A', 0x554A, 0x00E9, 0};
    EXPECT_EQ(a + 16, f->GetWidthW(wide));

    // Drawn, the character after a hanzi starts one cell (17 pixels) later.
    Draw(f, "\xB0\xA1", 20, 20);
    const PixelBox hanzi = Lit();
    ASSERT_FALSE(hanzi.Empty());
    EXPECT_GE(hanzi.left, 20) << hanzi;
    EXPECT_LT(hanzi.right, 20 + 17) << hanzi;
    EXPECT_GE(hanzi.top, 20) << hanzi;
    EXPECT_LT(hanzi.bottom, 20 + 17) << hanzi;
    EXPECT_GT(hanzi.right - hanzi.left, 8) << hanzi;
    Draw(f, "I", 20 + 17, 20);
    const PixelBox alone = Lit();
    Draw(f, "\xB0\xA1I", 20, 20);
    const PixelBox after = Lit(0, 20 + 17);
    EXPECT_EQ(alone.left, after.left) << alone << " " << after;
    EXPECT_EQ(alone.count, after.count) << alone << " " << after;
}

TEST_F(CFontTest, HanziTakeTheColourAndCentreWithTheText)
{
    Start();
    kvCFont* f = MakeCFont(20, 0, 6);
    const std::string text = "\xD6\xD0\xCE\xC4"; // two characters, both loaded on demand
    Frame(kBlack, [&] { f->DrawTextExA(160, 50, 0xFF00FF00, text.c_str(), 1.0f); });
    const PixelBox box = Lit();
    ASSERT_FALSE(box.Empty());
    EXPECT_NEAR(160, (box.left + box.right + 1) / 2, 3) << box;
    EXPECT_EQ(0, Find([](DWORD c) { return (c & 0xFF00FF) != 0; }).count);
    EXPECT_GT(Find([](DWORD c) { return Near(c, 0x00FF00, 4); }).count, 10);
}

TEST_F(CFontTest, AnEmptyTextAgesTheCacheAndAppliesTheStateButDrawsNothing)
{
    Start();
    kvCFont* f = MakeCFont(16, 1);
    d3d->pDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    Frame(kBlack, [&] { f->DrawTextExA(10, 10, kWhite, "", 1.0f); });
    EXPECT_TRUE(Lit().Empty());
    DWORD blend = 0;
    d3d->pDevice->GetRenderState(D3DRS_ALPHABLENDENABLE, &blend);
    EXPECT_EQ(DWORD(TRUE), blend);
    for (DWORD s = 0; s < f->SlotCount; ++s)
        EXPECT_EQ(0u, f->Slots[s].usage) << s;
}
