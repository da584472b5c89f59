// The default look of menus and the menu bar. Rectangles are the viewer's screen rectangle,
// right and bottom exclusive; a menu's rows are CaptionH + 8 high below a 2-pixel edge.
#include "CUIStyle.h"

#include "WMenu.h"
#include "zebDraw.h"
#include "zebSkin.h"

#include <kvInput.h>

void CUIStyle::DrawMenu()
{
    auto* menu = static_cast<WMenu*>(viewer);
    const int l = menu->GetAbsX() + menu->Left, t = menu->GetAbsY() + menu->Top;
    const int r = menu->GetAbsX() + menu->Right, b = menu->GetAbsY() + menu->Bottom;
    menu->DrawFrame(l, t, r, b, false, 2);
    WText& text = zeb::Writer();
    text.flags = WTEXT_LEFT;
    const int f = menu->CaptionH + 8;
    for (int i = 0; i < menu->Count; ++i) {
        const int row = t + 2 + i * f;
        const WMenuItem& item = menu->Items[i];
        if (item.Separator) {
            // An etched line across the middle of the row.
            zeb::Graph().Bar(l + 1, row + f / 2, r - 1, row + f / 2 + 1, ViewPalette[VP_DARK],
                             nullptr);
            zeb::Graph().Bar(l + 1, row + f / 2 + 1, r - 1, row + f / 2 + 2,
                             ViewPalette[VP_LIGHT], nullptr);
            continue;
        }
        if (i == menu->OpenItem)
            menu->DrawFrame(l + 1, row, r - 1, row + f, true, 1);
        text.colour = ViewPalette[VP_TEXT];
        text.DrawTextA(l + 6, t + 6 + i * f, item.Text);
    }
}

void CUIStyle::DrawMenuBar()
{
    auto* bar = static_cast<WMenuBar*>(viewer);
    const int l = bar->GetAbsX() + bar->Left, t = bar->GetAbsY() + bar->Top;
    const int r = bar->GetAbsX() + bar->Right, b = bar->GetAbsY() + bar->Bottom;
    bar->DrawFrame(l, t, r, b, true, 0);
    WText& text = zeb::Writer();
    text.flags = WTEXT_CENTRE;
    for (int i = 0; i < bar->Count; ++i) {
        const WMenuBase& base = bar->Bases[i];
        text.colour = ViewPalette[VP_TEXT];
        text.DrawTextA(l + (base.LeftX + base.RightX) / 2, t + (b - t - bar->CaptionH) / 2,
                       base.Menu->Caption);
        if (MouseX >= l + base.LeftX && MouseX <= l + base.RightX && MouseY >= t + 2 &&
            MouseY <= b - 2)
            bar->DrawFrame(l + base.LeftX, t + 2, l + base.RightX, b - 2, false, 0);
    }
}
