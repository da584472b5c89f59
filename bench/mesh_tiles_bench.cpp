// Frames per second of the board's tiles: 64 tiles, each a picture plane and a frame
// around it, loaded from .x files by CMeshModel and drawn through the board's camera with
// the tile picture substituted into slot 0, as the game draws them. Beside them, a minimal
// OpenGL program of this benchmark's own draws the same meshes (same vertex and index
// counts, textures and states) with one draw per mesh, so the cost of the engine's mesh
// path reads as the ratio of the two. Run: build/bin/mesh_tiles_bench
#include <KvD3D9.h>
#include <KvLib.h>
#include <MeshModel.h>

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <epoxy/gl.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace {
constexpr int kWidth = 900;
constexpr int kHeight = 675;
constexpr int kPictures = 8;
char kClass[] = "VexaTesselMeshBench";
char kCaption[] = "Tiles";

// The models: a plane of 1 x 1 and a frame of eight quads around it, 0.05 wide.
struct Model {
    std::vector<float> vertices;  // x, y, z, u, v
    std::vector<unsigned> indices;
};

Model Plane()
{
    return {{-0.5f, -0.5f, 0, 0, 1, -0.5f, 0.5f, 0, 0, 0, 0.5f, 0.5f, 0, 1, 0, 0.5f, -0.5f, 0, 1, 1},
            {0, 1, 2, 0, 2, 3}};
}

Model FrameModel()
{
    Model m;
    const float inner = 0.5f, outer = 0.55f;
    const float corners[4][2] = {{-1, -1}, {-1, 1}, {1, 1}, {1, -1}};
    for (int ring = 0; ring < 2; ++ring)
        for (const auto& c : corners) {
            const float s = ring ? outer : inner;
            m.vertices.insert(m.vertices.end(), {c[0] * s, c[1] * s, -0.02f, (c[0] + 1) / 2,
                                                 (1 - c[1]) / 2});
        }
    for (unsigned side = 0; side < 4; ++side) {
        const unsigned a = side, b = (side + 1) % 4, c = b + 4, d = a + 4;
        m.indices.insert(m.indices.end(), {d, c, b, d, b, a});
    }
    return m;
}

std::string XText(const Model& m, const char* texture)
{
    std::string s = "xof 0303txt 0032\nMaterial M { 1.0;1.0;1.0;1.0;; 0.0; 0.0;0.0;0.0;; "
                    "0.0;0.0;0.0;; TextureFilename { \"" +
                    std::string(texture) + "\"; } }\nMesh T {\n";
    const size_t n = m.vertices.size() / 5;
    char line[128];
    s += std::to_string(n) + ";\n";
    for (size_t i = 0; i < n; ++i) {
        snprintf(line, sizeof line, "%f;%f;%f;%s\n", m.vertices[i * 5], m.vertices[i * 5 + 1],
                 m.vertices[i * 5 + 2], i + 1 < n ? "," : ";");
        s += line;
    }
    s += std::to_string(m.indices.size() / 3) + ";\n";
    for (size_t f = 0; f < m.indices.size(); f += 3) {
        snprintf(line, sizeof line, "3;%u,%u,%u;%s\n", m.indices[f], m.indices[f + 1],
                 m.indices[f + 2], f + 3 < m.indices.size() ? "," : ";");
        s += line;
    }
    s += "MeshMaterialList { 1; " + std::to_string(m.indices.size() / 3) + "; ";
    for (size_t f = 0; f < m.indices.size() / 3; ++f)
        s += f + 1 < m.indices.size() / 3 ? "0, " : "0;; {M} }\n";
    s += "MeshTextureCoords { " + std::to_string(n) + ";\n";
    for (size_t i = 0; i < n; ++i) {
        snprintf(line, sizeof line, "%f;%f;%s\n", m.vertices[i * 5 + 3], m.vertices[i * 5 + 4],
                 i + 1 < n ? "," : ";");
        s += line;
    }
    return s + "}\n}\n";
}

// A 64 x 64 picture per kind, in distinct colours.
std::vector<uint32_t> Picture(int kind)
{
    std::vector<uint32_t> p(64 * 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            p[size_t(y * 64 + x)] = 0xFF000000u | uint32_t((kind * 37 + x * 2) & 255) << 16 |
                                    uint32_t((kind * 71 + y * 2) & 255) << 8 | uint32_t(kind * 29);
    return p;
}

D3DXMATRIX CellPlace(int c, int r)
{
    D3DXMATRIX m;
    D3DXMatrixTranslation(&m, (c - 5) * 1.1f, (8 - r - 4.95f) * 1.08f + 0.5f, 0.0f);
    return m;
}

void Camera(D3DXMATRIX* view, D3DXMATRIX* projection)
{
    const D3DXVECTOR3 eye(0, 0, -9), at(0, 0, 0), up(0, 1, 0);
    D3DXMatrixLookAtLH(view, &eye, &at, &up);
    D3DXMatrixPerspectiveFovLH(projection, 1.0471976f, float(kWidth) / kHeight, 0.015625f, 20.0f);
}

// ---- the engine's path -------------------------------------------------------------
struct Engine {
    kvD3D* d3d = nullptr;
    CMeshModel plane, frame;
    IDirect3DTexture9* pictures[kPictures] = {};
    std::string folder;

    Engine()
    {
        char pattern[] = "/tmp/vexa_mesh_bench_XXXXXX";
        folder = std::string(mkdtemp(pattern)) + "/";
        for (auto [name, text] : {std::pair{"plane.x", XText(Plane(), "")},
                                  std::pair{"frame.x", XText(FrameModel(), "frame.bmp")}}) {
            FILE* f = fopen((folder + name).c_str(), "wb");
            fputs(text.c_str(), f);
            fclose(f);
        }
        kvCreateWindow(kClass, kCaption, SW_SHOW, nullptr, kWidth, kHeight,
                       KVWIN_WINDOWED | KVWIN_FIXEDSIZE | KVWIN_REALTIME);
        d3d = new kvD3D(0, 0, false);
        d3d->Init();
        snprintf(kvPath, sizeof kvPath, "%s", folder.c_str());
        plane.Load("plane.x");
        frame.Load("frame.x");
        for (int k = 0; k < kPictures; ++k) {
            pd3dDevice->CreateTexture(64, 64, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &pictures[k],
                                      nullptr);
            D3DLOCKED_RECT locked = {};
            pictures[k]->LockRect(0, &locked, nullptr, 0);
            const std::vector<uint32_t> p = Picture(k);
            for (int y = 0; y < 64; ++y)
                memcpy(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch, &p[size_t(y * 64)], 256);
            pictures[k]->UnlockRect(0);
        }
        // The frame's own texture file is absent: it draws with the frame picture below.
        frame.textures[0] = pictures[0];
    }
    ~Engine()
    {
        frame.textures[0] = nullptr;
        plane.Destroy();
        frame.Destroy();
        for (IDirect3DTexture9* t : pictures)
            t->Release();
        delete d3d;
        DestroyWindow(hWnd);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        remove((folder + "plane.x").c_str());
        remove((folder + "frame.x").c_str());
        rmdir(folder.c_str());
    }

    void Frame()
    {
        d3d->ClearScreen(0xFF203040, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
        d3d->BeginScene();
        D3DXMATRIX view, projection;
        Camera(&view, &projection);
        pd3dDevice->SetTransform(D3DTS_VIEW, &view);
        pd3dDevice->SetTransform(D3DTS_PROJECTION, &projection);
        pd3dDevice->SetRenderState(D3DRS_AMBIENT, 0x00666666);
        pd3dDevice->SetRenderState(D3DRS_ZENABLE, TRUE);
        pd3dDevice->SetRenderState(D3DRS_LIGHTING, FALSE);
        pd3dDevice->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
        pd3dDevice->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
        pd3dDevice->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
        pd3dDevice->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
        for (int r = 0; r < 8; ++r)
            for (int c = 0; c < 8; ++c) {
                const D3DXMATRIX world = CellPlace(c, r);
                pd3dDevice->SetTransform(D3DTS_WORLD, &world);
                plane.textures[0] = pictures[(r * 8 + c) % kPictures];
                plane.Render(false);
                plane.textures[0] = nullptr;
                frame.Render(false);
            }
        d3d->EndScene();
        d3d->UpdateScreen();
    }
};

void CountFrames(benchmark::State& state)
{
    state.counters["fps"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_EngineTiles(benchmark::State& state)
{
    Engine engine;
    for (auto _ : state)
        engine.Frame();
    CountFrames(state);
}

// ---- the baseline: plain OpenGL ---------------------------------------------------
const char* kVertexShader = R"(#version 330 core
layout(location = 0) in vec3 position;
layout(location = 1) in vec2 uv;
uniform mat4 transform;
out vec2 texCoord;
void main() { gl_Position = transform * vec4(position, 1.0); texCoord = uv; })";
const char* kFragmentShader = R"(#version 330 core
in vec2 texCoord;
uniform sampler2D picture;
out vec4 result;
void main() { result = texture(picture, texCoord); })";

struct GlMesh {
    GLuint vao = 0, vbo = 0, ibo = 0;
    GLsizei count = 0;
};

struct Baseline {
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    GLuint program = 0, fbo = 0, colourBuffer = 0, depthBuffer = 0;
    GLuint textures[kPictures] = {};
    GLint transformAt = -1;
    GlMesh plane, frame;

    static GlMesh Upload(const Model& m)
    {
        GlMesh g;
        glGenVertexArrays(1, &g.vao);
        glBindVertexArray(g.vao);
        glGenBuffers(1, &g.vbo);
        glBindBuffer(GL_ARRAY_BUFFER, g.vbo);
        glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(m.vertices.size() * 4), m.vertices.data(), GL_STATIC_DRAW);
        glGenBuffers(1, &g.ibo);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, g.ibo);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(m.indices.size() * 4), m.indices.data(),
                     GL_STATIC_DRAW);
        glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 20, nullptr);
        glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 20, reinterpret_cast<void*>(12));
        glEnableVertexAttribArray(0);
        glEnableVertexAttribArray(1);
        g.count = GLsizei(m.indices.size());
        return g;
    }

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
        transformAt = glGetUniformLocation(program, "transform");
        plane = Upload(Plane());
        frame = Upload(FrameModel());
        glGenTextures(kPictures, textures);
        for (int k = 0; k < kPictures; ++k) {
            const std::vector<uint32_t> p = Picture(k);
            glBindTexture(GL_TEXTURE_2D, textures[k]);
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 64, 64, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV,
                         p.data());
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        }
        glGenRenderbuffers(1, &colourBuffer);
        glBindRenderbuffer(GL_RENDERBUFFER, colourBuffer);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, kWidth, kHeight);
        glGenRenderbuffers(1, &depthBuffer);
        glBindRenderbuffer(GL_RENDERBUFFER, depthBuffer);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, kWidth, kHeight);
        glGenFramebuffers(1, &fbo);
        glBindFramebuffer(GL_FRAMEBUFFER, fbo);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colourBuffer);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depthBuffer);
        glViewport(0, 0, kWidth, kHeight);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
    }
    ~Baseline()
    {
        for (GlMesh* g : {&plane, &frame}) {
            glDeleteBuffers(1, &g->vbo);
            glDeleteBuffers(1, &g->ibo);
            glDeleteVertexArrays(1, &g->vao);
        }
        glDeleteFramebuffers(1, &fbo);
        glDeleteRenderbuffers(1, &colourBuffer);
        glDeleteRenderbuffers(1, &depthBuffer);
        glDeleteTextures(kPictures, textures);
        glDeleteProgram(program);
        SDL_GL_DeleteContext(context);
        SDL_DestroyWindow(window);
    }

    void Draw(const GlMesh& g, GLuint texture, const D3DXMATRIX& transform)
    {
        glBindVertexArray(g.vao);
        glBindTexture(GL_TEXTURE_2D, texture);
        // Row vectors times the matrix: OpenGL reads it transposed, as it needs.
        glUniformMatrix4fv(transformAt, 1, GL_FALSE, &transform.m[0][0]);
        glDrawElements(GL_TRIANGLES, g.count, GL_UNSIGNED_INT, nullptr);
    }

    void Frame()
    {
        glBindFramebuffer(GL_FRAMEBUFFER, fbo);
        glClearColor(0.125f, 0.1875f, 0.25f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        D3DXMATRIX view, projection;
        Camera(&view, &projection);
        const D3DXMATRIX viewProjection = view * projection;
        for (int r = 0; r < 8; ++r)
            for (int c = 0; c < 8; ++c) {
                const D3DXMATRIX t = CellPlace(c, r) * viewProjection;
                Draw(plane, textures[(r * 8 + c) % kPictures], t);
                Draw(frame, textures[0], t);
            }
        glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        glBlitFramebuffer(0, 0, kWidth, kHeight, 0, 0, kWidth, kHeight, GL_COLOR_BUFFER_BIT,
                          GL_NEAREST);
        SDL_GL_SwapWindow(window);
    }
};

void BM_BaselineTiles(benchmark::State& state)
{
    Baseline gl;
    for (auto _ : state)
        gl.Frame();
    glFinish();
    CountFrames(state);
}
}  // namespace

BENCHMARK(BM_BaselineTiles)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EngineTiles)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    // Headless unless told otherwise; the figures are llvmpipe's on a machine without a GPU.
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
