// The game's GUI skin, "GUI/Mac/": seven 64 x 64 textures cut by the skin's drawers.
//
// Cut lines, in pixels of 64 (u across, v down; a range a..b covers pixels a to b-1):
//
//   Button.png        rows: normal v 1..21, hover v 22..42, pressed v 44..64 (v 0, 21,
//                     42, 43 empty); in each row the left cap u 0..12, the stretched
//                     middle u 12..52 (every column alike), the right cap u 52..64; the
//                     rounded ends stay inside the outer 11 pixels.
//   Dialog.png        the body, tiled: repeats seamlessly every 64 pixels both ways.
//   DialogTitle.tga   title bar v 0..24: left cap u 0..15, middle u 15..48 (stretched,
//                     columns alike), right cap u 48..64;
//                     side borders v 24..40 (stretched down, rows alike): left u 0..10,
//                     right u 54..64;
//                     top border of a dialog without caption v 40..52: corners u 0..10
//                     and 54..64, middle u 10..54;
//                     bottom border v 52..64: corners u 0..10 and 54..64, middle u 10..54.
//   SlaveButtons.tga  v 0..16: check box checked u 0..14, unchecked u 16..32, arrow "<"
//                     u 32..48, arrow ">" u 48..64 (drawn turned for "@<" up, "@>" down);
//                     thumb u 0..16: top cap v 16..22, middle v 22..58 (tiled), bottom cap
//                     v 58..64 (turned for the horizontal thumb "@");
//                     scroll-bar track u 16..32: top cap v 16..28, middle v 28..52
//                     (tiled), bottom cap v 52..64.
//   ComboBox.png      field v 0..24: left cap u 0..6, middle u 6..52 (stretched), the drop
//                     arrow piece u 52..64; "+" button u 0..16, v 32..48.
//   InputLine.png     a nine-piece field: borders 4 pixels (u and v 0..4, 4..60, 60..64).
//   Menu.tga          the sub-menu mark: u 0..8, v 0..10.
#include "ArtTool.h"

#include <cmath>

namespace art {

namespace {

constexpr int kSize = 64;

struct ButtonLook {
    Rgba top, bottom, border, shine;
};

// One pill-shaped bar over the full width in rows [y0, y1): a vertical gradient, a border
// and a highlight line. The corners' radius (8) keeps them inside the 11-pixel caps, so
// the columns of the middle are alike and stretch without seams.
void DrawBar(Canvas& c, int y0, int y1, const ButtonLook& look, float radius = 8)
{
    float fy0 = float(y0), fy1 = float(y1);
    c.Fill(0, fy0, kSize, fy1,
           [&](float x, float y) { return RoundedBoxDistance(x, y, 0, fy0, kSize, fy1, radius) <= 0; },
           [&](float x, float y) {
               float t = (y - fy0) / (fy1 - fy0);
               Rgba colour = Mix(look.top, look.bottom, t);
               float d = -RoundedBoxDistance(x, y, 0, fy0, kSize, fy1, radius);
               if (d < 1.2f)
                   colour = look.border;
               else if (y - fy0 < 2.6f)
                   colour = Mix(colour, look.shine, 0.7f);
               return colour;
           });
}

Canvas MakeButton()
{
    Canvas c(kSize, kSize);
    DrawBar(c, 1, 21, {Hex(0xC4D2E6), Hex(0x8198BA), Hex(0x4A5A78), Hex(0xFFFFFF)});
    DrawBar(c, 22, 42, {Hex(0xDCE9F8), Hex(0x97B2D8), Hex(0x3F6EB0), Hex(0xFFFFFF)});
    DrawBar(c, 44, 64, {Hex(0x6E84A4), Hex(0x9AAECB), Hex(0x34425A), Hex(0x5C7090)});
    return c;
}

Canvas MakeDialogBody()
{
    Canvas c(kSize, kSize);
    c.Paint(0, 0, kSize, kSize, [](float x, float y) {
        float n = PeriodicNoise(x / 8, y / 8, 8, 11) * 0.6f + PeriodicNoise(x / 4, y / 4, 16, 12) * 0.4f;
        Rgba base = Hex(0xE6EAF1, 0.94f);
        float k = (n - 0.5f) * 0.05f;
        return Rgba{base.r + k, base.g + k, base.b + k * 0.6f, base.a};
    });
    return c;
}

Canvas MakeDialogFrame()
{
    Canvas c(kSize, kSize);
    const Rgba edge = Hex(0x2C3E5C), light = Hex(0x8FA8CC), frame = Hex(0x4E6A94);
    // Title bar: a dark blue gradient, rounded top corners inside the caps.
    c.Fill(0, 0, kSize, 24,
           [](float x, float y) { return RoundedBoxDistance(x, y, 0, 0, kSize, 32, 7) <= 0; },
           [&](float x, float y) {
               float d = -RoundedBoxDistance(x, y, 0, 0, kSize, 32, 7);
               if (d < 1.2f)
                   return edge;
               if (y < 2.5f)
                   return light;
               return Mix(Hex(0x4A6C9E), Hex(0x2A4268), y / 24);
           });
    // Side borders: columns of a bevel, rows alike.
    auto bevel = [&](float across, float width) {
        float t = across / width;
        if (t < 0.12f || t > 0.88f)
            return edge;
        return Mix(light, frame, std::fabs(t - 0.3f) * 1.6f);
    };
    c.Paint(0, 24, 10, 40, [&](float x, float) { return bevel(x, 10); });
    c.Paint(54, 24, 64, 40, [&](float x, float) { return bevel(64 - x, 10); });
    // Bottom border with rounded outer corners, and the same turned over as a top border.
    auto border = [&](int y0, bool bottom) {
        float fy0 = float(y0), fy1 = fy0 + 12;
        c.Fill(0, fy0, kSize, fy1,
               [&](float x, float y) {
                   float yy = bottom ? y : 2 * fy0 + 12 - y;
                   return RoundedBoxDistance(x, yy, 0, fy0 - 20, kSize, fy1, 7) <= 0;
               },
               [&](float x, float y) {
                   float yy = bottom ? y - fy0 : fy1 - y;  // 0 at the dialog's side
                   float side = std::fmin(x, 64 - x);
                   if (yy > 10.6f || side < 1.2f)
                       return edge;
                   if (side < 10 && yy > side)
                       return bevel(side, 10);
                   return Mix(frame, light, Clamp01(1 - yy / 10) * 0.5f);
               });
    };
    border(40, false);
    border(52, true);
    return c;
}

// A small box for the check button; checked carries a tick.
void DrawCheck(Canvas& c, float x0, float x1, bool checked)
{
    c.Fill(x0 + 1, 1, x1 - 1, 15,
           [&](float x, float y) { return RoundedBoxDistance(x, y, x0 + 1, 1, x1 - 1, 15, 3) <= 0; },
           [&](float x, float y) {
               float d = -RoundedBoxDistance(x, y, x0 + 1, 1, x1 - 1, 15, 3);
               return d < 1.2f ? Hex(0x4A5A78) : Mix(Hex(0xFFFFFF), Hex(0xC8D4E4), y / 16);
           });
    if (checked) {
        float cx = (x0 + x1) / 2;
        c.FillCapsule(cx - 4, 8, cx - 1, 11, 2.4f, Hex(0x2A62B8));
        c.FillCapsule(cx - 1, 11, cx + 4, 4.5f, 2.4f, Hex(0x2A62B8));
    }
}

void DrawArrowButton(Canvas& c, float x0, bool right)
{
    c.Fill(x0 + 1, 1, x0 + 15, 15,
           [&](float x, float y) { return RoundedBoxDistance(x, y, x0 + 1, 1, x0 + 15, 15, 3) <= 0; },
           [&](float x, float y) {
               float d = -RoundedBoxDistance(x, y, x0 + 1, 1, x0 + 15, 15, 3);
               return d < 1.2f ? Hex(0x4A5A78) : Mix(Hex(0xD6E2F2), Hex(0x8EA4C6), y / 16);
           });
    float tip = right ? x0 + 11 : x0 + 5, back = right ? x0 + 5.5f : x0 + 10.5f;
    c.FillPolygon({tip, 8, back, 4, back, 12}, Hex(0x2C3E5C));
}

Canvas MakeSlaveButtons()
{
    Canvas c(kSize, kSize);
    DrawCheck(c, 0, 14, true);
    DrawCheck(c, 16, 32, false);
    DrawArrowButton(c, 32, false);
    DrawArrowButton(c, 48, true);
    // Thumb, u 0..16: a vertical rounded bar whose caps are the top and bottom 6 pixels.
    c.Fill(1, 16, 15, 64,
           [](float x, float y) { return RoundedBoxDistance(x, y, 1, 16, 15, 64, 5) <= 0; },
           [](float x, float y) {
               float d = -RoundedBoxDistance(x, y, 1, 16, 15, 64, 5);
               if (d < 1.2f)
                   return Hex(0x3F5A86);
               return Mix(Hex(0xBFD3EE), Hex(0x6F8DBA), (x - 1) / 14);
           });
    // Track, u 16..32: a sunken groove with rounded ends in the 12-pixel caps.
    c.Fill(18, 16, 30, 64,
           [](float x, float y) { return RoundedBoxDistance(x, y, 18, 17, 30, 63, 6) <= 0; },
           [](float x, float y) {
               float d = -RoundedBoxDistance(x, y, 18, 17, 30, 63, 6);
               return d < 1.2f ? Hex(0x7A8AA6) : Mix(Hex(0xB4C0D2), Hex(0xE4EAF2), (x - 18) / 12);
           });
    return c;
}

Canvas MakeComboBox()
{
    Canvas c(kSize, kSize);
    c.Fill(0, 0, kSize, 24,
           [](float x, float y) { return RoundedBoxDistance(x, y, 0, 0, kSize, 24, 5) <= 0; },
           [](float x, float y) {
               float d = -RoundedBoxDistance(x, y, 0, 0, kSize, 24, 5);
               if (d < 1.2f)
                   return Hex(0x4A5A78);
               if (x >= 52)  // the drop-arrow piece
                   return Mix(Hex(0xC4D2E6), Hex(0x7E94B6), y / 24);
               return Mix(Hex(0xFFFFFF), Hex(0xE8EDF4), y / 24);
           });
    c.Paint(52, 2, 53, 22, [](float, float) { return Hex(0x4A5A78); });
    c.FillPolygon({54.5f, 9.5f, 61.5f, 9.5f, 58, 15}, Hex(0x2C3E5C));
    // "+" button.
    c.Fill(0, 32, 16, 48,
           [](float x, float y) { return RoundedBoxDistance(x, y, 0.5f, 32.5f, 15.5f, 47.5f, 3) <= 0; },
           [](float x, float y) {
               float d = -RoundedBoxDistance(x, y, 0.5f, 32.5f, 15.5f, 47.5f, 3);
               return d < 1.2f ? Hex(0x4A5A78) : Mix(Hex(0xD6E2F2), Hex(0x8EA4C6), (y - 32) / 16);
           });
    c.FillCapsule(4, 40, 12, 40, 2.4f, Hex(0x2C3E5C));
    c.FillCapsule(8, 36, 8, 44, 2.4f, Hex(0x2C3E5C));
    return c;
}

Canvas MakeInputLine()
{
    Canvas c(kSize, kSize);
    c.Paint(0, 0, kSize, kSize, [](float x, float y) {
        float side = std::fmin(std::fmin(x, 64 - x), std::fmin(y, 64 - y));
        if (side < 1)
            return Hex(0x5A6A88);
        if (side < 2)
            return (x < 4 || y < 4) ? Hex(0x9AA8BE) : Hex(0xE8EEF6);  // sunken bevel
        return Hex(0xFFFFFF, 0.96f);
    });
    return c;
}

Canvas MakeMenuMark()
{
    Canvas c(kSize, kSize);
    c.FillPolygon({1.5f, 1, 7.5f, 5, 1.5f, 9}, Hex(0x2C3E5C));
    return c;
}

}  // namespace

void MakeSkin(const std::string& bin)
{
    std::string dir = bin + "GUI/Mac/";
    MakeFolder(dir);
    Save(MakeButton(), dir + "Button.png");
    Save(MakeDialogBody(), dir + "Dialog.png");
    Save(MakeDialogFrame(), dir + "DialogTitle.tga");
    Save(MakeSlaveButtons(), dir + "SlaveButtons.tga");
    Save(MakeComboBox(), dir + "ComboBox.png");
    Save(MakeInputLine(), dir + "InputLine.png");
    Save(MakeMenuMark(), dir + "Menu.tga");
}

}  // namespace art
