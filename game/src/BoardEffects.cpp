// CBoardEffects: the pair explosion and the path spark, their positions in front of the
// board, and the particle system's life across device loss.
#include "BoardEffects.h"

#include "ParticleSystem.h"

#include <kvD3D.h>

const BurstParameters PAIR_EXPLOSION = {50, 200, D3DXVECTOR3(0.0f, 1.0f, 0.0f), 0.02f, 0.6f,
                                        90.0f, 0.6f, 0.98f};
const BurstParameters PATH_SPARK = {15, 100, D3DXVECTOR3(0.0f, 0.0f, -1.0f), 0.02f, 0.3f,
                                    90.0f, 0.8f, 0.0f};

namespace {
const float kStartColour[4] = {1.0f, 1.0f, 1.0f, 1.0f};
const float kEndColour[4] = {1.0f, 1.0f, 1.0f, 0.0f};
const int kBoardHeight = 8;
}  // namespace

CBoardEffects::CBoardEffects() : particleSystem(nullptr), effects(nullptr) {}

CBoardEffects::~CBoardEffects()
{
    DestroyEffects();
    DestroyObjs();
}

void CBoardEffects::LoadObjs(kvrTexture* particleTexture)
{
    DestroyObjs();
    auto* system = new CParticleSystem;
    try {
        system->Create(particleTexture, PARTICLE_CAPACITY, kStartColour, kEndColour);
    } catch (...) {
        delete system;
        throw;
    }
    particleSystem = system;
}

void CBoardEffects::DestroyObjs()
{
    if (!particleSystem)
        return;
    particleSystem->Release();
    delete particleSystem;
    particleSystem = nullptr;
}

void CBoardEffects::NewEffectList()
{
    DestroyEffects();
    effects = new CEffectList;
}

void CBoardEffects::DestroyEffects()
{
    delete effects;
    effects = nullptr;
}

D3DXVECTOR3 CBoardEffects::BurstPosition(int col, int row)
{
    // The cell's place on the board, scaled by 1 / 4.4 so that at z = -7, two units in
    // front of the eye, the burst covers the tile nine units away.
    return D3DXVECTOR3(float(col - 5) * 1.1f / 4.4f,
                       (float(kBoardHeight - row - 4.95) * 1.08f + 0.5f) / 4.4f, PARTICLE_DEPTH);
}

void CBoardEffects::StartBurst(BoardBurst burst, int col, int row)
{
    if (!effects)
        effects = new CEffectList;
    const BurstParameters& p = burst == BURST_PAIR_EXPLOSION ? PAIR_EXPLOSION : PATH_SPARK;
    auto* effect = new CExplosion(&particleSystem, PARTICLE_SPRITE_SIZE);
    effect->Start(p.budget, p.rate, p.direction, BurstPosition(col, row), p.radius, p.speed,
                  p.spread, p.life, p.gravity);
    effects->Push(effect);
}

void CBoardEffects::DrawEffects()
{
    if (particleSystem && pd3dDevice) {
        D3DXMATRIX identity;
        D3DXMatrixIdentity(&identity);
        pd3dDevice->SetTransform(D3DTS_WORLD, &identity);
        particleSystem->Lock();
    }
    if (effects)
        effects->UpdateAll();
    if (particleSystem && pd3dDevice)
        particleSystem->Flush();
}
