// Internal: where each element of a flexible vertex format lies in a vertex, in
// Direct3D's fixed order: position, normal, point size, diffuse, specular, texture sets.
#ifndef VEXA_PLATFORM_D3D9_VERTEX_LAYOUT_H
#define VEXA_PLATFORM_D3D9_VERTEX_LAYOUT_H

#include <d3d9.h>

namespace vexa::platform::d3d9 {

constexpr int kMaxTexCoordSets = 8;

struct VertexLayout {
    bool valid = false;       // a position the layer draws (XYZ or XYZRHW) and nothing else
    bool rhw = false;         // pre-transformed screen position (x, y, z, 1/w)
    int normal = -1;          // byte offsets, -1 when absent
    int diffuse = -1;
    int specular = -1;
    int texCount = 0;
    int texOffset[kMaxTexCoordSets] = {};
    int texSize[kMaxTexCoordSets] = {};  // floats per set, 1..4
    UINT stride = 0;
};

VertexLayout LayoutOfFvf(DWORD fvf);

}  // namespace vexa::platform::d3d9

#endif
