// The pack the build generates, read by the game's own loader: Chinese tags, names and
// descriptions in GBK, every partner slot filled, and a whole round won on each difficulty.
#include "HeadlessRound.h"
#include "RecordingSeams.h"

#include <GameBoard.h>
#include <TilePack.h>

#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

namespace {

bool IsGbkText(const char* text)
{
    if (!*text)
        return false;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        if (*p < 0x80)
            continue;
        if (*p < 0x81 || *p == 0xFF || p[1] < 0x40 || p[1] == 0x7F || p[1] == 0xFF)
            return false;
        ++p;
    }
    return true;
}

class ShippedPack : public testing::Test {
protected:
    void SetUp() override { pack.Load(VEXA_BIN_DIR "DataPack\\Vexa\\", nullptr); }
    CTilePack pack;
    RecordingSeams seams;
};

TEST_F(ShippedPack, HoldsEnoughNamedPicturesForEveryDifficulty)
{
    int mostKinds = 0;
    for (int d = 0; d < DIFFICULTY_COUNT; ++d)
        mostKinds = DIFFICULTY_TABLE[d].kindCount > mostKinds ? DIFFICULTY_TABLE[d].kindCount : mostKinds;
    EXPECT_GE(pack.count, 48);
    EXPECT_GE(pack.count, mostKinds);
    for (int i = 0; i < pack.count; ++i) {
        const TilePackEntry& e = pack.entries[i];
        EXPECT_TRUE(IsGbkText(e.tag) && (unsigned char)e.tag[0] >= 0x81) << i;
        EXPECT_TRUE(IsGbkText(e.name) && (unsigned char)e.name[0] >= 0x81) << i;
        EXPECT_TRUE(IsGbkText(e.description)) << i;
        EXPECT_NE(nullptr, strchr(e.description, '|')) << e.name;
    }
}

TEST_F(ShippedPack, FillsEveryPartnerSlot)
{
    CGameBoard board(EDITION_WINDOWED, seams.Seams());
    board.ScanPartners(&pack);
    for (int i = 0; i < BOARD_PARTNER_SLOTS; ++i)
        EXPECT_LE(0, board.partners[i]) << "slot " << i;
}

TEST_F(ShippedPack, PlaysARoundToItsWinOnEveryDifficulty)
{
    for (int d = 0; d < DIFFICULTY_COUNT; ++d) {
        SCOPED_TRACE(d);
        RecordingSeams roundSeams;
        CGameBoard board(EDITION_WINDOWED, roundSeams.Seams());
        srand(7 + d);
        board.SetDifficulty(d, &pack);
        board.StartRound();
        HeadlessRound round(board, EDITION_WINDOWED, roundSeams);
        round.PlayToTheEnd(0.3f);
        EXPECT_EQ(32, round.Links());
        EXPECT_EQ(1, roundSeams.Count(SOUND_VICTORY));
    }
}

}  // namespace
