// BoardEdition: the geometry that differs between the two programs. Each program selects
// one of the two constants below; the game sources are the same for both.
#ifndef VEXA_BOARDEDITION_H
#define VEXA_BOARDEDITION_H

struct BoardEdition {
    int windowWidth;
    int windowHeight;
    // Board origin and cell pitch in window pixels, for mapping the pointer to a cell.
    int boardLeft;
    int boardTop;
    int pitchX;
    int pitchY;
};

// The 900 x 675 window with the system pointer.
extern const BoardEdition EDITION_WINDOWED;
// The 1024 x 768 full-screen program.
extern const BoardEdition EDITION_FULLSCREEN;

#endif
