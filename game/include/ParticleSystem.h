// CParticleSystem: one dynamic vertex buffer that collects screen-parallel sprites and
// draws them with additive blending. A device object: built in LoadObjs, released in
// DestroyObjs.
//
// Invariant: the slots from drawStart up to writeIndex are written and not yet drawn;
// between Lock and Flush the buffer is locked from drawStart for at most 512 slots, and
// AddParticle flushes before writeIndex would leave the locked batch, so no write ever
// lands outside the lock. Slots wrap round at capacity.
#ifndef VEXA_PARTICLESYSTEM_H
#define VEXA_PARTICLESYSTEM_H

#include <d3d9.h>
#include <d3dx9.h>

class kvrTexture;

// One sprite corner as the buffer stores it (D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1).
struct ParticleVertex {
    float x, y, z;
    DWORD diffuse;
    float u, v;
};

#define PARTICLE_FVF (D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1)
#define PARTICLE_BATCH 512  // slots locked at once
#define PARTICLE_SLOT_BYTES (4 * sizeof(ParticleVertex))

class CParticleSystem {
public:
    float startColour[4];  // r, g, b, a at birth
    float endColour[4];    // r, g, b, a at the end of life
    DWORD drawStart;
    DWORD writeIndex;
    DWORD capacity;
    BYTE* cursor;  // write position inside the locked batch; null while unlocked
    IDirect3DVertexBuffer9* vertexBuffer;
    kvrTexture* texture;

    CParticleSystem();
    ~CParticleSystem();

    // Creates the buffer of capacity slots on pd3dDevice; raises "Failed to create vertex
    // buffer for particles." (type 0) when the device refuses it.
    void Create(kvrTexture* particleTexture, DWORD slots, const float start[4],
                const float end[4]);
    void Release();

    // Locks the next batch without overwrite.
    void Lock();
    // Adds one sprite of edge size centred on position, coloured for ageFraction (0 at
    // birth, 1 at the end of life).
    void AddParticle(const D3DXVECTOR3& position, float size, float ageFraction);
    // Unlocks and draws the slots written since the last flush.
    void Flush();

    // The sprite colour for an age fraction, as ARGB.
    DWORD ColourAt(float ageFraction) const;

    CParticleSystem(const CParticleSystem&) = delete;
    CParticleSystem& operator=(const CParticleSystem&) = delete;

private:
    void DrawSlots(DWORD first, DWORD end);
};

#endif
