// kvD3D on a real device: the start-up probes and their trace, the 2D drawing rules,
// views, the pointer, device loss, resizing and screenshots.
#include "D3DFixture.h"

#include <vexa/graphics.h>

namespace {
void Frame(kvD3D* d3d, const std::function<void()>& draw)
{
    d3d->ClearScreen(0xFF000000, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
    d3d->BeginScene();
    draw();
    d3d->EndScene();
}
}  // namespace

TEST_F(D3DTest, WindowedStartUsesTheDesktopFormatAndTracesTheSummary)
{
    Start();
    ASSERT_NE(nullptr, pd3dDevice);
    EXPECT_EQ(d3d->pDevice, pd3dDevice);
    EXPECT_EQ(d3d, kvgi);
    EXPECT_EQ(1u, d3d->FormatSet);  // a 32-bit desktop replaces the 16-bit set
    EXPECT_TRUE(d3d->Params.Windowed);
    EXPECT_EQ(2u, d3d->Params.BackBufferCount);
    const std::string text = LogText();
    for (const char* line :
         {"D3D9 interface successfully created.", "Graphic Adapter : ",
          "Checking (Type : HAL) (Format : R5G6B5)...", "Checking (Stencil Format : D16)...",
          "Checking (Vertex Processing Type : Hardware)...", "Viewport Res    : 320x240",
          "Fullscreen      : 0", "Backbuffer num  : 2", "Surface format  : X8R8G8B8",
          "D3D9 Device successfully created."})
        EXPECT_NE(std::string::npos, text.find(line)) << line;
}

struct StencilCase {
    DWORD bits;
    const char* firstProbe;
};

class StencilProbe : public D3DTest, public ::testing::WithParamInterface<StencilCase> {};

TEST_P(StencilProbe, StartsAtTheFirstFormatHoldingTheBits)
{
    Start(320, 240, KVWIN_WINDOWED | KVWIN_FIXEDSIZE, 1, GetParam().bits);
    const std::string text = LogText();
    const size_t first = text.find("Checking (Stencil Format : ");
    ASSERT_NE(std::string::npos, first);
    EXPECT_EQ(first, text.find(GetParam().firstProbe));
}

INSTANTIATE_TEST_SUITE_P(Bits, StencilProbe,
                         ::testing::Values(StencilCase{0, "Checking (Stencil Format : D16)"},
                                           StencilCase{1, "Checking (Stencil Format : D15S1)"},
                                           StencilCase{3, "Checking (Stencil Format : D24X4S4)"},
                                           StencilCase{8, "Checking (Stencil Format : D24S8)"},
                                           StencilCase{20, "Checking (Stencil Format : D24S8)"}));

TEST_F(D3DTest, ABarCoversExactlyItsPixels)
{
    Start();
    Frame(d3d, [&] { d3d->Bar(10, 20, 30, 40, 0xFF00FF00); });
    EXPECT_EQ(0x00FF00u, Rgb(10, 20));
    EXPECT_EQ(0x00FF00u, Rgb(29, 39));
    EXPECT_EQ(0x000000u, Rgb(30, 39));
    EXPECT_EQ(0x000000u, Rgb(29, 40));
    EXPECT_EQ(0x000000u, Rgb(9, 20));
    EXPECT_EQ(0x000000u, Rgb(10, 19));
}

TEST_F(D3DTest, BarsBlendByTheirAlpha)
{
    Start();
    d3d->ClearScreen(0xFF0000FF, D3DCLEAR_TARGET);
    d3d->BeginScene();
    pbg->Bar(0, 0, 50, 50, 0x80FF0000, nullptr);  // through the GUI backend
    d3d->EndScene();
    EXPECT_TRUE(Near(0x80007F, Rgb(25, 25))) << std::hex << Rgb(25, 25);
    EXPECT_EQ(0x0000FFu, Rgb(60, 25));
}

TEST_F(D3DTest, AViewMovesDrawingToItsClientAreaAndClipsToIt)
{
    Start();
    WDesktop* desktop = nullptr;
    SetOutText(new WText);
    desktop = new WDesktop;
    SetDesktop(desktop);
    auto* dialog = new WView(100, 50, 60, 40, "", "", 0);
    desktop->AddView(dialog, 0);
    IDirect3DTexture9* white = nullptr;
    ASSERT_EQ(D3D_OK, d3d->pDevice->CreateTexture(8, 8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
                                                  &white, nullptr));
    D3DLOCKED_RECT locked = {};
    ASSERT_EQ(D3D_OK, white->LockRect(0, &locked, nullptr, 0));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            reinterpret_cast<DWORD*>(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch)[x] =
                0xFFFFFFFF;
    white->UnlockRect(0);
    Frame(d3d, [&] {
        d3d->SetView(dialog);
        d3d->BltImage(0, 0, white);
        d3d->Bar(50, 30, 200, 200, 0xFFFF0000);  // runs past the view's corner
        d3d->SetView(nullptr);
    });
    EXPECT_EQ(0, d3d->ViewX);  // back to the whole screen
    EXPECT_EQ(0xFFFFFFu, Rgb(100, 50));
    EXPECT_EQ(0xFFFFFFu, Rgb(107, 57));
    EXPECT_EQ(0x000000u, Rgb(108, 50));
    EXPECT_EQ(0x000000u, Rgb(99, 50));
    EXPECT_EQ(0xFF0000u, Rgb(159, 89));  // clipped at the view's bottom-right
    EXPECT_EQ(0x000000u, Rgb(160, 89));
    EXPECT_EQ(0x000000u, Rgb(159, 90));
    white->Release();
    FreeZeb();
}

TEST_F(D3DTest, ThePointerIsDrawnLastAndOnlyWhenVisible)
{
    Start();
    IDirect3DTexture9* pointer = nullptr;
    ASSERT_EQ(D3D_OK, d3d->pDevice->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
                                                  &pointer, nullptr));
    D3DLOCKED_RECT locked = {};
    ASSERT_EQ(D3D_OK, pointer->LockRect(0, &locked, nullptr, 0));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            reinterpret_cast<DWORD*>(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch)[x] =
                0xFFFFFF00;
    pointer->UnlockRect(0);
    d3d->SetMousePointer(pointer);
    MouseX = 40;
    MouseY = 30;
    Frame(d3d, [&] { d3d->Bar(0, 0, 100, 100, 0xFF0000FF); });
    EXPECT_EQ(0xFFFF00u, Rgb(41, 31));  // above the bar drawn before it
    EXPECT_EQ(0x0000FFu, Rgb(44, 31));
    bMouseVis = false;
    Frame(d3d, [&] { d3d->Bar(0, 0, 100, 100, 0xFF0000FF); });
    EXPECT_EQ(0x0000FFu, Rgb(41, 31));
    bMouseVis = true;
    d3d->SetMousePointer(nullptr);
    Frame(d3d, [&] {});
    EXPECT_EQ(0x000000u, Rgb(41, 31));
    pointer->Release();
}

TEST_F(D3DTest, ALostDeviceIsReportedOnceItCanBeResetAndIsRestored)
{
    Start();
    EXPECT_FALSE(d3d->TestLost());
    vexa::platform::LoseDevice(d3d->pDevice);
    EXPECT_FALSE(d3d->TestLost());  // nothing presented since
    d3d->UpdateScreen();
    EXPECT_TRUE(d3d->bLost);
    EXPECT_TRUE(d3d->TestLost());
    d3d->RestoreGraph();
    EXPECT_FALSE(d3d->TestLost());
    d3d->UpdateScreen();
    EXPECT_FALSE(d3d->bLost);
    Frame(d3d, [&] { d3d->Bar(0, 0, 10, 10, 0xFFFFFFFF); });
    EXPECT_EQ(0xFFFFFFu, Rgb(5, 5));  // the buffers survived the reset
}

TEST_F(D3DTest, ResizeResetsTheDeviceAndReplacesTheGui)
{
    Start();
    SetOutText(new WText);
    SetDesktop(new WDesktop);
    auto* right = new WView(-50, 0, 40, 10, "", "", 0);
    MyDesktop->AddView(right, 0);
    bZebHandle = true;
    d3d->Resize(400, 300);
    EXPECT_EQ(400, ScreenX);
    EXPECT_EQ(300, ScreenY);
    EXPECT_EQ(350, right->Left);
    FreeZeb();
}

TEST_F(D3DTest, ARefusedResizeKeepsTheOldSizeAndSaysSo)
{
    Start();
    const UINT width = d3d->Params.BackBufferWidth;
    IDirect3DTexture9* held = nullptr;  // a default-pool object blocks the reset
    ASSERT_EQ(D3D_OK, d3d->pDevice->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT,
                                                  &held, nullptr));
    try {
        d3d->Resize(400, 300);
        FAIL() << "no exception";
    } catch (kvException* e) {
        EXPECT_STREQ("Failed to reset D3D9 device.", e->message);
        DeleteException(e);
    }
    EXPECT_EQ(320, ScreenX);
    EXPECT_EQ(240, ScreenY);
    EXPECT_EQ(width, d3d->Params.BackBufferWidth);
    held->Release();
    d3d->Resize(400, 300);
    EXPECT_EQ(400, ScreenX);
}

TEST_F(D3DTest, AScreenshotIsABmpOfTheBackBufferInFullScreenOnly)
{
    Start();
    d3d->SaveScreenShot("shot-windowed.bmp");
    EXPECT_NE(std::string::npos, LogText().find("Failed to save screenshot in Window Mode."));
    delete d3d;
    d3d = nullptr;
    DestroyWindow(hWnd);
    kvlib::CloseTraceOutputs();

    Start(320, 240, 0);  // a full-screen popup
    ASSERT_FALSE(bWindowed);
    // A colour a 16-bit back buffer holds exactly.
    Frame(d3d, [&] { d3d->Bar(10, 10, 20, 30, 0xFFFF00FF); });
    files.push_back("shot.bmp");
    d3d->SaveScreenShot("shot.bmp");
    FILE* in = std::fopen("shot.bmp", "rb");
    ASSERT_NE(nullptr, in);
    std::vector<BYTE> bmp(400000);
    bmp.resize(std::fread(bmp.data(), 1, bmp.size(), in));
    std::fclose(in);
    ASSERT_GT(bmp.size(), 54u);
    ASSERT_EQ('B', bmp[0]);
    ASSERT_EQ('M', bmp[1]);
    auto get32 = [&](size_t at) {
        return uint32_t(bmp[at]) | uint32_t(bmp[at + 1]) << 8 | uint32_t(bmp[at + 2]) << 16 |
               uint32_t(bmp[at + 3]) << 24;
    };
    const int width = int(get32(18));
    const int height = int32_t(get32(22));
    const int bits = bmp[28];
    ASSERT_EQ(320, width);
    ASSERT_EQ(240, height < 0 ? -height : height);
    const int bytesPerPixel = bits / 8;
    const size_t rowBytes = size_t((width * bytesPerPixel + 3) & ~3);
    auto pixel = [&](int x, int y) {
        const int row = height > 0 ? (height - 1 - y) : y;
        const BYTE* p = &bmp[get32(10) + size_t(row) * rowBytes + size_t(x * bytesPerPixel)];
        return DWORD(p[2]) << 16 | DWORD(p[1]) << 8 | DWORD(p[0]);
    };
    EXPECT_EQ(0xFF00FFu, pixel(10, 10));
    EXPECT_EQ(0xFF00FFu, pixel(19, 29));
    EXPECT_EQ(0x000000u, pixel(20, 29));
    EXPECT_EQ(0x000000u, pixel(19, 30));
}

TEST(D3DFrustum, PlanesOfAnOrthographicBoxAreItsFaces)
{
    // A view-projection that maps x in [-2, 2], y in [-1, 1], z in [0, 10] to the clip box.
    D3DXMATRIX m;
    D3DXMatrixIdentity(&m);
    m._11 = 0.5f;
    m._33 = 0.1f;
    kvD3D::GetFrustum(&m);
    const float expected[6][4] = {{-1, 0, 0, 2}, {1, 0, 0, 2}, {0, 1, 0, 1},
                                  {0, -1, 0, 1}, {0, 0, -1, 10}, {0, 0, 1, 10}};
    for (int p = 0; p < 6; ++p)
        for (int k = 0; k < 4; ++k)
            EXPECT_NEAR(expected[p][k], frustum[p][k], 1e-5f) << p << "," << k;
}

TEST(D3DPixelSize, FollowsTheFormatTable)
{
    EXPECT_EQ(4u, kvD3D::GetPixelSize(D3DFMT_X8R8G8B8));
    EXPECT_EQ(3u, kvD3D::GetPixelSize(D3DFMT_R8G8B8));
    EXPECT_EQ(2u, kvD3D::GetPixelSize(D3DFMT_A4R4G4B4));
    EXPECT_EQ(1u, kvD3D::GetPixelSize(D3DFMT_L8));
    EXPECT_EQ(0u, kvD3D::GetPixelSize(D3DFMT_D16));
}

namespace {
// Holds an alpha map, a texture in the default pool, which a reset cannot keep.
class AlphaMapApp : public kvApplication {
public:
    explicit AlphaMapApp(const char* file) : name(file) {}
    void LoadObjs() override
    {
        ++loads;
        if (map)
            map->Release();
        map = static_cast<kvD3D*>(kvgi)->LoadImage(name, true, 0);
    }
    void DestroyObjs() override
    {
        if (releaseOnDestroy && map) {
            map->Release();
            map = nullptr;
        }
    }
    ~AlphaMapApp() override
    {
        if (map)
            map->Release();
    }
    const char* name;
    IDirect3DTexture9* map = nullptr;
    bool releaseOnDestroy = true;
    int loads = 0;
};
}  // namespace

// A device lost in front of a running loop is rebuilt by the next frame; in the
// background, or with no loop running, it waits for the activation.
TEST_F(D3DTest, ADeviceLostInFrontIsRestoredByTheNextFrame)
{
    Start();
    WriteBmp("alpha.bmp", 2, 2, {0, 0, 0, 0});
    auto* app = new AlphaMapApp("alpha.bmp");
    kvApp = app;
    kvlib::LoadAppObjects();
    const struct {
        bool running, active, restored;
    } cases[] = {{true, true, true}, {true, false, false}, {false, true, false}};
    for (const auto& c : cases) {
        bQuit = c.running;
        bActive = c.active;
        const int loads = app->loads;
        vexa::platform::LoseDevice(d3d->pDevice);
        d3d->UpdateScreen();  // the frame that finds the loss
        ASSERT_TRUE(d3d->bLost);
        d3d->UpdateScreen();
        EXPECT_EQ(!c.restored, d3d->TestLost()) << "running " << c.running << " active " << c.active;
        EXPECT_EQ(loads + (c.restored ? 1 : 0), app->loads);
        kvRestoreObjects();  // what the activation does
        EXPECT_FALSE(d3d->TestLost());
    }
    Frame(d3d, [&] {
        KVD3DRECT r = {0, 0, 4, 4, 0.0f, 0.0f, 1.0f, 1.0f};
        d3d->Blt(&r, app->map, false);
    });
    EXPECT_EQ(0xFFFFFFu, Rgb(1, 1));
    bQuit = bActive = false;
    kvApp = nullptr;
    kvlib::DestroyAppObjects();
    delete app;
}

TEST_F(D3DTest, TheRestorePathRebuildsDefaultPoolTexturesAroundTheReset)
{
    Start();
    WriteBmp("alpha.bmp", 2, 2, {0, 0, 0, 0});
    auto* app = new AlphaMapApp("alpha.bmp");
    kvApp = app;
    kvlib::LoadAppObjects();
    ASSERT_NE(nullptr, app->map);
    vexa::platform::LoseDevice(d3d->pDevice);
    d3d->UpdateScreen();

    // An application that keeps its default-pool texture blocks the reset.
    app->releaseOnDestroy = false;
    kvRestoreObjects();
    EXPECT_TRUE(d3d->TestLost());

    // One that releases it in DestroyObjs gets a working device and its texture back.
    app->releaseOnDestroy = true;
    kvRestoreObjects();
    EXPECT_FALSE(d3d->TestLost());
    EXPECT_NE(nullptr, app->map);
    EXPECT_EQ(3, app->loads);
    Frame(d3d, [&] {
        KVD3DRECT r = {0, 0, 4, 4, 0.0f, 0.0f, 1.0f, 1.0f};
        d3d->Blt(&r, app->map, false);
    });
    EXPECT_EQ(0xFFFFFFu, Rgb(1, 1));  // black in the map: opaque white
    kvApp = nullptr;
    kvlib::DestroyAppObjects();
    delete app;
}
