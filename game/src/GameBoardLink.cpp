// The link rules of CGameBoard: matching, line tests, path marks and the path search.
//
// The search order is the tie-break: the first path found is the one marked and shown.
// Same column or row: straight, then detours to the right (or below) before the left
// (or above), nearest first. Otherwise: corner (c1, r2), corner (c2, r1), two turns
// through a column spreading out from the middle, then through a row.
#include "GameBoard.h"

#include <stdlib.h>

bool CGameBoard::TilesMatch(int a, int b)
{
    if (a == b)
        return true;
    return ArePartners(a, b) && rand() % 4 == 0;  // a fresh draw on every attempt
}

bool CGameBoard::ArePartners(int a, int b) const
{
    for (int pair = 0; pair < BOARD_PARTNER_SLOTS; pair += 2) {
        int p = partners[pair];
        int q = partners[pair + 1];
        if ((a == p && b == q) || (a == q && b == p))
            return true;
    }
    return false;
}

bool CGameBoard::IsCellEmpty(int col, int row) const
{
    if (col < 0 || col >= width || row < 0 || row >= height)
        return true;
    return cell[CellIndex(col, row)].state == CELL_REMOVED;
}

bool CGameBoard::IsLineClear(int col1, int row1, int col2, int row2) const
{
    if (row1 == row2) {
        int lo = col1 < col2 ? col1 : col2;
        int hi = col1 < col2 ? col2 : col1;
        for (int c = lo + 1; c < hi; ++c)
            if (!IsCellEmpty(c, row1))
                return false;
        return true;
    }
    if (col1 == col2) {
        int lo = row1 < row2 ? row1 : row2;
        int hi = row1 < row2 ? row2 : row1;
        for (int r = lo + 1; r < hi; ++r)
            if (!IsCellEmpty(col1, r))
                return false;
        return true;
    }
    return false;
}

void CGameBoard::MarkLine(int col1, int row1, int col2, int row2)
{
    // Pre: the cells are aligned and lie on the board or its ring.
    int dc = col2 > col1 ? 1 : (col2 < col1 ? -1 : 0);
    int dr = row2 > row1 ? 1 : (row2 < row1 ? -1 : 0);
    if (dc != 0 && dr != 0)
        return;
    int c = col1;
    int r = row1;
    for (;;) {
        if (c >= -1 && c <= width && r >= -1 && r <= height)
            pathMarks[MarkIndex(c, r)] = 1;
        if (c == col2 && r == row2)
            break;
        c += dc;
        r += dr;
    }
}

void CGameBoard::ClearMarks()
{
    for (int i = 0; i < BOARD_CELLS; ++i)
        pathMarks[i] = 0;
}

bool CGameBoard::IsMarked(int col, int row) const
{
    if (col < -1 || col > width || row < -1 || row > height)
        return false;
    return pathMarks[MarkIndex(col, row)] != 0;
}

bool CGameBoard::FindLinkPath(int col1, int row1, int col2, int row2)
{
    if (!TilesMatch(image[CellIndex(col1, row1)], image[CellIndex(col2, row2)]))
        return false;
    if (col1 == col2)
        return FindLinkSameColumn(col1, row1, col2, row2);
    if (row1 == row2)
        return FindLinkSameRow(col1, row1, col2, row2);
    return FindLinkTurns(col1, row1, col2, row2);
}

void CGameBoard::MarkPath(int col1, int row1, int colA, int rowA, int colB, int rowB, int col2,
                          int row2)
{
    MarkLine(col1, row1, colA, rowA);
    MarkLine(colA, rowA, colB, rowB);
    MarkLine(colB, rowB, col2, row2);
}

bool CGameBoard::FindLinkSameColumn(int col1, int row1, int col2, int row2)
{
    if (IsLineClear(col1, row1, col2, row2)) {
        MarkLine(col1, row1, col2, row2);
        return true;
    }
    // Walking outward step by step keeps the horizontal legs clear: every cell passed
    // was an empty corner candidate.
    for (int x = col1 + 1; x <= width; ++x) {
        if (!IsCellEmpty(x, row1) || !IsCellEmpty(x, row2))
            break;
        if (IsLineClear(x, row1, x, row2)) {
            MarkPath(col1, row1, x, row1, x, row2, col2, row2);
            return true;
        }
    }
    for (int x = col1 - 1; x >= -1; --x) {
        if (!IsCellEmpty(x, row1) || !IsCellEmpty(x, row2))
            return false;
        if (IsLineClear(x, row1, x, row2)) {
            MarkPath(col1, row1, x, row1, x, row2, col2, row2);
            return true;
        }
    }
    return false;
}

bool CGameBoard::FindLinkSameRow(int col1, int row1, int col2, int row2)
{
    if (IsLineClear(col1, row1, col2, row2)) {
        MarkLine(col1, row1, col2, row2);
        return true;
    }
    for (int y = row1 + 1; y <= height; ++y) {
        if (!IsCellEmpty(col1, y) || !IsCellEmpty(col2, y))
            break;
        if (IsLineClear(col1, y, col2, y)) {
            MarkPath(col1, row1, col1, y, col2, y, col2, row2);
            return true;
        }
    }
    for (int y = row1 - 1; y >= -1; --y) {
        if (!IsCellEmpty(col1, y) || !IsCellEmpty(col2, y))
            return false;
        if (IsLineClear(col1, y, col2, y)) {
            MarkPath(col1, row1, col1, y, col2, y, col2, row2);
            return true;
        }
    }
    return false;
}

bool CGameBoard::FindLinkTurns(int col1, int row1, int col2, int row2)
{
    if (IsCellEmpty(col1, row2) && IsLineClear(col1, row1, col1, row2) &&
        IsLineClear(col1, row2, col2, row2)) {
        MarkLine(col1, row1, col1, row2);
        MarkLine(col1, row2, col2, row2);
        return true;
    }
    if (IsCellEmpty(col2, row1) && IsLineClear(col1, row1, col2, row1) &&
        IsLineClear(col2, row1, col2, row2)) {
        MarkLine(col1, row1, col2, row1);
        MarkLine(col2, row1, col2, row2);
        return true;
    }
    int midCol = (col1 + col2) / 2;
    for (int s = 0; s <= width; ++s) {
        for (int side = 0; side < 2; ++side) {
            int x = side == 0 ? midCol - s : midCol + s;
            if (x < -1 || x > width || x == col1 || x == col2)
                continue;
            if (IsCellEmpty(x, row1) && IsCellEmpty(x, row2) && IsLineClear(x, row1, x, row2) &&
                IsLineClear(col1, row1, x, row1) && IsLineClear(col2, row2, x, row2)) {
                MarkPath(col1, row1, x, row1, x, row2, col2, row2);
                return true;
            }
        }
    }
    int midRow = (row1 + row2) / 2;
    for (int s = 0; s <= height; ++s) {
        for (int side = 0; side < 2; ++side) {
            int y = side == 0 ? midRow - s : midRow + s;
            if (y < -1 || y > height || y == row1 || y == row2)
                continue;
            if (IsCellEmpty(col1, y) && IsCellEmpty(col2, y) && IsLineClear(col1, y, col2, y) &&
                IsLineClear(col1, row1, col1, y) && IsLineClear(col2, row2, col2, y)) {
                MarkPath(col1, row1, col1, y, col2, y, col2, row2);
                return true;
            }
        }
    }
    return false;
}
