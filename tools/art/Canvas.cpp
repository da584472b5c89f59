// Canvas: shapes, blending and the stb writers.
#include "Canvas.h"

#include <stb_image_write.h>

#include <algorithm>
#include <cmath>

namespace art {

namespace {

constexpr int kSamples = 4;  // coverage samples per pixel side

unsigned char Byte(float v)
{
    return (unsigned char)std::lround(Clamp01(v) * 255.0f);
}

bool InsidePolygon(const std::vector<float>& xy, float x, float y)
{
    bool inside = false;
    size_t n = xy.size() / 2;
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        float xi = xy[2 * i], yi = xy[2 * i + 1], xj = xy[2 * j], yj = xy[2 * j + 1];
        if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi)
            inside = !inside;
    }
    return inside;
}

}  // namespace

Rgba Hex(uint32_t rgb, float alpha)
{
    return {float((rgb >> 16) & 0xFF) / 255.0f, float((rgb >> 8) & 0xFF) / 255.0f,
            float(rgb & 0xFF) / 255.0f, alpha};
}

Rgba Mix(const Rgba& a, const Rgba& b, float t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
            a.a + (b.a - a.a) * t};
}

float Clamp01(float v)
{
    return v < 0 ? 0 : v > 1 ? 1 : v;
}

float SmoothStep(float edge0, float edge1, float x)
{
    float t = Clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3 - 2 * t);
}

Canvas::Canvas(int w, int h, Rgba fill) : width(w), height(h), pixels(size_t(w) * size_t(h), fill) {}

void Canvas::Blend(int x, int y, const Rgba& c, float coverage)
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return;
    Rgba& d = At(x, y);
    float a = Clamp01(c.a * coverage);
    float outA = a + d.a * (1 - a);
    if (outA <= 0) {
        d = {0, 0, 0, 0};
        return;
    }
    d.r = (c.r * a + d.r * d.a * (1 - a)) / outA;
    d.g = (c.g * a + d.g * d.a * (1 - a)) / outA;
    d.b = (c.b * a + d.b * d.a * (1 - a)) / outA;
    d.a = outA;
}

void Canvas::Paint(int x0, int y0, int x1, int y1, const std::function<Rgba(float, float)>& colourAt)
{
    for (int y = std::max(0, y0); y < std::min(height, y1); ++y)
        for (int x = std::max(0, x0); x < std::min(width, x1); ++x)
            At(x, y) = colourAt(float(x) + 0.5f, float(y) + 0.5f);
}

void Canvas::Fill(float x0, float y0, float x1, float y1,
                  const std::function<bool(float, float)>& inside,
                  const std::function<Rgba(float, float)>& colourAt)
{
    int px0 = std::max(0, int(std::floor(x0))), py0 = std::max(0, int(std::floor(y0)));
    int px1 = std::min(width, int(std::ceil(x1))), py1 = std::min(height, int(std::ceil(y1)));
    for (int y = py0; y < py1; ++y)
        for (int x = px0; x < px1; ++x) {
            int hits = 0;
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx)
                    hits += inside(float(x) + (float(sx) + 0.5f) / kSamples,
                                   float(y) + (float(sy) + 0.5f) / kSamples);
            if (hits)
                Blend(x, y, colourAt(float(x) + 0.5f, float(y) + 0.5f),
                      float(hits) / (kSamples * kSamples));
        }
}

void Canvas::FillCircle(float cx, float cy, float radius, const Rgba& colour)
{
    FillEllipse(cx, cy, radius, radius, 0, colour);
}

void Canvas::FillEllipse(float cx, float cy, float rx, float ry, float angle, const Rgba& colour)
{
    float c = std::cos(angle), s = std::sin(angle), reach = std::max(rx, ry) + 1;
    Fill(cx - reach, cy - reach, cx + reach, cy + reach,
         [&](float x, float y) {
             float dx = x - cx, dy = y - cy;
             float u = (dx * c + dy * s) / rx, v = (-dx * s + dy * c) / ry;
             return u * u + v * v <= 1;
         },
         [&](float, float) { return colour; });
}

void Canvas::FillCapsule(float ax, float ay, float bx, float by, float w, const Rgba& colour)
{
    float r = w / 2, dx = bx - ax, dy = by - ay, len2 = dx * dx + dy * dy;
    Fill(std::min(ax, bx) - r - 1, std::min(ay, by) - r - 1, std::max(ax, bx) + r + 1,
         std::max(ay, by) + r + 1,
         [&](float x, float y) {
             float t = len2 > 0 ? Clamp01(((x - ax) * dx + (y - ay) * dy) / len2) : 0;
             float ex = x - (ax + t * dx), ey = y - (ay + t * dy);
             return ex * ex + ey * ey <= r * r;
         },
         [&](float, float) { return colour; });
}

void Canvas::FillPolygon(const std::vector<float>& xy, const Rgba& colour)
{
    float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
    for (size_t i = 0; i + 1 < xy.size(); i += 2) {
        x0 = std::min(x0, xy[i]);
        x1 = std::max(x1, xy[i]);
        y0 = std::min(y0, xy[i + 1]);
        y1 = std::max(y1, xy[i + 1]);
    }
    Fill(x0 - 1, y0 - 1, x1 + 1, y1 + 1, [&](float x, float y) { return InsidePolygon(xy, x, y); },
         [&](float, float) { return colour; });
}

void Canvas::Draw(const Canvas& picture, int x, int y)
{
    for (int py = 0; py < picture.Height(); ++py)
        for (int px = 0; px < picture.Width(); ++px)
            Blend(x + px, y + py, picture.At(px, py));
}

std::vector<unsigned char> Canvas::Bytes(int channels) const
{
    std::vector<unsigned char> bytes(pixels.size() * size_t(channels));
    for (size_t i = 0; i < pixels.size(); ++i) {
        const Rgba& p = pixels[i];
        unsigned char* b = &bytes[i * size_t(channels)];
        b[0] = Byte(p.r);
        b[1] = Byte(p.g);
        b[2] = Byte(p.b);
        if (channels == 4)
            b[3] = Byte(p.a);
    }
    return bytes;
}

bool Canvas::WritePng(const std::string& path) const
{
    auto b = Bytes(4);
    return stbi_write_png(path.c_str(), width, height, 4, b.data(), width * 4) != 0;
}

bool Canvas::WriteTga(const std::string& path) const
{
    auto b = Bytes(4);
    stbi_write_tga_with_rle = 0;  // plain TGA: every reader takes it
    return stbi_write_tga(path.c_str(), width, height, 4, b.data()) != 0;
}

bool Canvas::WriteJpg(const std::string& path, int quality) const
{
    auto b = Bytes(3);
    return stbi_write_jpg(path.c_str(), width, height, 3, b.data(), quality) != 0;
}

bool Canvas::WriteBmp(const std::string& path) const
{
    auto b = Bytes(3);
    return stbi_write_bmp(path.c_str(), width, height, 3, b.data()) != 0;
}

float Hash01(int32_t a, int32_t b, uint32_t seed)
{
    uint32_t h = uint32_t(a) * 0x8DA6B343u ^ uint32_t(b) * 0xD8163841u ^ seed * 0xCB1AB31Fu;
    h ^= h >> 13;
    h *= 0x5BD1E995u;
    h ^= h >> 15;
    return float(h & 0xFFFFFF) / float(0xFFFFFF);
}

float PeriodicNoise(float x, float y, int period, uint32_t seed)
{
    int ix = int(std::floor(x)), iy = int(std::floor(y));
    float fx = x - float(ix), fy = y - float(iy);
    auto corner = [&](int cx, int cy) {
        return Hash01(((cx % period) + period) % period, ((cy % period) + period) % period, seed);
    };
    float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    float top = corner(ix, iy) + (corner(ix + 1, iy) - corner(ix, iy)) * sx;
    float bottom = corner(ix, iy + 1) + (corner(ix + 1, iy + 1) - corner(ix, iy + 1)) * sx;
    return top + (bottom - top) * sy;
}

float RoundedBoxDistance(float x, float y, float x0, float y0, float x1, float y1, float radius)
{
    float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    float hx = (x1 - x0) / 2 - radius, hy = (y1 - y0) / 2 - radius;
    float qx = std::fabs(x - cx) - hx, qy = std::fabs(y - cy) - hy;
    float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
    return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - radius;
}

}  // namespace art
