// A busy GUI frame through the engine: 120 textured quads (kvD3D::Blt, filtered), 40
// blended bars (kvD3D::Bar) and 12 lines of mixed text through kvCFont (each line 12
// ASCII glyphs from the atlas and 13 hanzi from the glyph cache: two draws), in four
// rounds of panels, pictures and text as screens are drawn. Beside it, a plain OpenGL
// program of this benchmark's own draws the same quads with the same number of draw
// calls, the same textures (sizes and formats), filters and blending, so the Direct3D
// layer's cost per draw reads as the ratio of the two, printed after the run.
// Run: build/bin/mixed_frame_bench
#include "engine_window.h"
#include "plain_gl.h"
#include "twin_report.h"

#include <KvD3D9.h>
#include <KvFontD3D9.h>
#include <KvLib.h>
#include <Zeb.h>

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <epoxy/gl.h>
#include <vexa/graphics.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {
constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kSprite = 32;
constexpr int kRounds = 4;
constexpr int kQuadsPerRound = 30, kBarsPerRound = 10, kLinesPerRound = 3;
constexpr int kAsciiGlyphs = 12, kHanzi = 13;
// The fonts' textures at height 16 with a cache of size 1; the engine run checks them.
constexpr int kAtlas = 256, kCache = 256;
char kClass[] = "VexaTesselMixedBench";
char kCaption[] = "Mixed";

std::vector<uint32_t> SpritePixels()
{
    std::vector<uint32_t> p(kSprite * kSprite);
    for (int y = 0; y < kSprite; ++y)
        for (int x = 0; x < kSprite; ++x)
            p[size_t(y * kSprite + x)] = uint32_t(255 - x * 8) << 24 | uint32_t(y * 8) << 16 |
                                         0x8000u | uint32_t(x * 8);
    return p;
}

void QuadPlace(int i, int* x, int* y)
{
    *x = (i * 37) % (kWidth - 64);
    *y = (i * 53) % (kHeight - 64);
}

void BarPlace(int i, int* x, int* y)
{
    *x = (i * 71) % (kWidth - 200);
    *y = (i * 29) % (kHeight - 40);
}

int LineY(int line) { return 20 + line * 46; }

// "Score 12345 x3" and 13 hanzi of GB2312 level 1; the lines share none.
std::string Line(int n)
{
    std::string line = "Score 12345 x3";
    for (int i = 0; i < kHanzi; ++i) {
        const int index = n * kHanzi + i;
        line += char(0xB0 + index / 94);
        line += char(0xA1 + index % 94);
    }
    return line;
}

// ---- the engine's path -------------------------------------------------------------
struct Engine {
    kvD3D* d3d = nullptr;
    IDirect3DTexture9* sprite = nullptr;
    kvCFont* font = nullptr;
    std::vector<std::string> lines;

    Engine()
    {
        kvCreateWindow(kClass, kCaption, SW_SHOW, nullptr, kWidth, kHeight,
                       KVWIN_WINDOWED | KVWIN_FIXEDSIZE | KVWIN_REALTIME);
        d3d = new kvD3D(0, 0, false);
        d3d->Init();
        d3d->pDevice->CreateTexture(kSprite, kSprite, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
                                    &sprite, nullptr);
        D3DLOCKED_RECT locked = {};
        sprite->LockRect(0, &locked, nullptr, 0);
        const std::vector<uint32_t> pixels = SpritePixels();
        for (int y = 0; y < kSprite; ++y)
            std::memcpy(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch,
                        &pixels[size_t(y * kSprite)], kSprite * 4);
        sprite->UnlockRect(0);
        font = new kvCFont(d3d->pDevice);
        font->InitFont(16, WTEXT_LEFT, "", 1, false);
        for (int n = 0; n < kRounds * kLinesPerRound; ++n)
            lines.push_back(Line(n));
    }
    ~Engine()
    {
        delete font;
        sprite->Release();
        delete d3d;
        DestroyWindow(hWnd);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }

    void Frame()
    {
        d3d->ClearScreen(0xFF203040, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
        d3d->BeginScene();
        for (int round = 0; round < kRounds; ++round) {
            for (int i = round * kBarsPerRound; i < (round + 1) * kBarsPerRound; ++i) {
                int x, y;
                BarPlace(i, &x, &y);
                d3d->Bar(x, y, x + 200, y + 40, 0x80FF8040);
            }
            for (int i = round * kQuadsPerRound; i < (round + 1) * kQuadsPerRound; ++i) {
                int x, y;
                QuadPlace(i, &x, &y);
                KVD3DRECT r = {x, y, x + 64, y + 64, 0.0f, 0.0f, 1.0f, 1.0f};
                d3d->Blt(&r, sprite, true);
            }
            for (int n = round * kLinesPerRound; n < (round + 1) * kLinesPerRound; ++n)
                font->DrawTextExA(20, LineY(n), 0xFFFFFFE0, lines[size_t(n)].c_str(), 1.0f);
        }
        d3d->EndScene();
        d3d->UpdateScreen();
    }
};

void BM_EngineMixedFrame(benchmark::State& state)
{
    Engine engine;
    if (int(engine.font->TexWidth) != kAtlas || int(engine.font->CacheWidth) != kCache) {
        state.SkipWithError("the plain program's font textures no longer match the fonts'");
        return;
    }
    engine.Frame();  // brings every hanzi into the cache
    SaveBackBuffer(engine.d3d->pDevice, "mixed_engine");
    twin::FrameClock clock;
    for (auto _ : state)
        engine.Frame();
    clock.Finish(state);
}

// ---- the plain OpenGL twin ----------------------------------------------------------
const char* kVertexShader = R"(#version 330 core
layout(location = 0) in vec2 pixel;
layout(location = 1) in vec2 uv;
layout(location = 2) in vec4 colour;
uniform vec2 screen;
out vec2 texCoord;
out vec4 tint;
void main() {
    gl_Position = vec4(pixel.x / screen.x * 2.0 - 1.0, 1.0 - pixel.y / screen.y * 2.0, 0.0, 1.0);
    texCoord = uv;
    tint = colour;
})";
// mode 0: a picture; 1: a bar's colour; 2: a glyph tinted, its empty fringe dropped.
const char* kFragmentShader = R"(#version 330 core
in vec2 texCoord;
in vec4 tint;
uniform sampler2D picture;
uniform int mode;
out vec4 result;
void main() {
    if (mode == 1) { result = tint; return; }
    vec4 t = texture(picture, texCoord);
    if (mode == 0) { result = t; return; }
    result = t * tint;
    if (result.a < 8.0 / 255.0) discard;
})";

struct Vertex {
    float x, y, u, v;
    uint32_t colour;
};

struct Baseline {
    plain::Context gl{kWidth, kHeight};
    GLuint program = 0, vao = 0, vbo = 0;
    GLuint sprite = 0, atlas = 0, cache = 0;
    GLint modeAt = -1;
    int mode = -1;
    GLuint bound = 0;
    std::vector<Vertex> vertices;

    static GLuint Texture(GLenum format, int edge, GLenum type, const void* pixels, GLint filter)
    {
        GLuint t = 0;
        glGenTextures(1, &t);
        glBindTexture(GL_TEXTURE_2D, t);
        glTexImage2D(GL_TEXTURE_2D, 0, GLint(format), edge, edge, 0, GL_BGRA, type, pixels);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
        return t;
    }

    Baseline()
    {
        program = plain::Program(kVertexShader, kFragmentShader);
        glUseProgram(program);
        glUniform2f(glGetUniformLocation(program, "screen"), float(kWidth), float(kHeight));
        modeAt = glGetUniformLocation(program, "mode");
        glGenVertexArrays(1, &vao);
        glBindVertexArray(vao);
        glGenBuffers(1, &vbo);
        glBindBuffer(GL_ARRAY_BUFFER, vbo);
        glBufferData(GL_ARRAY_BUFFER, 512 * 6 * sizeof(Vertex), nullptr, GL_STREAM_DRAW);
        glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex), nullptr);
        glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex),
                              reinterpret_cast<void*>(8));
        glVertexAttribPointer(2, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(Vertex),
                              reinterpret_cast<void*>(16));
        for (GLuint a = 0; a < 3; ++a)
            glEnableVertexAttribArray(a);
        const std::vector<uint32_t> pixels = SpritePixels();
        sprite = Texture(GL_RGBA8, kSprite, GL_UNSIGNED_INT_8_8_8_8_REV, pixels.data(), GL_LINEAR);
        const std::vector<uint16_t> glyphs(kAtlas * kAtlas, 0xFFFF);
        atlas = Texture(GL_RGBA4, kAtlas, GL_UNSIGNED_SHORT_4_4_4_4_REV, glyphs.data(), GL_NEAREST);
        const std::vector<uint32_t> cells(kCache * kCache, 0xFFFFFFFFu);
        cache = Texture(GL_RGBA8, kCache, GL_UNSIGNED_INT_8_8_8_8_REV, cells.data(), GL_NEAREST);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        vertices.reserve(512 * 6);
    }
    ~Baseline()
    {
        const GLuint textures[] = {sprite, atlas, cache};
        glDeleteTextures(3, textures);
        glDeleteBuffers(1, &vbo);
        glDeleteVertexArrays(1, &vao);
        glDeleteProgram(program);
    }

    void Use(int m, GLuint texture)
    {
        if (m != mode)
            glUniform1i(modeAt, mode = m);
        if (texture && texture != bound)
            glBindTexture(GL_TEXTURE_2D, bound = texture);
    }

    void Draw(GLenum primitive)
    {
        glBufferSubData(GL_ARRAY_BUFFER, 0, GLsizeiptr(vertices.size() * sizeof(Vertex)),
                        vertices.data());
        glDrawArrays(primitive, 0, GLsizei(vertices.size()));
        vertices.clear();
    }

    void Rectangle(float l, float t, float r, float b, uint32_t colour)
    {
        vertices.push_back({l, b, 0, 1, colour});
        vertices.push_back({l, t, 0, 0, colour});
        vertices.push_back({r, b, 1, 1, colour});
        vertices.push_back({r, t, 1, 0, colour});
    }

    void Glyphs(float x, float y, int count, float width, float height, uint32_t colour)
    {
        for (int g = 0; g < count; ++g, x += width) {
            const Vertex a = {x, y, 0, 0, colour}, b = {x + width, y, 0.1f, 0, colour};
            const Vertex c = {x, y + height, 0, 0.1f, colour};
            const Vertex d = {x + width, y + height, 0.1f, 0.1f, colour};
            vertices.insert(vertices.end(), {a, b, c, c, b, d});
        }
    }

    void Frame()
    {
        gl.Begin();
        for (int round = 0; round < kRounds; ++round) {
            for (int i = round * kBarsPerRound; i < (round + 1) * kBarsPerRound; ++i) {
                int x, y;
                BarPlace(i, &x, &y);
                Use(1, 0);
                Rectangle(float(x), float(y), float(x + 200), float(y + 40), 0x80FF8040u);
                Draw(GL_TRIANGLE_STRIP);
            }
            for (int i = round * kQuadsPerRound; i < (round + 1) * kQuadsPerRound; ++i) {
                int x, y;
                QuadPlace(i, &x, &y);
                Use(0, sprite);
                Rectangle(float(x), float(y), float(x + 64), float(y + 64), 0xFFFFFFFFu);
                Draw(GL_TRIANGLE_STRIP);
            }
            for (int n = round * kLinesPerRound; n < (round + 1) * kLinesPerRound; ++n) {
                const float y = float(LineY(n));
                Use(2, atlas);
                Glyphs(20, y, kAsciiGlyphs, 8, 17, 0xFFFFFFE0u);
                Draw(GL_TRIANGLES);
                Use(2, cache);
                Glyphs(20 + 8 * kAsciiGlyphs + 8, y, kHanzi, 17, 17, 0xFFFFFFE0u);
                Draw(GL_TRIANGLES);
            }
        }
        gl.End();
    }
};

void BM_PlainMixedFrame(benchmark::State& state)
{
    Baseline plain;
    plain.Frame();
    plain.gl.Shot("mixed_plain");
    twin::FrameClock clock;
    for (auto _ : state)
        plain.Frame();
    glFinish();
    clock.Finish(state);
}
}  // namespace

BENCHMARK(BM_PlainMixedFrame)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EngineMixedFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    // Headless unless told otherwise; the figures are llvmpipe's on a machine without a GPU.
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    // Frames are timed as fast as they draw, not as often as a display would show them.
    vexa::platform::SetPresentPacing(false);
    return twin::RunTwins(argc, argv,
                          {{"mixed frame", "BM_EngineMixedFrame/real_time",
                            "BM_PlainMixedFrame/real_time"}});
}
