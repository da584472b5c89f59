// scripts/make-tile-pack.py: a folder of pictures becomes a pack the game's loader reads,
// and a folder it cannot use leaves the previous pack as it was.
#include "PackFolder.h"

#include <TilePack.h>

#include <gtest/gtest.h>

#include <stb_image.h>
#include <stb_image_write.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

// Runs the script; its exit status, its error output in *errors.
int MakePack(const std::string& pictures, const std::string& pack, std::string* errors)
{
    const std::string log = pack.substr(0, pack.size() - 1) + ".log";  // beside the pack
    const std::string command = std::string("python3 '") + VEXA_TILE_SCRIPT + "' --tool '" +
                                VEXA_TILE_CARD + "' '" + pictures + "' '" + pack + "' >/dev/null 2>'" +
                                log + "'";
    const int status = system(command.c_str());
    FILE* f = fopen(log.c_str(), "rb");
    char buffer[1024] = {};
    if (f) {
        fread(buffer, 1, sizeof buffer - 1, f);
        fclose(f);
    }
    *errors = buffer;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A picture whose left and right sixths are red and blue and whose middle is green: the
// wide pictures of the test are sized so that their centred square is the green band.
void WriteBands(const std::string& path, int w, int h)
{
    std::vector<unsigned char> rgb(size_t(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            unsigned char* p = &rgb[(size_t(y) * w + x) * 3];
            const int band = x < w / 6 ? 0 : x >= w - w / 6 ? 2 : 1;
            p[0] = band == 0 ? 255 : 0;
            p[1] = band == 1 ? 255 : 0;
            p[2] = band == 2 ? 255 : 0;
        }
    const std::string ext = path.substr(path.rfind('.'));
    if (ext == ".jpg")
        stbi_write_jpg(path.c_str(), w, h, 3, rgb.data(), 95);
    else if (ext == ".bmp")
        stbi_write_bmp(path.c_str(), w, h, 3, rgb.data());
    else
        stbi_write_png(path.c_str(), w, h, 3, rgb.data(), w * 3);
}

// File names on the disk are UTF-8; the literals of this file are GBK, hence u8.
struct Source {
    PackFolder folder;
    std::string pictures = folder.path + "pictures/";
    std::string pack = folder.path + "pack/";

    Source()
    {
        system(("mkdir -p '" + pictures + "'").c_str());
        WriteBands(pictures + u8"水果_苹果.png", 300, 200);
        WriteBands(pictures + u8"动物_狗.jpg", 96, 64);
        WriteBands(pictures + u8"风景.bmp", 135, 90);
        folder.Write(u8"pictures/水果_苹果.txt", u8"红红的\n\n很好吃\n");
        folder.Write("pictures/notes.md", "not a picture");
    }
};

TEST(TilePackScript, MakesAPackTheGameLoads)
{
    Source source;
    std::string errors;
    ASSERT_EQ(0, MakePack(source.pictures, source.pack, &errors)) << errors;
    EXPECT_NE(std::string::npos, errors.find("too few pictures")) << errors;

    CTilePack pack;
    pack.Load(source.pack.c_str(), nullptr);
    ASSERT_EQ(3, pack.count);
    // In the order of the file names; tags, names and descriptions in GBK.
    const char* const tags[] = {"动物", "水果", "自选"};
    const char* const names[] = {"狗", "苹果", "风景"};
    const char* const descriptions[] = {"这个人很懒，什么都没留下。", "红红的|很好吃",
                                        "这个人很懒，什么都没留下。"};
    const char* const files[] = {u8"动物_狗.png", u8"水果_苹果.png", u8"自选_风景.png"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_STREQ(tags[i], pack.entries[i].tag) << i;
        EXPECT_STREQ(names[i], pack.entries[i].name) << i;
        EXPECT_STREQ(descriptions[i], pack.entries[i].description) << i;
        int w = 0, h = 0, n = 0;
        unsigned char* tile = stbi_load((source.pack + files[i]).c_str(), &w, &h, &n, 4);
        ASSERT_TRUE(tile) << files[i];
        EXPECT_EQ(128, w);
        EXPECT_EQ(128, h);
        // The centred square of the picture: green to its edges, the bands cut away.
        for (int x : {6, 64, 121}) {
            const unsigned char* p = tile + (64 * 128 + x) * 4;
            EXPECT_LT(p[0], 40) << files[i] << " x " << x;
            EXPECT_GT(p[1], 200) << files[i] << " x " << x;
        }
        stbi_image_free(tile);
    }
}

struct RefusedCase {
    const char* name;
    const char* file;  // UTF-8
    const char* text;  // nullptr: a real picture
    const char* message;
};

std::ostream& operator<<(std::ostream& os, const RefusedCase& c)
{
    return os << c.name;
}

const RefusedCase REFUSED[] = {
    {"NameOutsideGbk", u8"动物_\U0001F600.png", nullptr, "is not a GBK character"},
    {"NotAPicture", u8"动物_猫.png", "plain text", "cannot read"},
    {"SameTileTwice", u8"水果_苹果.jpg", nullptr, "makes the same tile"},
};

class TilePackScriptRefuses : public testing::TestWithParam<RefusedCase> {};

TEST_P(TilePackScriptRefuses, WithAMessageAndLeavesThePackAlone)
{
    const RefusedCase& c = GetParam();
    Source source;
    std::string errors;
    ASSERT_EQ(0, MakePack(source.pictures, source.pack, &errors)) << errors;
    const std::string before = source.folder.path + "before";
    system(("cp -r '" + source.pack + "' '" + before + "'").c_str());

    if (c.text)
        source.folder.Write(std::string("pictures/") + c.file, c.text);
    else
        WriteBands(source.pictures + c.file, 32, 32);
    EXPECT_EQ(1, MakePack(source.pictures, source.pack, &errors));
    EXPECT_NE(std::string::npos, errors.find(c.message)) << errors;
    // The pack as it was, and no scratch folder left beside it.
    EXPECT_EQ(0, system(("diff -r '" + before + "' '" + source.pack + "' && ! ls -A '" +
                         source.folder.path + "' | grep -q '^\\.tile-pack'").c_str()));
}

INSTANTIATE_TEST_SUITE_P(Table, TilePackScriptRefuses, testing::ValuesIn(REFUSED),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
