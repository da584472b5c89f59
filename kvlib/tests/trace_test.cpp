// Trace lines: numbering, line ends, bufTrace, the debugger copy and the cut at 255.
#include "MemoryStream.h"

#include <kvTrace.h>
#include <vexa/platform.h>

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Text(const MemoryStream& s)
{
    return std::string(s.medium.begin(), s.medium.end());
}

// Each test installs its own debug log; the platform's system block is cut away.
class TraceTest : public ::testing::Test {
protected:
    MemoryStream* Install(bool numbered)
    {
        auto* log = new MemoryStream("", false, false, false);
        SetDebugOutput(log, numbered);
        log->medium.clear();
        log->position = 0;
        return log;
    }
    void TearDown() override { SetDebugOutput(nullptr, false); }
};

TEST_F(TraceTest, NumberedTraceThenTracenl)
{
    MemoryStream* log = Install(true);
    std::string before = Text(*log);
    Trace("a");
    Tracenl("b");
    // The counter has run through the system block; find the two new lines.
    std::string text = Text(*log);
    size_t hashA = text.rfind("#", text.find(" a\n"));
    int n = std::stoi(text.substr(hashA + 1));
    EXPECT_EQ("#" + std::to_string(n) + " a\n#" + std::to_string(n + 1) + " b", text);
}

TEST_F(TraceTest, UnnumberedLinesAndFlush)
{
    MemoryStream* log = Install(false);
    int flushes = log->flushes;
    Tracenl("x=%d", 5);
    Trace("y");
    EXPECT_EQ("x=5y\n", Text(*log));
    EXPECT_EQ(flushes + 2, log->flushes);  // every line is flushed at once
    EXPECT_STREQ("y", bufTrace);
}

TEST_F(TraceTest, LongTextIsCutAndReachesTheDebugger)
{
    MemoryStream* log = Install(false);
    vexa::platform::ClearDebugOutput();
    std::string longText(400, 'z');
    Trace("%s", longText.c_str());
    EXPECT_EQ(std::string(255, 'z') + "\n", Text(*log));
    EXPECT_EQ(std::string(255, 'z') + "\n", vexa::platform::DebugOutputText());
    EXPECT_EQ(std::string(255, 'z'), bufTrace);

    // kvTrace itself cuts a text longer than bufTrace and still ends the line.
    log->medium.clear();
    log->position = 0;
    kvStream* slot = log;
    kvTrace(&slot, true, longText.c_str());
    std::string line = Text(*log);
    EXPECT_EQ('\n', line.back());
    EXPECT_LT(line.size(), 320u);
    EXPECT_EQ(299u, std::string(bufTrace).size());
}

TEST_F(TraceTest, NullSlotDoesNothingAndEmptySlotStillReachesTheDebugger)
{
    Install(false);
    vexa::platform::ClearDebugOutput();
    kvTrace(nullptr, true, "nothing");
    EXPECT_EQ("", vexa::platform::DebugOutputText());
    kvStream* empty = nullptr;
    kvTrace(&empty, true, "debugger only");
    EXPECT_EQ("debugger only\n", vexa::platform::DebugOutputText());
    EXPECT_STREQ("debugger only", bufTrace);
    netTrace("no network log: %d", 1);
    EXPECT_STREQ("no network log: 1", bufTrace);
}

TEST_F(TraceTest, NetworkLogGetsItsOwnLines)
{
    Install(false);
    auto* net = new MemoryStream("", false, false, false);
    SetNetOutput(net);
    netTrace("packet %d", 7);
    EXPECT_EQ("packet 7\n", Text(*net));
    SetNetOutput(nullptr);  // deletes the stream it held
}

TEST_F(TraceTest, SystemBlockOpensTheLog)
{
    auto* log = new MemoryStream("", false, false, false);
    SetDebugOutput(log, false);
    std::string text = Text(*log);
    EXPECT_EQ(0u, text.find("--------  D E B U G  -------- "));
    for (const char* line : {"\nSYSTEM  INFORMATION\n\n", "\nCPU Host Freq: ", "Mhz\n",
                             "\nVendor Name: ", "\nCPU Model: ", "\nCPU Support MMX: ",
                             "\nCPU Support for SSE: ", "\nCPU Support for SSE2: ",
                             "\nCPU Support for 3DNOW: ", "\nCPU Number: ", "\n \n",
                             "\nPhysical Memory: ", "\nVirtual Memory: ",
                             "\nWindows Version: ", "\n-----------------------------\n"})
        EXPECT_NE(std::string::npos, text.find(line)) << line;
}

}  // namespace
