// Boards written as eight strings of eight characters: '.' an empty cell, a letter a
// tile (A is picture 0, B picture 1, ...), '#' a blocking tile of picture 99.
#ifndef VEXA_TESTS_BOARDLAYOUT_H
#define VEXA_TESTS_BOARDLAYOUT_H

#include <GameBoard.h>

#include <string>
#include <vector>

inline void SetLayout(CGameBoard& board, const std::vector<std::string>& rows)
{
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c) {
            char ch = rows[r][c];
            int i = board.CellIndex(c, r);
            board.cell[i].timer = 0.0f;
            if (ch == '.') {
                board.cell[i].state = CELL_REMOVED;
                board.image[i] = -1;
            } else {
                board.cell[i].state = CELL_NORMAL;
                board.image[i] = ch == '#' ? 99 : ch - 'A';
            }
        }
    board.ClearMarks();
}

// The marked cells of the ring-inclusive grid, as "(c,r)" in row-major order.
inline std::string MarkedCells(const CGameBoard& board)
{
    std::string out;
    for (int r = -1; r <= 8; ++r)
        for (int c = -1; c <= 8; ++c)
            if (board.IsMarked(c, r))
                out += "(" + std::to_string(c) + "," + std::to_string(r) + ")";
    return out;
}

// The cells of a path given by its corners, in the same form as MarkedCells.
inline std::string PathCells(const std::vector<std::pair<int, int>>& corners)
{
    bool on[10][10] = {};
    for (size_t k = 0; k + 1 < corners.size(); ++k) {
        int c = corners[k].first, r = corners[k].second;
        int c2 = corners[k + 1].first, r2 = corners[k + 1].second;
        on[r + 1][c + 1] = true;
        while (c != c2 || r != r2) {
            c += (c2 > c) - (c2 < c);
            r += (r2 > r) - (r2 < r);
            on[r + 1][c + 1] = true;
        }
    }
    std::string out;
    for (int r = -1; r <= 8; ++r)
        for (int c = -1; c <= 8; ++c)
            if (on[r + 1][c + 1])
                out += "(" + std::to_string(c) + "," + std::to_string(r) + ")";
    return out;
}

#endif
