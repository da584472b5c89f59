// The default look of the input line: sunken field, the visible part of the text, the
// clause being converted as a selection, the composition underlined, and the caret.
#include "CUIStyle.h"

#include "WInputLine.h"
#include "zebDraw.h"
#include "zebSkin.h"

void CUIStyle::DrawInputLine()
{
    auto* line = static_cast<WInputLine*>(viewer);
    const int x = line->GetAbsX(), y = line->GetAbsY();
    const int l = x + line->Left, t = y + line->Top, r = x + line->Right, b = y + line->Bottom;
    WText& text = zeb::Writer();
    kvBaseGraph& graph = zeb::Graph();

    line->DrawFrame(l, t, r, b, true, 1);
    const int h = text.GetHeight(line->GetText());
    const int first = line->FirstVisible;
    line->CursorX = line->RangeWidth(first, line->Cursor);

    // The longest run from the first visible character that fits inside the frame.
    const int length = line->Length();
    int shownEnd = first;
    while (shownEnd < length && line->RangeWidth(first, shownEnd + 1) <= r - l - 4)
        ++shownEnd;
    const int ty = t + (b - t - h) / 2;
    char ansi[256];
    zeb::ShownText(line, first, shownEnd, ansi);
    text.flags = WTEXT_LEFT;
    text.colour = ViewPalette[VP_TEXT];
    text.DrawTextA(l + 2, ty, ansi);

    int from = 0, to = 0;
    if (zeb::ClipShownRange(line->TargetStart, line->TargetEnd, first, shownEnd, &from, &to)) {
        const int o = line->RangeWidth(first, from), w = line->RangeWidth(from, to);
        graph.Bar(l + 2 + o, t + 1, l + 2 + o + w, b - 2, ViewPalette[VP_SELECTION_BACK], nullptr);
        zeb::ShownText(line, from, to, ansi);
        text.colour = ViewPalette[VP_SELECTED_TEXT];
        text.DrawTextA(l + 2 + o, ty, ansi);
    }
    if (zeb::ClipShownRange(line->CompStart, line->CompEnd, first, shownEnd, &from, &to)) {
        const int o = line->RangeWidth(first, from), w = line->RangeWidth(from, to);
        graph.Bar(l + 2 + o, b - 3, l + 2 + o + w, b - 2, ViewPalette[VP_COMPOSITION_LINE], nullptr);
    }
    if (line->State & VS_ACTIVE)
        line->ShowActiveCursor(l + 2 + line->CursorX, t + 2, b - t - 4, ViewPalette[VP_CARET]);
    text.flags = WTEXT_CENTRE;
}
