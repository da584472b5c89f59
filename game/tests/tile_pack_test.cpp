// Reading list.txt: entries, tags and names, descriptions, and refused lists.
#include "PackFolder.h"
#include "ThrownMessage.h"

#include <TilePack.h>
#include <kvException.h>

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

TEST(TilePack, ReadsEntriesTagsNamesAndDescriptions)
{
    PackFolder folder;
    folder.Write("list.txt", "3\r\nstars\\film_Castor.jpg\nplain.png\nsea/a_b_c.tga");
    system(("mkdir -p '" + folder.path + "stars' '" + folder.path + "sea'").c_str());
    folder.Write("stars/film_Castor.txt", "Twin|of Pollux\nsecond line ignored\n");
    folder.Write("plain.txt", "");
    RecordingTextures textures;
    CTilePack pack;
    pack.Load(folder.path.c_str(), &textures);

    ASSERT_EQ(3, pack.count);
    std::vector<std::string> lines = {"stars\\film_Castor.jpg", "plain.png", "sea/a_b_c.tga"};
    EXPECT_EQ(lines, textures.created);  // exactly the line's text
    EXPECT_STREQ("film", pack.entries[0].tag);
    EXPECT_STREQ("Castor", pack.entries[0].name);
    EXPECT_STREQ("Twin|of Pollux", pack.entries[0].description);
    EXPECT_STREQ("", pack.entries[1].tag);
    EXPECT_STREQ("", pack.entries[1].name);
    EXPECT_STREQ("", pack.entries[1].description);  // the file exists but is empty
    EXPECT_STREQ("a", pack.entries[2].tag);
    EXPECT_STREQ("b_c", pack.entries[2].name);  // split at the first '_' only
    EXPECT_STREQ("这个人很懒，什么都没留下。", pack.entries[2].description);
    EXPECT_NE(pack.entries[0].texture, pack.entries[1].texture);

    pack.Clear();
    EXPECT_EQ(3, textures.released);
    EXPECT_EQ(0, pack.count);
}

TEST(TilePack, DefaultDescriptionIsGbk)
{
    PackFolder folder;
    folder.WriteList(1);
    CTilePack pack;
    pack.Load(folder.path.c_str(), nullptr);
    // "这个" in code page 936.
    EXPECT_EQ(std::string("\xD5\xE2\xB8\xF6"), std::string(pack.entries[0].description, 4));
}

TEST(TilePack, LongFieldsAreCutNeverOverrun)
{
    PackFolder folder;
    std::string tag(40, 't');
    std::string name(40, 'n');
    folder.Write("list.txt", "1\n" + tag + "_" + name + ".jpg\n");
    folder.Write(tag + "_" + name + ".txt", std::string(600, 'd') + "\n");
    CTilePack pack;
    pack.Load(folder.path.c_str(), nullptr);
    EXPECT_EQ(std::string(31, 't'), pack.entries[0].tag);
    EXPECT_EQ(std::string(31, 'n'), pack.entries[0].name);
    EXPECT_EQ(std::string(511, 'd'), pack.entries[0].description);
}

TEST(TilePack, ExtraLinesBeyondTheCountAreIgnored)
{
    PackFolder folder;
    folder.Write("list.txt", "2\na_1.jpg\na_2.jpg\na_3.jpg\n");
    CTilePack pack;
    pack.Load(folder.path.c_str(), nullptr);
    EXPECT_EQ(2, pack.count);
}

TEST(TilePack, AFullListOf256Loads)
{
    PackFolder folder;
    folder.WriteList(256);
    CTilePack pack;
    pack.Load(folder.path.c_str(), nullptr);
    EXPECT_EQ(256, pack.count);
}

struct RefusedCase {
    const char* name;
    const char* list;  // nullptr: no list.txt at all
    const char* message;
};

std::ostream& operator<<(std::ostream& os, const RefusedCase& c)
{
    return os << c.name;
}

const RefusedCase REFUSED[] = {
    {"Missing", nullptr, "Failed to open tile pack list @list.txt."},
    {"EmptyFile", "", "Tile pack list @list.txt must begin with a picture count from 1 to 256."},
    {"NotANumber", "many\na.jpg\n",
     "Tile pack list @list.txt must begin with a picture count from 1 to 256."},
    {"TrailingText", "2 pictures\na.jpg\nb.jpg\n",
     "Tile pack list @list.txt must begin with a picture count from 1 to 256."},
    {"Zero", "0\n", "Tile pack list @list.txt must begin with a picture count from 1 to 256."},
    {"Negative", "-3\na.jpg\n",
     "Tile pack list @list.txt must begin with a picture count from 1 to 256."},
    {"MoreThan256", "257\na.jpg\n",
     "Tile pack list @list.txt must begin with a picture count from 1 to 256."},
    {"CountLargerThanLines", "5\na.jpg\nb.jpg\n",
     "Tile pack list @list.txt names 5 pictures but lists only 2."},
    {"EmptyPictureLine", "2\na.jpg\n\nb.jpg\n", "Tile pack list @list.txt: picture line 2 is empty."},
};

class RefusedList : public testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedList, RaisesADataFileExceptionAndStaysEmpty)
{
    const RefusedCase& c = GetParam();
    PackFolder folder;
    if (c.list)
        folder.Write("list.txt", c.list);
    RecordingTextures textures;
    CTilePack pack;
    DWORD type = 99;
    std::string message = ThrownMessage([&] { pack.Load(folder.path.c_str(), &textures); }, &type);
    std::string expected = c.message;
    expected.replace(expected.find('@'), 1, folder.path);
    EXPECT_EQ(expected, message);
    EXPECT_EQ(static_cast<DWORD>(KVEXCEPTION_DATAFILE), type);
    EXPECT_EQ(0, pack.count);
    EXPECT_TRUE(textures.created.empty());
}

INSTANTIATE_TEST_SUITE_P(TilePack, RefusedList, testing::ValuesIn(REFUSED),
                         [](const testing::TestParamInfo<RefusedCase>& param) {
                             return std::string(param.param.name);
                         });

TEST(TilePack, OverLongPictureLineIsRefused)
{
    PackFolder folder;
    folder.Write("list.txt", "1\n" + std::string(600, 'p') + ".jpg\n");
    CTilePack pack;
    std::string message = ThrownMessage([&] { pack.Load(folder.path.c_str(), nullptr); });
    EXPECT_EQ("Tile pack list " + folder.path + "list.txt: picture line 1 is too long.", message);
}

TEST(TilePack, A511CharacterLineIsAccepted)
{
    PackFolder folder;
    std::string line = std::string(507, 'p') + ".jpg";
    folder.Write("list.txt", "1\r\n" + line + "\r\n");
    RecordingTextures textures;
    CTilePack pack;
    pack.Load(folder.path.c_str(), &textures);
    ASSERT_EQ(1u, textures.created.size());
    EXPECT_EQ(line, textures.created[0]);
}

}  // namespace
