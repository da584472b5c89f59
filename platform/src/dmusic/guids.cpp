// The DirectMusic class and interface identifiers, defined once here.
//
// objbase.h comes in first with the declaring DEFINE_GUID: IID_IUnknown belongs to the COM
// source. Only what dmusici.h names is defined here.
#include <objbase.h>

#undef DEFINE_GUID
#define DEFINE_GUID(name, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8) \
    extern "C" const GUID name = {l, w1, w2, {b1, b2, b3, b4, b5, b6, b7, b8}}
#include <dmusici.h>
