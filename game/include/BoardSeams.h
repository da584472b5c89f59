// The hand-offs of the board to the rest of the game: sound, particle bursts, message
// boxes and screens. The application wires the real ones; tests record the calls.
// Pre: every seam handed to the board outlives it.
#ifndef VEXA_BOARDSEAMS_H
#define VEXA_BOARDSEAMS_H

enum BoardSound {
    SOUND_LINK,
    SOUND_CLICK,
    SOUND_MOVE,
    SOUND_VICTORY,
    SOUND_HINT,
    SOUND_SHUFFLE,
};

enum BoardBurst {
    BURST_PAIR_EXPLOSION,  // each of the two removed tiles
    BURST_PATH_SPARK,      // each marked path cell, ring cells included
};

class IBoardSound {
public:
    virtual ~IBoardSound() = default;
    virtual void Play(BoardSound sound) = 0;
};

class IBoardEffects {
public:
    virtual ~IBoardEffects() = default;
    // Replaces the list of running effects with a new empty one (round set-up).
    virtual void NewEffectList() = 0;
    // Starts a burst at board cell (col, row); col and row may lie on the ring (-1 or 8).
    virtual void StartBurst(BoardBurst burst, int col, int row) = 0;
};

class IRoundScreens {
public:
    virtual ~IRoundScreens() = default;
    // Modal message box; returns the command of the button pressed (1 OK, 3 Yes, 4 No).
    // A one-byte title of value 1 to 7 is a standard title code.
    virtual int ShowMessageBox(const char* title, const char* text, int flags) = 0;
    // Leaves the game screen for the main form and destroys the running effects.
    virtual void ReturnToMainForm() = 0;
    // Queues a command event, as the GUI's AddCommand does.
    virtual void PostCommand(int code) = 0;
    // Runs the background dialog modally and applies the background chosen in it.
    virtual void RunBackgroundDialog() = 0;
};

class CGameBoard;

class IRoundRecords {
public:
    virtual ~IRoundRecords() = default;
    // Enters a won round in the best scores; its rank 1..5, or 0 when it does not enter.
    virtual int RecordWin(const CGameBoard& board) = 0;
};

// The seams a board needs, bundled so the board takes one argument. Without records
// (null) a win enters no table.
struct BoardSeams {
    IBoardSound* sound;
    IBoardEffects* effects;
    IRoundScreens* screens;
    IRoundRecords* records = nullptr;
};

#endif
