// The link-path search: straight, one-turn and two-turn links, the ring, every
// tie-break, and the marks left on exactly the path found.
#include "BoardLayout.h"
#include "RecordingSeams.h"

#include <GameBoard.h>

#include <gtest/gtest.h>

#include <ostream>
#include <stdlib.h>

namespace {

struct LinkCase {
    const char* name;
    std::vector<std::string> rows;
    int c1, r1, c2, r2;  // (c1, r1) is the tile just clicked
    bool linked;
    std::vector<std::pair<int, int>> corners;  // of the expected path
};

std::ostream& operator<<(std::ostream& os, const LinkCase& c)
{
    return os << c.name;
}

const LinkCase LINK_CASES[] = {
    {"AdjacentInRow",
     {"........", "........", "........", "..AA....", "........", "........", "........",
      "........"},
     2, 3, 3, 3, true, {{2, 3}, {3, 3}}},
    {"StraightColumnThroughGap",
     {"........", "....A...", "........", "........", "........", "....A...", "........",
      "........"},
     4, 1, 4, 5, true, {{4, 1}, {4, 5}}},
    {"RowDetourBelowBeforeAbove",
     {"........", "........", "........", ".A##A...", "........", "........", "........",
      "........"},
     1, 3, 4, 3, true, {{1, 3}, {1, 4}, {4, 4}, {4, 3}}},
    {"RowDetourNearestFree",
     {"........", "........", "........", ".A##A...", "..#.....", "........", "........",
      "........"},
     1, 3, 4, 3, true, {{1, 3}, {1, 5}, {4, 5}, {4, 3}}},
    {"RowOccupiedCornerBelowTurnsAbove",
     {"........", "........", "........", ".A##A...", ".#......", "........", "........",
      "........"},
     1, 3, 4, 3, true, {{1, 3}, {1, 2}, {4, 2}, {4, 3}}},
    {"RowOccupiedCornerAboveFails",
     {"........", "........", ".#......", ".A##A...", ".#......", "........", "........",
      "........"},
     1, 3, 4, 3, false, {}},
    {"EdgeRowThroughTopRing",
     {"A######A", "########", "........", "........", "........", "........", "........",
      "........"},
     0, 0, 7, 0, true, {{0, 0}, {0, -1}, {7, -1}, {7, 0}}},
    {"EdgeRowThroughBottomRing",
     {"........", "........", "........", "........", "........", "........", "........",
      "A######A"},
     7, 7, 0, 7, true, {{7, 7}, {7, 8}, {0, 8}, {0, 7}}},
    {"ColumnDetourRightBeforeLeft",
     {"........", "...A....", "........", "...#....", "........", "...A....", "........",
      "........"},
     3, 1, 3, 5, true, {{3, 1}, {4, 1}, {4, 5}, {3, 5}}},
    {"ColumnOccupiedCornerRightTurnsLeft",
     {"........", "...A#...", "........", "...#....", "........", "...A....", "........",
      "........"},
     3, 1, 3, 5, true, {{3, 1}, {2, 1}, {2, 5}, {3, 5}}},
    {"ColumnOccupiedCornerLeftFails",
     {"........", "...A#...", "........", "...#....", "........", "..#A....", "........",
      "........"},
     3, 1, 3, 5, false, {}},
    {"EdgeColumnThroughRightRing",
     {".......A", ".......#", ".......#", "......##", ".......#", ".......#", ".......#",
      ".......A"},
     7, 0, 7, 7, true, {{7, 0}, {8, 0}, {8, 7}, {7, 7}}},
    {"OneTurnCornerAtClickedColumnFirst",
     {"........", ".A......", "........", "........", "....A...", "........", "........",
      "........"},
     1, 1, 4, 4, true, {{1, 1}, {1, 4}, {4, 4}}},
    {"OneTurnOtherCornerWhenFirstOccupied",
     {"........", ".A......", "........", "........", ".#..A...", "........", "........",
      "........"},
     1, 1, 4, 4, true, {{1, 1}, {4, 1}, {4, 4}}},
    {"TwoTurnsThroughMiddleColumn",
     {"........", "........", "A.....#.", "........", "........", "#.....A.", "........",
      "........"},
     0, 2, 6, 5, true, {{0, 2}, {3, 2}, {3, 5}, {6, 5}}},
    {"TwoTurnsLeftOfMiddleBeforeRight",
     {"........", "........", "A.....#.", "........", "...#....", "#.....A.", "........",
      "........"},
     0, 2, 6, 5, true, {{0, 2}, {2, 2}, {2, 5}, {6, 5}}},
    {"ColumnsBeforeRowsEvenThroughRing",
     {"........", "..A.....", ".....#..", "........", "##.##.#.", "..#.....", ".....A..",
      "........"},
     2, 1, 5, 6, true, {{2, 1}, {-1, 1}, {-1, 6}, {5, 6}}},
    {"RowWhenNoColumnPasses",
     {"........", ".#A...#.", ".....#..", "........", "...##...", "..#.....", ".....A..",
      "........"},
     2, 1, 5, 6, true, {{2, 1}, {2, 3}, {5, 3}, {5, 6}}},
    {"DifferentPicturesNeverLink",
     {"........", "........", "........", "..AB....", "........", "........", "........",
      "........"},
     2, 3, 3, 3, false, {}},
    {"WalledInFails",
     {"........", "..###...", "..#A#...", "..###...", "........", "........", "........",
      "A......."},
     3, 2, 0, 7, false, {}},
};

class LinkPath : public testing::TestWithParam<LinkCase> {};

TEST_P(LinkPath, FindsThePathOfTheTieBreakAndMarksOnlyIt)
{
    const LinkCase& c = GetParam();
    RecordingSeams seams;
    CGameBoard board(EDITION_WINDOWED, seams.Seams());
    SetLayout(board, c.rows);
    EXPECT_EQ(c.linked, board.FindLinkPath(c.c1, c.r1, c.c2, c.r2));
    EXPECT_EQ(PathCells(c.corners), MarkedCells(board));
}

INSTANTIATE_TEST_SUITE_P(Board, LinkPath, testing::ValuesIn(LINK_CASES),
                         [](const testing::TestParamInfo<LinkCase>& param) {
                             return std::string(param.param.name);
                         });

TEST(LineTest, CellsBetweenAlignedCellsMustBeEmpty)
{
    RecordingSeams seams;
    CGameBoard board(EDITION_WINDOWED, seams.Seams());
    SetLayout(board, {"A.#.A...", "........", "A.......", "........", "........", "........",
                      "........", "........"});
    struct {
        int c1, r1, c2, r2;
        bool clear;
    } cases[] = {
        {0, 0, 1, 0, true},   // adjacent
        {0, 0, 2, 0, true},   // only empty cells strictly between
        {0, 0, 4, 0, false},  // the blocker lies between
        {4, 0, 0, 0, false},  // either order
        {0, 0, 0, 2, true},   // column
        {-1, 0, -1, 7, true}, // ring column
        {0, 0, 4, 2, false},  // not aligned
    };
    for (const auto& t : cases)
        EXPECT_EQ(t.clear, board.IsLineClear(t.c1, t.r1, t.c2, t.r2))
            << t.c1 << "," << t.r1 << " - " << t.c2 << "," << t.r2;
}

TEST(LineTest, OutsideTheBoardCountsAsEmpty)
{
    RecordingSeams seams;
    CGameBoard board(EDITION_WINDOWED, seams.Seams());
    SetLayout(board, std::vector<std::string>(8, "########"));
    EXPECT_FALSE(board.IsCellEmpty(0, 0));
    EXPECT_TRUE(board.IsCellEmpty(-1, 3));
    EXPECT_TRUE(board.IsCellEmpty(8, 3));
    EXPECT_TRUE(board.IsCellEmpty(3, -1));
    EXPECT_TRUE(board.IsCellEmpty(3, 8));
}

TEST(Partners, MatchAboutOneAttemptInFour)
{
    RecordingSeams seams;
    CGameBoard board(EDITION_WINDOWED, seams.Seams());
    board.partners[2] = 10;
    board.partners[3] = 11;
    srand(12345);
    int matched = 0;
    const int attempts = 4000;
    for (int i = 0; i < attempts; ++i)
        matched += board.TilesMatch(i % 2 ? 10 : 11, i % 2 ? 11 : 10);
    EXPECT_GT(matched, attempts / 4 - 200);
    EXPECT_LT(matched, attempts / 4 + 200);
    EXPECT_TRUE(board.TilesMatch(10, 10));
    EXPECT_FALSE(board.TilesMatch(10, 12));
}

}  // namespace
