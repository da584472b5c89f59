// The game screen's keys and commands.
#include "BoardLayout.h"
#include "PackFolder.h"
#include "RecordingSeams.h"

#include <GameBoard.h>
#include <GameScreenControl.h>
#include <TilePack.h>

#include <gtest/gtest.h>

#include <stdlib.h>

namespace {

struct ScreenFixture : testing::Test {
    PackFolder folder;
    CTilePack pack;
    RecordingSeams seams;
    CGameBoard board{EDITION_WINDOWED, seams.Seams()};
    CGameScreenControl control{&board, &seams};

    void SetUp() override
    {
        folder.WriteList(50);
        pack.Load(folder.path.c_str(), nullptr);
        srand(99);
        board.SetDifficulty(1, &pack);
        board.StartRound();
        seams.Forget();
    }
    VlxMessage Command(int code) { return {VLX_COMMAND, code, 0, 0, 0, 0, 0, 0}; }
};

TEST_F(ScreenFixture, KeysPostTheirCommands)
{
    struct {
        int key;
        int command;
    } cases[] = {{25, 4099}, {31, 4101}, {33, 4097}, {35, 4098}, {45, 2}};
    for (const auto& c : cases) {
        seams.posted.clear();
        VlxMessage e = {VLX_KEY, c.key, 0, 0, 0, 0, 0, 0};
        control.HandleKeysAndCommands(&e);
        ASSERT_EQ(1u, seams.posted.size()) << "key " << c.key;
        EXPECT_EQ(c.command, seams.posted[0]) << "key " << c.key;
        EXPECT_EQ(VLX_EMPTY, e.type) << "key " << c.key;
    }
    VlxMessage other = {VLX_KEY, 30, 0, 0, 0, 0, 0, 0};
    control.HandleKeysAndCommands(&other);
    EXPECT_EQ(VLX_KEY, other.type);
    EXPECT_EQ(1u, seams.posted.size());  // only the X before it
}

TEST_F(ScreenFixture, ExitAsksAndLeavesOnlyOnYes)
{
    struct {
        int command;
        int answer;
        int returns;
    } cases[] = {{2, 3, 1}, {2, 4, 0}, {5, 3, 1}, {5, 4, 0}};
    for (const auto& c : cases) {
        seams.Forget();
        seams.boxAnswer = c.answer;
        VlxMessage e = Command(c.command);
        control.HandleKeysAndCommands(&e);
        EXPECT_EQ(VLX_EMPTY, e.type);
        ASSERT_EQ(1u, seams.boxes.size());
        EXPECT_EQ("\x05", seams.boxes[0].title);
        EXPECT_EQ("\xC8\xB7\xB6\xA8\xCD\xCB\xB3\xF6\xD3\xCE\xCF\xB7\xC2\xF0?",
                  seams.boxes[0].text);
        EXPECT_EQ(12, seams.boxes[0].flags);
        EXPECT_EQ(c.returns, seams.returns) << "command " << c.command << " answer " << c.answer;
    }
}

TEST_F(ScreenFixture, ShuffleHintAndPauseCommands)
{
    board.score = 0;
    VlxMessage shuffle = Command(4097);
    control.HandleKeysAndCommands(&shuffle);
    EXPECT_EQ(-300, board.score);
    EXPECT_EQ(1, seams.Count(SOUND_SHUFFLE));
    EXPECT_EQ("", MarkedCells(board));
    EXPECT_EQ(VLX_EMPTY, shuffle.type);

    VlxMessage hint = Command(4098);
    control.HandleKeysAndCommands(&hint);
    EXPECT_EQ(-450, board.score);
    EXPECT_EQ(1, seams.Count(SOUND_HINT));
    EXPECT_EQ(VLX_EMPTY, hint.type);

    VlxMessage pause = Command(4099);
    control.HandleKeysAndCommands(&pause);
    EXPECT_TRUE(board.IsPaused());
    pause = Command(4099);
    control.HandleKeysAndCommands(&pause);
    EXPECT_FALSE(board.IsPaused());

    VlxMessage start = Command(4100);  // the main form's command, not the screen's
    control.HandleKeysAndCommands(&start);
    EXPECT_EQ(VLX_COMMAND, start.type);
}

TEST_F(ScreenFixture, BackgroundDialogPausesOnlyWhileItRuns)
{
    struct {
        bool pausedBefore;
        bool pausedAfter;
    } cases[] = {{false, false}, {true, true}};
    for (const auto& c : cases) {
        if (board.IsPaused() != c.pausedBefore)
            board.TogglePause();
        bool pausedDuring = false;
        seams.duringBackgroundDialog = [&] { pausedDuring = board.IsPaused(); };
        VlxMessage e = Command(4101);
        control.HandleKeysAndCommands(&e);
        EXPECT_TRUE(pausedDuring);
        EXPECT_EQ(c.pausedAfter, board.IsPaused()) << "paused before: " << c.pausedBefore;
        EXPECT_EQ(VLX_EMPTY, e.type);
    }
    EXPECT_EQ(2, seams.backgroundDialogs);
}

}  // namespace
