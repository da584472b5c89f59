// The debug log as the game writes it: a raw file stream handed to SetDebugOutput, with
// the system-information block at its start and the finish line at its end.
#include <kvFileStream.h>
#include <kvTrace.h>

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

TEST(DebugLog, OpensWithTheSystemBlockAndEndsWithFinish)
{
    std::remove("debug.txt");
    SetDebugOutput(new kvFileStream("debug.txt", "wt", false, ""), false);
    Trace("Initialization done.");
    kvlib::CloseTraceOutputs();
    Trace("after the close: debugger only");

    std::ifstream in("debug.txt");
    std::stringstream all;
    all << in.rdbuf();
    const std::string text = all.str();
    const std::vector<std::string> lines = Lines(text);
    ASSERT_EQ(21u, lines.size());

    const char* day = "(Mon|Tue|Wed|Thu|Fri|Sat|Sun) [A-Z][a-z]{2} [ 0-9]\\d \\d\\d:\\d\\d:\\d\\d \\d{4}";
    EXPECT_TRUE(std::regex_match(lines[0], std::regex(std::string("--------  D E B U G  -------- ") + day)))
        << lines[0];
    EXPECT_EQ("", lines[1]);  // the ctime text ends in its own line feed
    EXPECT_EQ("SYSTEM  INFORMATION", lines[2]);
    EXPECT_EQ("", lines[3]);
    EXPECT_TRUE(std::regex_match(lines[4], std::regex("CPU Host Freq: \\d+Mhz"))) << lines[4];
    EXPECT_TRUE(std::regex_match(lines[5], std::regex("Vendor Name: .*"))) << lines[5];
    EXPECT_EQ(0u, lines[6].find("CPU Model: "));
    EXPECT_TRUE(std::regex_match(lines[7], std::regex("CPU Support MMX: (Yes|No)")));
    EXPECT_TRUE(std::regex_match(lines[8], std::regex("CPU Support for SSE: (Yes|No)")));
    EXPECT_TRUE(std::regex_match(lines[9], std::regex("CPU Support for SSE2: (Yes|No)")));
    EXPECT_TRUE(std::regex_match(lines[10], std::regex("CPU Support for 3DNOW: (Yes|No)")));
    EXPECT_TRUE(std::regex_match(lines[11], std::regex("CPU Number: [1-9]\\d*"))) << lines[11];
    EXPECT_EQ(" ", lines[12]);
    EXPECT_TRUE(std::regex_match(lines[13], std::regex("Physical Memory: [1-9]\\d* MB \\(Free: \\d+ MB\\)")))
        << lines[13];
    EXPECT_TRUE(std::regex_match(lines[14], std::regex("Virtual Memory: [1-9]\\d* MB \\(Free: \\d+ MB\\)")))
        << lines[14];
    EXPECT_EQ(" ", lines[15]);
    EXPECT_TRUE(std::regex_match(lines[16], std::regex("Windows Version: \\d+\\.\\d+ \\(Build \\d+\\)")))
        << lines[16];
    EXPECT_EQ("-----------------------------", lines[17]);
    EXPECT_EQ("Initialization done.", lines[18]);
    EXPECT_EQ(" ", lines[19]);
    EXPECT_TRUE(std::regex_match(lines[20], std::regex(std::string("---------   FINISH  --------- ") + day)))
        << lines[20];
    EXPECT_EQ(21u, lines.size());
    EXPECT_EQ('\n', text.back());
#if defined(__x86_64__) || defined(__i386__)
    EXPECT_NE("CPU Host Freq: 0Mhz", lines[4]);
    EXPECT_EQ("CPU Support for SSE2: Yes", lines[9]);  // every x86-64 processor has it
#endif
}

}  // namespace
