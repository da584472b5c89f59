// The default look of the buttons and check boxes. Rectangles are the viewer's screen
// rectangle, right and bottom exclusive; a button of style 1 is flat until hovered.
#include "CUIStyle.h"

#include "WButton.h"
#include "WCheckBox.h"
#include "WStaticText.h"
#include "zebDraw.h"
#include "zebSkin.h"

using zeb::RectOf;
using zeb::ScreenRect;

void CUIStyle::DrawButton()
{
    auto* button = static_cast<WButton*>(viewer);
    const ScreenRect s = RectOf(button);
    WText& text = zeb::Writer();
    const bool hovered = button->MouseIn();
    if (button->State & VS_DISABLED)
        text.colour = ViewPalette[VP_DISABLED_TEXT];
    else if (button->Parent && button->Parent->Active == button)
        text.colour = ViewPalette[VP_HIGHLIGHT_TEXT];
    else
        text.colour = ViewPalette[VP_TEXT];
    text.flags = WTEXT_CENTRE;
    const DWORD pushed = VS_BUTTON_DOWN | VS_BUTTON_HELD;
    int x = s.l + (s.r - s.l) / 2;
    int y = s.t + (s.b - s.t - button->CaptionH) / 2;
    if ((button->State & pushed) == pushed) {
        button->DrawFrame(s.l, s.t, s.r, s.b, true, button->Style == 1 ? 1 : 2);
        ++x;
        ++y;
    } else if (button->Style == 1) {
        if (hovered)
            button->DrawFrame(s.l, s.t, s.r, s.b, false, 1);
    } else if (UITexture[UITEXTURE_BUTTON]) {
        zeb::Graph().Bar(s.l, s.t, s.r, s.b, 0, UITexture[UITEXTURE_BUTTON]);
    } else {
        button->DrawFrame(s.l, s.t, s.r, s.b, false, 2);
    }
    text.DrawTextA(x, y, button->Caption);
    button->Hover = hovered;
}

void CUIStyle::DrawSlaveButton()
{
    DrawButton();
}

void CUIStyle::DrawDragButton()
{
    const ScreenRect s = RectOf(viewer);
    viewer->DrawFrame(s.l, s.t, s.r, s.b, false, 2);
}

void CUIStyle::DrawCheckButton()
{
    auto* button = static_cast<WCheckButton*>(viewer);
    const ScreenRect s = RectOf(button);
    button->DrawFrame(s.l, s.t, s.r, s.b, true, 1);
    if (button->Checked)
        button->DrawFrame(s.l + 2, s.t + 2, s.r - 2, s.b - 2, false, 2);
}

void CUIStyle::DrawCheckBox()
{
    auto* box = static_cast<WCheckBox*>(viewer);
    box->CheckButton->Draw();
    box->Label->Draw();
}
