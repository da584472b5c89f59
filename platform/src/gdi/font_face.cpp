// Font lookup through fontconfig and glyphs through FreeType.
//
// GDI picks a face by name and falls back to a face for the requested character set when
// the name is empty or unknown; here the fallback is fontconfig's sans-serif (serif or
// monospace when the pitch and family ask for them) for simplified Chinese, since all
// narrow text is code page 936. Faces are opened once per file and sized once per pixel
// size; a ScaledFont keeps the glyphs it rasterised, so measuring then drawing a string
// renders each character once.
//
// Sizes follow GDI: the em and the cell come from the OS/2 table's Windows ascent and
// descent (usWinAscent, usWinDescent), which is what GDI reads, not the typographic ones.
// Missing bold and italic faces are synthesised (emboldened outlines, a slant), as GDI does.
#include "font_face.h"

#include "../win32/code_page.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <tuple>

namespace vexa::platform {

struct FaceFile {
    FT_Face face = nullptr;
    std::string path;
};

struct FaceSize {
    FaceFile* file = nullptr;
    FT_Size size = nullptr;
};

namespace {

// FreeType's own oblique slant (about 12 degrees), close to GDI's simulated italic.
constexpr FT_Fixed kSlant = 0x0366A;
constexpr int kDefaultCellHeight = 16;

struct FontSystem {
    FT_Library library = nullptr;
    std::map<std::pair<std::string, int>, std::unique_ptr<FaceFile>> faces;
    std::map<std::tuple<FaceFile*, FT_F26Dot6, FT_F26Dot6>, std::unique_ptr<FaceSize>> sizes;
    std::map<std::string, std::shared_ptr<ScaledFont>> fonts;

    FontSystem()
    {
        if (FT_Init_FreeType(&library) != 0) {
            std::fprintf(stderr, "platform: FreeType did not start; no font can be created\n");
            library = nullptr;
        }
        if (FcInit())
            std::atexit([] { FcFini(); }); // no pattern outlives a lookup, so this is safe
        else
            std::fprintf(stderr, "platform: fontconfig did not start; no font can be found\n");
    }
};

// Never destroyed: fonts may be deleted by other static destructors at exit.
FontSystem& System()
{
    static FontSystem* system = new FontSystem();
    return *system;
}

struct FaceMatch {
    std::string path;
    int index = 0;
    std::string family;
    bool named = false; // the requested family itself, not a substitute
};

bool MatchFace(FcPattern* pattern, const std::string& wanted, FaceMatch& out)
{
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    if (!match)
        return false;
    FcChar8* file = nullptr;
    bool found = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch;
    if (found) {
        out.path = reinterpret_cast<const char*>(file);
        out.index = 0;
        FcPatternGetInteger(match, FC_INDEX, 0, &out.index);
        out.family.clear();
        out.named = false;
        FcChar8* family = nullptr;
        for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &family) == FcResultMatch; ++i) {
            if (i == 0)
                out.family = reinterpret_cast<const char*>(family);
            if (!wanted.empty() &&
                FcStrCmpIgnoreCase(family, reinterpret_cast<const FcChar8*>(wanted.c_str())) == 0) {
                out.family = wanted;
                out.named = true;
                break;
            }
        }
    }
    FcPatternDestroy(match);
    return found;
}

FcPattern* NewPattern(const LOGFONTA& request)
{
    FcPattern* pattern = FcPatternCreate();
    int weight = request.lfWeight > 0 ? int(request.lfWeight) : FW_NORMAL;
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(std::min(weight, 1000)));
    FcPatternAddInteger(pattern, FC_SLANT, request.lfItalic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    return pattern;
}

const char* GenericFamily(BYTE pitchAndFamily)
{
    if ((pitchAndFamily & 0x3) == FIXED_PITCH || (pitchAndFamily & 0xF0) == FF_MODERN)
        return "monospace";
    if ((pitchAndFamily & 0xF0) == FF_ROMAN)
        return "serif";
    return "sans-serif";
}

bool FindFace(const LOGFONTA& request, FaceMatch& out)
{
    std::string wanted =
        AnsiToUtf8(std::string(request.lfFaceName, strnlen(request.lfFaceName, LF_FACESIZE)));
    if (!wanted.empty()) {
        FcPattern* pattern = NewPattern(request);
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(wanted.c_str()));
        bool found = MatchFace(pattern, wanted, out);
        FcPatternDestroy(pattern);
        if (found && out.named)
            return true;
    }
    FcPattern* pattern = NewPattern(request);
    FcPatternAddString(pattern, FC_FAMILY,
                       reinterpret_cast<const FcChar8*>(GenericFamily(request.lfPitchAndFamily)));
    FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("zh-cn"));
    bool found = MatchFace(pattern, std::string(), out);
    FcPatternDestroy(pattern);
    return found;
}

FaceFile* OpenFace(const std::string& path, int index)
{
    FontSystem& system = System();
    auto key = std::make_pair(path, index);
    auto it = system.faces.find(key);
    if (it != system.faces.end())
        return it->second.get();
    FT_Face face = nullptr;
    if (!system.library || FT_New_Face(system.library, path.c_str(), index, &face) != 0)
        return nullptr;
    if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) {
        FT_Done_Face(face);
        return nullptr;
    }
    FT_Select_Charmap(face, FT_ENCODING_UNICODE);
    auto file = std::make_unique<FaceFile>();
    file->face = face;
    file->path = path;
    return system.faces.emplace(key, std::move(file)).first->second.get();
}

FaceSize* SizeFace(FaceFile* file, FT_F26Dot6 width, FT_F26Dot6 height)
{
    FontSystem& system = System();
    auto key = std::make_tuple(file, width, height);
    auto it = system.sizes.find(key);
    if (it != system.sizes.end())
        return it->second.get();
    FT_Size size = nullptr;
    if (FT_New_Size(file->face, &size) != 0)
        return nullptr;
    FT_Activate_Size(size);
    // At 72 dots per inch a point is a pixel.
    if (FT_Set_Char_Size(file->face, width, height, 72, 72) != 0) {
        FT_Done_Size(size);
        return nullptr;
    }
    auto sized = std::make_unique<FaceSize>();
    sized->file = file;
    sized->size = size;
    return system.sizes.emplace(key, std::move(sized)).first->second.get();
}

// The face's Windows ascent and descent in font units, or the hhea ones without OS/2.
void CellInUnits(FT_Face face, double& ascent, double& descent)
{
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->usWinAscent + os2->usWinDescent > 0) {
        ascent = os2->usWinAscent;
        descent = os2->usWinDescent;
    } else {
        ascent = face->ascender;
        descent = -face->descender;
    }
    if (ascent + descent <= 0) {
        ascent = face->units_per_EM * 0.8;
        descent = face->units_per_EM * 0.2;
    }
}

int Round(double v)
{
    return int(std::lround(v));
}

} // namespace

ScaledFont::ScaledFont(FaceSize* size, const LOGFONTA& request, std::string family, bool emboldened,
                       bool slanted)
    : size_(size), family_(std::move(family)),
      antialiased_(request.lfQuality != NONANTIALIASED_QUALITY), emboldened_(emboldened),
      slanted_(slanted), weight_(request.lfWeight > 0 ? int(request.lfWeight) : FW_NORMAL),
      italic_(request.lfItalic != 0)
{
    FT_Face face = size_->file->face;
    double upem = face->units_per_EM;
    double ascent = 0, descent = 0;
    CellInUnits(face, ascent, descent);
    double cell = ascent + descent;
    double em = double(size_->size->metrics.y_scale) / 65536.0 / 64.0 * upem;
    double xEm = double(size_->size->metrics.x_scale) / 65536.0 / 64.0 * upem;

    LONG height = request.lfHeight == 0 ? kDefaultCellHeight : request.lfHeight;
    if (height < 0) {
        metrics_.ascent = Round(ascent * em / upem);
        metrics_.descent = Round(descent * em / upem);
        metrics_.height = metrics_.ascent + metrics_.descent;
    } else {
        metrics_.height = height;
        metrics_.ascent = Round(ascent * height / cell);
        metrics_.descent = height - metrics_.ascent;
    }
    metrics_.internalLeading = std::max(0, metrics_.height - Round(em));

    // GDI's external leading: the hhea line gap less what the Windows cell already covers.
    auto* hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
    if (hhea) {
        double gap = hhea->Line_Gap - (cell - (hhea->Ascender - hhea->Descender));
        metrics_.externalLeading = std::max(0, Round(gap * em / upem));
    }
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    metrics_.aveCharWidth =
        os2 && os2->xAvgCharWidth > 0 ? Round(os2->xAvgCharWidth * xEm / upem) : Round(xEm / 2);
    metrics_.maxCharWidth = Round((face->bbox.xMax - face->bbox.xMin) * xEm / upem);
    if (emboldened_) {
        ++metrics_.aveCharWidth;
        ++metrics_.maxCharWidth;
    }
}

const std::string& ScaledFont::File() const
{
    return size_->file->path;
}

bool ScaledFont::FixedPitch() const
{
    return FT_IS_FIXED_WIDTH(size_->file->face);
}

const Glyph& ScaledFont::GlyphFor(char16_t unit)
{
    auto it = glyphs_.find(unit);
    if (it != glyphs_.end())
        return it->second;
    Glyph& glyph = glyphs_[unit];
    Rasterise(unit, glyph);
    return glyph;
}

void ScaledFont::Rasterise(char16_t unit, Glyph& out)
{
    FT_Face face = size_->file->face;
    FT_Activate_Size(size_->size);
    FT_Matrix slant = {0x10000, kSlant, 0, 0x10000};
    FT_Set_Transform(face, slanted_ ? &slant : nullptr, nullptr);

    FT_UInt index = unit == 0xFFFF ? 0 : FT_Get_Char_Index(face, unit);
    // Antialiased text comes from the outlines, so embedded bitmaps never make it binary.
    FT_Int32 flags = antialiased_ ? FT_LOAD_TARGET_NORMAL | FT_LOAD_NO_BITMAP : FT_LOAD_TARGET_MONO;
    if (FT_Load_Glyph(face, index, flags) != 0 && (index == 0 || FT_Load_Glyph(face, 0, flags)))
        return;
    FT_GlyphSlot slot = face->glyph;
    if (emboldened_)
        FT_GlyphSlot_Embolden(slot);
    if (FT_Render_Glyph(slot, antialiased_ ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) != 0)
        return;

    const FT_Bitmap& bitmap = slot->bitmap;
    out.advance = int((slot->advance.x + 32) >> 6);
    out.left = slot->bitmap_left;
    out.top = slot->bitmap_top;
    out.width = int(bitmap.width);
    out.rows = int(bitmap.rows);
    out.coverage.assign(size_t(out.width) * out.rows, 0);
    int pitch = bitmap.pitch < 0 ? -bitmap.pitch : bitmap.pitch;
    for (int y = 0; y < out.rows; ++y) {
        // A negative pitch stores the rows bottom-up.
        const unsigned char* row =
            bitmap.buffer + size_t(bitmap.pitch < 0 ? out.rows - 1 - y : y) * pitch;
        uint8_t* dst = out.coverage.data() + size_t(y) * out.width;
        for (int x = 0; x < out.width; ++x) {
            if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
                dst[x] = (row[x >> 3] >> (7 - (x & 7))) & 1 ? 255 : 0;
            } else {
                int levels = bitmap.num_grays > 1 ? bitmap.num_grays - 1 : 255;
                dst[x] = uint8_t(row[x] * 255 / levels);
            }
        }
    }
}

std::shared_ptr<ScaledFont> ResolveFont(const LOGFONTA& request)
{
    FaceMatch match;
    if (!FindFace(request, match))
        return nullptr;
    FaceFile* file = OpenFace(match.path, match.index);
    if (!file)
        return nullptr;
    FT_Face face = file->face;
    double upem = face->units_per_EM;
    double ascent = 0, descent = 0;
    CellInUnits(face, ascent, descent);

    LONG height = request.lfHeight == 0 ? kDefaultCellHeight : request.lfHeight;
    double em = height < 0 ? -double(height) : height * upem / (ascent + descent);
    double width = em;
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (request.lfWidth > 0 && os2 && os2->xAvgCharWidth > 0)
        width = request.lfWidth * upem / os2->xAvgCharWidth;
    FT_F26Dot6 em64 = std::max<FT_F26Dot6>(64, std::lround(em * 64));
    FT_F26Dot6 width64 = std::max<FT_F26Dot6>(64, std::lround(width * 64));
    FaceSize* size = SizeFace(file, width64, em64);
    if (!size)
        return nullptr;

    int faceWeight =
        os2 ? os2->usWeightClass : (face->style_flags & FT_STYLE_FLAG_BOLD ? 700 : 400);
    bool emboldened = request.lfWeight >= FW_SEMIBOLD && faceWeight < FW_SEMIBOLD;
    bool slanted = request.lfItalic && !(face->style_flags & FT_STYLE_FLAG_ITALIC);

    // Fonts that differ only in what GDI keeps but does not draw share their glyphs.
    char key[512];
    std::snprintf(key, sizeof key, "%s|%d|%ld|%ld|%d|%d|%d|%d|%ld|%d", match.path.c_str(),
                  match.index, long(width64), long(em64),
                  request.lfQuality != NONANTIALIASED_QUALITY, emboldened, slanted,
                  request.lfWeight, long(height), request.lfItalic);
    std::string fullKey = std::string(key) + "|" + match.family;
    auto& cached = System().fonts[fullKey];
    if (!cached)
        cached = std::make_shared<ScaledFont>(size, request, match.family, emboldened, slanted);
    return cached;
}

} // namespace vexa::platform
