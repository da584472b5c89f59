// kvD3D: construction, presentation, device loss, resizing, views and release.
#include "kvD3D.h"

#include "kvBaseGraphD3D.h"

#include <WView.h>
#include <zebMain.h>

#include <kvApplication.h>
#include <kvException.h>
#include <kvResource.h>
#include <kvTrace.h>

#include <algorithm>
#include <cstring>

// {D60A8344-1111-402F-828B-875CB1F285EC}
const GUID KVD3D_CLASS_ID = {0xD60A8344, 0x1111, 0x402F,
                             {0x82, 0x8B, 0x87, 0x5C, 0xB1, 0xF2, 0x85, 0xEC}};

IDirect3DDevice9* pd3dDevice = nullptr;
float frustum[6][4] = {};

kvD3D::kvD3D(DWORD formatSet, DWORD stencilBits, bool multithreaded)
    : pGUIGraph(nullptr),
      pD3D(nullptr),
      pDevice(nullptr),
      pBltBuffer(nullptr),
      pColorBuffer(nullptr),
      Params{},
      Caps{},
      MaxSimultaneousTextures(0),
      MaxTextureBlendStages(0),
      FormatSet(formatSet),
      StencilBits(std::min<DWORD>(stencilBits, 8)),
      PixelShaderVersion(0),
      VertexShaderVersion(0),
      bClearAtStart(true),
      bPerfHUD(false),
      bRefDevice(false),
      ViewX(0),
      ViewY(0),
      pMousePointer(nullptr),
      bInScene(false),
      bMultithreaded(multithreaded),
      bLost(false),
      deviceType(D3DDEVTYPE_HAL),
      backBufferFormat(D3DFMT_UNKNOWN),
      vertexProcessing("")
{
    ClassId = KVD3D_CLASS_ID;
    pGUIGraph = new kvBaseGraphD3D;
    pbg = pGUIGraph;
    InstallSelf();
}

kvD3D* kvD3D::Installed()
{
    return kvgi && IsEqualGUID(kvgi->ClassId, KVD3D_CLASS_ID) ? static_cast<kvD3D*>(kvgi)
                                                                : nullptr;
}

kvD3D::~kvD3D()
{
    Release();
    if (pbg == pGUIGraph)
        pbg = nullptr;
    delete pGUIGraph;
    if (kvgi == this)
        kvgi = nullptr;
}

void kvD3D::Release()
{
    if (pBltBuffer) {
        pBltBuffer->Release();
        pBltBuffer = nullptr;
    }
    if (pColorBuffer) {
        pColorBuffer->Release();
        pColorBuffer = nullptr;
    }
    if (pD3D) {
        pD3D->Release();
        pD3D = nullptr;
        Trace("D3D interface released.");
    }
    if (pDevice) {
        pDevice->Release();
        pDevice = nullptr;
        if (pd3dDevice)
            pd3dDevice = nullptr;
        Trace("D3D device released.");
    }
}

void kvD3D::UpdateScreen()
{
    if (!pDevice)
        return;
    // A device lost while the program stays in front (a driver reset, another program's
    // exclusive screen that never took the focus) is restored at the first frame that
    // finds it resettable; waiting for the next activation would leave the screen frozen
    // while the game goes on. In the background the activation restores it, as before.
    if (bLost && bQuit && bActive && TestLost()) {
        kvRestoreObjects();
        return;
    }
    bLost = pDevice->Present(nullptr, nullptr, nullptr, nullptr) == D3DERR_DEVICELOST;
}

bool kvD3D::TestLost()
{
    return bLost && pDevice && pDevice->TestCooperativeLevel() == D3DERR_DEVICENOTRESET;
}

void kvD3D::RestoreGraph()
{
    if (TestLost() && SUCCEEDED(pDevice->Reset(&Params)))
        bLost = false;
}

void kvD3D::Resize(DWORD width, DWORD height)
{
    // A refused reset leaves the device at its old size: the screen and the GUI keep it
    // too, and the kept parameters still describe the device for the next reset.
    const D3DPRESENT_PARAMETERS old = Params;
    Params.BackBufferWidth = width;
    Params.BackBufferHeight = height;
    if (pDevice && FAILED(pDevice->Reset(&Params))) {
        Params = old;
        NewException("Failed to reset D3D9 device.", KVEXCEPTION_GENERAL);
    }
    ScreenX = int32_t(width);
    ScreenY = int32_t(height);
    ResizeZeb();
}

void kvD3D::ResetForSizing(bool) {}

void kvD3D::SetView(void* view)
{
    D3DVIEWPORT9 vp = {0, 0, DWORD(std::max(ScreenX, 0)), DWORD(std::max(ScreenY, 0)), 0.0f, 1.0f};
    int originX = 0, originY = 0;
    if (view) {
        const WView* v = static_cast<const WView*>(view);
        // The client area on the screen, clipped to it: a viewport outside the target
        // would be refused.
        const int left = v->GetAbsX() + v->OriginX, top = v->GetAbsY() + v->OriginY;
        const int x0 = std::clamp(left, 0, std::max(ScreenX, 0));
        const int y0 = std::clamp(top, 0, std::max(ScreenY, 0));
        const int x1 = std::clamp(left + v->GetWidth(), x0, std::max(ScreenX, 0));
        const int y1 = std::clamp(top + v->GetHeight(), y0, std::max(ScreenY, 0));
        vp.X = DWORD(x0);
        vp.Y = DWORD(y0);
        vp.Width = DWORD(x1 - x0);
        vp.Height = DWORD(y1 - y0);
        originX = left;
        originY = top;
    }
    if (pDevice)
        pDevice->SetViewport(&vp);
    // Drawing is placed from the view's own corner, even where the screen cuts it.
    ViewX = originX;
    ViewY = originY;
}
