// The D3DX interface identifiers, defined once here (as d3d9/guids.cpp does for
// Direct3D's).
#include <d3d9.h>

#undef DEFINE_GUID
#define DEFINE_GUID(name, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8) \
    extern "C" const GUID name = {l, w1, w2, {b1, b2, b3, b4, b5, b6, b7, b8}}
#include <d3dx9mesh.h>
