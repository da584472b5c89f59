// Whole rounds played headless: a win on every difficulty and a loss.
#include "HeadlessRound.h"
#include "PackFolder.h"
#include "RecordingSeams.h"

#include <GameBoard.h>
#include <TilePack.h>

#include <gtest/gtest.h>

#include <stdlib.h>
#include <string>

namespace {

const char* const WIN_TITLE = "\xB9\xA7\xCF\xB2\xC4\xFA";
const char* const WIN_OPENING = "\xB3\xC9\xB9\xA6\xB9\xFD\xB9\xD8\xA3\xA1\n\n\xC4\xD1\xB6\xC8 ";

struct Played : testing::TestWithParam<int> {
    PackFolder folder;
    CTilePack pack;
    RecordingSeams seams;
};

TEST_P(Played, FullRoundEndsInAWin)
{
    int level = GetParam();
    const BoardEdition& edition = level % 2 ? EDITION_FULLSCREEN : EDITION_WINDOWED;
    folder.WriteList(60, {PARTNER_NAMES[0], PARTNER_NAMES[1]});
    pack.Load(folder.path.c_str(), nullptr);
    CGameBoard board(edition, seams.Seams());
    srand(31 + level);
    board.SetDifficulty(level, &pack);
    board.StartRound();
    HeadlessRound round(board, edition, seams);
    round.PlayToTheEnd(0.3f);

    ASSERT_EQ(1, seams.returns);
    EXPECT_EQ(32, round.Links());
    EXPECT_EQ(64, seams.Count(BURST_PAIR_EXPLOSION));
    EXPECT_EQ(32, seams.Count(SOUND_LINK));
    EXPECT_EQ(1, seams.Count(SOUND_VICTORY));
    EXPECT_EQ(0, seams.Count(SOUND_HINT));
    EXPECT_GE(seams.Count(SOUND_SHUFFLE), 1);
    EXPECT_TRUE(board.IsPaused());
    ASSERT_EQ(1u, seams.boxes.size());
    EXPECT_EQ(WIN_TITLE, seams.boxes[0].title);
    EXPECT_EQ(1, seams.boxes[0].flags);
    // Links 0.3 s apart keep one combo going through the whole round.
    EXPECT_EQ(32, board.maxCombo);
    std::string expected = std::string(WIN_OPENING) + DIFFICULTY_TABLE[level].name +
                           "\n\xC4\xFA\xB5\xC4\xB7\xD6\xCA\xFD\xCA\xC7 " +
                           std::to_string(board.score) + "\n\xD7\xEE\xB8\xDF" "Combo\xCA\xFD 32\n";
    EXPECT_EQ(expected, seams.boxes[0].text.substr(0, expected.size()));
    EXPECT_GT(board.score, 32 * 20 + 8 * 32);
}

INSTANTIATE_TEST_SUITE_P(Headless, Played, testing::Values(0, 1, 2, 3));

TEST(Headless, IdleRoundRunsOutOfTime)
{
    PackFolder folder;
    folder.WriteList(50);
    CTilePack pack;
    pack.Load(folder.path.c_str(), nullptr);
    RecordingSeams seams;
    CGameBoard board(EDITION_WINDOWED, seams.Seams());
    srand(5);
    board.SetDifficulty(3, &pack);
    board.StartRound();
    HeadlessRound round(board, EDITION_WINDOWED, seams);
    round.Wait(119.0f);
    EXPECT_EQ(0, seams.returns);
    round.Wait(2.0f);
    ASSERT_EQ(1, seams.returns);
    ASSERT_EQ(1u, seams.boxes.size());
    EXPECT_EQ("\xCA\xB1\xBC\xE4\xB5\xBD", seams.boxes[0].title);
    EXPECT_EQ("\xC8\xCE\xCE\xF1\xCA\xA7\xB0\xDC\xA3\xA1", seams.boxes[0].text);
    EXPECT_EQ(0.0f, board.life);
    EXPECT_EQ(0, seams.Count(SOUND_VICTORY));
}

TEST(Headless, PausedRoundNeverRunsOutOfTime)
{
    PackFolder folder;
    folder.WriteList(50);
    CTilePack pack;
    pack.Load(folder.path.c_str(), nullptr);
    RecordingSeams seams;
    CGameBoard board(EDITION_WINDOWED, seams.Seams());
    board.SetDifficulty(3, &pack);
    board.StartRound();
    board.TogglePause();
    HeadlessRound round(board, EDITION_WINDOWED, seams);
    round.Wait(200.0f);
    EXPECT_EQ(0, seams.returns);
    EXPECT_EQ(1.0f, board.life);
}

}  // namespace
