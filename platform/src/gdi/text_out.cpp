// Text measuring and drawing: GetTextExtentPoint32A, ExtTextOutA and TextOutA, for code
// page 936 strings into the DIB section selected into a memory DC.
//
// Each character is decoded on its own, within the count given, so a lead byte whose trail
// would lie past the count stands alone; a byte that does not decode draws the face's
// missing-character glyph. Glyph coverage is blended between the pixel below and the text
// colour per channel, so white text on black leaves the coverage in red, green and blue
// alike; like GDI, every pixel written gets a zero alpha byte. The opaque background (the
// OPAQUE mode's text cell, the ETO_OPAQUE rectangle) is filled first.
// Not supported: ETO_GLYPH_INDEX, ETO_PDY, right-to-left reading.
#include "font_face.h"
#include "gdi_objects.h"

#include "../win32/code_page.h"

#include <algorithm>
#include <climits>
#include <vector>

using namespace vexa::platform;

namespace {

// GDI's logical coordinates are 27-bit; staying inside keeps every sum below in range.
constexpr int kCoordinateLimit = 1 << 27;

struct PlacedText {
    std::vector<const Glyph*> glyphs;
    std::vector<int> advances;
    int width = 0;
};

PlacedText Layout(ScaledFont& font, const char* text, size_t length, const INT* dx)
{
    PlacedText placed;
    for (size_t i = 0; i < length;) {
        size_t n = AnsiCharLength(text + i, length - i);
        WCHAR unit = 0;
        if (MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, text + i, int(n), &unit, 1) != 1)
            unit = 0xFFFF;
        const Glyph& glyph = font.GlyphFor(unit);
        // A double-byte character owns the spacing entries of both its bytes.
        int advance = dx ? dx[i] + (n == 2 ? dx[i + 1] : 0) : glyph.advance;
        placed.glyphs.push_back(&glyph);
        placed.advances.push_back(advance);
        placed.width += advance;
        i += n;
    }
    return placed;
}

RECT Intersect(const RECT& a, const RECT& b)
{
    return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}

uint32_t Pixel(COLORREF colour)
{
    return uint32_t(GetRValue(colour)) << 16 | uint32_t(GetGValue(colour)) << 8 | GetBValue(colour);
}

void Fill(GdiBitmap& bitmap, const RECT& rect, COLORREF colour)
{
    uint32_t value = Pixel(colour);
    for (LONG y = rect.top; y < rect.bottom; ++y)
        std::fill(bitmap.Row(y) + rect.left, bitmap.Row(y) + std::max(rect.left, rect.right),
                  value);
}

uint32_t Blend(uint32_t below, COLORREF colour, int coverage)
{
    auto channel = [coverage](int text, int back) {
        return uint32_t((text * coverage + back * (255 - coverage) + 127) / 255);
    };
    return channel(GetRValue(colour), below >> 16 & 0xFF) << 16 |
           channel(GetGValue(colour), below >> 8 & 0xFF) << 8 |
           channel(GetBValue(colour), below & 0xFF);
}

void DrawGlyph(GdiBitmap& bitmap, const RECT& clip, const Glyph& glyph, int penX, int baseline,
               COLORREF colour)
{
    int left = penX + glyph.left;
    int top = baseline - glyph.top;
    RECT box = Intersect(clip, RECT{left, top, left + glyph.width, top + glyph.rows});
    for (LONG y = box.top; y < box.bottom; ++y) {
        uint32_t* row = bitmap.Row(y);
        const uint8_t* src = glyph.coverage.data() + size_t(y - top) * glyph.width;
        for (LONG x = box.left; x < box.right; ++x) {
            if (int coverage = src[x - left])
                row[x] = Blend(row[x], colour, coverage);
        }
    }
}

} // namespace

WINAPI_EXPORT BOOL WINAPI GetTextExtentPoint32A(HDC hdc, LPCSTR lpString, int c, LPSIZE psizl)
{
    std::lock_guard<std::mutex> guard(GdiLock());
    DeviceContext* dc = FindDeviceContext(hdc);
    ScaledFont* font = dc ? SelectedFont(*dc) : nullptr;
    if (!font || c < 0 || (c > 0 && !lpString) || !psizl)
        return FALSE;
    PlacedText placed = Layout(*font, lpString, size_t(c), nullptr);
    psizl->cx = placed.width;
    psizl->cy = font->Metrics().height;
    return TRUE;
}

WINAPI_EXPORT BOOL WINAPI ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT* lprect,
                                      LPCSTR lpString, UINT c, const INT* lpDx)
{
    std::lock_guard<std::mutex> guard(GdiLock());
    DeviceContext* dc = FindDeviceContext(hdc);
    GdiBitmap* bitmap = dc ? SelectedBitmap(*dc) : nullptr;
    ScaledFont* font = dc ? SelectedFont(*dc) : nullptr;
    if (!bitmap || !font || (c > 0 && !lpString) || c > UINT(INT_MAX))
        return FALSE;
    if (x < -kCoordinateLimit || x > kCoordinateLimit || y < -kCoordinateLimit ||
        y > kCoordinateLimit)
        return FALSE;

    const RECT whole{0, 0, bitmap->width, bitmap->height};
    RECT clip = whole;
    if (lprect && (options & ETO_CLIPPED))
        clip = Intersect(clip, *lprect);
    if (lprect && (options & ETO_OPAQUE))
        Fill(*bitmap, Intersect(whole, *lprect), dc->bkColour);

    PlacedText placed = Layout(*font, lpString, c, lpDx);
    const FontMetrics& metrics = font->Metrics();
    UINT align = dc->textAlign;
    POINT origin = align & TA_UPDATECP ? dc->currentPosition : POINT{x, y};
    int left = origin.x;
    if ((align & TA_CENTER) == TA_CENTER)
        left -= placed.width / 2;
    else if (align & TA_RIGHT)
        left -= placed.width;
    int baseline = origin.y + metrics.ascent;
    if ((align & TA_BASELINE) == TA_BASELINE)
        baseline = origin.y;
    else if (align & TA_BOTTOM)
        baseline = origin.y - metrics.descent;
    int top = baseline - metrics.ascent;

    if (dc->bkMode == OPAQUE)
        Fill(*bitmap, Intersect(clip, RECT{left, top, left + placed.width, top + metrics.height}),
             dc->bkColour);
    int pen = left;
    for (size_t i = 0; i < placed.glyphs.size(); ++i) {
        DrawGlyph(*bitmap, clip, *placed.glyphs[i], pen, baseline, dc->textColour);
        pen += placed.advances[i];
    }

    if (align & TA_UPDATECP) {
        if ((align & TA_CENTER) == TA_LEFT)
            dc->currentPosition.x = left + placed.width;
        else if ((align & TA_CENTER) == TA_RIGHT)
            dc->currentPosition.x = left;
    }
    return TRUE;
}

WINAPI_EXPORT BOOL WINAPI TextOutA(HDC hdc, int x, int y, LPCSTR lpString, int c)
{
    if (c < 0)
        return FALSE;
    return ExtTextOutA(hdc, x, y, 0, nullptr, lpString, UINT(c), nullptr);
}
