// WDesktop: the root view, its comment box and the frame counter.
#include "WDesktop.h"

#include "zebDraw.h"
#include "zebSkin.h"

#include <kvApplication.h>
#include <kvInput.h>

#include <cstdio>

WDesktop* MyDesktop = nullptr;
DWORD DelayTime = 60;

WDesktop::WDesktop()
    : WView(0, 0, ScreenX, ScreenY, "Desktop", "", 0),
      CommentBoxX(0),
      CommentBoxY(0),
      CommentBoxH(0),
      CommentBoxW(0)
{
    Type = WTTDesktop;
    State = VS_ACTIVE | VS_ROOT;
    Parent = this;
}

WDesktop::~WDesktop()
{
    // Children that point elsewhere are only borrowed by the list.
    while (Child && Child->Parent != this)
        DeleteView(Child);
    // Unowned views, the first one included, belong to someone else: unlink them only.
    for (WView** link = &Child; *link;) {
        WView* c = *link;
        if (c->Unowned) {
            *link = c->Next;
            c->Next = nullptr;
            if (Active == c)
                DeleteActive();
        } else {
            link = &c->Next;
        }
    }
    // The desktop is its own parent; the base destructor must not look for it in itself.
    Parent = nullptr;
    if (MyDesktop == this)
        MyDesktop = nullptr;
}

void WDesktop::ChangeComment(const char* text)
{
    WView::ChangeComment(text);
    CommentBoxW = zeb::Writer().GetWidth(Comment) + 4;
    CommentBoxH = zeb::Writer().GetHeight(Comment) + 4;
}

void WDesktop::Draw()
{
    zeb::Graph().ClearScreen(0);
    zeb::Graph().BeginScene();
    WView::Draw();
    ShowComment();
}

void WDesktop::ShowComment()
{
    if (!(State & VS_COMMENT_SHOWN))
        return;
    for (int i = 0; i < 3; ++i)
        if (MyMouse.rgbButtons[i] & 0x80)
            return;
    if (CommentBoxX < 0)
        CommentBoxX = 0;
    if (CommentBoxX + CommentBoxW > ScreenX)
        CommentBoxX = ScreenX - CommentBoxW;
    if (CommentBoxY < 0)
        CommentBoxY = 0;
    if (CommentBoxY + CommentBoxH > ScreenY)
        CommentBoxY = ScreenY - CommentBoxH;
    const int x = CommentBoxX, y = CommentBoxY, w = CommentBoxW, h = CommentBoxH;
    kvBaseGraph& g = zeb::Graph();
    g.Bar(x, y, x + w, y + h, ViewPalette[VP_COMMENT_TEXT], nullptr);
    g.Bar(x + 1, y + 1, x + w - 1, y + h - 1, ViewPalette[VP_COMMENT_BACK], nullptr);
    WText& text = zeb::Writer();
    text.flags = WTEXT_CENTRE;
    text.colour = ViewPalette[VP_COMMENT_TEXT];
    text.DrawTextA(x + w / 2, y + 2, Comment);
}

void WDesktop::Refresh()
{
    if (!bNoRealTime && bShowFPS && OutText) {
        char text[32];
        std::snprintf(text, sizeof text, "FPS = %d", GetFPS());
        const int32_t style = OutText->flags;
        OutText->flags = WTEXT_LEFT;
        OutText->colour = 0xFFFFFFFF;
        OutText->DrawTextA(5, 5, text);
        OutText->flags = style;
    }
    zeb::Graph().EndScene();
    zeb::Graph().UpdateScreen();
}

void SetDesktop(WDesktop* d)
{
    MyDesktop = d;
}

void SendComment(WView* view, int x, int y, const char* text)
{
    if (!MyDesktop)
        return;
    if ((MyDesktop->Modal & VIEW_MODAL) && !(view->Modal & VIEW_MODAL))
        return;
    MyDesktop->CommentBoxX = x;
    MyDesktop->CommentBoxY = y;
    MyDesktop->ChangeComment(text);
    MyDesktop->State |= VS_COMMENT_SHOWN;
    InvalidateView();
}

void SendNoComment()
{
    if (MyDesktop)
        MyDesktop->State &= ~DWORD(VS_COMMENT_SHOWN);
}
