// The particles of the board's worst frame: two pair explosions and twenty path sparks in
// flight (400 sprites). BM_ParticleUpdateFlush times the CPU side of one particle update
// and flush through the engine (clear and present left out); the frame benchmarks draw
// and present the whole particle half of that frame through the engine and through a
// plain OpenGL program of this benchmark's own with the same 400 four-vertex strips, the
// same 32 x 32 texture and the same additive blending, so the Direct3D layer's cost reads
// as the ratio of the two. Run: build/bin/particle_bench
#include <BoardEffects.h>
#include <ParticleSystem.h>

#include <KvD3D9.h>
#include <KvLib.h>
#include <Zeb.h>

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <epoxy/gl.h>

#include <cmath>
#include <cstring>
#include <stdlib.h>
#include <vector>

namespace {
constexpr int kWidth = 900;
constexpr int kHeight = 675;
constexpr int kTexture = 32;
char kClass[] = "VexaTesselParticleBench";
char kCaption[] = "Particles";

// A round glow, white in the middle and black at the rim, as a particle picture is.
std::vector<uint32_t> GlowPixels()
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

D3DXMATRIX BoardViewProjection(D3DXMATRIX* view, D3DXMATRIX* projection)
{
    const D3DXVECTOR3 eye(0.0f, 0.0f, -9.0f), at(0.0f, 0.0f, 0.0f), up(0.0f, 1.0f, 0.0f);
    D3DXMatrixLookAtLH(view, &eye, &at, &up);
    D3DXMatrixPerspectiveFovLH(projection, 1.0471976f, float(kWidth) / kHeight, 0.015625f, 20.0f);
    return *view * *projection;
}

// Starts the worst frame's bursts, copies times over, and runs the clock until every
// particle is out and none has ended; then the clock stands still, so each later update
// moves and draws the same 400 sprites.
void StartWorstFrame(CBoardEffects& effects, int copies)
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

// ---- the engine's path -------------------------------------------------------------
struct Engine {
    kvD3D* d3d = nullptr;
    IDirect3DTexture9* glow = nullptr;
    kvrTexture* texture = nullptr;
    CBoardEffects effects;

    Engine()
    {
        kvCreateWindow(kClass, kCaption, SW_SHOW, nullptr, kWidth, kHeight,
                       KVWIN_WINDOWED | KVWIN_FIXEDSIZE | KVWIN_REALTIME);
        d3d = new kvD3D(1, 0, false);
        d3d->Init();
        d3d->pDevice->CreateTexture(kTexture, kTexture, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
                                    &glow, nullptr);
        D3DLOCKED_RECT locked = {};
        glow->LockRect(0, &locked, nullptr, 0);
        const std::vector<uint32_t> pixels = GlowPixels();
        for (int y = 0; y < kTexture; ++y)
            std::memcpy(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch,
                        &pixels[size_t(y * kTexture)], kTexture * 4);
        glow->UnlockRect(0);
        texture = new kvrTexture(glow);
        effects.LoadObjs(texture);
        IDirect3DDevice9* dev = d3d->pDevice;
        D3DXMATRIX view, projection;
        BoardViewProjection(&view, &projection);
        dev->SetTransform(D3DTS_VIEW, &view);
        dev->SetTransform(D3DTS_PROJECTION, &projection);
        dev->SetRenderState(D3DRS_LIGHTING, FALSE);
    }
    ~Engine()
    {
        effects.DestroyEffects();
        effects.DestroyObjs();
        delete texture;
        glow->Release();
        delete d3d;
        DestroyWindow(hWnd);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    void Begin()
    {
        d3d->ClearScreen(0xFF203040, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
        d3d->BeginScene();
    }
    void End()
    {
        d3d->EndScene();
        d3d->UpdateScreen();
    }
};

void CountFrames(benchmark::State& state)
{
    state.counters["fps"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_ParticleUpdateFlush(benchmark::State& state)
{
    Engine engine;
    StartWorstFrame(engine.effects, int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        engine.Begin();
        state.ResumeTiming();
        engine.effects.DrawEffects();
        state.PauseTiming();
        engine.End();
        state.ResumeTiming();
    }
    state.counters["sprites"] = double(400 * state.range(0));
}

void BM_EngineParticleFrame(benchmark::State& state)
{
    Engine engine;
    StartWorstFrame(engine.effects, 1);
    for (auto _ : state) {
        engine.Begin();
        engine.effects.DrawEffects();
        engine.End();
    }
    CountFrames(state);
}

// ---- the baseline: plain OpenGL ---------------------------------------------------
const char* kVertexShader = R"(#version 330 core
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
const char* kFragmentShader = R"(#version 330 core
in vec4 tint;
in vec2 texCoord;
uniform sampler2D glow;
out vec4 result;
void main() { result = texture(glow, texCoord) * tint; })";

struct Sprite {
    float x, y, z;
    uint32_t colour;
    float u, v;
};

struct Baseline {
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    GLuint program = 0, vao = 0, vbo = 0, texture = 0, fbo = 0, colourBuffer = 0, depth = 0;
    std::vector<D3DXVECTOR3> centres;  // the same 400 places the engine's bursts hold
    std::vector<float> ages;
    std::vector<Sprite> sprites;

    explicit Baseline(const CBoardEffects& scene)
    {
        for (CParticleEffect* e = scene.effects->sentinel->nextEffect;
             e != scene.effects->sentinel; e = e->nextEffect)
            for (Particle* p = e->particles; p; p = p->next) {
                centres.push_back(p->start + (fAppTime - p->birthTime) * p->velocity);
                ages.push_back((fAppTime - p->birthTime) * e->invLife);
            }
        sprites.resize(centres.size() * 4);
        SDL_InitSubSystem(SDL_INIT_VIDEO);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
        window = SDL_CreateWindow("baseline", 0, 0, kWidth, kHeight, SDL_WINDOW_OPENGL);
        context = SDL_GL_CreateContext(window);
        SDL_GL_MakeCurrent(window, context);
        SDL_GL_SetSwapInterval(0);
        program = glCreateProgram();
        for (auto [kind, source] : {std::pair{GL_VERTEX_SHADER, kVertexShader},
                                    std::pair{GL_FRAGMENT_SHADER, kFragmentShader}}) {
            GLuint s = glCreateShader(GLenum(kind));
            glShaderSource(s, 1, &source, nullptr);
            glCompileShader(s);
            glAttachShader(program, s);
            glDeleteShader(s);
        }
        glLinkProgram(program);
        glUseProgram(program);
        D3DXMATRIX view, projection;
        const D3DXMATRIX vp = BoardViewProjection(&view, &projection);
        // Row vectors times the Direct3D matrix are this column-major matrix times columns.
        glUniformMatrix4fv(glGetUniformLocation(program, "viewProjection"), 1, GL_FALSE, &vp._11);
        glGenVertexArrays(1, &vao);
        glBindVertexArray(vao);
        glGenBuffers(1, &vbo);
        glBindBuffer(GL_ARRAY_BUFFER, vbo);
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
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kTexture, kTexture, 0, GL_BGRA,
                     GL_UNSIGNED_INT_8_8_8_8_REV, pixels.data());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glGenRenderbuffers(1, &colourBuffer);
        glBindRenderbuffer(GL_RENDERBUFFER, colourBuffer);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, kWidth, kHeight);
        glGenRenderbuffers(1, &depth);
        glBindRenderbuffer(GL_RENDERBUFFER, depth);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, kWidth, kHeight);
        glGenFramebuffers(1, &fbo);
        glBindFramebuffer(GL_FRAMEBUFFER, fbo);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                                  colourBuffer);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                                  depth);
        glViewport(0, 0, kWidth, kHeight);
        glEnable(GL_DEPTH_TEST);
        glDepthMask(GL_FALSE);
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE);
    }
    ~Baseline()
    {
        glDeleteFramebuffers(1, &fbo);
        glDeleteRenderbuffers(1, &colourBuffer);
        glDeleteRenderbuffers(1, &depth);
        glDeleteTextures(1, &texture);
        glDeleteBuffers(1, &vbo);
        glDeleteVertexArrays(1, &vao);
        glDeleteProgram(program);
        SDL_GL_DeleteContext(context);
        SDL_DestroyWindow(window);
    }

    // The same sprites written, uploaded and drawn one strip each, as the engine does.
    void Frame()
    {
        glBindFramebuffer(GL_FRAMEBUFFER, fbo);
        glDepthMask(GL_TRUE);
        glClearColor(0.125f, 0.1875f, 0.25f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glDepthMask(GL_FALSE);
        const float h = 0.025f;
        for (size_t i = 0; i < centres.size(); ++i) {
            const D3DXVECTOR3& c = centres[i];
            const uint32_t a = uint32_t(std::fmin(1.0f, std::fmax(0.0f, 1.0f - ages[i])) * 255.0f + 0.5f);
            const uint32_t colour = a << 24 | 0xFFFFFFu;
            Sprite* s = &sprites[i * 4];
            s[0] = {c.x - h, c.y - h, c.z, colour, 0, 1};
            s[1] = {c.x - h, c.y + h, c.z, colour, 0, 0};
            s[2] = {c.x + h, c.y - h, c.z, colour, 1, 1};
            s[3] = {c.x + h, c.y + h, c.z, colour, 1, 0};
        }
        glBufferSubData(GL_ARRAY_BUFFER, 0, GLsizeiptr(sprites.size() * sizeof(Sprite)),
                        sprites.data());
        for (size_t i = 0; i < centres.size(); ++i)
            glDrawArrays(GL_TRIANGLE_STRIP, GLint(i * 4), 4);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        glBlitFramebuffer(0, 0, kWidth, kHeight, 0, 0, kWidth, kHeight, GL_COLOR_BUFFER_BIT,
                          GL_NEAREST);
        SDL_GL_SwapWindow(window);
    }
};

void BM_BaselineParticleFrame(benchmark::State& state)
{
    CBoardEffects scene;
    StartWorstFrame(scene, 1);
    Baseline gl(scene);
    state.counters["sprites"] = double(gl.centres.size());
    for (auto _ : state)
        gl.Frame();
    glFinish();
    CountFrames(state);
}
}  // namespace

BENCHMARK(BM_ParticleUpdateFlush)->Arg(1)->Arg(10)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BaselineParticleFrame)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EngineParticleFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    // Headless unless told otherwise; the figures are llvmpipe's on a machine without a GPU.
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
