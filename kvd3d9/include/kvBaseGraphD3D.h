// kvBaseGraphD3D: the GUI's drawing interface on Direct3D 9. Each operation forwards to
// the installed kvD3D; textures are IDirect3DTexture9 objects.
#ifndef KVD3D9_KVBASEGRAPHD3D_H
#define KVD3D9_KVBASEGRAPHD3D_H

#include <kvBaseGraph.h>

class kvBaseGraphD3D : public kvBaseGraph {
public:
    // Clears the target and the depth buffer.
    void ClearScreen(DWORD colour) override;
    // A texture is stretched over the rectangle from (0.001, 0.001), filtered.
    void Bar(int x1, int y1, int x2, int y2, DWORD colour, void* texture) override;
    void BltTexture(int x, int y, void* texture) override;
    void DrawUITexture(int x1, int y1, int x2, int y2, bool sunken, void* texture) override;
    void UpdateScreen() override;
    void BeginScene() override;
    void EndScene() override;
};

#endif
