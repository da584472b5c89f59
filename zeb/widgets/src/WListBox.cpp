// WListBox: selection, the bar's visibility, shortened display texts and the record (the
// view record, then the string list record).
#include "WListBox.h"

#include "WScrollBar.h"

#include <CUIStyle.h>
#include <zebMain.h>
#include <zebText.h>

#include "clickReport.h"
#include "zebDraw.h"

#include <kvStream.h>

#include <algorithm>
#include <cstring>

namespace {
const char kEllipsis[] = "...";

// The bar is shown while neither its disabled nor its hidden bit is set.
bool BarShown(const WView* bar)
{
    return !(bar->State & (VS_DISABLED | VS_HIDDEN));
}

// The longest prefix of text, on a character boundary, that still fits width with "..."
// after it; the copy ends in "...".
char* Shortened(const char* text, int width)
{
    WText& writer = zeb::Writer();
    const size_t len = std::strlen(text);
    char* out = new char[len + sizeof kEllipsis];
    size_t fit = 0;
    for (size_t n = 0; n < len;) {
        const size_t next = n + (zeb::IsDoubleByte(text + n) ? 2 : 1);
        std::memcpy(out, text, next);
        std::memcpy(out + next, kEllipsis, sizeof kEllipsis);
        if (writer.GetWidth(out) > width)
            break;
        fit = next;
        n = next;
    }
    std::memcpy(out, text, fit);
    std::memcpy(out + fit, kEllipsis, sizeof kEllipsis);
    return out;
}
}  // namespace

WListBox::WListBox(int x, int y, int width, int height, int capacity, DWORD id)
    : WView(x, y, width, height, " ", "", id), Selected(0), FirstShown(0), LastCount(0),
      Reserved(0), PopUp(0), Strings(nullptr), DispText{}, ScrollBar(nullptr), HoveredRow(-1)
{
    Hooks |= HOOK_AFTER_TRANSLATE | HOOK_AFTER_LOAD;
    State |= VS_HAS_COMMENT;
    Type = WTTListBox;
    Strings = new WStringList(capacity, (height - 1) / (CaptionH + 1));
    AttachScrollBar(LIST_BAR_SIZE);
    ScrollBar->State |= VS_DISABLED | VS_HIDDEN;
}

WListBox::~WListBox()
{
    FreeDispText();
    delete Strings;
}

void WListBox::AttachScrollBar(int size)
{
    ScrollBar = new WVScrollBar(this, Strings, size, 0);
    AddView(ScrollBar, 0);
    ScrollBar->ChangeButtonSize();
}

void WListBox::ReAttachScrollBar()
{
    WVScrollBar* bar = ScrollBar;
    const int32_t width = bar->Right - bar->Left;
    bar->OriginX += Right - bar->Left;
    bar->OriginY += Top - bar->Top;
    bar->Left = Right;
    bar->Top = Top;
    bar->Right = Right + width;
    bar->Bottom = Bottom;
}

void WListBox::AfterLoad()
{
    ReAttachScrollBar();
}

void WListBox::AfterTranslate()
{
    Strings->rows = std::max(0, (Bottom - Top - 1) / (CaptionH + 1));
}

void WListBox::Repos()
{
    if (BarShown(ScrollBar)) {
        ScrollBar->Full = 0;
        ScrollBar->State |= VS_DISABLED | VS_HIDDEN;
        HandleModify();
    }
    WView::Repos();
}

void WListBox::Load(kvStream* stream)
{
    WView::Load(stream);
    // The empty stored comment cleared the comment bit; the full text of a shortened row
    // is shown through it.
    State |= VS_HAS_COMMENT;
    Strings->Load(stream);
}

void WListBox::Save(kvStream* stream)
{
    WView::Save(stream);
    Strings->Save(stream);
}

void WListBox::SetIndex(int index)
{
    if (index < 0 || index >= Strings->count)
        return;
    ScrollBar->SetIndex(index);
    Selected = index;
}

void WListBox::SetIndex(const char* text)
{
    const int index = std::max(0, Strings->FindString(text));
    if (index != Selected)
        SetIndex(index);
}

void WListBox::ClearAll()
{
    Strings->ClearAll();
    Selected = 0;
}

void WListBox::FreeDispText()
{
    for (char*& text : DispText) {
        delete[] text;
        text = nullptr;
    }
}

const char* WListBox::RowText(int index) const
{
    return DispText[index] ? DispText[index] : Strings->strings[index];
}

void WListBox::HandleEvent(VlxMessage* event)
{
    WView::HandleEvent(event);
    bool picked = false;
    if (zeb::IsLeftPressOn(this, event)) {
        WText& writer = zeb::Writer();
        const int32_t lines = std::min(Strings->count, Strings->rows);
        const int absTop = GetAbsY() + Top;
        int y = absTop + 1;
        for (int i = FirstShown; i < FirstShown + lines && i < Strings->count; ++i) {
            const int h = writer.GetHeight(Strings->strings[i]);
            if (MouseY >= y && MouseY <= y + h + 1) {
                Selected = i;
                VlxMessage line = zeb::CommandFrom(this, VLX_CMD_LIST);
                line.y = LIST_LINE_PICKED;
                AddCommand(&line, VLX_CMD_LIST);
                picked = true;
                break;
            }
            y += h + 1;
        }
        ClearEvent(event);
    }
    if (!picked && Strings->count != LastCount) {
        VlxMessage changed = zeb::CommandFrom(this, VLX_CMD_LIST);
        changed.y = LIST_CONTENTS_CHANGED;
        AddCommand(&changed, VLX_CMD_LIST);
    }
    LastCount = Strings->count;
}

void WListBox::HandleModify()
{
    if (PopUp)
        return;
    WStringList& list = *Strings;
    WVScrollBar& bar = *ScrollBar;
    if (list.count < list.rows + bar.TopIndex)
        bar.TopIndex = std::max(0, list.count - list.rows);
    if (Selected >= list.count)
        Selected = std::max(0, list.count - 1);
    bar.ChangeButtonSize();
    const int32_t size = bar.ButtonSize;
    if (bar.Full && BarShown(&bar)) {
        bar.State |= VS_DISABLED | VS_HIDDEN;
        Right += size;
    } else if (!bar.Full && !BarShown(&bar) && Bottom - Top >= 41) {
        bar.State &= ~DWORD(VS_DISABLED | VS_HIDDEN);
        bar.ReAddView(Right - Left - size, 0, Right - Left, Bottom - Top);
        Right -= size;
    }
    FreeDispText();
    const int room = Right - Left - 4;
    WText& writer = zeb::Writer();
    for (int i = 0; i < list.count; ++i)
        if (list.strings[i] && writer.GetWidth(list.strings[i]) > room)
            DispText[i] = Shortened(list.strings[i], room);
    list.modified = 0;
}

void WListBox::Draw()
{
    if (!pUIStyle)
        return;
    pUIStyle->SetViewer(this);
    pUIStyle->DrawListBox();
}
