// Flexible vertex formats to byte layouts. Positions with blend weights (XYZB1..B5, XYZW)
// are outside the layer's subset and make the layout invalid.
#include "vertex_layout.h"

namespace vexa::platform::d3d9 {

VertexLayout LayoutOfFvf(DWORD fvf)
{
    VertexLayout layout;
    const DWORD position = fvf & D3DFVF_POSITION_MASK;
    UINT offset = 0;
    if (position == D3DFVF_XYZ) {
        offset = 12;
    } else if (position == D3DFVF_XYZRHW) {
        layout.rhw = true;
        offset = 16;
    } else {
        return layout;
    }
    if (fvf & D3DFVF_NORMAL) {
        layout.normal = int(offset);
        offset += 12;
    }
    if (fvf & D3DFVF_PSIZE)
        offset += 4;
    if (fvf & D3DFVF_DIFFUSE) {
        layout.diffuse = int(offset);
        offset += 4;
    }
    if (fvf & D3DFVF_SPECULAR) {
        layout.specular = int(offset);
        offset += 4;
    }
    const int count = int((fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT);
    if (count > kMaxTexCoordSets)
        return layout;
    static const int kFloatsOfCode[4] = {2, 3, 4, 1};  // D3DFVF_TEXTUREFORMAT2, 3, 4, 1
    layout.texCount = count;
    for (int i = 0; i < count; ++i) {
        layout.texOffset[i] = int(offset);
        layout.texSize[i] = kFloatsOfCode[(fvf >> (16 + 2 * i)) & 3];
        offset += UINT(layout.texSize[i]) * 4;
    }
    layout.stride = offset;
    layout.valid = true;
    return layout;
}

}  // namespace vexa::platform::d3d9
