// WDialog: the caption bar and drawing.
#include "WDialog.h"

#include "CUIStyle.h"
#include "WViewLoad.h"

WDialog::WDialog(int x, int y, int width, int height, const char* caption, DWORD id)
    : WView(x, y, width, height, "", "", id), NoCaption(true)
{
    Type = WTTDialog;
    WDialog::ChangeCaption(caption);
}

// An exception out of LoadDlg leaves the constructor, which destroys the view part and
// with it every child already attached.
WDialog::WDialog(kvStream* stream, DWORD blockId)
    : WView(0, 0, 0, 0, "", "", 0), NoCaption(true)
{
    Type = WTTDialog;
    LoadDlg(stream, blockId, this);
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
