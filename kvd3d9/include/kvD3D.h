// kvD3D: the Direct3D 9 graphics backend. One instance is made by the program before
// InitKV and installs itself as kvgi. It probes a device type, back-buffer format and
// depth format, creates the device (exported as pd3dDevice for the 3D code), and offers
// the 2D operations the GUI and the fonts draw with: clear, filled and textured
// rectangles, images at a position, a software pointer, image loading, screenshots and
// the view-frustum planes.
#ifndef KVD3D9_KVD3D_H
#define KVD3D9_KVD3D_H

#include <d3d9.h>
#include <d3dx9.h>

#include <kvResource.h>

class kvBaseGraphD3D;

// A textured rectangle: pixels relative to the current view (right and bottom exclusive),
// then the texture coordinates of its top-left and bottom-right corners.
struct KVD3DRECT {
    int32_t left, top, right, bottom;
    float u0, v0, u1, v1;
};

// {D60A8344-1111-402F-828B-875CB1F285EC}
extern const GUID KVD3D_CLASS_ID;

class kvD3D : public kvGraphInterface {
public:
    kvBaseGraphD3D* pGUIGraph;  // created and owned here, also installed in pbg
    IDirect3D9* pD3D;
    IDirect3DDevice9* pDevice;
    IDirect3DVertexBuffer9* pBltBuffer;    // four XYZRHW | TEX1 vertices
    IDirect3DVertexBuffer9* pColorBuffer;  // four XYZRHW | DIFFUSE vertices (and a spare)
    D3DPRESENT_PARAMETERS Params;          // kept for resets
    D3DCAPS9 Caps;
    DWORD MaxSimultaneousTextures;
    DWORD MaxTextureBlendStages;
    DWORD FormatSet;    // 0: 16-bit formats, 1: 32-bit formats
    DWORD StencilBits;  // 0..8
    DWORD PixelShaderVersion;
    DWORD VertexShaderVersion;
    bool bClearAtStart;
    bool bPerfHUD;    // look for the performance-tool adapter
    bool bRefDevice;  // the reference rasteriser with software vertex processing
    int32_t ViewX, ViewY;  // screen position of the current view, added to 2D drawing
    IDirect3DTexture9* pMousePointer;  // not owned
    bool bInScene;
    bool bMultithreaded;
    bool bLost;  // the last Present reported a lost device

    kvD3D(DWORD formatSet, DWORD stencilBits, bool multithreaded);
    ~kvD3D() override;

    bool TestLost() override;
    void Init() override;
    void Resize(DWORD width, DWORD height) override;
    void ResetForSizing(bool sizing) override;
    void RestoreGraph() override;
    void UpdateScreen() override;
    // The viewport becomes the view's client area (a WView*), or the screen for null.
    void SetView(void* view) override;
    void Release() override;

    void BeginScene();
    // Draws the pointer, when there is one and it is visible, after everything else.
    void EndScene();
    void ClearScreen(DWORD color, DWORD flags);
    void Bar(int x1, int y1, int x2, int y2, DWORD color);
    void Blt(KVD3DRECT* rect, IDirect3DTexture9* texture, bool filter);
    void BltImage(int x, int y, IDirect3DTexture9* texture);
    void SetMousePointer(IDirect3DTexture9* pointer) { pMousePointer = pointer; }
    // Loads kvPath + name as a managed A8R8G8B8 texture of the file's size; an alpha map
    // turns dark pixels into opaque white and light ones into transparent white.
    IDirect3DTexture9* LoadImage(const char* name, bool alphaMap, DWORD colorKey);
    IDirect3DCubeTexture9* LoadCubeTexture(const char* name);
    // Full screen only; failures are traced, not thrown.
    void SaveScreenShot(const char* name);
    static DWORD GetPixelSize(D3DFORMAT format);
    // The installed backend when it is a kvD3D, else null.
    static kvD3D* Installed();
    // Writes the six planes of the view-projection matrix into frustum.
    static void GetFrustum(const D3DXMATRIX* viewProjection);

    kvD3D(const kvD3D&) = delete;
    kvD3D& operator=(const kvD3D&) = delete;

private:
    D3DDEVTYPE deviceType;
    D3DFORMAT backBufferFormat;
    const char* vertexProcessing;

    void ProbeDeviceType();
    void ChooseDepthFormat();
    void CreateDevice();
    void CreateBuffers();
    void TraceSummary(const D3DDISPLAYMODE& desktop);
    void DrawStrip(IDirect3DVertexBuffer9* buffer, UINT stride, DWORD fvf,
                   IDirect3DTexture9* texture);
};

// The device, for the game's 3D drawing; null until Init.
extern IDirect3DDevice9* pd3dDevice;
// Planes a, b, c, d in the order left, right, top, bottom, near, far.
extern float frustum[6][4];

#endif
