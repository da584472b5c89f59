// The tile's two models in DirectX text format, "GUI/Mesh/":
//
//   plane.x  the picture surface: one quad 1.0 x 1.0, x -0.25..0.75, y -0.5..0.5 at
//            z -0.25, texture u 0..1 left to right and v 0..1 top to bottom.
//   frame.x  the frame: a ring over the plane's outer band (16/128 of each side, the band
//            the frame pictures paint) at z -0.26, just in front of the picture, its
//            texture coordinates those of the plane below it.
//
// Both are centred on the model point (0.25, 0, -0.25), the axis the selected tile spins
// about. The size leaves a gap of 0.1 between the cells of the board (pitch 1.1 by 1.08).
// Faces are wound clockwise as the camera sees them (it looks along +z), the front faces
// of Direct3D's default culling.
#include "ArtTool.h"

#include <cstdio>
#include <vector>

namespace art {

namespace {

constexpr float kLeft = -0.25f, kRight = 0.75f, kTop = 0.5f, kBottom = -0.5f;
constexpr float kBand = 16.0f / 128.0f;

struct Vertex {
    float x, y, z, u, v;
};

// A vertex at tile fractions (s across, t down) of the square.
Vertex At(float s, float t, float z)
{
    return {kLeft + (kRight - kLeft) * s, kTop + (kBottom - kTop) * t, z, s, t};
}

// Adds the quad a b c d (clockwise on screen: top-left, top-right, bottom-right, bottom-left).
void Quad(std::vector<Vertex>& v, std::vector<int>& faces, Vertex a, Vertex b, Vertex c, Vertex d)
{
    int base = int(v.size());
    v.insert(v.end(), {a, b, c, d});
    faces.insert(faces.end(), {base, base + 1, base + 2, base, base + 2, base + 3});
}

void WriteMesh(const std::string& path, const char* name, const std::vector<Vertex>& v,
               const std::vector<int>& faces)
{
    FILE* f = std::fopen(path.c_str(), "w");
    if (!f)
        throw ArtError("cannot write " + path);
    std::fprintf(f, "xof 0303txt 0032\n\n");
    std::fprintf(f, "Material TileMaterial {\n  1.000000;1.000000;1.000000;1.000000;;\n  0.000000;\n"
                    "  0.000000;0.000000;0.000000;;\n  0.000000;0.000000;0.000000;;\n}\n\n");
    std::fprintf(f, "Mesh %s {\n  %zu;\n", name, v.size());
    for (size_t i = 0; i < v.size(); ++i)
        std::fprintf(f, "  %.6f;%.6f;%.6f;%s\n", v[i].x, v[i].y, v[i].z, i + 1 < v.size() ? "," : ";");
    size_t count = faces.size() / 3;
    std::fprintf(f, "  %zu;\n", count);
    for (size_t i = 0; i < count; ++i)
        std::fprintf(f, "  3;%d,%d,%d;%s\n", faces[3 * i], faces[3 * i + 1], faces[3 * i + 2],
                     i + 1 < count ? "," : ";");
    std::fprintf(f, "\n  MeshNormals {\n    1;\n    0.000000;0.000000;-1.000000;;\n    %zu;\n", count);
    for (size_t i = 0; i < count; ++i)
        std::fprintf(f, "    3;0,0,0;%s\n", i + 1 < count ? "," : ";");
    std::fprintf(f, "  }\n\n  MeshTextureCoords {\n    %zu;\n", v.size());
    for (size_t i = 0; i < v.size(); ++i)
        std::fprintf(f, "    %.6f;%.6f;%s\n", v[i].u, v[i].v, i + 1 < v.size() ? "," : ";");
    std::fprintf(f, "  }\n\n  MeshMaterialList {\n    1;\n    %zu;\n", count);
    for (size_t i = 0; i < count; ++i)
        std::fprintf(f, "    0%s\n", i + 1 < count ? "," : ";");
    std::fprintf(f, "    { TileMaterial }\n  }\n}\n");
    if (std::fclose(f) != 0)
        throw ArtError("cannot write " + path);
}

}  // namespace

void MakeMeshes(const std::string& bin)
{
    std::string dir = bin + "GUI/Mesh/";
    MakeFolder(dir);
    std::vector<Vertex> v;
    std::vector<int> faces;
    const float plane = -0.25f, ring = -0.26f;
    Quad(v, faces, At(0, 0, plane), At(1, 0, plane), At(1, 1, plane), At(0, 1, plane));
    WriteMesh(dir + "plane.x", "Plane", v, faces);

    v.clear();
    faces.clear();
    const float a = kBand, b = 1 - kBand;
    Quad(v, faces, At(0, 0, ring), At(1, 0, ring), At(b, a, ring), At(a, a, ring));  // top
    Quad(v, faces, At(b, a, ring), At(1, 0, ring), At(1, 1, ring), At(b, b, ring));  // right
    Quad(v, faces, At(a, b, ring), At(b, b, ring), At(1, 1, ring), At(0, 1, ring));  // bottom
    Quad(v, faces, At(0, 0, ring), At(a, a, ring), At(a, b, ring), At(0, 1, ring));  // left
    WriteMesh(dir + "frame.x", "Frame", v, faces);
}

}  // namespace art
