// Point-sampled pictures land texel for pixel: every texel of a picture drawn with
// BltImage, an unfiltered Blt or as the pointer shows at its own pixel, at every integer
// position, in the windowed and the full-screen (16-bit) set-up.
#include "D3DFixture.h"

namespace {

// A colour each texel holds alone, exact in a 16-bit back buffer as well.
DWORD TexelColour(int x, int y) { return 0xFF000000u | DWORD(x * 8) << 16 | DWORD(y * 4) << 8 | 0x40; }

IDirect3DTexture9* Picture(IDirect3DDevice9* device, int w, int h)
{
    IDirect3DTexture9* t = nullptr;
    EXPECT_EQ(D3D_OK, device->CreateTexture(UINT(w), UINT(h), 1, 0, D3DFMT_A8R8G8B8,
                                            D3DPOOL_MANAGED, &t, nullptr));
    D3DLOCKED_RECT locked = {};
    if (!t || FAILED(t->LockRect(0, &locked, nullptr, 0)))
        return t;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            reinterpret_cast<DWORD*>(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch)[x] =
                TexelColour(x, y);
    t->UnlockRect(0);
    return t;
}

enum class Way { Image, UnfilteredBlt, Pointer };

struct SetUp {
    const char* name;
    DWORD flags;
};
void PrintTo(const SetUp& s, std::ostream* out) { *out << s.name; }

class SamplingTest : public D3DTest, public testing::WithParamInterface<SetUp> {};

TEST_P(SamplingTest, EveryTexelLandsOnItsOwnPixel)
{
    Start(320, 240, GetParam().flags);
    struct Case {
        int w, h, x, y;
    };
    const Case cases[] = {{8, 4, 21, 13},  {32, 32, 0, 3},  {32, 32, 100, 103}, {32, 32, 13, 16},
                          {13, 7, 0, 0},   {5, 9, 1, 2},    {31, 17, 250, 201}, {1, 1, 3, 0},
                          {16, 16, 77, 0}, {7, 30, 0, 155}};
    for (Way way : {Way::Image, Way::UnfilteredBlt, Way::Pointer})
        for (const Case& c : cases) {
            IDirect3DTexture9* t = Picture(d3d->pDevice, c.w, c.h);
            d3d->ClearScreen(0xFF000000, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
            d3d->BeginScene();
            // A filtered rectangle first, as the GUI draws before pictures and the pointer.
            KVD3DRECT stretched = {200, 10, 260, 40, 0.0f, 0.0f, 1.0f, 1.0f};
            d3d->Blt(&stretched, t, true);
            KVD3DRECT exact = {c.x, c.y, c.x + c.w, c.y + c.h, 0.0f, 0.0f, 1.0f, 1.0f};
            MouseX = c.x, MouseY = c.y;
            d3d->SetMousePointer(way == Way::Pointer ? t : nullptr);
            if (way == Way::Image)
                d3d->BltImage(c.x, c.y, t);
            else if (way == Way::UnfilteredBlt)
                d3d->Blt(&exact, t, false);
            d3d->EndScene();
            int w = 0;
            const std::vector<DWORD> screen = ReadBack(&w);
            int wrong = 0;
            for (int y = 0; y < c.h; ++y)
                for (int x = 0; x < c.w; ++x)
                    wrong += (screen[size_t(c.y + y) * size_t(w) + size_t(c.x + x)] & 0xFFFFFF) !=
                             (TexelColour(x, y) & 0xFFFFFF);
            EXPECT_EQ(0, wrong) << GetParam().name << ", way " << int(way) << ": " << c.w << " x "
                                << c.h << " at (" << c.x << ", " << c.y << ")";
            d3d->SetMousePointer(nullptr);
            t->Release();
        }
}

INSTANTIATE_TEST_SUITE_P(SetUps, SamplingTest,
                         testing::Values(SetUp{"windowed", KVWIN_WINDOWED | KVWIN_FIXEDSIZE},
                                         SetUp{"full screen", 0}),
                         [](const testing::TestParamInfo<SetUp>& row) {
                             return row.param.flags ? "Windowed" : "FullScreen";
                         });

}  // namespace
