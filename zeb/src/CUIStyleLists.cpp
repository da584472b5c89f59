// The default look of list boxes, scroll bars, sliders and combo boxes. Rectangles are
// the viewer's screen rectangle, right and bottom exclusive. A list row is its text's
// height, with one pixel between rows.
#include "CUIStyle.h"

#include "WButton.h"
#include "WComboBox.h"
#include "WDesktop.h"
#include "WListBox.h"
#include "WScrollBar.h"
#include "WSlider.h"
#include "zebDraw.h"
#include "zebSkin.h"
#include "zebText.h"

#include <kvInput.h>

#include <algorithm>
#include <cstring>

using zeb::RectOf;
using zeb::ScreenRect;

namespace {
// The comment of a shortened row: its full text, a longer one ending in "..." in place of
// its last three characters.
void SetRowComment(WListBox* list, const char* text)
{
    const size_t room = sizeof list->Comment - 1;
    if (std::strlen(text) <= room) {
        zeb::CopyText(list->Comment, sizeof list->Comment, text);
        return;
    }
    zeb::CopyText(list->Comment, room - 3 + 1, text);
    std::strcat(list->Comment, "...");
}
}  // namespace

void CUIStyle::DrawVScrollBar()
{
    auto* bar = static_cast<WVScrollBar*>(viewer);
    const ScreenRect s = RectOf(bar);
    const int a = bar->ButtonSize;
    const int y1 = s.t + a - 1, y2 = s.b - a + 1;
    const int m = (s.l + s.r) / 2;
    bar->DrawFrame(s.l, y1, s.r, y2, false, 1);
    bar->DrawFrame(s.l + 2, y1, s.r - 2, y2, true, 1);
    bar->DrawFrame(m - 2, y1, m + 2, y2, false, 2);
}

void CUIStyle::DrawSlider()
{
    auto* slider = static_cast<WSlider*>(viewer);
    const ScreenRect s = RectOf(slider);
    const int c = (slider->Top + slider->Bottom) / 2 + slider->GetAbsY();
    const int k = slider->Thumb->Left;
    slider->DrawFrame(s.l + 5, c - 1, s.r - 5, c + 2, true, 1);
    slider->DrawFrame(s.l + 5, c - 1, s.l + 5 + k, c + 2, false, 1);
}

void CUIStyle::DrawListBox()
{
    auto* list = static_cast<WListBox*>(viewer);
    WStringList& strings = *list->Strings;
    if (strings.modified)
        list->HandleModify();
    list->WView::Draw();
    const ScreenRect s = RectOf(list);
    list->DrawFrame(s.l, s.t, s.r, s.b, true, 1);
    const int n = std::min(strings.count, strings.rows);
    list->FirstShown = strings.count >= strings.rows ? list->ScrollBar->TopIndex : 0;
    WText& text = zeb::Writer();
    int hovered = -1;
    int hoveredTop = 0;
    int y = s.t + 1;
    for (int i = list->FirstShown; i < list->FirstShown + n && i < strings.count; ++i) {
        const int h = text.GetHeight(strings.strings[i]);
        if (i == list->Selected) {
            zeb::Graph().Bar(s.l + 1, y, s.r - 1, y + h, ViewPalette[VP_SELECTED_ROW], nullptr);
            text.colour = ViewPalette[VP_HIGHLIGHT_TEXT];
        } else {
            text.colour = ViewPalette[VP_TEXT];
        }
        text.flags = WTEXT_LEFT;
        text.DrawTextA(s.l + 3, y, list->RowText(i));
        if (list->DispText[i] && MouseX >= s.l && MouseX <= s.r && MouseY >= y &&
            MouseY <= y + h + 1) {
            hovered = i;
            hoveredTop = y;
        }
        y += h + 1;
    }
    text.flags = WTEXT_CENTRE;
    if (hovered < 0) {
        if ((list->State & VS_COMMENT_SHOWN) && list->__MouseIn()) {
            list->State &= ~DWORD(VS_COMMENT_SHOWN);
            SendNoComment();
        }
        list->HoveredRow = -1;
        // The comment timer only counts while a shortened row is under the pointer.
        list->HoverTime = TimeStamp;
        return;
    }
    if (hovered != list->HoveredRow && list->HoveredRow != -1 &&
        (list->State & VS_COMMENT_SHOWN)) {
        list->State &= ~DWORD(VS_COMMENT_SHOWN);
        SendNoComment();
    }
    SetRowComment(list, strings.strings[hovered]);
    list->HoveredRow = hovered;
    list->CommentX = s.l;
    list->CommentY = hoveredTop - 2;
}

void CUIStyle::DrawComboBox()
{
    auto* combo = static_cast<WComboBox*>(viewer);
    const ScreenRect s = RectOf(combo);
    combo->DrawFrame(s.l, s.t, s.r, s.b, true, 1);
    WListBox* list = combo->List;
    const int index = list->GetIndex();
    WText& text = zeb::Writer();
    if (index >= 0 && index < list->Strings->count) {
        text.flags = WTEXT_LEFT;
        text.colour = ViewPalette[VP_TEXT];
        text.DrawTextA(s.l + 2, s.t + (s.b - s.t - combo->CaptionH) / 2, list->RowText(index));
    }
    text.flags = WTEXT_CENTRE;
}
