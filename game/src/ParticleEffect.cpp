// CParticleEffect, CExplosion and CEffectList. Random draws come from the C library
// generator, three per particle in the order ring angle, cone angle, speed, so a seeded
// srand replays a burst exactly.
#include "ParticleEffect.h"

#include "ParticleSystem.h"

#include <kvApplication.h>

#include <algorithm>
#include <cmath>
#include <stdlib.h>

namespace {

const float kTwoPi = 6.28318531f;

// The emitter is written for a generator of 0..32767. glibc's rand reaches 2^31 - 1;
// its low fifteen bits are uniform over that range.
float Draw15()
{
    return float(rand() & 0x7FFF);
}

// Rows are the images of x, y and z (D3DX row vectors): y goes onto the direction.
void BuildOrientation(D3DXMATRIX* m, const D3DXVECTOR3& direction)
{
    D3DXMatrixIdentity(m);
    D3DXVECTOR3 y = direction;
    const float length = std::sqrt(y.x * y.x + y.y * y.y + y.z * y.z);
    if (!(length > 0.0f))
        return;
    y *= 1.0f / length;
    // Any helper not parallel to y gives the same cone.
    const D3DXVECTOR3 helper = std::fabs(y.y) < 0.9f ? D3DXVECTOR3(0.0f, 1.0f, 0.0f)
                                                     : D3DXVECTOR3(0.0f, 0.0f, 1.0f);
    D3DXVECTOR3 x, z;
    D3DXVec3Cross(&x, &y, &helper);
    D3DXVec3Normalize(&x, &x);
    D3DXVec3Cross(&z, &x, &y);
    m->_11 = x.x, m->_12 = x.y, m->_13 = x.z;
    m->_21 = y.x, m->_22 = y.y, m->_23 = y.z;
    m->_31 = z.x, m->_32 = z.y, m->_33 = z.z;
}

}  // namespace

CParticleEffect::CParticleEffect()
    : nextEffect(this), particles(nullptr), direction(0.0f, 1.0f, 0.0f),
      origin(0.0f, 0.0f, 0.0f), budget(0), emitted(0), died(0), rate(0), spread(0.0f),
      life(1.0f), gravity(0.0f), speed(0.0f), radius(0.0f), invLife(1.0f), clock(0.0f),
      keep(false)
{
    D3DXMatrixIdentity(&orientation);
}

CParticleEffect::~CParticleEffect()
{
    while (particles) {
        Particle* next = particles->next;
        delete particles;
        particles = next;
    }
}

void CParticleEffect::RenderParticle(Particle*) {}

void CParticleEffect::Start(DWORD particleBudget, DWORD particlesPerSecond,
                            const D3DXVECTOR3& emitDirection, const D3DXVECTOR3& emitOrigin,
                            float ringRadius, float topSpeed, float spreadDegrees,
                            float lifeSeconds, float fall)
{
    budget = particleBudget;
    rate = particlesPerSecond;
    direction = emitDirection;
    origin = emitOrigin;
    radius = ringRadius;
    speed = topSpeed;
    spread = spreadDegrees;
    life = lifeSeconds;
    gravity = fall;
    emitted = died = 0;
    clock = 0.0f;
    invLife = 1.0f / life;
    BuildOrientation(&orientation, direction);
}

void CParticleEffect::Update()
{
    for (Particle** link = &particles; *link;) {
        Particle* p = *link;
        const float age = fAppTime - p->birthTime;
        if (age <= life) {
            p->position = p->start + age * p->velocity;
            p->position.y -= gravity * 0.5f * age * age;
            RenderParticle(p);
            link = &p->next;
        } else {
            ++died;
            *link = p->next;
            delete p;
        }
    }
    Emit();
}

void CParticleEffect::Emit()
{
    clock += fElapsedTime;
    const float due = clock * float(rate);
    // Beyond the range of a count the burst simply makes all that is left.
    const DWORD wanted = due >= 4294967040.0f ? 0xFFFFFFFFu : DWORD(due);
    DWORD made = 0;
    // The remaining budget shrinks as the loop emits, so the last frames of a burst make
    // about half of what is left each time.
    for (DWORD i = 0; i < std::min(budget - emitted, wanted); ++i) {
        const float d = Draw15(), e = Draw15(), g = Draw15();
        const float theta = d / 32767.0f * kTwoPi;
        const float phi = e / 32767.0f * kTwoPi * (spread / 360.0f);
        const float v = float((int(g) % 10922) + 21844) / 32767.0f * speed;
        auto* p = new Particle;
        p->start = origin + D3DXVECTOR3(radius * std::cos(theta), 0.0f, radius * std::sin(theta));
        const D3DXVECTOR3 local(v * std::cos(theta) * std::sin(phi), v * std::cos(phi),
                                v * std::sin(theta) * std::sin(phi));
        D3DXVec3TransformNormal(&p->velocity, &local, &orientation);
        p->birthTime = fAppTime;
        p->position = p->start + fElapsedTime * p->velocity;
        p->next = particles;
        particles = p;
        ++emitted;
        ++made;
    }
    if (made)
        clock = 0.0f;
}

CExplosion::CExplosion(CParticleSystem* const* particleSystem, float spriteSize)
    : system(particleSystem), size(spriteSize)
{
}

void CExplosion::RenderParticle(Particle* particle)
{
    if (system && *system)
        (*system)->AddParticle(particle->position, size,
                               (fAppTime - particle->birthTime) * invLife);
}

CEffectList::CEffectList() : sentinel(new CParticleEffect) {}

CEffectList::~CEffectList()
{
    DestroyAll();
}

void CEffectList::Push(CParticleEffect* effect)
{
    if (!sentinel) {
        delete effect;
        return;
    }
    effect->nextEffect = sentinel->nextEffect;
    sentinel->nextEffect = effect;
}

void CEffectList::UpdateAll()
{
    if (!sentinel)
        return;
    CParticleEffect* previous = sentinel;
    for (CParticleEffect* e = sentinel->nextEffect; e != sentinel;) {
        e->Update();
        CParticleEffect* next = e->nextEffect;
        if (e->IsFinished()) {
            previous->nextEffect = next;
            e->nextEffect = e;
            if (!e->keep)
                delete e;
        } else {
            previous = e;
        }
        e = next;
    }
}

void CEffectList::DestroyAll()
{
    if (!sentinel)
        return;
    for (CParticleEffect* e = sentinel->nextEffect; e != sentinel;) {
        CParticleEffect* next = e->nextEffect;
        delete e;
        e = next;
    }
    delete sentinel;
    sentinel = nullptr;
}
