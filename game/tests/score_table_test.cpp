// The best-scores table: ordering and ties, the sixth result, the file across runs, an
// interrupted write, and corrupt or unreadable files.
#include "PackFolder.h"
#include "RecordingSeams.h"

#include <GameBoard.h>
#include <ScoreTable.h>
#include <kvTrace.h>

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

namespace {

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Exists(const std::string& path)
{
    return access(path.c_str(), F_OK) == 0;
}

// The file names in a folder other than "." and "..".
std::vector<std::string> Names(const std::string& folder)
{
    std::vector<std::string> names;
    FILE* ls = popen(("ls -A '" + folder + "'").c_str(), "r");
    char line[512];
    while (ls && fgets(line, sizeof line, ls)) {
        line[strcspn(line, "\n")] = 0;
        names.push_back(line);
    }
    if (ls)
        pclose(ls);
    return names;
}

// A table on a fresh data folder that does not exist yet.
struct ScoreFolder {
    PackFolder root;
    std::string folder = root.path + "data/vexatessel/";
    std::string file = folder + "scores.dat";
};

ScoreEntry Result(int score, float seconds, bool help, int64_t date)
{
    return ScoreEntry{score, 2, seconds, help, date};
}

// The dates of one difficulty's entries, best first.
std::vector<int64_t> Dates(const CScoreTable& table, int difficulty)
{
    std::vector<int64_t> dates;
    for (int i = 0; i < table.Count(difficulty); ++i)
        dates.push_back(table.Entry(difficulty, i).date);
    return dates;
}

struct OrderCase {
    const char* name;
    std::vector<ScoreEntry> added;  // dated 1, 2, 3 ... in order
    std::vector<int> ranks;         // Add's answer for each
    std::vector<int64_t> order;     // dates, best first
};

std::ostream& operator<<(std::ostream& os, const OrderCase& c)
{
    return os << c.name;
}

const OrderCase ORDER[] = {
    {"HigherScoreFirst",
     {Result(100, 50, false, 1), Result(200, 60, false, 2), Result(150, 10, false, 3)},
     {1, 1, 2},
     {2, 3, 1}},
    {"EqualScoreShorterTimeFirst",
     {Result(100, 50, false, 1), Result(100, 40, false, 2), Result(100, 60, false, 3)},
     {1, 1, 3},
     {2, 1, 3}},
    {"EqualScoreAndTimeWithoutHelpFirst",
     {Result(100, 50, true, 1), Result(100, 50, false, 2), Result(100, 50, true, 3)},
     {1, 1, 3},
     {2, 1, 3}},
    {"ExactTieGoesBelowTheOlder",
     {Result(100, 50, false, 1), Result(100, 50, false, 2)},
     {1, 2},
     {1, 2}},
    {"NegativeScoresRankToo", {Result(-200, 50, true, 1), Result(-100, 90, true, 2)}, {1, 1}, {2, 1}},
    {"SixthDroppedAndWorstPushedOut",
     {Result(500, 1, false, 1), Result(400, 1, false, 2), Result(300, 1, false, 3),
      Result(200, 1, false, 4), Result(100, 1, false, 5), Result(50, 1, false, 6),
      Result(250, 1, false, 7)},
     {1, 2, 3, 4, 5, 0, 4},
     {1, 2, 3, 7, 4}},
    {"TieWithTheFifthDoesNotEnter",
     {Result(100, 5, false, 1), Result(100, 5, false, 2), Result(100, 5, false, 3),
      Result(100, 5, false, 4), Result(100, 5, false, 5), Result(100, 5, false, 6)},
     {1, 2, 3, 4, 5, 0},
     {1, 2, 3, 4, 5}},
};

class ScoreOrder : public testing::TestWithParam<OrderCase> {};

TEST_P(ScoreOrder, RanksAndKeepsTheOrderAcrossRuns)
{
    const OrderCase& c = GetParam();
    ScoreFolder dir;
    CScoreTable table;
    table.Load(dir.folder);
    std::vector<int> ranks;
    for (const ScoreEntry& e : c.added)
        ranks.push_back(table.Add(2, e));
    EXPECT_EQ(c.ranks, ranks);
    EXPECT_EQ(c.order, Dates(table, 2));
    EXPECT_TRUE(table.IsSaved());
    EXPECT_EQ(0, table.Count(1));  // difficulties keep their own lists

    CScoreTable next;
    next.Load(dir.folder);
    EXPECT_EQ(c.order, Dates(next, 2));
    for (int i = 0; i < next.Count(2); ++i) {
        const ScoreEntry& e = next.Entry(2, i);
        const ScoreEntry& want = c.added[e.date - 1];
        EXPECT_EQ(want.score, e.score);
        EXPECT_EQ(want.maxCombo, e.maxCombo);
        EXPECT_EQ(want.seconds, e.seconds);
        EXPECT_EQ(want.helpUsed, e.helpUsed);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, ScoreOrder, testing::ValuesIn(ORDER),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(ScoreTable, EntryOfAWonRoundCarriesItsTimeFromTheLifeBar)
{
    RecordingSeams seams;
    CGameBoard board(EDITION_WINDOWED, seams.Seams());
    board.difficulty = DIFFICULTY_TABLE[0];
    board.score = 726;
    board.maxCombo = 3;
    board.life = 0.75f;
    board.helpUsed = true;
    ScoreEntry e = CScoreTable::EntryOfRound(board, 1765000000);
    EXPECT_EQ(726, e.score);
    EXPECT_EQ(3, e.maxCombo);
    EXPECT_NEAR(40.0f, e.seconds, 0.01f);
    EXPECT_TRUE(e.helpUsed);
    EXPECT_EQ(1765000000, e.date);
}

TEST(ScoreTable, RefusesADifficultyOutsideTheTable)
{
    ScoreFolder dir;
    CScoreTable table;
    table.Load(dir.folder);
    EXPECT_EQ(0, table.Add(-1, Result(10, 1, false, 1)));
    EXPECT_EQ(0, table.Add(DIFFICULTY_COUNT, Result(10, 1, false, 1)));
    EXPECT_EQ(0, table.Count(DIFFICULTY_COUNT));
    EXPECT_FALSE(Exists(dir.file));
}

struct FolderCase {
    const char* name;
    const char* xdg;  // nullptr: unset
    const char* home;
    const char* folder;
};

std::ostream& operator<<(std::ostream& os, const FolderCase& c)
{
    return os << c.name;
}

const FolderCase FOLDERS[] = {
    {"XdgDataHome", "/x/data", "/h", "/x/data/vexatessel/"},
    {"UnsetFallsBackToHome", nullptr, "/h", "/h/.local/share/vexatessel/"},
    {"EmptyFallsBackToHome", "", "/h", "/h/.local/share/vexatessel/"},
    {"RelativeIsIgnored", "data", "/h", "/h/.local/share/vexatessel/"},
    {"NeitherGivesNone", nullptr, nullptr, ""},
};

class ScoreFolderRule : public testing::TestWithParam<FolderCase> {};

TEST_P(ScoreFolderRule, FollowsTheDataDirectory)
{
    const FolderCase& c = GetParam();
    const char* oldXdg = getenv("XDG_DATA_HOME");
    const char* oldHome = getenv("HOME");
    std::string savedXdg = oldXdg ? oldXdg : "", savedHome = oldHome ? oldHome : "";
    c.xdg ? setenv("XDG_DATA_HOME", c.xdg, 1) : unsetenv("XDG_DATA_HOME");
    c.home ? setenv("HOME", c.home, 1) : unsetenv("HOME");
    std::string folder = CScoreTable::DefaultFolder();
    oldXdg ? setenv("XDG_DATA_HOME", savedXdg.c_str(), 1) : unsetenv("XDG_DATA_HOME");
    oldHome ? setenv("HOME", savedHome.c_str(), 1) : unsetenv("HOME");
    EXPECT_EQ(c.folder, folder);
}

INSTANTIATE_TEST_SUITE_P(Table, ScoreFolderRule, testing::ValuesIn(FOLDERS),
                         [](const auto& row) { return std::string(row.param.name); });

// A table of three results on the disk, and its bytes.
std::string SaveThree(const ScoreFolder& dir)
{
    CScoreTable table;
    table.Load(dir.folder);
    table.Add(0, Result(300, 30, false, 1));
    table.Add(0, Result(200, 30, false, 2));
    table.Add(3, Result(900, 99, true, 3));
    return ReadBytes(dir.file);
}

// Lets the file grow to no more than limit bytes from now on.
void LimitFileSize(rlim_t limit)
{
    struct rlimit r;
    getrlimit(RLIMIT_FSIZE, &r);
    r.rlim_cur = limit;
    setrlimit(RLIMIT_FSIZE, &r);
}

TEST(ScoreTable, ADiskFullMidWriteKeepsThePreviousFile)
{
    ScoreFolder dir;
    const std::string before = SaveThree(dir);
    CScoreTable table;
    table.Load(dir.folder);

    struct rlimit old;
    getrlimit(RLIMIT_FSIZE, &old);
    void (*oldHandler)(int) = signal(SIGXFSZ, SIG_IGN);
    LimitFileSize(100);  // the write stops after 100 of the file's bytes
    int rank = table.Add(0, Result(1000, 10, false, 4));
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(1, rank);  // the result still counts for this run
    EXPECT_FALSE(table.IsSaved());
    EXPECT_EQ("Failed to save the scores to " + dir.file + ": File too large.",
              std::string(bufTrace));
    EXPECT_EQ(before, ReadBytes(dir.file));
    EXPECT_EQ(std::vector<std::string>{"scores.dat"}, Names(dir.folder));
    CScoreTable next;
    next.Load(dir.folder);
    EXPECT_EQ((std::vector<int64_t>{1, 2}), Dates(next, 0));
}

TEST(ScoreTable, ACrashMidWriteKeepsThePreviousFile)
{
    ScoreFolder dir;
    const std::string before = SaveThree(dir);
    // The child dies of the file-size signal in the middle of writing the new table.
    pid_t child = fork();
    ASSERT_NE(-1, child);
    if (child == 0) {
        struct rlimit noCore = {0, 0};
        setrlimit(RLIMIT_CORE, &noCore);
        signal(SIGXFSZ, SIG_DFL);
        CScoreTable table;
        table.Load(dir.folder);
        LimitFileSize(100);
        table.Add(0, Result(1000, 10, false, 4));
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << "status " << status;
    EXPECT_EQ(before, ReadBytes(dir.file));
    EXPECT_EQ(100u, ReadBytes(dir.file + ".new").size());  // the half-written table

    CScoreTable next;
    next.Load(dir.folder);
    EXPECT_EQ((std::vector<int64_t>{1, 2}), Dates(next, 0));
    EXPECT_EQ(1, next.Add(0, Result(1000, 10, false, 4)));
    EXPECT_TRUE(next.IsSaved());
    EXPECT_EQ(std::vector<std::string>{"scores.dat"}, Names(dir.folder));
}

// Makes a changed file pass the checksum again, so the checks behind it are reached.
std::string Reseal(std::string bytes)
{
    uint32_t hash = 2166136261u;
    for (size_t i = 0; i + 4 < bytes.size(); ++i)
        hash = (hash ^ static_cast<uint8_t>(bytes[i])) * 16777619u;
    for (int i = 0; i < 4; ++i)
        bytes[bytes.size() - 4 + i] = static_cast<char>(hash >> (8 * i));
    return bytes;
}

struct CorruptCase {
    const char* name;
    std::string (*change)(std::string valid);
};

std::ostream& operator<<(std::ostream& os, const CorruptCase& c)
{
    return os << c.name;
}

// Offsets: version at 4, difficulty 0's count at 8 and its records from 12, 24 bytes each
// (score, maxCombo, seconds, flags, date).
const CorruptCase CORRUPT[] = {
    {"Empty", [](std::string) { return std::string(); }},
    {"Text", [](std::string) { return std::string("score=300\n"); }},
    {"Truncated", [](std::string v) { return v.substr(0, 200); }},
    {"OneByteLonger", [](std::string v) { return v + "x"; }},
    {"FlippedByte", [](std::string v) { v[40] ^= 0x10; return v; }},
    {"OtherVersion", [](std::string v) { v[4] = 2; return Reseal(v); }},
    {"SixEntries", [](std::string v) { v[8] = 6; return Reseal(v); }},
    {"OutOfOrder", [](std::string v) { v[12 + 24] = 0x7F; v[12 + 25] = 0x7F; return Reseal(v); }},
    {"UnknownFlag", [](std::string v) { v[12 + 12] = 2; return Reseal(v); }},
    {"ComboZero", [](std::string v) { v[12 + 4] = 0; return Reseal(v); }},
    {"NegativeTime", [](std::string v) { v[12 + 11] = static_cast<char>(0xC2); return Reseal(v); }},
};

class CorruptScores : public testing::TestWithParam<CorruptCase> {};

TEST_P(CorruptScores, AreSetAsideWithATraceAndAFreshTableStarts)
{
    ScoreFolder dir;
    const std::string bad = GetParam().change(SaveThree(dir));
    {
        std::ofstream out(dir.file, std::ios::binary | std::ios::trunc);
        out << bad;
    }
    CScoreTable table;
    table.Load(dir.folder);
    for (int d = 0; d < DIFFICULTY_COUNT; ++d)
        EXPECT_EQ(0, table.Count(d));

    std::vector<std::string> names = Names(dir.folder);
    ASSERT_EQ(1u, names.size());
    const std::string aside = dir.folder + names[0];
    EXPECT_EQ(0u, names[0].find("scores.dat.bad-")) << names[0];
    EXPECT_EQ(bad, ReadBytes(aside));
    EXPECT_EQ("Scores file " + dir.file + " is not a scores table; set aside as " + aside + ".",
              std::string(bufTrace));

    EXPECT_EQ(1, table.Add(1, Result(50, 5, false, 9)));
    EXPECT_TRUE(table.IsSaved());
    CScoreTable next;
    next.Load(dir.folder);
    EXPECT_EQ(std::vector<int64_t>{9}, Dates(next, 1));
    EXPECT_EQ(bad, ReadBytes(aside));
}

INSTANTIATE_TEST_SUITE_P(Table, CorruptScores, testing::ValuesIn(CORRUPT),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(ScoreTable, ASecondCorruptFileDoesNotReplaceTheFirst)
{
    ScoreFolder dir;
    SaveThree(dir);
    for (const char* text : {"first", "second"}) {
        std::ofstream(dir.file, std::ios::binary | std::ios::trunc) << text;
        CScoreTable table;
        table.Load(dir.folder);
    }
    std::vector<std::string> names = Names(dir.folder);
    ASSERT_EQ(2u, names.size());
    EXPECT_NE(ReadBytes(dir.folder + names[0]), ReadBytes(dir.folder + names[1]));
}

TEST(ScoreTable, AnUnreadableFileIsLeftAloneAndNotOverwritten)
{
    ScoreFolder dir;
    ASSERT_EQ(0, system(("mkdir -p '" + dir.file + "'").c_str()));  // reading it fails
    CScoreTable table;
    table.Load(dir.folder);
    EXPECT_EQ(0u, std::string(bufTrace).find("Failed to read scores file " + dir.file))
        << bufTrace;
    EXPECT_EQ(1, table.Add(0, Result(10, 1, false, 1)));
    EXPECT_FALSE(table.IsSaved());
    struct stat info;
    ASSERT_EQ(0, stat(dir.file.c_str(), &info));
    EXPECT_TRUE(S_ISDIR(info.st_mode));
}

TEST(ScoreTable, WithoutAFolderTheTableLivesInMemory)
{
    CScoreTable table;
    table.Load("");
    EXPECT_EQ(1, table.Add(0, Result(10, 1, false, 1)));
    EXPECT_EQ(1, table.Count(0));
    EXPECT_FALSE(table.IsSaved());
}

}  // namespace
