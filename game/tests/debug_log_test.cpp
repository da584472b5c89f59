// Where the debug log goes: beside the program, else the player's state folder, else
// nowhere, and never an exception.
#include "PackFolder.h"

#include <DebugLog.h>
#include <KvLib.h>

#include <gtest/gtest.h>

#include <stdlib.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Sets or (with nullptr) removes an environment variable for one test.
struct EnvValue {
    std::string name;
    std::string saved;
    bool had;
    EnvValue(const char* n, const char* value) : name(n)
    {
        const char* old = getenv(n);
        had = old != nullptr;
        saved = had ? old : "";
        value ? setenv(n, value, 1) : unsetenv(n);
    }
    ~EnvValue() { had ? setenv(name.c_str(), saved.c_str(), 1) : unsetenv(name.c_str()); }
};

struct FolderCase {
    const char* state;
    const char* home;
    const char* expected;
};

TEST(DebugLog, TheStateFolderFollowsXdgThenHome)
{
    const FolderCase cases[] = {
        {"/s", "/h", "/s/vexatessel/"},
        {"", "/h", "/h/.local/state/vexatessel/"},
        {"relative/state", "/h", "/h/.local/state/vexatessel/"},
        {nullptr, "/h", "/h/.local/state/vexatessel/"},
        {nullptr, "relative", ""},
        {nullptr, nullptr, ""},
    };
    for (const FolderCase& c : cases) {
        EnvValue state("XDG_STATE_HOME", c.state), home("HOME", c.home);
        EXPECT_EQ(c.expected, DebugLogStateFolder())
            << "XDG_STATE_HOME=" << (c.state ? c.state : "(unset)")
            << " HOME=" << (c.home ? c.home : "(unset)");
    }
}

// kvPath set to a folder for one test; the log is closed at the end.
struct ProgramFolder {
    std::string saved = kvPath;
    explicit ProgramFolder(const std::string& folder)
    {
        snprintf(kvPath, sizeof kvPath, "%s", folder.c_str());
    }
    ~ProgramFolder()
    {
        kvlib::CloseTraceOutputs();
        snprintf(kvPath, sizeof kvPath, "%s", saved.c_str());
    }
};

TEST(DebugLog, AWritableProgramFolderKeepsTheLogBesideTheProgram)
{
    PackFolder root;
    EnvValue state("XDG_STATE_HOME", (root.path + "state").c_str());
    ProgramFolder program(root.path);
    EXPECT_EQ(root.path + "debug.txt", OpenDebugLog());
    Trace("Round started at difficulty 0.");
    kvlib::CloseTraceOutputs();
    EXPECT_NE(std::string::npos, ReadText(root.path + "debug.txt").find("Round started"));
    EXPECT_EQ("", ReadText(root.path + "state/vexatessel/debug.txt"));
}

TEST(DebugLog, AProgramFolderThatTakesNoLogSendsItToTheStateFolder)
{
    PackFolder root;
    // Both folders below the state home are made.
    EnvValue state("XDG_STATE_HOME", (root.path + "home/state").c_str());
    ProgramFolder program(root.path + "missing/");
    const std::string log = root.path + "home/state/vexatessel/debug.txt";
    EXPECT_EQ(log, OpenDebugLog());
    Trace("Round started at difficulty 1.");
    kvlib::CloseTraceOutputs();
    const std::string text = ReadText(log);
    EXPECT_NE(std::string::npos, text.find("the program's folder cannot be written")) << text;
    EXPECT_NE(std::string::npos, text.find("Round started at difficulty 1.")) << text;
}

TEST(DebugLog, NoFolderForTheLogRunsWithoutOne)
{
    PackFolder root;
    root.Write("file", "not a folder");
    const std::string blocked[] = {root.path + "file/state", ""};
    for (const std::string& home : blocked) {
        EnvValue state("XDG_STATE_HOME", home.empty() ? nullptr : home.c_str());
        EnvValue noHome("HOME", nullptr);
        ProgramFolder program(root.path + "missing/");
        std::string log = "unset";
        EXPECT_NO_THROW(log = OpenDebugLog());
        EXPECT_EQ("", log) << "state home " << home;
        Trace("nowhere to go");
    }
}

}  // namespace
