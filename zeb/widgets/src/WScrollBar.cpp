// WVScrollBar: the thumb arithmetic, stepping, paging and dragging; WHScrollBar's layout.
// Lengths: track = bar height - 2 * ButtonSize; the thumb is min(rows, count) / count of
// the track (at least 5 pixels); Travel = track - ThumbLen. A top index t of the m =
// count - rows scrollable lines puts the thumb at ButtonSize + t * Travel / m.
#include "WScrollBar.h"

#include "WButton.h"

#include <CUIStyle.h>
#include <WStringList.h>

#include "clickReport.h"

#include <algorithm>

namespace {
void ReleaseChild(WView* parent, WView* child)
{
    if (!child)
        return;
    parent->DeleteView(child);
    child->DelRef();
    if (child->GetRef() <= 0)
        delete child;
}
}  // namespace

WVScrollBar::WVScrollBar(WView* owner, WStringList* list, int size, DWORD id)
    : WVScrollBar(list, size, id, owner->Right - size, 0, size, owner->GetHeight(),
                  "vScrollBar")
{
    AddParts();
}

WVScrollBar::WVScrollBar(WStringList* list, int size, DWORD id, int x, int y, int w, int h,
                         const char* caption)
    : WView(x, y, w, h, caption, "", id), ThumbPos(0), Travel(h - 3 * size), TopIndex(0),
      ButtonSize(size), ThumbLen(size), Full(1), List(list), Thumb(nullptr), UpButton(nullptr),
      DownButton(nullptr)
{
    Type = WTTVScrollBar;
}

void WVScrollBar::AddParts()
{
    const int s = ButtonSize;
    UpButton = new WSlaveButton(0, 0, s, s, "<", VLX_CMD_LINE_UP);
    AddView(UpButton, 0);
    DownButton = new WSlaveButton(0, -s, s, s, ">", VLX_CMD_LINE_DOWN);
    AddView(DownButton, 0);
    Thumb = new WDragButton(0, s, s, s);
    AddView(Thumb, 0);
    ThumbLen = s;
}

void WVScrollBar::ReAddView(int left, int top, int right, int bottom)
{
    ReleaseChild(this, UpButton);
    ReleaseChild(this, DownButton);
    ReleaseChild(this, Thumb);
    UpButton = DownButton = nullptr;
    Thumb = nullptr;
    Left = DesignLeft = OriginX = left;
    Top = DesignTop = OriginY = top;
    Right = DesignRight = right;
    Bottom = DesignBottom = bottom;
    AddParts();
    // The new thumb is sized and placed for the new height.
    ThumbLen = 0;
    ChangeButtonSize();
}

void WVScrollBar::ChangeButtonSize()
{
    if (!Thumb)
        return;
    const int32_t track = (Bottom - Top) - 2 * ButtonSize;
    const int32_t count = List->count, rows = List->rows;
    const int32_t visible = std::min(rows, count);
    int32_t length = track;
    if (visible > 0)
        length = std::max(5, int32_t(int64_t(visible) * track / std::max(count, 1)));
    // A list exactly one page long keeps whatever it was.
    if (!(count == rows && count > 0))
        Full = length == track;
    if (length == ThumbLen)
        return;
    ThumbLen = length;
    Thumb->Bottom = Thumb->Top + length;
    Thumb->DesignBottom = Thumb->DesignTop + length;
    Travel = track - length;
    const int32_t m = count == rows ? 1 : count - rows;
    ThumbPos = ButtonSize + (m != 0 ? int32_t(int64_t(TopIndex) * Travel / m) : 0);
    Thumb->Reposition(Thumb->Left, ThumbPos);
}

void WVScrollBar::SetIndex(int index)
{
    const int32_t count = List->count;
    const int32_t visible = std::min(List->rows, count);
    if (index == TopIndex)
        return;
    if (index < TopIndex || index + visible < count)
        TopIndex = index;
    else
        TopIndex = count - visible;
    VlxMessage replace = zeb::CommandFrom(Thumb, VLX_CMD_DRAG_END);
    WSendMessage(this, &replace);
}

float WVScrollBar::GetIndexFloat() const
{
    return Travel > 0 ? float(ThumbPos) / float(Travel) : 0.0f;
}

void WVScrollBar::PlaceThumb(float fraction)
{
    ThumbPos = int32_t(fraction * float(Travel)) + ButtonSize;
    if (Thumb)
        Thumb->Reposition(Thumb->Left, ThumbPos);
}

void WVScrollBar::HandleEvent(VlxMessage* event)
{
    WView::HandleEvent(event);
    ChangeButtonSize();
    const int32_t count = List->count, rows = List->rows;
    const int32_t scrollable = count - rows;  // lines beyond the first page
    if (event->type == VLX_MOUSE) {
        if (event->action == VLX_MOUSE_MOVE && event->buttons == 4) {
            VlxMessage step = zeb::CommandFrom(this, MouseWheel < 1 ? VLX_CMD_LINE_DOWN
                                                                    : VLX_CMD_LINE_UP);
            ClearEvent(event);
            WSendMessage(this, &step);
            return;
        }
        if (!zeb::IsLeftPressOn(this, event))
            return;
        ClearEvent(event);
        if (scrollable <= 0)
            return;
        const int32_t y = MouseY - (Thumb ? Thumb->GrabY : 0) - Top - GetAbsY();
        TopIndex += y < ThumbPos ? -rows : rows;
        TopIndex = std::clamp(TopIndex, 0, scrollable);
        PlaceThumb(float(TopIndex) / float(scrollable));
        return;
    }
    if (event->type != VLX_COMMAND)
        return;
    const bool fromThumb = Thumb && GetEventSource(event) == Thumb;
    switch (event->x) {
    case VLX_CMD_LINE_UP:
        if (TopIndex < 1) {
            ClearEvent(event);
            return;
        }
        --TopIndex;
        break;
    case VLX_CMD_LINE_DOWN:
        if (TopIndex >= scrollable) {
            ClearEvent(event);
            return;
        }
        ++TopIndex;
        break;
    case VLX_CMD_DRAG_MOVE:
        if (!fromThumb)
            return;
        if (scrollable > 0 && Travel > 0) {
            int32_t y = MouseY - Thumb->GrabY - Top - GetAbsY();
            y = std::clamp(y, ButtonSize, ButtonSize + Travel);
            ThumbPos = y;
            Thumb->Reposition(Thumb->Left, y);
            TopIndex = int32_t(float(y - ButtonSize) / float(Travel) * float(scrollable) + 0.5f);
        }
        ClearEvent(event);
        return;
    case VLX_CMD_DRAG_END:
        if (!fromThumb)
            return;
        break;
    default:
        return;
    }
    // Stepped or released: the thumb follows the top index.
    if (scrollable > 0)
        PlaceThumb(float(TopIndex) / float(scrollable));
    ClearEvent(event);
}

void WVScrollBar::Draw()
{
    if (pUIStyle) {
        pUIStyle->SetViewer(this);
        pUIStyle->DrawVScrollBar();
    }
    WView::Draw();
}

WHScrollBar::WHScrollBar(WView* owner, WStringList* list, int size, DWORD id)
    : WVScrollBar(list, size, id, 0, owner->Bottom, owner->GetWidth(), size, "hScrollBar")
{
    Type = WTTHScrollBar;
    AddParts();
}

void WHScrollBar::AddParts()
{
    const int s = ButtonSize;
    UpButton = new WSlaveButton(0, 0, s, s, "<", VLX_CMD_HSCROLL_LEFT);
    AddView(UpButton, 0);
    DownButton = new WSlaveButton(-s, 0, s, s, ">", VLX_CMD_HSCROLL_RIGHT);
    AddView(DownButton, 0);
    Thumb = new WDragButton(s, 0, s, s);
    AddView(Thumb, 0);
    ThumbLen = s;
}
