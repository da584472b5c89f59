// Frames per second of the engine's 2D drawing on the platform's Direct3D: N textured,
// alpha-blended quads through kvD3D::Blt and N filled bars through kvD3D::Bar, one draw
// call each as the engine issues them. Beside them, the same quads drawn by a minimal
// OpenGL program of this benchmark's own (one buffer update and one draw per quad, into
// a framebuffer of the same size, blitted and swapped), so the cost of the Direct3D layer
// reads as the ratio of the two, printed after the run. Run: build/bin/d3d_quads_bench
#include "twin_report.h"

#include <KvD3D9.h>
#include <KvLib.h>
#include <Zeb.h>

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <vexa/graphics.h>
#include <epoxy/gl.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {
constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kTexture = 32;
char kClass[] = "VexaTesselBench";
char kCaption[] = "Quads";

// A 32 x 32 picture whose alpha falls from left to right, as a GUI sprite's edge does.
std::vector<uint32_t> SpritePixels()
{
    std::vector<uint32_t> p(kTexture * kTexture);
    for (int y = 0; y < kTexture; ++y)
        for (int x = 0; x < kTexture; ++x)
            p[size_t(y * kTexture + x)] = uint32_t(255 - x * 8) << 24 | uint32_t(y * 8) << 16 |
                                          0x8000u | uint32_t(x * 8);
    return p;
}

// Where quad i goes: spread over the screen, overlapping as a busy screen does.
void QuadPlace(int i, int* x, int* y)
{
    *x = (i * 37) % (kWidth - 64);
    *y = (i * 53) % (kHeight - 64);
}

// ---- the engine's path -------------------------------------------------------------
struct Engine {
    kvD3D* d3d = nullptr;
    IDirect3DTexture9* sprite = nullptr;

    Engine()
    {
        kvCreateWindow(kClass, kCaption, SW_SHOW, nullptr, kWidth, kHeight,
                       KVWIN_WINDOWED | KVWIN_FIXEDSIZE | KVWIN_REALTIME);
        d3d = new kvD3D(0, 0, false);
        d3d->Init();
        d3d->pDevice->CreateTexture(kTexture, kTexture, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
                                    &sprite, nullptr);
        D3DLOCKED_RECT locked = {};
        sprite->LockRect(0, &locked, nullptr, 0);
        const std::vector<uint32_t> pixels = SpritePixels();
        for (int y = 0; y < kTexture; ++y)
            std::memcpy(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch,
                        &pixels[size_t(y * kTexture)], kTexture * 4);
        sprite->UnlockRect(0);
    }
    ~Engine()
    {
        sprite->Release();
        delete d3d;
        DestroyWindow(hWnd);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
};

// One frame of n quads, textured and blended or filled, then presented.
void EngineFrame(Engine& engine, int n, bool textured)
{
    engine.d3d->ClearScreen(0xFF203040, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
    engine.d3d->BeginScene();
    for (int i = 0; i < n; ++i) {
        int x, y;
        QuadPlace(i, &x, &y);
        if (textured) {
            KVD3DRECT r = {x, y, x + 64, y + 64, 0.0f, 0.0f, 1.0f, 1.0f};
            engine.d3d->Blt(&r, engine.sprite, true);
        } else {
            engine.d3d->Bar(x, y, x + 64, y + 64, 0x80FF8040);
        }
    }
    engine.d3d->EndScene();
    engine.d3d->UpdateScreen();
}

void BM_EngineBltQuads(benchmark::State& state)
{
    Engine engine;
    twin::FrameClock clock;
    for (auto _ : state)
        EngineFrame(engine, int(state.range(0)), true);
    clock.Finish(state);
}

void BM_EngineBars(benchmark::State& state)
{
    Engine engine;
    twin::FrameClock clock;
    for (auto _ : state)
        EngineFrame(engine, int(state.range(0)), false);
    clock.Finish(state);
}

// ---- the baseline: plain OpenGL ---------------------------------------------------
const char* kVertexShader = R"(#version 330 core
layout(location = 0) in vec2 pixel;
layout(location = 1) in vec2 uv;
uniform vec2 screen;
out vec2 texCoord;
void main() {
    gl_Position = vec4(pixel.x / screen.x * 2.0 - 1.0, 1.0 - pixel.y / screen.y * 2.0, 0.0, 1.0);
    texCoord = uv;
})";
const char* kFragmentShader = R"(#version 330 core
in vec2 texCoord;
uniform sampler2D sprite;
uniform vec4 colour;
uniform int textured;
out vec4 result;
void main() { result = textured != 0 ? texture(sprite, texCoord) : colour; })";

struct Baseline {
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    GLuint program = 0, vao = 0, vbo = 0, texture = 0, fbo = 0, colourBuffer = 0;
    GLint texturedAt = -1, colourAt = -1;

    Baseline()
    {
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
        glUniform2f(glGetUniformLocation(program, "screen"), float(kWidth), float(kHeight));
        texturedAt = glGetUniformLocation(program, "textured");
        colourAt = glGetUniformLocation(program, "colour");
        glGenVertexArrays(1, &vao);
        glBindVertexArray(vao);
        glGenBuffers(1, &vbo);
        glBindBuffer(GL_ARRAY_BUFFER, vbo);
        glBufferData(GL_ARRAY_BUFFER, 16 * sizeof(float), nullptr, GL_STREAM_DRAW);
        glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 4 * sizeof(float), nullptr);
        glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 4 * sizeof(float),
                              reinterpret_cast<void*>(2 * sizeof(float)));
        glEnableVertexAttribArray(0);
        glEnableVertexAttribArray(1);
        const std::vector<uint32_t> pixels = SpritePixels();
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kTexture, kTexture, 0, GL_BGRA,
                     GL_UNSIGNED_INT_8_8_8_8_REV, pixels.data());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glGenRenderbuffers(1, &colourBuffer);
        glBindRenderbuffer(GL_RENDERBUFFER, colourBuffer);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, kWidth, kHeight);
        glGenFramebuffers(1, &fbo);
        glBindFramebuffer(GL_FRAMEBUFFER, fbo);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                                  colourBuffer);
        glViewport(0, 0, kWidth, kHeight);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    ~Baseline()
    {
        glDeleteFramebuffers(1, &fbo);
        glDeleteRenderbuffers(1, &colourBuffer);
        glDeleteTextures(1, &texture);
        glDeleteBuffers(1, &vbo);
        glDeleteVertexArrays(1, &vao);
        glDeleteProgram(program);
        SDL_GL_DeleteContext(context);
        SDL_DestroyWindow(window);
    }

    void Frame(int n, bool textured)
    {
        glBindFramebuffer(GL_FRAMEBUFFER, fbo);
        glClearColor(0.125f, 0.1875f, 0.25f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glUniform1i(texturedAt, textured ? 1 : 0);
        glUniform4f(colourAt, 1.0f, 0.5f, 0.25f, 0.5f);
        for (int i = 0; i < n; ++i) {
            int x, y;
            QuadPlace(i, &x, &y);
            const float l = float(x), t = float(y), r = l + 64, b = t + 64;
            const float v[16] = {l, b, 0, 1, l, t, 0, 0, r, b, 1, 1, r, t, 1, 0};
            glBufferSubData(GL_ARRAY_BUFFER, 0, sizeof v, v);
            glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
        }
        glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        glBlitFramebuffer(0, 0, kWidth, kHeight, 0, 0, kWidth, kHeight, GL_COLOR_BUFFER_BIT,
                          GL_NEAREST);
        SDL_GL_SwapWindow(window);
    }
};

void BM_BaselineTexturedQuads(benchmark::State& state)
{
    Baseline gl;
    twin::FrameClock clock;
    for (auto _ : state)
        gl.Frame(int(state.range(0)), true);
    glFinish();
    clock.Finish(state);
}

void BM_BaselineColourQuads(benchmark::State& state)
{
    Baseline gl;
    twin::FrameClock clock;
    for (auto _ : state)
        gl.Frame(int(state.range(0)), false);
    glFinish();
    clock.Finish(state);
}
}  // namespace

BENCHMARK(BM_BaselineTexturedQuads)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BaselineColourQuads)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EngineBltQuads)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EngineBars)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    // Headless unless told otherwise; the figures are llvmpipe's on a machine without a GPU.
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    // Frames are timed as fast as they draw, not as often as a display would show them.
    vexa::platform::SetPresentPacing(false);
    return twin::RunTwins(
        argc, argv,
        {{"100 textured quads", "BM_EngineBltQuads/100/real_time",
          "BM_BaselineTexturedQuads/100/real_time"},
         {"1000 textured quads", "BM_EngineBltQuads/1000/real_time",
          "BM_BaselineTexturedQuads/1000/real_time"},
         {"100 bars", "BM_EngineBars/100/real_time", "BM_BaselineColourQuads/100/real_time"},
         {"1000 bars", "BM_EngineBars/1000/real_time", "BM_BaselineColourQuads/1000/real_time"}});
}
