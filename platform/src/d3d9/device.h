// Internal: the Direct3D 9 device. One OpenGL 3.3 core context on the SDL window behind
// the device window; the back buffer is a framebuffer object of the presentation size.
//
// The device's files split by concern: device.cpp (creation, counting, presentation,
// reset, loss, caps), device_states.cpp (Set/Get of states, transforms, bindings, and
// state-block recording), device_draw.cpp (Clear, draws, and the flush of state into
// OpenGL), device_resources.cpp (creation and copies of textures, buffers, surfaces).
#ifndef VEXA_PLATFORM_D3D9_DEVICE_H
#define VEXA_PLATFORM_D3D9_DEVICE_H

#include "device_state.h"
#include "ffp_shader.h"
#include "frame_pacer.h"
#include "gl_state.h"

#include <d3d9.h>

#include <epoxy/gl.h>

#include <memory>
#include <vector>

struct SDL_Window;

namespace vexa::platform::d3d9 {

class StateBlock;
class Surface;

class Device final : public IDirect3DDevice9 {
public:
    // Fills *out with a new device, or answers why not (parameters unchanged on failure).
    static HRESULT Create(IDirect3D9* d3d, HWND window, DWORD behaviour,
                          D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** out);

    // ---- IUnknown ------------------------------------------------------------------
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // ---- device.cpp ----------------------------------------------------------------
    HRESULT STDMETHODCALLTYPE TestCooperativeLevel() override;
    UINT STDMETHODCALLTYPE GetAvailableTextureMem() override;
    HRESULT STDMETHODCALLTYPE EvictManagedResources() override;
    HRESULT STDMETHODCALLTYPE GetDirect3D(IDirect3D9** ppD3D9) override;
    HRESULT STDMETHODCALLTYPE GetDeviceCaps(D3DCAPS9* pCaps) override;
    HRESULT STDMETHODCALLTYPE GetDisplayMode(UINT iSwapChain, D3DDISPLAYMODE* pMode) override;
    HRESULT STDMETHODCALLTYPE Reset(D3DPRESENT_PARAMETERS* parameters) override;
    HRESULT STDMETHODCALLTYPE Present(const RECT* pSourceRect, const RECT* pDestRect,
                                      HWND hDestWindowOverride,
                                      const void* pDirtyRegion) override;
    HRESULT STDMETHODCALLTYPE GetBackBuffer(UINT iSwapChain, UINT iBackBuffer,
                                            D3DBACKBUFFER_TYPE Type,
                                            IDirect3DSurface9** ppBackBuffer) override;
    HRESULT STDMETHODCALLTYPE BeginScene() override;
    HRESULT STDMETHODCALLTYPE EndScene() override;

    // ---- device_resources.cpp ------------------------------------------------------
    HRESULT STDMETHODCALLTYPE CreateTexture(UINT Width, UINT Height, UINT Levels, DWORD Usage,
                                            D3DFORMAT Format, D3DPOOL Pool,
                                            IDirect3DTexture9** ppTexture,
                                            HANDLE* pSharedHandle) override;
    HRESULT STDMETHODCALLTYPE CreateVertexBuffer(UINT Length, DWORD Usage, DWORD FVF,
                                                 D3DPOOL Pool,
                                                 IDirect3DVertexBuffer9** ppVertexBuffer,
                                                 HANDLE* pSharedHandle) override;
    HRESULT STDMETHODCALLTYPE UpdateSurface(IDirect3DSurface9* pSourceSurface,
                                            const RECT* pSourceRect,
                                            IDirect3DSurface9* pDestinationSurface,
                                            const POINT* pDestPoint) override;
    HRESULT STDMETHODCALLTYPE UpdateTexture(IDirect3DBaseTexture9* pSourceTexture,
                                            IDirect3DBaseTexture9* pDestinationTexture) override;
    HRESULT STDMETHODCALLTYPE GetRenderTargetData(IDirect3DSurface9* pRenderTarget,
                                                  IDirect3DSurface9* pDestSurface) override;
    HRESULT STDMETHODCALLTYPE CreateOffscreenPlainSurface(UINT Width, UINT Height,
                                                          D3DFORMAT Format, D3DPOOL Pool,
                                                          IDirect3DSurface9** ppSurface,
                                                          HANDLE* pSharedHandle) override;

    // ---- device_states.cpp ---------------------------------------------------------
    HRESULT STDMETHODCALLTYPE SetTransform(D3DTRANSFORMSTATETYPE State,
                                           const D3DMATRIX* pMatrix) override;
    HRESULT STDMETHODCALLTYPE GetTransform(D3DTRANSFORMSTATETYPE State,
                                           D3DMATRIX* pMatrix) override;
    HRESULT STDMETHODCALLTYPE MultiplyTransform(D3DTRANSFORMSTATETYPE State,
                                                const D3DMATRIX* pMatrix) override;
    HRESULT STDMETHODCALLTYPE SetViewport(const D3DVIEWPORT9* pViewport) override;
    HRESULT STDMETHODCALLTYPE GetViewport(D3DVIEWPORT9* pViewport) override;
    HRESULT STDMETHODCALLTYPE SetMaterial(const D3DMATERIAL9* pMaterial) override;
    HRESULT STDMETHODCALLTYPE GetMaterial(D3DMATERIAL9* pMaterial) override;
    HRESULT STDMETHODCALLTYPE SetRenderState(D3DRENDERSTATETYPE State, DWORD Value) override;
    HRESULT STDMETHODCALLTYPE GetRenderState(D3DRENDERSTATETYPE State, DWORD* pValue) override;
    HRESULT STDMETHODCALLTYPE CreateStateBlock(D3DSTATEBLOCKTYPE Type,
                                               IDirect3DStateBlock9** ppSB) override;
    HRESULT STDMETHODCALLTYPE BeginStateBlock() override;
    HRESULT STDMETHODCALLTYPE EndStateBlock(IDirect3DStateBlock9** ppSB) override;
    HRESULT STDMETHODCALLTYPE GetTexture(DWORD Stage, IDirect3DBaseTexture9** ppTexture) override;
    HRESULT STDMETHODCALLTYPE SetTexture(DWORD Stage, IDirect3DBaseTexture9* pTexture) override;
    HRESULT STDMETHODCALLTYPE GetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type,
                                                   DWORD* pValue) override;
    HRESULT STDMETHODCALLTYPE SetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type,
                                                   DWORD Value) override;
    HRESULT STDMETHODCALLTYPE GetSamplerState(DWORD Sampler, D3DSAMPLERSTATETYPE Type,
                                              DWORD* pValue) override;
    HRESULT STDMETHODCALLTYPE SetSamplerState(DWORD Sampler, D3DSAMPLERSTATETYPE Type,
                                              DWORD Value) override;
    HRESULT STDMETHODCALLTYPE SetFVF(DWORD FVF) override;
    HRESULT STDMETHODCALLTYPE GetFVF(DWORD* pFVF) override;
    HRESULT STDMETHODCALLTYPE SetVertexShader(IDirect3DVertexShader9* pShader) override;
    HRESULT STDMETHODCALLTYPE GetVertexShader(IDirect3DVertexShader9** ppShader) override;
    HRESULT STDMETHODCALLTYPE SetStreamSource(UINT StreamNumber,
                                              IDirect3DVertexBuffer9* pStreamData,
                                              UINT OffsetInBytes, UINT Stride) override;
    HRESULT STDMETHODCALLTYPE GetStreamSource(UINT StreamNumber,
                                              IDirect3DVertexBuffer9** ppStreamData,
                                              UINT* pOffsetInBytes, UINT* pStride) override;

    // ---- device_draw.cpp -----------------------------------------------------------
    HRESULT STDMETHODCALLTYPE Clear(DWORD Count, const D3DRECT* pRects, DWORD Flags,
                                    D3DCOLOR Color, float Z, DWORD Stencil) override;
    HRESULT STDMETHODCALLTYPE DrawPrimitive(D3DPRIMITIVETYPE PrimitiveType, UINT StartVertex,
                                            UINT PrimitiveCount) override;
    HRESULT STDMETHODCALLTYPE DrawPrimitiveUP(D3DPRIMITIVETYPE PrimitiveType,
                                              UINT PrimitiveCount,
                                              const void* pVertexStreamZeroData,
                                              UINT VertexStreamZeroStride) override;

    // ---- device_indexed.cpp --------------------------------------------------------
    HRESULT STDMETHODCALLTYPE CreateIndexBuffer(UINT Length, DWORD Usage, D3DFORMAT Format,
                                                D3DPOOL Pool,
                                                IDirect3DIndexBuffer9** ppIndexBuffer,
                                                HANDLE* pSharedHandle) override;
    HRESULT STDMETHODCALLTYPE SetIndices(IDirect3DIndexBuffer9* pIndexData) override;
    HRESULT STDMETHODCALLTYPE GetIndices(IDirect3DIndexBuffer9** ppIndexData) override;
    HRESULT STDMETHODCALLTYPE DrawIndexedPrimitive(D3DPRIMITIVETYPE PrimitiveType,
                                                   INT BaseVertexIndex, UINT MinVertexIndex,
                                                   UINT NumVertices, UINT startIndex,
                                                   UINT primCount) override;
    HRESULT STDMETHODCALLTYPE CreateVertexDeclaration(
        const D3DVERTEXELEMENT9* pVertexElements, IDirect3DVertexDeclaration9** ppDecl) override;
    HRESULT STDMETHODCALLTYPE SetVertexDeclaration(IDirect3DVertexDeclaration9* pDecl) override;
    HRESULT STDMETHODCALLTYPE GetVertexDeclaration(IDirect3DVertexDeclaration9** ppDecl) override;

    // ---- for the layer's other objects ---------------------------------------------
    void MakeCurrent();
    GlState& Gl() { return gl_; }
    const D3DCAPS9& Caps() const { return caps_; }
    void CountDefaultObject(int delta) { defaultObjects_ += delta; }
    void Lose() { lost_ = true; }
    // Copies a rectangle of the back buffer, top row first, as A8R8G8B8 words.
    void ReadBackBuffer(const RECT& rect, DWORD* argb);
    UINT BackBufferWidth() const { return parameters_.BackBufferWidth; }
    UINT BackBufferHeight() const { return parameters_.BackBufferHeight; }
    D3DFORMAT BackBufferFormat() const { return parameters_.BackBufferFormat; }
    // Replays a state block through the setters (device_states.cpp).
    void ApplyState(const StateMask& mask, const DeviceState& values);
    const DeviceState& State() const { return state_; }
    // The sampler object of a stage, with the stage's sampler states (device_draw.cpp).
    GLuint SamplerOf(int stage);

private:
    Device(IDirect3D9* d3d, HWND window, SDL_Window* sdl, DWORD behaviour);
    ~Device();

    HRESULT ValidateParameters(D3DPRESENT_PARAMETERS& p) const;
    bool CreateBackBuffer();
    void DestroyBackBuffer();
    void ResetState();
    void FillCaps();
    HRESULT Draw(D3DPRIMITIVETYPE type, UINT primitives, GLuint buffer, size_t offset,
                 UINT stride, UINT first);
    // FlushState unless neither the Direct3D state nor OpenGL's changed since the last.
    bool FlushIfChanged(const struct VertexLayout& layout);
    bool FlushState(const struct VertexLayout& layout);
    void BindVertexInput(const struct VertexLayout& layout, GLuint buffer, size_t offset,
                         UINT stride);
    void SetUniforms(FfpProgram& program, const struct VertexLayout& layout);
    // Unbinds the index buffer and the vertex declaration (device_indexed.cpp).
    void ReleaseIndexedBindings();
    StateBlock* Recording() const { return recording_; }

    ULONG references_ = 1;
    IDirect3D9* d3d_;
    HWND window_;
    SDL_Window* sdl_;
    void* context_ = nullptr;
    DWORD behaviour_;
    D3DPRESENT_PARAMETERS parameters_ = {};
    D3DCAPS9 caps_ = {};
    GlState gl_;
    std::unique_ptr<ShaderCache> shaders_;
    DeviceState state_ = {};
    StateBlock* recording_ = nullptr;
    Surface* backBuffer_ = nullptr;
    bool inScene_ = false;
    bool lost_ = false;
    bool needsReset_ = false;
    FramePacer pacer_;
    int defaultObjects_ = 0;
    // Indexed drawing: the bound index buffer (held, as bindings are) and the declaration
    // last set (referenced); neither is part of a state block.
    IDirect3DIndexBuffer9* indices_ = nullptr;
    IDirect3DVertexDeclaration9* declaration_ = nullptr;

    GLuint framebuffer_ = 0, colorBuffer_ = 0, depthBuffer_ = 0;
    GLuint vertexArray_ = 0, streamBuffer_ = 0;
    size_t streamBufferSize_ = 0;
    GLuint samplers_[kMaxStages] = {};
    DWORD samplerShadow_[kMaxStages][kSamplerStateCount] = {};
    bool samplerKnown_[kMaxStages] = {};
    // Vertex input as last specified, so an unchanged layout is not specified again.
    DWORD inputFvf_ = 0xFFFFFFFF;
    GLuint inputBuffer_ = 0;
    size_t inputOffset_ = 0;
    UINT inputStride_ = 0;
    // Whether a value FlushState sends has been set since the last flush, and the OpenGL
    // shadow's count of changes as that flush left it.
    bool stateChanged_ = true;
    unsigned flushedChanges_ = 0;
};

}  // namespace vexa::platform::d3d9

#endif
