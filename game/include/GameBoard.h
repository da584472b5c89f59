// CGameBoard: the 8 x 8 board of a link-up round and the round around it. One object
// lives for the whole program and is reused for every round.
//
// Link rules, dealing, hints and the pointer rules are in GameBoard.cpp and
// GameBoardLink.cpp; the round (difficulty, score, bars, end of round) in GameBoardRound.cpp.
// The fields are public because the board drawing reads them every frame.
#ifndef VEXA_GAMEBOARD_H
#define VEXA_GAMEBOARD_H

#include "BoardEdition.h"
#include "BoardSeams.h"
#include "DifficultyInfo.h"

#include <kvEvent.h>

#include <stdint.h>

class CTilePack;

// Cell states; the values are fixed because the drawing tests them. 4 is not used.
#define CELL_NORMAL 1
#define CELL_HOVER 2
#define CELL_SELECTED 3
#define CELL_REMOVED 5

#define BOARD_CELLS 256
#define BOARD_PARTNER_SLOTS 8

struct BoardCell {
    int32_t state;
    float timer;  // seconds since the cell was last selected or removed
};

// The partner table: slots 2k and 2k+1 form one pair.
extern const char* const PARTNER_NAMES[BOARD_PARTNER_SLOTS];

class CGameBoard {
public:
    // Board fields.
    int32_t width;
    int32_t height;
    int32_t image[BOARD_CELLS];  // pack index per cell, col + row * width; -1 while dealing
    BoardCell cell[BOARD_CELLS];
    int32_t kinds[BOARD_CELLS];  // the round's pack entries; the first kindCount are used
    // Ring-inclusive grid: cell (col,row), col -1..width, row -1..height, is byte
    // (col+1) + (row+1) * (width+2). Non-zero marks the last link path found.
    uint8_t pathMarks[BOARD_CELLS];
    int32_t partners[BOARD_PARTNER_SLOTS];

    // Round fields.
    uint32_t shownImage;
    float life;
    int32_t score;
    bool paused;
    int32_t combo;
    int32_t maxCombo;
    float comboBar;
    bool helpUsed;

    DifficultyInfo difficulty;
    const CTilePack* pack;

    CGameBoard(const BoardEdition& edition, const BoardSeams& seams);

    // Link rules.
    bool TilesMatch(int a, int b);
    // Whether pictures a and b fill the two slots of one look-alike pair.
    bool ArePartners(int a, int b) const;
    bool IsCellEmpty(int col, int row) const;
    bool IsLineClear(int col1, int row1, int col2, int row2) const;
    void MarkLine(int col1, int row1, int col2, int row2);
    bool FindLinkPath(int col1, int row1, int col2, int row2);
    void ClearMarks();
    bool IsMarked(int col, int row) const;

    // Dealing and help.
    bool HasAnyMove();
    void Deal(bool penalised);
    // Writes the dealt board to the debug log.
    void TraceBoard() const;
    bool FindHint();
    void PickKinds();
    void ScanPartners(const CTilePack* tilePack);

    // Round.
    void SetDifficulty(int index, const CTilePack* tilePack);
    void StartRound();
    void TogglePause();
    bool IsPaused() const;
    void HandleBoardEvent(VlxMessage* event);
    void UpdateBars(float dt);
    // Advances every cell timer by dt while not paused (the board drawing calls it).
    void AdvanceCellTimers(float dt);

    // Pointer position to cell; false when the pointer hits no cell.
    bool PointerToCell(int x, int y, int* col, int* row) const;

    int CellIndex(int col, int row) const { return col + row * width; }

private:
    BoardEdition edition;
    BoardSeams seams;

    int MarkIndex(int col, int row) const { return (col + 1) + (row + 1) * (width + 2); }
    // Marks the three legs 1 -> A -> B -> 2 of a two-turn path.
    void MarkPath(int col1, int row1, int colA, int rowA, int colB, int rowB, int col2, int row2);
    bool FindLinkSameColumn(int col1, int row1, int col2, int row2);
    bool FindLinkSameRow(int col1, int row1, int col2, int row2);
    bool FindLinkTurns(int col1, int row1, int col2, int row2);
    bool FindFirstLinkablePair();
    void SparkMarkedCells();
    void HandlePointer(const VlxMessage* event);
    void LinkCells(int col, int row, int partnerCol, int partnerRow);
    void ScoreLink();
    void TestEndOfRound();
};

#endif
