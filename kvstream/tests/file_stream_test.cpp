// kvFileStream on real files: block files written and loaded, paths, refusals.
#include <kvException.h>
#include <kvFileStream.h>
#include <kvSystem.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

const char kIdentity[] = "VexaTessel test resource file";

std::string Message(kvException* e)
{
    std::string m = e->message;
    DeleteException(e);
    return m;
}

std::vector<char> FileBytes(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteBytes(const char* path, const std::vector<char>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), std::streamsize(bytes.size()));
}

TEST(FileStream, WritesABlockFileOnFlushAndLoadsItOnOpen)
{
    {
        kvFileStream out("res_test.kvr", "wb", true, kIdentity);
        out.AddBlock(0xFF000001);
        DWORD v = 77;
        out.Write(&v, 4);
        out.AddBlock(0x8001);
        out.SaveString("简单");
        out.Flush();
    }
    kvFileStream in("res_test.kvr", "rb", true, kIdentity);
    EXPECT_EQ(4u, in.GetBlockCount());
    ASSERT_TRUE(in.SetBlock(0xFF000001));
    DWORD v = 0;
    in.Read(&v, 4);
    EXPECT_EQ(77u, v);
    ASSERT_TRUE(in.SetBlock(0x8001));
    char text[256];
    in.LoadStringA(text);
    EXPECT_STREQ("简单", text);
}

TEST(FileStream, RefusesAFileWithAnotherIdentity)
{
    {
        kvFileStream out("other.kvr", "wb", true, "another program's file");
        out.Flush();
    }
    try {
        kvFileStream in("other.kvr", "rb", true, kIdentity);
        FAIL() << "opened a file with another identity";
    } catch (kvException* e) {
        EXPECT_EQ(1u, e->type);
        EXPECT_EQ("File authentication failed.", Message(e));
    }
}

TEST(FileStream, RefusesMissingAndTruncatedFiles)
{
    try {
        kvFileStream in("no_such_file.kvr", "rb", true, kIdentity);
        FAIL();
    } catch (kvException* e) {
        EXPECT_EQ("Failed to open file : no_such_file.kvr.", Message(e));
    }
    {
        kvFileStream out("cut.kvr", "wb", true, kIdentity);
        out.Flush();
    }
    std::vector<char> bytes = FileBytes("cut.kvr");
    bytes.resize(bytes.size() - 3);
    WriteBytes("cut.kvr", bytes);
    try {
        kvFileStream in("cut.kvr", "rb", true, kIdentity);
        FAIL();
    } catch (kvException* e) {
        EXPECT_EQ("Block file entry lies outside the file.", Message(e));
    }
}

TEST(FileStream, RawModeUsesTheFileDirectly)
{
    {
        kvFileStream out("raw.bin", "wb", false, "");
        out.Write("0123456789", 10);
        out.SetPos(0, 2);
        out.Write("ab", 2);
        out.Flush();
    }
    EXPECT_EQ(std::vector<char>({'0', '1', 'a', 'b', '4', '5', '6', '7', '8', '9'}),
              FileBytes("raw.bin"));
    kvFileStream in("raw.bin", "rb", false, "");
    in.SetPos(2, -3);
    char tail[5] = {'x', 'x', 'x', 'x', 'x'};
    in.Read(tail, 5);  // reads past the end come back as zeros
    EXPECT_EQ(std::string("789\0\0", 5), std::string(tail, 5));
}

TEST(FileStream, RelativeNamesFollowKvPathAndBothSeparators)
{
    std::remove("sub/inner.bin");
    std::string made = "mkdir -p sub";
    ASSERT_EQ(0, std::system(made.c_str()));
    {
        kvFileStream out("sub\\inner.bin", "wb", false, "");
        out.Write("x", 1);
    }
    EXPECT_EQ(1u, FileBytes("sub/inner.bin").size());
    InitFileLoader("sub\\", "");
    {
        kvFileStream in("inner.bin", "rb", false, "");
        char c = 0;
        in.Read(&c, 1);
        EXPECT_EQ('x', c);
    }
    kvPath[0] = 0;
}

TEST(FileStream, GbkNamesOpenTheirUtf8FilesOnDisk)
{
    ASSERT_EQ(0, std::system("mkdir -p '\xE6\xB0\xB4\xE6\x9E\x9C'"));  // 水果
    WriteBytes("\xE6\xB0\xB4\xE6\x9E\x9C/\xE4\xB9\x97.bin", {'g'});  // 水果/乗.bin
    // 乗 ends in the byte of a backslash in GBK; it stays one character of the name.
    kvFileStream in("\xCB\xAE\xB9\xFB\\\x81\x5C.bin", "rb", false, "");
    char c = 0;
    in.Read(&c, 1);
    EXPECT_EQ('g', c);
}

}  // namespace
