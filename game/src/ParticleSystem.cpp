// CParticleSystem: sprites written straight into a dynamic buffer locked without
// overwrite, batch after batch round the buffer, so the device never waits for a draw
// still reading earlier slots.
#include "ParticleSystem.h"

#include <kvException.h>
#include <kvD3D.h>
#include <kvrTexture.h>

#include <algorithm>

namespace {

BYTE ColourByte(float c)
{
    return BYTE(std::clamp(c, 0.0f, 1.0f) * 255.0f + 0.5f);
}

}  // namespace

CParticleSystem::CParticleSystem()
    : startColour{1.0f, 1.0f, 1.0f, 1.0f}, endColour{1.0f, 1.0f, 1.0f, 0.0f}, drawStart(0),
      writeIndex(0), capacity(0), cursor(nullptr), vertexBuffer(nullptr), texture(nullptr)
{
}

CParticleSystem::~CParticleSystem()
{
    Release();
}

void CParticleSystem::Create(kvrTexture* particleTexture, DWORD slots, const float start[4],
                             const float end[4])
{
    Release();
    texture = particleTexture;
    capacity = slots;
    drawStart = writeIndex = 0;
    std::copy(start, start + 4, startColour);
    std::copy(end, end + 4, endColour);
    if (!pd3dDevice || slots == 0 ||
        FAILED(pd3dDevice->CreateVertexBuffer(UINT(slots * PARTICLE_SLOT_BYTES),
                                              D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC, PARTICLE_FVF,
                                              D3DPOOL_DEFAULT, &vertexBuffer, nullptr))) {
        vertexBuffer = nullptr;
        capacity = 0;
        NewException("Failed to create vertex buffer for particles.", KVEXCEPTION_GENERAL);
    }
}

void CParticleSystem::Release()
{
    if (!vertexBuffer)
        return;
    if (cursor)
        vertexBuffer->Unlock();
    cursor = nullptr;
    vertexBuffer->Release();
    vertexBuffer = nullptr;
}

void CParticleSystem::Lock()
{
    if (!vertexBuffer || cursor)
        return;
    const DWORD slots = std::min<DWORD>(capacity - drawStart, PARTICLE_BATCH);
    void* bytes = nullptr;
    if (SUCCEEDED(vertexBuffer->Lock(UINT(drawStart * PARTICLE_SLOT_BYTES),
                                     UINT(slots * PARTICLE_SLOT_BYTES), &bytes,
                                     D3DLOCK_NOOVERWRITE)))
        cursor = static_cast<BYTE*>(bytes);
}

DWORD CParticleSystem::ColourAt(float t) const
{
    BYTE c[4];
    for (int i = 0; i < 4; ++i)
        c[i] = ColourByte(startColour[i] + (endColour[i] - startColour[i]) * t);
    return D3DCOLOR_ARGB(c[3], c[0], c[1], c[2]);
}

void CParticleSystem::AddParticle(const D3DXVECTOR3& position, float size, float ageFraction)
{
    if (writeIndex < drawStart || writeIndex - drawStart >= PARTICLE_BATCH) {
        Flush();
        Lock();
    }
    // Without a lock (no buffer, or the lock refused) the sprite is dropped.
    if (!cursor)
        return;
    const DWORD colour = ColourAt(ageFraction);
    const float h = size * 0.5f;
    static const float kCorner[4][4] = {
        {-1.0f, -1.0f, 0.0f, 1.0f}, {-1.0f, 1.0f, 0.0f, 0.0f},
        {1.0f, -1.0f, 1.0f, 1.0f}, {1.0f, 1.0f, 1.0f, 0.0f}};
    auto* v = reinterpret_cast<ParticleVertex*>(cursor);
    for (int i = 0; i < 4; ++i)
        v[i] = ParticleVertex{position.x + kCorner[i][0] * h, position.y + kCorner[i][1] * h,
                              position.z, colour, kCorner[i][2], kCorner[i][3]};
    cursor += PARTICLE_SLOT_BYTES;
    writeIndex = (writeIndex + 1) % capacity;
}

void CParticleSystem::Flush()
{
    if (!vertexBuffer)
        return;
    if (cursor) {
        vertexBuffer->Unlock();
        cursor = nullptr;
    }
    pd3dDevice->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    pd3dDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    pd3dDevice->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
    pd3dDevice->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
    pd3dDevice->SetFVF(PARTICLE_FVF);
    pd3dDevice->SetStreamSource(0, vertexBuffer, 0, sizeof(ParticleVertex));
    pd3dDevice->SetTexture(0, texture ? texture->Get() : nullptr);
    // A wrapped batch ends at the buffer's end; what follows the wrap is the next
    // flush's, which AddParticle forces before writing past it.
    DrawSlots(drawStart, writeIndex < drawStart ? capacity : writeIndex);
    drawStart = writeIndex;
}

void CParticleSystem::DrawSlots(DWORD first, DWORD end)
{
    for (DWORD slot = first; slot < end; ++slot)
        pd3dDevice->DrawPrimitive(D3DPT_TRIANGLESTRIP, UINT(slot * 4), 2);
}
