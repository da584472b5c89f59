// Runs the picture fuzz target without libFuzzer, and checks what the loader must refuse:
// over the files named on the command line, then over small pictures of every format the
// game ships (PNG, JPEG, BMP, plain and run-length TGA) made here, every truncation of
// them, seeded byte corruptions, headers that claim oversized pictures, and a JPEG whose
// Huffman table holds more codes than the decoder has room for.
#include "mesh_fuzz_device.h"

#include <kvException.h>

#include <stb_image_write.h>

#include <stdint.h>
#include <stdio.h>

#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

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

struct Seed {
    const char* name;
    std::string bytes;
    size_t slack;  // bytes the end may lack and still load (a BMP's last row padding)
};

std::vector<Seed> MakeSeeds()
{
    const int w = 5, h = 3;
    std::vector<unsigned char> pixels(w * h * 4);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<unsigned char>(i * 37 + 11);
    std::vector<Seed> seeds;
    auto add = [&](const char* name, size_t slack, auto write) {
        std::string bytes;
        write(&bytes);
        seeds.push_back({name, bytes, slack});
    };
    add("png", 0, [&](std::string* o) { stbi_write_png_to_func(Append, o, w, h, 4, pixels.data(), w * 4); });
    add("grey png", 0, [&](std::string* o) { stbi_write_png_to_func(Append, o, w, h, 1, pixels.data(), w); });
    add("jpg", 0, [&](std::string* o) { stbi_write_jpg_to_func(Append, o, w, h, 3, pixels.data(), 90); });
    add("bmp", 3, [&](std::string* o) { stbi_write_bmp_to_func(Append, o, w, h, 3, pixels.data()); });
    add("tga", 0, [&](std::string* o) {
        stbi_write_tga_with_rle = 0;
        stbi_write_tga_to_func(Append, o, w, h, 4, pixels.data());
    });
    add("rle tga", 0, [&](std::string* o) {
        stbi_write_tga_with_rle = 1;
        stbi_write_tga_to_func(Append, o, w, h, 4, pixels.data());
    });
    return seeds;
}

void PutLe(std::string& s, size_t at, uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        s[at + i] = static_cast<char>(v >> (8 * i));
}

}  // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        Run(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
    }
    std::mt19937 random(20261210);
    const std::vector<Seed> seeds = MakeSeeds();
    for (const Seed& seed : seeds) {
        const std::string& valid = seed.bytes;
        Expect(Loads(valid), std::string(seed.name) + ": the whole picture is refused");
        for (size_t n = 0; n + seed.slack < valid.size(); ++n)
            Expect(!Loads(valid.substr(0, n)),
                   std::string(seed.name) + ": the first " + std::to_string(n) + " of " +
                       std::to_string(valid.size()) + " bytes load");
        for (int round = 0; round < 150; ++round) {
            std::string input = valid;
            const int changes = 1 + static_cast<int>(random() % 4);
            for (int k = 0; k < changes; ++k)
                input[random() % input.size()] = static_cast<char>(random() & 0xFF);
            Run(input);
        }
        Run(valid + std::string(3000, '\xFF'));
    }

    // Headers that claim pictures beyond the limits: refused before any pixel is made.
    struct Claim {
        uint32_t width, height;
    };
    const Claim claims[] = {{16385, 1}, {1, 16385}, {8192, 8192}, {0x7FFFFFFF, 2}};
    for (const Claim& c : claims) {
        std::string bmp = seeds[3].bytes, tga = seeds[4].bytes, png = seeds[0].bytes;
        PutLe(bmp, 18, c.width, 4);
        PutLe(bmp, 22, c.height, 4);
        PutLe(tga, 12, c.width, 2);  // a TGA edge holds 16 bits: the width alone grows
        const std::string size = std::to_string(c.width) + " x " + std::to_string(c.height);
        Expect(!Loads(bmp), "a BMP claiming " + size + " loads");
        if (c.width <= 0xFFFF && c.width > 16384)
            Expect(!Loads(tga), "a TGA claiming " + size + " loads");
        Run(bmp);
        Run(tga);
        // The PNG's size is in its header chunk, behind a checksum stb_image does not test.
        for (int i = 0; i < 4; ++i) {
            png[16 + i] = static_cast<char>(c.width >> (24 - 8 * i));
            png[20 + i] = static_cast<char>(c.height >> (24 - 8 * i));
        }
        Expect(!Loads(png), "a PNG claiming " + size + " loads");
    }
    // A JPEG Huffman table claiming 16 x 255 codes: the decoder would write past its tables
    // (the sanitizers see it), so it is refused before decoding.
    std::string jpg = seeds[2].bytes;
    const size_t dht = jpg.find("\xFF\xC4");
    Expect(dht != std::string::npos && dht + 21 <= jpg.size(), "the JPEG has no Huffman table");
    if (dht != std::string::npos && dht + 21 <= jpg.size()) {
        for (size_t i = dht + 5; i < dht + 21; ++i)
            jpg[i] = '\xFF';
        Expect(!Loads(jpg), "a JPEG with a Huffman table of 4080 codes loads");
        Expect(!Loads("\xFF" + jpg), "the same behind a fill byte loads");
    }
    printf("picture replay: %s\n", faults ? "FAILED" : "done");
    return faults ? 1 : 0;
}
