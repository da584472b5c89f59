// The board's 64 tiles for the benchmarks: each a picture plane and a frame around it,
// loaded from .x files by CMeshModel and drawn through the board's camera with the tile
// picture substituted into slot 0, as the game draws them (Engine); and the same meshes
// (same vertex and index counts, textures and states) drawn by plain OpenGL with one draw
// per mesh (Plain).
#ifndef VEXA_BENCH_TILES_SCENE_H
#define VEXA_BENCH_TILES_SCENE_H

#include "engine_window.h"
#include "plain_gl.h"

#include <KvD3D9.h>
#include <KvLib.h>
#include <MeshModel.h>

#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

namespace tiles {

constexpr int kWidth = 900;
constexpr int kHeight = 675;
constexpr int kPictures = 8;

// The models: a plane of 1 x 1 and a frame of eight quads around it, 0.05 wide.
struct Model {
    std::vector<float> vertices;  // x, y, z, u, v
    std::vector<unsigned> indices;
};

inline Model Plane()
{
    return {{-0.5f, -0.5f, 0, 0, 1, -0.5f, 0.5f, 0, 0, 0, 0.5f, 0.5f, 0, 1, 0, 0.5f, -0.5f, 0, 1, 1},
            {0, 1, 2, 0, 2, 3}};
}

inline Model FrameModel()
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

inline std::string XText(const Model& m, const char* texture)
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
inline std::vector<uint32_t> Picture(int kind)
{
    std::vector<uint32_t> p(64 * 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            p[size_t(y * 64 + x)] = 0xFF000000u | uint32_t((kind * 37 + x * 2) & 255) << 16 |
                                    uint32_t((kind * 71 + y * 2) & 255) << 8 | uint32_t(kind * 29);
    return p;
}

inline D3DXMATRIX CellPlace(int c, int r)
{
    D3DXMATRIX m;
    D3DXMatrixTranslation(&m, (c - 5) * 1.1f, (8 - r - 4.95f) * 1.08f + 0.5f, 0.0f);
    return m;
}

inline void Camera(D3DXMATRIX* view, D3DXMATRIX* projection)
{
    const D3DXVECTOR3 eye(0, 0, -9), at(0, 0, 0), up(0, 1, 0);
    D3DXMatrixLookAtLH(view, &eye, &at, &up);
    D3DXMatrixPerspectiveFovLH(projection, 1.0471976f, float(kWidth) / kHeight, 0.015625f, 20.0f);
}

// ---- through the engine: pre, a kvD3D is initialised ----------------------------------
class Engine {
public:
    Engine()
    {
        char pattern[] = "/tmp/vexa_mesh_bench_XXXXXX";
        folder_ = std::string(mkdtemp(pattern)) + "/";
        for (auto [name, text] : {std::pair{"plane.x", XText(Plane(), "")},
                                  std::pair{"frame.x", XText(FrameModel(), "frame.bmp")}}) {
            FILE* f = fopen((folder_ + name).c_str(), "wb");
            fputs(text.c_str(), f);
            fclose(f);
        }
        snprintf(kvPath, sizeof kvPath, "%s", folder_.c_str());
        plane_.Load("plane.x");
        frame_.Load("frame.x");
        for (int k = 0; k < kPictures; ++k)
            pictures_[k] = FilledTexture(pd3dDevice, 64, Picture(k));
        // The frame's own texture file is absent: it draws with the frame picture below.
        frame_.textures[0] = pictures_[0];
    }
    ~Engine()
    {
        frame_.textures[0] = nullptr;
        plane_.Destroy();
        frame_.Destroy();
        for (IDirect3DTexture9* t : pictures_)
            t->Release();
        remove((folder_ + "plane.x").c_str());
        remove((folder_ + "frame.x").c_str());
        rmdir(folder_.c_str());
    }
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // Inside a scene: the camera, the tiles' states, and the 64 tiles.
    void Draw()
    {
        D3DXMATRIX view, projection;
        Camera(&view, &projection);
        pd3dDevice->SetTransform(D3DTS_VIEW, &view);
        pd3dDevice->SetTransform(D3DTS_PROJECTION, &projection);
        pd3dDevice->SetRenderState(D3DRS_AMBIENT, 0x00666666);
        pd3dDevice->SetRenderState(D3DRS_ZENABLE, TRUE);
        pd3dDevice->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
        pd3dDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
        pd3dDevice->SetRenderState(D3DRS_LIGHTING, FALSE);
        pd3dDevice->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
        pd3dDevice->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
        pd3dDevice->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
        pd3dDevice->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
        for (int r = 0; r < 8; ++r)
            for (int c = 0; c < 8; ++c) {
                const D3DXMATRIX world = CellPlace(c, r);
                pd3dDevice->SetTransform(D3DTS_WORLD, &world);
                plane_.textures[0] = pictures_[(r * 8 + c) % kPictures];
                plane_.Render(false);
                plane_.textures[0] = nullptr;
                frame_.Render(false);
            }
    }

private:
    CMeshModel plane_, frame_;
    IDirect3DTexture9* pictures_[kPictures] = {};
    std::string folder_;
};

// ---- plain OpenGL: pre, a plain::Context is current -----------------------------------
const char* const kVertexShader = R"(#version 330 core
layout(location = 0) in vec3 position;
layout(location = 1) in vec2 uv;
uniform mat4 transform;
out vec2 texCoord;
void main() { gl_Position = transform * vec4(position, 1.0); texCoord = uv; })";
const char* const kFragmentShader = R"(#version 330 core
in vec2 texCoord;
uniform sampler2D picture;
out vec4 result;
void main() { result = texture(picture, texCoord); })";

class Plain {
public:
    Plain()
    {
        program_ = plain::Program(kVertexShader, kFragmentShader);
        transformAt_ = glGetUniformLocation(program_, "transform");
        plane_ = Upload(Plane());
        frame_ = Upload(FrameModel());
        glGenTextures(kPictures, textures_);
        for (int k = 0; k < kPictures; ++k) {
            const std::vector<uint32_t> p = Picture(k);
            glBindTexture(GL_TEXTURE_2D, textures_[k]);
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 64, 64, 0, GL_BGRA,
                         GL_UNSIGNED_INT_8_8_8_8_REV, p.data());
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        }
    }
    ~Plain()
    {
        for (Mesh* g : {&plane_, &frame_}) {
            glDeleteBuffers(1, &g->vbo);
            glDeleteBuffers(1, &g->ibo);
            glDeleteVertexArrays(1, &g->vao);
        }
        glDeleteTextures(kPictures, textures_);
        glDeleteProgram(program_);
    }
    Plain(const Plain&) = delete;
    Plain& operator=(const Plain&) = delete;

    void Draw()
    {
        glUseProgram(program_);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        glDepthMask(GL_TRUE);
        glDisable(GL_BLEND);
        D3DXMATRIX view, projection;
        Camera(&view, &projection);
        const D3DXMATRIX viewProjection = view * projection;
        for (int r = 0; r < 8; ++r)
            for (int c = 0; c < 8; ++c) {
                const D3DXMATRIX t = CellPlace(c, r) * viewProjection;
                DrawMesh(plane_, textures_[(r * 8 + c) % kPictures], t);
                DrawMesh(frame_, textures_[0], t);
            }
    }

private:
    struct Mesh {
        GLuint vao = 0, vbo = 0, ibo = 0;
        GLsizei count = 0;
    };

    static Mesh Upload(const Model& m)
    {
        Mesh g;
        glGenVertexArrays(1, &g.vao);
        glBindVertexArray(g.vao);
        glGenBuffers(1, &g.vbo);
        glBindBuffer(GL_ARRAY_BUFFER, g.vbo);
        glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(m.vertices.size() * 4), m.vertices.data(),
                     GL_STATIC_DRAW);
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

    void DrawMesh(const Mesh& g, GLuint texture, const D3DXMATRIX& transform)
    {
        glBindVertexArray(g.vao);
        glBindTexture(GL_TEXTURE_2D, texture);
        // Row vectors times the matrix: OpenGL reads it transposed, as it needs.
        glUniformMatrix4fv(transformAt_, 1, GL_FALSE, &transform.m[0][0]);
        glDrawElements(GL_TRIANGLES, g.count, GL_UNSIGNED_INT, nullptr);
    }

    GLuint program_ = 0;
    GLuint textures_[kPictures] = {};
    GLint transformAt_ = -1;
    Mesh plane_, frame_;
};

}  // namespace tiles

#endif
