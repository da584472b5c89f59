// WMenu: items, geometry and the pointer. A menu floats on the desktop while open, so its
// screen rectangle is its own rectangle. Rows are (text height + 8) pixels high below a
// 2-pixel top edge; OpenItem is the highlighted row, and when that row has a sub-menu,
// the sub-menu may be open beside it (IsOpen tells).
//
// Events, in every open menu (the one opened last is the desktop's active child and sees
// them first):
//   press   on any open menu of the bar: consumed; on the bar: left to the bar; anywhere
//           else: the bar is told to close everything, and the press goes on
//   move    on this menu: highlights the row and opens its sub-menu, closing the previous
//   release on this menu: a command row posts its command and closes everything
#include "WMenu.h"

#include <CUIStyle.h>
#include <WDesktop.h>
#include <zebMain.h>
#include <zebText.h>

#include "ViewHandles.h"
#include "clickReport.h"
#include "menuLinks.h"
#include "zebDraw.h"

#include <kvInput.h>

#include <algorithm>

WMenu::WMenu(int x, int y, int minWidth, const char* caption, DWORD id)
    : WView(x, y, minWidth, 0, caption, "", id),
      Count(0),
      Widest(0),
      MinWidth(minWidth),
      OpenItem(-1),
      Items{},
      Bar(nullptr)
{
    State |= VS_PRIORITY;
    Type = WTTMenu;
}

WMenu::~WMenu()
{
    Clear();
}

void WMenu::Clear()
{
    Retreat();
    for (int i = 0; i < Count; ++i) {
        if (WMenu* sub = Items[i].SubMenu) {
            Items[i].SubMenu = nullptr;
            sub->SetOwner(sub->Parent, nullptr);
            zeb::ReleaseView(sub);
        }
    }
    Count = 0;
    Widest = 0;
    OpenItem = -1;
}

void WMenu::AddItem(const char* text, WMenu* subMenu, DWORD command)
{
    if (Count >= MENU_MAX_ITEMS)
        return;
    WMenuItem& item = Items[Count];
    zeb::CopyText(item.Text, sizeof item.Text, text);
    item.Separator = item.Text[0] == 0;
    if (subMenu)
        subMenu->SetOwner(Parent, Bar);
    item.SubMenu = subMenu;
    item.Command = command;
    ++Count;
    Widest = std::max(Widest, int32_t(zeb::Writer().GetWidth(item.Text)));
    SetSize(Left, Top);
}

void WMenu::DeleteItem(int index)
{
    if (index < 0 || index >= Count)
        return;
    Retreat();
    if (WMenu* sub = Items[index].SubMenu) {
        sub->SetOwner(sub->Parent, nullptr);
        zeb::ReleaseView(sub);
    }
    std::copy(Items + index + 1, Items + Count, Items + index);
    --Count;
    Items[Count] = WMenuItem{};
    OpenItem = -1;
}

int WMenu::GetMenuHeight() const
{
    return (CaptionH + 8) * Count + 4;
}

void WMenu::SetSize(int x, int y)
{
    Left = x;
    Top = y;
    Bottom = y + GetMenuHeight();
    Right = x + std::max(MinWidth, Widest + 12);
    // The design rectangle follows, so a re-placement of the desktop leaves an open menu
    // where it is until the queued close arrives.
    DesignLeft = Left;
    DesignTop = Top;
    DesignRight = Right;
    DesignBottom = Bottom;
    OpenItem = -1;
}

int WMenu::GetItem() const
{
    if (!__MouseIn())
        return -1;
    const int i = (MouseY - Top - GetAbsY() - 2) / (CaptionH + 8);
    if (i < 0 || i >= Count || Items[i].Separator)
        return -1;
    return i;
}

void WMenu::SetOwner(WView* owner, WMenuBar* bar)
{
    Parent = owner;
    Bar = bar;
    for (int i = 0; i < Count; ++i)
        if (Items[i].SubMenu)
            Items[i].SubMenu->SetOwner(owner, bar);
}

void WMenu::Retreat()
{
    if (OpenItem >= 0 && OpenItem < Count)
        zeb::CloseMenu(Items[OpenItem].SubMenu);
}

bool WMenu::MouseInMenu() const
{
    if (__MouseIn())
        return true;
    if (OpenItem < 0 || OpenItem >= Count)
        return false;
    const WMenu* sub = Items[OpenItem].SubMenu;
    return sub && sub->IsOpen() && sub->MouseInMenu();
}

bool WMenu::IsOpen() const
{
    if (!Parent || Parent == this || !zeb::IsLiveView(Parent))
        return false;
    for (const WView* c = Parent->Child; c; c = c->Next)
        if (c == this)
            return true;
    return false;
}

void WMenu::Repos()
{
    if (!Bar)
        return;
    VlxMessage close = zeb::CommandFrom(Bar, VLX_CMD_CLOSE_MENUS);
    AddEvent(&close);
}

void WMenu::Draw()
{
    if (!pUIStyle)
        return;
    pUIStyle->SetViewer(this);
    pUIStyle->DrawMenu();
}

void WMenu::OpenSubMenu(int index)
{
    WMenu* sub = Items[index].SubMenu;
    if (!sub || !Parent || !zeb::IsLiveView(Parent))
        return;
    sub->SetSize(GetAbsX() + Right, GetAbsY() + index * (CaptionH + 8) + Top);
    Parent->AddView(sub, 0);
    sub->AddRef();
}

void WMenu::HandleEvent(VlxMessage* event)
{
    WView::HandleEvent(event);
    if (event->type != VLX_MOUSE)
        return;
    switch (event->action) {
    case VLX_MOUSE_PRESS:
        if (!(event->buttons & 1) || !Bar)
            return;
        if (Bar->MouseInMenu()) {
            ClearEvent(event);
        } else if (!Bar->__MouseIn()) {
            VlxMessage close = zeb::CommandFrom(Bar, VLX_CMD_CLOSE_MENUS);
            WSendMessage(Bar, &close);
        }
        return;
    case VLX_MOUSE_MOVE: {
        if (!__MouseIn())
            return;
        const int i = GetItem();
        if (i >= 0) {
            Retreat();
            OpenItem = i;
            OpenSubMenu(i);
        }
        ClearEvent(event);
        return;
    }
    case VLX_MOUSE_RELEASE: {
        if (!(event->buttons & 1) || !__MouseIn())
            return;
        const int i = GetItem();
        ClearEvent(event);
        if (i < 0 || Items[i].SubMenu)
            return;
        WMenuBar* bar = Bar;
        if (!bar || !bar->SuppressCommands) {
            VlxMessage command = zeb::CommandFrom(this, 0);
            AddCommand(&command, int(Items[i].Command));
        }
        if (bar) {
            VlxMessage close = zeb::CommandFrom(bar, VLX_CMD_CLOSE_MENUS);
            WSendMessage(bar, &close);
        }
        return;
    }
    default:
        return;
    }
}
