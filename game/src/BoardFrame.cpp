// CBoardFrame: the game screen's frame. The steps, in order: camera and states; when paused
// the pause text instead of every tile; resting tiles (timers advance); selected tiles,
// turning and then pulsing; the hovered tile last; the bars advance; panels; picture and
// picture frame; particles; the picture's texts; score and maximum combo; the two bars
// cut to their fill; their labels; the multiplier from combo 2 on.
#include "BoardFrame.h"

#include "BoardEffects.h"
#include "GameBoard.h"
#include "MacUIStyle.h"
#include "MeshModel.h"
#include "TilePack.h"

#include <KvD3D9.h>
#include <KvFontD3D9.h>
#include <kvApplication.h>

#include <math.h>
#include <stdio.h>
#include <string.h>

const HudLayout HUD_WINDOWED = {
    {705, 30, 890, 160}, {705, 330, 890, 580}, {725, 175, 875, 325}, {720, 170, 880, 330},
    {730, 350},          {820, 350},           {720, 380},           {782, 50},
    {767, 38},           {850, 50},            {825, 38},            {750, 130, 140},
    {750, 108, 118},     {720, 128},           {715, 106},           {812, 96},
};

const HudLayout HUD_FULLSCREEN = {
    {815, 50, 1000, 180}, {815, 350, 1000, 600}, {835, 195, 985, 345}, {830, 190, 990, 350},
    {840, 370},           {930, 370},            {830, 400},           {892, 70},
    {877, 58},            {960, 70},             {935, 58},            {860, 150, 160},
    {860, 128, 138},      {830, 148},            {825, 126},           {922, 116},
};

namespace {

const float PI = 3.14159265f;
const float RAISED_Z = -0.05f;
const DWORD TEXT_COLOUR = 0xFFEEEEEE;
const DWORD SCORE_COLOUR = 0xFFEEEE00;
const DWORD MAX_COMBO_COLOUR = 0xFF00EE00;
const DWORD PAUSE_COLOUR = 0xFFFFFFFF;
const char* const PAUSE_TEXT = "暂停……";
const char* const TIME_LABEL = "时间";
const char* const COMBO_LABEL = "Combo";
// One piece of a text block keeps this many bytes with its terminator.
const size_t TEXT_PIECE_SIZE = 512;

// Border cut of the panel picture, and the border's width on screen.
const float PANEL_CUT_LOW = 5.0f / 64.0f;
const float PANEL_CUT_HIGH = 59.0f / 64.0f;
const int PANEL_BORDER = 10;

IDirect3DTexture9* DeviceTexture(kvrTexture* t)
{
    return t ? t->Get() : nullptr;
}

// A triangle wave rising from 0 to peak over half, and back over the other half, of period.
float Triangle(float t, float period, float peak)
{
    const float half = period / 2.0f;
    const float m = fmodf(t, period);
    const float d = m <= half ? m : period - m;
    return peak * d / half;
}

}  // namespace

CBoardFrame::CBoardFrame(const HudLayout& layout)
    : board(nullptr), planeMesh(nullptr), frameMesh(nullptr), frameTextures{},
      panelTexture(nullptr), lifeBarTexture(nullptr), comboBarTexture(nullptr),
      effects(nullptr), smallFont(nullptr), largeFont(nullptr), skin(nullptr), hud(layout)
{
}

D3DXMATRIX CBoardFrame::CellPlacement(int col, int row, float z)
{
    D3DXMATRIX m;
    D3DXMatrixTranslation(&m, float(col - 5) * 1.1f,
                          (8.0f - float(row) - 4.95f) * 1.08f + 0.5f, z);
    return m;
}

float CBoardFrame::PulseScale(float timer)
{
    return 1.0f + Triangle(timer, 1.8f, 0.1f);
}

D3DXMATRIX CBoardFrame::SelectedMotion(float timer)
{
    D3DXMATRIX m, step;
    if (timer < 0.5f) {
        D3DXMatrixTranslation(&m, -0.25f, 0.0f, 0.25f);
        D3DXMatrixRotationY(&step, timer * 4.0f * PI);
        m *= step;
        D3DXMatrixTranslation(&step, 0.25f, 0.0f, -0.25f);
        return m * step;
    }
    const float s = PulseScale(timer);
    D3DXMatrixScaling(&m, s, s, 1.0f);
    return m;
}

DWORD CBoardFrame::MultiplierColour(float t)
{
    const int k = int((Triangle(t, 0.3f, 0.5f) + 0.5f) * -255.0f);
    return 0xFF000000u + DWORD(-k) * 0x10100u;
}

int CBoardFrame::BarRight(int left, float fill)
{
    return int(fill * float(HUD_BAR_LENGTH) + float(left));
}

kvrTexture* CBoardFrame::TileTexture(int cellIndex) const
{
    const CTilePack* pack = board->pack;
    const int picture = board->image[cellIndex];
    if (!pack || picture < 0 || picture >= pack->count)
        return nullptr;
    return pack->entries[picture].texture;
}

void CBoardFrame::SetCameraAndStates()
{
    IDirect3DDevice9* dev = pd3dDevice;
    D3DXMATRIX identity, view, projection;
    D3DXMatrixIdentity(&identity);
    const D3DXVECTOR3 eye(0.0f, 0.0f, -9.0f), at(0.0f, 0.0f, 0.0f), up(0.0f, 1.0f, 0.0f);
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    D3DXMatrixPerspectiveFovLH(&projection, 1.0471976f, float(ScreenX) / float(ScreenY),
                               0.015625f, 20.0f);
    dev->SetTransform(D3DTS_WORLD, &identity);
    dev->SetTransform(D3DTS_VIEW, &view);
    dev->SetTransform(D3DTS_PROJECTION, &projection);
    dev->SetRenderState(D3DRS_AMBIENT, 0x00666666);
    dev->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    dev->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_GOURAUD);
    dev->SetRenderState(D3DRS_LIGHTING, FALSE);
    dev->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
    dev->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    dev->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    dev->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
    dev->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
    // The particle flush of the last frame leaves depth writes off and additive blending
    // on; the tiles write depth and blend their frames' soft edges by alpha.
    dev->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    dev->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    dev->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    dev->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
}

void CBoardFrame::DrawTile(const D3DXMATRIX& world, int state, kvrTexture* tile)
{
    CMeshModel* plane = planeMesh ? *planeMesh : nullptr;
    CMeshModel* frameModel = frameMesh ? *frameMesh : nullptr;
    if (!plane || !frameModel)
        return;
    pd3dDevice->SetTransform(D3DTS_WORLD, &world);
    plane->textures[0] = DeviceTexture(tile);
    plane->Render(false);
    plane->textures[0] = nullptr;
    const TileFrame f = state == CELL_HOVER      ? TILE_FRAME_HOVER
                        : state == CELL_SELECTED ? TILE_FRAME_SELECTED
                                                 : TILE_FRAME_NORMAL;
    frameModel->textures[0] = DeviceTexture(frameTextures[f]);
    frameModel->Render(false);
    frameModel->textures[0] = nullptr;
}

void CBoardFrame::DrawTiles()
{
    const int w = board->width, h = board->height;
    int hovered = -1;
    for (int row = 0; row < h; ++row)
        for (int col = 0; col < w; ++col) {
            const int i = board->CellIndex(col, row);
            const int state = board->cell[i].state;
            if (state == CELL_NORMAL)
                DrawTile(CellPlacement(col, row, 0.0f), state, TileTexture(i));
            else if (state == CELL_HOVER)
                hovered = i;
        }
    for (int row = 0; row < h; ++row)
        for (int col = 0; col < w; ++col) {
            const int i = board->CellIndex(col, row);
            if (board->cell[i].state == CELL_SELECTED)
                DrawTile(SelectedMotion(board->cell[i].timer) * CellPlacement(col, row, RAISED_Z),
                         CELL_SELECTED, TileTexture(i));
        }
    if (hovered >= 0)
        DrawTile(CellPlacement(hovered % w, hovered / w, RAISED_Z), CELL_HOVER,
                 TileTexture(hovered));
}

void CBoardFrame::DrawPanel(int left, int top, int right, int bottom)
{
    IDirect3DTexture9* t = DeviceTexture(panelTexture);
    if (!skin || !t)
        return;
    const float xs[4] = {float(left), float(left + PANEL_BORDER), float(right - PANEL_BORDER),
                         float(right)};
    const float ys[4] = {float(top), float(top + PANEL_BORDER), float(bottom - PANEL_BORDER),
                         float(bottom)};
    const float cuts[4] = {0.0f, PANEL_CUT_LOW, PANEL_CUT_HIGH, 1.0f};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            skin->DrawQuad(xs[c], ys[r], xs[c + 1], ys[r + 1], cuts[c], cuts[r], cuts[c + 1],
                           cuts[r + 1], t);
}

void CBoardFrame::DrawTextBlock(int x, int y, const char* text)
{
    if (!smallFont || !text)
        return;
    smallFont->colour = TEXT_COLOUR;
    smallFont->flags = WTEXT_LEFT;
    for (const char* p = text;;) {
        const char* bar = strchr(p, '|');
        size_t length = bar ? size_t(bar - p) : strlen(p);
        char piece[TEXT_PIECE_SIZE];
        const size_t kept = length < TEXT_PIECE_SIZE - 1 ? length : TEXT_PIECE_SIZE - 1;
        memcpy(piece, p, kept);
        piece[kept] = '\0';
        smallFont->DrawTextA(x, y, piece);
        y += smallFont->GetHeight(piece) + 3;
        if (!bar)
            break;
        p = bar + 1;
    }
}

void CBoardFrame::DrawPicture()
{
    kvD3D* d3d = kvD3D::Installed();
    if (!d3d)
        return;
    const CTilePack* pack = board->pack;
    const bool known = pack && board->shownImage < uint32_t(pack->count);
    if (!board->paused && known) {
        const HudRect& p = hud.picture;
        KVD3DRECT rect = {p.left, p.top, p.right, p.bottom, 0.0f, 0.0f, 1.0f, 1.0f};
        if (IDirect3DTexture9* picture = DeviceTexture(pack->entries[board->shownImage].texture))
            d3d->Blt(&rect, picture, false);
    }
    // Without its picture a rectangle would be drawn white over the tile's.
    if (IDirect3DTexture9* frameTexture = DeviceTexture(frameTextures[TILE_FRAME_NORMAL])) {
        const HudRect& f = hud.pictureFrame;
        KVD3DRECT rect = {f.left, f.top, f.right, f.bottom, 0.0f, 0.0f, 1.0f, 1.0f};
        d3d->Blt(&rect, frameTexture, false);
    }
}

void CBoardFrame::DrawHud()
{
    char number[32];
    const CTilePack* pack = board->pack;
    if (!board->paused && pack && board->shownImage < uint32_t(pack->count) && smallFont) {
        const TilePackEntry& entry = pack->entries[board->shownImage];
        smallFont->colour = TEXT_COLOUR;
        smallFont->flags = WTEXT_LEFT;
        smallFont->DrawTextA(hud.entryName.x, hud.entryName.y, entry.name);
        smallFont->DrawTextA(hud.entryTag.x, hud.entryTag.y, entry.tag);
        DrawTextBlock(hud.description.x, hud.description.y, entry.description);
    }
    if (largeFont && smallFont) {
        largeFont->flags = WTEXT_CENTRE;
        smallFont->flags = WTEXT_LEFT;
        largeFont->colour = SCORE_COLOUR;
        snprintf(number, sizeof(number), "%d", static_cast<int>(board->score));
        largeFont->DrawTextA(hud.score.x, hud.score.y, number);
        smallFont->DrawTextA(hud.scoreLabel.x, hud.scoreLabel.y, "SCORE");
        largeFont->colour = MAX_COMBO_COLOUR;
        snprintf(number, sizeof(number), "%d", static_cast<int>(board->maxCombo));
        largeFont->DrawTextA(hud.maxCombo.x, hud.maxCombo.y, number);
        smallFont->DrawTextA(hud.maxComboLabel.x, hud.maxComboLabel.y, "MAX COMBO");
    }
    if (skin) {
        const HudBar& l = hud.lifeBar;
        skin->DrawQuad(float(l.left), float(l.top), float(BarRight(l.left, board->life)),
                       float(l.bottom), 0.0f, 0.0f, board->life, 1.0f,
                       DeviceTexture(lifeBarTexture));
        const HudBar& c = hud.comboBar;
        skin->DrawQuad(float(c.left), float(c.top), float(BarRight(c.left, board->comboBar)),
                       float(c.bottom), 0.0f, 0.0f, board->comboBar, 1.0f,
                       DeviceTexture(comboBarTexture));
    }
    DrawTextBlock(hud.timeLabel.x, hud.timeLabel.y, TIME_LABEL);
    DrawTextBlock(hud.comboLabel.x, hud.comboLabel.y, COMBO_LABEL);
    if (board->combo >= 2 && largeFont) {
        largeFont->flags = WTEXT_CENTRE;
        largeFont->colour = MultiplierColour(fTime);
        snprintf(number, sizeof(number), "x%d", static_cast<int>(board->combo));
        largeFont->DrawTextA(hud.multiplier.x, hud.multiplier.y, number);
    }
}

void CBoardFrame::DrawBoardFrame(float dt)
{
    if (!board || !pd3dDevice)
        return;
    SetCameraAndStates();
    if (board->paused) {
        if (largeFont) {
            largeFont->flags = WTEXT_CENTRE;
            largeFont->colour = PAUSE_COLOUR;
            largeFont->DrawTextA(ScreenX / 2, ScreenY / 2, PAUSE_TEXT);
        }
    } else {
        board->AdvanceCellTimers(dt);
        DrawTiles();
        board->UpdateBars(dt);
    }
    DrawPanel(hud.upperPanel.left, hud.upperPanel.top, hud.upperPanel.right,
              hud.upperPanel.bottom);
    DrawPanel(hud.lowerPanel.left, hud.lowerPanel.top, hud.lowerPanel.right,
              hud.lowerPanel.bottom);
    DrawPicture();
    if (effects)
        effects->DrawEffects();
    DrawHud();
}
