// VexaShotPng IN OUT: turns a screenshot (any picture stb reads: the BMP the programs and
// the X tool write) into a PNG, for the documentation and for looking at test pictures.
#include <stb_image.h>
#include <stb_image_write.h>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: VexaShotPng IN OUT.png\n");
        return 2;
    }
    int w = 0, h = 0, channels = 0;
    unsigned char* pixels = stbi_load(argv[1], &w, &h, &channels, 3);
    if (!pixels) {
        std::fprintf(stderr, "%s: %s\n", argv[1], stbi_failure_reason());
        return 1;
    }
    const bool written = stbi_write_png(argv[2], w, h, 3, pixels, w * 3) != 0;
    stbi_image_free(pixels);
    if (!written)
        std::fprintf(stderr, "%s: not written\n", argv[2]);
    return written ? 0 : 1;
}
