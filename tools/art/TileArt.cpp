// The tile pack, "DataPack/Vexa/": the pictures, "list.txt" and the descriptions, made
// from the tile table in data/ (tag, name, emoji code point, description per line).
//
// Each picture is a 128 x 128 card: an ivory face with a soft vignette, the emoji from
// the colour font's bitmap strike scaled into the middle 84 pixels, and a faint shadow
// under it. The outer 16 pixels stay plain, as the frame ring covers them on the board.
// Files are stored as tag_name.png and tag_name.txt under their UTF-8 names; list.txt
// and the descriptions are GBK, as the game reads them. A table line with a character
// outside GBK, a name the pack already holds, a description line too wide for the HUD
// or a code point the font has no glyph for stops the tool with the line's number.
#include "ArtTool.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <iconv.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <vector>

namespace art {

namespace {

constexpr int kTile = 128;
constexpr float kPicture = 84;         // the emoji's box, in pixels
constexpr int kDescriptionColumns = 24;  // 12 full-width characters of the 12-pixel font
constexpr size_t kFieldBytes = 31;     // tag and name fields hold 32 bytes with the NUL

struct TileSource {
    int line;
    std::string tag, name, text;
    uint32_t codePoint;
};

std::string Where(const std::string& table, int line)
{
    return table + ":" + std::to_string(line) + ": ";
}

// UTF-8 to GBK; a character GBK does not hold is refused.
std::string ToGbk(const std::string& utf8, const std::string& where)
{
    iconv_t cd = iconv_open("GBK", "UTF-8");
    if (cd == (iconv_t)-1)
        throw ArtError("no GBK converter in iconv");
    std::string out(utf8.size() * 2 + 4, '\0');
    char* in = const_cast<char*>(utf8.data());
    char* to = out.data();
    size_t inLeft = utf8.size(), outLeft = out.size();
    size_t r = iconv(cd, &in, &inLeft, &to, &outLeft);
    iconv_close(cd);
    if (r == (size_t)-1 || inLeft != 0)
        throw ArtError(where + "\"" + utf8 + "\" holds a character outside GBK");
    out.resize(out.size() - outLeft);
    return out;
}

// Display width in half-width columns: a GBK double-byte character is two.
int Columns(const std::string& gbk)
{
    int columns = 0;
    for (size_t i = 0; i < gbk.size(); ++i) {
        if ((unsigned char)gbk[i] >= 0x81 && i + 1 < gbk.size())
            ++i, columns += 2;
        else
            columns += 1;
    }
    return columns;
}

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator))
        parts.push_back(part);
    if (!text.empty() && text.back() == separator)
        parts.push_back("");
    return parts;
}

std::vector<TileSource> ReadTable(const std::string& table)
{
    std::ifstream in(table);
    if (!in)
        throw ArtError("cannot read the tile table " + table);
    std::vector<TileSource> tiles;
    std::set<std::string> names;
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        if (text.empty() || text[0] == '#')
            continue;
        std::string where = Where(table, line);
        std::vector<std::string> f = Split(text, '\t');
        if (f.size() != 4)
            throw ArtError(where + "expected tag, name, emoji and text separated by tabs");
        TileSource t{line, f[0], f[1], f[3], 0};
        if (t.tag.empty() || t.name.empty() || t.tag.find('_') != std::string::npos)
            throw ArtError(where + "the tag and the name must not be empty, nor the tag hold \"_\"");
        if (f[2].rfind("U+", 0) != 0 || f[2].size() < 6 ||
            std::sscanf(f[2].c_str() + 2, "%x", &t.codePoint) != 1)
            throw ArtError(where + "expected a code point such as U+1F436, found \"" + f[2] + "\"");
        if (ToGbk(t.tag, where).size() > kFieldBytes || ToGbk(t.name, where).size() > kFieldBytes)
            throw ArtError(where + "the tag and the name hold at most 31 bytes in GBK");
        if (!names.insert(t.name).second)
            throw ArtError(where + "the name \"" + t.name + "\" is already in the pack");
        std::string description = ToGbk(t.text, where);
        if (description.size() > 511)
            throw ArtError(where + "the description holds at most 511 bytes in GBK");
        for (const std::string& piece : Split(description, '|'))
            if (Columns(piece) > kDescriptionColumns)
                throw ArtError(where + "a description line is wider than 12 full-width characters");
        tiles.push_back(t);
    }
    if (tiles.size() < 48 || tiles.size() > 256)
        throw ArtError(table + ": the pack needs 48 to 256 pictures, the table has " +
                       std::to_string(tiles.size()));
    return tiles;
}

// The colour font's glyphs as straight RGBA canvases, from its bitmap strike.
class EmojiFont {
public:
    explicit EmojiFont(const std::string& path)
    {
        if (FT_Init_FreeType(&library))
            throw ArtError("FreeType does not start");
        if (FT_New_Face(library, path.c_str(), 0, &face)) {
            FT_Done_FreeType(library);
            throw ArtError("cannot open the colour emoji font " + path);
        }
        // The colour strike is a fixed size: select it rather than scaling outlines.
        if (face->num_fixed_sizes < 1 || FT_Select_Size(face, 0)) {
            FT_Done_Face(face);
            FT_Done_FreeType(library);
            throw ArtError(path + " has no colour bitmap strike");
        }
    }
    ~EmojiFont()
    {
        FT_Done_Face(face);
        FT_Done_FreeType(library);
    }
    EmojiFont(const EmojiFont&) = delete;
    EmojiFont& operator=(const EmojiFont&) = delete;

    Canvas Glyph(uint32_t codePoint, const std::string& where)
    {
        FT_UInt index = FT_Get_Char_Index(face, codePoint);
        if (!index || FT_Load_Glyph(face, index, FT_LOAD_COLOR) ||
            FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL))
            throw ArtError(where + "the colour font has no glyph for this code point");
        const FT_Bitmap& b = face->glyph->bitmap;
        if (b.pixel_mode != FT_PIXEL_MODE_BGRA)
            throw ArtError(where + "the glyph is not a colour bitmap");
        Canvas glyph(int(b.width), int(b.rows));
        for (unsigned y = 0; y < b.rows; ++y)
            for (unsigned x = 0; x < b.width; ++x) {
                const unsigned char* p = b.buffer + y * unsigned(b.pitch) + x * 4;
                float a = p[3] / 255.0f;  // BGRA, premultiplied
                glyph.At(int(x), int(y)) = a > 0 ? Rgba{p[2] / 255.0f / a, p[1] / 255.0f / a,
                                                        p[0] / 255.0f / a, a}
                                                 : Rgba{0, 0, 0, 0};
            }
        return glyph;
    }

private:
    FT_Library library = nullptr;
    FT_Face face = nullptr;
};

// Bilinear sample with premultiplied weights, so transparent pixels add no colour.
Rgba Sample(const Canvas& c, float x, float y)
{
    x -= 0.5f;
    y -= 0.5f;
    int x0 = int(std::floor(x)), y0 = int(std::floor(y));
    float fx = x - float(x0), fy = y - float(y0);
    Rgba sum{0, 0, 0, 0};
    for (int dy = 0; dy < 2; ++dy)
        for (int dx = 0; dx < 2; ++dx) {
            int px = x0 + dx, py = y0 + dy;
            if (px < 0 || py < 0 || px >= c.Width() || py >= c.Height())
                continue;
            float w = (dx ? fx : 1 - fx) * (dy ? fy : 1 - fy);
            const Rgba& p = c.At(px, py);
            sum.r += p.r * p.a * w;
            sum.g += p.g * p.a * w;
            sum.b += p.b * p.a * w;
            sum.a += p.a * w;
        }
    return sum;
}

// Scales the glyph to fit a box of `box` pixels, 4 x 4 bilinear samples per pixel.
Canvas Fit(const Canvas& glyph, float box)
{
    float scale = box / float(std::max(glyph.Width(), glyph.Height()));
    int w = int(std::lround(glyph.Width() * scale)), h = int(std::lround(glyph.Height() * scale));
    Canvas out(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            Rgba sum{0, 0, 0, 0};
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx) {
                    Rgba s = Sample(glyph, (float(x) + (float(sx) + 0.5f) / 4) / scale,
                                    (float(y) + (float(sy) + 0.5f) / 4) / scale);
                    sum.r += s.r, sum.g += s.g, sum.b += s.b, sum.a += s.a;
                }
            float a = sum.a / 16;
            out.At(x, y) = a > 0 ? Rgba{sum.r / sum.a, sum.g / sum.a, sum.b / sum.a, a} : Rgba{0, 0, 0, 0};
        }
    return out;
}

Canvas Card(const Canvas& picture)
{
    Canvas c(kTile, kTile);
    c.Paint(0, 0, kTile, kTile, [](float x, float y) {
        float r = std::hypot(x - 64, y - 58) / 90;
        Rgba face = Mix(Hex(0xFFFBF2), Hex(0xE9DFCB), SmoothStep(0.2f, 1.0f, r));
        return Mix(face, Hex(0xD8CCB4), SmoothStep(0.0f, 1.0f, y / kTile) * 0.25f);
    });
    // A soft shadow under the picture grounds it on the card.
    c.Fill(24, 90, 104, 114, [](float x, float y) { return std::hypot((x - 64) / 36, (y - 102) / 9) < 1; },
           [](float x, float y) {
               float d = std::hypot((x - 64) / 36, (y - 102) / 9);
               return Hex(0x6A5A40, 0.22f * (1 - d));
           });
    c.Draw(picture, (kTile - picture.Width()) / 2, 58 - picture.Height() / 2 + 2);
    return c;
}

void WriteText(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    if (!out.flush())
        throw ArtError("cannot write " + path);
}

}  // namespace

void MakeTilePack(const std::string& bin, const std::string& table, const std::string& emojiFont)
{
    std::vector<TileSource> tiles = ReadTable(table);
    std::string dir = bin + "DataPack/Vexa/";
    MakeFolder(dir);
    EmojiFont font(emojiFont);
    std::string list = std::to_string(tiles.size()) + "\r\n";
    for (const TileSource& t : tiles) {
        std::string where = Where(table, t.line);
        std::string base = t.tag + "_" + t.name;
        Save(Card(Fit(font.Glyph(t.codePoint, where), kPicture)), dir + base + ".png");
        WriteText(dir + base + ".txt", ToGbk(t.text, where) + "\r\n");
        list += ToGbk(base, where) + ".png\r\n";
    }
    WriteText(dir + "list.txt", list);
}

}  // namespace art
