// kvStream in block mode: the block table, positions, growth and strings; and raw mode's
// pass-through to the medium.
#include "MemoryStream.h"
#include "ThrownMessage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

TEST(BlockStream, NewStreamHoldsIdentityAndStampBlocks)
{
    MemoryStream s("abc", true, true, false);
    ASSERT_EQ(2u, s.GetBlockCount());
    const kvStreamBlock* id = s.GetBlockEntry(0);
    EXPECT_EQ(KVSTREAM_IDENTITY_BLOCK, id->id);
    ASSERT_EQ(7u, id->size);
    EXPECT_EQ(0, std::memcmp(id->data, "\x03\0\0\0abc", 7));
    EXPECT_EQ(KVSTREAM_STAMP_BLOCK, s.GetBlockEntry(1)->id);
    EXPECT_EQ(8u, s.GetBlockEntry(1)->size);
    EXPECT_EQ(s.GetBlockEntry(1), s.GetCurrentBlock());  // the stamp block stays selected
}

TEST(BlockStream, AddBlockSelectsAnExistingIdAndStopsAt1024)
{
    MemoryStream s("", true, true, false);
    s.AddBlock(7);
    const kvStreamBlock* seven = s.GetCurrentBlock();
    EXPECT_EQ(KVSTREAM_BLOCKSTEP, int(seven->capacity));
    s.AddBlock(8);
    s.AddBlock(7);
    EXPECT_EQ(seven, s.GetCurrentBlock());
    EXPECT_EQ(4u, s.GetBlockCount());
    for (DWORD id = 100; s.GetBlockCount() < KVSTREAM_MAXBLOCKS; ++id)
        s.AddBlock(id);
    const kvStreamBlock* last = s.GetCurrentBlock();
    s.AddBlock(99999);
    EXPECT_EQ(DWORD(KVSTREAM_MAXBLOCKS), s.GetBlockCount());
    EXPECT_EQ(last, s.GetCurrentBlock());
}

TEST(BlockStream, SetBlockKeepsSelectionAndPositionWhenMissing)
{
    MemoryStream s("", true, true, false);
    s.AddBlock(1);
    int v = 5;
    s.Write(&v, 4);
    s.AddBlock(2);
    EXPECT_TRUE(s.SetBlock(1));
    EXPECT_EQ(4, s.GetPos());  // selecting does not move the position
    EXPECT_FALSE(s.SetBlock(42));
    EXPECT_EQ(1u, s.GetCurrentBlock()->id);
}

TEST(BlockStream, WritingGrowsCapacityInWholeSteps)
{
    MemoryStream s("", true, true, false);
    s.AddBlock(1);
    std::vector<BYTE> data(20000, 0x5A);
    s.Write(data.data(), DWORD(data.size()));
    EXPECT_EQ(32768u, s.GetCurrentBlock()->capacity);
    EXPECT_EQ(20000u, s.GetCurrentBlock()->size);
    // An exact fit also grows: the buffer always has room past the end.
    MemoryStream t("", true, true, false);
    t.AddBlock(1);
    std::vector<BYTE> exact(KVSTREAM_BLOCKSTEP);
    t.Write(exact.data(), DWORD(exact.size()));
    EXPECT_EQ(32768u, t.GetCurrentBlock()->capacity);
}

TEST(BlockStream, AWriteTruncatesTheBlockAtItsEnd)
{
    MemoryStream s("", true, true, false);
    s.AddBlock(1);
    std::vector<BYTE> hundred(100, 1);
    s.Write(hundred.data(), 100);
    s.SetPos(0, 0);
    int v = 0;
    s.Write(&v, 4);
    EXPECT_EQ(4u, s.GetCurrentBlock()->size);
    s.SetPos(2, 0);
    EXPECT_EQ(4, s.GetPos());
    s.SetPos(1, -2);
    EXPECT_EQ(2, s.GetPos());
    s.SetPos(7, 100);  // unknown origins are ignored
    EXPECT_EQ(2, s.GetPos());
}

TEST(BlockStream, WritingBeyondTheEndLeavesZeros)
{
    MemoryStream s("", true, true, false);
    s.AddBlock(1);
    s.SetPos(0, 10);
    BYTE b = 0xEE;
    s.Write(&b, 1);
    EXPECT_EQ(11u, s.GetCurrentBlock()->size);
    s.SetPos(0, 0);
    BYTE back[11];
    s.Read(back, 11);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(0, back[i]);
    EXPECT_EQ(0xEE, back[10]);
}

TEST(BlockStream, RefusesReadsAndWritesOutsideTheBlock)
{
    MemoryStream s("", true, true, false);
    s.AddBlock(1);
    int v = 1;
    s.Write(&v, 4);
    s.SetPos(0, 2);
    BYTE out[4];
    EXPECT_EQ("Read past the end of a stream block.", ThrownMessage([&] { s.Read(out, 4); }));
    EXPECT_EQ(2, s.GetPos());  // a refused read does not move
    s.SetPos(0, -8);
    EXPECT_EQ("Read past the end of a stream block.", ThrownMessage([&] { s.Read(out, 1); }));
    EXPECT_EQ("Stream position is outside the block.", ThrownMessage([&] { s.Write(&v, 4); }));
    s.SetPos(2, 100);  // size - 100: before the start
    EXPECT_EQ("Stream position is outside the block.", ThrownMessage([&] { s.Write(&v, 4); }));
    s.SetPos(0, 0x7FFFFFF0);
    EXPECT_EQ("Stream block too large.", ThrownMessage([&] { s.Write(&v, 4); }));
    EXPECT_EQ(4u, s.GetCurrentBlock()->size);
}

TEST(BlockStream, StringsAreLengthPrefixedAndBounded)
{
    MemoryStream s("", true, true, false);
    s.AddBlock(1);
    s.SaveString("");
    s.SaveString("简单");
    std::string longText(300, 'x');
    s.SaveString(longText.c_str());
    s.SetPos(0, 0);
    char buf[256];
    s.LoadStringA(buf);
    EXPECT_STREQ("", buf);
    s.LoadStringA(buf);
    EXPECT_STREQ("简单", buf);
    EXPECT_EQ("Stored string is too long for its buffer.",
              ThrownMessage([&] { s.LoadStringA(buf); }));
    char big[301];
    s.SetPos(0, 4 + 4 + 4);  // back to the long string's prefix
    s.LoadStringA(big, sizeof big);
    EXPECT_EQ(longText, big);
    // A prefix claiming more bytes than the block holds is refused by the read.
    s.SetPos(2, 0);
    DWORD lie = 200;
    s.Write(&lie, 4);
    s.SetPos(2, 4);
    EXPECT_EQ("Read past the end of a stream block.", ThrownMessage([&] { s.LoadStringA(buf); }));
}

TEST(RawStream, PassesThroughToTheMediumRelativeToBasePos)
{
    MemoryStream s("raw", false, false, false);
    EXPECT_EQ(0u, s.GetBlockCount());
    s.Write("hello", 5);
    EXPECT_EQ(5, s.GetPos());
    s.SetPos(0, 0);
    EXPECT_EQ(-1, s.GetPos());  // exactly at basePos reads as -1
    char back[5];
    s.Read(back, 5);
    EXPECT_EQ(0, std::memcmp(back, "hello", 5));
    s.SetPos(2, -1);
    EXPECT_EQ(4, s.GetPos());
    s.AddBlock(3);  // ignored outside block mode
    EXPECT_EQ(0u, s.GetBlockCount());
    s.Flush();
    EXPECT_EQ(1, s.flushes);
    EXPECT_EQ(std::vector<BYTE>({'h', 'e', 'l', 'l', 'o'}), s.medium);
}

TEST(BlockStream, RawSeekOriginMovesTheMedium)
{
    MemoryStream s("", true, false, false, std::vector<BYTE>(50));
    s.SetPos(KVSTREAM_RAWSEEK, 20);
    EXPECT_EQ(20, s.position);
    EXPECT_EQ(8, s.GetPos());  // the block's own position is untouched
}

}  // namespace
