// The default look of the input line: sunken field, the visible part of the text, the
// clause being converted as a selection, the composition underlined, and the caret.
#include "CUIStyle.h"

#include "WInputLine.h"
#include "zebDraw.h"
#include "zebSkin.h"

namespace {

// The part of an inclusive range [first, last] that lies in the shown characters
// [shown, shownEnd); false when the range is absent or outside.
bool ClipRange(int first, int last, int shown, int shownEnd, int* from, int* to)
{
    if (first < 0 || last < 0 || last < first)
        return false;
    *from = first > shown ? first : shown;
    *to = last + 1 < shownEnd ? last + 1 : shownEnd;
    return *from < *to;
}

// Buffer[from, to) in the code page, at most 256 bytes with the terminator.
void AnsiOf(const WInputLine* line, int from, int to, char* out)
{
    out[0] = 0;
    if (to <= from)
        return;
    const int n = WideCharToMultiByte(CP_ACP, 0, line->Buffer + from, to - from, out, 255,
                                      nullptr, nullptr);
    out[n > 0 ? n : 0] = 0;
}

}  // namespace

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
    AnsiOf(line, first, shownEnd, ansi);
    text.flags = WTEXT_LEFT;
    text.colour = ViewPalette[VP_TEXT];
    text.DrawTextA(l + 2, ty, ansi);

    int from = 0, to = 0;
    if (ClipRange(line->TargetStart, line->TargetEnd, first, shownEnd, &from, &to)) {
        const int o = line->RangeWidth(first, from), w = line->RangeWidth(from, to);
        graph.Bar(l + 2 + o, t + 1, l + 2 + o + w, b - 2, ViewPalette[VP_SELECTION_BACK], nullptr);
        AnsiOf(line, from, to, ansi);
        text.colour = ViewPalette[VP_SELECTED_TEXT];
        text.DrawTextA(l + 2 + o, ty, ansi);
    }
    if (ClipRange(line->CompStart, line->CompEnd, first, shownEnd, &from, &to)) {
        const int o = line->RangeWidth(first, from), w = line->RangeWidth(from, to);
        graph.Bar(l + 2 + o, b - 3, l + 2 + o + w, b - 2, ViewPalette[VP_COMPOSITION_LINE], nullptr);
    }
    if (line->State & VS_ACTIVE)
        line->ShowActiveCursor(l + 2 + line->CursorX, t + 2, b - t - 4, ViewPalette[VP_CARET]);
    text.flags = WTEXT_CENTRE;
}
