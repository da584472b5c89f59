// CParticleEffect: an emitter of one burst of particles with its physics; CExplosion,
// the effect that draws its particles as sprites of the board's particle system; and
// CEffectList, the running effects round a sentinel.
//
// A burst emits budget particles at rate per second from a ring of radius round origin,
// into a cone of half-angle spread about direction; each particle flies for life seconds
// under gravity and is then freed. An effect is finished once every particle has ended.
#ifndef VEXA_PARTICLEEFFECT_H
#define VEXA_PARTICLEEFFECT_H

#include <d3dx9.h>

class CParticleSystem;

struct Particle {
    D3DXVECTOR3 position;
    D3DXVECTOR3 start;     // position at birth
    D3DXVECTOR3 velocity;  // units per second
    float birthTime;       // fAppTime at birth
    Particle* next;
};

// A budget of this value never runs out.
#define PARTICLE_BUDGET_ENDLESS 0xFFFFFFFFu

class CParticleEffect {
public:
    CParticleEffect* nextEffect;  // the running list's link
    Particle* particles;          // owned, newest first
    D3DXMATRIX orientation;       // takes the cone axis (0, 1, 0) onto direction
    D3DXVECTOR3 direction;
    D3DXVECTOR3 origin;
    DWORD budget;
    DWORD emitted;
    DWORD died;
    DWORD rate;
    float spread;  // degrees
    float life;    // seconds
    float gravity;
    float speed;
    float radius;
    float invLife;
    float clock;  // seconds since the last emission
    bool keep;    // a finished effect is unlinked but not deleted

    CParticleEffect();
    virtual ~CParticleEffect();
    virtual void RenderParticle(Particle* particle);

    void Start(DWORD particleBudget, DWORD particlesPerSecond, const D3DXVECTOR3& emitDirection,
               const D3DXVECTOR3& emitOrigin, float ringRadius, float topSpeed,
               float spreadDegrees, float lifeSeconds, float fall);
    // One frame: moves and renders the live particles, ends the old ones, emits new ones.
    void Update();
    bool IsFinished() const { return died >= budget; }

    CParticleEffect(const CParticleEffect&) = delete;
    CParticleEffect& operator=(const CParticleEffect&) = delete;

private:
    void Emit();
};

class CExplosion : public CParticleEffect {
public:
    // Pre: *particleSystem (the board's current system, null while the device is lost)
    // is read on every render, so the slot must outlive the effect.
    CExplosion(CParticleSystem* const* particleSystem, float spriteSize);
    void RenderParticle(Particle* particle) override;

    CParticleSystem* const* system;
    float size;
};

// The running effects: a list round a sentinel whose nextEffect is itself when empty.
class CEffectList {
public:
    CParticleEffect* sentinel;

    CEffectList();
    ~CEffectList();

    // Pushes at the front; the list owns the effect from now on.
    void Push(CParticleEffect* effect);
    // Updates every running effect once and removes the finished ones.
    void UpdateAll();
    // Deletes every effect, then the sentinel.
    void DestroyAll();
    bool IsEmpty() const { return !sentinel || sentinel->nextEffect == sentinel; }

    CEffectList(const CEffectList&) = delete;
    CEffectList& operator=(const CEffectList&) = delete;
};

#endif
