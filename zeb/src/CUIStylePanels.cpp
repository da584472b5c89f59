// The default look of the passive views: group frames, dialogs, labels, status boxes and
// image boxes. Rectangles are the viewer's screen rectangle, right and bottom exclusive.
#include "CUIStyle.h"

#include "WDialog.h"
#include "WGroup.h"
#include "WImageBox.h"
#include "WStaticText.h"
#include "zebDraw.h"
#include "zebSkin.h"
#include "zebText.h"

#include <kvResource.h>

#include <algorithm>

namespace {
using zeb::RectOf;
using zeb::ScreenRect;

void Line(int x1, int y1, int x2, int y2, DWORD colour)
{
    zeb::Graph().Bar(x1, y1, x2, y2, colour, nullptr);
}

// A label's lines are drawn one at a time, each at most this many bytes.
constexpr size_t kLineSize = 512;
}  // namespace

void CUIStyle::DrawGroup()
{
    WView* v = viewer;
    const ScreenRect s = RectOf(v);
    WText& text = zeb::Writer();
    const int w = v->Caption[0] ? text.GetWidth(v->Caption) + 5 : 0;
    const int g = text.GetHeight(v->Caption);
    const DWORD dark = ViewPalette[VP_DARK], light = ViewPalette[VP_LIGHT];
    // An etched frame: a dark line with a light one beside it, open for the caption.
    Line(s.l, s.t, s.l + 1, s.b - 1, dark);
    Line(s.l, s.b - 1, s.r, s.b, dark);
    Line(s.r - 1, s.t, s.r, s.b - 1, dark);
    Line(s.l, s.t, s.l + 10, s.t + 1, dark);
    Line(s.l + 10 + w, s.t, s.r, s.t + 1, dark);
    Line(s.l + 1, s.t + 1, s.l + 2, s.b - 1, light);
    Line(s.l, s.b, s.r + 1, s.b + 1, light);
    Line(s.r, s.t, s.r + 1, s.b, light);
    Line(s.l + 1, s.t + 1, s.l + 10, s.t + 2, light);
    Line(s.l + 10 + w, s.t + 1, s.r - 2, s.t + 2, light);
    if (v->Caption[0]) {
        text.flags = WTEXT_CENTRE;
        text.colour = ViewPalette[VP_TEXT];
        text.DrawTextA(s.l + 10 + w / 2, s.t - g / 2, v->Caption);
    }
}

void CUIStyle::DrawStaticText()
{
    auto* label = static_cast<WStaticText*>(viewer);
    const ScreenRect s = RectOf(label);
    WText& text = zeb::Writer();
    const int32_t style = text.flags;
    const int x = label->TextFormat == WTEXT_CENTRE ? s.l + (s.r - s.l) / 2 : s.l;
    int y = s.t;
    for (const char* p = label->Text; *p;) {
        const int len = zeb::LineBytes(p);
        char line[kLineSize];
        zeb::CopyText(line, std::min(size_t(len) + 1, sizeof line), p);
        text.flags = int32_t(label->TextFormat);
        text.colour = ViewPalette[VP_TEXT];
        text.DrawTextA(x, y, line);
        y += text.GetHeight(line) + 1;
        p += len;
        if (*p == '\n')
            ++p;
    }
    text.flags = style;
}

void CUIStyle::DrawImageBox()
{
    auto* box = static_cast<WImageBox*>(viewer);
    const ScreenRect s = RectOf(box);
    box->DrawFrame(s.l - 1, s.t - 1, s.r + 1, s.b + 1, true, 1);
    void* texture = box->Image ? box->Image->GetPtr() : nullptr;
    zeb::Graph().Bar(s.l, s.t, s.r, s.b, DWORD(box->Color), texture);
}

void CUIStyle::DrawStatusBox()
{
    auto* box = static_cast<WStatusBox*>(viewer);
    const ScreenRect s = RectOf(box);
    box->DrawFrame(s.l, s.t, s.r, s.b, true, 1);
    WText& text = zeb::Writer();
    const int32_t style = text.flags;
    text.flags = WTEXT_LEFT;
    text.colour = ViewPalette[VP_TEXT];
    text.DrawTextA(s.l + 3, s.t + (s.b - s.t - box->CaptionH) / 2, box->Text);
    text.flags = style;
}

void CUIStyle::DrawDialog()
{
    auto* dialog = static_cast<WDialog*>(viewer);
    const ScreenRect s = RectOf(dialog);
    dialog->DrawFrame(s.l, s.t, s.r, s.b, false, 2);
    if (dialog->NoCaption)
        return;
    dialog->DrawFrame(s.l + 2, s.t + 2, s.r - 2, s.t + dialog->CaptionH + 4, true, 2);
    WText& text = zeb::Writer();
    text.flags = WTEXT_CENTRE;
    text.colour = (dialog->State & VS_ACTIVE) ? ViewPalette[VP_HIGHLIGHT_TEXT] : ViewPalette[VP_TEXT];
    text.DrawTextA(s.l + (s.r - s.l) / 2, s.t + 3, dialog->Caption);
}
