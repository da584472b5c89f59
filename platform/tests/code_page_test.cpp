// Code-page conversions keep the real functions' length, terminator and error conventions.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

const char kJianDan[] = "简单";  // compiled as GBK: BC F2 B5 A5

TEST(MultiByteToWideChar, ConvertsGbkToTwoUnitsAndBack)
{
    ASSERT_EQ(std::string("\xBC\xF2\xB5\xA5"), kJianDan);
    WCHAR wide[8] = {};
    EXPECT_EQ(2, MultiByteToWideChar(CP_ACP, 0, kJianDan, 4, wide, 8));
    EXPECT_EQ(std::u16string(u"简单"), std::u16string(wide, 2));

    char back[8] = {};
    BOOL usedDefault = TRUE;
    EXPECT_EQ(4, WideCharToMultiByte(CP_ACP, 0, wide, 2, back, 8, nullptr, &usedDefault));
    EXPECT_EQ(std::string(kJianDan), std::string(back, 4));
    EXPECT_FALSE(usedDefault);
}

TEST(MultiByteToWideChar, MinusOneCountsAndWritesTheTerminator)
{
    EXPECT_EQ(3, MultiByteToWideChar(CP_ACP, 0, kJianDan, -1, nullptr, 0));
    WCHAR wide[3] = {u'x', u'x', u'x'};
    EXPECT_EQ(3, MultiByteToWideChar(CP_ACP, 0, kJianDan, -1, wide, 3));
    EXPECT_EQ(0, wide[2]);
    // With an explicit length no terminator is added.
    EXPECT_EQ(2, MultiByteToWideChar(CP_ACP, 0, kJianDan, 4, nullptr, 0));
}

TEST(MultiByteToWideChar, TooSmallBufferFailsWithInsufficientBuffer)
{
    WCHAR wide[1];
    SetLastError(0);
    EXPECT_EQ(0, MultiByteToWideChar(CP_ACP, 0, kJianDan, -1, wide, 1));
    EXPECT_EQ(DWORD(ERROR_INSUFFICIENT_BUFFER), GetLastError());
}

TEST(MultiByteToWideChar, RefusesBadParameters)
{
    WCHAR wide[4];
    SetLastError(0);
    EXPECT_EQ(0, MultiByteToWideChar(CP_ACP, 0, "a", 0, wide, 4));
    EXPECT_EQ(DWORD(ERROR_INVALID_PARAMETER), GetLastError());
    EXPECT_EQ(0, MultiByteToWideChar(CP_ACP, 0, nullptr, 1, wide, 4));
    EXPECT_EQ(0, MultiByteToWideChar(1252, 0, "a", 1, wide, 4));
    EXPECT_EQ(DWORD(ERROR_INVALID_PARAMETER), GetLastError());
    EXPECT_EQ(0, MultiByteToWideChar(CP_UTF8, MB_PRECOMPOSED, "a", 1, wide, 4));
    EXPECT_EQ(DWORD(ERROR_INVALID_FLAGS), GetLastError());
}

TEST(MultiByteToWideChar, LoneLeadByteAtTheEndIsNotPairedWithWhatFollows)
{
    // The byte after the given length is a valid trail byte; it must not be read.
    const char input[] = "a\xBC\xF2";
    WCHAR wide[4] = {};
    EXPECT_EQ(2, MultiByteToWideChar(CP_ACP, 0, input, 2, wide, 4));
    EXPECT_EQ(u'a', wide[0]);
    EXPECT_EQ(u'?', wide[1]);
    SetLastError(0);
    EXPECT_EQ(0, MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, input, 2, wide, 4));
    EXPECT_EQ(DWORD(ERROR_NO_UNICODE_TRANSLATION), GetLastError());
}

TEST(MultiByteToWideChar, LeadByteBeforeANonTrailByteLeavesThatByteStanding)
{
    WCHAR wide[4] = {};
    // '0' is below the trail range 0x40..0xFE.
    EXPECT_EQ(2, MultiByteToWideChar(CP_ACP, 0, "\xBC" "0", 2, wide, 4));
    EXPECT_EQ(u'?', wide[0]);
    EXPECT_EQ(u'0', wide[1]);
}

TEST(MultiByteToWideChar, Utf8ProducesSurrogatePairsAndReplacesBadBytes)
{
    WCHAR wide[8] = {};
    EXPECT_EQ(2, MultiByteToWideChar(CP_UTF8, 0, "\xF0\x9F\x98\x80", 4, wide, 8));
    EXPECT_EQ(0xD83D, wide[0]);
    EXPECT_EQ(0xDE00, wide[1]);
    EXPECT_EQ(2, MultiByteToWideChar(CP_UTF8, 0, "\xE4\xB8", 2, wide, 8));
    EXPECT_EQ(0xFFFD, wide[0]);
}

TEST(WideCharToMultiByte, UnmappableCharacterUsesTheDefault)
{
    const WCHAR text[] = {u'A', 0x0E01 /* Thai ko kai has no GBK code */, 0};
    char out[8] = {};
    BOOL usedDefault = FALSE;
    EXPECT_EQ(3, WideCharToMultiByte(CP_ACP, 0, text, -1, out, 8, nullptr, &usedDefault));
    EXPECT_STREQ("A?", out);
    EXPECT_TRUE(usedDefault);
    EXPECT_EQ(3, WideCharToMultiByte(CP_ACP, 0, text, -1, out, 8, "#", nullptr));
    EXPECT_STREQ("A#", out);
}

TEST(WideCharToMultiByte, NeverSplitsADoubleByteCharacterAtTheBufferEnd)
{
    char out[3] = {};
    SetLastError(0);
    EXPECT_EQ(0, WideCharToMultiByte(CP_ACP, 0, u"简单", 2, out, 3, nullptr, nullptr));
    EXPECT_EQ(DWORD(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    EXPECT_EQ(4, WideCharToMultiByte(CP_ACP, 0, u"简单", 2, nullptr, 0, nullptr, nullptr));
}

TEST(WideCharToMultiByte, Utf8RefusesDefaultCharArguments)
{
    char out[8];
    BOOL used;
    SetLastError(0);
    EXPECT_EQ(0, WideCharToMultiByte(CP_UTF8, 0, u"a", 1, out, 8, nullptr, &used));
    EXPECT_EQ(DWORD(ERROR_INVALID_PARAMETER), GetLastError());
    EXPECT_EQ(6, WideCharToMultiByte(CP_UTF8, 0, u"简单", 2, out, 8, nullptr, nullptr));
}

TEST(CodePage, EveryDoubleByteCharacterRoundTrips)
{
    int mapped = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F)
                continue;
            char in[2] = {char(lead), char(trail)};
            WCHAR w[2];
            if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, in, 2, w, 2) != 1)
                continue;
            ++mapped;
            char out[2];
            ASSERT_EQ(2, WideCharToMultiByte(CP_ACP, 0, w, 1, out, 2, nullptr, nullptr));
            // Code page 936 has a few duplicate codes; the round trip keeps the character.
            WCHAR again;
            ASSERT_EQ(1, MultiByteToWideChar(CP_ACP, 0, out, 2, &again, 1));
            ASSERT_EQ(w[0], again) << std::hex << lead << " " << trail;
        }
    }
    EXPECT_GT(mapped, 21000);  // GBK holds 21886 double-byte characters
}

}  // namespace
