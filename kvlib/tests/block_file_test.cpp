// The block file: written byte for byte by Flush, read back by GetResBlock, and refused
// when it lies about its own layout.
#include "MemoryStream.h"
#include "ThrownMessage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

void PutWord(std::vector<BYTE>& v, DWORD w)
{
    for (int i = 0; i < 4; ++i)
        v.push_back(BYTE(w >> (8 * i)));
}

// A block file from (id, payload) pairs, laid out as Flush lays it out.
std::vector<BYTE> BlockFile(const std::vector<std::pair<DWORD, std::vector<BYTE>>>& blocks)
{
    std::vector<BYTE> f;
    PutWord(f, DWORD(blocks.size()));
    DWORD offset = 4 + 12 * DWORD(blocks.size());
    for (const auto& b : blocks) {
        PutWord(f, b.first);
        PutWord(f, offset);
        PutWord(f, DWORD(b.second.size()));
        offset += DWORD(b.second.size());
    }
    for (const auto& b : blocks)
        f.insert(f.end(), b.second.begin(), b.second.end());
    return f;
}

TEST(BlockFile, NewStreamNamedAbcFlushesFortyThreeBytes)
{
    MemoryStream s("abc", true, true, false);
    s.Flush();
    ASSERT_EQ(43u, s.medium.size());
    const std::vector<BYTE> head = {2, 0, 0, 0,
                                    0x01, 0, 0, 0xF0, 28, 0, 0, 0, 7, 0, 0, 0,
                                    0x02, 0, 0, 0xF0, 35, 0, 0, 0, 8, 0, 0, 0,
                                    3, 0, 0, 0, 'a', 'b', 'c'};
    EXPECT_EQ(head, std::vector<BYTE>(s.medium.begin(), s.medium.begin() + 35));
    EXPECT_EQ(28u, s.GetBlockEntry(0)->offset);
    EXPECT_EQ(35u, s.GetBlockEntry(1)->offset);
    EXPECT_EQ(2, s.flushes);  // once after the file, once for Flush itself
}

TEST(BlockFile, RoundTripsBlocksAndSelectsTheFirst)
{
    MemoryStream out("identity", true, true, false);
    out.AddBlock(0x8001);
    out.SaveString("dialog");
    out.AddBlock(0xFF000001);
    DWORD v = 1234;
    out.Write(&v, 4);
    out.Flush();

    MemoryStream in("identity", true, false, true, out.medium);
    in.Load();
    ASSERT_EQ(4u, in.GetBlockCount());
    EXPECT_EQ(KVSTREAM_IDENTITY_BLOCK, in.GetCurrentBlock()->id);
    EXPECT_NO_THROW(in.Authenticate());
    ASSERT_TRUE(in.SetBlock(0xFF000001));
    DWORD back = 0;
    in.Read(&back, 4);
    EXPECT_EQ(1234u, back);
    EXPECT_EQ(4u, in.GetCurrentBlock()->capacity);  // a loaded block holds just its data
    in.Write(&back, 4);                              // and still grows when written
    EXPECT_EQ(8u, in.GetCurrentBlock()->size);
    ASSERT_TRUE(in.SetBlock(0x8001));
    char text[256];
    in.LoadStringA(text);
    EXPECT_STREQ("dialog", text);
}

TEST(BlockFile, DuplicateIdsSelectTheFirstInTableOrder)
{
    MemoryStream in("", true, false, true,
                    BlockFile({{5, {'a'}}, {1, {'b'}}, {5, {'c'}}}));
    in.Load();
    EXPECT_EQ(5u, in.GetCurrentBlock()->id);
    EXPECT_EQ(in.GetBlockEntry(0), in.GetCurrentBlock());
    in.SetBlock(1);
    ASSERT_TRUE(in.SetBlock(5));
    EXPECT_EQ(in.GetBlockEntry(0), in.GetCurrentBlock());
    BYTE c;
    in.Read(&c, 1);
    EXPECT_EQ('a', c);
}

TEST(BlockFile, AuthenticationComparesTheStoredIdentity)
{
    MemoryStream out("the right file", true, true, false);
    out.Flush();
    MemoryStream wrong("another file", true, false, true, out.medium);
    wrong.Load();
    DWORD type = 99;
    EXPECT_EQ("File authentication failed.", ThrownMessage([&] { wrong.Authenticate(); }, &type));
    EXPECT_EQ(1u, type);
    MemoryStream prefix("the right", true, false, true, out.medium);
    prefix.Load();
    EXPECT_EQ("File authentication failed.", ThrownMessage([&] { prefix.Authenticate(); }));
    // Without an identity block there is nothing to check.
    MemoryStream bare("x", true, false, true, BlockFile({{7, {}}}));
    bare.Load();
    EXPECT_NO_THROW(bare.Authenticate());
    // A stream opened for saving rewrites the identity with its own name.
    MemoryStream saving("mine", true, true, false);
    saving.Authenticate();
    saving.SetBlock(KVSTREAM_IDENTITY_BLOCK);
    EXPECT_EQ(8u, saving.GetCurrentBlock()->size);
}

TEST(BlockFile, MalformedFilesAreRefusedAndChangeNothing)
{
    std::vector<BYTE> tooMany;
    PutWord(tooMany, 1025);
    tooMany.resize(4 + 12 * 1025);

    std::vector<BYTE> shortDirectory = BlockFile({{1, {1, 2, 3}}});
    shortDirectory.resize(10);

    std::vector<BYTE> outside = BlockFile({{1, {1, 2, 3}}});
    outside[8] = 0xF0;  // offset far beyond the file

    std::vector<BYTE> sizeOverflow = BlockFile({{1, {1, 2, 3}}});
    for (int i = 12; i < 16; ++i)
        sizeOverflow[i] = 0xFF;  // offset + size wraps in 32 bits

    struct Case {
        const char* what;
        std::vector<BYTE> bytes;
        const char* message;
    } cases[] = {
        {"empty", {}, "Block file is truncated."},
        {"three bytes", {1, 0, 0}, "Block file is truncated."},
        {"1025 blocks", tooMany, "Block file lists more than 1024 blocks."},
        {"directory cut short", shortDirectory, "Block file is truncated."},
        {"payload outside", outside, "Block file entry lies outside the file."},
        {"size wraps", sizeOverflow, "Block file entry lies outside the file."},
    };
    for (const Case& c : cases) {
        MemoryStream s("keep", true, false, true, c.bytes);
        DWORD type = 0;
        EXPECT_EQ(c.message, ThrownMessage([&] { s.Load(); }, &type)) << c.what;
        EXPECT_EQ(1u, type) << c.what;
        // The blocks made by the constructor are still there and usable.
        EXPECT_EQ(2u, s.GetBlockCount()) << c.what;
        EXPECT_NO_THROW(s.Authenticate()) << c.what;
    }
}

TEST(BlockFile, ExactlyTheLimitsAreAccepted)
{
    std::vector<std::pair<DWORD, std::vector<BYTE>>> many;
    for (DWORD i = 0; i < KVSTREAM_MAXBLOCKS; ++i)
        many.push_back({i, {}});
    MemoryStream s("", true, false, true, BlockFile(many));
    s.Load();
    EXPECT_EQ(DWORD(KVSTREAM_MAXBLOCKS), s.GetBlockCount());

    MemoryStream none("", true, false, true, BlockFile({}));
    none.Load();
    EXPECT_EQ(0u, none.GetBlockCount());
    BYTE b;
    EXPECT_EQ("No stream block is selected.", ThrownMessage([&] { none.Read(&b, 1); }));
}

}  // namespace
