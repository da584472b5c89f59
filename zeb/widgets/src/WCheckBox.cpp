// WCheckBox: its two owned parts, toggling from either of them, and its record.
#include "WCheckBox.h"

#include "WButton.h"
#include "WStaticText.h"

#include <CUIStyle.h>
#include <zebMain.h>

#include "clickReport.h"

#include <kvStream.h>

namespace {
void ReleasePart(WView* part)
{
    if (!part)
        return;
    part->DelRef();
    if (part->GetRef() <= 0)
        delete part;
}
}  // namespace

WCheckBox::WCheckBox(int x, int y, int width, int height, const char* caption, DWORD id)
    : WView(x, y, width, height, caption, "", id), InitCheck(0), CheckButton(nullptr),
      Label(nullptr)
{
    Type = WTTCheckBox;
    Hooks |= HOOK_AFTER_LOAD;
    WCheckBox::AfterLoad();
}

WCheckBox::~WCheckBox()
{
    ReleasePart(CheckButton);
    ReleasePart(Label);
}

void WCheckBox::SetCheck(bool checked)
{
    CheckButton->Checked = checked;
}

bool WCheckBox::GetCheck() const
{
    return CheckButton->Checked != 0;
}

void WCheckBox::ChangeCaption(const char* text)
{
    WView::ChangeCaption(text);
    if (Label)
        Label->ChangeText(Caption);
}

void WCheckBox::AfterLoad()
{
    // The designed bottom follows the designed top, so a box placed from the parent's
    // bottom edge stays one line high when it is placed again.
    Bottom = Top + CaptionH;
    DesignBottom = DesignTop + CaptionH;
    ReleasePart(Label);
    ReleasePart(CheckButton);
    Label = nullptr;
    CheckButton = nullptr;
    const int width = Right - Left, height = Bottom - Top;
    Label = new WStaticText(16, 0, width - 16, height, Caption, 0, 0);
    CheckButton = new WCheckButton(0, (height - 12) / 2 + 1, 12, 12, 0);
    Label->Parent = this;
    CheckButton->Parent = this;
    CheckButton->Checked = InitCheck;
}

void WCheckBox::HandleEvent(VlxMessage* event)
{
    WView::HandleEvent(event);
    if (event->type == VLX_COMMAND && event->x == VLX_CMD_LABEL_CLICKED &&
        GetEventSource(event) == Label) {
        CheckButton->Checked = !CheckButton->Checked;
        SetEventSource(event, this);
        AddCommand(event, VLX_CMD_CHECK_TOGGLED);
        ClearEvent(event);
    }
    // The parts are held for the call: a handler they reach may release the box.
    WCheckButton* button = CheckButton;
    WStaticText* label = Label;
    button->AddRef();
    label->AddRef();
    button->HandleEvent(event);
    label->HandleEvent(event);
    ReleasePart(button);
    ReleasePart(label);
}

void WCheckBox::Draw()
{
    if (!pUIStyle)
        return;
    pUIStyle->SetViewer(this);
    pUIStyle->DrawCheckBox();
}

void WCheckBox::Load(kvStream* stream)
{
    WView::Load(stream);
    BYTE check = 0;
    stream->Read(&check, 1);
    InitCheck = check ? 1 : 0;
    CheckButton->Checked = InitCheck;
}

void WCheckBox::Save(kvStream* stream)
{
    WView::Save(stream);
    const BYTE check = GetCheck() ? 1 : 0;
    stream->Write(&check, 1);
}
