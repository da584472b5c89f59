// The three backgrounds of "GUI/BackGround/", 1024 x 768, painted procedurally.
//
// The board covers most of the screen and the HUD sits on its own panels, so the pictures
// keep low contrast and put their motifs near the edges and corners: the tiles and the
// text stay readable over any of them.
//   default.jpg  a calm blue dusk with soft rings of light
//   Tulips.jpg   a spring sky over a field, tulips along the bottom and in the corners
//   Autumn.jpg   a warm amber gradient with maple leaves drifting across
#include "ArtTool.h"

#include <cmath>

namespace art {

namespace {

constexpr int kW = 1024, kH = 768;
constexpr float kPi = 3.14159265f;

Rgba Fade(Rgba colour, float alpha)
{
    colour.a = alpha;
    return colour;
}

// A soft round light: alpha falls off smoothly to the rim.
void Glow(Canvas& c, float cx, float cy, float radius, const Rgba& colour)
{
    c.Fill(cx - radius, cy - radius, cx + radius, cy + radius,
           [&](float x, float y) { return std::hypot(x - cx, y - cy) < radius; },
           [&](float x, float y) {
               float t = 1 - std::hypot(x - cx, y - cy) / radius;
               return Fade(colour, colour.a * t * t);
           });
}

Canvas MakeDefault()
{
    Canvas c(kW, kH);
    c.Paint(0, 0, kW, kH, [](float x, float y) {
        float t = (y / kH) * 0.7f + (x / kW) * 0.3f;
        Rgba colour = Mix(Hex(0x1F3554), Hex(0x0E1A2E), t);
        float n = PeriodicNoise(x / 96, y / 96, 64, 3) - 0.5f;
        colour.r += n * 0.025f;
        colour.g += n * 0.03f;
        colour.b += n * 0.04f;
        return colour;
    });
    for (int i = 0; i < 28; ++i) {
        float x = Hash01(i, 1, 7) * kW, y = Hash01(i, 2, 7) * kH;
        float r = 30 + Hash01(i, 3, 7) * 110;
        Rgba tint = Mix(Hex(0x6FA8DC), Hex(0xB9A6E8), Hash01(i, 4, 7));
        Glow(c, x, y, r, Fade(tint, 0.10f + 0.08f * Hash01(i, 5, 7)));
    }
    // One slow arc of light across the top left.
    c.Fill(0, 0, kW, kH,
           [](float x, float y) {
               float d = std::hypot(x + 200, y + 380);
               return d > 700 && d < 760;
           },
           [](float x, float y) {
               float d = std::hypot(x + 200, y + 380);
               float t = 1 - std::fabs(d - 730) / 30;
               return Fade(Hex(0x9CC4F0), 0.08f * t);
           });
    return c;
}

// A tulip: stem, two leaves, and a cup of three petals with pointed tips.
void Tulip(Canvas& c, float x, float base, float height, float size, const Rgba& petal, uint32_t seed)
{
    float lean = (Hash01(int(seed), 9, 5) - 0.5f) * 0.25f;
    float headX = x + lean * height, headY = base - height;
    const Rgba stem = Hex(0x4E8A3C), leaf = Hex(0x5F9E48);
    c.FillCapsule(x, base, headX, headY, size * 0.16f, stem);
    c.FillEllipse(x - size * 0.35f, base - height * 0.3f, size * 0.18f, height * 0.32f, 0.35f, leaf);
    c.FillEllipse(x + size * 0.35f, base - height * 0.22f, size * 0.16f, height * 0.26f, -0.4f, leaf);
    Rgba dark = Mix(petal, Hex(0x000000), 0.25f), light = Mix(petal, Hex(0xFFFFFF), 0.25f);
    c.FillEllipse(headX, headY - size * 0.15f, size * 0.45f, size * 0.5f, 0, dark);
    c.FillPolygon({headX - size * 0.45f, headY - size * 0.15f, headX - size * 0.42f, headY - size * 0.95f,
                   headX - size * 0.12f, headY - size * 0.45f},
                  dark);
    c.FillPolygon({headX + size * 0.45f, headY - size * 0.15f, headX + size * 0.42f, headY - size * 0.95f,
                   headX + size * 0.12f, headY - size * 0.45f},
                  dark);
    c.FillEllipse(headX, headY - size * 0.2f, size * 0.3f, size * 0.5f, 0, petal);
    c.FillPolygon({headX - size * 0.28f, headY - size * 0.3f, headX, headY - size * 1.05f,
                   headX + size * 0.28f, headY - size * 0.3f},
                  petal);
    c.FillEllipse(headX - size * 0.1f, headY - size * 0.35f, size * 0.07f, size * 0.25f, 0.1f, Fade(light, 0.7f));
}

Canvas MakeTulips()
{
    Canvas c(kW, kH);
    c.Paint(0, 0, kW, kH, [](float x, float y) {
        float horizon = 560 + 20 * std::sin(x / kW * 2 * kPi);
        if (y < horizon)
            return Mix(Hex(0xA9CBE8), Hex(0xE8EFE6), y / horizon);
        float t = (y - horizon) / (kH - horizon);
        Rgba field = Mix(Hex(0x9CC58A), Hex(0x6E9E5C), t);
        float n = PeriodicNoise(x / 12, y / 6, 128, 21) - 0.5f;
        field.g += n * 0.05f;
        return field;
    });
    for (int i = 0; i < 8; ++i)  // soft clouds
        Glow(c, Hash01(i, 1, 31) * kW, 60 + Hash01(i, 2, 31) * 260, 90 + Hash01(i, 3, 31) * 80,
             Hex(0xFFFFFF, 0.35f));
    const Rgba petals[] = {Hex(0xE0475A), Hex(0xF08CB0), Hex(0xF2C14E), Hex(0xB04AA0), Hex(0xF06A3C)};
    // Far rows small and pale, near rows larger, along the bottom edge.
    for (int row = 0; row < 3; ++row) {
        float base = 600 + row * 62, size = 18 + row * 10;
        int count = 22 - row * 5;
        for (int i = 0; i < count; ++i) {
            uint32_t seed = uint32_t(row * 100 + i);
            float x = (i + 0.5f + (Hash01(i, row, 41) - 0.5f) * 0.6f) * kW / count;
            Rgba petal = petals[int(Hash01(i, row, 43) * 4.99f)];
            Rgba shown = Mix(Hex(0xC8DCC0), petal, 0.55f + row * 0.2f);
            Tulip(c, x, base + Hash01(i, row, 47) * 20, 50 + row * 22, size, shown, seed);
        }
    }
    // A few tall ones in the upper corners, pale against the sky.
    Tulip(c, 40, 330, 230, 40, Mix(Hex(0xD8E6EE), petals[0], 0.45f), 901);
    Tulip(c, 985, 300, 210, 36, Mix(Hex(0xD8E6EE), petals[1], 0.45f), 902);
    return c;
}

// A maple leaf of five pointed lobes, turned by angle.
void MapleLeaf(Canvas& c, float cx, float cy, float size, float angle, const Rgba& colour)
{
    std::vector<float> xy;
    const int points = 80;
    for (int i = 0; i < points; ++i) {
        float t = float(i) / points * 2 * kPi;
        // Five lobes with pointed tips (a cusp where |sin| is 0) and small teeth.
        float lobe = std::pow(1 - std::fabs(std::sin(t * 2.5f)), 1.6f);
        float teeth = 1 - std::fabs(std::sin(t * 12.5f));
        float r = size * (0.32f + 0.6f * lobe + 0.08f * teeth) *
                  (t > kPi * 0.8f && t < kPi * 1.2f ? 0.5f : 1.0f);
        float a = t + angle - kPi / 2;
        xy.push_back(cx + r * std::cos(a));
        xy.push_back(cy + r * std::sin(a));
    }
    c.FillPolygon(xy, colour);
    float down = angle + kPi / 2;
    c.FillCapsule(cx, cy, cx + size * 0.9f * std::cos(down), cy + size * 0.9f * std::sin(down),
                  size * 0.07f, Mix(colour, Hex(0x3A2010), 0.5f));
}

Canvas MakeAutumn()
{
    Canvas c(kW, kH);
    c.Paint(0, 0, kW, kH, [](float x, float y) {
        float t = y / kH;
        Rgba colour = Mix(Hex(0xE9B46A), Hex(0x8A4A22), t * 0.8f + (x / kW) * 0.2f);
        float n = PeriodicNoise(x / 80, y / 80, 64, 51) - 0.5f;
        colour.r += n * 0.04f;
        colour.g += n * 0.03f;
        return colour;
    });
    Glow(c, 860, 90, 260, Hex(0xFFF0C0, 0.35f));  // low sun
    const Rgba leaves[] = {Hex(0xC8401E), Hex(0xE07A22), Hex(0xB02A1A), Hex(0xE8A33A), Hex(0x8E3A18)};
    for (int i = 0; i < 46; ++i) {
        float x = Hash01(i, 1, 61) * kW, y = Hash01(i, 2, 61) * kH;
        // Leaves in the middle of the screen are fainter: that is where the board sits.
        float centre = std::fabs(x - 360) < 300 && std::fabs(y - 340) < 300 ? 0.35f : 0.85f;
        float size = 14 + Hash01(i, 3, 61) * 30;
        Rgba colour = leaves[int(Hash01(i, 4, 61) * 4.99f)];
        colour.a = centre;
        MapleLeaf(c, x, y, size, Hash01(i, 5, 61) * 2 * kPi, colour);
    }
    return c;
}

}  // namespace

void MakeBackgrounds(const std::string& bin)
{
    std::string dir = bin + "GUI/BackGround/";
    MakeFolder(dir);
    Save(MakeDefault(), dir + "default.jpg");
    Save(MakeTulips(), dir + "Tulips.jpg");
    Save(MakeAutumn(), dir + "Autumn.jpg");
}

}  // namespace art
