// WView: drawing the children, the comment timer, frames and the caret.
#include "WView.h"

#include "WDesktop.h"
#include "zebDraw.h"
#include "zebSkin.h"

#include <kvInput.h>

namespace zeb {

kvBaseGraph& Graph()
{
    static kvBaseGraph none;
    return pbg ? *pbg : none;
}

WText& Writer()
{
    static WText none;
    return OutText ? *OutText : none;
}

}  // namespace zeb

void WView::Draw()
{
    for (WView* c = Child; c; c = c->Next)
        if (!(c->State & VS_HIDDEN))
            c->Draw();
    if (this == MyDesktop || !(State & VS_HAS_COMMENT))
        return;
    // Unsigned, so a pointer resting since before the clock wrapped still counts.
    if (DWORD(TimeStamp - HoverTime) > DelayTime && __MouseIn()) {
        if (State & VS_COMMENT_SHOWN)
            return;
        const bool besidePointer = CommentX == -1 && CommentY == -1;
        SendComment(this, besidePointer ? MouseX + 24 : CommentX,
                    besidePointer ? MouseY + 24 : CommentY, Comment);
        State |= VS_COMMENT_SHOWN;
        return;
    }
    if (State & VS_COMMENT_SHOWN) {
        State &= ~DWORD(VS_COMMENT_SHOWN);
        SendNoComment();
    }
    if (!MouseIn())
        HoverTime = TimeStamp;
}

void WView::DrawTexture(int x1, int y1, int x2, int y2, bool sunken)
{
    zeb::Graph().DrawUITexture(x1, y1, x2, y2, sunken, UITexture[UITEXTURE_FRAME]);
}

void WView::DrawFrame(int x1, int y1, int x2, int y2, bool sunken, unsigned char fill)
{
    kvBaseGraph& g = zeb::Graph();
    const DWORD topLeft = sunken ? ViewPalette[VP_DARK] : ViewPalette[VP_LIGHT];
    const DWORD bottomRight = sunken ? ViewPalette[VP_LIGHT] : ViewPalette[VP_DARK];
    if (fill) {
        if (fill == 2 && UITexture[UITEXTURE_FRAME])
            DrawTexture(x1 + 1, y1 + 1, x2 - 1, y2 - 1, sunken);
        else
            g.Bar(x1 + 1, y1 + 1, x2 - 1, y2 - 1, ViewPalette[VP_INTERIOR], nullptr);
    }
    g.Bar(x1, y1, x2, y1 + 1, topLeft, nullptr);
    g.Bar(x1, y1 + 1, x1 + 1, y2 - 1, topLeft, nullptr);
    g.Bar(x1, y2 - 1, x2, y2, bottomRight, nullptr);
    g.Bar(x2 - 1, y1 + 1, x2, y2 - 1, bottomRight, nullptr);
}

void WView::ShowActiveCursor(int x, int y, int height, DWORD colour)
{
    if (bCursorSparkle)
        zeb::Graph().Bar(x, y, x + 2, y + height, colour, nullptr);
}
