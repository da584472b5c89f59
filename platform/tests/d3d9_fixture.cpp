#include "d3d9_fixture.h"

#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <unistd.h>

void D3D9Test::SetUp()
{
    window = std::make_unique<TestWindow>(int(kWidth), int(kHeight));
    d3d = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_NE(d3d, nullptr);
    D3DPRESENT_PARAMETERS pp = WindowedParameters();
    ASSERT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window->handle,
                                D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, &device),
              D3D_OK);
    ASSERT_NE(device, nullptr);
}

void D3D9Test::TearDown()
{
    if (device) {
        EXPECT_EQ(device->Release(), 0u) << "the test left device objects alive";
    }
    if (d3d)
        d3d->Release();
    window.reset();
}

D3DPRESENT_PARAMETERS D3D9Test::WindowedParameters() const
{
    D3DPRESENT_PARAMETERS pp = {};
    pp.BackBufferWidth = kWidth;
    pp.BackBufferHeight = kHeight;
    pp.BackBufferFormat = D3DFMT_X8R8G8B8;
    pp.BackBufferCount = 1;
    pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    pp.hDeviceWindow = window->handle;
    pp.Windowed = TRUE;
    pp.EnableAutoDepthStencil = TRUE;
    pp.AutoDepthStencilFormat = D3DFMT_D16;
    pp.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    return pp;
}

std::vector<DWORD> D3D9Test::ReadBack()
{
    std::vector<DWORD> pixels(size_t(kWidth) * kHeight, 0xDEADBEEF);
    IDirect3DSurface9* back = nullptr;
    IDirect3DSurface9* copy = nullptr;
    EXPECT_EQ(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back), D3D_OK);
    D3DSURFACE_DESC desc = {};
    back->GetDesc(&desc);
    EXPECT_EQ(device->CreateOffscreenPlainSurface(kWidth, kHeight, desc.Format, D3DPOOL_SYSTEMMEM,
                                                  &copy, nullptr),
              D3D_OK);
    EXPECT_EQ(device->GetRenderTargetData(back, copy), D3D_OK);
    D3DLOCKED_RECT locked = {};
    EXPECT_EQ(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    for (UINT y = 0; y < kHeight; ++y) {
        const BYTE* row = static_cast<const BYTE*>(locked.pBits) + size_t(y) * UINT(locked.Pitch);
        for (UINT x = 0; x < kWidth; ++x) {
            DWORD argb;
            if (desc.Format == D3DFMT_R5G6B5) {
                const DWORD p = DWORD(row[2 * x]) | (DWORD(row[2 * x + 1]) << 8);
                const DWORD r = (p >> 11) & 31, g = (p >> 5) & 63, b = p & 31;
                argb = (((r << 3) | (r >> 2)) << 16) | (((g << 2) | (g >> 4)) << 8) |
                       ((b << 3) | (b >> 2));
            } else {
                std::memcpy(&argb, row + 4 * x, 4);
            }
            pixels[size_t(y) * kWidth + x] = argb | 0xFF000000u;
        }
    }
    copy->UnlockRect();
    copy->Release();
    back->Release();
    return pixels;
}

void D3D9Test::DrawRect(float x0, float y0, float x1, float y1, D3DCOLOR color, float z)
{
    const RhwColorVertex v[4] = {{x0, y1, z, 1, color}, {x0, y0, z, 1, color},
                                 {x1, y1, z, 1, color}, {x1, y0, z, 1, color}};
    device->SetTexture(0, nullptr);
    device->SetFVF(kRhwColorFvf);
    EXPECT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, v, sizeof v[0]), D3D_OK);
}

void D3D9Test::DrawTextured(float x0, float y0, float x1, float y1, IDirect3DTexture9* texture,
                            D3DCOLOR color)
{
    const RhwColorTexVertex v[4] = {{x0, y1, 0, 1, color, 0, 1}, {x0, y0, 0, 1, color, 0, 0},
                                    {x1, y1, 0, 1, color, 1, 1}, {x1, y0, 0, 1, color, 1, 0}};
    device->SetTexture(0, texture);
    device->SetFVF(kRhwColorTexFvf);
    EXPECT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, v, sizeof v[0]), D3D_OK);
    device->SetTexture(0, nullptr);
}

std::string D3D9Test::TempPath(const char* name) const
{
    const char* base = std::getenv("TMPDIR");
    return std::string(base ? base : "/tmp") + "/vexa_d3d9_" + std::to_string(getpid()) + "_" + name;
}

::testing::AssertionResult ColorNear(DWORD expected, DWORD actual, int tolerance)
{
    for (int shift = 0; shift < 32; shift += 8) {
        const int e = int((expected >> shift) & 255), a = int((actual >> shift) & 255);
        if (std::abs(e - a) > tolerance) {
            char text[64];
            std::snprintf(text, sizeof text, "expected 0x%08X, got 0x%08X", unsigned(expected),
                          unsigned(actual));
            return ::testing::AssertionFailure() << text;
        }
    }
    return ::testing::AssertionSuccess();
}
