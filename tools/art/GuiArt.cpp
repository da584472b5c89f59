// The pictures of "GUI/": the tile frame in its three states, the HUD panel, the particle,
// the two bars and the full-screen pointer; and the window icon beside the programs.
//
//   frame.tga, frameflyover.tga, frameselection.tga  128 x 128: the frame ring lies in the
//       outer 16 pixels (frame.x maps its ring onto exactly that band), the centre is
//       transparent. Rest: a quiet walnut bevel; hover: bright gold with a glow; selected:
//       a strong blue with a white inner line.
//   board.tga     64 x 64 nine-piece panel split at 5 and 59: rounded corners inside the
//       5-pixel corners, edges alike along their length, a translucent dark centre.
//   particle.tga  64 x 64 soft round glow, white, colour and alpha falling off together
//       (reads the same whether the blend adds colour or colour times alpha).
//   lifebar.jpg, combobar.jpg  128 x 16: the bar is cut from the left, so the colour runs
//       along it (a short life bar shows red, a full one green) and nothing is squeezed.
//   test.png      32 x 32 arrow pointer, its tip on the top-left pixel.
//   icon7.bmp     32 x 32, the program's icon resource 7: two linked tiles. The desktop
//       entry's icons are the same picture at other sizes (MakeDesktopIcon).
#include "ArtTool.h"

#include <cmath>

namespace art {

namespace {

constexpr int kFrame = 128;
constexpr float kRing = 16;  // width of the frame band in pixels

struct FrameLook {
    Rgba outer, inner, line;
    float glow;  // 0: none
};

Canvas MakeFrame(const FrameLook& look)
{
    Canvas c(kFrame, kFrame);
    c.Paint(0, 0, kFrame, kFrame, [&](float x, float y) {
        float side = std::fmin(std::fmin(x, kFrame - x), std::fmin(y, kFrame - y));
        if (side >= kRing)
            return Rgba{look.inner.r, look.inner.g, look.inner.b, 0};
        float t = side / kRing;  // 0 at the outer edge, 1 at the inner
        Rgba colour = Mix(look.outer, look.inner, SmoothStep(0.0f, 0.8f, t));
        // Light from the top left: the top and left bands are brighter.
        bool lit = (y < x) ? (y < kFrame - x) : (x < kFrame - y);
        colour = Mix(colour, lit ? Hex(0xFFFFFF) : Hex(0x000000), lit ? 0.18f : 0.15f);
        if (side < 1.0f)
            colour = Mix(colour, Hex(0x000000), 0.5f);
        if (std::fabs(side - (kRing - 4)) < 1.0f)
            colour = look.line;
        // The inner quarter of the band fades out over the picture, or glows into it.
        float fade = look.glow > 0 ? 1 - look.glow * SmoothStep(0.5f, 1.0f, t) : 1 - SmoothStep(0.8f, 1.0f, t);
        colour.a = fade;
        return colour;
    });
    return c;
}

Canvas MakePanel()
{
    Canvas c(64, 64);
    c.Paint(0, 0, 64, 64, [](float x, float y) {
        float d = -RoundedBoxDistance(x, y, 0, 0, 64, 64, 4.5f);
        if (d < 0)
            return Rgba{0, 0, 0, 0};
        Rgba colour = Hex(0x101C30, 0.74f);
        if (d < 1.2f)
            colour = Hex(0x9DB6DA, 0.95f);
        else if (d < 2.4f)
            colour = Hex(0x2A3E60, 0.9f);
        colour.a *= Clamp01(d + 0.5f);
        return colour;
    });
    return c;
}

Canvas MakeParticle()
{
    Canvas c(64, 64);
    c.Paint(0, 0, 64, 64, [](float x, float y) {
        float r = std::hypot(x - 32, y - 32) / 32;
        float k = r >= 1 ? 0 : std::exp(-r * r * 4.5f) * (1 - r);
        return Rgba{k, k, k * 0.95f, k};
    });
    return c;
}

Canvas MakeBar(const Rgba& start, const Rgba& middle, const Rgba& end, bool stripes)
{
    Canvas c(128, 16);
    c.Paint(0, 0, 128, 16, [&](float x, float y) {
        float t = x / 128;
        Rgba colour = t < 0.5f ? Mix(start, middle, t * 2) : Mix(middle, end, t * 2 - 1);
        float gloss = 1 - std::fabs(y - 5) / 8;
        colour = Mix(colour, Hex(0xFFFFFF), Clamp01(gloss) * 0.35f);
        if (y > 12)
            colour = Mix(colour, Hex(0x000000), 0.25f);
        if (stripes && std::fmod(x + y, 12.0f) < 4)
            colour = Mix(colour, Hex(0xFFFFFF), 0.15f);
        return colour;
    });
    return c;
}

Canvas MakePointer()
{
    Canvas c(32, 32);
    // The outline first, one pixel wider, then the white arrow inside; the tip is (0, 0).
    const std::vector<float> outline = {0, 0, 0, 23.5f, 6, 18, 10, 27, 14, 25.5f, 10.5f, 17, 18, 17};
    const std::vector<float> arrow = {1.2f, 2.8f, 1.2f, 20.5f, 6.3f, 15.8f, 10.6f, 25, 12.6f, 24.2f,
                                      8.6f, 15.6f, 15.2f, 15.6f};
    c.FillPolygon(outline, Hex(0x101010));
    c.FillPolygon(arrow, Hex(0xFFFFFF));
    c.At(0, 0) = Hex(0x101010);  // the hot spot is drawn
    return c;
}

// Drawn on a 32-unit grid scaled to the picture, so every size shows the same design.
Canvas MakeIcon(int size)
{
    const float k = float(size) / 32.0f;
    Canvas c(size, size, Hex(0x1F3554));
    auto tile = [&](float x0, float y0, const Rgba& face) {
        x0 *= k;
        y0 *= k;
        const float x1 = x0 + 12 * k, y1 = y0 + 14 * k;
        c.Fill(x0, y0, x1, y1,
               [&](float x, float y) { return RoundedBoxDistance(x, y, x0, y0, x1, y1, 2.5f * k) <= 0; },
               [&](float, float y) { return Mix(Hex(0xFBF6EC), face, (y - y0) / (14 * k) * 0.5f); });
        c.FillCircle(x0 + 6 * k, y0 + 7 * k, 3.2f * k, face);
    };
    tile(3, 4, Hex(0xE0475A));
    tile(17, 14, Hex(0xE0475A));
    c.FillCapsule(9 * k, 18 * k, 9 * k, 25 * k, 1.6f * k, Hex(0xF2C14E));
    c.FillCapsule(9 * k, 25 * k, 17 * k, 25 * k, 1.6f * k, Hex(0xF2C14E));
    return c;
}

}  // namespace

void MakeGuiPictures(const std::string& bin)
{
    std::string dir = bin + "GUI/";
    MakeFolder(dir);
    Save(MakeFrame({Hex(0x5A3E24), Hex(0x9A7450), Hex(0xC8A878), 0}), dir + "frame.tga");
    Save(MakeFrame({Hex(0xC8901E), Hex(0xFFE08A), Hex(0xFFF6D0), 0.6f}), dir + "frameflyover.tga");
    Save(MakeFrame({Hex(0x1450B4), Hex(0x46A8FF), Hex(0xFFFFFF), 0.8f}), dir + "frameselection.tga");
    Save(MakePanel(), dir + "board.tga");
    Save(MakeParticle(), dir + "particle.tga");
    Save(MakeBar(Hex(0xD8281E), Hex(0xF2C12E), Hex(0x3CC44A), false), dir + "lifebar.jpg");
    Save(MakeBar(Hex(0x1E7AD8), Hex(0x7A4AE0), Hex(0xE040B0), true), dir + "combobar.jpg");
    Save(MakePointer(), dir + "test.png");
    Save(MakeIcon(32), bin + "icon7.bmp");
}

void MakeDesktopIcon(int size, const std::string& path)
{
    if (size < 16 || size > 1024)
        throw ArtError("icon size out of range: " + std::to_string(size));
    Save(MakeIcon(size), path);
}

}  // namespace art
