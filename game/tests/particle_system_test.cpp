// The particle system on a real device: additive sprites read back through the board's
// camera, the colour ramp, batches that wrap round the buffer, and device loss.
#include "D3DFixture.h"
#include "ThrownMessage.h"

#include <BoardEffects.h>
#include <ParticleSystem.h>

#include <kvApplication.h>
#include <kvrTexture.h>

#include <vexa/graphics.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

const float kWhite[4] = {1.0f, 1.0f, 1.0f, 1.0f};
const float kClear[4] = {1.0f, 1.0f, 1.0f, 0.0f};

class ParticleTest : public D3DTest {
protected:
    // The board's camera (eye at z = -9 looking along +z, 60 degrees) and its states.
    void BeginBoardFrame(DWORD background)
    {
        d3d->ClearScreen(background, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
        d3d->BeginScene();
        IDirect3DDevice9* dev = d3d->pDevice;
        D3DXMATRIX world, view, projection;
        D3DXMatrixIdentity(&world);
        const D3DXVECTOR3 eye(0.0f, 0.0f, -9.0f), at(0.0f, 0.0f, 0.0f), up(0.0f, 1.0f, 0.0f);
        D3DXMatrixLookAtLH(&view, &eye, &at, &up);
        D3DXMatrixPerspectiveFovLH(&projection, 1.0471976f, 320.0f / 240.0f, 0.015625f, 20.0f);
        dev->SetTransform(D3DTS_WORLD, &world);
        dev->SetTransform(D3DTS_VIEW, &view);
        dev->SetTransform(D3DTS_PROJECTION, &projection);
        dev->SetRenderState(D3DRS_LIGHTING, FALSE);
        dev->SetRenderState(D3DRS_ZENABLE, TRUE);
    }
    void EndFrame() { d3d->EndScene(); }

    // Where a point at z = -7 lands on the 320 x 240 back buffer.
    static POINT Pixel(float x, float y)
    {
        const float halfHeight = 2.0f * std::tan(1.0471976f / 2.0f);
        return POINT{LONG(160.0f + x / (halfHeight * 4.0f / 3.0f) * 160.0f),
                     LONG(120.0f - y / halfHeight * 120.0f)};
    }

    kvrTexture* GreyTexture()
    {
        WriteBmp("particle_grey.bmp", 4, 4, std::vector<DWORD>(16, 0x404040));
        auto* t = new kvrTexture("particle_grey.bmp");
        textures.emplace_back(t);
        t->Load();
        return t;
    }
    void TearDown() override
    {
        for (auto& t : textures)
            t->Release();
        textures.clear();
        D3DTest::TearDown();
    }
    std::vector<std::unique_ptr<kvrTexture>> textures;
};

TEST_F(ParticleTest, ASpriteAddsItsTextureToWhatLiesUnderIt)
{
    Start();
    CParticleSystem system;
    system.Create(GreyTexture(), 64, kWhite, kClear);
    BeginBoardFrame(0xFF402010);
    system.Lock();
    system.AddParticle(D3DXVECTOR3(0.0f, 0.0f, -7.0f), 0.2f, 0.5f);
    system.Flush();
    EndFrame();
    // 0x40 grey added to the background, whatever the sprite's fading alpha.
    EXPECT_TRUE(Near(0x806050, Rgb(160, 120))) << std::hex << Rgb(160, 120);
    EXPECT_TRUE(Near(0x402010, Rgb(100, 120))) << std::hex << Rgb(100, 120);
}

TEST_F(ParticleTest, TheColourRampRoundsAndClamps)
{
    CParticleSystem system;
    const float start[4] = {1.0f, 0.5f, 0.0f, 1.0f};
    const float end[4] = {0.0f, 0.5f, 1.0f, 0.0f};
    std::copy(start, start + 4, system.startColour);
    std::copy(end, end + 4, system.endColour);
    const struct {
        float t;
        DWORD argb;
    } rows[] = {{0.0f, 0xFFFF8000}, {1.0f, 0x000080FF}, {0.5f, 0x80808080}, {1.5f, 0x000080FF},
                {-1.0f, 0xFFFF8000}};
    for (const auto& row : rows)
        EXPECT_EQ(row.argb, system.ColourAt(row.t)) << "t = " << row.t;
}

// With 600 slots, 650 sprites in one frame take three flushes: 0..511, 512..599 up to
// the buffer's end, and 0..49 after the wrap. The last before and the first after the
// wrap both show.
TEST_F(ParticleTest, BatchesWrapRoundTheBufferAndEverySpriteIsDrawn)
{
    Start();
    CParticleSystem system;
    system.Create(GreyTexture(), 600, kWhite, kWhite);
    const D3DXVECTOR3 away(100.0f, 0.0f, -7.0f), left(-0.5f, 0.0f, -7.0f), right(0.5f, 0.0f, -7.0f);
    BeginBoardFrame(0xFF000000);
    system.Lock();
    for (int i = 0; i < 650; ++i)
        system.AddParticle(i == 599 ? left : i == 600 ? right : away, 0.1f, 0.0f);
    system.Flush();
    EndFrame();
    EXPECT_EQ(50u, system.writeIndex);
    EXPECT_EQ(50u, system.drawStart);
    const POINT l = Pixel(left.x, left.y), r = Pixel(right.x, right.y);
    EXPECT_TRUE(Near(0x404040, Rgb(l.x, l.y))) << std::hex << Rgb(l.x, l.y);
    EXPECT_TRUE(Near(0x404040, Rgb(r.x, r.y))) << std::hex << Rgb(r.x, r.y);
}

TEST_F(ParticleTest, NoDeviceMeansNoBufferAndTheEngineMessage)
{
    CParticleSystem system;
    DWORD type = 99;
    EXPECT_EQ("Failed to create vertex buffer for particles.",
              ThrownMessage([&] { system.Create(nullptr, 16384, kWhite, kClear); }, &type));
    EXPECT_EQ(0u, type);
    system.Lock();
    system.AddParticle(D3DXVECTOR3(0.0f, 0.0f, -7.0f), 0.05f, 0.0f);  // dropped, no write
    system.Flush();
}

// The board's effects in an application: the particle system is a device object and
// must be gone when the device resets, or the reset is refused.
class EffectsApp : public kvApplication {
public:
    explicit EffectsApp(kvrTexture* t) : texture(t) {}
    void LoadObjs() override
    {
        ++loads;
        effects.LoadObjs(texture);
    }
    void DestroyObjs() override { effects.DestroyObjs(); }
    kvrTexture* texture;
    CBoardEffects effects;
    int loads = 0;
};

TEST_F(ParticleTest, DeviceLossRebuildsTheParticleSystemAndRunningBurstsDrawOn)
{
    Start();
    auto* app = new EffectsApp(GreyTexture());
    kvApp = app;
    kvlib::LoadAppObjects();
    fAppTime = 0.0f;
    fElapsedTime = 0.02f;
    app->effects.NewEffectList();
    app->effects.StartBurst(BURST_PAIR_EXPLOSION, 5, 4);
    app->effects.DrawEffects();
    const CParticleSystem* before = app->effects.particleSystem;
    ASSERT_NE(nullptr, before);

    vexa::platform::LoseDevice(d3d->pDevice);
    d3d->UpdateScreen();
    kvRestoreObjects();
    EXPECT_FALSE(d3d->TestLost());
    EXPECT_EQ(2, app->loads);
    ASSERT_NE(nullptr, app->effects.particleSystem);

    // The burst keeps going into the new system: its ring lies round the cell's place.
    BeginBoardFrame(0xFF000000);
    for (int frame = 0; frame < 3; ++frame) {
        fAppTime += 0.02f;
        app->effects.DrawEffects();
    }
    EndFrame();
    const D3DXVECTOR3 at = CBoardEffects::BurstPosition(5, 4);
    const POINT p = Pixel(at.x, at.y);
    int w = 0, h = 0, lit = 0;
    const std::vector<DWORD> pixels = ReadBack(&w, &h);
    for (int y = std::max(0, int(p.y) - 8); y < std::min(h, int(p.y) + 9); ++y)
        for (int x = std::max(0, int(p.x) - 8); x < std::min(w, int(p.x) + 9); ++x)
            lit += (pixels[size_t(y * w + x)] & 0xFFFFFF) != 0;
    EXPECT_GT(lit, 4);
    kvApp = nullptr;
    kvlib::DestroyAppObjects();
    delete app;
}

TEST(BurstPlace, CellsMapInFrontOfTheBoard)
{
    const struct {
        int col, row;
        float x, y;
    } rows[] = {
        {5, 3, 0.0f, ((8 - 3 - 4.95f) * 1.08f + 0.5f) / 4.4f},
        {0, 0, -1.25f, ((8 - 4.95f) * 1.08f + 0.5f) / 4.4f},
        {-1, 8, -1.5f, ((-4.95f) * 1.08f + 0.5f) / 4.4f},  // the ring
    };
    for (const auto& row : rows) {
        const D3DXVECTOR3 at = CBoardEffects::BurstPosition(row.col, row.row);
        EXPECT_NEAR(row.x, at.x, 1e-5f) << row.col << "," << row.row;
        EXPECT_NEAR(row.y, at.y, 1e-5f) << row.col << "," << row.row;
        EXPECT_EQ(-7.0f, at.z);
    }
}

}  // namespace
