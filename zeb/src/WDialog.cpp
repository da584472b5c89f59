// WDialog: the caption bar and drawing.
#include "WDialog.h"

#include "CUIStyle.h"

WDialog::WDialog(int x, int y, int width, int height, const char* caption, DWORD id)
    : WView(x, y, width, height, "", "", id), NoCaption(true)
{
    Type = WTTDialog;
    WDialog::ChangeCaption(caption);
}

void WDialog::ChangeCaption(const char* text)
{
    WView::ChangeCaption(text);
    NoCaption = Caption[0] == '\0';
    // The caption bar moves the client area down; an attached dialog keeps its position
    // in the origin.
    const int32_t inset = NoCaption ? 0 : CaptionH + 4;
    OriginY += inset - InsetH;
    InsetH = inset;
}

void WDialog::Draw()
{
    if (pUIStyle) {
        pUIStyle->SetViewer(this);
        pUIStyle->DrawDialog();
    }
    WView::Draw();
}
