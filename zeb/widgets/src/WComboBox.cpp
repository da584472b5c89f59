// WComboBox: dropping and closing the list, and the record with the embedded list.
//
// The list's rectangle is kept in the box's client coordinates. Placed above, it is
// stored one box height higher than it shows, because attaching it adds the box height
// to a negative top (a negative top counts from the parent's bottom edge).
#include "WComboBox.h"

#include "WButton.h"
#include "WListBox.h"

#include <CUIStyle.h>
#include <kvApplication.h>
#include <zebMain.h>

#include "clickReport.h"
#include "viewRecord.h"

#include <kvException.h>
#include <kvStream.h>

namespace {
void Release(WView* view)
{
    view->DelRef();
    if (view->GetRef() <= 0)
        delete view;
}

void MoveTo(WView* view, int top, int bottom)
{
    view->Top = top;
    view->Bottom = bottom;
}
}  // namespace

WComboBox::WComboBox(int x, int y, int width, int height, int lines, int capacity, DWORD id)
    : WView(x, y, width, height, " ", "", id), Dropped(0), Reserved(0), OpensBelow(1),
      Lines(lines), List(nullptr), Button(nullptr)
{
    Hooks |= HOOK_AFTER_LOAD;
    Type = WTTComboBox;
    List = new WListBox(0, height, width, lines * (CaptionH + 1) + 1, capacity, 0);
    List->Parent = this;
    AfterLoad();
}

WComboBox::~WComboBox()
{
    if (!Dropped)
        Release(List);
}

void WComboBox::AfterLoad()
{
    if (Button) {
        DeleteView(Button);
        Release(Button);
    }
    const int h = Bottom - Top;
    Button = new WSlaveButton(-h, 0, h, h, "+", VLX_CMD_COMBO_TOGGLE);
    // Not made active: in a loaded box that would take the focus from the dialog's
    // own active child.
    AddView(Button, PLACE_NO_ACTIVATE);
    if (Dropped)
        return;
    // The list keeps its height below the box.
    const int32_t listHeight = List->Bottom - List->Top;
    List->Left = List->DesignLeft = 0;
    List->Right = List->DesignRight = Right - Left;
    List->Top = List->DesignTop = h;
    List->Bottom = List->DesignBottom = h + listHeight;
}

int WComboBox::GetIndex() const
{
    return List->GetIndex();
}

void WComboBox::SetIndex(int index)
{
    List->SetIndex(index);
}

void WComboBox::AddString(int index, const char* text)
{
    List->AddString(index, text);
}

void WComboBox::ClearAll()
{
    List->ClearAll();
}

bool WComboBox::IsMsgFrom(const VlxMessage* event) const
{
    if (event->type != VLX_COMMAND || event->x != VLX_CMD_LIST)
        return false;
    const WView* source = GetEventSource(event);
    return source == List || source == this;
}

void WComboBox::SetDropdnMenu()
{
    const int a = List->GetAbsY();
    const int h = Bottom - Top;
    const int height = List->Bottom - List->Top;
    if (a + List->Top < 0 && !OpensBelow) {
        MoveTo(List, h, h + height);
        OpensBelow = 1;
    } else if (a + List->Bottom > ScreenY) {
        if (!OpensBelow) {
            MoveTo(List, List->Top - h, List->Bottom - h);
            return;
        }
        MoveTo(List, -height, 0);
        OpensBelow = 0;
    }
    if (!OpensBelow)
        MoveTo(List, List->Top - h, List->Bottom - h);
}

void WComboBox::Toggle()
{
    if (Dropped) {
        DeleteView(List);
        Dropped = 0;
        return;
    }
    SetDropdnMenu();
    AddView(List, 0);
    Dropped = 1;
    SetTop();
    List->SetIndex(List->GetIndex());
}

void WComboBox::HandleEvent(VlxMessage* event)
{
    WView::HandleEvent(event);
    if (event->type == VLX_MOUSE) {
        if (event->action == VLX_MOUSE_PRESS && event->buttons == 1 && (Dropped || __MouseIn())) {
            VlxMessage toggle = zeb::CommandFrom(this, VLX_CMD_COMBO_TOGGLE);
            WSendMessage(this, &toggle);
            ClearEvent(event);
        }
        return;
    }
    if (event->type != VLX_COMMAND)
        return;
    const bool picked = event->x == VLX_CMD_LIST && GetEventSource(event) == List &&
                        event->y != LIST_CONTENTS_CHANGED;
    if (event->x != VLX_CMD_COMBO_TOGGLE && !picked)
        return;
    if (List->Strings->count < 2)
        return;
    Toggle();
    if (picked) {
        SetEventSource(event, this);
        AddEvent(event);
    }
    ClearEvent(event);
}

void WComboBox::Draw()
{
    if (pUIStyle) {
        pUIStyle->SetViewer(this);
        pUIStyle->DrawComboBox();
    }
    WView::Draw();
}

void WComboBox::Load(kvStream* stream)
{
    WView::Load(stream);
    Lines = zeb::ReadWord(stream);
    if (Lines < 0 || Lines > WSL_MAX_STRINGS)
        NewException("Combo box line count is out of range.", KVEXCEPTION_GENERAL);
    zeb::ReadWord(stream);  // the list's type code
    List->Load(stream);
    List->Bottom = List->DesignBottom = List->Top + (List->CaptionH + 1) * Lines + 1;
    List->AfterLoad();
}

void WComboBox::Save(kvStream* stream)
{
    WView::Save(stream);
    zeb::WriteWord(stream, uint32_t(Lines));
    List->Save(stream);
}
