// The table of live views behind WView::Handle. Event words are 32 bits, so a view named
// in an event travels as a handle; a handle of a destroyed view resolves to nothing.
#ifndef ZEB_SRC_VIEWHANDLES_H
#define ZEB_SRC_VIEWHANDLES_H

#include <windows.h>

class WView;

namespace zeb {

// A fresh nonzero handle for view. Handles are not reused while the 32-bit counter lasts,
// and never while their view is alive.
DWORD RegisterView(WView* view);
void UnregisterView(DWORD handle);
// True while view has not been destroyed.
bool IsLiveView(const WView* view);
// Views alive now, for the tests.
size_t LiveViewCount();

}  // namespace zeb

#endif
