// The device's life: the adapter's answers, reset and loss, COM counting, state blocks,
// vertex buffers, and screenshots through D3DXSaveSurfaceToFileA.
#include "d3d9_fixture.h"

#include <d3dx9.h>

#include <vexa/graphics.h>

#include <stb_image.h>

#include <chrono>
#include <cstdio>
#include <cstring>

namespace {

using DeviceTest = D3D9Test;

TEST_F(DeviceTest, TheAdapterDescribesItselfAndWhatItRenders)
{
    EXPECT_EQ(d3d->GetAdapterCount(), 1u);
    D3DADAPTER_IDENTIFIER9 id;
    ASSERT_EQ(d3d->GetAdapterIdentifier(0, 0, &id), D3D_OK);
    EXPECT_GT(std::strlen(id.Description), 0u);
    EXPECT_EQ(d3d->GetAdapterIdentifier(1, 0, &id), D3DERR_INVALIDCALL);
    D3DDISPLAYMODE mode;
    ASSERT_EQ(d3d->GetAdapterDisplayMode(0, &mode), D3D_OK);
    EXPECT_GT(mode.Width, 0u);
    EXPECT_GT(mode.Height, 0u);

    // Both back-buffer sets of the probe, on the HAL only.
    const D3DFORMAT colours[] = {D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, D3DFMT_R5G6B5,
                                 D3DFMT_X1R5G5B5, D3DFMT_A1R5G5B5};
    for (D3DFORMAT f : colours) {
        SCOPED_TRACE(testing::Message() << "format " << f);
        EXPECT_EQ(d3d->CheckDeviceType(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, f, TRUE), D3D_OK);
        EXPECT_EQ(d3d->CheckDeviceType(0, D3DDEVTYPE_REF, D3DFMT_X8R8G8B8, f, TRUE),
                  D3DERR_NOTAVAILABLE);
    }
    EXPECT_EQ(d3d->CheckDeviceType(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DFMT_A2R10G10B10, FALSE),
              D3DERR_NOTAVAILABLE);
    // Depth formats: the ones with an exact OpenGL counterpart.
    struct DepthCase {
        D3DFORMAT format;
        HRESULT expected;
    } depths[] = {{D3DFMT_D16, D3D_OK},
                  {D3DFMT_D24S8, D3D_OK},
                  {D3DFMT_D15S1, D3DERR_NOTAVAILABLE},
                  {D3DFMT_D24X4S4, D3DERR_NOTAVAILABLE}};
    for (const DepthCase& d : depths)
        EXPECT_EQ(d3d->CheckDeviceFormat(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DUSAGE_DEPTHSTENCIL,
                                         D3DRTYPE_SURFACE, d.format),
                  d.expected)
            << "depth format " << d.format;
    EXPECT_EQ(d3d->CheckDeviceFormat(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, 0, D3DRTYPE_TEXTURE,
                                     D3DFMT_A4R4G4B4),
              D3D_OK);
}

TEST_F(DeviceTest, SixteenBitBackBuffersRender)
{
    D3DPRESENT_PARAMETERS pp = WindowedParameters();
    pp.BackBufferFormat = D3DFMT_R5G6B5;
    IDirect3DDevice9* second = nullptr;
    device->Release();
    device = nullptr;
    ASSERT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, window->handle,
                                D3DCREATE_SOFTWARE_VERTEXPROCESSING, &pp, &second),
              D3D_OK);
    device = second;
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFF0000, 1.0f, 0);
    DrawRect(10, 10, 20, 20, 0xFF00FF00);
    EXPECT_COLOR(0xFFFF0000, ReadPixel(5, 5));
    EXPECT_COLOR(0xFF00FF00, ReadPixel(15, 15));
}

TEST_F(DeviceTest, ResetRefusesWhileDefaultPoolObjectsLive)
{
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &texture, nullptr),
              D3D_OK);
    IDirect3DTexture9* managed = nullptr;
    ASSERT_EQ(device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &managed, nullptr),
              D3D_OK);
    D3DPRESENT_PARAMETERS pp = WindowedParameters();
    EXPECT_EQ(device->Reset(&pp), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    texture->Release();

    IDirect3DStateBlock9* block = nullptr;
    ASSERT_EQ(device->CreateStateBlock(D3DSBT_ALL, &block), D3D_OK);
    EXPECT_EQ(device->Reset(&pp), D3DERR_INVALIDCALL) << "a state block also blocks it";
    block->Release();

    // Managed textures survive; the new size takes effect and the state is the default.
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    pp.BackBufferWidth = 80;
    pp.BackBufferHeight = 60;
    ASSERT_EQ(device->Reset(&pp), D3D_OK);
    EXPECT_EQ(device->TestCooperativeLevel(), D3D_OK);
    DWORD blend = 1;
    device->GetRenderState(D3DRS_ALPHABLENDENABLE, &blend);
    EXPECT_EQ(blend, DWORD(FALSE));
    D3DVIEWPORT9 vp;
    device->GetViewport(&vp);
    EXPECT_EQ(vp.Width, 80u);
    EXPECT_EQ(vp.Height, 60u);
    IDirect3DSurface9* back = nullptr;
    device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back);
    D3DSURFACE_DESC desc;
    back->GetDesc(&desc);
    EXPECT_EQ(desc.Width, 80u);
    back->Release();
    D3DLOCKED_RECT locked;
    EXPECT_EQ(managed->LockRect(0, &locked, nullptr, 0), D3D_OK);
    managed->UnlockRect(0);
    managed->Release();
    pp = WindowedParameters();
    ASSERT_EQ(device->Reset(&pp), D3D_OK);
}

TEST_F(DeviceTest, ALostDeviceReportsLossUntilReset)
{
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    vexa::platform::LoseDevice(device);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
    D3DPRESENT_PARAMETERS pp = WindowedParameters();
    ASSERT_EQ(device->Reset(&pp), D3D_OK);
    EXPECT_EQ(device->TestCooperativeLevel(), D3D_OK);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
}

// Random loss: the schedule's chance and its limit, each loss repaired by a reset.
TEST_F(DeviceTest, RandomLossLosesTheDeviceAtScheduledFramesOnly)
{
    vexa::platform::SetPresentPacing(false);
    const struct {
        unsigned oneIn, most;
        int frames;
        unsigned low, high;  // losses expected
    } cases[] = {{1, 3, 10, 3, 3}, {4, 0, 400, 70, 130}, {0, 0, 50, 0, 0}, {1000000, 0, 50, 0, 1}};
    for (const auto& c : cases) {
        vexa::platform::SetRandomDeviceLoss(c.oneIn, c.most, 12345);
        unsigned lost = 0;
        for (int i = 0; i < c.frames; ++i) {
            const HRESULT hr = device->Present(nullptr, nullptr, nullptr, nullptr);
            if (hr == D3DERR_DEVICELOST) {
                ++lost;
                EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
                D3DPRESENT_PARAMETERS pp = WindowedParameters();
                ASSERT_EQ(device->Reset(&pp), D3D_OK);
            } else {
                ASSERT_EQ(hr, D3D_OK);
            }
        }
        EXPECT_EQ(lost, vexa::platform::RandomDeviceLosses()) << "one in " << c.oneIn;
        EXPECT_GE(lost, c.low) << "one in " << c.oneIn << " over " << c.frames;
        EXPECT_LE(lost, c.high) << "one in " << c.oneIn << " over " << c.frames;
    }
    vexa::platform::SetRandomDeviceLoss(0, 0, 0);
    vexa::platform::SetPresentPacing(true);
}

TEST_F(DeviceTest, PresentKeepsToTheRefreshRateUntilPacingIsTurnedOff)
{
    D3DDISPLAYMODE mode = {};
    ASSERT_EQ(device->GetDisplayMode(0, &mode), D3D_OK);
    const double period = 1.0 / mode.RefreshRate;
    // Paced frames can only come slower than the display on a busy machine, never faster;
    // unpaced ones of this size take a small part of a period each.
    const struct {
        bool paced;
        int frames;
    } cases[] = {{true, 7}, {false, 30}, {true, 7}};
    for (const auto& c : cases) {
        vexa::platform::SetPresentPacing(c.paced);
        // Two frames first: the device's first present is slower than a period.
        for (int i = 0; i < 2; ++i)
            ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
        const auto start = std::chrono::steady_clock::now();
        for (int i = 1; i < c.frames; ++i)
            device->Present(nullptr, nullptr, nullptr, nullptr);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (c.paced)
            EXPECT_GE(seconds, 0.95 * (c.frames - 1) * period) << c.frames << " paced frames at " << mode.RefreshRate << " Hz";
        else
            EXPECT_LT(seconds, 0.5 * (c.frames - 1) * period) << c.frames << " unpaced frames";
    }
}

TEST_F(DeviceTest, ObjectsAreCountedAndKeepTheDeviceAlive)
{
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr),
              D3D_OK);
    EXPECT_EQ(texture->AddRef(), 2u);
    EXPECT_EQ(texture->Release(), 1u);
    // A level surface counts with its texture.
    IDirect3DSurface9* level = nullptr;
    ASSERT_EQ(texture->GetSurfaceLevel(0, &level), D3D_OK);
    EXPECT_EQ(texture->AddRef(), 3u);
    texture->Release();
    EXPECT_EQ(level->Release(), 1u);
    IUnknown* unknown = nullptr;
    ASSERT_EQ(texture->QueryInterface(IID_IDirect3DBaseTexture9, reinterpret_cast<void**>(&unknown)),
              S_OK);
    unknown->Release();
    EXPECT_EQ(texture->QueryInterface(IID_IDirect3DVertexBuffer9, reinterpret_cast<void**>(&unknown)),
              E_NOINTERFACE);

    // The device stays while the program holds one of its objects.
    device->AddRef();
    EXPECT_EQ(device->Release(), 2u) << "the texture holds the device";
    // A texture bound to a stage stays valid after its last release.
    device->SetTexture(0, texture);
    EXPECT_EQ(texture->Release(), 0u);
    IDirect3DBaseTexture9* bound = nullptr;
    ASSERT_EQ(device->GetTexture(0, &bound), D3D_OK);
    EXPECT_EQ(bound, texture);
    device->SetTexture(0, nullptr);
    EXPECT_EQ(bound->Release(), 0u);
    device->AddRef();
    EXPECT_EQ(device->Release(), 1u);
}

TEST_F(DeviceTest, StateBlocksRestoreWhatTheyRecorded)
{
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device->CreateTexture(2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr),
              D3D_OK);
    ASSERT_EQ(device->BeginStateBlock(), D3D_OK);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
    device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    device->SetTexture(0, texture);
    IDirect3DStateBlock9* block = nullptr;
    ASSERT_EQ(device->EndStateBlock(&block), D3D_OK);
    EXPECT_EQ(device->EndStateBlock(&block), D3DERR_INVALIDCALL);

    // Recording changed nothing on the device.
    DWORD value = 0;
    device->GetRenderState(D3DRS_ALPHABLENDENABLE, &value);
    EXPECT_EQ(value, DWORD(FALSE));
    IDirect3DBaseTexture9* bound = nullptr;
    device->GetTexture(0, &bound);
    EXPECT_EQ(bound, nullptr);

    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ZERO);
    device->SetRenderState(D3DRS_ZFUNC, D3DCMP_ALWAYS);  // not recorded: left alone
    ASSERT_EQ(block->Apply(), D3D_OK);
    device->GetRenderState(D3DRS_ALPHABLENDENABLE, &value);
    EXPECT_EQ(value, DWORD(TRUE));
    device->GetRenderState(D3DRS_DESTBLEND, &value);
    EXPECT_EQ(value, DWORD(D3DBLEND_ONE));
    device->GetRenderState(D3DRS_ZFUNC, &value);
    EXPECT_EQ(value, DWORD(D3DCMP_ALWAYS));
    device->GetSamplerState(0, D3DSAMP_MAGFILTER, &value);
    EXPECT_EQ(value, DWORD(D3DTEXF_LINEAR));
    device->GetTexture(0, &bound);
    EXPECT_EQ(bound, texture);
    bound->Release();

    // What it applies draws: additive blending over a clear colour.
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF202020, 1.0f, 0);
    DrawRect(0, 0, 20, 20, 0xFF404040);
    EXPECT_COLOR(0xFF606060, ReadPixel(10, 10));

    // Capture takes the device's values for the recorded states only.
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    ASSERT_EQ(block->Capture(), D3D_OK);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ZERO);
    block->Apply();
    device->GetRenderState(D3DRS_DESTBLEND, &value);
    EXPECT_EQ(value, DWORD(D3DBLEND_INVSRCALPHA));

    // A captured block of all states brings the whole set back.
    IDirect3DStateBlock9* all = nullptr;
    ASSERT_EQ(device->CreateStateBlock(D3DSBT_ALL, &all), D3D_OK);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetFVF(kXyzColorFvf);
    all->Apply();
    device->GetRenderState(D3DRS_CULLMODE, &value);
    EXPECT_EQ(value, DWORD(D3DCULL_CCW));
    device->GetFVF(&value);
    EXPECT_EQ(value, kRhwColorFvf);  // the last DrawRect's
    all->Release();

    EXPECT_EQ(texture->Release(), 0u) << "the block and the stage hold it, COM does not see them";
    device->SetTexture(0, nullptr);
    block->Release();
}

TEST_F(DeviceTest, VertexBuffersDrawWithDiscardAndNoOverwriteLocks)
{
    IDirect3DVertexBuffer9* vb = nullptr;
    ASSERT_EQ(device->CreateVertexBuffer(8 * sizeof(RhwColorVertex),
                                         D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY, kRhwColorFvf,
                                         D3DPOOL_SYSTEMMEM, &vb, nullptr),
              D3D_OK);
    auto quad = [](RhwColorVertex* v, float x0, float y0, float x1, float y1, D3DCOLOR c) {
        v[0] = {x0, y1, 0, 1, c}, v[1] = {x0, y0, 0, 1, c}, v[2] = {x1, y1, 0, 1, c},
        v[3] = {x1, y0, 0, 1, c};
    };
    void* data = nullptr;
    ASSERT_EQ(vb->Lock(0, 0, &data, D3DLOCK_DISCARD), D3D_OK);
    quad(static_cast<RhwColorVertex*>(data), 0, 0, 20, 20, 0xFFFF0000);
    vb->Unlock();
    ASSERT_EQ(vb->Lock(4 * sizeof(RhwColorVertex), 4 * sizeof(RhwColorVertex), &data,
                       D3DLOCK_NOOVERWRITE),
              D3D_OK);
    quad(static_cast<RhwColorVertex*>(data), 30, 0, 50, 20, 0xFF00FF00);
    vb->Unlock();
    EXPECT_EQ(vb->Unlock(), D3DERR_INVALIDCALL);
    EXPECT_EQ(vb->Lock(9 * sizeof(RhwColorVertex), sizeof(RhwColorVertex), &data, 0),
              D3DERR_INVALIDCALL);

    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    device->SetFVF(kRhwColorFvf);
    ASSERT_EQ(device->SetStreamSource(0, vb, 0, sizeof(RhwColorVertex)), D3D_OK);
    ASSERT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
    ASSERT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 4, 2), D3D_OK);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 6, 2), D3DERR_INVALIDCALL)
        << "past the end of the buffer";
    std::vector<DWORD> pixels = ReadBack();
    EXPECT_COLOR(0xFFFF0000, Pixel(pixels, 10, 10));
    EXPECT_COLOR(0xFF00FF00, Pixel(pixels, 40, 10));

    // A discarding lock replaces the contents the next draw reads.
    ASSERT_EQ(vb->Lock(0, 0, &data, D3DLOCK_DISCARD), D3D_OK);
    quad(static_cast<RhwColorVertex*>(data), 0, 0, 20, 20, 0xFF0000FF);
    vb->Unlock();
    device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
    EXPECT_COLOR(0xFF0000FF, ReadPixel(10, 10));

    // A fan over the first four vertices of a list drawn from user memory.
    const RhwColorVertex fan[4] = {{60, 0, 0, 1, 0xFFFFFF00}, {80, 0, 0, 1, 0xFFFFFF00},
                                   {80, 20, 0, 1, 0xFFFFFF00}, {60, 20, 0, 1, 0xFFFFFF00}};
    ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, fan, sizeof fan[0]), D3D_OK);
    EXPECT_COLOR(0xFFFFFF00, ReadPixel(70, 10));
    IDirect3DVertexBuffer9* stream = vb;
    UINT offset = 1, stride = 1;
    device->GetStreamSource(0, &stream, &offset, &stride);
    EXPECT_EQ(stream, nullptr) << "a draw from user memory unsets stream 0";
    vb->Release();
}

// Locked bytes reach OpenGL when a draw reads them, and only the range it reads; every
// draw must still see the latest bytes of its own vertices, whatever was locked and drawn
// before. Quad q lies at x = 30 q; a step locks (all three quads with a discard, or one
// quad without overwriting), then draws one quad, plainly or indexed.
TEST_F(DeviceTest, EveryDrawSeesTheLatestBytesOfTheVerticesItReads)
{
    constexpr int kAll = -2, kNone = -1;
    struct Step {
        int lock;  // a quad, kAll, or kNone for no lock
        D3DCOLOR colour;
        int draw;  // a quad or kNone
        bool indexed;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
    };
    const DWORD red = 0xFFFF0000, green = 0xFF00FF00, blue = 0xFF0000FF, white = 0xFFFFFFFF;
    const Case cases[] = {
        {"a discard drawn from the middle, then both ends",
         {{kAll, red, 1, false}, {kNone, 0, 0, false}, {kNone, 0, 2, true}}},
        {"discards in a row, each drawn",
         {{kAll, red, 0, false}, {kAll, green, 0, true}, {kAll, blue, 2, false}}},
        {"locks of two quads before any draw",
         {{0, red, kNone, false}, {2, green, kNone, false}, {kNone, 0, 2, false},
          {kNone, 0, 0, true}, {1, blue, 1, false}}},
        {"one quad rewritten inside a discarded buffer",
         {{kAll, red, 1, false}, {1, green, 1, true}, {kNone, 0, 0, false}, {1, white, 1, false},
          {kNone, 0, 2, true}}},
    };
    IDirect3DVertexBuffer9* vb = nullptr;
    ASSERT_EQ(device->CreateVertexBuffer(12 * sizeof(RhwColorVertex), D3DUSAGE_DYNAMIC,
                                         kRhwColorFvf, D3DPOOL_SYSTEMMEM, &vb, nullptr),
              D3D_OK);
    IDirect3DIndexBuffer9* ib = nullptr;
    ASSERT_EQ(device->CreateIndexBuffer(6 * 2, 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &ib, nullptr),
              D3D_OK);
    void* data = nullptr;
    ASSERT_EQ(ib->Lock(0, 0, &data, 0), D3D_OK);
    const WORD strip[6] = {0, 1, 2, 2, 1, 3};
    std::memcpy(data, strip, sizeof strip);
    ib->Unlock();
    device->SetFVF(kRhwColorFvf);
    device->SetIndices(ib);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        ASSERT_EQ(device->SetStreamSource(0, vb, 0, sizeof(RhwColorVertex)), D3D_OK);
        DWORD written[3] = {};
        for (size_t s = 0; s < c.steps.size(); ++s) {
            const Step& step = c.steps[s];
            SCOPED_TRACE(testing::Message() << "step " << s);
            if (step.lock != kNone) {
                const bool all = step.lock == kAll;
                const UINT first = all ? 0 : UINT(step.lock), count = all ? 3 : 1;
                ASSERT_EQ(vb->Lock(first * 4 * sizeof(RhwColorVertex),
                                   all ? 0 : 4 * sizeof(RhwColorVertex), &data,
                                   all ? D3DLOCK_DISCARD : D3DLOCK_NOOVERWRITE),
                          D3D_OK);
                auto* v = static_cast<RhwColorVertex*>(data);
                for (UINT q = first; q < first + count; ++q, v += 4) {
                    const float x0 = 30.0f * float(q), x1 = x0 + 20;
                    v[0] = {x0, 20, 0, 1, step.colour}, v[1] = {x0, 0, 0, 1, step.colour};
                    v[2] = {x1, 20, 0, 1, step.colour}, v[3] = {x1, 0, 0, 1, step.colour};
                    written[q] = step.colour;
                }
                vb->Unlock();
            }
            if (step.draw == kNone)
                continue;
            const UINT q = UINT(step.draw);
            if (step.indexed)
                ASSERT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, INT(q * 4), 0, 4, 0, 2),
                          D3D_OK);
            else
                ASSERT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, q * 4, 2), D3D_OK);
            EXPECT_COLOR(written[q], ReadPixel(int(q) * 30 + 10, 10));
        }
    }
    device->SetIndices(nullptr);
    device->SetStreamSource(0, nullptr, 0, 0);
    ib->Release();
    vb->Release();
}

// A draw with the Direct3D state of the draw before flushes nothing; what Clear and a
// texture upload did to OpenGL in between must not leak into it.
TEST_F(DeviceTest, ADrawWithUnchangedStateUndoesWhatClearsAndUploadsChanged)
{
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    DrawRect(0, 0, 80, 40, 0xFFFF0000);
    const D3DRECT corner = {0, 0, 10, 10};
    device->Clear(1, &corner, D3DCLEAR_TARGET, 0xFF0000FF, 1.0f, 0);
    DrawRect(20, 0, 80, 40, 0xFF00FF00);
    EXPECT_COLOR(0xFF00FF00, ReadPixel(50, 20)) << "the cleared rectangle's scissor is gone";
    EXPECT_COLOR(0xFF0000FF, ReadPixel(5, 5));

    auto solid = [&](D3DCOLOR colour) {
        IDirect3DTexture9* t = nullptr;
        EXPECT_EQ(device->CreateTexture(2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t, nullptr),
                  D3D_OK);
        D3DLOCKED_RECT locked = {};
        t->LockRect(0, &locked, nullptr, 0);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 2; ++x)
                reinterpret_cast<DWORD*>(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch)[x] =
                    colour;
        t->UnlockRect(0);
        return t;
    };
    IDirect3DTexture9* yellow = solid(0xFFFFFF00);
    const RhwColorTexVertex v[4] = {{0, 40, 0, 1, 0xFFFFFFFF, 0, 1}, {0, 0, 0, 1, 0xFFFFFFFF, 0, 0},
                                    {40, 40, 0, 1, 0xFFFFFFFF, 1, 1}, {40, 0, 0, 1, 0xFFFFFFFF, 1, 0}};
    device->SetTexture(0, yellow);
    device->SetFVF(kRhwColorTexFvf);
    ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, v, sizeof v[0]), D3D_OK);
    IDirect3DTexture9* cyan = solid(0xFF00FFFF);  // its upload binds it in OpenGL
    RhwColorTexVertex right[4];
    for (int i = 0; i < 4; ++i)
        right[i] = v[i], right[i].x += 60;
    ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, right, sizeof right[0]), D3D_OK);
    EXPECT_COLOR(0xFFFFFF00, ReadPixel(80, 20)) << "stage 0 still holds the first texture";
    device->SetTexture(0, nullptr);
    cyan->Release();
    yellow->Release();
}

TEST_F(DeviceTest, ScreenshotsSaveTheDrawnPixelsAsBmp)
{
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF0000FF, 1.0f, 0);
    DrawRect(10, 20, 30, 40, 0xFFFF8000);
    IDirect3DSurface9* back = nullptr;
    ASSERT_EQ(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back), D3D_OK);
    const std::string path = TempPath("shot.bmp");
    ASSERT_EQ(D3DXSaveSurfaceToFileA(path.c_str(), D3DXIFF_BMP, back, nullptr, nullptr), D3D_OK);
    EXPECT_EQ(D3DXSaveSurfaceToFileA(path.c_str(), D3DXIFF_DDS, back, nullptr, nullptr),
              D3DERR_INVALIDCALL);
    back->Release();

    int w = 0, h = 0, channels = 0;
    unsigned char* rgb = stbi_load(path.c_str(), &w, &h, &channels, 3);
    ASSERT_NE(rgb, nullptr);
    EXPECT_EQ(w, int(kWidth));
    EXPECT_EQ(h, int(kHeight));
    auto at = [&](int x, int y) {
        const unsigned char* p = rgb + 3 * (size_t(y) * size_t(w) + size_t(x));
        return 0xFF000000u | (DWORD(p[0]) << 16) | (DWORD(p[1]) << 8) | p[2];
    };
    EXPECT_COLOR(0xFFFF8000, at(10, 20));
    EXPECT_COLOR(0xFFFF8000, at(29, 39));
    EXPECT_COLOR(0xFF0000FF, at(30, 40));
    EXPECT_COLOR(0xFF0000FF, at(9, 19));
    stbi_image_free(rgb);
    std::remove(path.c_str());
}

}  // namespace

namespace {

struct BadCall {
    const char* name;
    HRESULT (*call)(IDirect3DDevice9* device);
};

TEST_F(DeviceTest, CallsWithBadParametersAnswerInvalidCall)
{
    static const BadCall calls[] = {
        {"Clear of rectangles without rectangles",
         [](IDirect3DDevice9* d) { return d->Clear(2, nullptr, D3DCLEAR_TARGET, 0, 1, 0); }},
        {"Clear of a stencil the buffer lacks",
         [](IDirect3DDevice9* d) { return d->Clear(0, nullptr, D3DCLEAR_STENCIL, 0, 1, 0); }},
        {"SetViewport beyond the back buffer",
         [](IDirect3DDevice9* d) {
             const D3DVIEWPORT9 vp = {100, 100, 100, 100, 0, 1};
             return d->SetViewport(&vp);
         }},
        {"SetTransform of a null matrix",
         [](IDirect3DDevice9* d) { return d->SetTransform(D3DTS_WORLD, nullptr); }},
        {"SetTexture past the stages",
         [](IDirect3DDevice9* d) { return d->SetTexture(99, nullptr); }},
        {"SetSamplerState of no state",
         [](IDirect3DDevice9* d) { return d->SetSamplerState(0, D3DSAMPLERSTATETYPE(99), 0); }},
        {"DrawPrimitive without a stream",
         [](IDirect3DDevice9* d) { return d->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1); }},
        {"DrawPrimitiveUP without vertices",
         [](IDirect3DDevice9* d) { return d->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, nullptr, 20); }},
        {"DrawPrimitiveUP of no primitive type",
         [](IDirect3DDevice9* d) {
             const float v[12] = {};
             return d->DrawPrimitiveUP(D3DPRIMITIVETYPE(0), 1, v, 16);
         }},
        {"EndScene outside a scene", [](IDirect3DDevice9* d) { return d->EndScene(); }},
        {"GetBackBuffer of a second swap chain",
         [](IDirect3DDevice9* d) {
             IDirect3DSurface9* s = nullptr;
             return d->GetBackBuffer(1, 0, D3DBACKBUFFER_TYPE_MONO, &s);
         }},
        {"CreateVertexBuffer of no bytes",
         [](IDirect3DDevice9* d) {
             IDirect3DVertexBuffer9* vb = nullptr;
             return d->CreateVertexBuffer(0, 0, 0, D3DPOOL_MANAGED, &vb, nullptr);
         }},
        {"UpdateTexture of nothing",
         [](IDirect3DDevice9* d) { return d->UpdateTexture(nullptr, nullptr); }},
        {"GetRenderTargetData into the default pool",
         [](IDirect3DDevice9* d) {
             IDirect3DSurface9* back = nullptr;
             IDirect3DSurface9* plain = nullptr;
             d->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back);
             d->CreateOffscreenPlainSurface(kWidth, kHeight, D3DFMT_X8R8G8B8, D3DPOOL_DEFAULT,
                                           &plain, nullptr);
             const HRESULT hr = d->GetRenderTargetData(back, plain);
             plain->Release();
             back->Release();
             return hr;
         }},
        {"SetVertexShader of a shader", [](IDirect3DDevice9* d) {
             return d->SetVertexShader(reinterpret_cast<IDirect3DVertexShader9*>(&d));
         }},
    };
    for (const BadCall& c : calls)
        EXPECT_EQ(c.call(device), D3DERR_INVALIDCALL) << c.name;
    ASSERT_EQ(device->BeginScene(), D3D_OK);
    EXPECT_EQ(device->BeginScene(), D3DERR_INVALIDCALL) << "nested scene";
    EXPECT_EQ(device->EndScene(), D3D_OK);
    EXPECT_EQ(Direct3DCreate9(31), nullptr) << "another SDK version";
}

}  // namespace
