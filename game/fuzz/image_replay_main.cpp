// Runs the picture fuzz target without libFuzzer, and checks what the loader must refuse:
// over the files named on the command line, then over small pictures made here (PNG,
// JPEG, BMP, run-length TGA), every truncation of them, seeded byte corruptions, headers
// that claim oversized pictures, and JPEGs whose Huffman tables the decoder would overrun.
#include "mesh_fuzz_device.h"

#include <kvException.h>

#include <stb_image_write.h>

#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <tuple>
#include <utility>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

int faults = 0;

void Run(const std::string& input)
{
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
}

// True when the bytes load as a plain picture.
bool Loads(const std::string& input)
{
    meshfuzz::EnsureDevice();
    meshfuzz::WriteScratch("i.img", reinterpret_cast<const uint8_t*>(input.data()), input.size());
    try {
        kvD3D::Installed()->LoadImage("i.img", false, 0)->Release();
        return true;
    } catch (kvException* e) {
        DeleteException(e);
        return false;
    }
}

void Expect(bool ok, const std::string& what)
{
    if (!ok) {
        printf("picture replay: %s\n", what.c_str());
        ++faults;
    }
}

void Append(void* context, void* data, int size)
{
    static_cast<std::string*>(context)->append(static_cast<const char*>(data), size_t(size));
}

}  // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        Run(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
    }
    const int w = 5, h = 3;
    unsigned char pixels[w * h * 4];
    for (size_t i = 0; i < sizeof pixels; ++i)
        pixels[i] = static_cast<unsigned char>(i * 37 + 11);
    std::string png, jpg, bmp, tga;
    stbi_write_png_to_func(Append, &png, w, h, 4, pixels, w * 4);
    stbi_write_jpg_to_func(Append, &jpg, w, h, 3, pixels, 90);
    stbi_write_bmp_to_func(Append, &bmp, w, h, 3, pixels);
    stbi_write_tga_with_rle = 1;
    stbi_write_tga_to_func(Append, &tga, w, h, 4, pixels);

    std::mt19937 random(20261210);
    // The BMP may lack its last row's padding (one byte for 5 pixels) and still load.
    for (const auto& [name, valid, slack] :
         {std::make_tuple("png", png, 0), {"jpg", jpg, 0}, {"bmp", bmp, 1}, {"tga", tga, 0}}) {
        Expect(Loads(valid), std::string(name) + ": the whole picture is refused");
        for (size_t n = 0; n + slack < valid.size(); ++n)
            Expect(!Loads(valid.substr(0, n)), std::string(name) + ": its first " +
                                                   std::to_string(n) + " bytes load");
        for (int round = 0; round < 200; ++round) {
            std::string input = valid;
            for (int k = 0, changes = 1 + int(random() % 4); k < changes; ++k)
                input[random() % input.size()] = static_cast<char>(random() & 0xFF);
            Run(input);
        }
    }

    // BMP headers claiming pictures beyond 16384 a side or 32 M pixels.
    for (auto [width, height] : {std::make_pair(16385u, 1u), {1u, 16385u}, {8192u, 8192u}}) {
        std::string big = bmp;
        for (int i = 0; i < 4; ++i) {
            big[18 + i] = static_cast<char>(width >> (8 * i));
            big[22 + i] = static_cast<char>(height >> (8 * i));
        }
        Expect(!Loads(big), "a BMP of " + std::to_string(width) + " x " + std::to_string(height) + " loads");
    }

    // A scan using a Huffman table no segment defines.
    std::string undefined = jpg;
    const size_t sos = undefined.find("\xFF\xDA");
    Expect(sos != std::string::npos, "the JPEG has no scan");
    if (sos != std::string::npos) {
        undefined[sos + 6] = '\x33';
        Expect(!Loads(undefined), "a JPEG using an undefined Huffman table loads");
    }
    // A Huffman table claiming 16 x 255 codes, also behind a fill byte the decoder skips.
    const size_t dht = jpg.find("\xFF\xC4");
    Expect(dht != std::string::npos, "the JPEG has no Huffman table");
    if (dht != std::string::npos) {
        jpg.replace(dht + 5, 16, 16, '\xFF');
        Expect(!Loads(jpg) && !Loads("\xFF" + jpg), "a JPEG with 4080 Huffman codes loads");
    }
    printf("picture replay: %s\n", faults ? "FAILED" : "done");
    return faults ? 1 : 0;
}
