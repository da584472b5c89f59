// CScoreTable: the five best won rounds of each difficulty, kept in the player's data
// folder between runs.
//
// Order: the higher score first; on an equal score the shorter time; then a round won
// without help before one with help. A result equal to an entry in all three comes
// below it: a place is taken only by beating it, so the older result keeps its rank.
//
// The table never stops the game: a file that cannot be read or written costs a trace
// line, a corrupt or foreign file is set aside under a new name, and play goes on with
// the table held in memory.
#ifndef VEXA_SCORETABLE_H
#define VEXA_SCORETABLE_H

#include "DifficultyInfo.h"

#include <stdint.h>

#include <string>

#define SCORE_TABLE_PLACES 5

class CGameBoard;

struct ScoreEntry {
    int32_t score;
    int32_t maxCombo;
    float seconds;  // time used, pauses excluded
    bool helpUsed;  // any hint or penalised shuffle
    int64_t date;   // when the round was won, seconds since 1970-01-01 UTC
};

class CScoreTable {
public:
    CScoreTable();

    // $XDG_DATA_HOME/vexatessel/, or ~/.local/share/vexatessel/ when that variable is
    // unset, empty or relative. Empty when neither can be found. Ends in '/'.
    static std::string DefaultFolder();

    // The entry of a won round on the board, dated now.
    static ScoreEntry EntryOfRound(const CGameBoard& board, int64_t date);

    // Reads folder + "scores.dat" (a host path ending in '/'); an empty folder keeps the
    // table in memory only. A missing file gives an empty table; a corrupt or foreign
    // one is renamed to "scores.dat.bad-<time>" and the table starts empty.
    void Load(const std::string& folder);

    // Enters a won round. Returns its rank 1..5, or 0 when it does not enter (the table
    // is then unchanged). An entered round is saved at once; IsSaved tells whether that
    // worked.
    int Add(int difficultyIndex, const ScoreEntry& entry);

    int Count(int difficultyIndex) const;
    // Place 0 is the best; undefined outside 0..Count-1.
    const ScoreEntry& Entry(int difficultyIndex, int place) const;

    // The table of one difficulty as the scores dialog shows it: one line a place,
    // "1.  726分(x)  最高Combo 3  40.0秒  2026-12-09", (x) marking help; a line saying
    // so when the table is empty.
    std::string Text(int difficultyIndex) const;

    // The row of DIFFICULTY_TABLE a board's difficulty was copied from; -1 for none.
    static int DifficultyIndexOf(const DifficultyInfo& difficulty);

    // True when the file holds what the table holds.
    bool IsSaved() const { return saved; }
    std::string FilePath() const;

private:
    ScoreEntry entries[DIFFICULTY_COUNT][SCORE_TABLE_PLACES];
    int counts[DIFFICULTY_COUNT];
    std::string folder;
    bool writable;  // false after a file that exists could not be read: it is kept
    bool saved;

    void Clear();
    bool Save();
    bool Decode(const std::string& bytes);
    std::string Encode() const;
};

#endif
