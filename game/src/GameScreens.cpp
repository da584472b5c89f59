// The game's views: the desktop's background, the main form's commands, the background
// dialog and the game screen, which hands every event to the board and then to its keys.
#include "GameScreens.h"

#include "BoardFrame.h"
#include "GameBoard.h"
#include "GameScreenControl.h"

#include <KvD3D9.h>
#include <KvFontD3D9.h>
#include <KvLib.h>
#include <Zeb.h>

#include <WButton.h>
#include <WComboBox.h>

const char* const ABOUT_TITLE = "关于";
const char* const ABOUT_TEXT =
    "VexaTessel 连连看\n\n献给每一位在等车、排队和午休时\n点过两张相同图片的朋友。";

namespace {
const DWORD HIDDEN_BITS = VS_HIDDEN | VS_DISABLED;
const int CMD_OK = 1;
const int MESSAGEBOX_OK = 1;
// The frame step never exceeds this, so a stall (a slow first frame of a round, a window
// being dragged) does not drain a visible slice of the bars at once.
const float MAX_FRAME_STEP = 0.25f;
}  // namespace

void HideView(WView* view)
{
    if (!view)
        return;
    view->State |= HIDDEN_BITS;
    // A hidden view draws no more, so nothing else would take down a tooltip it put up.
    SendNoComment();
}

void ShowView(WView* view)
{
    if (view)
        view->State &= ~HIDDEN_BITS;
}

bool IsViewShown(const WView* view)
{
    return view && !(view->State & HIDDEN_BITS);
}

namespace {
void TraceViews(const WView* parent, int depth)
{
    for (const WView* v = parent->Child; v; v = v->Next) {
        const int x = v->GetAbsX(), y = v->GetAbsY();
        const int command = v->Type == WTTButton ? static_cast<const WButton*>(v)->Command : 0;
        Trace("%*sview %u type %u command %d at %d,%d-%d,%d '%s'", 2 * depth, "",
              unsigned(v->Id), unsigned(v->Type), command, x + v->Left, y + v->Top,
              x + v->Right, y + v->Bottom, v->Caption);
        TraceViews(v, depth + 1);
    }
}
}  // namespace

void TraceLayout(const WView* dialog)
{
    if (!dialog)
        return;
    const int x = dialog->GetAbsX(), y = dialog->GetAbsY();
    Trace("Dialog %u '%s' at %d,%d-%d,%d:", unsigned(dialog->Id), dialog->Caption,
          x + dialog->Left, y + dialog->Top, x + dialog->Right, y + dialog->Bottom);
    TraceViews(dialog, 1);
}

// ---- TSDesktop ---------------------------------------------------------------------------

TSDesktop::TSDesktop()
    : backgroundIndex(0), framesPresented(0), backgrounds{}, tracedModal(0), presented(false),
      commentExcess(0)
{
}

int TSDesktop::DrawnWidthExcess(const char* text)
{
    auto* font = dynamic_cast<kvCFont*>(OutText);
    if (!font || !text || font->RasterScale <= 0.0f)
        return 0;
    // A double-byte character: both bytes 0xA1 or above, as the font reads them.
    const char sample[3] = {char(0xB0), char(0xA1), 0};
    const int perCharacter = int(float(font->CellEdge) / font->RasterScale) - font->GetWidth(sample);
    int characters = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p && *p != '\n';) {
        if (p[0] >= 0xA1 && p[1] >= 0xA1) {
            ++characters;
            p += 2;
        } else {
            ++p;
        }
    }
    return perCharacter > 0 ? characters * perCharacter : 0;
}

void TSDesktop::ChangeComment(const char* text)
{
    WDesktop::ChangeComment(text);
    commentExcess = DrawnWidthExcess(Comment);
    CommentBoxW += commentExcess;
}

void TSDesktop::ShowComment()
{
    if (!(State & VS_COMMENT_SHOWN) || !WaitForIdle() || !pbg || !OutText)
        return;
    if (CommentBoxX + CommentBoxW > ScreenX)
        CommentBoxX = ScreenX - CommentBoxW;
    if (CommentBoxX < 0)
        CommentBoxX = 0;
    if (CommentBoxY + CommentBoxH > ScreenY)
        CommentBoxY = ScreenY - CommentBoxH;
    if (CommentBoxY < 0)
        CommentBoxY = 0;
    const int x = CommentBoxX, y = CommentBoxY, w = CommentBoxW, h = CommentBoxH;
    pbg->Bar(x, y, x + w, y + h, ViewPalette[VP_COMMENT_TEXT], nullptr);
    pbg->Bar(x + 1, y + 1, x + w - 1, y + h - 1, ViewPalette[VP_COMMENT_BACK], nullptr);
    OutText->flags = WTEXT_CENTRE;
    OutText->colour = ViewPalette[VP_COMMENT_TEXT];
    // The font centres on its measured width; the excess would all fall on the right.
    OutText->DrawTextA(x + w / 2 - commentExcess / 2, y + 2, Comment);
}

void TSDesktop::Refresh()
{
    WDesktop::Refresh();
    ++framesPresented;
    if (!presented) {
        presented = true;
        Trace("First frame presented, %.3f s after start.", double(fTime));
    }
}

void TSDesktop::Draw()
{
    pbg->ClearScreen(0);
    pbg->BeginScene();
    if (backgroundIndex >= 0 && backgroundIndex < BACKGROUND_COUNT &&
        backgrounds[backgroundIndex])
        pbg->DrawUITexture(0, 0, ScreenX, ScreenY, false,
                           backgrounds[backgroundIndex]->GetPtr());
    WView::Draw();
    ShowComment();
    // A box or dialog that has just opened modally is written to the log with its
    // buttons, once: where everything was is part of a player's report.
    const WView* top = Child;
    while (top && top->Next)
        top = top->Next;
    if (top && (top->Modal & VIEW_MODAL)) {
        if (top->Handle != tracedModal)
            TraceLayout(top);
        tracedModal = top->Handle;
    } else {
        tracedModal = 0;
    }
}

// ---- WForm -------------------------------------------------------------------------------

WForm::WForm(kvStream* stream) : WDialog(stream, DIALOG_MAIN_FORM) {}

void WForm::HandleEvent(VlxMessage* event)
{
    WDialog::HandleEvent(event);
    if (event->type != VLX_COMMAND)
        return;
    switch (event->x) {
    case CMD_ABOUT:
        ClearEvent(event);
        WMessageBox(ABOUT_TITLE, ABOUT_TEXT, MESSAGEBOX_OK);
        break;
    case CMD_START:
    case CMD_SCORES: {
        const int command = event->x;
        ClearEvent(event);
        auto* combo = static_cast<WComboBox*>(GetSubView(this, COMBO_DIFFICULTY));
        int index = combo ? combo->GetIndex() : 0;
        // A list without a choice means the easiest level.
        if (index < 0)
            index = 0;
        if (starter && command == CMD_START)
            starter->StartRound(index);
        else if (starter)
            starter->ShowScores(index);
        break;
    }
    default:
        break;
    }
}

// ---- WConfig -----------------------------------------------------------------------------

WConfig::WConfig(kvStream* stream) : WDialog(stream, DIALOG_BACKGROUND) {}

void WConfig::HandleEvent(VlxMessage* event)
{
    WDialog::HandleEvent(event);
    if (event->type == VLX_COMMAND && event->x == CMD_OK)
        ClearEvent(event);
}

// ---- WScreen -----------------------------------------------------------------------------

WScreen::WScreen(kvStream* stream) : WDialog(stream, DIALOG_GAME_SCREEN), lastAppTime(fAppTime)
{
    // The board needs every event, the empty one of each frame and consumed ones too: its
    // pointer and the end of the round are tested on each.
    EventMode = 2;
}

void WScreen::HandleEvent(VlxMessage* event)
{
    WDialog::HandleEvent(event);
    if (board)
        board->HandleBoardEvent(event);
    if (control && IsViewShown(this))
        control->HandleKeysAndCommands(event);
}

void WScreen::ResetClock()
{
    lastAppTime = fAppTime;
}

void WScreen::Draw()
{
    // The step follows fAppTime, which does not advance over the first frame after the
    // program comes back from the background: time spent away drains nothing.
    float dt = fAppTime - lastAppTime;
    lastAppTime = fAppTime;
    if (dt < 0.0f)
        dt = 0.0f;
    if (dt > MAX_FRAME_STEP)
        dt = MAX_FRAME_STEP;
    if (kvD3D* d3d = kvD3D::Installed())
        d3d->ClearScreen(0, D3DCLEAR_ZBUFFER);
    if (frame)
        frame->DrawBoardFrame(dt);
    WView::Draw();
}
