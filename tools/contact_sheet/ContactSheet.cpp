// VexaContactSheet: every generated picture of a runtime tree on one PNG, to look at.
//
//   VexaContactSheet <runtime tree> <sheet.png>
//
// Rows, top to bottom: the tiles (in file-name order), the frames and the skin enlarged
// three times over a checkerboard (so transparency shows, with the skin's cut lines in
// red), the panel, particle, bars and pointer, then the three backgrounds at half size.
#include "Canvas.h"

#include <stb_image.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using art::Canvas;
using art::Rgba;

Canvas Load(const std::string& path)
{
    int w = 0, h = 0, n = 0;
    unsigned char* p = stbi_load(path.c_str(), &w, &h, &n, 4);
    if (!p) {
        std::fprintf(stderr, "VexaContactSheet: cannot read %s\n", path.c_str());
        std::exit(1);
    }
    Canvas c(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const unsigned char* q = p + (size_t(y) * size_t(w) + size_t(x)) * 4;
            c.At(x, y) = {q[0] / 255.0f, q[1] / 255.0f, q[2] / 255.0f, q[3] / 255.0f};
        }
    stbi_image_free(p);
    return c;
}

// Nearest-pixel scaling by a rational factor (num / den).
Canvas Scale(const Canvas& c, int num, int den)
{
    Canvas out(c.Width() * num / den, c.Height() * num / den);
    for (int y = 0; y < out.Height(); ++y)
        for (int x = 0; x < out.Width(); ++x)
            out.At(x, y) = c.At(x * den / num, y * den / num);
    return out;
}

void Checker(Canvas& sheet, int x0, int y0, int w, int h)
{
    sheet.Paint(x0, y0, x0 + w, y0 + h, [](float x, float y) {
        return ((int(x) / 8 + int(y) / 8) & 1) ? art::Hex(0x9A9A9A) : art::Hex(0x6A6A6A);
    });
}

// Red lines across a skin piece drawn at 3x: vertical cuts in u, horizontal in v.
void Cuts(Canvas& sheet, int x0, int y0, const std::vector<int>& u, const std::vector<int>& v)
{
    for (int c : u)
        sheet.Paint(x0 + c * 3, y0, x0 + c * 3 + 1, y0 + 192, [](float, float) { return art::Hex(0xFF2020, 1); });
    for (int c : v)
        sheet.Paint(x0, y0 + c * 3, x0 + 192, y0 + c * 3 + 1, [](float, float) { return art::Hex(0xFF2020, 1); });
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: VexaContactSheet <runtime tree> <sheet.png>\n");
        return 2;
    }
    std::string bin = std::string(argv[1]) + "/";
    std::vector<std::string> tiles;
    for (const auto& entry : std::filesystem::directory_iterator(bin + "DataPack/Vexa"))
        if (entry.path().extension() == ".png")
            tiles.push_back(entry.path().string());
    std::sort(tiles.begin(), tiles.end());

    const int columns = 12, pitch = 136, width = columns * pitch + 8;
    const int tileRows = int(tiles.size() + columns - 1) / columns;
    const int skinTop = 8 + tileRows * pitch, barTop = skinTop + 2 * 200, backTop = barTop + 140;
    Canvas sheet(width, backTop + 392, art::Hex(0x303438));
    for (size_t i = 0; i < tiles.size(); ++i)
        sheet.Draw(Load(tiles[i]), 8 + int(i % columns) * pitch, 8 + int(i / columns) * pitch);

    struct Piece {
        const char* file;
        std::vector<int> u, v;
    };
    const Piece pieces[] = {
        {"GUI/Mac/Button.png", {12, 52}, {1, 21, 22, 42, 44}},
        {"GUI/Mac/Dialog.png", {}, {}},
        {"GUI/Mac/DialogTitle.tga", {10, 15, 48, 54}, {24, 40, 52}},
        {"GUI/Mac/SlaveButtons.tga", {14, 16, 32, 48}, {16, 22, 28, 52, 58}},
        {"GUI/Mac/ComboBox.png", {6, 16, 52}, {24, 32, 48}},
        {"GUI/Mac/InputLine.png", {4, 60}, {4, 60}},
        {"GUI/Mac/Menu.tga", {8}, {10}},
        {"GUI/frame.tga", {}, {}},
        {"GUI/frameflyover.tga", {}, {}},
        {"GUI/frameselection.tga", {}, {}},
    };
    int slot = 0;
    for (const Piece& p : pieces) {
        Canvas c = Load(bin + p.file);
        Canvas big = c.Width() == 64 ? Scale(c, 3, 1) : Scale(c, 3, 2);
        int x = 8 + (slot % 7) * 200, y = skinTop + (slot / 7) * 200;
        Checker(sheet, x, y, 192, 192);
        sheet.Draw(big, x, y);
        Cuts(sheet, x, y, p.u, p.v);
        ++slot;
    }
    const char* small[] = {"GUI/board.tga", "GUI/particle.tga", "GUI/test.png", "icon7.bmp"};
    for (int i = 0; i < 4; ++i) {
        Canvas c = Load(bin + small[i]);
        int x = 8 + i * 140;
        Checker(sheet, x, barTop, 128, 128);
        sheet.Draw(c.Width() <= 32 ? Scale(c, 4, 1) : Scale(c, 2, 1), x, barTop);
    }
    sheet.Draw(Scale(Load(bin + "GUI/lifebar.jpg"), 3, 1), 8 + 4 * 140, barTop);
    sheet.Draw(Scale(Load(bin + "GUI/combobar.jpg"), 3, 1), 8 + 4 * 140, barTop + 64);
    const char* backgrounds[] = {"default.jpg", "Tulips.jpg", "Autumn.jpg"};
    for (int i = 0; i < 3; ++i)
        sheet.Draw(Scale(Load(bin + "GUI/BackGround/" + backgrounds[i]), 1, 2), 8 + i * 520, backTop);
    if (!sheet.WritePng(argv[2])) {
        std::fprintf(stderr, "VexaContactSheet: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
