// Test helper: a real window with a kvD3D on it, the debug log kept in memory, and the
// back buffer read back pixel by pixel the way Direct3D 9 allows: GetRenderTargetData
// into a system-memory surface.
#ifndef KVD3D9_TESTS_D3DFIXTURE_H
#define KVD3D9_TESTS_D3DFIXTURE_H

#include "MemoryStream.h"

#include <KvD3D9.h>
#include <KvLib.h>
#include <Zeb.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

class D3DTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetGlobals();
        kvlib::CreateRegistry();
    }
    void TearDown() override
    {
        delete d3d;
        d3d = nullptr;
        if (hWnd && IsWindow(hWnd))
            DestroyWindow(hWnd);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        kvlib::CloseTraceOutputs();
        kvlib::DestroyRegistry();
        ResetGlobals();
        for (const std::string& f : files)
            std::remove(f.c_str());
    }

    static void ResetGlobals()
    {
        hWnd = nullptr;
        kvgi = nullptr;
        pbg = nullptr;
        bWindowed = true;
        bSkinnedApp = false;
        bMouseVis = true;
        bZebHandle = false;
        kvPath[0] = '\0';
        MouseX = MouseY = 0;
    }

    // Opens the window (windowed unless flags say otherwise) and starts the device.
    void Start(int width = 320, int height = 240, DWORD flags = KVWIN_WINDOWED | KVWIN_FIXEDSIZE,
               DWORD formatSet = 0, DWORD stencilBits = 0)
    {
        log = new MemoryStream("", false, false, false);
        SetDebugOutput(log, false);
        kvCreateWindow(kClass, kCaption, SW_SHOW, nullptr, width, height, flags);
        d3d = new kvD3D(formatSet, stencilBits, false);
        d3d->Init();
    }

    std::string LogText() const { return std::string(log->medium.begin(), log->medium.end()); }

    // The back buffer as 0xAARRGGBB values, row by row (a 16-bit one widened).
    std::vector<DWORD> ReadBack(int* width = nullptr, int* height = nullptr)
    {
        std::vector<DWORD> pixels;
        IDirect3DSurface9* back = nullptr;
        IDirect3DSurface9* copy = nullptr;
        D3DSURFACE_DESC desc = {};
        EXPECT_EQ(D3D_OK, d3d->pDevice->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back));
        if (!back)
            return pixels;
        back->GetDesc(&desc);
        EXPECT_EQ(D3D_OK, d3d->pDevice->CreateOffscreenPlainSurface(
                              desc.Width, desc.Height, desc.Format, D3DPOOL_SYSTEMMEM, &copy,
                              nullptr));
        EXPECT_EQ(D3D_OK, d3d->pDevice->GetRenderTargetData(back, copy));
        D3DLOCKED_RECT locked = {};
        if (copy && SUCCEEDED(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
            for (UINT y = 0; y < desc.Height; ++y) {
                const BYTE* row = static_cast<const BYTE*>(locked.pBits) + y * locked.Pitch;
                for (UINT x = 0; x < desc.Width; ++x)
                    pixels.push_back(desc.Format == D3DFMT_R5G6B5
                                         ? Widen565(reinterpret_cast<const WORD*>(row)[x])
                                         : reinterpret_cast<const DWORD*>(row)[x]);
            }
            copy->UnlockRect();
        }
        if (copy)
            copy->Release();
        back->Release();
        if (width)
            *width = int(desc.Width);
        if (height)
            *height = int(desc.Height);
        return pixels;
    }

    // A 16-bit R5G6B5 pixel as 0xFFRRGGBB, each channel's low bits zero.
    static DWORD Widen565(WORD p)
    {
        return 0xFF000000u | DWORD(p >> 11) << 19 | DWORD((p >> 5) & 63) << 10 | DWORD(p & 31) << 3;
    }

    // Colour at (x, y) without its alpha byte (a back buffer in X8R8G8B8 has none).
    DWORD Rgb(int x, int y)
    {
        int w = 0, h = 0;
        std::vector<DWORD> pixels = ReadBack(&w, &h);
        if (x < 0 || y < 0 || x >= w || y >= h)
            return 0xDEADBEEF;
        return pixels[size_t(y) * size_t(w) + size_t(x)] & 0x00FFFFFF;
    }

    // A 24-bit BMP of width x height from 0x00RRGGBB pixels, row 0 on top.
    std::string WriteBmp(const char* name, int width, int height, const std::vector<DWORD>& rgb)
    {
        const int rowBytes = (width * 3 + 3) & ~3;
        const int size = 54 + rowBytes * height;
        std::vector<BYTE> f(size_t(size), 0);
        auto put32 = [&](int at, uint32_t v) {
            for (int i = 0; i < 4; ++i)
                f[size_t(at + i)] = BYTE(v >> (8 * i));
        };
        f[0] = 'B';
        f[1] = 'M';
        put32(2, uint32_t(size));
        put32(10, 54);
        put32(14, 40);
        put32(18, uint32_t(width));
        put32(22, uint32_t(height));
        f[26] = 1;
        f[28] = 24;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const DWORD c = rgb[size_t((height - 1 - y) * width + x)];
                BYTE* p = &f[size_t(54 + y * rowBytes + x * 3)];
                p[0] = BYTE(c);
                p[1] = BYTE(c >> 8);
                p[2] = BYTE(c >> 16);
            }
        std::string path = std::string(name);
        FILE* out = std::fopen(path.c_str(), "wb");
        EXPECT_NE(nullptr, out);
        if (out) {
            std::fwrite(f.data(), 1, f.size(), out);
            std::fclose(out);
        }
        files.push_back(path);
        return path;
    }

    static inline char kClass[] = "VexaTesselD3D";
    static inline char kCaption[] = "Direct3D test";
    kvD3D* d3d = nullptr;
    MemoryStream* log = nullptr;
    std::vector<std::string> files;
};

// Colour channels within a small tolerance: blending rounds differently on each device.
inline bool Near(DWORD a, DWORD b, int tolerance = 2)
{
    for (int shift = 0; shift < 24; shift += 8) {
        const int d = int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF);
        if (d > tolerance || d < -tolerance)
            return false;
    }
    return true;
}

#endif
