// The drawing paths the engine takes, each through the calls it makes: the font's
// recorded state block over a system-memory buffer of A4R4G4B4 glyphs, the HUD's
// screen quads with rhw 0, texel-exact linear filtering at D3D9's half-pixel offset,
// and a full-screen device.
#include "d3d9_fixture.h"

#include <d3dx9.h>

#include <cstring>

namespace {

using EnginePathTest = D3D9Test;

TEST_F(EnginePathTest, FontStateBlockDrawsGlyphQuadsFromASystemMemoryBuffer)
{
    // A 2 x 1 atlas: a lit texel (alpha 15/15) and an empty one (alpha 0).
    IDirect3DTexture9* atlas = nullptr;
    ASSERT_EQ(device->CreateTexture(2, 1, 1, 0, D3DFMT_A4R4G4B4, D3DPOOL_MANAGED, &atlas, nullptr),
              D3D_OK);
    D3DLOCKED_RECT locked;
    ASSERT_EQ(atlas->LockRect(0, &locked, nullptr, 0), D3D_OK);
    static_cast<WORD*>(locked.pBits)[0] = 0xFFFF;
    static_cast<WORD*>(locked.pBits)[1] = 0x0000;
    atlas->UnlockRect(0);

    ASSERT_EQ(device->BeginStateBlock(), D3D_OK);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    device->SetRenderState(D3DRS_ALPHAREF, 8);
    device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
    device->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    device->SetRenderState(D3DRS_STENCILENABLE, FALSE);
    device->SetRenderState(D3DRS_CLIPPING, TRUE);
    device->SetRenderState(D3DRS_CLIPPLANEENABLE, 0);
    device->SetRenderState(D3DRS_VERTEXBLEND, D3DVBF_DISABLE);
    device->SetRenderState(D3DRS_INDEXEDVERTEXBLENDENABLE, FALSE);
    device->SetRenderState(D3DRS_FOGENABLE, FALSE);
    device->SetRenderState(D3DRS_COLORWRITEENABLE, 15);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 0);
    device->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE);
    device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    device->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    IDirect3DStateBlock9* textState = nullptr;
    ASSERT_EQ(device->EndStateBlock(&textState), D3D_OK);

    IDirect3DVertexBuffer9* vb = nullptr;
    ASSERT_EQ(device->CreateVertexBuffer(86016, D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY,
                                         kRhwColorTexFvf, D3DPOOL_SYSTEMMEM, &vb, nullptr),
              D3D_OK);
    void* data = nullptr;
    ASSERT_EQ(vb->Lock(0, 0, &data, D3DLOCK_DISCARD), D3D_OK);
    // One glyph quad, 20 x 10 pixels at (10, 10), both atlas texels, in the font's order.
    const D3DCOLOR yellow = 0xFFFFFF00;
    const RhwColorTexVertex glyph[6] = {
        {10, 20, 0, 1, yellow, 0, 1}, {10, 10, 0, 1, yellow, 0, 0}, {30, 20, 0, 1, yellow, 1, 1},
        {30, 10, 0, 1, yellow, 1, 0}, {30, 20, 0, 1, yellow, 1, 1}, {10, 10, 0, 1, yellow, 0, 0}};
    std::memcpy(data, glyph, sizeof glyph);
    vb->Unlock();

    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000040, 1.0f, 0);
    ASSERT_EQ(textState->Apply(), D3D_OK);
    device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
    device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
    device->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_NONE);
    device->SetFVF(kRhwColorTexFvf);
    device->SetStreamSource(0, vb, 0, sizeof(RhwColorTexVertex));
    device->SetTexture(0, atlas);
    ASSERT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 2), D3D_OK);
    const std::vector<DWORD> pixels = ReadBack();
    EXPECT_COLOR(yellow, Pixel(pixels, 15, 15)) << "the lit texel in the text colour";
    EXPECT_COLOR(0xFF000040, Pixel(pixels, 25, 15)) << "the empty texel fails the alpha test";
    EXPECT_COLOR(0xFF000040, Pixel(pixels, 15, 25));

    device->SetTexture(0, nullptr);
    device->SetStreamSource(0, nullptr, 0, 0);
    textState->Release();
    vb->Release();
    atlas->Release();
}

TEST_F(EnginePathTest, ScreenQuadsWithZeroRhwStillDraw)
{
    // The HUD writes z and rhw as 0; Direct3D then has no perspective to apply.
    const RhwColorVertex quad[4] = {{10, 10, 0, 0, 0xFF00FF00}, {40, 10, 0, 0, 0xFF00FF00},
                                    {10, 30, 0, 0, 0xFF00FF00}, {40, 30, 0, 0, 0xFF00FF00}};
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    device->SetFVF(kRhwColorFvf);
    ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof quad[0]), D3D_OK);
    const std::vector<DWORD> pixels = ReadBack();
    EXPECT_COLOR(0xFF00FF00, Pixel(pixels, 10, 10));
    EXPECT_COLOR(0xFF00FF00, Pixel(pixels, 39, 29));
    EXPECT_COLOR(0xFF000000, Pixel(pixels, 40, 30));
}

TEST_F(EnginePathTest, HalfPixelOffsetQuadsSampleTexelCentresExactly)
{
    // 2 x 2 texels on a 2 x 2 pixel quad starting half a pixel up and left: every pixel
    // centre meets a texel centre, so even linear filtering gives the texels unmixed.
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device->CreateTexture(2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture,
                                    nullptr),
              D3D_OK);
    const DWORD texels[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
    D3DLOCKED_RECT locked;
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    for (int y = 0; y < 2; ++y)
        std::memcpy(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch, &texels[2 * y], 8);
    texture->UnlockRect(0);
    device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
    device->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    DrawTextured(19.5f, 9.5f, 21.5f, 11.5f, texture);
    const std::vector<DWORD> pixels = ReadBack();
    EXPECT_COLOR(texels[0], Pixel(pixels, 20, 10));
    EXPECT_COLOR(texels[1], Pixel(pixels, 21, 10));
    EXPECT_COLOR(texels[2], Pixel(pixels, 20, 11));
    EXPECT_COLOR(texels[3], Pixel(pixels, 21, 11));
    EXPECT_COLOR(0xFF000000, Pixel(pixels, 22, 11));
    texture->Release();
}

TEST_F(EnginePathTest, FullScreenDeviceSetsTheClientSizeToItsBackBuffer)
{
    device->Release();
    device = nullptr;
    static const ATOM atom = [] {
        WNDCLASSEXA wc = {};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "VexaD3DFullScreen";
        return RegisterClassExA(&wc);
    }();
    (void)atom;
    HWND popup = CreateWindowExA(0, "VexaD3DFullScreen", "full screen", WS_POPUP, 0, 0, 1024, 768,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ShowWindow(popup, SW_SHOW);
    window->Drain();
    D3DPRESENT_PARAMETERS pp = WindowedParameters();
    pp.Windowed = FALSE;
    pp.hDeviceWindow = popup;
    pp.BackBufferWidth = 1024;
    pp.BackBufferHeight = 768;
    pp.BackBufferFormat = D3DFMT_R5G6B5;
    pp.BackBufferCount = 2;
    ASSERT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, popup, D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp,
                                &device),
              D3D_OK);
    RECT client;
    ASSERT_TRUE(GetClientRect(popup, &client));
    EXPECT_EQ(client.right, 1024);
    EXPECT_EQ(client.bottom, 768);
    D3DDISPLAYMODE mode;
    ASSERT_EQ(device->GetDisplayMode(0, &mode), D3D_OK);
    EXPECT_EQ(mode.Width, 1024u);
    EXPECT_EQ(mode.Format, D3DFMT_R5G6B5);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF00FF00, 1.0f, 0);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    const RECT corner = {0, 0, 1, 1};
    EXPECT_EQ(device->Present(&corner, nullptr, nullptr, nullptr), D3DERR_INVALIDCALL)
        << "a discarding swap chain presents whole frames";
    EXPECT_EQ(device->Release(), 0u);
    device = nullptr;
    DestroyWindow(popup);
    window->Drain();

    // Full screen needs a size.
    pp.hDeviceWindow = window->handle;
    pp.BackBufferWidth = 0;
    IDirect3DDevice9* none = nullptr;
    EXPECT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, window->handle,
                                D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, &none),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(none, nullptr);
}

}  // namespace
