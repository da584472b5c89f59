// WImageBox: stored record, drawing and the click report.
#include "WImageBox.h"

#include <CUIStyle.h>

#include "clickReport.h"
#include "viewRecord.h"

#include <kvInput.h>
#include <kvStream.h>

WImageBox::WImageBox(int x, int y, int width, int height, kvResource* image, int colour,
                     DWORD id)
    : WView(x, y, width, height, "", "", id), Image(image), Color(colour)
{
    Type = WTTImageBox;
}

void WImageBox::Load(kvStream* stream)
{
    WView::Load(stream);
    Color = zeb::ReadWord(stream);
    Image = nullptr;
}

void WImageBox::Save(kvStream* stream)
{
    WView::Save(stream);
    zeb::WriteWord(stream, uint32_t(Color));
}

void WImageBox::Draw()
{
    if (!pUIStyle)
        return;
    pUIStyle->SetViewer(this);
    pUIStyle->DrawImageBox();
}

void WImageBox::HandleEvent(VlxMessage* event)
{
    WView::HandleEvent(event);
    if (!zeb::IsLeftPressOn(this, event))
        return;
    VlxMessage click = zeb::CommandFrom(this, VLX_CMD_IMAGE_CLICKED);
    ClearEvent(event);
    AddEvent(&click);
}
