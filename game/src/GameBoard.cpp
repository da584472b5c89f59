// CGameBoard: construction, dealing, the dead-board test, hints, the round's kinds, the
// partner slots and the pointer rules.
#include "GameBoard.h"

#include "TilePack.h"

#include <kvException.h>
#include <kvTrace.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

// Look-alike pictures of the shipped pack, in pairs a player may take for each other at a
// glance: dog and wolf, tiger and leopard, mouse and hamster, apple and tomato. Confusing
// one for the other is sometimes forgiven.
const char* const PARTNER_NAMES[BOARD_PARTNER_SLOTS] = {
    "狗", "狼", "老虎", "豹子", "老鼠", "仓鼠", "苹果", "番茄",
};

CGameBoard::CGameBoard(const BoardEdition& boardEdition, const BoardSeams& boardSeams)
    : width(8), height(8), shownImage(0), life(1.0f), score(0), paused(false), combo(1),
      maxCombo(1), comboBar(0.0f), helpUsed(false), difficulty(DIFFICULTY_TABLE[0]),
      pack(nullptr), edition(boardEdition), seams(boardSeams)
{
    for (int i = 0; i < BOARD_CELLS; ++i) {
        image[i] = -1;
        cell[i].state = CELL_REMOVED;
        cell[i].timer = 0.0f;
        kinds[i] = 0;
        pathMarks[i] = 0;
    }
    for (int i = 0; i < BOARD_PARTNER_SLOTS; ++i)
        partners[i] = -1;
}

bool CGameBoard::FindFirstLinkablePair()
{
    // Row-major for both tiles; the first tile is the one "just clicked" of the search.
    int cells = width * height;
    for (int a = 0; a < cells; ++a) {
        if (cell[a].state == CELL_REMOVED)
            continue;
        for (int b = 0; b < cells; ++b) {
            if (b == a || cell[b].state == CELL_REMOVED)
                continue;
            if (TilesMatch(image[b], image[a]) &&
                FindLinkPath(a % width, a / width, b % width, b / width))
                return true;
        }
    }
    return false;
}

bool CGameBoard::HasAnyMove()
{
    int cells = width * height;
    bool anyLive = false;
    for (int i = 0; i < cells && !anyLive; ++i)
        anyLive = cell[i].state != CELL_REMOVED;
    if (!anyLive)
        return true;
    return FindFirstLinkablePair();
}

void CGameBoard::Deal(bool penalised)
{
    seams.sound->Play(SOUND_SHUFFLE);
    if (penalised) {
        score -= 300;
        helpUsed = true;
    }
    int kindCount = difficulty.kindCount;
    int cells = width * height;
    int live[BOARD_CELLS];
    bool used[BOARD_CELLS];
    do {
        int liveCount = 0;
        for (int i = 0; i < cells; ++i) {
            image[i] = -1;
            if (cell[i].state != CELL_REMOVED)
                live[liveCount++] = i;
        }
        for (int k = 0; k < kindCount; ++k)
            used[k] = false;
        int usedCount = 0;
        int unassigned = liveCount;
        while (unassigned > 0) {
            int f = rand() % kindCount;
            if (usedCount < kindCount) {
                while (used[f])
                    f = rand() % kindCount;
                used[f] = true;
                ++usedCount;
            }
            // Live cells come in pairs; the guard only keeps an odd count from spinning.
            for (int twice = 0; twice < 2 && unassigned > 0; ++twice) {
                int pick;
                do
                    pick = live[rand() % liveCount];
                while (image[pick] != -1);
                image[pick] = kinds[f];
                --unassigned;
            }
        }
    } while (!HasAnyMove());
    TraceBoard();
}

void CGameBoard::TraceBoard() const
{
    // One line per deal, row after row, -1 for a removed cell: enough to replay a round
    // from a player's log.
    char line[BOARD_CELLS * 5 + 32];
    int used = snprintf(line, sizeof(line), "Board dealt:");
    for (int i = 0; i < width * height && used < int(sizeof(line)) - 6; ++i)
        used += snprintf(line + used, sizeof(line) - size_t(used), " %d",
                         cell[i].state == CELL_REMOVED ? -1 : static_cast<int>(image[i]));
    Trace("%s", line);
}

void CGameBoard::SparkMarkedCells()
{
    for (int row = -1; row <= height; ++row)
        for (int col = -1; col <= width; ++col)
            if (IsMarked(col, row))
                seams.effects->StartBurst(BURST_PATH_SPARK, col, row);
}

bool CGameBoard::FindHint()
{
    if (!FindFirstLinkablePair())
        return false;
    seams.sound->Play(SOUND_HINT);
    score -= 150;
    helpUsed = true;
    SparkMarkedCells();
    ClearMarks();
    return true;
}

void CGameBoard::PickKinds()
{
    // The redraw loop below ends only when the pack holds kindCount to 256 entries;
    // SetDifficulty refuses anything else, this guards a call without it.
    if (pack == nullptr || pack->count < difficulty.kindCount || pack->count > TILEPACK_MAX_ENTRIES)
        NewException("The round's kinds were picked without a fitting tile pack.",
                     KVEXCEPTION_GENERAL);
    bool chosen[TILEPACK_MAX_ENTRIES] = {};
    int packCount = pack->count;
    for (int i = 0; i < difficulty.kindCount; ++i) {
        int r;
        do
            r = rand() % packCount;
        while (chosen[r]);
        chosen[r] = true;
        kinds[i] = r;
    }
    for (int i = 0; i < width * height; ++i) {
        cell[i].state = CELL_NORMAL;
        cell[i].timer = 0.0f;
    }
}

void CGameBoard::ScanPartners(const CTilePack* tilePack)
{
    for (int slot = 0; slot < BOARD_PARTNER_SLOTS; ++slot) {
        partners[slot] = -1;
        for (int i = 0; i < tilePack->count; ++i)
            if (strcmp(tilePack->entries[i].name, PARTNER_NAMES[slot]) == 0)
                partners[slot] = i;  // a later entry overrides an earlier one
    }
}

bool CGameBoard::PointerToCell(int x, int y, int* col, int* row) const
{
    // Tested before dividing: integer division rounds toward zero, so a pointer just left
    // of or above the board would otherwise land in column or row 0.
    if (x < edition.boardLeft || y < edition.boardTop)
        return false;
    int c = (x - edition.boardLeft) / edition.pitchX;
    int r = (y - edition.boardTop) / edition.pitchY;
    if (c >= width || r >= height)
        return false;
    *col = c;
    *row = r;
    return true;
}

void CGameBoard::HandlePointer(const VlxMessage* event)
{
    int col;
    int row;
    if (!PointerToCell(MouseX, MouseY, &col, &row))
        return;
    int index = CellIndex(col, row);
    if (cell[index].state == CELL_NORMAL) {
        for (int i = 0; i < width * height; ++i)
            if (cell[i].state == CELL_HOVER)
                cell[i].state = CELL_NORMAL;
        cell[index].state = CELL_HOVER;
        seams.sound->Play(SOUND_MOVE);
    }
    if (cell[index].state == CELL_REMOVED)
        return;
    shownImage = static_cast<uint32_t>(image[index]);
    if (event->type != VLX_MOUSE || event->action != VLX_MOUSE_RELEASE || event->buttons != 1)
        return;
    cell[index].state = CELL_SELECTED;
    cell[index].timer = 0.0f;
    int partnerCol = -1;
    int partnerRow = -1;
    for (int c = 0; c < width; ++c)
        for (int r = 0; r < height; ++r)
            if ((c != col || r != row) && cell[CellIndex(c, r)].state == CELL_SELECTED) {
                partnerCol = c;
                partnerRow = r;
            }
    if (partnerCol < 0)
        return;
    if (FindLinkPath(col, row, partnerCol, partnerRow)) {
        LinkCells(col, row, partnerCol, partnerRow);
    } else {
        seams.sound->Play(SOUND_CLICK);
        cell[CellIndex(partnerCol, partnerRow)].state = CELL_NORMAL;
    }
}

void CGameBoard::LinkCells(int col, int row, int partnerCol, int partnerRow)
{
    seams.sound->Play(SOUND_LINK);
    ScoreLink();
    Trace("Linked (%d,%d) with (%d,%d).", col, row, partnerCol, partnerRow);
    BoardCell& first = cell[CellIndex(col, row)];
    BoardCell& second = cell[CellIndex(partnerCol, partnerRow)];
    first.state = CELL_REMOVED;
    first.timer = 0.0f;
    second.state = CELL_REMOVED;
    second.timer = 0.0f;
    seams.effects->StartBurst(BURST_PAIR_EXPLOSION, col, row);
    seams.effects->StartBurst(BURST_PAIR_EXPLOSION, partnerCol, partnerRow);
    SparkMarkedCells();
    if (!HasAnyMove())
        Deal(false);
    ClearMarks();
}
