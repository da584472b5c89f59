// Canvas: an RGBA picture the art generators draw into, with anti-aliased shapes
// (coverage sampled 4 x 4 per pixel), gradients, periodic noise and the file writers.
//
// Colours are straight (not premultiplied) RGBA floats 0..1; Blend composes "over".
// Everything is deterministic: noise comes from an integer hash, never from rand().
#ifndef VEXA_TOOLS_CANVAS_H
#define VEXA_TOOLS_CANVAS_H

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace art {

struct Rgba {
    float r = 0, g = 0, b = 0, a = 1;
};

// 0xRRGGBB (opaque) or with an explicit alpha.
Rgba Hex(uint32_t rgb, float alpha = 1.0f);
Rgba Mix(const Rgba& a, const Rgba& b, float t);
float Clamp01(float v);
float SmoothStep(float edge0, float edge1, float x);

class Canvas {
public:
    Canvas(int width, int height, Rgba fill = {0, 0, 0, 0});

    int Width() const { return width; }
    int Height() const { return height; }
    Rgba& At(int x, int y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    const Rgba& At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }

    // Composes colour over the pixel with the given coverage (0..1).
    void Blend(int x, int y, const Rgba& colour, float coverage = 1.0f);
    // Sets every pixel of [x0,x1) x [y0,y1) to colourAt(x, y) (pixel centres), clipped.
    void Paint(int x0, int y0, int x1, int y1, const std::function<Rgba(float, float)>& colourAt);
    // Blends colourAt over the pixels of the box where inside(x, y) holds, anti-aliased.
    void Fill(float x0, float y0, float x1, float y1, const std::function<bool(float, float)>& inside,
              const std::function<Rgba(float, float)>& colourAt);
    void FillCircle(float cx, float cy, float radius, const Rgba& colour);
    void FillEllipse(float cx, float cy, float rx, float ry, float angle, const Rgba& colour);
    // A stroke of the given width with round ends.
    void FillCapsule(float ax, float ay, float bx, float by, float width, const Rgba& colour);
    void FillPolygon(const std::vector<float>& xy, const Rgba& colour);
    // Blends another canvas over this one at (x, y).
    void Draw(const Canvas& picture, int x, int y);

    bool WritePng(const std::string& path) const;
    bool WriteTga(const std::string& path) const;
    bool WriteJpg(const std::string& path, int quality = 92) const;
    // 24-bit BMP: alpha is dropped, as the icon loader reads only opaque pictures.
    bool WriteBmp(const std::string& path) const;

private:
    std::vector<unsigned char> Bytes(int channels) const;

    int width;
    int height;
    std::vector<Rgba> pixels;
};

// Value noise in 0..1 that repeats every `period` units in x and y (period in cells).
float PeriodicNoise(float x, float y, int period, uint32_t seed);
// A deterministic hash of three integers into 0..1.
float Hash01(int32_t a, int32_t b, uint32_t seed);

// Signed distance to a rounded rectangle (negative inside).
float RoundedBoxDistance(float x, float y, float x0, float y0, float x1, float y1, float radius);

}  // namespace art

#endif
