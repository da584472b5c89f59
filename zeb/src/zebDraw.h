// The drawing interface and text writer as the views use them. A program may run its GUI
// before a graphics backend or a font exists; views then draw into, and measure with,
// the base objects, which do nothing.
#ifndef ZEB_SRC_ZEBDRAW_H
#define ZEB_SRC_ZEBDRAW_H

#include "WText.h"
#include "WView.h"
#include "kvBaseGraph.h"

namespace zeb {

kvBaseGraph& Graph();
WText& Writer();

// A view's rectangle on the screen, right and bottom exclusive.
struct ScreenRect {
    int l, t, r, b;
};

inline ScreenRect RectOf(const WView* v)
{
    const int x = v->GetAbsX(), y = v->GetAbsY();
    return {x + v->Left, y + v->Top, x + v->Right, y + v->Bottom};
}

}  // namespace zeb

#endif
