// d3d9.h: Direct3D 9, the subset the engine draws with, over OpenGL 3.3 core.
//
// One adapter (the OpenGL driver behind SDL), one device type (HAL), one device per
// window. The device's back buffer is an off-screen framebuffer in Direct3D's top-left
// orientation that Present scales into the window. Fixed-function state (transforms,
// texture stages, alpha test, blending) is emulated with generated shaders.
//
// Not here: programmable shaders, volume textures, cube textures made by
// the device, lights, fog, multiple swap chains. Methods outside the subset are left out
// of the interfaces, so a caller that needs one fails to compile rather than to run.
#ifndef VEXA_PLATFORM_D3D9_H
#define VEXA_PLATFORM_D3D9_H

#include <objbase.h>
#include <windows.h>

#include <d3d9caps.h>
#include <d3d9types.h>

#define DIRECT3D_VERSION 0x0900
#define D3D_SDK_VERSION 32
#define D3DADAPTER_DEFAULT 0
#define D3DENUM_WHQL_LEVEL 0x00000002L
#define D3DCURRENT_DISPLAY_MODE 0x00EFFFFFL

// ---- results -------------------------------------------------------------------------
#define _FACD3D 0x876
#define MAKE_D3DHRESULT(code) MAKE_HRESULT(1, _FACD3D, code)
#define MAKE_D3DSTATUS(code) MAKE_HRESULT(0, _FACD3D, code)
#define D3D_OK S_OK
#define D3DERR_WRONGTEXTUREFORMAT MAKE_D3DHRESULT(2072)
#define D3DERR_UNSUPPORTEDCOLOROPERATION MAKE_D3DHRESULT(2073)
#define D3DERR_UNSUPPORTEDCOLORARG MAKE_D3DHRESULT(2074)
#define D3DERR_UNSUPPORTEDALPHAOPERATION MAKE_D3DHRESULT(2075)
#define D3DERR_UNSUPPORTEDALPHAARG MAKE_D3DHRESULT(2076)
#define D3DERR_TOOMANYOPERATIONS MAKE_D3DHRESULT(2077)
#define D3DERR_UNSUPPORTEDFACTORVALUE MAKE_D3DHRESULT(2079)
#define D3DERR_UNSUPPORTEDTEXTUREFILTER MAKE_D3DHRESULT(2082)
#define D3DERR_DRIVERINTERNALERROR MAKE_D3DHRESULT(2087)
#define D3DERR_NOTFOUND MAKE_D3DHRESULT(2150)
#define D3DERR_MOREDATA MAKE_D3DHRESULT(2151)
#define D3DERR_DEVICELOST MAKE_D3DHRESULT(2152)
#define D3DERR_DEVICENOTRESET MAKE_D3DHRESULT(2153)
#define D3DERR_NOTAVAILABLE MAKE_D3DHRESULT(2154)
#define D3DERR_OUTOFVIDEOMEMORY MAKE_D3DHRESULT(380)
#define D3DERR_INVALIDDEVICE MAKE_D3DHRESULT(2155)
#define D3DERR_INVALIDCALL MAKE_D3DHRESULT(2156)
#define D3DERR_DRIVERINVALIDCALL MAKE_D3DHRESULT(2157)
#define D3DERR_WASSTILLDRAWING MAKE_D3DHRESULT(540)

// ---- interfaces ----------------------------------------------------------------------
struct IDirect3D9;
struct IDirect3DDevice9;
struct IDirect3DStateBlock9;
struct IDirect3DResource9;
struct IDirect3DBaseTexture9;
struct IDirect3DTexture9;
struct IDirect3DCubeTexture9;
struct IDirect3DSurface9;
struct IDirect3DVertexBuffer9;
struct IDirect3DVertexShader9;
struct IDirect3DIndexBuffer9;
struct IDirect3DVertexDeclaration9;
typedef IDirect3D9 *LPDIRECT3D9, *PDIRECT3D9;
typedef IDirect3DDevice9 *LPDIRECT3DDEVICE9, *PDIRECT3DDEVICE9;
typedef IDirect3DStateBlock9 *LPDIRECT3DSTATEBLOCK9, *PDIRECT3DSTATEBLOCK9;
typedef IDirect3DResource9 *LPDIRECT3DRESOURCE9, *PDIRECT3DRESOURCE9;
typedef IDirect3DBaseTexture9 *LPDIRECT3DBASETEXTURE9, *PDIRECT3DBASETEXTURE9;
typedef IDirect3DTexture9 *LPDIRECT3DTEXTURE9, *PDIRECT3DTEXTURE9;
typedef IDirect3DCubeTexture9 *LPDIRECT3DCUBETEXTURE9, *PDIRECT3DCUBETEXTURE9;
typedef IDirect3DSurface9 *LPDIRECT3DSURFACE9, *PDIRECT3DSURFACE9;
typedef IDirect3DVertexBuffer9 *LPDIRECT3DVERTEXBUFFER9, *PDIRECT3DVERTEXBUFFER9;
typedef IDirect3DVertexShader9 *LPDIRECT3DVERTEXSHADER9, *PDIRECT3DVERTEXSHADER9;
typedef IDirect3DIndexBuffer9 *LPDIRECT3DINDEXBUFFER9, *PDIRECT3DINDEXBUFFER9;
typedef IDirect3DVertexDeclaration9 *LPDIRECT3DVERTEXDECLARATION9, *PDIRECT3DVERTEXDECLARATION9;

DEFINE_GUID(IID_IDirect3D9, 0x81BDCBCA, 0x64D4, 0x426D, 0xAE, 0x8D, 0xAD, 0x01, 0x47, 0xF4,
            0x27, 0x5C);
DEFINE_GUID(IID_IDirect3DDevice9, 0xD0223B96, 0xBF7A, 0x43FD, 0x92, 0xBD, 0xA4, 0x3B, 0x0D,
            0x82, 0xB9, 0xEB);
DEFINE_GUID(IID_IDirect3DResource9, 0x05EEC05D, 0x8F7D, 0x4362, 0xB9, 0x99, 0xD1, 0xBA, 0xF3,
            0x57, 0xC7, 0x04);
DEFINE_GUID(IID_IDirect3DBaseTexture9, 0x580CA87E, 0x1D3C, 0x4D54, 0x99, 0x1D, 0xB7, 0xD3,
            0xE3, 0xC2, 0x98, 0xCE);
DEFINE_GUID(IID_IDirect3DTexture9, 0x85C31227, 0x3DE5, 0x4F00, 0x9B, 0x3A, 0xF1, 0x1A, 0xC3,
            0x8C, 0x18, 0xB5);
DEFINE_GUID(IID_IDirect3DCubeTexture9, 0xFFF32F81, 0xD953, 0x473A, 0x92, 0x23, 0x93, 0xD6,
            0x52, 0xAB, 0xA9, 0x3F);
DEFINE_GUID(IID_IDirect3DSurface9, 0x0CFBAF3A, 0x9FF6, 0x429A, 0x99, 0xB3, 0xA2, 0x79, 0x6A,
            0xF8, 0xB8, 0x9B);
DEFINE_GUID(IID_IDirect3DVertexBuffer9, 0xB64BB1B5, 0xFD70, 0x4DF6, 0xBF, 0x91, 0x19, 0xD0,
            0xA1, 0x24, 0x55, 0xE3);
DEFINE_GUID(IID_IDirect3DIndexBuffer9, 0x7C9DD65E, 0xD3F7, 0x4529, 0xAC, 0xEE, 0x78, 0x58, 0x30,
            0xAC, 0xDE, 0x35);
DEFINE_GUID(IID_IDirect3DVertexDeclaration9, 0xDD13C59C, 0x36FA, 0x4098, 0xA8, 0xFB, 0xC7, 0xED,
            0x39, 0xDC, 0x85, 0x46);
DEFINE_GUID(IID_IDirect3DStateBlock9, 0xB07C4FE5, 0x310D, 0x4BA8, 0xA2, 0x3C, 0x4F, 0x0F,
            0x20, 0x6F, 0x21, 0x8B);

struct IDirect3D9 : public IUnknown {
    STDMETHOD_(UINT, GetAdapterCount)() PURE;
    STDMETHOD(GetAdapterIdentifier)(UINT Adapter, DWORD Flags,
                                    D3DADAPTER_IDENTIFIER9* pIdentifier) PURE;
    STDMETHOD_(UINT, GetAdapterModeCount)(UINT Adapter, D3DFORMAT Format) PURE;
    STDMETHOD(EnumAdapterModes)(UINT Adapter, D3DFORMAT Format, UINT Mode,
                                D3DDISPLAYMODE* pMode) PURE;
    STDMETHOD(GetAdapterDisplayMode)(UINT Adapter, D3DDISPLAYMODE* pMode) PURE;
    STDMETHOD(CheckDeviceType)(UINT Adapter, D3DDEVTYPE DevType, D3DFORMAT AdapterFormat,
                               D3DFORMAT BackBufferFormat, BOOL bWindowed) PURE;
    STDMETHOD(CheckDeviceFormat)(UINT Adapter, D3DDEVTYPE DeviceType, D3DFORMAT AdapterFormat,
                                 DWORD Usage, D3DRESOURCETYPE RType,
                                 D3DFORMAT CheckFormat) PURE;
    STDMETHOD(CheckDepthStencilMatch)(UINT Adapter, D3DDEVTYPE DeviceType,
                                      D3DFORMAT AdapterFormat, D3DFORMAT RenderTargetFormat,
                                      D3DFORMAT DepthStencilFormat) PURE;
    STDMETHOD(GetDeviceCaps)(UINT Adapter, D3DDEVTYPE DeviceType, D3DCAPS9* pCaps) PURE;
    STDMETHOD(CreateDevice)(UINT Adapter, D3DDEVTYPE DeviceType, HWND hFocusWindow,
                            DWORD BehaviorFlags, D3DPRESENT_PARAMETERS* pPresentationParameters,
                            IDirect3DDevice9** ppReturnedDeviceInterface) PURE;
};

struct IDirect3DDevice9 : public IUnknown {
    STDMETHOD(TestCooperativeLevel)() PURE;
    STDMETHOD_(UINT, GetAvailableTextureMem)() PURE;
    STDMETHOD(EvictManagedResources)() PURE;
    STDMETHOD(GetDirect3D)(IDirect3D9** ppD3D9) PURE;
    STDMETHOD(GetDeviceCaps)(D3DCAPS9* pCaps) PURE;
    STDMETHOD(GetDisplayMode)(UINT iSwapChain, D3DDISPLAYMODE* pMode) PURE;
    STDMETHOD(Reset)(D3DPRESENT_PARAMETERS* pPresentationParameters) PURE;
    STDMETHOD(Present)(const RECT* pSourceRect, const RECT* pDestRect,
                       HWND hDestWindowOverride, const void* pDirtyRegion) PURE;
    STDMETHOD(GetBackBuffer)(UINT iSwapChain, UINT iBackBuffer, D3DBACKBUFFER_TYPE Type,
                             IDirect3DSurface9** ppBackBuffer) PURE;
    STDMETHOD(CreateTexture)(UINT Width, UINT Height, UINT Levels, DWORD Usage,
                             D3DFORMAT Format, D3DPOOL Pool, IDirect3DTexture9** ppTexture,
                             HANDLE* pSharedHandle) PURE;
    STDMETHOD(CreateVertexBuffer)(UINT Length, DWORD Usage, DWORD FVF, D3DPOOL Pool,
                                  IDirect3DVertexBuffer9** ppVertexBuffer,
                                  HANDLE* pSharedHandle) PURE;
    STDMETHOD(UpdateSurface)(IDirect3DSurface9* pSourceSurface, const RECT* pSourceRect,
                             IDirect3DSurface9* pDestinationSurface,
                             const POINT* pDestPoint) PURE;
    STDMETHOD(UpdateTexture)(IDirect3DBaseTexture9* pSourceTexture,
                             IDirect3DBaseTexture9* pDestinationTexture) PURE;
    STDMETHOD(GetRenderTargetData)(IDirect3DSurface9* pRenderTarget,
                                   IDirect3DSurface9* pDestSurface) PURE;
    STDMETHOD(CreateOffscreenPlainSurface)(UINT Width, UINT Height, D3DFORMAT Format,
                                           D3DPOOL Pool, IDirect3DSurface9** ppSurface,
                                           HANDLE* pSharedHandle) PURE;
    STDMETHOD(BeginScene)() PURE;
    STDMETHOD(EndScene)() PURE;
    STDMETHOD(Clear)(DWORD Count, const D3DRECT* pRects, DWORD Flags, D3DCOLOR Color, float Z,
                     DWORD Stencil) PURE;
    STDMETHOD(SetTransform)(D3DTRANSFORMSTATETYPE State, const D3DMATRIX* pMatrix) PURE;
    STDMETHOD(GetTransform)(D3DTRANSFORMSTATETYPE State, D3DMATRIX* pMatrix) PURE;
    STDMETHOD(MultiplyTransform)(D3DTRANSFORMSTATETYPE State, const D3DMATRIX* pMatrix) PURE;
    STDMETHOD(SetViewport)(const D3DVIEWPORT9* pViewport) PURE;
    STDMETHOD(GetViewport)(D3DVIEWPORT9* pViewport) PURE;
    STDMETHOD(SetMaterial)(const D3DMATERIAL9* pMaterial) PURE;
    STDMETHOD(GetMaterial)(D3DMATERIAL9* pMaterial) PURE;
    STDMETHOD(SetRenderState)(D3DRENDERSTATETYPE State, DWORD Value) PURE;
    STDMETHOD(GetRenderState)(D3DRENDERSTATETYPE State, DWORD* pValue) PURE;
    STDMETHOD(CreateStateBlock)(D3DSTATEBLOCKTYPE Type, IDirect3DStateBlock9** ppSB) PURE;
    STDMETHOD(BeginStateBlock)() PURE;
    STDMETHOD(EndStateBlock)(IDirect3DStateBlock9** ppSB) PURE;
    STDMETHOD(GetTexture)(DWORD Stage, IDirect3DBaseTexture9** ppTexture) PURE;
    STDMETHOD(SetTexture)(DWORD Stage, IDirect3DBaseTexture9* pTexture) PURE;
    STDMETHOD(GetTextureStageState)(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type,
                                    DWORD* pValue) PURE;
    STDMETHOD(SetTextureStageState)(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type,
                                    DWORD Value) PURE;
    STDMETHOD(GetSamplerState)(DWORD Sampler, D3DSAMPLERSTATETYPE Type, DWORD* pValue) PURE;
    STDMETHOD(SetSamplerState)(DWORD Sampler, D3DSAMPLERSTATETYPE Type, DWORD Value) PURE;
    STDMETHOD(DrawPrimitive)(D3DPRIMITIVETYPE PrimitiveType, UINT StartVertex,
                             UINT PrimitiveCount) PURE;
    STDMETHOD(DrawPrimitiveUP)(D3DPRIMITIVETYPE PrimitiveType, UINT PrimitiveCount,
                               const void* pVertexStreamZeroData,
                               UINT VertexStreamZeroStride) PURE;
    STDMETHOD(SetFVF)(DWORD FVF) PURE;
    STDMETHOD(GetFVF)(DWORD* pFVF) PURE;
    STDMETHOD(SetVertexShader)(IDirect3DVertexShader9* pShader) PURE;
    STDMETHOD(GetVertexShader)(IDirect3DVertexShader9** ppShader) PURE;
    STDMETHOD(SetStreamSource)(UINT StreamNumber, IDirect3DVertexBuffer9* pStreamData,
                               UINT OffsetInBytes, UINT Stride) PURE;
    STDMETHOD(GetStreamSource)(UINT StreamNumber, IDirect3DVertexBuffer9** ppStreamData,
                               UINT* pOffsetInBytes, UINT* pStride) PURE;
    // Indexed drawing and vertex declarations (a declaration draws through the flexible
    // vertex format it spells).
    STDMETHOD(CreateIndexBuffer)(UINT Length, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                                 IDirect3DIndexBuffer9** ppIndexBuffer,
                                 HANDLE* pSharedHandle) PURE;
    STDMETHOD(SetIndices)(IDirect3DIndexBuffer9* pIndexData) PURE;
    STDMETHOD(GetIndices)(IDirect3DIndexBuffer9** ppIndexData) PURE;
    STDMETHOD(DrawIndexedPrimitive)(D3DPRIMITIVETYPE PrimitiveType, INT BaseVertexIndex,
                                    UINT MinVertexIndex, UINT NumVertices, UINT startIndex,
                                    UINT primCount) PURE;
    STDMETHOD(CreateVertexDeclaration)(const D3DVERTEXELEMENT9* pVertexElements,
                                       IDirect3DVertexDeclaration9** ppDecl) PURE;
    STDMETHOD(SetVertexDeclaration)(IDirect3DVertexDeclaration9* pDecl) PURE;
    STDMETHOD(GetVertexDeclaration)(IDirect3DVertexDeclaration9** ppDecl) PURE;
};

struct IDirect3DStateBlock9 : public IUnknown {
    STDMETHOD(GetDevice)(IDirect3DDevice9** ppDevice) PURE;
    STDMETHOD(Capture)() PURE;
    STDMETHOD(Apply)() PURE;
};

struct IDirect3DResource9 : public IUnknown {
    STDMETHOD(GetDevice)(IDirect3DDevice9** ppDevice) PURE;
    STDMETHOD_(DWORD, SetPriority)(DWORD PriorityNew) PURE;
    STDMETHOD_(DWORD, GetPriority)() PURE;
    STDMETHOD_(void, PreLoad)() PURE;
    STDMETHOD_(D3DRESOURCETYPE, GetType)() PURE;
};

struct IDirect3DBaseTexture9 : public IDirect3DResource9 {
    STDMETHOD_(DWORD, GetLevelCount)() PURE;
};

struct IDirect3DTexture9 : public IDirect3DBaseTexture9 {
    STDMETHOD(GetLevelDesc)(UINT Level, D3DSURFACE_DESC* pDesc) PURE;
    STDMETHOD(GetSurfaceLevel)(UINT Level, IDirect3DSurface9** ppSurfaceLevel) PURE;
    STDMETHOD(LockRect)(UINT Level, D3DLOCKED_RECT* pLockedRect, const RECT* pRect,
                        DWORD Flags) PURE;
    STDMETHOD(UnlockRect)(UINT Level) PURE;
    STDMETHOD(AddDirtyRect)(const RECT* pDirtyRect) PURE;
};

// Declared for D3DXCreateCubeTextureFromFileA's signature; no file format the platform
// reads holds a cube map, so none is ever made.
struct IDirect3DCubeTexture9 : public IDirect3DBaseTexture9 {
};

struct IDirect3DSurface9 : public IDirect3DResource9 {
    STDMETHOD(GetDesc)(D3DSURFACE_DESC* pDesc) PURE;
    STDMETHOD(LockRect)(D3DLOCKED_RECT* pLockedRect, const RECT* pRect, DWORD Flags) PURE;
    STDMETHOD(UnlockRect)() PURE;
};

struct IDirect3DVertexBuffer9 : public IDirect3DResource9 {
    STDMETHOD(Lock)(UINT OffsetToLock, UINT SizeToLock, void** ppbData, DWORD Flags) PURE;
    STDMETHOD(Unlock)() PURE;
    STDMETHOD(GetDesc)(D3DVERTEXBUFFER_DESC* pDesc) PURE;
};

struct IDirect3DIndexBuffer9 : public IDirect3DResource9 {
    STDMETHOD(Lock)(UINT OffsetToLock, UINT SizeToLock, void** ppbData, DWORD Flags) PURE;
    STDMETHOD(Unlock)() PURE;
    STDMETHOD(GetDesc)(D3DINDEXBUFFER_DESC* pDesc) PURE;
};

struct IDirect3DVertexDeclaration9 : public IUnknown {
    STDMETHOD(GetDevice)(IDirect3DDevice9** ppDevice) PURE;
    STDMETHOD(GetDeclaration)(D3DVERTEXELEMENT9* pElement, UINT* pNumElements) PURE;
};

// Only the null shader (the fixed-function pipeline) is ever set.
struct IDirect3DVertexShader9 : public IUnknown {
};

WINAPI_EXPORT IDirect3D9* WINAPI Direct3DCreate9(UINT SDKVersion);

#endif
