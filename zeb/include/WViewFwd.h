// The view class by name only, for interfaces that hand views around without touching
// them.
#ifndef ZEB_WVIEWFWD_H
#define ZEB_WVIEWFWD_H

class WView;

#endif
