// CMacUIStyle: the quad primitive, and the skin's buttons, check buttons, dialogs and group
// frames. Cut lines are those the skin pictures are drawn with (tools/art/SkinArt.cpp).
// Rectangles are the viewer's screen rectangle, right and bottom exclusive.
#include "MacUIStyle.h"

#include <KvD3D9.h>
#include <WButton.h>
#include <WDialog.h>
#include <WText.h>
#include <zebSkin.h>

#include <string.h>

namespace {

const float S = 1.0f / 64.0f;  // one pixel of a skin picture
const int CAP = 11;            // a button cap's width on screen

struct Rect {
    int l, t, r, b;
};

Rect ScreenRectOf(const WView* v)
{
    const int x = v->GetAbsX(), y = v->GetAbsY();
    return {x + v->Left, y + v->Top, x + v->Right, y + v->Bottom};
}

void Line(int x1, int y1, int x2, int y2, DWORD colour)
{
    if (pbg)
        pbg->Bar(x1, y1, x2, y2, colour, nullptr);
}

// The button picture's rows, top and bottom in 64ths: normal, hover, pressed.
const float BUTTON_ROWS[3][2] = {{1, 21}, {22, 42}, {44, 64}};

}  // namespace

int ButtonRow(DWORD state, bool mouseIn)
{
    const DWORD pushed = VS_BUTTON_DOWN | VS_BUTTON_HELD;
    if ((state & pushed) == pushed)
        return 2;
    return mouseIn ? 1 : 0;
}

CMacUIStyle::CMacUIStyle() : textures{}, quad{} {}

void CMacUIStyle::SetTextures(IDirect3DTexture9* const* list)
{
    for (int i = 0; i < MAC_SLOTS; ++i)
        textures[i] = list ? list[i] : nullptr;
}

void CMacUIStyle::DrawQuad(float left, float top, float right, float bottom, float uLeft,
                           float vTop, float uRight, float vBottom, IDirect3DTexture9* texture)
{
    quad[0] = {left, top, 0.0f, 0.0f, uLeft, vTop};
    quad[1] = {right, top, 0.0f, 0.0f, uRight, vTop};
    quad[2] = {left, bottom, 0.0f, 0.0f, uLeft, vBottom};
    quad[3] = {right, bottom, 0.0f, 0.0f, uRight, vBottom};
    SubmitQuad(texture);
}

void CMacUIStyle::DrawQuadTransposed(float left, float top, float right, float bottom,
                                     float uA, float vB, float uB, float vA,
                                     IDirect3DTexture9* texture)
{
    quad[0] = {left, top, 0.0f, 0.0f, uA, vA};
    quad[1] = {right, top, 0.0f, 0.0f, uA, vB};
    quad[2] = {left, bottom, 0.0f, 0.0f, uB, vA};
    quad[3] = {right, bottom, 0.0f, 0.0f, uB, vB};
    SubmitQuad(texture);
}

void CMacUIStyle::SubmitQuad(IDirect3DTexture9* texture)
{
    IDirect3DDevice9* dev = pd3dDevice;
    if (!dev)
        return;
    dev->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    dev->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    dev->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    dev->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    dev->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    dev->SetVertexShader(nullptr);
    dev->SetFVF(D3DFVF_XYZRHW | D3DFVF_TEX1);
    dev->SetTexture(0, texture);
    dev->SetTexture(1, nullptr);
    dev->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(QuadVertex));
}

void CMacUIStyle::Piece(float l, float t, float r, float b, float u0, float v0, float u1,
                        float v1, MacSkinSlot slot)
{
    if (textures[slot] && r > l && b > t)
        DrawQuad(l, t, r, b, u0 * S, v0 * S, u1 * S, v1 * S, textures[slot]);
}

void CMacUIStyle::ButtonCaption(int x, int y)
{
    WText* text = OutText;
    WView* button = viewer;
    if (!text || !button->Caption[0])
        return;
    if (button->State & VS_DISABLED)
        text->colour = ViewPalette[VP_DISABLED_TEXT];
    else if (button->Parent && button->Parent->Active == button)
        text->colour = ViewPalette[VP_HIGHLIGHT_TEXT];
    else
        text->colour = ViewPalette[VP_TEXT];
    text->flags = WTEXT_CENTRE;
    text->DrawTextA(x, y, button->Caption);
}

void CMacUIStyle::DrawButton()
{
    auto* button = static_cast<WButton*>(viewer);
    const Rect s = ScreenRectOf(button);
    const bool mouseIn = button->MouseIn();
    const int row = ButtonRow(button->State, mouseIn);
    const float v0 = BUTTON_ROWS[row][0], v1 = BUTTON_ROWS[row][1];
    Piece(float(s.l + CAP), float(s.t), float(s.r - CAP), float(s.b), 12, v0, 52, v1, MAC_BUTTON);
    Piece(float(s.l), float(s.t), float(s.l + CAP), float(s.b), 0, v0, 12, v1, MAC_BUTTON);
    Piece(float(s.r - CAP), float(s.t), float(s.r), float(s.b), 52, v0, 64, v1, MAC_BUTTON);
    const int shift = row == 2 ? 1 : 0;
    ButtonCaption(s.l + (s.r - s.l) / 2 + shift,
                  s.t + (s.b - s.t - button->CaptionH) / 2 + shift);
    button->Hover = mouseIn;
}

void CMacUIStyle::DrawCheckButton()
{
    auto* button = static_cast<WCheckButton*>(viewer);
    const Rect s = ScreenRectOf(button);
    if (button->Checked)
        Piece(float(s.l), float(s.t), float(s.r), float(s.b), 0, 0, 14, 16, MAC_SLAVE_BUTTONS);
    else
        Piece(float(s.l), float(s.t), float(s.r), float(s.b), 16, 0, 32, 16, MAC_SLAVE_BUTTONS);
    button->Hover = button->MouseIn();
}

void CMacUIStyle::DrawDialog()
{
    auto* dialog = static_cast<WDialog*>(viewer);
    const Rect s = ScreenRectOf(dialog);
    const float l = float(s.l), t = float(s.t), r = float(s.r), b = float(s.b);
    const float top = dialog->NoCaption ? t + 12.0f : t + float(dialog->CaptionH + 4);
    // The body repeats the picture every 64 pixels.
    if (textures[MAC_DIALOG] && pd3dDevice) {
        pd3dDevice->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP);
        pd3dDevice->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP);
        DrawQuad(l + 10, top, r - 10, b - 12, 0, 0, (r - l - 20) / 64.0f, (b - 12 - top) / 64.0f,
                 textures[MAC_DIALOG]);
        pd3dDevice->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
        pd3dDevice->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
    }
    Piece(l, top, l + 10, b - 12, 0, 24, 10, 40, MAC_DIALOG_TITLE);
    Piece(r - 10, top, r, b - 12, 54, 24, 64, 40, MAC_DIALOG_TITLE);
    Piece(l, b - 12, l + 10, b, 0, 52, 10, 64, MAC_DIALOG_TITLE);
    Piece(l + 10, b - 12, r - 10, b, 10, 52, 54, 64, MAC_DIALOG_TITLE);
    Piece(r - 10, b - 12, r, b, 54, 52, 64, 64, MAC_DIALOG_TITLE);
    if (dialog->NoCaption) {
        Piece(l, t, l + 10, top, 0, 40, 10, 52, MAC_DIALOG_TITLE);
        Piece(l + 10, t, r - 10, top, 10, 40, 54, 52, MAC_DIALOG_TITLE);
        Piece(r - 10, t, r, top, 54, 40, 64, 52, MAC_DIALOG_TITLE);
        return;
    }
    Piece(l, t, l + 15, top, 0, 0, 15, 24, MAC_DIALOG_TITLE);
    Piece(l + 15, t, r - 16, top, 15, 0, 48, 24, MAC_DIALOG_TITLE);
    Piece(r - 16, t, r, top, 48, 0, 64, 24, MAC_DIALOG_TITLE);
    if (WText* text = OutText) {
        text->flags = WTEXT_CENTRE;
        text->colour = (dialog->State & VS_ACTIVE) ? ViewPalette[VP_HIGHLIGHT_TEXT]
                                                   : ViewPalette[VP_TEXT];
        text->DrawTextA(s.l + (s.r - s.l) / 2, s.t + 3, dialog->Caption);
    }
}

void CMacUIStyle::DrawGroup()
{
    WView* v = viewer;
    const Rect s = ScreenRectOf(v);
    WText* text = OutText;
    const int gap = v->Caption[0] && text ? text->GetWidth(v->Caption) + 5 : 0;
    const DWORD light = ViewPalette[VP_LIGHT];
    Line(s.l, s.t, s.l + 1, s.b, light);
    Line(s.l, s.b - 1, s.r, s.b, light);
    Line(s.r - 1, s.t, s.r, s.b, light);
    Line(s.l, s.t, s.l + 10, s.t + 1, light);
    Line(s.l + 10 + gap, s.t, s.r, s.t + 1, light);
    if (gap && text) {
        text->flags = WTEXT_CENTRE;
        text->colour = ViewPalette[VP_TEXT];
        text->DrawTextA(s.l + 10 + gap / 2, s.t - v->CaptionH / 2, v->Caption);
    }
}
