// The generated pictures read where the game cuts them: the button's three rows and its
// stretchable middle, the panel's nine pieces, the frame's ring and its three states, and
// the pointer's hot spot.
#include <stb_image.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

struct Picture {
    int w = 0, h = 0;
    unsigned char* p = nullptr;
    explicit Picture(const char* file)
    {
        int n = 0;
        p = stbi_load((std::string(VEXA_RUNTIME_TREE) + file).c_str(), &w, &h, &n, 4);
    }
    ~Picture() { stbi_image_free(p); }
    const unsigned char* At(int x, int y) const { return p + (size_t(y) * size_t(w) + size_t(x)) * 4; }
    bool ColumnsAlike(int x0, int x1, int y) const
    {
        for (int x = x0; x < x1; ++x)
            for (int k = 0; k < 4; ++k)
                if (std::abs(At(x, y)[k] - At(x0, y)[k]) > 1)
                    return false;
        return true;
    }
};

TEST(Skin, ButtonRowsLieOnTheirCutLines)
{
    Picture button("GUI/Mac/Button.png");
    ASSERT_TRUE(button.p);
    ASSERT_EQ(64, button.w);
    // Pixels v 0, 21, 42 and 43 lie between the rows; rows 1..20, 22..41, 44..63 are drawn.
    for (int v = 0; v < 64; ++v) {
        bool between = v == 0 || v == 21 || v == 42 || v == 43;
        EXPECT_EQ(between, button.At(32, v)[3] == 0) << "v " << v;
        EXPECT_TRUE(button.ColumnsAlike(12, 52, v)) << "middle not stretchable at v " << v;
    }
    // The rounded ends stay inside the 11-pixel caps: column 11 is solid mid-row.
    for (int v : {11, 32, 54})
        EXPECT_EQ(255, button.At(11, v)[3]) << v;
}

TEST(Skin, PanelEdgesStretchAndFramesDiffer)
{
    Picture panel("GUI/board.tga");
    ASSERT_TRUE(panel.p);
    for (int v = 0; v < 64; ++v)
        EXPECT_TRUE(panel.ColumnsAlike(5, 59, v)) << "v " << v;
    const char* frames[] = {"GUI/frame.tga", "GUI/frameflyover.tga", "GUI/frameselection.tga"};
    int ring[3][3];
    for (int i = 0; i < 3; ++i) {
        Picture f(frames[i]);
        ASSERT_TRUE(f.p) << frames[i];
        EXPECT_EQ(0, f.At(64, 64)[3]) << frames[i];    // the picture shows through
        EXPECT_EQ(255, f.At(64, 4)[3]) << frames[i];   // the ring covers the band
        for (int k = 0; k < 3; ++k)
            ring[i][k] = f.At(64, 6)[k];
    }
    for (int i = 0; i < 3; ++i)
        for (int j = i + 1; j < 3; ++j) {
            int d = 0;
            for (int k = 0; k < 3; ++k)
                d += std::abs(ring[i][k] - ring[j][k]);
            EXPECT_GT(d, 120) << frames[i] << " and " << frames[j] << " look alike";
        }
    Picture pointer("GUI/test.png");
    ASSERT_TRUE(pointer.p);
    EXPECT_EQ(255, pointer.At(0, 0)[3]);
    EXPECT_EQ(0, pointer.At(31, 0)[3]);
}

}  // namespace
