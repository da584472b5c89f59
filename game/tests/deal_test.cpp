// Kinds, dealing, the dead-board test and hints.
#include "BoardLayout.h"
#include "PackFolder.h"
#include "RecordingSeams.h"

#include <GameBoard.h>
#include <TilePack.h>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <stdlib.h>

namespace {

struct DealFixture : testing::Test {
    PackFolder folder;
    RecordingTextures textures;
    CTilePack pack;
    RecordingSeams seams;
    CGameBoard board{EDITION_WINDOWED, seams.Seams()};

    void SetUp() override
    {
        folder.WriteList(50);
        pack.Load(folder.path.c_str(), &textures);
    }
};

TEST_F(DealFixture, PickKindsChoosesDistinctEntriesAndRestsEveryCell)
{
    for (int level = 0; level < DIFFICULTY_COUNT; ++level) {
        srand(100 + level);
        board.SetDifficulty(level, &pack);
        board.cell[5].state = CELL_REMOVED;
        board.cell[5].timer = 3.0f;
        board.PickKinds();
        std::set<int> kinds(board.kinds, board.kinds + board.difficulty.kindCount);
        EXPECT_EQ(static_cast<size_t>(DIFFICULTY_TABLE[level].kindCount), kinds.size());
        EXPECT_LT(*kinds.rbegin(), pack.count);
        EXPECT_GE(*kinds.begin(), 0);
        EXPECT_EQ(CELL_NORMAL, board.cell[5].state);
        EXPECT_EQ(0.0f, board.cell[5].timer);
    }
}

// Every kind is used once before any repeats: counts per picture on a full board.
TEST_F(DealFixture, FullBoardUsesEveryKindOnceBeforeAnyRepeats)
{
    struct {
        int level;
        size_t distinct;
    } cases[] = {{0, 15}, {1, 25}, {2, 32}, {3, 32}};
    for (const auto& c : cases) {
        srand(7 + c.level);
        board.SetDifficulty(c.level, &pack);
        board.PickKinds();
        board.Deal(false);
        std::map<int, int> perImage;
        for (int i = 0; i < 64; ++i)
            ++perImage[board.image[i]];
        EXPECT_EQ(c.distinct, perImage.size()) << "level " << c.level;
        std::set<int> round(board.kinds, board.kinds + board.difficulty.kindCount);
        for (const auto& [img, n] : perImage) {
            EXPECT_EQ(0, n % 2) << "picture " << img << " on an odd number of cells";
            EXPECT_TRUE(round.count(img)) << "picture " << img << " is not a kind of the round";
            if (c.distinct == 32) {
                EXPECT_EQ(2, n);
            }
        }
    }
}

TEST_F(DealFixture, TwoLiveCellsGetOnePictureAndAShuffleCosts300)
{
    board.SetDifficulty(3, &pack);
    board.PickKinds();
    SetLayout(board, {"........", "..A.....", "........", "........", "........", "........",
                      "......B.", "........"});
    board.score = 100;
    for (unsigned seed = 1; seed <= 20; ++seed) {
        srand(seed);
        board.Deal(true);
        EXPECT_EQ(board.image[board.CellIndex(2, 1)], board.image[board.CellIndex(6, 6)]);
        EXPECT_NE(-1, board.image[board.CellIndex(2, 1)]);
        EXPECT_EQ(-1, board.image[0]);  // removed cells get no picture
    }
    EXPECT_EQ(100 - 20 * 300, board.score);
    EXPECT_TRUE(board.helpUsed);
    EXPECT_EQ(20, seams.Count(SOUND_SHUFFLE));
}

TEST_F(DealFixture, UnpenalisedDealCostsNothing)
{
    board.SetDifficulty(0, &pack);
    board.PickKinds();
    board.score = 5;
    board.Deal(false);
    EXPECT_EQ(5, board.score);
    EXPECT_FALSE(board.helpUsed);
    EXPECT_EQ(1, seams.Count(SOUND_SHUFFLE));
}

// Four live cells in a square: the two diagonal pairings cannot link, so a deal that
// pairs them diagonally must be dealt again.
TEST_F(DealFixture, DealRepeatsUntilAMoveExists)
{
    board.SetDifficulty(0, &pack);
    board.PickKinds();
    for (unsigned seed = 1; seed <= 60; ++seed) {
        srand(seed);
        SetLayout(board, {"........", "........", "........", "...AB...", "...BA...", "........",
                          "........", "........"});
        board.Deal(false);
        EXPECT_NE(board.image[board.CellIndex(3, 3)], board.image[board.CellIndex(4, 4)])
            << "seed " << seed;
        EXPECT_TRUE(board.HasAnyMove());
    }
}

TEST(DeadBoard, DiagonalSquareHasNoMoveAndEmptyBoardHasOne)
{
    RecordingSeams seams;
    CGameBoard board(EDITION_WINDOWED, seams.Seams());
    SetLayout(board, {"........", "........", "........", "...AB...", "...BA...", "........",
                      "........", "........"});
    EXPECT_FALSE(board.HasAnyMove());
    SetLayout(board, {"........", "........", "........", "...AA...", "...BB...", "........",
                      "........", "........"});
    EXPECT_TRUE(board.HasAnyMove());
    SetLayout(board, std::vector<std::string>(8, "........"));
    EXPECT_TRUE(board.HasAnyMove());
}

TEST(Hint, ShowsTheFirstPairsPathAndCosts150)
{
    RecordingSeams seams;
    CGameBoard board(EDITION_WINDOWED, seams.Seams());
    // First tile in row-major order is (1,0); its first linkable partner is (1,2).
    SetLayout(board, {".A......", ".#......", ".A...B..", "........", "........", "........",
                      ".....B..", "........"});
    board.score = 10;
    EXPECT_TRUE(board.FindHint());
    EXPECT_EQ(-140, board.score);
    EXPECT_TRUE(board.helpUsed);
    ASSERT_EQ(1u, seams.sounds.size());
    EXPECT_EQ(SOUND_HINT, seams.sounds[0]);
    // Straight blocked; the detour to the right through column 2.
    std::string sparks;
    for (const RecordedBurst& b : seams.bursts) {
        EXPECT_EQ(BURST_PATH_SPARK, b.burst);
        sparks += "(" + std::to_string(b.col) + "," + std::to_string(b.row) + ")";
    }
    EXPECT_EQ(PathCells({{1, 0}, {2, 0}, {2, 2}, {1, 2}}), sparks);
    EXPECT_EQ("", MarkedCells(board));
    EXPECT_EQ(CELL_NORMAL, board.cell[board.CellIndex(1, 0)].state);  // not selected
}

TEST(Hint, NoPairDoesNothingAndCostsNothing)
{
    RecordingSeams seams;
    CGameBoard board(EDITION_WINDOWED, seams.Seams());
    SetLayout(board, {"........", "........", "........", "...AB...", "...BA...", "........",
                      "........", "........"});
    EXPECT_FALSE(board.FindHint());
    EXPECT_EQ(0, board.score);
    EXPECT_FALSE(board.helpUsed);
    EXPECT_TRUE(seams.sounds.empty());
    EXPECT_TRUE(seams.bursts.empty());
}

TEST_F(DealFixture, PartnerSlotsFollowNamesAndTheLaterEntryWins)
{
    folder.WriteList(20, {PARTNER_NAMES[0], "x", PARTNER_NAMES[1], PARTNER_NAMES[7], "y",
                          PARTNER_NAMES[0]});
    pack.Load(folder.path.c_str(), &textures);
    board.ScanPartners(&pack);
    int expected[BOARD_PARTNER_SLOTS] = {5, 2, -1, -1, -1, -1, -1, 3};
    for (int i = 0; i < BOARD_PARTNER_SLOTS; ++i)
        EXPECT_EQ(expected[i], board.partners[i]) << PARTNER_NAMES[i];
}

}  // namespace
