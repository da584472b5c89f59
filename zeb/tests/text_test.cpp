// The base text writer, the installed-writer slot and the GBK line rules.
#include "RecordingText.h"

#include <WText.h>
#include <zebText.h>

#include <gtest/gtest.h>

#include <ostream>

class OutTextTest : public ::testing::Test {
protected:
    void SetUp() override { SetOutText(nullptr); }
    void TearDown() override
    {
        delete OutText;  // what FreeZeb will do for the installed writer
        SetOutText(nullptr);
    }
    DrawLog log;
};

TEST(WTextBase, DefaultsAndMeasuresNothing)
{
    WText text;
    EXPECT_EQ(12, text.height);
    EXPECT_EQ(WTEXT_LEFT, text.flags);
    EXPECT_EQ(255u, text.colour);

    WText* writer = &text;
    writer->DrawTextA(10, 10, "确定");
    const WCHAR wide[] = u"wide";
    EXPECT_EQ(0, writer->GetWidth("确定 OK"));
    EXPECT_EQ(0, writer->GetHeight("确定 OK"));
    EXPECT_EQ(0, writer->GetWidthW(wide));
    EXPECT_EQ(0, writer->GetWidth(""));
}

TEST(WTextBase, KeepsHeightAndFlagsAndStartsInBlue)
{
    WText text(16, WTEXT_CENTRE);
    EXPECT_EQ(16, text.height);
    EXPECT_EQ(WTEXT_CENTRE, text.flags);
    EXPECT_EQ(255u, text.colour);
}

TEST_F(OutTextTest, InstalledWriterIsReachedThroughOutText)
{
    auto* writer = new RecordingText(&log);
    SetOutText(writer);
    ASSERT_EQ(writer, OutText);
    OutText->flags = WTEXT_CENTRE;
    OutText->colour = 0xFFACD373;
    OutText->DrawTextA(40, 8, "取消");
    EXPECT_EQ((DrawLog{"DrawTextA(40,8,\"取消\",flags=6,colour=0xFFACD373)"}), log);
}

TEST_F(OutTextTest, ReplacingLeavesTheFirstWriterToItsCreator)
{
    auto* first = new RecordingText(&log);
    auto* second = new RecordingText(&log);
    SetOutText(first);
    SetOutText(second);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(second, OutText);
    first->DrawTextA(0, 0, "still here");
    EXPECT_EQ(1u, log.size());
    delete first;
}

TEST_F(OutTextTest, ReinstallingTheSameWriterKeepsIt)
{
    auto* writer = new RecordingText(&log);
    SetOutText(writer);
    SetOutText(writer);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(writer, OutText);
}

TEST_F(OutTextTest, NullUninstallsWithoutDeleting)
{
    auto* writer = new RecordingText(&log);
    SetOutText(writer);
    SetOutText(nullptr);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(nullptr, OutText);
    delete writer;
}

struct LineCase {
    const char* text;
    int bytes;
    int chars;
};

std::ostream& operator<<(std::ostream& os, const LineCase& c)
{
    return os << '"' << (c.text ? c.text : "(null)") << '"';
}

class LineRules : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineRules, LineEndsAtNulOrLineFeedAndPairsCountOnce)
{
    const LineCase& c = GetParam();
    const int bytes = zeb::LineBytes(c.text);
    EXPECT_EQ(c.bytes, bytes);
    EXPECT_EQ(c.chars, zeb::CharCount(c.text, bytes));
}

INSTANTIATE_TEST_SUITE_P(Gbk, LineRules,
                         ::testing::Values(LineCase{nullptr, 0, 0}, LineCase{"", 0, 0},
                                           LineCase{"OK", 2, 2}, LineCase{"OK\nCancel", 2, 2},
                                           LineCase{"\nOK", 0, 0}, LineCase{"确定", 4, 2},
                                           LineCase{"是 No", 5, 4},
                                           // A lead byte before the NUL is a character of its own.
                                           LineCase{"\xB0", 1, 1},
                                           // 0xA1 is the lowest byte of a pair; 0xA0 is not one.
                                           LineCase{"\xA1\xA1", 2, 1}, LineCase{"\xA0\xA1", 2, 2},
                                           LineCase{"\xB0\x41", 2, 2}));

TEST(LineRules, PairCutByTheLengthCountsAsOne)
{
    EXPECT_EQ(2, zeb::CharCount("A确", 2));
    EXPECT_FALSE(zeb::IsDoubleByte(nullptr));
    EXPECT_FALSE(zeb::IsDoubleByte(""));
}

TEST(RecordingTextFont, MeasuresTheFirstLineAtFixedPitch)
{
    DrawLog log;
    RecordingText text(&log, 16);
    EXPECT_EQ(2 * 8, text.GetWidth("OK\nlonger line"));
    EXPECT_EQ(2 * 16 + 8, text.GetWidth("确定!"));
    EXPECT_EQ(8, text.GetWidth("\xB0"));
    EXPECT_EQ(16, text.GetHeight(""));
    const WCHAR wide[] = u"A确";
    EXPECT_EQ(8 + 16, text.GetWidthW(wide));
}
