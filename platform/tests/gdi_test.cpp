// GDI text into DIB sections: font sizes, the default face, pixels read back from the
// section's bits, DC state and object lifetimes, and what bad input returns.
#include <windows.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

const char kJianDan[] = "简单"; // compiled as GBK: BC F2 B5 A5

HFONT MakeFont(int height, const char* face = "", DWORD quality = ANTIALIASED_QUALITY,
               int weight = FW_NORMAL)
{
    return CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, quality, VARIABLE_PITCH, face);
}

// A memory DC with a 32-bit DIB section selected, set up as the fonts use it: white text
// on a black background.
struct Canvas {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ oldBitmap = nullptr;
    uint32_t* bits = nullptr;
    int width = 0;
    int height = 0;

    Canvas(int w, int h, bool topDown = true) : width(w), height(h)
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = topDown ? -h : h;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc = CreateCompatibleDC(nullptr);
        void* raw = nullptr;
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &raw, nullptr, 0);
        bits = static_cast<uint32_t*>(raw);
        oldBitmap = SelectObject(dc, bitmap);
        SetTextColor(dc, RGB(255, 255, 255));
        SetBkColor(dc, RGB(0, 0, 0));
    }
    ~Canvas()
    {
        SelectObject(dc, oldBitmap);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }

    // Pixel at (x, y) counted from the top of the picture.
    uint32_t At(int x, int y, bool topDown = true) const
    {
        return bits[size_t(topDown ? y : height - 1 - y) * width + x];
    }
    std::vector<uint32_t> Copy() const
    {
        return std::vector<uint32_t>(bits, bits + width * height);
    }
};

struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1; // right, bottom inclusive
    bool Empty() const { return right < 0; }
};

// The bounding box of every pixel with any colour.
Box LitBox(const Canvas& c, bool topDown = true)
{
    Box box;
    for (int y = 0; y < c.height; ++y) {
        for (int x = 0; x < c.width; ++x) {
            if (c.At(x, y, topDown) & 0xFFFFFF) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
            }
        }
    }
    return box;
}

SIZE Extent(HDC dc, const char* text, int n)
{
    SIZE size{-1, -1};
    EXPECT_TRUE(GetTextExtentPoint32A(dc, text, n, &size));
    return size;
}

TEST(CreateFont, NegativeHeightIsTheEmAndPositiveTheCell)
{
    struct Case {
        int height;
    };
    for (Case c : {Case{-12}, Case{-16}, Case{-24}, Case{12}, Case{16}, Case{17}, Case{33}}) {
        SCOPED_TRACE(c.height);
        Canvas canvas(8, 8);
        HFONT font = MakeFont(c.height);
        ASSERT_NE(nullptr, font);
        SelectObject(canvas.dc, font);
        TEXTMETRICA tm{};
        ASSERT_TRUE(GetTextMetricsA(canvas.dc, &tm));
        EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
        int em = tm.tmHeight - tm.tmInternalLeading;
        if (c.height < 0) {
            EXPECT_EQ(-c.height, em);
            EXPECT_GT(tm.tmHeight, -c.height);
        } else {
            EXPECT_EQ(c.height, tm.tmHeight);
            EXPECT_LT(em, c.height);
        }
        // A hanzi is one em wide; its extent is one cell high.
        SIZE size = Extent(canvas.dc, kJianDan, 2);
        EXPECT_NEAR(em, size.cx, 1);
        EXPECT_EQ(tm.tmHeight, size.cy);
        EXPECT_EQ(2 * size.cx, Extent(canvas.dc, kJianDan, 4).cx);
        SelectObject(canvas.dc, canvas.oldBitmap);
        DeleteObject(font);
    }
}

TEST(CreateFont, EmptyOrUnknownNamesGiveTheDefaultChineseFace)
{
    Canvas canvas(8, 8);
    auto faceOf = [&](const char* name) {
        HFONT font = MakeFont(-16, name);
        EXPECT_NE(nullptr, font);
        HGDIOBJ old = SelectObject(canvas.dc, font);
        char face[LF_FACESIZE] = {};
        EXPECT_GT(GetTextFaceA(canvas.dc, LF_FACESIZE, face), 0);
        SelectObject(canvas.dc, old);
        DeleteObject(font);
        return std::string(face);
    };
    std::string byDefault = faceOf("");
    EXPECT_FALSE(byDefault.empty());
    EXPECT_EQ(byDefault, faceOf(nullptr));
    EXPECT_EQ(byDefault, faceOf("No Such Face At All"));
    // The default face shipped with the build, asked for by its GBK name.
    EXPECT_EQ(std::string("文泉驿微米黑"), faceOf("文泉驿微米黑"));
}

TEST(GetTextExtentPoint32A, SumsTheAdvancesOfSingleAndDoubleByteCharacters)
{
    Canvas canvas(8, 8);
    HFONT font = MakeFont(-16);
    SelectObject(canvas.dc, font);
    std::string mixed = std::string("Ab") + kJianDan;
    EXPECT_EQ(Extent(canvas.dc, "A", 1).cx + Extent(canvas.dc, "b", 1).cx +
                  Extent(canvas.dc, kJianDan, 4).cx,
              Extent(canvas.dc, mixed.c_str(), int(mixed.size())).cx);
    EXPECT_EQ(0, Extent(canvas.dc, "", 0).cx);
    SelectObject(canvas.dc, canvas.oldBitmap);
    DeleteObject(font);
}

TEST(GetTextExtentPoint32A, StrayLeadBytesStandAloneWithinTheCount)
{
    Canvas canvas(8, 8);
    HFONT font = MakeFont(-16);
    SelectObject(canvas.dc, font);
    // Exactly sized heap blocks: a read past the count would be caught by the sanitizer.
    std::unique_ptr<char[]> lead(new char[1]{'\xBC'});
    int alone = Extent(canvas.dc, lead.get(), 1).cx;
    EXPECT_GT(alone, 0);
    EXPECT_EQ(alone, Extent(canvas.dc, kJianDan, 1).cx);
    // A lead byte before a byte that cannot trail is one character, the space another.
    std::unique_ptr<char[]> spaced(new char[2]{'\xBC', ' '});
    EXPECT_EQ(alone + Extent(canvas.dc, " ", 1).cx, Extent(canvas.dc, spaced.get(), 2).cx);
    SelectObject(canvas.dc, canvas.oldBitmap);
    DeleteObject(font);
}

TEST(ExtTextOutA, AStringCutAfterALeadByteDrawsThatByteAlone)
{
    HFONT font = MakeFont(-16);
    auto draw = [&](const char* text, UINT n) {
        Canvas canvas(32, 32);
        SelectObject(canvas.dc, font);
        EXPECT_TRUE(ExtTextOutA(canvas.dc, 0, 0, ETO_OPAQUE, nullptr, text, n, nullptr));
        SelectObject(canvas.dc, canvas.oldBitmap);
        return canvas.Copy();
    };
    std::unique_ptr<char[]> lead(new char[1]{'\xBC'});
    std::vector<uint32_t> alone = draw(lead.get(), 1);
    // Cut off after its lead byte, "简" is that lone byte, not the character.
    EXPECT_EQ(alone, draw(kJianDan, 1));
    EXPECT_NE(alone, draw(kJianDan, 2));
    DeleteObject(font);
}

// Text drawn white on black at the top left, in the given quality.
struct DrawnText {
    std::unique_ptr<Canvas> canvas;
    SIZE extent{};
};

DrawnText Draw(const char* text, int height, DWORD quality, bool topDown = true)
{
    DrawnText out;
    out.canvas = std::make_unique<Canvas>(96, 48, topDown);
    HFONT font = MakeFont(height, "", quality);
    HGDIOBJ old = SelectObject(out.canvas->dc, font);
    int n = int(std::strlen(text));
    out.extent = Extent(out.canvas->dc, text, n);
    EXPECT_TRUE(ExtTextOutA(out.canvas->dc, 0, 0, ETO_OPAQUE, nullptr, text, UINT(n), nullptr));
    SelectObject(out.canvas->dc, old);
    DeleteObject(font);
    return out;
}

TEST(ExtTextOutA, WhiteOnBlackLeavesGreyCoverageInsideTheTextCell)
{
    for (const char* text : {kJianDan, "Ab", "简A"}) {
        SCOPED_TRACE(text);
        DrawnText d = Draw(text, -16, ANTIALIASED_QUALITY);
        const Canvas& c = *d.canvas;
        Box box = LitBox(c);
        ASSERT_FALSE(box.Empty());
        EXPECT_GE(box.left, 0);
        EXPECT_LT(box.right, d.extent.cx);
        EXPECT_LT(box.bottom, d.extent.cy);
        // Ink reaches most of the way across the advance: nothing is drawn twice or skipped.
        EXPECT_GT(box.right, d.extent.cx * 3 / 4);
        for (int y = 0; y < c.height; ++y) {
            for (int x = 0; x < c.width; ++x) {
                uint32_t p = c.At(x, y);
                ASSERT_EQ(p & 0xFF, p >> 8 & 0xFF) << x << "," << y;
                ASSERT_EQ(p & 0xFF, p >> 16 & 0xFF) << x << "," << y;
                ASSERT_EQ(0u, p >> 24) << x << "," << y;
            }
        }
    }
}

TEST(ExtTextOutA, BothHanziOfAPairAreDrawnSideBySide)
{
    DrawnText d = Draw(kJianDan, -16, ANTIALIASED_QUALITY);
    int half = d.extent.cx / 2;
    int left = 0, right = 0;
    for (int y = 0; y < d.canvas->height; ++y)
        for (int x = 0; x < d.extent.cx; ++x)
            (x < half ? left : right) += d.canvas->At(x, y) & 0xFF ? 1 : 0;
    EXPECT_GT(left, 20);
    EXPECT_GT(right, 20);
}

TEST(ExtTextOutA, RedrawingOneCellLeavesNoTraceOfTheGlyphBefore)
{
    // One reused cell, one character after another: how a glyph cache fills its cells.
    HFONT font = MakeFont(16);
    auto draw = [&](std::vector<const char*> texts) {
        Canvas canvas(17, 17);
        SelectObject(canvas.dc, font);
        for (const char* text : texts)
            EXPECT_TRUE(ExtTextOutA(canvas.dc, 0, 0, ETO_OPAQUE, nullptr, text, 2, nullptr));
        SelectObject(canvas.dc, canvas.oldBitmap);
        return canvas.Copy();
    };
    EXPECT_EQ(draw({kJianDan + 2}), draw({kJianDan, kJianDan + 2}));
    EXPECT_NE(draw({kJianDan}), draw({kJianDan + 2}));
    DeleteObject(font);
}

TEST(ExtTextOutA, PrintableAsciiStaysInsideItsMeasuredCell)
{
    // Laid out as an atlas: each character at its own pen position, measured first.
    Canvas canvas(256, 256);
    HFONT font = MakeFont(-16);
    SelectObject(canvas.dc, font);
    for (int ch = 0x21; ch < 0x7F; ++ch) {
        SCOPED_TRACE(ch);
        char text[1] = {char(ch)};
        SIZE size = Extent(canvas.dc, text, 1);
        std::fill(canvas.bits, canvas.bits + 256 * 256, 0u);
        ASSERT_TRUE(ExtTextOutA(canvas.dc, 100, 100, ETO_OPAQUE, nullptr, text, 1, nullptr));
        Box box = LitBox(canvas);
        ASSERT_FALSE(box.Empty());
        // Overhangs to the left (a 'J') stay within the two-pixel gap an atlas leaves.
        EXPECT_GE(box.left, 100 - 2);
        EXPECT_LE(box.right, 100 + size.cx);
        EXPECT_GE(box.top, 100);
        EXPECT_LT(box.bottom, 100 + size.cy);
    }
    SelectObject(canvas.dc, canvas.oldBitmap);
    DeleteObject(font);
}

TEST(ExtTextOutA, AntialiasedQualityBlendsWhereNonAntialiasedOnlySetsAndClears)
{
    auto levels = [](const DrawnText& d) {
        int partial = 0, full = 0;
        for (int y = 0; y < d.canvas->height; ++y) {
            for (int x = 0; x < d.canvas->width; ++x) {
                uint32_t v = d.canvas->At(x, y) & 0xFF;
                partial += v > 0 && v < 255;
                full += v == 255;
            }
        }
        return std::make_pair(partial, full);
    };
    auto smooth = levels(Draw(kJianDan, -16, ANTIALIASED_QUALITY));
    auto sharp = levels(Draw(kJianDan, -16, NONANTIALIASED_QUALITY));
    EXPECT_GT(smooth.first, 10);
    EXPECT_EQ(0, sharp.first);
    EXPECT_GT(sharp.second, 20);
}

TEST(ExtTextOutA, BottomUpSectionsStoreTheTopRowLast)
{
    DrawnText down = Draw("Ab", -16, ANTIALIASED_QUALITY, true);
    DrawnText up = Draw("Ab", -16, ANTIALIASED_QUALITY, false);
    for (int y = 0; y < down.canvas->height; ++y)
        for (int x = 0; x < down.canvas->width; ++x)
            ASSERT_EQ(down.canvas->At(x, y), up.canvas->At(x, y, false)) << x << "," << y;
    EXPECT_FALSE(LitBox(*up.canvas, false).Empty());
    EXPECT_LT(LitBox(*up.canvas, false).bottom, 20);
}

TEST(ExtTextOutA, TextColourTintsTheCoverage)
{
    Canvas canvas(64, 32);
    HFONT font = MakeFont(-16, "", NONANTIALIASED_QUALITY);
    SelectObject(canvas.dc, font);
    SetTextColor(canvas.dc, RGB(255, 0, 128));
    ASSERT_TRUE(ExtTextOutA(canvas.dc, 0, 0, ETO_OPAQUE, nullptr, kJianDan, 4, nullptr));
    int lit = 0;
    for (int y = 0; y < canvas.height; ++y) {
        for (int x = 0; x < canvas.width; ++x) {
            uint32_t p = canvas.At(x, y);
            ASSERT_TRUE(p == 0 || p == 0xFF0080u) << std::hex << p;
            lit += p != 0;
        }
    }
    EXPECT_GT(lit, 20);
    SelectObject(canvas.dc, canvas.oldBitmap);
    DeleteObject(font);
}

TEST(ExtTextOutA, OpaqueFillsTheRectangleAndTheCellWithTheBackground)
{
    Canvas canvas(64, 32);
    HFONT font = MakeFont(-16);
    SelectObject(canvas.dc, font);
    std::fill(canvas.bits, canvas.bits + 64 * 32, 0xFF123456u);
    SetBkColor(canvas.dc, RGB(0, 0, 255));
    RECT rect{40, 4, 60, 12};
    ASSERT_TRUE(ExtTextOutA(canvas.dc, 0, 0, ETO_OPAQUE, &rect, "", 0, nullptr));
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 64; ++x) {
            bool inside = x >= 40 && x < 60 && y >= 4 && y < 12;
            ASSERT_EQ(inside ? 0x000000FFu : 0xFF123456u, canvas.At(x, y)) << x << "," << y;
        }
    }

    // In OPAQUE mode the text's own cell is filled too; TRANSPARENT keeps what is below.
    SIZE size = Extent(canvas.dc, "b", 1);
    ASSERT_TRUE(ExtTextOutA(canvas.dc, 0, 0, 0, nullptr, "b", 1, nullptr));
    EXPECT_EQ(0x000000FFu, canvas.At(0, 0));
    EXPECT_EQ(0xFF123456u, canvas.At(size.cx, 0));
    EXPECT_EQ(0xFF123456u, canvas.At(0, size.cy));
    EXPECT_EQ(OPAQUE, SetBkMode(canvas.dc, TRANSPARENT));
    ASSERT_TRUE(ExtTextOutA(canvas.dc, 20, 0, 0, nullptr, "b", 1, nullptr));
    EXPECT_EQ(0xFF123456u, canvas.At(20, 0));
    SelectObject(canvas.dc, canvas.oldBitmap);
    DeleteObject(font);
}

TEST(ExtTextOutA, AlignmentMovesTheReferencePointOnly)
{
    Canvas probe(8, 8);
    HFONT font = MakeFont(-16);
    SelectObject(probe.dc, font);
    TEXTMETRICA tm{};
    GetTextMetricsA(probe.dc, &tm);
    int w = Extent(probe.dc, "Ab", 2).cx;
    struct Case {
        UINT align;
        int x, y;
    };
    const Case cases[] = {
        {TA_TOP | TA_LEFT, 10, 5},
        {TA_BASELINE | TA_LEFT, 10, 5 + int(tm.tmAscent)},
        {TA_BOTTOM | TA_LEFT, 10, 5 + int(tm.tmHeight)},
        {TA_TOP | TA_RIGHT, 10 + w, 5},
        {TA_TOP | TA_CENTER, 10 + w / 2, 5},
    };
    std::vector<uint32_t> expected;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.align);
        Canvas canvas(64, 40);
        SelectObject(canvas.dc, font);
        EXPECT_EQ(UINT(TA_TOP | TA_LEFT), SetTextAlign(canvas.dc, c.align));
        ASSERT_TRUE(ExtTextOutA(canvas.dc, c.x, c.y, ETO_OPAQUE, nullptr, "Ab", 2, nullptr));
        if (expected.empty()) {
            expected = canvas.Copy();
            EXPECT_GE(LitBox(canvas).top, 5);
            EXPECT_GE(LitBox(canvas).left, 10);
        } else {
            EXPECT_EQ(expected, canvas.Copy());
        }
        SelectObject(canvas.dc, canvas.oldBitmap);
    }
    SelectObject(probe.dc, probe.oldBitmap);
    DeleteObject(font);
}

TEST(ExtTextOutA, UpdatingTheCurrentPositionContinuesWhereTheLastCallEnded)
{
    HFONT font = MakeFont(-16);
    Canvas once(64, 32), twice(64, 32);
    SelectObject(once.dc, font);
    SelectObject(twice.dc, font);
    ASSERT_TRUE(ExtTextOutA(once.dc, 0, 0, 0, nullptr, "Ab", 2, nullptr));
    SetTextAlign(twice.dc, TA_UPDATECP);
    // The position starts at the origin; x and y are ignored while it is used.
    ASSERT_TRUE(ExtTextOutA(twice.dc, 30, 9, 0, nullptr, "A", 1, nullptr));
    ASSERT_TRUE(ExtTextOutA(twice.dc, 30, 9, 0, nullptr, "b", 1, nullptr));
    EXPECT_EQ(once.Copy(), twice.Copy());
    SelectObject(once.dc, once.oldBitmap);
    SelectObject(twice.dc, twice.oldBitmap);
    DeleteObject(font);
}

TEST(ExtTextOutA, ClippedTextStaysInsideTheRectangle)
{
    Canvas canvas(64, 32);
    HFONT font = MakeFont(-16);
    SelectObject(canvas.dc, font);
    RECT clip{4, 3, 12, 9};
    ASSERT_TRUE(ExtTextOutA(canvas.dc, 0, 0, ETO_CLIPPED, &clip, kJianDan, 4, nullptr));
    Box box = LitBox(canvas);
    ASSERT_FALSE(box.Empty());
    EXPECT_GE(box.left, 4);
    EXPECT_GE(box.top, 3);
    EXPECT_LT(box.right, 12);
    EXPECT_LT(box.bottom, 9);
    SelectObject(canvas.dc, canvas.oldBitmap);
    DeleteObject(font);
}

TEST(ExtTextOutA, SpacingArrayPlacesEachCharacter)
{
    Canvas canvas(96, 32);
    HFONT font = MakeFont(-16);
    SelectObject(canvas.dc, font);
    SetBkMode(canvas.dc, TRANSPARENT);
    ASSERT_TRUE(ExtTextOutA(canvas.dc, 0, 0, 0, nullptr, "l", 1, nullptr));
    Box one = LitBox(canvas);
    std::fill(canvas.bits, canvas.bits + 96 * 32, 0u);
    const INT dx[] = {40, 0};
    ASSERT_TRUE(ExtTextOutA(canvas.dc, 0, 0, 0, nullptr, "ll", 2, dx));
    Box two = LitBox(canvas);
    EXPECT_EQ(one.left, two.left);
    EXPECT_EQ(one.right + 40, two.right);
    SelectObject(canvas.dc, canvas.oldBitmap);
    DeleteObject(font);
}

TEST(CreateFont, WidthAndItalicReshapeTheGlyphs)
{
    Canvas canvas(8, 8);
    auto extentOf = [&](int width, BOOL italic) {
        HFONT font = CreateFontA(-16, width, 0, 0, FW_NORMAL, italic, FALSE, FALSE, DEFAULT_CHARSET,
                                 0, 0, ANTIALIASED_QUALITY, 0, "");
        EXPECT_NE(nullptr, font);
        HGDIOBJ old = SelectObject(canvas.dc, font);
        TEXTMETRICA tm{};
        GetTextMetricsA(canvas.dc, &tm);
        SIZE size = Extent(canvas.dc, "mmmm", 4);
        EXPECT_EQ(italic ? 1 : 0, tm.tmItalic);
        SelectObject(canvas.dc, old);
        DeleteObject(font);
        return std::make_pair(size.cx, tm.tmAveCharWidth);
    };
    auto normal = extentOf(0, FALSE);
    auto wide = extentOf(normal.second * 2, FALSE);
    EXPECT_NEAR(normal.first * 2, wide.first, 4);
    EXPECT_NEAR(normal.second * 2, wide.second, 1);
    EXPECT_EQ(normal.first, extentOf(0, TRUE).first);
}

TEST(CreateFont, BoldInksMoreThanNormal)
{
    auto ink = [](int weight) {
        Canvas canvas(64, 32);
        HFONT font = MakeFont(-16, "", ANTIALIASED_QUALITY, weight);
        SelectObject(canvas.dc, font);
        ExtTextOutA(canvas.dc, 0, 0, ETO_OPAQUE, nullptr, kJianDan, 4, nullptr);
        long sum = 0;
        for (int i = 0; i < 64 * 32; ++i)
            sum += canvas.bits[i] & 0xFF;
        SelectObject(canvas.dc, canvas.oldBitmap);
        DeleteObject(font);
        return sum;
    };
    EXPECT_GT(ink(FW_BOLD), ink(FW_NORMAL) * 11 / 10);
}

TEST(SelectObject, ReturnsWhatWasSelectedBefore)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HDC other = CreateCompatibleDC(dc);
    ASSERT_NE(nullptr, dc);
    ASSERT_NE(nullptr, other);
    EXPECT_EQ(DWORD(OBJ_MEMDC), GetObjectType(dc));
    // A new DC draws with the system font, a 16-pixel cell.
    TEXTMETRICA tm{};
    ASSERT_TRUE(GetTextMetricsA(dc, &tm));
    EXPECT_EQ(16, tm.tmHeight);
    HFONT first = MakeFont(-12);
    HFONT second = MakeFont(-20);
    HGDIOBJ stockFont = SelectObject(dc, first);
    ASSERT_NE(nullptr, stockFont);
    EXPECT_EQ(DWORD(OBJ_FONT), GetObjectType(stockFont));
    EXPECT_EQ(HGDIOBJ(first), SelectObject(dc, second));
    EXPECT_EQ(HGDIOBJ(second), SelectObject(dc, stockFont));

    Canvas canvas(4, 4);
    // A bitmap is selected into one DC at a time.
    EXPECT_EQ(nullptr, SelectObject(other, canvas.bitmap));
    EXPECT_EQ(HGDIOBJ(canvas.bitmap), SelectObject(canvas.dc, canvas.oldBitmap));
    HGDIOBJ stockBitmap = SelectObject(other, canvas.bitmap);
    EXPECT_EQ(DWORD(OBJ_BITMAP), GetObjectType(stockBitmap));
    EXPECT_EQ(HGDIOBJ(canvas.bitmap), SelectObject(other, stockBitmap));
    SelectObject(canvas.dc, canvas.bitmap);

    EXPECT_TRUE(DeleteObject(first));
    EXPECT_TRUE(DeleteObject(second));
    EXPECT_TRUE(DeleteDC(other));
    EXPECT_TRUE(DeleteDC(dc));
}

TEST(DeleteObject, FreesNowOrWhenTheLastDcLetsGo)
{
    HFONT font = MakeFont(-16);
    EXPECT_TRUE(DeleteObject(font));
    EXPECT_EQ(0u, GetObjectType(font));
    EXPECT_FALSE(DeleteObject(font));

    // The fonts' own order: the DIB and the font go while still selected, then the DC.
    auto canvas = std::make_unique<Canvas>(16, 16);
    HDC dc = canvas->dc;
    HBITMAP bitmap = canvas->bitmap;
    font = MakeFont(-12);
    SelectObject(dc, font);
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_TRUE(DeleteObject(font));
    EXPECT_EQ(nullptr, SelectObject(dc, font));
    EXPECT_TRUE(ExtTextOutA(dc, 0, 0, ETO_OPAQUE, nullptr, "A", 1, nullptr));
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_EQ(0u, GetObjectType(bitmap));
    EXPECT_EQ(0u, GetObjectType(font));
    EXPECT_FALSE(DeleteDC(dc));
    canvas->dc = nullptr;
    canvas->bitmap = nullptr;
    canvas->oldBitmap = nullptr;
}

TEST(Gdi, BadInputFailsWithoutTouchingAnything)
{
    HDC bogus = reinterpret_cast<HDC>(uintptr_t(0x1234));
    SIZE size{};
    TEXTMETRICA tm{};
    char face[8];
    EXPECT_EQ(nullptr, CreateCompatibleDC(bogus));
    EXPECT_FALSE(DeleteDC(nullptr));
    EXPECT_FALSE(DeleteDC(bogus));
    EXPECT_FALSE(DeleteObject(nullptr));
    EXPECT_FALSE(DeleteObject(bogus));
    EXPECT_EQ(nullptr, SelectObject(nullptr, nullptr));
    EXPECT_EQ(CLR_INVALID, SetTextColor(nullptr, 0));
    EXPECT_EQ(CLR_INVALID, SetBkColor(bogus, 0));
    EXPECT_EQ(0, SetBkMode(nullptr, OPAQUE));
    EXPECT_EQ(UINT(GDI_ERROR), SetTextAlign(nullptr, TA_TOP));
    EXPECT_EQ(0, SetMapMode(nullptr, MM_TEXT));
    EXPECT_FALSE(GetTextMetricsA(nullptr, &tm));
    EXPECT_EQ(0, GetTextFaceA(bogus, 8, face));
    EXPECT_FALSE(GetTextExtentPoint32A(nullptr, "a", 1, &size));
    EXPECT_FALSE(ExtTextOutA(bogus, 0, 0, 0, nullptr, "a", 1, nullptr));
    EXPECT_EQ(nullptr, CreateFontIndirectA(nullptr));

    Canvas canvas(4, 4);
    EXPECT_FALSE(GetTextExtentPoint32A(canvas.dc, nullptr, 1, &size));
    EXPECT_FALSE(GetTextExtentPoint32A(canvas.dc, "a", 1, nullptr));
    EXPECT_FALSE(GetTextExtentPoint32A(canvas.dc, "a", -1, &size));
    EXPECT_FALSE(GetTextMetricsA(canvas.dc, nullptr));
    EXPECT_FALSE(ExtTextOutA(canvas.dc, 0, 0, 0, nullptr, nullptr, 1, nullptr));
    EXPECT_FALSE(TextOutA(canvas.dc, 0, 0, "a", -1));
    EXPECT_EQ(0, SetBkMode(canvas.dc, 7));
    EXPECT_EQ(MM_TEXT, SetMapMode(canvas.dc, MM_TEXT));
    // Drawing far outside the section is clipped, not written.
    EXPECT_TRUE(ExtTextOutA(canvas.dc, -500, 900, ETO_OPAQUE, nullptr, kJianDan, 4, nullptr));
    EXPECT_TRUE(LitBox(canvas).Empty());
    EXPECT_FALSE(ExtTextOutA(canvas.dc, INT_MAX, 0, ETO_OPAQUE, nullptr, kJianDan, 4, nullptr));

    struct DibCase {
        LONG width, height;
        WORD bits;
        DWORD compression;
    };
    for (DibCase c : {DibCase{0, 4, 32, BI_RGB}, DibCase{4, 0, 32, BI_RGB},
                      DibCase{-4, 4, 32, BI_RGB}, DibCase{4, 4, 24, BI_RGB},
                      DibCase{4, 4, 32, BI_BITFIELDS}, DibCase{1 << 20, 4, 32, BI_RGB}}) {
        SCOPED_TRACE(c.width);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = c.width;
        info.bmiHeader.biHeight = c.height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = c.bits;
        info.bmiHeader.biCompression = c.compression;
        void* bits = &info;
        EXPECT_EQ(nullptr, CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        EXPECT_EQ(nullptr, bits);
    }
    void* bits = nullptr;
    EXPECT_EQ(nullptr, CreateDIBSection(nullptr, nullptr, DIB_RGB_COLORS, &bits, nullptr, 0));
    BITMAPINFO good{};
    good.bmiHeader = {sizeof(BITMAPINFOHEADER), 4, -4, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    EXPECT_EQ(nullptr, CreateDIBSection(bogus, &good, DIB_RGB_COLORS, &bits, nullptr, 0));
}

} // namespace
