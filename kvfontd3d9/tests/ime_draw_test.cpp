// Chinese composition as the player sees it: a composition and a candidate list pushed
// through the offscreen window's input method into an input line, drawn by the default
// style on the Direct3D backend with the glyph-cache font, read back from the device.
// The picture is kept as ime_composition.bmp beside the test for a person to look at.
#include "FontFixture.h"

#include <WIME.h>
#include <WInputLine.h>
#include <WListBox.h>

#include <sdl_events.h>
#include <vexa/ime.h>

namespace {

class ImeDrawTest : public FontTest {
protected:
    void TearDown() override
    {
        FreeZeb();
        FontTest::TearDown();
    }
    static void Pump()
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    // The pixels of the last frame whose colour is near c.
    PixelBox Coloured(DWORD c, int x0, int y0, int x1, int y1) const
    {
        return Find([c](DWORD p) { return Near(p, c & 0xFFFFFF, 24); }, x0, y0, x1, y1);
    }
};

// Alpha a of colour c over the colour below, per channel, as the blend draws it.
DWORD Over(DWORD c, DWORD below)
{
    const DWORD a = c >> 24;
    DWORD out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const DWORD top = (c >> shift) & 0xFF, bottom = (below >> shift) & 0xFF;
        out |= ((top * a + bottom * (255 - a)) / 255) << shift;
    }
    return out;
}

TEST_F(ImeDrawTest, CompositionUnderlineTargetAndCandidateWindowAreDrawn)
{
    Start(640, 480);
    auto* font = new kvCFont(d3d->pDevice);
    font->InitFont(16, WTEXT_CENTRE, "", 1, false);
    SetOutText(font);
    InitZeb(0);
    SetDesktop(new WDesktop);
    auto* line = new WInputLine(100, 100, 300, 64, 4200, INPUT_TEXT_IME, true, 7);
    MyDesktop->AddView(line, 0);
    WIME* ime = InstalledWIME();
    ASSERT_TRUE(ime && ime->IsReceiver(line));

    // Four characters composed, the first two the clause being converted.
    ASSERT_TRUE(vexa::test::PushSdlEditing(hWnd, u8"中文输入", 0, 2));
    Pump();
    ASSERT_TRUE(vexa::platform::SetImeCandidates(hWnd, {u8"中文", u8"中午", u8"忠"}, 0, 0, 9));
    Pump();
    ASSERT_EQ(0, line->TargetStart);
    ASSERT_EQ(1, line->TargetEnd);
    ASSERT_EQ(3, line->CompEnd);
    WListBox* list = ime->CandidateList;
    ASSERT_EQ(3, list->Strings->count);

    bCursorSparkle = true;
    Frame(0xFF283848, [] { MyDesktop->Draw(); });
    const DWORD desk = At(20, 20);  // what the desktop left below the views
    std::vector<DWORD> rgb(pixels.size());
    for (size_t i = 0; i < pixels.size(); ++i)
        rgb[i] = pixels[i] & 0xFFFFFF;
    WriteBmp("ime_composition.bmp", width, height, rgb);
    files.pop_back();  // kept for a person to look at

    const int l = line->Left, t = line->Top, r = line->Right, b = line->Bottom;
    const int clause = line->RangeWidth(0, 2), composition = line->RangeWidth(0, 4);
    // The converted clause's highlight behind its two characters, from x = l + 2.
    const DWORD interior = Over(ViewPalette[0], desk);
    const PixelBox target = Coloured(Over(ViewPalette[11], interior), l, t, r, b);
    ASSERT_FALSE(target.Empty());
    EXPECT_NEAR(l + 2, target.left, 1) << target;
    EXPECT_NEAR(l + 2 + clause - 1, target.right, 1) << target;
    // The underline under the whole composition, on the row above the bottom frame: over
    // the clause's highlight (where the caret, two pixels at its start, leaves it), then on
    // the plain interior.
    const PixelBox onClause = Coloured(Over(ViewPalette[12], Over(ViewPalette[11], interior)),
                                       l, b - 3, r, b - 2);
    const PixelBox underline = Coloured(Over(ViewPalette[12], interior), l, b - 3, r, b - 2);
    ASSERT_FALSE(onClause.Empty());
    ASSERT_FALSE(underline.Empty());
    EXPECT_NEAR(l + 4, onClause.left, 1) << onClause;
    EXPECT_NEAR(l + 2 + clause - 1, onClause.right, 1) << onClause;
    EXPECT_NEAR(l + 2 + clause, underline.left, 1) << underline;
    EXPECT_NEAR(l + 2 + composition - 1, underline.right, 1) << underline;
    const PixelBox caret = Coloured(ViewPalette[9], l, t, l + 2 + clause, b);
    EXPECT_EQ(l + 2, caret.left) << caret;
    EXPECT_EQ(l + 3, caret.right) << caret;

    // The candidate window below the line, at the caret (the start of the clause).
    EXPECT_EQ(l + 2, list->Left);
    EXPECT_EQ(b, list->Top);
    const PixelBox rows = Find([](DWORD p) { return (p & 0xFF) > 0xA0 && ((p >> 8) & 0xFF) > 0xA0; },
                               list->Left, list->Top, list->Right, list->Bottom);
    EXPECT_FALSE(rows.Empty()) << "the candidates' text and selected row are drawn";
    EXPECT_GE(rows.top, list->Top);
    EXPECT_LE(rows.bottom, list->Bottom);
}

}  // namespace
