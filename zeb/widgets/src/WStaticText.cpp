// WStaticText and WStatusBox: text, stored record, drawing and the click report.
#include "WStaticText.h"

#include <CUIStyle.h>
#include <WText.h>
#include <zebText.h>

#include "clickReport.h"
#include "viewRecord.h"

#include <kvInput.h>
#include <kvStream.h>


WStaticText::WStaticText(int x, int y, int width, int height, const char* text, DWORD format,
                         DWORD id)
    : WView(x, y, width, height, "", "", id), Text{}, TextFormat(format)
{
    Type = WTTStaticText;
    ChangeText(text);
}

void WStaticText::ChangeText(const char* text)
{
    zeb::CopyText(Text, sizeof Text, text);
    CaptionW = OutText ? OutText->GetWidth(Text) : 0;
    CaptionH = OutText ? OutText->GetHeight(Text) : 0;
}

void WStaticText::Load(kvStream* stream)
{
    WView::Load(stream);
    TextFormat = zeb::ReadWord(stream);
    char text[STATIC_TEXT_SIZE];
    stream->LoadStringA(text, sizeof text);
    // Measured as a constructed label is, so a loaded status box centres its own text.
    ChangeText(text);
}

void WStaticText::Save(kvStream* stream)
{
    WView::Save(stream);
    zeb::WriteWord(stream, TextFormat);
    stream->SaveString(Text);
}

void WStaticText::Draw()
{
    if (!pUIStyle)
        return;
    pUIStyle->SetViewer(this);
    pUIStyle->DrawStaticText();
}

void WStaticText::HandleEvent(VlxMessage* event)
{
    WView::HandleEvent(event);
    if (!zeb::IsLeftPressOn(this, event))
        return;
    VlxMessage click = zeb::CommandFrom(this, VLX_CMD_LABEL_CLICKED);
    ClearEvent(event);
    WSendMessage(Parent, &click);
}

WStatusBox::WStatusBox(int x, int y, int width, int height, const char* text, DWORD id)
    : WStaticText(x, y, width, height, text, 0, id)
{
    Type = WTTStatusBox;
}

void WStatusBox::Draw()
{
    if (!pUIStyle)
        return;
    pUIStyle->SetViewer(this);
    pUIStyle->DrawStatusBox();
}
