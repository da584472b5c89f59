// Textures: image files, alpha maps, the texture resource and the GUI backend's textured
// drawing, read back from the device.
#include "D3DFixture.h"

namespace {
// A 2 x 2 picture: red, green on top; blue, white below.
const std::vector<DWORD> kQuad = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};

// The same four colours as quarters of a 64 x 64 picture, so filtering inside a quarter
// sees only its colour.
std::vector<DWORD> Quarters()
{
    std::vector<DWORD> rgb(64 * 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            rgb[size_t(y * 64 + x)] = kQuad[size_t((y / 32) * 2 + x / 32)];
    return rgb;
}

DWORD Texel(IDirect3DTexture9* t, int x, int y)
{
    D3DLOCKED_RECT locked = {};
    if (FAILED(t->LockRect(0, &locked, nullptr, D3DLOCK_READONLY)))
        return 0xDEADBEEF;
    const DWORD v =
        reinterpret_cast<const DWORD*>(static_cast<const BYTE*>(locked.pBits) + y * locked.Pitch)[x];
    t->UnlockRect(0);
    return v;
}

}  // namespace

TEST_F(D3DTest, LoadImageKeepsTheFilesSizeAndPixels)
{
    Start();
    WriteBmp("quad.bmp", 2, 2, kQuad);
    IDirect3DTexture9* t = d3d->LoadImage("quad.bmp", false, 0);
    ASSERT_NE(nullptr, t);
    D3DSURFACE_DESC desc = {};
    t->GetLevelDesc(0, &desc);
    EXPECT_EQ(2u, desc.Width);
    EXPECT_EQ(D3DFMT_A8R8G8B8, desc.Format);
    EXPECT_EQ(D3DPOOL_MANAGED, desc.Pool);
    EXPECT_EQ(0xFFFF0000u, Texel(t, 0, 0));
    EXPECT_EQ(0xFF00FF00u, Texel(t, 1, 0));
    EXPECT_EQ(0xFF0000FFu, Texel(t, 0, 1));
    t->Release();
}

TEST_F(D3DTest, LoadImageRefusesAMissingFileWithItsPath)
{
    Start();
    std::strcpy(kvPath, "nowhere/");
    try {
        d3d->LoadImage("missing.png", false, 0);
        FAIL() << "no exception";
    } catch (kvException* e) {
        EXPECT_STREQ("Failed to load image : nowhere/missing.png.", e->message);
        DeleteException(e);
    }
}

TEST_F(D3DTest, AnAlphaMapTurnsDarkIntoOpaqueWhite)
{
    Start();
    // 3 x 1, rounded up to 4 x 1 in the map.
    WriteBmp("map.bmp", 3, 1, {0x000000, 0x808080, 0xFFFFFF});
    IDirect3DTexture9* t = d3d->LoadImage("map.bmp", true, 0);
    ASSERT_NE(nullptr, t);
    D3DSURFACE_DESC desc = {};
    t->GetLevelDesc(0, &desc);
    EXPECT_EQ(D3DPOOL_DEFAULT, desc.Pool);
    EXPECT_EQ(4u, desc.Width);
    // Drawn twice its size over blue, so every sampled pixel centre lies inside a texel:
    // the black texel is opaque white, the grey one half, the white one leaves the blue.
    d3d->ClearScreen(0xFF0000FF, D3DCLEAR_TARGET);
    d3d->BeginScene();
    KVD3DRECT r = {0, 0, 8, 2, 0.0f, 0.0f, 1.0f, 1.0f};
    d3d->Blt(&r, t, false);
    d3d->EndScene();
    EXPECT_EQ(0xFFFFFFu, Rgb(1, 1));
    EXPECT_TRUE(Near(0x7F7FFF, Rgb(3, 1))) << std::hex << Rgb(3, 1);
    EXPECT_EQ(0x0000FFu, Rgb(5, 1));
    EXPECT_EQ(0xFFFFFFu, Rgb(7, 1));  // the padding of the rounded-up map is black
    t->Release();
}

TEST_F(D3DTest, ANamedTextureLoadsFromTheDirectoryItWasNamedIn)
{
    Start();
    WriteBmp("skin-quad.bmp", 2, 2, kQuad);
    std::strcpy(kvPath, "skin-");
    kvrTexture named("quad.bmp");
    EXPECT_STREQ("skin-quad.bmp", named.fileName);
    EXPECT_EQ(nullptr, named.Get());
    kvrReg(&named);
    kvResourceLoad();  // empties kvPath first
    ASSERT_NE(nullptr, named.Get());
    EXPECT_EQ(named.Get(), named.GetPtr());
    EXPECT_EQ(0xFFFF0000u, Texel(named.Get(), 0, 0));
    kvResourceRelease();
    EXPECT_EQ(nullptr, named.Get());
}

TEST_F(D3DTest, AWrappedTextureOutlivesItsResourcesRelease)
{
    Start();
    IDirect3DTexture9* t = nullptr;
    ASSERT_EQ(D3D_OK, d3d->pDevice->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
                                                  &t, nullptr));
    {
        kvrTexture wrapped(t);
        EXPECT_EQ(nullptr, wrapped.fileName);
        wrapped.Load();
        wrapped.Release();
        EXPECT_EQ(t, wrapped.Get());
    }
    D3DSURFACE_DESC desc = {};
    EXPECT_EQ(D3D_OK, t->GetLevelDesc(0, &desc));
    EXPECT_EQ(0u, t->Release());
}

TEST_F(D3DTest, TheGuiBackendStretchesATextureOverABar)
{
    Start();
    WriteBmp("quarters.bmp", 64, 64, Quarters());
    IDirect3DTexture9* t = d3d->LoadImage("quarters.bmp", false, 0);
    d3d->ClearScreen(0xFF000000, D3DCLEAR_TARGET);
    d3d->BeginScene();
    pbg->Bar(0, 0, 100, 100, 0x12345678, t);
    d3d->EndScene();
    EXPECT_EQ(0xFF0000u, Rgb(5, 5));
    EXPECT_EQ(0x00FF00u, Rgb(94, 5));
    EXPECT_EQ(0x0000FFu, Rgb(5, 94));
    EXPECT_EQ(0xFFFFFFu, Rgb(94, 94));
    EXPECT_EQ(0x000000u, Rgb(100, 50));
    t->Release();
}

TEST_F(D3DTest, DrawUITextureShowsTheScreensShareOfTheTexture)
{
    Start(320, 240);
    WriteBmp("quarters.bmp", 64, 64, Quarters());
    IDirect3DTexture9* t = d3d->LoadImage("quarters.bmp", false, 0);
    d3d->ClearScreen(0xFF000000, D3DCLEAR_TARGET);
    d3d->BeginScene();
    // A rectangle of a quarter of the screen shows the texture's top-left quarter: red.
    pbg->DrawUITexture(10, 10, 90, 70, true, t);
    // A rectangle the size of the screen shows the whole texture; it starts at (100, 100)
    // and the screen cuts it, so only its red and green top half's left part is seen.
    pbg->DrawUITexture(100, 100, 100 + 320, 100 + 240, false, t);
    d3d->EndScene();
    EXPECT_EQ(0xFF0000u, Rgb(20, 20));
    EXPECT_EQ(0xFF0000u, Rgb(87, 67));
    EXPECT_EQ(0x000000u, Rgb(90, 69));
    EXPECT_EQ(0xFF0000u, Rgb(105, 105));
    EXPECT_EQ(0xFF0000u, Rgb(250, 210));
    EXPECT_EQ(0x00FF00u, Rgb(270, 105));  // the right half is green from x 260 on
    t->Release();
}

TEST_F(D3DTest, TheGuiBackendForwardsScenesAndClears)
{
    Start();
    pbg->ClearScreen(0xFF336699);
    EXPECT_EQ(0x336699u, Rgb(0, 0));
    pbg->BeginScene();
    EXPECT_TRUE(d3d->bInScene);
    pbg->EndScene();
    EXPECT_FALSE(d3d->bInScene);
    IDirect3DTexture9* none = nullptr;
    pbg->BltTexture(0, 0, none);  // nothing to draw, nothing broken
    pbg->UpdateScreen();
    EXPECT_FALSE(d3d->bLost);
}
