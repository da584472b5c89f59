// The push buttons: the press state machine, what each kind does on release, and the
// button record (the command word after the view record).
#include "WButton.h"

#include <CUIStyle.h>
#include <zebMain.h>
#include <zebSkin.h>

#include "clickReport.h"
#include "viewRecord.h"

#include <kvInput.h>
#include <kvStream.h>

WButton::WButton(int x, int y, int width, int height, const char* caption, const char* comment,
                 int command, DWORD id)
    : WView(x, y, width, height, caption, comment, id), Hover(0), Command(command),
      Style(ButtonStyle)
{
    Type = WTTButton;
    Hooks |= HOOK_AFTER_LOAD;
    WButton::AfterLoad();
}

void WButton::AfterLoad()
{
    if (Id >= 1 && Id <= 4) {
        ChangeCaption(CusCaption[Id - 1]);
        Command = int32_t(Id);
    }
}

void WButton::Load(kvStream* stream)
{
    WView::Load(stream);
    Command = zeb::ReadWord(stream);
}

void WButton::Save(kvStream* stream)
{
    WView::Save(stream);
    zeb::WriteWord(stream, uint32_t(Command));
}

void WButton::Draw()
{
    if (pUIStyle) {
        pUIStyle->SetViewer(this);
        pUIStyle->DrawButton();
    }
    // The comment timer runs in the base drawing: without it a button's comment, its
    // tooltip, would never show.
    WView::Draw();
}

void WButton::HandleEvent(VlxMessage* event)
{
    WView::HandleEvent(event);
    if (event->type != VLX_MOUSE)
        return;
    if (event->action == VLX_MOUSE_PRESS) {
        if (event->buttons != 1 || !MouseIn())
            return;
        State |= VS_BUTTON_DOWN | VS_BUTTON_HELD;
        ClearEvent(event);
        return;
    }
    if (!(State & VS_BUTTON_DOWN))
        return;
    if (event->action == VLX_MOUSE_MOVE) {
        if (MouseIn())
            State |= VS_BUTTON_HELD;
        else
            State &= ~DWORD(VS_BUTTON_HELD);
        ClearEvent(event);
    } else if (event->action == VLX_MOUSE_RELEASE) {
        State &= ~DWORD(VS_BUTTON_DOWN);
        const bool inside = MouseIn();
        if (inside)
            Fire();
        ClearEvent(event);
    }
}

void WButton::Fire()
{
    if (Command == 0)
        return;
    VlxMessage command = {};
    AddCommand(&command, Command);
}

WSlaveButton::WSlaveButton(int x, int y, int width, int height, const char* caption, int command)
    : WButton(x, y, width, height, caption, "", command, 0)
{
    Type = WTTSlaveButton;
    Style = 2;
}

void WSlaveButton::Fire()
{
    VlxMessage command = {};
    command.type = VLX_COMMAND;
    command.x = Command;
    WSendMessage(Parent, &command);
}

void WSlaveButton::Draw()
{
    if (!pUIStyle)
        return;
    pUIStyle->SetViewer(this);
    pUIStyle->DrawSlaveButton();
}

WDragButton::WDragButton(int x, int y, int width, int height)
    : WSlaveButton(x, y, width, height, "DragButton", 0), GrabY(0), GrabX(0)
{
}

void WDragButton::Reposition(int x, int y)
{
    const int32_t w = Right - Left, h = Bottom - Top;
    // An attached view carries its position in its origin too.
    OriginX += x - Left;
    OriginY += y - Top;
    Left = DesignLeft = x;
    Top = DesignTop = y;
    Right = DesignRight = x + w;
    Bottom = DesignBottom = y + h;
}

void WDragButton::HandleEvent(VlxMessage* event)
{
    const bool wasDown = State & VS_BUTTON_DOWN;
    WSlaveButton::HandleEvent(event);
    if (event->type == VLX_COMMAND)
        return;
    const bool down = State & VS_BUTTON_DOWN;
    if (down && !wasDown) {
        GrabY = MouseY - Top - GetAbsY();
        GrabX = MouseX - Left - GetAbsX();
    }
    if (down) {
        VlxMessage moving = zeb::CommandFrom(this, VLX_CMD_DRAG_MOVE);
        WSendMessage(Parent, &moving);
    } else if (wasDown) {
        VlxMessage released = zeb::CommandFrom(this, VLX_CMD_DRAG_END);
        WSendMessage(Parent, &released);
    }
}

void WDragButton::Draw()
{
    if (!pUIStyle)
        return;
    pUIStyle->SetViewer(this);
    pUIStyle->DrawDragButton();
}

WCheckButton::WCheckButton(int x, int y, int width, int height, DWORD id)
    : WButton(x, y, width, height, "", "", 0, id), Checked(0)
{
    Type = WTTCheckButton;
}

void WCheckButton::HandleEvent(VlxMessage* event)
{
    const bool wasDown = State & VS_BUTTON_DOWN;
    WButton::HandleEvent(event);
    if (wasDown || !(State & VS_BUTTON_DOWN))
        return;
    Checked = !Checked;
    VlxMessage toggled = zeb::CommandFrom(Parent, VLX_CMD_CHECK_TOGGLED);
    AddCommand(&toggled, VLX_CMD_CHECK_TOGGLED);
}

void WCheckButton::Draw()
{
    if (!pUIStyle)
        return;
    pUIStyle->SetViewer(this);
    pUIStyle->DrawCheckButton();
}
