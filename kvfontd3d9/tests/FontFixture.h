// Test helper: a kvD3D device in a real window, fonts on it, and the back buffer searched
// for the pixels text lit.
#ifndef KVFONTD3D9_TESTS_FONTFIXTURE_H
#define KVFONTD3D9_TESTS_FONTFIXTURE_H

#include "D3DFixture.h"

#include <KvFontD3D9.h>

#include <vexa/graphics.h>

#include <functional>
#include <memory>

// The smallest rectangle (right and bottom inclusive) around the pixels a test looks for.
struct PixelBox {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    int count = 0;
    bool Empty() const { return count == 0; }
    void Add(int x, int y)
    {
        left = std::min(left, x);
        top = std::min(top, y);
        right = std::max(right, x);
        bottom = std::max(bottom, y);
        ++count;
    }
};

inline std::ostream& operator<<(std::ostream& out, const PixelBox& b)
{
    return out << "[" << b.left << "," << b.top << " .. " << b.right << "," << b.bottom << "] of "
               << b.count;
}

class FontTest : public D3DTest {
  protected:
    void TearDown() override
    {
        fonts.clear();
        vexa::platform::SetTextureSizeLimit(0);
        D3DTest::TearDown();
    }

    kvFont* MakeFont(DWORD fontHeight = 16, int fontFlags = 0, bool shadow = false)
    {
        fonts.push_back(std::make_unique<kvFont>(d3d->pDevice));
        fonts.back()->InitFont(fontHeight, fontFlags, "", shadow);
        return fonts.back().get();
    }

    // Clears the back buffer to background, runs draw inside a scene and reads it back.
    void Frame(DWORD background, const std::function<void()>& draw)
    {
        d3d->ClearScreen(background, D3DCLEAR_TARGET);
        d3d->BeginScene();
        draw();
        d3d->EndScene();
        pixels = ReadBack(&width, &height);
    }

    DWORD At(int x, int y) const
    {
        return pixels[size_t(y) * size_t(width) + size_t(x)] & 0xFFFFFF;
    }

    // Pixels of the last frame for which keep is true, within [x0, x1) x [y0, y1).
    PixelBox Find(const std::function<bool(DWORD)>& keep, int x0 = 0, int y0 = 0, int x1 = -1,
                  int y1 = -1) const
    {
        PixelBox box;
        x1 = x1 < 0 ? width : std::min(x1, width);
        y1 = y1 < 0 ? height : std::min(y1, height);
        for (int y = std::max(y0, 0); y < y1; ++y)
            for (int x = std::max(x0, 0); x < x1; ++x)
                if (keep(At(x, y)))
                    box.Add(x, y);
        return box;
    }

    // Pixels that differ from the background.
    PixelBox Lit(DWORD background = 0, int x0 = 0, int y0 = 0, int x1 = -1, int y1 = -1) const
    {
        return Find([background](DWORD c) { return !Near(c, background, 8); }, x0, y0, x1, y1);
    }

    // Pen height of a glyph on screen at scale 1: its cell in the atlas, at nominal size.
    static float CellHeight(const kvFont& f, unsigned char c)
    {
        return (f.TexCoords[c][3] - f.TexCoords[c][1]) * float(f.TexHeight) / f.RasterScale;
    }

    std::vector<std::unique_ptr<kvFont>> fonts;
    std::vector<DWORD> pixels;
    int width = 0, height = 0;
};

#endif
