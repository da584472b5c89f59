// The engine's side of the engine-beside-OpenGL benchmarks: the program's window and an
// initialised kvD3D on it (pd3dDevice set), gone again with everything they made.
#ifndef VEXA_BENCH_ENGINE_WINDOW_H
#define VEXA_BENCH_ENGINE_WINDOW_H

#include <KvD3D9.h>
#include <KvLib.h>

#include <cstdlib>
#include <string>

// With VEXA_BENCH_SHOTS naming a folder, saves the back buffer there as name.bmp, so a
// frame of a benchmark can be looked at.
inline void SaveBackBuffer(IDirect3DDevice9* device, const char* name)
{
    const char* folder = std::getenv("VEXA_BENCH_SHOTS");
    IDirect3DSurface9* back = nullptr;
    if (!folder || !device ||
        FAILED(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back)))
        return;
    const std::string path = std::string(folder) + "/" + name + ".bmp";
    D3DXSaveSurfaceToFileA(path.c_str(), D3DXIFF_BMP, back, nullptr, nullptr);
    back->Release();
}

class EngineWindow {
public:
    kvD3D* d3d = nullptr;

    // formatSet as kvD3D's: 0 for the 16-bit formats, 1 for the 32-bit ones.
    EngineWindow(int width, int height, DWORD formatSet)
    {
        static char className[] = "VexaTesselBench";
        static char caption[] = "Benchmark";
        kvCreateWindow(className, caption, SW_SHOW, nullptr, width, height,
                       KVWIN_WINDOWED | KVWIN_FIXEDSIZE | KVWIN_REALTIME);
        d3d = new kvD3D(formatSet, 0, false);
        d3d->Init();
    }
    ~EngineWindow()
    {
        delete d3d;
        DestroyWindow(hWnd);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    EngineWindow(const EngineWindow&) = delete;
    EngineWindow& operator=(const EngineWindow&) = delete;

    void Begin()
    {
        d3d->ClearScreen(0xFF203040, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
        d3d->BeginScene();
    }
    void End()
    {
        d3d->EndScene();
        d3d->UpdateScreen();
    }
    void Shot(const char* name) { SaveBackBuffer(d3d->pDevice, name); }
};

#endif
