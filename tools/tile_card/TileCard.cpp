// VexaTileCard: turns one picture into a tile of a player's tile pack.
//
//   VexaTileCard <picture> <tile.png>
//
// Reads any picture stb_image reads (PNG, JPEG, BMP, TGA, GIF's first frame, ...), cuts
// the largest centred square out of it, scales that to 128 x 128 and writes it as PNG.
// Transparent parts stay transparent. Exits 1 with a message when the picture cannot be
// read or the tile cannot be written.
#include <stb_image.h>
#include <stb_image_resize.h>
#include <stb_image_write.h>

#include <cstdio>
#include <vector>

namespace {

constexpr int kTile = 128;

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: VexaTileCard <picture> <tile.png>\n");
        return 2;
    }
    int w = 0, h = 0, channels = 0;
    unsigned char* pixels = stbi_load(argv[1], &w, &h, &channels, 4);
    if (!pixels) {
        std::fprintf(stderr, "VexaTileCard: cannot read %s: %s\n", argv[1], stbi_failure_reason());
        return 1;
    }
    const int edge = w < h ? w : h;
    const unsigned char* square = pixels + (size_t((h - edge) / 2) * w + (w - edge) / 2) * 4;
    std::vector<unsigned char> tile(size_t(kTile) * kTile * 4);
    // Alpha-weighted, so the colour of transparent pixels does not bleed into the edges.
    const bool scaled = stbir_resize_uint8_srgb(square, edge, edge, w * 4, tile.data(), kTile,
                                                kTile, kTile * 4, 4, 3, 0) != 0;
    stbi_image_free(pixels);
    if (!scaled || !stbi_write_png(argv[2], kTile, kTile, 4, tile.data(), kTile * 4)) {
        std::fprintf(stderr, "VexaTileCard: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
