// The particles of the board's worst frame for the benchmarks: two pair explosions and
// twenty path sparks in flight (400 sprites), updated and flushed through the board's
// effects (Engine); and the same 400 four-vertex strips with the same 32 x 32 texture and
// the same additive blending, written, uploaded and drawn one strip each by plain OpenGL
// (Plain).
#ifndef VEXA_BENCH_PARTICLES_SCENE_H
#define VEXA_BENCH_PARTICLES_SCENE_H

#include "engine_window.h"
#include "plain_gl.h"

#include <BoardEffects.h>
#include <ParticleSystem.h>

#include <KvD3D9.h>
#include <KvLib.h>

#include <cmath>
#include <stdlib.h>
#include <vector>

namespace particles {

constexpr int kWidth = 900;
constexpr int kHeight = 675;
constexpr int kTexture = 32;

// A round glow, white in the middle and black at the rim, as a particle picture is.
inline std::vector<uint32_t> GlowPixels()
{
    std::vector<uint32_t> p(kTexture * kTexture);
    for (int y = 0; y < kTexture; ++y)
        for (int x = 0; x < kTexture; ++x) {
            const float dx = (x + 0.5f) / kTexture * 2 - 1, dy = (y + 0.5f) / kTexture * 2 - 1;
            const float f = std::fmax(0.0f, 1.0f - std::sqrt(dx * dx + dy * dy));
            const uint32_t c = uint32_t(f * 255.0f);
            p[size_t(y * kTexture + x)] = 0xFF000000u | c << 16 | c << 8 | c;
        }
    return p;
}

inline D3DXMATRIX BoardViewProjection(D3DXMATRIX* view, D3DXMATRIX* projection)
{
    const D3DXVECTOR3 eye(0.0f, 0.0f, -9.0f), at(0.0f, 0.0f, 0.0f), up(0.0f, 1.0f, 0.0f);
    D3DXMatrixLookAtLH(view, &eye, &at, &up);
    D3DXMatrixPerspectiveFovLH(projection, 1.0471976f, float(kWidth) / kHeight, 0.015625f, 20.0f);
    return *view * *projection;
}

// Starts the worst frame's bursts, copies times over, and runs the clock until every
// particle is out and none has ended; then the clock stands still, so each later update
// moves and draws the same 400 sprites.
inline void StartWorstFrame(CBoardEffects& effects, int copies)
{
    srand(1);
    fAppTime = 0.0f;
    effects.NewEffectList();
    for (int c = 0; c < copies; ++c) {
        effects.StartBurst(BURST_PAIR_EXPLOSION, 2, 3);
        effects.StartBurst(BURST_PAIR_EXPLOSION, 6, 3);
        for (int i = 0; i < 20; ++i)
            effects.StartBurst(BURST_PATH_SPARK, 2 + i % 5, 3 + i / 5);
    }
    fElapsedTime = 1.0f / 60.0f;
    for (int frame = 0; frame < 30; ++frame) {
        fAppTime += fElapsedTime;
        effects.effects->UpdateAll();
    }
    fElapsedTime = 0.0f;
}

// ---- through the engine: pre, a kvD3D is initialised ----------------------------------
class Engine {
public:
    CBoardEffects effects;

    explicit Engine(int copies)
    {
        glow_ = FilledTexture(pd3dDevice, kTexture, GlowPixels());
        texture_ = new kvrTexture(glow_);
        effects.LoadObjs(texture_);
        StartWorstFrame(effects, copies);
    }
    ~Engine()
    {
        effects.DestroyEffects();
        effects.DestroyObjs();
        delete texture_;
        glow_->Release();
    }
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // Inside a scene: the board's camera, then one update and flush of every effect.
    void Draw()
    {
        D3DXMATRIX view, projection;
        BoardViewProjection(&view, &projection);
        pd3dDevice->SetTransform(D3DTS_VIEW, &view);
        pd3dDevice->SetTransform(D3DTS_PROJECTION, &projection);
        pd3dDevice->SetRenderState(D3DRS_LIGHTING, FALSE);
        effects.DrawEffects();
    }

private:
    IDirect3DTexture9* glow_ = nullptr;
    kvrTexture* texture_ = nullptr;
};

// ---- plain OpenGL: pre, a plain::Context is current -----------------------------------
const char* const kVertexShader = R"(#version 330 core
layout(location = 0) in vec3 position;
layout(location = 1) in vec4 colour;
layout(location = 2) in vec2 uv;
uniform mat4 viewProjection;
out vec4 tint;
out vec2 texCoord;
void main() {
    gl_Position = viewProjection * vec4(position, 1.0);
    tint = colour;
    texCoord = uv;
})";
const char* const kFragmentShader = R"(#version 330 core
in vec4 tint;
in vec2 texCoord;
uniform sampler2D glow;
out vec4 result;
void main() { result = texture(glow, texCoord) * tint; })";

class Plain {
public:
    std::vector<D3DXVECTOR3> centres;  // the same places the engine's bursts hold
    std::vector<float> ages;

    explicit Plain(const CBoardEffects& scene)
    {
        for (CParticleEffect* e = scene.effects->sentinel->nextEffect;
             e != scene.effects->sentinel; e = e->nextEffect)
            for (Particle* p = e->particles; p; p = p->next) {
                centres.push_back(p->start + (fAppTime - p->birthTime) * p->velocity);
                ages.push_back((fAppTime - p->birthTime) * e->invLife);
            }
        sprites_.resize(centres.size() * 4);
        program_ = plain::Program(kVertexShader, kFragmentShader);
        glUseProgram(program_);
        D3DXMATRIX view, projection;
        const D3DXMATRIX vp = BoardViewProjection(&view, &projection);
        // Row vectors times the Direct3D matrix are this column-major matrix times columns.
        glUniformMatrix4fv(glGetUniformLocation(program_, "viewProjection"), 1, GL_FALSE, &vp._11);
        glGenVertexArrays(1, &vao_);
        glBindVertexArray(vao_);
        glGenBuffers(1, &vbo_);
        glBindBuffer(GL_ARRAY_BUFFER, vbo_);
        glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(16384 * 4 * sizeof(Sprite)), nullptr,
                     GL_STREAM_DRAW);
        glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(Sprite), nullptr);
        glVertexAttribPointer(1, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(Sprite),
                              reinterpret_cast<void*>(12));
        glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, sizeof(Sprite),
                              reinterpret_cast<void*>(16));
        for (GLuint a = 0; a < 3; ++a)
            glEnableVertexAttribArray(a);
        const std::vector<uint32_t> pixels = GlowPixels();
        glGenTextures(1, &texture_);
        glBindTexture(GL_TEXTURE_2D, texture_);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kTexture, kTexture, 0, GL_BGRA,
                     GL_UNSIGNED_INT_8_8_8_8_REV, pixels.data());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    }
    ~Plain()
    {
        glDeleteTextures(1, &texture_);
        glDeleteBuffers(1, &vbo_);
        glDeleteVertexArrays(1, &vao_);
        glDeleteProgram(program_);
    }
    Plain(const Plain&) = delete;
    Plain& operator=(const Plain&) = delete;

    // The same sprites written, uploaded and drawn one strip each, as the engine does.
    void Draw()
    {
        glUseProgram(program_);
        glBindVertexArray(vao_);
        glBindBuffer(GL_ARRAY_BUFFER, vbo_);
        glBindTexture(GL_TEXTURE_2D, texture_);
        glEnable(GL_DEPTH_TEST);
        glDepthMask(GL_FALSE);
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE);
        const float h = 0.025f;
        for (size_t i = 0; i < centres.size(); ++i) {
            const D3DXVECTOR3& c = centres[i];
            const uint32_t a =
                uint32_t(std::fmin(1.0f, std::fmax(0.0f, 1.0f - ages[i])) * 255.0f + 0.5f);
            const uint32_t colour = a << 24 | 0xFFFFFFu;
            Sprite* s = &sprites_[i * 4];
            s[0] = {c.x - h, c.y - h, c.z, colour, 0, 1};
            s[1] = {c.x - h, c.y + h, c.z, colour, 0, 0};
            s[2] = {c.x + h, c.y - h, c.z, colour, 1, 1};
            s[3] = {c.x + h, c.y + h, c.z, colour, 1, 0};
        }
        glBufferSubData(GL_ARRAY_BUFFER, 0, GLsizeiptr(sprites_.size() * sizeof(Sprite)),
                        sprites_.data());
        for (size_t i = 0; i < centres.size(); ++i)
            glDrawArrays(GL_TRIANGLE_STRIP, GLint(i * 4), 4);
    }

private:
    struct Sprite {
        float x, y, z;
        uint32_t colour;
        float u, v;
    };

    GLuint program_ = 0, vao_ = 0, vbo_ = 0, texture_ = 0;
    std::vector<Sprite> sprites_;
};

}  // namespace particles

#endif
