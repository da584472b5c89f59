// The table of stored view classes: which constructor builds the view of each type code
// a resource record may carry.
#ifndef ZEB_SRC_VIEWTYPES_H
#define ZEB_SRC_VIEWTYPES_H

#include <windows.h>

class WView;

namespace zeb {

// A new view of the stored class, built with the table's default arguments; null for a
// type that is never stored (the desktop, parts built by their owners) or unknown.
WView* CreateStoredView(DWORD type);

}  // namespace zeb

#endif
