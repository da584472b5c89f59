// Test helper: a Direct3D 9 device on a shown window of SDL's offscreen driver, and ways
// to draw simple geometry and read back-buffer pixels the way a program would
// (GetRenderTargetData into a system-memory surface, then LockRect).
#ifndef VEXA_PLATFORM_TESTS_D3D9_FIXTURE_H
#define VEXA_PLATFORM_TESTS_D3D9_FIXTURE_H

#include <d3d9.h>

#include "support/test_window.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// Vertex layouts of the engine: D3DFVF_XYZRHW | D3DFVF_DIFFUSE, XYZRHW | TEX1, XYZRHW |
// DIFFUSE | TEX1 (the fonts), XYZ | DIFFUSE | TEX1 (particles), XYZ | DIFFUSE.
struct RhwColorVertex {
    float x, y, z, rhw;
    D3DCOLOR color;
};
struct RhwTexVertex {
    float x, y, z, rhw;
    float u, v;
};
struct RhwColorTexVertex {
    float x, y, z, rhw;
    D3DCOLOR color;
    float u, v;
};
struct XyzColorTexVertex {
    float x, y, z;
    D3DCOLOR color;
    float u, v;
};
struct XyzColorVertex {
    float x, y, z;
    D3DCOLOR color;
};
constexpr DWORD kRhwColorFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE;
constexpr DWORD kRhwTexFvf = D3DFVF_XYZRHW | D3DFVF_TEX1;
constexpr DWORD kRhwColorTexFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;
constexpr DWORD kXyzColorTexFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;
constexpr DWORD kXyzColorFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE;

class D3D9Test : public ::testing::Test {
protected:
    static constexpr UINT kWidth = 160;
    static constexpr UINT kHeight = 120;

    void SetUp() override;
    void TearDown() override;

    // Presentation parameters of a windowed device with a D16 depth buffer.
    D3DPRESENT_PARAMETERS WindowedParameters() const;

    // The whole back buffer as A8R8G8B8 words, top row first.
    std::vector<DWORD> ReadBack();
    DWORD Pixel(const std::vector<DWORD>& pixels, int x, int y) const
    {
        return pixels[size_t(y) * kWidth + size_t(x)];
    }
    DWORD ReadPixel(int x, int y) { return Pixel(ReadBack(), x, y); }

    // An untextured rectangle with corners (x0, y0) and (x1, y1) in screen space.
    void DrawRect(float x0, float y0, float x1, float y1, D3DCOLOR color, float z = 0.0f);
    // A rectangle showing the whole texture on stage 0.
    void DrawTextured(float x0, float y0, float x1, float y1, IDirect3DTexture9* texture,
                      D3DCOLOR color = 0xFFFFFFFF);

    // A path in the test's own temporary folder.
    std::string TempPath(const char* name) const;

    std::unique_ptr<TestWindow> window;
    IDirect3D9* d3d = nullptr;
    IDirect3DDevice9* device = nullptr;
};

// Colours compare channel by channel within a tolerance (blending rounds differently
// between drivers by one step).
::testing::AssertionResult ColorNear(DWORD expected, DWORD actual, int tolerance = 2);
#define EXPECT_COLOR(expected, actual) EXPECT_TRUE(ColorNear(expected, actual))
#define EXPECT_COLOR_WITHIN(expected, actual, tol) EXPECT_TRUE(ColorNear(expected, actual, tol))

#endif
