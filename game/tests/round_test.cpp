// The round: difficulty table, start values, pointer rules, score and combo, bars,
// pause, and the end of the round with its result texts.
#include "BoardLayout.h"
#include "BoardPointer.h"
#include "PackFolder.h"
#include "RecordingSeams.h"

#include <GameBoard.h>
#include <TilePack.h>
#include <kvException.h>

#include <gtest/gtest.h>

#include <stdlib.h>
#include <string>

namespace {

const BoardEdition& ED = EDITION_WINDOWED;

struct RoundFixture : testing::Test {
    PackFolder folder;
    CTilePack pack;
    RecordingSeams seams;
    CGameBoard board{ED, seams.Seams()};

    void SetUp() override
    {
        folder.WriteList(50);
        pack.Load(folder.path.c_str(), nullptr);
        srand(2024);
        board.SetDifficulty(0, &pack);
        board.StartRound();
        seams.Forget();
    }
    int State(int col, int row) const { return board.cell[board.CellIndex(col, row)].state; }
};

TEST(Difficulty, TableHoldsKindsDrainsAndGbkNames)
{
    struct {
        int kinds;
        double perSecond;
        const char* name;
    } rows[] = {
        {15, 1.0 / 160, "\xBC\xF2\xB5\xA5"},
        {25, 1.0 / 160, "\xD2\xBB\xB0\xE3"},
        {35, 1.0 / 150, "\xC0\xA7\xC4\xD1"},
        {44, 1.0 / 120, "\xB1\xE4\xCC\xAC"},
    };
    for (int i = 0; i < DIFFICULTY_COUNT; ++i) {
        EXPECT_EQ(rows[i].kinds, DIFFICULTY_TABLE[i].kindCount);
        EXPECT_EQ(static_cast<float>(rows[i].perSecond), DIFFICULTY_TABLE[i].lifeDrain);
        EXPECT_EQ(0.5f, DIFFICULTY_TABLE[i].comboDrain);
        EXPECT_STREQ(rows[i].name, DIFFICULTY_TABLE[i].name);
    }
}

TEST(Difficulty, PackSmallerThanTheKindCountIsRefused)
{
    PackFolder folder;
    folder.WriteList(20);
    CTilePack pack;
    pack.Load(folder.path.c_str(), nullptr);
    RecordingSeams seams;
    CGameBoard board(ED, seams.Seams());
    board.SetDifficulty(0, &pack);  // 15 kinds fit
    struct {
        int level;
        const char* message;
    } cases[] = {
        {1, "The tile pack holds 20 pictures; this difficulty needs 25."},
        {3, "The tile pack holds 20 pictures; this difficulty needs 44."},
        {4, "Unknown difficulty 4."},
        {-1, "Unknown difficulty -1."},
    };
    for (const auto& c : cases) {
        std::string message;
        try {
            board.SetDifficulty(c.level, &pack);
        } catch (kvException* e) {
            message = e->message;
            DeleteException(e);
        }
        EXPECT_EQ(c.message, message) << "level " << c.level;
    }
    EXPECT_EQ(15, board.difficulty.kindCount);  // a refused level changes nothing
}

TEST(Difficulty, KindsAndRoundsNeedAPack)
{
    RecordingSeams seams;
    CGameBoard board(ED, seams.Seams());
    struct {
        void (CGameBoard::*call)();
        const char* message;
    } cases[] = {
        {&CGameBoard::PickKinds, "The round's kinds were picked without a fitting tile pack."},
        {&CGameBoard::StartRound, "A round was started before its difficulty was set."},
    };
    for (const auto& c : cases) {
        std::string message;
        try {
            (board.*c.call)();
        } catch (kvException* e) {
            message = e->message;
            DeleteException(e);
        }
        EXPECT_EQ(c.message, message);
    }
}

TEST_F(RoundFixture, StartRoundSetsTheStartValues)
{
    board.life = 0.2f;
    board.score = 77;
    board.combo = 3;
    board.maxCombo = 4;
    board.comboBar = 0.5f;
    board.helpUsed = true;
    board.paused = true;
    board.StartRound();
    EXPECT_EQ(1.0f, board.life);
    EXPECT_EQ(0, board.score);
    EXPECT_FALSE(board.paused);
    EXPECT_EQ(1, board.combo);
    EXPECT_EQ(1, board.maxCombo);
    EXPECT_EQ(0.0f, board.comboBar);
    EXPECT_FALSE(board.helpUsed);
    for (int i = 0; i < 64; ++i) {
        EXPECT_EQ(CELL_NORMAL, board.cell[i].state);
        EXPECT_NE(-1, board.image[i]);
    }
    EXPECT_EQ(static_cast<uint32_t>(board.image[0]), board.shownImage);
    EXPECT_EQ("", MarkedCells(board));
    EXPECT_EQ(1, seams.Count(SOUND_SHUFFLE));
}

TEST_F(RoundFixture, SetDifficultyMakesANewEffectList)
{
    int before = seams.effectLists;
    board.SetDifficulty(2, &pack);
    EXPECT_EQ(before + 1, seams.effectLists);
    EXPECT_EQ(35, board.difficulty.kindCount);
}

TEST(Pointer, MapsWindowPixelsToCellsForBothEditions)
{
    RecordingSeams seams;
    struct {
        const BoardEdition* edition;
        int x, y;
        bool hit;
        int col, row;
    } cases[] = {
        {&EDITION_WINDOWED, 63, 50, true, 0, 0},
        {&EDITION_WINDOWED, 62, 50, false, 0, 0},
        {&EDITION_WINDOWED, 63, 49, false, 0, 0},
        {&EDITION_WINDOWED, 63 + 74 * 8 - 1, 50 + 72 * 8 - 1, true, 7, 7},
        {&EDITION_WINDOWED, 63 + 74 * 8, 100, false, 0, 0},
        {&EDITION_WINDOWED, 100, 50 + 72 * 8, false, 0, 0},
        {&EDITION_WINDOWED, 63 + 74 * 3 + 73, 50 + 72 * 5, true, 3, 5},
        {&EDITION_FULLSCREEN, 69, 55, true, 0, 0},
        {&EDITION_FULLSCREEN, 68, 55, false, 0, 0},
        {&EDITION_FULLSCREEN, 69 + 84 * 3 + 83, 55 + 82 * 2, true, 3, 2},
        {&EDITION_FULLSCREEN, 69 + 84 * 8, 55, false, 0, 0},
    };
    for (const auto& c : cases) {
        CGameBoard board(*c.edition, seams.Seams());
        int col = -5, row = -5;
        EXPECT_EQ(c.hit, board.PointerToCell(c.x, c.y, &col, &row)) << c.x << "," << c.y;
        if (c.hit) {
            EXPECT_EQ(c.col, col) << c.x << "," << c.y;
            EXPECT_EQ(c.row, row) << c.x << "," << c.y;
        }
    }
}

TEST_F(RoundFixture, HoverMovesOnlyBetweenRestingTiles)
{
    SetLayout(board, {"AB......", "........", "........", "........", "........", "........",
                      "........", "...CD..."});
    MoveTo(board, ED, 0, 0);
    EXPECT_EQ(CELL_HOVER, State(0, 0));
    EXPECT_EQ(0u, board.shownImage);
    EXPECT_EQ(1, seams.Count(SOUND_MOVE));
    MoveTo(board, ED, 0, 0);  // already hovered: no second sound
    EXPECT_EQ(1, seams.Count(SOUND_MOVE));
    MoveTo(board, ED, 2, 0);  // removed cell
    EXPECT_EQ(CELL_HOVER, State(0, 0));
    EXPECT_EQ(0u, board.shownImage);  // a removed cell shows nothing new
    MouseX = 10;
    MouseY = 10;  // off the board
    VlxMessage e = MouseEvent(VLX_MOUSE_MOVE, 0);
    board.HandleBoardEvent(&e);
    EXPECT_EQ(CELL_HOVER, State(0, 0));
    MoveTo(board, ED, 4, 7);
    EXPECT_EQ(CELL_NORMAL, State(0, 0));
    EXPECT_EQ(CELL_HOVER, State(4, 7));
    EXPECT_EQ(3u, board.shownImage);
    EXPECT_EQ(2, seams.Count(SOUND_MOVE));
}

TEST_F(RoundFixture, EveryEventKindMovesTheHoverButOnlyALeftReleaseSelects)
{
    SetLayout(board, {"AB......", "........", "........", "........", "........", "........",
                      "........", "........"});
    PointAtCell(ED, 1, 0);
    struct {
        VlxMessage event;
        int state;
    } cases[] = {
        {{VLX_EMPTY, 0, 0, 0, 0, 0, 0, 0}, CELL_HOVER},
        {{VLX_KEY, 25, 0, 0, 0, 0, 0, 0}, CELL_HOVER},
        {MouseEvent(VLX_MOUSE_PRESS, 1), CELL_HOVER},
        {MouseEvent(VLX_MOUSE_RELEASE, 2), CELL_HOVER},
        {MouseEvent(VLX_MOUSE_CLICK, 1), CELL_HOVER},
        {MouseEvent(VLX_MOUSE_RELEASE, 1), CELL_SELECTED},
    };
    for (auto& c : cases) {
        board.HandleBoardEvent(&c.event);
        EXPECT_EQ(c.state, State(1, 0)) << "type " << c.event.type << " action " << c.event.action;
    }
}

TEST_F(RoundFixture, FailedLinkDeselectsTheOlderTile)
{
    SetLayout(board, {"A.......", "........", "........", "........", "........", ".....B..",
                      "........", "A....B.."});
    ClickAt(board, ED, 0, 0);
    EXPECT_EQ(CELL_SELECTED, State(0, 0));
    board.cell[0].timer = 0.7f;
    ClickAt(board, ED, 0, 0);  // a selected tile stays selected, its clock restarts
    EXPECT_EQ(CELL_SELECTED, State(0, 0));
    EXPECT_EQ(0.0f, board.cell[0].timer);
    EXPECT_EQ(0, seams.Count(SOUND_CLICK));
    ClickAt(board, ED, 5, 5);
    EXPECT_EQ(CELL_NORMAL, State(0, 0));
    EXPECT_EQ(CELL_SELECTED, State(5, 5));
    EXPECT_EQ(1, seams.Count(SOUND_CLICK));
    EXPECT_EQ(0, board.score);
    ClickAt(board, ED, 5, 7);
    EXPECT_EQ(CELL_REMOVED, State(5, 5));
    EXPECT_EQ(CELL_REMOVED, State(5, 7));
    EXPECT_EQ(1, seams.Count(SOUND_LINK));
    EXPECT_EQ(8, board.score);
}

TEST_F(RoundFixture, ALinkRemovesBothTilesWithBurstsOnThePath)
{
    SetLayout(board, {"A.#.....", "..#.....", "A.#....B", "........", "........", "........",
                      "........", ".......B"});
    ClickAt(board, ED, 0, 2);
    ClickAt(board, ED, 0, 0);
    EXPECT_EQ(CELL_REMOVED, State(0, 0));
    EXPECT_EQ(CELL_REMOVED, State(0, 2));
    EXPECT_EQ(0.0f, board.cell[0].timer);
    ASSERT_GE(seams.bursts.size(), 2u);
    EXPECT_EQ(BURST_PAIR_EXPLOSION, seams.bursts[0].burst);
    // The tile just clicked first, then its partner.
    EXPECT_EQ(0, seams.bursts[0].col);
    EXPECT_EQ(0, seams.bursts[0].row);
    EXPECT_EQ(BURST_PAIR_EXPLOSION, seams.bursts[1].burst);
    EXPECT_EQ(2, seams.bursts[1].row);
    std::string sparks;
    for (size_t i = 2; i < seams.bursts.size(); ++i) {
        EXPECT_EQ(BURST_PATH_SPARK, seams.bursts[i].burst);
        sparks += "(" + std::to_string(seams.bursts[i].col) + "," +
                  std::to_string(seams.bursts[i].row) + ")";
    }
    EXPECT_EQ(PathCells({{0, 2}, {0, 0}}), sparks);
    EXPECT_EQ("", MarkedCells(board));
    EXPECT_EQ(0, seams.Count(SOUND_SHUFFLE));  // the B pair still links
}

TEST_F(RoundFixture, NoMoveLeftAfterALinkDealsAgainForFree)
{
    // After A goes, the square of B and C pairs diagonally and cannot move.
    SetLayout(board, {"AA......", "........", "........", "...BC...", "...CB...", "........",
                      "........", "........"});
    board.score = 0;
    ClickAt(board, ED, 1, 0);
    ClickAt(board, ED, 0, 0);
    EXPECT_EQ(1, seams.Count(SOUND_SHUFFLE));
    EXPECT_EQ(8, board.score);
    EXPECT_FALSE(board.helpUsed);
    EXPECT_TRUE(board.HasAnyMove());
}

TEST_F(RoundFixture, LinksWithinTwoSecondsBuildACombo)
{
    struct {
        float gap;
        int second;
        int maxCombo;
    } cases[] = {{1.9f, 16, 2}, {2.1f, 8, 1}};
    for (const auto& c : cases) {
        board.StartRound();
        SetLayout(board, {"AABB....", "........", "........", "........", "........",
                          "........", "........", "........"});
        ClickAt(board, ED, 0, 0);
        ClickAt(board, ED, 1, 0);
        EXPECT_EQ(8, board.score);
        board.UpdateBars(c.gap);
        ClickAt(board, ED, 2, 0);
        ClickAt(board, ED, 3, 0);
        EXPECT_EQ(8 + c.second, board.score) << "gap " << c.gap;
        EXPECT_EQ(c.maxCombo, board.maxCombo) << "gap " << c.gap;
    }
}

TEST_F(RoundFixture, BarsDrainAndTheComboEndsWhenItsBarIsEmpty)
{
    board.comboBar = 1.0f;
    board.combo = 3;
    board.UpdateBars(1.0f);
    EXPECT_FLOAT_EQ(1.0f - 1.0f / 160.0f, board.life);
    EXPECT_FLOAT_EQ(0.5f, board.comboBar);
    EXPECT_EQ(3, board.combo);
    board.UpdateBars(1.5f);
    EXPECT_EQ(0.0f, board.comboBar);
    EXPECT_EQ(1, board.combo);
    board.UpdateBars(1000.0f);
    EXPECT_EQ(0.0f, board.life);
}

TEST_F(RoundFixture, PauseFreezesBarsAndTimersButNotThePointer)
{
    board.comboBar = 1.0f;
    board.TogglePause();
    EXPECT_TRUE(board.IsPaused());
    board.UpdateBars(5.0f);
    board.AdvanceCellTimers(5.0f);
    EXPECT_EQ(1.0f, board.life);
    EXPECT_EQ(1.0f, board.comboBar);
    EXPECT_EQ(0.0f, board.cell[0].timer);
    ClickAt(board, ED, 3, 3);
    EXPECT_EQ(CELL_SELECTED, State(3, 3));
    board.TogglePause();
    EXPECT_FALSE(board.IsPaused());
    board.AdvanceCellTimers(0.25f);
    EXPECT_EQ(0.25f, board.cell[0].timer);
}

TEST_F(RoundFixture, HintAndShuffleMayTakeTheScoreBelowZero)
{
    board.score = 100;
    EXPECT_TRUE(board.FindHint());
    EXPECT_EQ(-50, board.score);
    board.Deal(true);
    EXPECT_EQ(-350, board.score);
    EXPECT_TRUE(board.helpUsed);
}

// The last pair of an easy round, linked after 40 s at combo 1 with 31 links scored.
struct WinCase {
    const char* name;
    bool hint;
    int rank;  // in the best scores
    const char* text;
};

const WinCase WIN_CASES[] = {
    {"WithoutHelp", false, 0,
     "\xB3\xC9\xB9\xA6\xB9\xFD\xB9\xD8\xA3\xA1\n\n\xC4\xD1\xB6\xC8 \xBC\xF2\xB5\xA5\n"
     "\xC4\xFA\xB5\xC4\xB7\xD6\xCA\xFD\xCA\xC7 726\n\xD7\xEE\xB8\xDF" "Combo\xCA\xFD 1\n"
     "\xB9\xB2\xBA\xC4\xCA\xB1 40.0\xC3\xEB"},
    {"AfterAHint", true, 0,
     "\xB3\xC9\xB9\xA6\xB9\xFD\xB9\xD8\xA3\xA1\n\n\xC4\xD1\xB6\xC8 \xBC\xF2\xB5\xA5\n"
     "\xC4\xFA\xB5\xC4\xB7\xD6\xCA\xFD\xCA\xC7 576(x)\n\xD7\xEE\xB8\xDF" "Combo\xCA\xFD 1\n"
     "\xB9\xB2\xBA\xC4\xCA\xB1 40.0\xC3\xEB"},
    {"EnteringTheBestScores", true, 2,
     "\xB3\xC9\xB9\xA6\xB9\xFD\xB9\xD8\xA3\xA1\n\n\xC4\xD1\xB6\xC8 \xBC\xF2\xB5\xA5\n"
     "\xC4\xFA\xB5\xC4\xB7\xD6\xCA\xFD\xCA\xC7 576(x)\n\xD7\xEE\xB8\xDF" "Combo\xCA\xFD 1\n"
     "\xB9\xB2\xBA\xC4\xCA\xB1 40.0\xC3\xEB\n新纪录！第2名"},
};

class Win : public RoundFixture, public testing::WithParamInterface<WinCase> {};

TEST_P(Win, IsReportedOnceTheLastRemovalHasPlayed)
{
    const WinCase& c = GetParam();
    SetLayout(board, {"........", "........", "........", "...AA...", "........", "........",
                      "........", "........"});
    board.score = 31 * 8;
    board.UpdateBars(40.0f);
    if (c.hint)
        board.FindHint();  // the hint's path is never used; its cost and mark stay
    seams.Forget();
    seams.recordRank = c.rank;
    ClickAt(board, ED, 3, 3);
    ClickAt(board, ED, 4, 3);
    EXPECT_TRUE(seams.boxes.empty());
    board.AdvanceCellTimers(0.5f);
    MoveTo(board, ED, 0, 0);
    EXPECT_TRUE(seams.boxes.empty()) << "won before the last removal played";
    EXPECT_FALSE(board.IsPaused());
    board.AdvanceCellTimers(0.5f);
    MoveTo(board, ED, 0, 0);
    ASSERT_EQ(1u, seams.boxes.size());
    EXPECT_EQ("\xB9\xA7\xCF\xB2\xC4\xFA", seams.boxes[0].title);
    EXPECT_EQ(c.text, seams.boxes[0].text);
    EXPECT_EQ(1, seams.boxes[0].flags);
    EXPECT_EQ(std::vector<int>{c.hint ? 576 : 726}, seams.recordedScores);  // the final score
    EXPECT_EQ(1, seams.returns);
    EXPECT_EQ(SOUND_VICTORY, seams.sounds.back());
    EXPECT_TRUE(board.IsPaused());
}

INSTANTIATE_TEST_SUITE_P(Round, Win, testing::ValuesIn(WIN_CASES),
                         [](const testing::TestParamInfo<WinCase>& param) {
                             return std::string(param.param.name);
                         });

TEST_F(RoundFixture, LifeAtZeroLosesTheRound)
{
    board.UpdateBars(159.0f);
    MoveTo(board, ED, 0, 0);
    EXPECT_TRUE(seams.boxes.empty());
    board.UpdateBars(1.5f);
    MoveTo(board, ED, 0, 0);
    ASSERT_EQ(1u, seams.boxes.size());
    EXPECT_EQ("\xCA\xB1\xBC\xE4\xB5\xBD", seams.boxes[0].title);
    EXPECT_EQ("\xC8\xCE\xCE\xF1\xCA\xA7\xB0\xDC\xA3\xA1", seams.boxes[0].text);
    EXPECT_EQ(1, seams.boxes[0].flags);
    EXPECT_EQ(1, seams.returns);
    EXPECT_EQ(0, seams.Count(SOUND_VICTORY));
}

}  // namespace
