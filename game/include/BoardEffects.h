// CBoardEffects: the board's bursts on the particle system. It holds the board's
// particle system (a device object, null while the device is lost) and the running
// effects, which live from round set-up to the return to the main form.
#ifndef VEXA_BOARDEFFECTS_H
#define VEXA_BOARDEFFECTS_H

#include "BoardSeams.h"
#include "ParticleEffect.h"

class CParticleSystem;
class kvrTexture;

// One row of the bursts the board starts.
struct BurstParameters {
    DWORD budget;
    DWORD rate;
    D3DXVECTOR3 direction;
    float radius;
    float speed;
    float spread;
    float life;
    float gravity;
};

extern const BurstParameters PAIR_EXPLOSION;
extern const BurstParameters PATH_SPARK;

#define PARTICLE_CAPACITY 16384
#define PARTICLE_SPRITE_SIZE 0.05f
#define PARTICLE_DEPTH (-7.0f)

class CBoardEffects : public IBoardEffects {
public:
    CParticleSystem* particleSystem;  // null while the device is lost
    CEffectList* effects;             // null outside a round

    CBoardEffects();
    ~CBoardEffects() override;

    // LoadObjs: a new particle system with the particle texture.
    void LoadObjs(kvrTexture* particleTexture);
    // DestroyObjs: releases and deletes the particle system; the effects keep running.
    void DestroyObjs();

    void NewEffectList() override;
    void StartBurst(BoardBurst burst, int col, int row) override;
    // The return to the main form: every running effect goes.
    void DestroyEffects();

    // The frame's particles: world = identity, lock, update every effect, flush.
    void DrawEffects();

    // Where a burst of cell (col, row) goes off.
    static D3DXVECTOR3 BurstPosition(int col, int row);

    CBoardEffects(const CBoardEffects&) = delete;
    CBoardEffects& operator=(const CBoardEffects&) = delete;
};

#endif
