// CBoardFrame: one frame of the game screen. The 8 x 8 board as textured 3D tiles (plane
// and frame meshes) with their hover, selection and pulse animations, the particles, the
// two side panels with the picture of the last tile pointed at and its texts, and the HUD:
// score, maximum combo, life and combo bars, the combo multiplier, or the pause text.
//
// Order of a frame (the hovered tile is drawn last so that, raised, it covers its
// neighbours): camera and states; resting tiles; selected tiles; the hovered tile; bars
// advance; panels; picture and its frame; particles; texts, numbers, bars, multiplier.
// A paused frame leaves out every tile and the picture's texts.
#ifndef VEXA_BOARDFRAME_H
#define VEXA_BOARDFRAME_H

#include <d3dx9.h>

class CBoardEffects;
class CGameBoard;
class CMacUIStyle;
class CMeshModel;
class kvCFont;
class kvrTexture;

struct HudPoint {
    int x, y;
};
struct HudRect {
    int left, top, right, bottom;
};
struct HudBar {
    int left, top, bottom;
};

// Where the side panel and the HUD sit in one edition, in window pixels.
struct HudLayout {
    HudRect upperPanel;
    HudRect lowerPanel;
    HudRect picture;
    HudRect pictureFrame;
    HudPoint entryName;
    HudPoint entryTag;
    HudPoint description;
    HudPoint score;
    HudPoint scoreLabel;
    HudPoint maxCombo;
    HudPoint maxComboLabel;
    HudBar lifeBar;
    HudBar comboBar;
    HudPoint timeLabel;
    HudPoint comboLabel;
    HudPoint multiplier;
};

extern const HudLayout HUD_WINDOWED;
extern const HudLayout HUD_FULLSCREEN;

// A bar is this many pixels long when full.
#define HUD_BAR_LENGTH 125

// The three frame textures of a tile, by the state they show.
enum TileFrame { TILE_FRAME_NORMAL, TILE_FRAME_HOVER, TILE_FRAME_SELECTED, TILE_FRAMES };

// Pre: every pointer is set before the first DrawBoardFrame and outlives the object; the
// meshes and the particle system may be rebuilt between frames (device loss).
class CBoardFrame {
public:
    CGameBoard* board;
    CMeshModel** planeMesh;  // the application's slots: null while the device is lost
    CMeshModel** frameMesh;
    kvrTexture* frameTextures[TILE_FRAMES];
    kvrTexture* panelTexture;
    kvrTexture* lifeBarTexture;
    kvrTexture* comboBarTexture;
    CBoardEffects* effects;
    kvCFont* smallFont;
    kvCFont* largeFont;
    CMacUIStyle* skin;  // its DrawQuad draws the bars
    HudLayout hud;

    explicit CBoardFrame(const HudLayout& layout);

    // The whole frame, with dt the frame's step in seconds.
    void DrawBoardFrame(float dt);
    // The plane mesh with the tile's picture, then the frame mesh with the state's frame.
    void DrawTile(const D3DXMATRIX& world, int state, kvrTexture* tile);
    // A nine-piece panel from the panel texture with 10-pixel borders.
    void DrawPanel(int left, int top, int right, int bottom);
    // Pieces of text split at '|', one under the other, in the small font.
    void DrawTextBlock(int x, int y, const char* text);

    // Where cell (col, row) lies in world space at depth z.
    static D3DXMATRIX CellPlacement(int col, int row, float z);
    // A selected tile's motion before its placement: a turn, then a pulse.
    static D3DXMATRIX SelectedMotion(float timer);
    // The pulse's scale: 1.0 to 1.1 and back every 1.8 s.
    static float PulseScale(float timer);
    // The multiplier's colour at run time t: yellow pulsing from 127 to 255 every 0.3 s.
    static DWORD MultiplierColour(float t);
    // A bar's right edge for a fill of 0..1.
    static int BarRight(int left, float fill);
    // The board's camera over the window's aspect, and the states the tiles are drawn
    // with (depth written, frames blended by alpha).
    static void SetCameraAndStates();

    CBoardFrame(const CBoardFrame&) = delete;
    CBoardFrame& operator=(const CBoardFrame&) = delete;

private:
    void DrawTiles();
    void DrawPicture();
    void DrawHud();
    kvrTexture* TileTexture(int cellIndex) const;
};

#endif
