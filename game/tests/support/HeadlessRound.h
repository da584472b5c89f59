// A headless round driver: plays a round as the run loop would feed it, with frame times,
// pointer positions in MouseX/MouseY and the mouse events of a left click. Pairs are
// chosen by a solver built on the board's own FindLinkPath.
#ifndef VEXA_TESTS_HEADLESSROUND_H
#define VEXA_TESTS_HEADLESSROUND_H

#include "BoardPointer.h"
#include "RecordingSeams.h"

#include <GameBoard.h>

class HeadlessRound {
public:
    static constexpr float FRAME = 1.0f / 60.0f;

    HeadlessRound(CGameBoard& gameBoard, const BoardEdition& boardEdition, RecordingSeams& recorder)
        : board(gameBoard), edition(boardEdition), seams(recorder)
    {
    }

    // One frame: the drawing advances bars and timers, then the screen's event arrives.
    void Frame(VlxMessage event = {})
    {
        if (!board.IsPaused()) {
            board.UpdateBars(FRAME);
            board.AdvanceCellTimers(FRAME);
        }
        board.HandleBoardEvent(&event);
        ++frames;
    }

    void Wait(float seconds)
    {
        for (float t = 0; t < seconds && !Ended(); t += FRAME)
            Frame();
    }

    // Press, release and click on a cell, one event per frame as the run loop delivers.
    void Click(int col, int row)
    {
        PointAtCell(edition, col, row);
        Frame(MouseEvent(VLX_MOUSE_PRESS, 1));
        Frame(MouseEvent(VLX_MOUSE_RELEASE, 1));
        Frame(MouseEvent(VLX_MOUSE_CLICK, 1));
    }

    // Finds a pair of equal pictures that links (the first in row-major order) and clicks
    // it; false when the board holds none.
    bool PlayOnePair()
    {
        int cells = board.width * board.height;
        for (int a = 0; a < cells; ++a)
            for (int b = a + 1; b < cells; ++b) {
                if (board.cell[a].state == CELL_REMOVED || board.cell[b].state == CELL_REMOVED ||
                    board.image[a] != board.image[b])
                    continue;
                bool links = board.FindLinkPath(a % 8, a / 8, b % 8, b / 8);
                board.ClearMarks();
                if (links) {
                    Click(b % 8, b / 8);
                    Click(a % 8, a / 8);
                    ++links_;
                    return true;
                }
            }
        return false;
    }

    // Plays to the end of the round, pausing gap seconds between links.
    void PlayToTheEnd(float gap, int frameLimit = 200000)
    {
        while (!Ended() && frames < frameLimit) {
            if (!PlayOnePair())
                Frame();
            Wait(gap);
        }
    }

    bool Ended() const { return seams.returns > 0; }
    int Links() const { return links_; }

    int frames = 0;

private:
    CGameBoard& board;
    const BoardEdition& edition;
    RecordingSeams& seams;
    int links_ = 0;
};

#endif
