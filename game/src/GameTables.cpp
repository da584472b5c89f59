// The compiled-in configuration of the game: edition geometry and the difficulty table.
#include "BoardEdition.h"
#include "DifficultyInfo.h"

const BoardEdition EDITION_WINDOWED = {900, 675, 63, 50, 74, 72};
const BoardEdition EDITION_FULLSCREEN = {1024, 768, 69, 55, 84, 82};

// The drains are the single-precision values nearest to 1/160, 1/160, 1/150, 1/120.
const DifficultyInfo DIFFICULTY_TABLE[DIFFICULTY_COUNT] = {
    {15, 1.0f / 160.0f, 0.5f, "简单"},
    {25, 1.0f / 160.0f, 0.5f, "一般"},
    {35, 1.0f / 150.0f, 0.5f, "困难"},
    {44, 1.0f / 120.0f, 0.5f, "变态"},
};
