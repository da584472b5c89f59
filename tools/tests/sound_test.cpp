// The six generated sounds: 44.1 kHz 16-bit PCM, short, loud enough and never clipped,
// starting and ending in silence.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

uint32_t Le(const std::vector<unsigned char>& b, size_t at, int bytes)
{
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | b[at + size_t(i)];
    return v;
}

TEST(Sounds, ArePcmShortAndNormalisedWithoutClipping)
{
    const struct {
        const char* file;
        double longest;
    } sounds[] = {{"link.wav", 0.5},  {"click.wav", 0.5}, {"move.wav", 0.5},
                  {"victory.wav", 2.5}, {"hint.wav", 0.5},  {"shuffle.wav", 0.5}};
    for (const auto& s : sounds) {
        SCOPED_TRACE(s.file);
        std::ifstream in(std::string(VEXA_RUNTIME_TREE) + "GUI/Sound/" + s.file, std::ios::binary);
        std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_GT(b.size(), 44u);
        ASSERT_EQ(0, std::memcmp(b.data(), "RIFF", 4));
        ASSERT_EQ(0, std::memcmp(b.data() + 8, "WAVEfmt ", 8));
        EXPECT_EQ(1u, Le(b, 20, 2));      // PCM
        EXPECT_EQ(44100u, Le(b, 24, 4));  // rate
        EXPECT_EQ(16u, Le(b, 34, 2));     // bits
        ASSERT_EQ(0, std::memcmp(b.data() + 36, "data", 4));
        uint32_t bytes = Le(b, 40, 4), channels = Le(b, 22, 2);
        ASSERT_EQ(b.size(), 44u + bytes);
        EXPECT_LE(bytes / 2.0 / channels / 44100.0, s.longest);
        int peak = 0;
        for (uint32_t i = 0; i < bytes; i += 2)
            peak = std::max(peak, std::abs(int(int16_t(Le(b, 44 + i, 2)))));
        EXPECT_LT(peak, 32767);                 // no sample at full scale
        EXPECT_GT(peak, 32767 / 8);             // and audible (the tick is quiet)
        EXPECT_LT(std::abs(int(int16_t(Le(b, 44, 2)))), 64);                // no click at the start
        EXPECT_LT(std::abs(int(int16_t(Le(b, 44 + bytes - 2, 2)))), 64);   // nor at the end
    }
}

}  // namespace
