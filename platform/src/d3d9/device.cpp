// The device object: creation on the SDL window behind the device window, COM counting,
// presentation, reset, loss and capabilities.
//
// Present waits for the display's next refresh (frame_pacer.h), scales the back buffer
// into the window's drawable, keeping its aspect (bars on the long side), and swaps. Loss
// only happens through the test hooks (LoseDevice, and the random frames of
// SetRandomDeviceLoss or VEXA_LOSE_DEVICE, random_loss.h); a lost device keeps drawing
// into its back buffer but presents nothing until Reset succeeds.
#include "device.h"

#include "../win32/input_hub.h"
#include "caps.h"
#include "display_mode.h"
#include "formats.h"
#include "gl_context.h"
#include "random_loss.h"
#include "resource.h"
#include "state_block.h"
#include "surface.h"

#include <vexa/graphics.h>

#include <SDL.h>
#include <malloc.h>

#include <algorithm>
#include <mutex>
#include <new>

namespace vexa::platform::d3d9 {

// ---- resource.h helpers ------------------------------------------------------------------
namespace {
Holdable* HoldableOf(IUnknown* object)
{
    void* holdable = nullptr;
    if (!object || FAILED(object->QueryInterface(kHoldableId, &holdable)))
        return nullptr;
    return static_cast<Holdable*>(holdable);
}
}  // namespace

void HoldObject(IUnknown* object)
{
    if (Holdable* h = HoldableOf(object))
        h->Hold();
}

void UnholdObject(IUnknown* object)
{
    if (Holdable* h = HoldableOf(object))
        h->Unhold();
}

void CountDefaultObject(Device* device, int delta) { device->CountDefaultObject(delta); }
ULONG DeviceAddRef(Device* device) { return device->AddRef(); }
ULONG DeviceRelease(Device* device) { return device->Release(); }
IDirect3DDevice9* DeviceInterface(Device* device) { return device; }

// ---- memory across resets ---------------------------------------------------------------
namespace {
// Texture and buffer storage is large, and a program restoring a lost device frees and
// makes all of it again. glibc raises its mapping threshold after the first large block
// is freed, so later ones land in the heap, which the reload then fragments: every loss
// left a few hundred kilobytes more resident. A fixed threshold keeps large blocks mapped
// on their own, and they go back to the system when freed.
void MapLargeBlocksOnTheirOwn()
{
    static std::once_flag once;
    std::call_once(once, [] { mallopt(M_MMAP_THRESHOLD, 128 * 1024); });
}
}  // namespace

// ---- creation ----------------------------------------------------------------------------
Device::Device(IDirect3D9* d3d, HWND window, SDL_Window* sdl, DWORD behaviour)
    : d3d_(d3d), window_(window), sdl_(sdl), behaviour_(behaviour)
{
    MapLargeBlocksOnTheirOwn();
    d3d_->AddRef();
}

HRESULT Device::Create(IDirect3D9* d3d, HWND window, DWORD behaviour,
                       D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** out)
{
    if (!out)
        return D3DERR_INVALIDCALL;
    *out = nullptr;
    if (!parameters)
        return D3DERR_INVALIDCALL;
    HWND target = parameters->hDeviceWindow ? parameters->hDeviceWindow : window;
    SDL_Window* sdl = SdlWindowOf(target);
    if (!sdl || !Adapter().usable)
        return D3DERR_INVALIDCALL;
    if (!(behaviour & (D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_SOFTWARE_VERTEXPROCESSING |
                       D3DCREATE_MIXED_VERTEXPROCESSING)))
        return D3DERR_INVALIDCALL;
    Device* device = new (std::nothrow) Device(d3d, target, sdl, behaviour);
    if (!device)
        return E_OUTOFMEMORY;
    D3DPRESENT_PARAMETERS p = *parameters;
    p.hDeviceWindow = target;
    HRESULT hr = device->ValidateParameters(p);
    if (SUCCEEDED(hr)) {
        device->context_ = CreateGlContext(sdl);
        if (!device->context_)
            hr = D3DERR_NOTAVAILABLE;
    }
    if (SUCCEEDED(hr)) {
        device->parameters_ = p;
        device->shaders_ = std::make_unique<ShaderCache>();
        device->FillCaps();
        glGenVertexArrays(1, &device->vertexArray_);
        glGenBuffers(1, &device->streamBuffer_);
        glGenSamplers(kMaxStages, device->samplers_);
        glEnable(GL_PROGRAM_POINT_SIZE);
        glFrontFace(GL_CCW);
        device->backBuffer_ = Surface::ForBackBuffer(device);
        if (!device->backBuffer_ || !device->CreateBackBuffer())
            hr = D3DERR_OUTOFVIDEOMEMORY;
    }
    if (FAILED(hr)) {
        device->Release();
        return hr;
    }
    device->ResetState();
    *parameters = p;
    *out = device;
    return D3D_OK;
}

Device::~Device()
{
    if (recording_)
        recording_->Release();
    for (IDirect3DBaseTexture9*& t : state_.textures) {
        UnholdObject(t);
        t = nullptr;
    }
    UnholdObject(state_.stream);
    state_.stream = nullptr;
    ReleaseIndexedBindings();
    if (context_) {
        MakeCurrent();
        DestroyBackBuffer();
        shaders_.reset();
        glDeleteVertexArrays(1, &vertexArray_);
        glDeleteBuffers(1, &streamBuffer_);
        glDeleteSamplers(kMaxStages, samplers_);
        DestroyGlContext(context_);
    }
    Surface::DeleteOwned(backBuffer_);
    d3d_->Release();
}

HRESULT Device::ValidateParameters(D3DPRESENT_PARAMETERS& p) const
{
    if (p.BackBufferCount > 3 || p.MultiSampleType != D3DMULTISAMPLE_NONE ||
        p.SwapEffect < D3DSWAPEFFECT_DISCARD || p.SwapEffect > D3DSWAPEFFECT_COPY)
        return D3DERR_INVALIDCALL;
    if (p.BackBufferCount == 0)
        p.BackBufferCount = 1;
    D3DDISPLAYMODE desktop = {};
    DesktopMode(&desktop);
    if (p.Windowed) {
        if (p.BackBufferFormat == D3DFMT_UNKNOWN)
            p.BackBufferFormat = desktop.Format;
        if (p.BackBufferWidth == 0 || p.BackBufferHeight == 0) {
            RECT client = {};
            GetClientRect(p.hDeviceWindow, &client);
            if (p.BackBufferWidth == 0)
                p.BackBufferWidth = UINT(std::max<LONG>(client.right, 1));
            if (p.BackBufferHeight == 0)
                p.BackBufferHeight = UINT(std::max<LONG>(client.bottom, 1));
        }
    } else if (p.BackBufferWidth == 0 || p.BackBufferHeight == 0) {
        return D3DERR_INVALIDCALL;
    }
    const UINT maxEdge = UINT(std::max(Adapter().maxTextureSize, 1));
    if (p.BackBufferWidth > maxEdge || p.BackBufferHeight > maxEdge ||
        !CanRenderColor(p.BackBufferFormat))
        return D3DERR_INVALIDCALL;
    if (p.EnableAutoDepthStencil && !CanRenderDepth(p.AutoDepthStencilFormat))
        return D3DERR_INVALIDCALL;
    return D3D_OK;
}

bool Device::CreateBackBuffer()
{
    MakeCurrent();
    const GLsizei w = GLsizei(parameters_.BackBufferWidth), h = GLsizei(parameters_.BackBufferHeight);
    glGenFramebuffers(1, &framebuffer_);
    gl_.BindFramebuffer(framebuffer_);
    glGenRenderbuffers(1, &colorBuffer_);
    glBindRenderbuffer(GL_RENDERBUFFER, colorBuffer_);
    glRenderbufferStorage(GL_RENDERBUFFER, ColorBufferStorage(parameters_.BackBufferFormat), w, h);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colorBuffer_);
    if (parameters_.EnableAutoDepthStencil) {
        const D3DFORMAT depth = parameters_.AutoDepthStencilFormat;
        glGenRenderbuffers(1, &depthBuffer_);
        glBindRenderbuffer(GL_RENDERBUFFER, depthBuffer_);
        glRenderbufferStorage(GL_RENDERBUFFER, DepthBufferStorage(depth), w, h);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER,
                                  HasStencil(depth) ? GL_DEPTH_STENCIL_ATTACHMENT
                                                    : GL_DEPTH_ATTACHMENT,
                                  GL_RENDERBUFFER, depthBuffer_);
    }
    const bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    if (!parameters_.Windowed)
        SetBackBufferSize(window_, int(w), int(h));
    return complete;
}

void Device::DestroyBackBuffer()
{
    gl_.BindFramebuffer(0);
    if (framebuffer_)
        glDeleteFramebuffers(1, &framebuffer_);
    if (colorBuffer_)
        glDeleteRenderbuffers(1, &colorBuffer_);
    if (depthBuffer_)
        glDeleteRenderbuffers(1, &depthBuffer_);
    framebuffer_ = colorBuffer_ = depthBuffer_ = 0;
}

void Device::ResetState()
{
    for (IDirect3DBaseTexture9*& t : state_.textures)
        UnholdObject(t);
    UnholdObject(state_.stream);
    ReleaseIndexedBindings();
    SetDefaultState(state_, parameters_.BackBufferWidth, parameters_.BackBufferHeight);
    // Without a depth buffer Direct3D starts with the depth test off.
    if (!parameters_.EnableAutoDepthStencil)
        state_.render[D3DRS_ZENABLE] = D3DZB_FALSE;
    inputFvf_ = 0xFFFFFFFF;
    stateChanged_ = true;
}

void Device::MakeCurrent() { MakeGlCurrent(sdl_, context_); }

// ---- IUnknown ----------------------------------------------------------------------------
HRESULT Device::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDirect3DDevice9) {
        *ppv = static_cast<IDirect3DDevice9*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG Device::AddRef() { return ++references_; }

ULONG Device::Release()
{
    if (references_ == 0)
        return 0;
    const ULONG left = --references_;
    if (left == 0)
        delete this;
    return left;
}

// ---- presentation, reset and loss --------------------------------------------------------
HRESULT Device::TestCooperativeLevel()
{
    return lost_ || needsReset_ ? D3DERR_DEVICENOTRESET : D3D_OK;
}

UINT Device::GetAvailableTextureMem() { return 512u << 20; }

HRESULT Device::EvictManagedResources() { return D3D_OK; }

HRESULT Device::GetDirect3D(IDirect3D9** ppD3D9)
{
    if (!ppD3D9)
        return D3DERR_INVALIDCALL;
    *ppD3D9 = d3d_;
    d3d_->AddRef();
    return D3D_OK;
}

HRESULT Device::GetDeviceCaps(D3DCAPS9* pCaps)
{
    if (!pCaps)
        return D3DERR_INVALIDCALL;
    FillCaps();  // the test limit on texture size may have changed
    *pCaps = caps_;
    return D3D_OK;
}

HRESULT Device::GetDisplayMode(UINT iSwapChain, D3DDISPLAYMODE* pMode)
{
    if (iSwapChain != 0 || !pMode)
        return D3DERR_INVALIDCALL;
    if (!DesktopMode(pMode))
        return D3DERR_NOTAVAILABLE;
    if (!parameters_.Windowed) {
        pMode->Width = parameters_.BackBufferWidth;
        pMode->Height = parameters_.BackBufferHeight;
        pMode->Format = parameters_.BackBufferFormat;
    }
    return D3D_OK;
}

HRESULT Device::Reset(D3DPRESENT_PARAMETERS* parameters)
{
    if (!parameters || recording_)
        return D3DERR_INVALIDCALL;
    // Direct3D 9 refuses while default-pool objects and state blocks live, and the
    // device then stays waiting for a reset.
    if (defaultObjects_ > 0) {
        needsReset_ = true;
        return D3DERR_INVALIDCALL;
    }
    D3DPRESENT_PARAMETERS p = *parameters;
    if (!p.hDeviceWindow)
        p.hDeviceWindow = window_;
    if (p.hDeviceWindow != window_) {
        needsReset_ = true;
        return D3DERR_INVALIDCALL;
    }
    HRESULT hr = ValidateParameters(p);
    if (FAILED(hr)) {
        needsReset_ = true;
        return hr;
    }
    MakeCurrent();
    DestroyBackBuffer();
    // Every default-pool object is gone by now: what they held goes back to the system
    // before the program makes them again.
    malloc_trim(0);
    parameters_ = p;
    if (!CreateBackBuffer()) {
        needsReset_ = true;
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    ResetState();
    inScene_ = false;
    lost_ = needsReset_ = false;
    *parameters = p;
    return D3D_OK;
}

HRESULT Device::Present(const RECT* pSourceRect, const RECT* pDestRect, HWND hDestWindowOverride,
                        const void* pDirtyRegion)
{
    (void)hDestWindowOverride;
    (void)pDirtyRegion;
    // A discarding swap chain presents the whole back buffer only.
    if ((pSourceRect || pDestRect) && parameters_.SwapEffect == D3DSWAPEFFECT_DISCARD)
        return D3DERR_INVALIDCALL;
    // A lost device is paced too: a program waiting for the reset would spin otherwise.
    pacer_.Wait(sdl_);
    if (!lost_ && !needsReset_ && RandomLossNow())
        Lose();
    if (lost_ || needsReset_)
        return D3DERR_DEVICELOST;
    MakeCurrent();
    int drawW = 0, drawH = 0;
    SDL_GL_GetDrawableSize(sdl_, &drawW, &drawH);
    const long bw = long(parameters_.BackBufferWidth), bh = long(parameters_.BackBufferHeight);
    long w = drawW, h = drawH;
    if (bw * drawH > bh * drawW)
        h = drawW * bh / bw;
    else
        w = drawH * bw / bh;
    const long x0 = (drawW - w) / 2, y0 = (drawH - h) / 2;
    gl_.BindFramebuffer(0);
    gl_.Enable(GL_SCISSOR_TEST, false);
    gl_.ColorMask(0xF);
    // Bars beside a picture of another shape; a picture that fills the window leaves
    // nothing to clear.
    if (w != drawW || h != drawH) {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
    // The back buffer's row 0 is the top row; the window's row 0 is its bottom row.
    glBlitFramebuffer(0, 0, GLint(bw), GLint(bh), GLint(x0), GLint(y0 + h), GLint(x0 + w),
                      GLint(y0), GL_COLOR_BUFFER_BIT, w == bw && h == bh ? GL_NEAREST : GL_LINEAR);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    SDL_GL_SwapWindow(sdl_);
    gl_.BindFramebuffer(framebuffer_);
    return D3D_OK;
}

HRESULT Device::GetBackBuffer(UINT iSwapChain, UINT iBackBuffer, D3DBACKBUFFER_TYPE Type,
                              IDirect3DSurface9** ppBackBuffer)
{
    if (!ppBackBuffer)
        return D3DERR_INVALIDCALL;
    *ppBackBuffer = nullptr;
    // One back buffer is kept whatever the count; with a discarding swap chain only the
    // first is ever drawn into.
    if (iSwapChain != 0 || iBackBuffer != 0 || Type != D3DBACKBUFFER_TYPE_MONO)
        return D3DERR_INVALIDCALL;
    *ppBackBuffer = backBuffer_;
    AddRef();
    return D3D_OK;
}

HRESULT Device::BeginScene()
{
    if (inScene_)
        return D3DERR_INVALIDCALL;
    inScene_ = true;
    return D3D_OK;
}

HRESULT Device::EndScene()
{
    if (!inScene_)
        return D3DERR_INVALIDCALL;
    inScene_ = false;
    MakeCurrent();
    glFlush();
    return D3D_OK;
}

void Device::ReadBackBuffer(const RECT& rect, DWORD* argb)
{
    MakeCurrent();
    gl_.BindFramebuffer(framebuffer_);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    const GLsizei w = rect.right - rect.left, h = rect.bottom - rect.top;
    glReadPixels(rect.left, rect.top, w, h, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, argb);
    const D3DFORMAT f = parameters_.BackBufferFormat;
    if (f == D3DFMT_X8R8G8B8 || f == D3DFMT_R5G6B5 || f == D3DFMT_X1R5G5B5)
        for (size_t i = 0, n = size_t(w) * size_t(h); i < n; ++i)
            argb[i] |= 0xFF000000u;
}

// ---- capabilities ------------------------------------------------------------------------
void Device::FillCaps() { FillHalCaps(caps_); }

}  // namespace vexa::platform::d3d9

namespace vexa::platform {
void LoseDevice(IDirect3DDevice9* device)
{
    if (auto* d = dynamic_cast<d3d9::Device*>(device))
        d->Lose();
}
}  // namespace vexa::platform
