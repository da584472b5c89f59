// Textures: image files, alpha maps, the texture resource and the GUI backend's textured
// drawing, read back from the device.
#include "D3DFixture.h"

namespace {
// A 2 x 2 picture: red, green on top; blue, white below.
const std::vector<DWORD> kQuad = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};

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
    // Drawn over blue: the black texel is opaque white, the white one leaves the blue.
    d3d->ClearScreen(0xFF0000FF, D3DCLEAR_TARGET);
    d3d->BeginScene();
    KVD3DRECT r = {0, 0, 4, 1, 0.0f, 0.0f, 1.0f, 1.0f};
    d3d->Blt(&r, t, false);
    d3d->EndScene();
    EXPECT_EQ(0xFFFFFFu, Rgb(0, 0));
    EXPECT_TRUE(Near(0x7F7FFF, Rgb(1, 0))) << std::hex << Rgb(1, 0);
    EXPECT_EQ(0x0000FFu, Rgb(2, 0));
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
    WriteBmp("quad.bmp", 2, 2, kQuad);
    IDirect3DTexture9* t = d3d->LoadImage("quad.bmp", false, 0);
    d3d->ClearScreen(0xFF000000, D3DCLEAR_TARGET);
    d3d->BeginScene();
    pbg->Bar(0, 0, 100, 100, 0x12345678, t);
    d3d->EndScene();
    // Filtered, so only the quarters' inner corners are pure.
    EXPECT_EQ(0xFF0000u, Rgb(2, 2));
    EXPECT_EQ(0x00FF00u, Rgb(97, 2));
    EXPECT_EQ(0x0000FFu, Rgb(2, 97));
    EXPECT_EQ(0xFFFFFFu, Rgb(97, 97));
    t->Release();
}

TEST_F(D3DTest, DrawUITextureShowsTheScreensShareOfTheTexture)
{
    Start(320, 240);
    WriteBmp("quad.bmp", 2, 2, kQuad);
    IDirect3DTexture9* t = d3d->LoadImage("quad.bmp", false, 0);
    d3d->ClearScreen(0xFF000000, D3DCLEAR_TARGET);
    d3d->BeginScene();
    // A quarter-screen rectangle shows the texture's top-left quarter: red throughout.
    pbg->DrawUITexture(10, 10, 90, 70, true, t);
    // The whole screen shows the whole texture.
    pbg->DrawUITexture(100, 100, 100 + 320, 100 + 240, false, t);
    d3d->EndScene();
    EXPECT_EQ(0xFF0000u, Rgb(10, 10));
    EXPECT_EQ(0xFF0000u, Rgb(89, 69));
    EXPECT_EQ(0x000000u, Rgb(90, 69));
    EXPECT_EQ(0xFF0000u, Rgb(102, 102));
    EXPECT_EQ(0x00FF00u, Rgb(318, 102));  // the right half is green from x 260 on
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
