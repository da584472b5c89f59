// Internal: a GDI font resolved to a FreeType face at one pixel size. Nothing outside
// src/gdi sees FreeType or fontconfig; this header keeps them out of its own interface too.
//
// Pre: every call is made with GdiLock() held (FreeType faces are not thread-safe).
#ifndef VEXA_PLATFORM_FONT_FACE_H
#define VEXA_PLATFORM_FONT_FACE_H

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace vexa::platform {

// The cell of a font in whole pixels, as TEXTMETRIC reports it.
struct FontMetrics {
    int height = 0; // ascent + descent
    int ascent = 0;
    int descent = 0;
    int internalLeading = 0; // height - em
    int externalLeading = 0;
    int aveCharWidth = 0;
    int maxCharWidth = 0;
};

// One rasterised character: coverage 0..255, rows top-down, placed relative to the pen on
// the baseline.
struct Glyph {
    int advance = 0;
    int left = 0; // from the pen to the first column
    int top = 0;  // from the baseline up to the first row
    int width = 0;
    int rows = 0;
    std::vector<uint8_t> coverage;
};

struct FaceSize;

class ScaledFont {
  public:
    ScaledFont(FaceSize* size, const LOGFONTA& request, std::string family, bool emboldened,
               bool slanted);

    const FontMetrics& Metrics() const { return metrics_; }
    // The family fontconfig gave, in UTF-8.
    const std::string& Family() const { return family_; }
    const std::string& File() const;
    bool Antialiased() const { return antialiased_; }
    int Weight() const { return weight_; }
    bool Italic() const { return italic_; }
    bool FixedPitch() const;

    // The glyph of a UTF-16 unit; 0xFFFF asks for the face's missing-character glyph.
    const Glyph& GlyphFor(char16_t unit);

  private:
    void Rasterise(char16_t unit, Glyph& out);

    FaceSize* size_; // owned by the face cache, which lives as long as the process
    std::string family_;
    FontMetrics metrics_;
    bool antialiased_;
    bool emboldened_;
    bool slanted_;
    int weight_;
    bool italic_;
    std::unordered_map<char16_t, Glyph> glyphs_;
};

// Looks the face up through fontconfig and sizes it as GDI sizes a LOGFONT: a negative
// height is the em, a positive one the cell (ascent + descent), 0 a 16-pixel cell. Null
// when no face can be opened at all.
std::shared_ptr<ScaledFont> ResolveFont(const LOGFONTA& request);

} // namespace vexa::platform

#endif
