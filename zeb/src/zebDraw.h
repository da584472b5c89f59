// The drawing interface and text writer as the views use them. A program may run its GUI
// before a graphics backend or a font exists; views then draw into, and measure with,
// the base objects, which do nothing.
#ifndef ZEB_SRC_ZEBDRAW_H
#define ZEB_SRC_ZEBDRAW_H

#include "WText.h"
#include "kvBaseGraph.h"

namespace zeb {

kvBaseGraph& Graph();
WText& Writer();

}  // namespace zeb

#endif
