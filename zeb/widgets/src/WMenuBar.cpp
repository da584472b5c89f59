// WMenuBar: the bases, their spans on the bar, and opening and switching them. Each base's
// span is its caption's width plus 20, the first starting 3 pixels in and each next one
// a pixel after the previous; the spans are offsets inside the bar.
//
// Events:
//   left press on a base    closes what is open; opens the base unless it was the open one
//                           (a second click closes it)
//   move onto another base  while one is open: switches to it
//   command 15 from itself  closes everything
#include "WMenu.h"

#include <CUIStyle.h>
#include <WDesktop.h>

#include "menuLinks.h"
#include "zebDraw.h"

#include <kvInput.h>

#include <algorithm>

WMenuBar::WMenuBar(int x, int y, int w, int h, bool dropDown, DWORD id)
    : WView(x, y, w, h, "MenuBar", "", id),
      Count(0),
      OpenBase(-1),
      Bases{},
      DropDown(dropDown ? 1 : 0),
      SuppressCommands(0),
      FocusBefore(0)
{
    Type = WTTMenuBar;
}

WMenuBar::~WMenuBar()
{
    Clear();
}

void WMenuBar::Clear()
{
    Retreat();
    for (int i = 0; i < Count; ++i) {
        WMenu* menu = Bases[i].Menu;
        Bases[i] = WMenuBase{};
        // A menu someone else still holds must not reach back into a bar that is gone.
        menu->SetOwner(menu->Parent, nullptr);
        zeb::ReleaseView(menu);
    }
    Count = 0;
    OpenBase = -1;
}

void WMenuBar::AddBase(WMenu* menu)
{
    if (!menu || Count >= MENUBAR_MAX_BASES)
        return;
    menu->SetOwner(MyDesktop, this);
    Bases[Count].Menu = menu;
    ++Count;
    AdjustBase();
}

void WMenuBar::AdjustBase()
{
    for (int i = 0; i < Count; ++i) {
        const int w = zeb::Writer().GetWidth(Bases[i].Menu->Caption);
        Bases[i].LeftX = i == 0 ? 3 : Bases[i - 1].RightX + 1;
        Bases[i].RightX = Bases[i].LeftX + w + 20;
    }
}

void WMenuBar::DeleteBase(int index)
{
    if (index < 0 || index >= Count)
        return;
    Retreat();
    WMenu* menu = Bases[index].Menu;
    std::copy(Bases + index + 1, Bases + Count, Bases + index);
    --Count;
    Bases[Count] = WMenuBase{};
    menu->SetOwner(menu->Parent, nullptr);
    zeb::ReleaseView(menu);
    AdjustBase();
}

int WMenuBar::GetBase() const
{
    if (!__MouseIn())
        return -1;
    const int y = GetAbsY();
    if (MouseY < y + Top + 2 || MouseY > y + Bottom - 2)
        return -1;
    const int x = GetAbsX() + Left;
    for (int i = 0; i < Count; ++i)
        if (MouseX >= x + Bases[i].LeftX && MouseX <= x + Bases[i].RightX)
            return i;
    return -1;
}

void WMenuBar::Retreat()
{
    if (OpenBase < 0 || OpenBase >= Count) {
        OpenBase = -1;
        return;
    }
    zeb::CloseMenu(Bases[OpenBase].Menu);
    OpenBase = -1;
    if (MyDesktop && !MyDesktop->Active)
        if (WView* focus = ViewFromHandle(FocusBefore))
            if (focus->Parent == MyDesktop)
                MyDesktop->SetActive(focus);
    FocusBefore = 0;
}

bool WMenuBar::MouseInMenu() const
{
    if (OpenBase < 0 || OpenBase >= Count)
        return false;
    return Bases[OpenBase].Menu->MouseInMenu();
}

void WMenuBar::Draw()
{
    if (!pUIStyle)
        return;
    pUIStyle->SetViewer(this);
    pUIStyle->DrawMenuBar();
}

void WMenuBar::OpenBaseMenu(int index)
{
    if (!MyDesktop)
        return;
    WMenu* menu = Bases[index].Menu;
    OpenBase = index;
    const int y = DropDown ? GetAbsY() + Bottom + 1 : GetAbsY() + Top - menu->GetMenuHeight();
    const int x = GetAbsX() + Bases[index].LeftX;
    menu->SetSize(x + Left, y);
    FocusBefore = MyDesktop->Active ? MyDesktop->Active->Handle : 0;
    MyDesktop->AddView(menu, 0);
    menu->AddRef();
    menu->OpenItem = -1;
}

void WMenuBar::HandleEvent(VlxMessage* event)
{
    WView::HandleEvent(event);
    switch (event->type) {
    case VLX_MOUSE:
        if (event->action == VLX_MOUSE_PRESS && (event->buttons & 1) && __MouseIn()) {
            const int b = GetBase();
            ClearEvent(event);
            if (b < 0)
                return;
            const int wasOpen = OpenBase;
            Retreat();
            if (b != wasOpen)
                OpenBaseMenu(b);
        } else if (event->action == VLX_MOUSE_MOVE && OpenBase >= 0) {
            // Moving along the open base itself leaves its sub-menus as they are.
            const int b = GetBase();
            if (b < 0 || b == OpenBase)
                return;
            ClearEvent(event);
            Retreat();
            OpenBaseMenu(b);
        }
        return;
    case VLX_COMMAND:
        if (event->x == VLX_CMD_CLOSE_MENUS && GetEventSource(event) == this) {
            Retreat();
            ClearEvent(event);
        }
        return;
    default:
        return;
    }
}
