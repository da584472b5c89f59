// DifficultyInfo: one row of the difficulty table, copied whole into the board when a
// round is set up.
#ifndef VEXA_DIFFICULTYINFO_H
#define VEXA_DIFFICULTYINFO_H

#include <stdint.h>

struct DifficultyInfo {
    int32_t kindCount;  // different pictures in the round
    float lifeDrain;    // life-bar loss per second
    float comboDrain;   // combo-bar loss per second
    char name[16];      // GBK, shown in the result text
};

#define DIFFICULTY_COUNT 4

// Index 0 easy ... 3 hardest, as chosen in the main form's combo box.
extern const DifficultyInfo DIFFICULTY_TABLE[DIFFICULTY_COUNT];

#endif
