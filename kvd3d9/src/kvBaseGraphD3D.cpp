// kvBaseGraphD3D: the GUI's drawing calls, forwarded to the installed kvD3D.
#include "kvBaseGraphD3D.h"

#include "kvD3D.h"

#include <kvApplication.h>

namespace {
kvD3D* Device()
{
    return kvD3D::Installed();
}
}  // namespace

void kvBaseGraphD3D::ClearScreen(DWORD colour)
{
    if (kvD3D* d = Device())
        d->ClearScreen(colour, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
}

void kvBaseGraphD3D::Bar(int x1, int y1, int x2, int y2, DWORD colour, void* texture)
{
    kvD3D* d = Device();
    if (!d)
        return;
    if (!texture) {
        d->Bar(x1, y1, x2, y2, colour);
        return;
    }
    // Starting just inside the texture keeps linear filtering off its opposite edge.
    KVD3DRECT rect = {x1, y1, x2, y2, 0.001f, 0.001f, 1.0f, 1.0f};
    d->Blt(&rect, static_cast<IDirect3DTexture9*>(texture), true);
}

void kvBaseGraphD3D::BltTexture(int x, int y, void* texture)
{
    if (kvD3D* d = Device())
        d->BltImage(x, y, static_cast<IDirect3DTexture9*>(texture));
}

void kvBaseGraphD3D::DrawUITexture(int x1, int y1, int x2, int y2, bool, void* texture)
{
    kvD3D* d = Device();
    if (!d || !d->pDevice)
        return;
    d->pDevice->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
    KVD3DRECT rect = {x1, y1, x2, y2, 0.001f, 0.001f, float(x2 - x1) / float(ScreenX),
                      float(y2 - y1) / float(ScreenY)};
    d->Blt(&rect, static_cast<IDirect3DTexture9*>(texture), true);
}

void kvBaseGraphD3D::UpdateScreen()
{
    if (kvgi)
        kvgi->UpdateScreen();
}

void kvBaseGraphD3D::BeginScene()
{
    if (kvD3D* d = Device())
        d->BeginScene();
}

void kvBaseGraphD3D::EndScene()
{
    if (kvD3D* d = Device())
        d->EndScene();
}
