// CMacUIStyle: the input line, arrow and drag buttons, the vertical scroll bar, the combo
// box, menus and the menu bar. Cut lines are those the skin pictures are drawn with
// (tools/art/SkinArt.cpp); rectangles are the viewer's screen rectangle, right and bottom
// exclusive.
#include "MacUIStyle.h"

#include <KvD3D9.h>
#include <WButton.h>
#include <WComboBox.h>
#include <WInputLine.h>
#include <WListBox.h>
#include <WMenu.h>
#include <WScrollBar.h>
#include <WText.h>
#include <kvInput.h>
#include <zebSkin.h>

#include <string.h>

namespace {

const float S = 1.0f / 64.0f;

struct Rect {
    int l, t, r, b;
};

Rect ScreenRectOf(const WView* v)
{
    const int x = v->GetAbsX(), y = v->GetAbsY();
    return {x + v->Left, y + v->Top, x + v->Right, y + v->Bottom};
}

// An arrow button's picture: u range in SlaveButtons, and whether it is drawn turned.
struct ArrowPiece {
    const char* caption;
    float u0, u1;
    bool turned;
};
const ArrowPiece ARROWS[] = {
    {"<", 32, 48, false},
    {">", 48, 64, false},
    {"@<", 32, 48, true},
    {"@>", 48, 64, true},
};

}  // namespace

void CMacUIStyle::TiledPiece(float l, float t, float r, float b, float u0, float v0, float u1,
                             float v1, MacSkinSlot slot, bool vertical)
{
    if (!textures[slot])
        return;
    const float length = v1 - v0;  // one repeat, in pixels of the picture and of the screen
    if (vertical) {
        for (float y = t; y < b; y += length) {
            const float h = b - y < length ? b - y : length;
            DrawQuad(l, y, r, y + h, u0 * S, v0 * S, u1 * S, (v0 + h) * S, textures[slot]);
        }
        return;
    }
    for (float x = l; x < r; x += length) {
        const float w = r - x < length ? r - x : length;
        DrawQuadTransposed(x, t, x + w, b, u0 * S, (v0 + w) * S, u1 * S, v0 * S, textures[slot]);
    }
}

void CMacUIStyle::DrawInputLine()
{
    auto* line = static_cast<WInputLine*>(viewer);
    const Rect s = ScreenRectOf(line);
    const float xs[4] = {float(s.l), float(s.l + 4), float(s.r - 4), float(s.r)};
    const float ys[4] = {float(s.t), float(s.t + 4), float(s.b - 4), float(s.b)};
    const float cuts[4] = {0, 4, 60, 64};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            Piece(xs[c], ys[r], xs[c + 1], ys[r + 1], cuts[c], cuts[r], cuts[c + 1],
                  cuts[r + 1], MAC_INPUT_LINE);
    WText* text = OutText;
    if (!text)
        return;
    const int h = text->GetHeight(line->GetText());
    const int first = line->FirstVisible;
    line->CursorX = line->RangeWidth(first, line->Cursor);
    const int length = line->Length();
    int shownEnd = first;
    while (shownEnd < length && line->RangeWidth(first, shownEnd + 1) <= s.r - s.l - 4)
        ++shownEnd;
    const int ty = s.t + (s.b - s.t - h) / 2;
    char ansi[256];
    zeb::ShownText(line, first, shownEnd, ansi);
    text->flags = WTEXT_LEFT;
    text->colour = ViewPalette[VP_TEXT];
    text->DrawTextA(s.l + 2, ty, ansi);
    int from = 0, to = 0;
    if (zeb::ClipShownRange(line->TargetStart, line->TargetEnd, first, shownEnd, &from, &to) && pbg) {
        const int o = line->RangeWidth(first, from), w = line->RangeWidth(from, to);
        pbg->Bar(s.l + 2 + o, s.t + 1, s.l + 2 + o + w, s.b - 2, ViewPalette[VP_SELECTION_BACK],
                 nullptr);
        zeb::ShownText(line, from, to, ansi);
        text->colour = ViewPalette[VP_SELECTED_TEXT];
        text->DrawTextA(s.l + 2 + o, ty, ansi);
    }
    if (zeb::ClipShownRange(line->CompStart, line->CompEnd, first, shownEnd, &from, &to) && pbg) {
        const int o = line->RangeWidth(first, from), w = line->RangeWidth(from, to);
        pbg->Bar(s.l + 2 + o, s.b - 3, s.l + 2 + o + w, s.b - 2, ViewPalette[VP_COMPOSITION_LINE],
                 nullptr);
    }
    if (line->State & VS_ACTIVE)
        line->ShowActiveCursor(s.l + 2 + line->CursorX, s.t + 2, s.b - s.t - 4,
                               ViewPalette[VP_CARET]);
    text->flags = WTEXT_CENTRE;
}

void CMacUIStyle::DrawSlaveButton()
{
    auto* button = static_cast<WButton*>(viewer);
    const Rect s = ScreenRectOf(button);
    const float l = float(s.l), t = float(s.t), r = float(s.r), b = float(s.b);
    button->Hover = button->MouseIn();
    if (strcmp(button->Caption, "+") == 0) {
        Piece(l, t, r, b, 0, 32, 16, 48, MAC_COMBO_BOX);
        return;
    }
    for (const ArrowPiece& a : ARROWS) {
        if (strcmp(button->Caption, a.caption) != 0)
            continue;
        if (!textures[MAC_SLAVE_BUTTONS])
            return;
        if (a.turned)
            DrawQuadTransposed(l, t, r, b, a.u0 * S, 16 * S, a.u1 * S, 0, textures[MAC_SLAVE_BUTTONS]);
        else
            Piece(l, t, r, b, a.u0, 0, a.u1, 16, MAC_SLAVE_BUTTONS);
        return;
    }
    // Any other caption has no picture: the button is not drawn.
}

void CMacUIStyle::DrawDragButton()
{
    WView* thumb = viewer;
    const Rect s = ScreenRectOf(thumb);
    const float l = float(s.l), t = float(s.t), r = float(s.r), b = float(s.b);
    IDirect3DTexture9* art = textures[MAC_SLAVE_BUTTONS];
    if (!art)
        return;
    if (strcmp(thumb->Caption, "@") == 0) {
        // The vertical thumb (u 0..16, caps v 16..22 and 58..64) turned on its side.
        DrawQuadTransposed(l, t, l + 6, b, 0, 22 * S, 16 * S, 16 * S, art);
        TiledPiece(l + 6, t, r - 6, b, 0, 22, 16, 58, MAC_SLAVE_BUTTONS, false);
        DrawQuadTransposed(r - 6, t, r, b, 0, 64 * S, 16 * S, 58 * S, art);
        return;
    }
    Piece(l, t, r, t + 6, 0, 16, 16, 22, MAC_SLAVE_BUTTONS);
    TiledPiece(l, t + 6, r, b - 6, 0, 22, 16, 58, MAC_SLAVE_BUTTONS, true);
    Piece(l, b - 6, r, b, 0, 58, 16, 64, MAC_SLAVE_BUTTONS);
}

void CMacUIStyle::DrawVScrollBar()
{
    auto* bar = static_cast<WVScrollBar*>(viewer);
    const Rect s = ScreenRectOf(bar);
    const int a = bar->ButtonSize;
    const int y1 = s.t + a - 1, y2 = s.b - a + 1;
    bar->DrawFrame(s.l, y1, s.r, y2, false, 1);
    bar->DrawFrame(s.l + 2, y1, s.r - 2, y2, true, 1);
    const float l = float(s.l + 2), r = float(s.r - 2);
    Piece(l, float(y1), r, float(y1 + 12), 16, 16, 32, 28, MAC_SLAVE_BUTTONS);
    TiledPiece(l, float(y1 + 12), r, float(y2 - 12), 16, 28, 32, 52, MAC_SLAVE_BUTTONS, true);
    Piece(l, float(y2 - 12), r, float(y2), 16, 52, 32, 64, MAC_SLAVE_BUTTONS);
}

void CMacUIStyle::DrawComboBox()
{
    auto* combo = static_cast<WComboBox*>(viewer);
    const Rect s = ScreenRectOf(combo);
    const float t = float(s.t), b = float(s.b);
    Piece(float(s.l), t, float(s.l + 6), b, 0, 0, 6, 24, MAC_COMBO_BOX);
    Piece(float(s.l + 6), t, float(s.r - 12), b, 6, 0, 52, 24, MAC_COMBO_BOX);
    WListBox* list = combo->List;
    WText* text = OutText;
    if (!list || !text)
        return;
    const int index = list->GetIndex();
    if (index >= 0 && index < list->Strings->count) {
        text->flags = WTEXT_LEFT;
        text->colour = ViewPalette[VP_TEXT];
        text->DrawTextA(s.l + 6, s.t + (s.b - s.t - combo->CaptionH) / 2, list->RowText(index));
    }
    text->flags = WTEXT_CENTRE;
}

void CMacUIStyle::DrawMenu()
{
    auto* menu = static_cast<WMenu*>(viewer);
    const Rect s = ScreenRectOf(menu);
    menu->DrawFrame(s.l, s.t, s.r, s.b, false, 0);
    if (textures[MAC_DIALOG] && pd3dDevice) {
        const float l = float(s.l + 1), t = float(s.t + 1), r = float(s.r - 1), b = float(s.b - 1);
        pd3dDevice->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP);
        pd3dDevice->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP);
        DrawQuad(l, t, r, b, 0, 0, (r - l) / 64.0f, (b - t) / 64.0f, textures[MAC_DIALOG]);
        pd3dDevice->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
        pd3dDevice->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
    }
    WText* text = OutText;
    if (!text)
        return;
    text->flags = WTEXT_LEFT;
    const int f = menu->CaptionH + 8;
    for (int i = 0; i < menu->Count; ++i) {
        const int row = s.t + 2 + i * f;
        const WMenuItem& item = menu->Items[i];
        if (item.Separator) {
            if (pbg) {
                pbg->Bar(s.l + 1, row + f / 2, s.r - 1, row + f / 2 + 1, ViewPalette[VP_DARK],
                         nullptr);
                pbg->Bar(s.l + 1, row + f / 2 + 1, s.r - 1, row + f / 2 + 2,
                         ViewPalette[VP_LIGHT], nullptr);
            }
            continue;
        }
        if (i == menu->OpenItem) {
            if (pbg)
                pbg->Bar(s.l + 1, row, s.r - 1, row + f, ViewPalette[VP_SELECTED_ROW], nullptr);
            menu->DrawFrame(s.l + 1, row, s.r - 1, row + f, true, 0);
            text->colour = ViewPalette[VP_HIGHLIGHT_TEXT];
        } else {
            text->colour = ViewPalette[VP_TEXT];
        }
        text->DrawTextA(s.l + 6, row + 4, item.Text);
        if (item.SubMenu) {
            const float mx = float(s.r - 6 - 8), my = float(row + (f - 10) / 2);
            Piece(mx, my, mx + 8, my + 10, 0, 0, 8, 10, MAC_MENU);
        }
    }
    text->flags = WTEXT_CENTRE;
}

void CMacUIStyle::DrawMenuBar()
{
    auto* bar = static_cast<WMenuBar*>(viewer);
    const Rect s = ScreenRectOf(bar);
    bar->DrawFrame(s.l, s.t, s.r, s.b, true, 0);
    WText* text = OutText;
    for (int i = 0; i < bar->Count; ++i) {
        const WMenuBase& base = bar->Bases[i];
        if (MouseX >= s.l + base.LeftX && MouseX <= s.l + base.RightX && MouseY >= s.t + 2 &&
            MouseY <= s.b - 2)
            bar->DrawFrame(s.l + base.LeftX, s.t + 2, s.l + base.RightX, s.b - 2, true, 1);
        if (text && base.Menu) {
            text->flags = WTEXT_CENTRE;
            text->colour = ViewPalette[VP_TEXT];
            text->DrawTextA(s.l + (base.LeftX + base.RightX) / 2,
                            s.t + (s.b - s.t - bar->CaptionH) / 2, base.Menu->Caption);
        }
    }
}
