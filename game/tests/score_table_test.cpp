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
#include <sys/wait.h>
#include <unistd.h>

#include <time.h>

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

// The names in a folder, one a line.
std::string Names(const std::string& folder)
{
    std::string names;
    FILE* ls = popen(("ls -A '" + folder + "'").c_str(), "r");
    for (int c; ls && (c = fgetc(ls)) != EOF;)
        names += static_cast<char>(c);
    if (ls)
        pclose(ls);
    return names;
}

// A data folder that does not exist yet.
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
     {Result(100, 50, false, 1), Result(200, 60, false, 2), Result(-150, 10, false, 3)},
     {1, 1, 3},
     {2, 1, 3}},
    {"EqualScoreShorterTimeFirst",
     {Result(100, 50, false, 1), Result(100, 40, false, 2), Result(100, 60, false, 3)},
     {1, 1, 3},
     {2, 1, 3}},
    {"EqualScoreAndTimeWithoutHelpFirst",
     {Result(100, 50, true, 1), Result(100, 50, false, 2), Result(100, 50, true, 3)},
     {1, 1, 3},
     {2, 1, 3}},
    {"ExactTieGoesBelowTheOlder", {Result(100, 50, false, 1), Result(100, 50, false, 2)}, {1, 2}, {1, 2}},
    {"SixthDroppedAndWorstPushedOut",
     {Result(500, 1, false, 1), Result(400, 1, false, 2), Result(300, 1, false, 3),
      Result(200, 1, false, 4), Result(100, 1, false, 5), Result(50, 1, false, 6),
      Result(250, 1, false, 7)},
     {1, 2, 3, 4, 5, 0, 4},
     {1, 2, 3, 7, 4}},
    {"TieWithTheFifthDoesNotEnter",
     {Result(9, 5, false, 1), Result(9, 5, false, 2), Result(9, 5, false, 3),
      Result(9, 5, false, 4), Result(9, 5, false, 5), Result(9, 5, false, 6)},
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
    ASSERT_EQ(c.order, Dates(next, 2));
    for (int i = 0; i < next.Count(2); ++i) {
        const ScoreEntry &e = next.Entry(2, i), &want = c.added[e.date - 1];
        EXPECT_EQ(want.score, e.score);
        EXPECT_EQ(want.maxCombo, e.maxCombo);
        EXPECT_EQ(want.seconds, e.seconds);
        EXPECT_EQ(want.helpUsed, e.helpUsed);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, ScoreOrder, testing::ValuesIn(ORDER),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(ScoreTable, EntryOfAWonRoundTakesItsTimeFromTheLifeBar)
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

TEST(ScoreTable, TextListsThePlacesAndFindsTheDifficulty)
{
    setenv("TZ", "UTC", 1);
    tzset();
    CScoreTable table;
    table.Load("");
    EXPECT_EQ("还没有成绩：赢一局就会记在这里。", table.Text(1));
    table.Add(1, ScoreEntry{726, 3, 40.0f, false, 1765238400});  // 2025-12-09 00:00 UTC
    table.Add(1, ScoreEntry{576, 1, 40.04f, true, 1765324800});
    EXPECT_EQ("1.  726分  最高Combo 3  40.0秒  2025-12-09\n"
              "2.  576分(x)  最高Combo 1  40.0秒  2025-12-10",
              table.Text(1));
    DifficultyInfo changed = DIFFICULTY_TABLE[2];
    EXPECT_EQ(2, CScoreTable::DifficultyIndexOf(changed));
    changed.kindCount = 36;
    EXPECT_EQ(-1, CScoreTable::DifficultyIndexOf(changed));
}

TEST(ScoreTable, FolderFollowsXdgDataHomeThenHome)
{
    setenv("HOME", "/h", 1);
    setenv("XDG_DATA_HOME", "/x/data", 1);
    EXPECT_EQ("/x/data/vexatessel/", CScoreTable::DefaultFolder());
    setenv("XDG_DATA_HOME", "relative", 1);  // ignored, as the XDG rules ask
    EXPECT_EQ("/h/.local/share/vexatessel/", CScoreTable::DefaultFolder());
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ("/h/.local/share/vexatessel/", CScoreTable::DefaultFolder());
}

// A table of two results on the disk, and its bytes.
std::string SaveTwo(const ScoreFolder& dir)
{
    CScoreTable table;
    table.Load(dir.folder);
    table.Add(0, Result(300, 30, false, 1));
    table.Add(0, Result(200, 30, false, 2));
    return ReadBytes(dir.file);
}

// In a child, a save that may write only 100 of the table's bytes: with the file-size
// signal ignored the write fails as on a full disk, otherwise the signal kills the
// process in the middle of the write.
TEST(ScoreTable, AnInterruptedWriteKeepsThePreviousFile)
{
    for (bool crash : {false, true}) {
        SCOPED_TRACE(crash ? "crash" : "full disk");
        ScoreFolder dir;
        const std::string before = SaveTwo(dir);
        pid_t child = fork();
        ASSERT_NE(-1, child);
        if (child == 0) {
            struct rlimit noCore = {0, 0}, small = {100, 100};
            setrlimit(RLIMIT_CORE, &noCore);
            signal(SIGXFSZ, crash ? SIG_DFL : SIG_IGN);
            CScoreTable table;
            table.Load(dir.folder);
            setrlimit(RLIMIT_FSIZE, &small);
            const int rank = table.Add(0, Result(1000, 10, false, 3));
            const bool traced = std::string(bufTrace) == "Failed to save the scores to " +
                                                             dir.file + ": File too large.";
            _exit(rank == 1 && !table.IsSaved() && traced ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(child, waitpid(child, &status, 0));
        if (crash)
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << status;
        else
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        EXPECT_EQ(before, ReadBytes(dir.file));
        EXPECT_EQ(crash ? "scores.dat\nscores.dat.new\n" : "scores.dat\n", Names(dir.folder));

        CScoreTable next;
        next.Load(dir.folder);
        EXPECT_EQ((std::vector<int64_t>{1, 2}), Dates(next, 0));
        EXPECT_EQ(1, next.Add(0, Result(1000, 10, false, 3)));
        EXPECT_TRUE(next.IsSaved());
        EXPECT_EQ("scores.dat\n", Names(dir.folder));  // the half-written file is replaced
    }
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
    {"Truncated", [](std::string v) { return v.substr(0, 200); }},
    {"FlippedByte", [](std::string v) { v[40] ^= 0x10; return v; }},
    {"OtherVersion", [](std::string v) { v[4] = 2; return Reseal(v); }},
    {"SixEntries", [](std::string v) { v[8] = 6; return Reseal(v); }},
    {"OutOfOrder", [](std::string v) { v[12 + 24] = 0x7F; v[12 + 25] = 0x7F; return Reseal(v); }},
    {"NegativeTime", [](std::string v) { v[12 + 11] = static_cast<char>(0xC2); return Reseal(v); }},
};

class CorruptScores : public testing::TestWithParam<CorruptCase> {};

TEST_P(CorruptScores, AreSetAsideWithATraceAndAFreshTableStarts)
{
    ScoreFolder dir;
    const std::string bad = GetParam().change(SaveTwo(dir));
    std::ofstream(dir.file, std::ios::binary | std::ios::trunc) << bad;
    CScoreTable table;
    table.Load(dir.folder);
    for (int d = 0; d < DIFFICULTY_COUNT; ++d)
        EXPECT_EQ(0, table.Count(d));

    std::string names = Names(dir.folder);
    ASSERT_EQ(0u, names.find("scores.dat.bad-")) << names;
    ASSERT_EQ(names.size() - 1, names.find('\n')) << names;  // nothing else
    const std::string aside = dir.folder + names.substr(0, names.size() - 1);
    EXPECT_EQ(bad, ReadBytes(aside));
    EXPECT_EQ("Scores file " + dir.file + " is not a scores table; set aside as " + aside + ".",
              std::string(bufTrace));

    EXPECT_EQ(1, table.Add(1, Result(50, 5, false, 9)));
    CScoreTable next;
    next.Load(dir.folder);
    EXPECT_EQ(std::vector<int64_t>{9}, Dates(next, 1));
    EXPECT_EQ(bad, ReadBytes(aside));
}

INSTANTIATE_TEST_SUITE_P(Table, CorruptScores, testing::ValuesIn(CORRUPT),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(ScoreTable, AnUnreadableFileIsLeftAloneAndNotOverwritten)
{
    ScoreFolder dir;
    ASSERT_EQ(0, system(("mkdir -p '" + dir.file + "'").c_str()));  // reading it fails
    CScoreTable table;
    table.Load(dir.folder);
    EXPECT_EQ(0u, std::string(bufTrace).find("Failed to read scores file " + dir.file)) << bufTrace;
    EXPECT_EQ(1, table.Add(0, Result(10, 1, false, 1)));
    EXPECT_FALSE(table.IsSaved());
    EXPECT_EQ("", Names(dir.file));  // still the empty folder it was
}

}  // namespace
