// The tile meshes through the game's camera: every cell's tile, resting and raised, lies
// on the cell the pointer mapping gives for it, in both editions; and each mesh turns
// about the tile's own centre.
#include <d3dx9.h>

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The vertex positions of the first Mesh of a DirectX text file.
std::vector<D3DXVECTOR3> MeshVertices(const std::string& file)
{
    std::ifstream in(std::string(VEXA_RUNTIME_TREE) + "GUI/Mesh/" + file);
    std::stringstream all;
    all << in.rdbuf();
    std::string text = all.str();
    size_t at = text.find('{', text.find("\nMesh "));
    std::vector<D3DXVECTOR3> vertices;
    if (at == std::string::npos)
        return vertices;
    std::istringstream body(text.substr(at + 1));
    int count = 0;
    char sep = 0;
    body >> count >> sep;
    for (int i = 0; i < count && body; ++i) {
        D3DXVECTOR3 v;
        body >> v.x >> sep >> v.y >> sep >> v.z >> sep >> sep;
        vertices.push_back(v);
    }
    return vertices;
}

struct Edition {
    const char* name;
    float width, height;
    int left, top, pitchX, pitchY;
};

const Edition kEditions[] = {{"900x675", 900, 675, 63, 50, 74, 72},
                             {"1024x768", 1024, 768, 69, 55, 84, 82}};

TEST(TileMeshes, EveryTileCoversItsPointerCell)
{
    for (const char* file : {"plane.x", "frame.x"}) {
        std::vector<D3DXVECTOR3> mesh = MeshVertices(file);
        ASSERT_GE(mesh.size(), 4u) << file;
        for (const Edition& e : kEditions) {
            D3DXMATRIX view, projection, camera;
            D3DXVECTOR3 eye(0, 0, -9), at(0, 0, 0), up(0, 1, 0);
            D3DXMatrixLookAtLH(&view, &eye, &at, &up);
            D3DXMatrixPerspectiveFovLH(&projection, 1.0471976f, e.width / e.height, 0.015625f, 20.0f);
            D3DXMatrixMultiply(&camera, &view, &projection);
            for (float z : {0.0f, -0.05f})
                for (int r = 0; r < 8; ++r)
                    for (int c = 0; c < 8; ++c) {
                        D3DXMATRIX place, all;
                        D3DXMatrixTranslation(&place, (c - 5) * 1.1f, (8 - r - 4.95f) * 1.08f + 0.5f, z);
                        D3DXMatrixMultiply(&all, &place, &camera);
                        float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
                        for (const D3DXVECTOR3& v : mesh) {
                            D3DXVECTOR3 p;
                            D3DXVec3TransformCoord(&p, &v, &all);
                            float sx = (p.x + 1) * e.width / 2, sy = (1 - p.y) * e.height / 2;
                            x0 = std::fmin(x0, sx), x1 = std::fmax(x1, sx);
                            y0 = std::fmin(y0, sy), y1 = std::fmax(y1, sy);
                        }
                        SCOPED_TRACE(std::string(file) + " " + e.name + " cell " + std::to_string(c) +
                                     "," + std::to_string(r) + " z " + std::to_string(z));
                        // Within 3 pixels of its edges every point of the tile hits the cell.
                        for (float x : {x0 + 3, x1 - 3})
                            EXPECT_EQ(c, int(std::floor((x - e.left) / e.pitchX))) << x;
                        for (float y : {y0 + 3, y1 - 3})
                            EXPECT_EQ(r, int(std::floor((y - e.top) / e.pitchY))) << y;
                        // And the tile fills the cell but for the gap between tiles.
                        EXPECT_GT(x1 - x0, 0.85f * e.pitchX);
                        EXPECT_GT(y1 - y0, 0.85f * e.pitchY);
                    }
        }
    }
}

TEST(TileMeshes, TurnAboutTheTileCentre)
{
    for (const char* file : {"plane.x", "frame.x"}) {
        std::vector<D3DXVECTOR3> mesh = MeshVertices(file);
        ASSERT_FALSE(mesh.empty()) << file;
        D3DXVECTOR3 lo = mesh[0], hi = mesh[0];
        for (const D3DXVECTOR3& v : mesh) {
            lo.x = std::fmin(lo.x, v.x), hi.x = std::fmax(hi.x, v.x);
            lo.y = std::fmin(lo.y, v.y), hi.y = std::fmax(hi.y, v.y);
            lo.z = std::fmin(lo.z, v.z), hi.z = std::fmax(hi.z, v.z);
        }
        EXPECT_NEAR(0.25f, (lo.x + hi.x) / 2, 1e-4f) << file;
        EXPECT_NEAR(0.0f, (lo.y + hi.y) / 2, 1e-4f) << file;
        EXPECT_NEAR(-0.25f, (lo.z + hi.z) / 2, 0.011f) << file;
        EXPECT_NEAR(1.0f, hi.x - lo.x, 1e-4f) << file;
        EXPECT_NEAR(1.0f, hi.y - lo.y, 1e-4f) << file;
    }
}

}  // namespace
