// Indexed drawing, D3DX meshes and .x loading: pixels read back, buffers read through
// their locks, and .x files written by the tests.
#include "d3d9_fixture.h"

#include <d3dx9.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

using MeshTest = D3D9Test;

// Four corners of a clip-space square (x0, y0)-(x1, y1), wound clockwise on screen.
std::vector<XyzColorVertex> Square(float x0, float y0, float x1, float y1, D3DCOLOR c)
{
    return {{x0, y0, 0.5f, c}, {x0, y1, 0.5f, c}, {x1, y1, 0.5f, c}, {x1, y0, 0.5f, c}};
}

std::string WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

// A unit quad in a frame moved by (2, 0, 0), with two materials sharing a texture name.
const char kTwoMaterialQuad[] = R"(xof 0303txt 0032
Material Red { 1.0;0.0;0.0;0.0;; 8.0; 0.5;0.5;0.5;; 0.0;0.0;0.0;; TextureFilename { "tile.bmp"; } }
Frame Root {
 FrameTransformMatrix { 1.0,0.0,0.0,0.0, 0.0,1.0,0.0,0.0, 0.0,0.0,1.0,0.0, 2.0,0.0,0.0,1.0;; }
 Frame Child {
  Mesh Quad {
   4; 0.0;0.0;0.0;, 0.0;1.0;0.0;, 1.0;1.0;0.0;, 1.0;0.0;0.0;;
   2; 3;0,1,2;, 3;0,2,3;;
   MeshMaterialList { 2; 2; 1, 0;; {Red} Material Blue { 0.0;0.0;1.0;1.0;; 1.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; TextureFilename { "tile.bmp"; } } }
   MeshTextureCoords { 4; 0.0;1.0;, 0.0;0.0;, 1.0;0.0;, 1.0;1.0;; }
  }
 }
}
)";

TEST_F(MeshTest, IndexedDrawsReadSixteenAndThirtyTwoBitIndicesFromTheBaseVertex)
{
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_ZENABLE, FALSE);
    // Vertices 0-3 are a red square on the left, 4-7 a green one on the right.
    std::vector<XyzColorVertex> v = Square(-1.0f, -1.0f, -0.5f, 1.0f, 0xFFFF0000);
    const std::vector<XyzColorVertex> right = Square(0.5f, -1.0f, 1.0f, 1.0f, 0xFF00FF00);
    v.insert(v.end(), right.begin(), right.end());
    IDirect3DVertexBuffer9* vb = nullptr;
    ASSERT_EQ(D3D_OK, device->CreateVertexBuffer(UINT(v.size() * sizeof v[0]), 0, kXyzColorFvf,
                                                 D3DPOOL_MANAGED, &vb, nullptr));
    void* data = nullptr;
    vb->Lock(0, 0, &data, 0);
    std::memcpy(data, v.data(), v.size() * sizeof v[0]);
    vb->Unlock();
    device->SetFVF(kXyzColorFvf);
    device->SetStreamSource(0, vb, 0, sizeof v[0]);
    for (D3DFORMAT format : {D3DFMT_INDEX16, D3DFMT_INDEX32}) {
        SCOPED_TRACE(format == D3DFMT_INDEX16 ? "16-bit" : "32-bit");
        const UINT size = format == D3DFMT_INDEX16 ? 2 : 4;
        const DWORD indices[] = {0, 1, 2, 0, 2, 3, 0, 1, 9};
        IDirect3DIndexBuffer9* ib = nullptr;
        ASSERT_EQ(D3D_OK, device->CreateIndexBuffer(9 * size, 0, format, D3DPOOL_MANAGED, &ib, nullptr));
        ib->Lock(0, 0, &data, 0);
        for (int i = 0; i < 9; ++i)
            std::memcpy(static_cast<BYTE*>(data) + i * size, &indices[i], size);  // little end
        ib->Unlock();
        device->SetIndices(ib);
        device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        EXPECT_EQ(D3D_OK, device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 4, 0, 4, 0, 2));
        const std::vector<DWORD> pixels = ReadBack();
        EXPECT_COLOR(0xFF00FF00, Pixel(pixels, kWidth - 10, kHeight / 2));
        EXPECT_COLOR(0xFF000000, Pixel(pixels, 10, kHeight / 2));
        // Index 9 lies past the eight vertices; with base 4 so would index 4.
        EXPECT_EQ(D3DERR_INVALIDCALL, device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 8, 6, 1));
        EXPECT_EQ(D3DERR_INVALIDCALL, device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 5, 0, 4, 0, 2));
        EXPECT_EQ(D3DERR_INVALIDCALL, device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 8, 3, 3));
        device->SetIndices(nullptr);
        ib->Release();
    }
    vb->Release();
}

TEST_F(MeshTest, AttributeSortBuildsTheTableDrawSubsetDrawsFrom)
{
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    ID3DXMesh* mesh = nullptr;
    ASSERT_EQ(D3D_OK, D3DXCreateMeshFVF(4, 8, D3DXMESH_MANAGED, kXyzColorFvf, device, &mesh));
    std::vector<XyzColorVertex> v = Square(-1.0f, -1.0f, -0.5f, 1.0f, 0xFFFF0000);
    const std::vector<XyzColorVertex> right = Square(0.5f, -1.0f, 1.0f, 1.0f, 0xFF00FF00);
    v.insert(v.end(), right.begin(), right.end());
    void* data = nullptr;
    mesh->LockVertexBuffer(0, &data);
    std::memcpy(data, v.data(), v.size() * sizeof v[0]);
    mesh->UnlockVertexBuffer();
    const WORD indices[] = {4, 5, 6, 0, 1, 2, 4, 6, 7, 0, 2, 3};
    mesh->LockIndexBuffer(0, &data);
    std::memcpy(data, indices, sizeof indices);
    mesh->UnlockIndexBuffer();
    DWORD* attributes = nullptr;
    mesh->LockAttributeBuffer(0, &attributes);
    const DWORD faceAttributes[] = {1, 0, 1, 0};
    std::memcpy(attributes, faceAttributes, sizeof faceAttributes);
    mesh->UnlockAttributeBuffer();

    DWORD remap[4] = {};
    ASSERT_EQ(D3D_OK, mesh->OptimizeInplace(D3DXMESHOPT_ATTRSORT, nullptr, nullptr, remap, nullptr));
    EXPECT_EQ((std::vector<DWORD>{1, 3, 0, 2}), std::vector<DWORD>(remap, remap + 4));
    D3DXATTRIBUTERANGE table[4] = {};
    DWORD ranges = 0;
    mesh->GetAttributeTable(table, &ranges);
    ASSERT_EQ(2u, ranges);
    EXPECT_EQ(0u, table[0].AttribId);
    EXPECT_EQ(0u, table[0].FaceStart);
    EXPECT_EQ(2u, table[0].FaceCount);
    EXPECT_EQ(0u, table[0].VertexStart);
    EXPECT_EQ(4u, table[0].VertexCount);
    EXPECT_EQ(1u, table[1].AttribId);
    EXPECT_EQ(2u, table[1].FaceStart);
    EXPECT_EQ(4u, table[1].VertexStart);

    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    EXPECT_EQ(D3D_OK, mesh->DrawSubset(1));
    const std::vector<DWORD> pixels = ReadBack();
    EXPECT_COLOR(0xFF00FF00, Pixel(pixels, kWidth - 10, kHeight / 2));
    EXPECT_COLOR(0xFF000000, Pixel(pixels, 10, kHeight / 2));
    mesh->Release();
}

TEST_F(MeshTest, CloningAddsANormalThatComputeNormalsPointsAtTheViewer)
{
    ID3DXMesh* mesh = nullptr;
    ASSERT_EQ(D3D_OK, D3DXCreateMeshFVF(2, 4, D3DXMESH_MANAGED | D3DXMESH_32BIT, D3DFVF_XYZ, device, &mesh));
    const float positions[] = {0, 0, 0, 0, 1, 0, 1, 1, 0, 1, 0, 0};
    const DWORD indices[] = {0, 1, 2, 0, 2, 3};
    void* data = nullptr;
    mesh->LockVertexBuffer(0, &data);
    std::memcpy(data, positions, sizeof positions);
    mesh->UnlockVertexBuffer();
    mesh->LockIndexBuffer(0, &data);
    std::memcpy(data, indices, sizeof indices);
    mesh->UnlockIndexBuffer();
    ID3DXMesh* lit = nullptr;
    ASSERT_EQ(D3D_OK, mesh->CloneMeshFVF(mesh->GetOptions(), D3DFVF_XYZ | D3DFVF_NORMAL, device, &lit));
    EXPECT_EQ(24u, lit->GetNumBytesPerVertex());
    EXPECT_EQ(D3DERR_INVALIDCALL, D3DXComputeNormals(mesh, nullptr));  // no normal to write
    ASSERT_EQ(D3D_OK, D3DXComputeNormals(lit, nullptr));
    lit->LockVertexBuffer(D3DLOCK_READONLY, &data);
    const float* v = static_cast<const float*>(data);
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(positions[i * 3 + 1], v[i * 6 + 1]);  // positions carried over
        EXPECT_FLOAT_EQ(-1.0f, v[i * 6 + 5]);                 // clockwise faces look at -z
    }
    lit->UnlockVertexBuffer();
    DWORD adjacency[6] = {};
    lit->GenerateAdjacency(0.0f, adjacency);
    EXPECT_EQ((std::vector<DWORD>{0xFFFFFFFF, 0xFFFFFFFF, 1, 0, 0xFFFFFFFF, 0xFFFFFFFF}),
              std::vector<DWORD>(adjacency, adjacency + 6));
    lit->Release();
    mesh->Release();
}

TEST_F(MeshTest, LoadingAXFilePlacesItsFramesAndKeepsMaterialsWithTextureNames)
{
    const std::string path = WriteFile(TempPath("quad.x"), kTwoMaterialQuad);
    ID3DXMesh* mesh = nullptr;
    ID3DXBuffer* materials = nullptr;
    ID3DXBuffer* adjacency = nullptr;
    DWORD count = 0;
    ASSERT_EQ(D3D_OK, D3DXLoadMeshFromXA(path.c_str(), D3DXMESH_MANAGED, device, &adjacency,
                                         &materials, nullptr, &count, &mesh));
    ASSERT_EQ(2u, count);
    EXPECT_EQ(2u, mesh->GetNumFaces());
    EXPECT_EQ(DWORD(D3DFVF_XYZ | D3DFVF_TEX1), mesh->GetFVF());
    EXPECT_EQ(24u, adjacency->GetBufferSize());
    const D3DXMATERIAL* m = static_cast<const D3DXMATERIAL*>(materials->GetBufferPointer());
    EXPECT_FLOAT_EQ(1.0f, m[0].MatD3D.Diffuse.r);
    EXPECT_FLOAT_EQ(8.0f, m[0].MatD3D.Power);
    EXPECT_FLOAT_EQ(1.0f, m[1].MatD3D.Diffuse.b);
    EXPECT_STREQ("tile.bmp", m[0].pTextureFilename);
    EXPECT_STREQ("tile.bmp", m[1].pTextureFilename);
    // Face 0 (material 1) uses the corners (0,0), (0,1), (1,1), moved by the root frame.
    DWORD* attributes = nullptr;
    mesh->LockAttributeBuffer(D3DLOCK_READONLY, &attributes);
    std::vector<DWORD> a(attributes, attributes + 2);
    mesh->UnlockAttributeBuffer();
    std::sort(a.begin(), a.end());
    EXPECT_EQ((std::vector<DWORD>{0, 1}), a);
    void* data = nullptr;
    mesh->LockVertexBuffer(D3DLOCK_READONLY, &data);
    float lowestX = 99.0f;
    for (DWORD i = 0; i < mesh->GetNumVertices(); ++i)
        lowestX = std::min(lowestX, static_cast<const float*>(data)[i * 5]);
    mesh->UnlockVertexBuffer();
    EXPECT_FLOAT_EQ(2.0f, lowestX);
    materials->Release();
    adjacency->Release();
    mesh->Release();
    std::remove(path.c_str());
}

// Records what the loader asks of an allocator, and frees it all again.
class CountingAllocator : public ID3DXAllocateHierarchy {
public:
    STDMETHOD(CreateFrame)(LPCSTR name, LPD3DXFRAME* out) override
    {
        auto* f = new D3DXFRAME();
        f->Name = strdup(name ? name : "");
        D3DXMatrixIdentity(&f->TransformationMatrix);
        *out = f;
        ++frames;
        return S_OK;
    }
    STDMETHOD(CreateMeshContainer)(LPCSTR name, const D3DXMESHDATA* data, const D3DXMATERIAL* m,
                                   const D3DXEFFECTINSTANCE*, DWORD count, const DWORD*,
                                   LPD3DXSKININFO, LPD3DXMESHCONTAINER* out) override
    {
        auto* c = new D3DXMESHCONTAINER();
        c->Name = strdup(name ? name : "");
        c->MeshData = *data;
        data->pMesh->AddRef();
        c->NumMaterials = count;
        textures.push_back(count ? m[0].pTextureFilename : "");
        *out = c;
        ++containers;
        return S_OK;
    }
    STDMETHOD(DestroyFrame)(LPD3DXFRAME f) override
    {
        free(f->Name);
        delete f;
        --frames;
        return S_OK;
    }
    STDMETHOD(DestroyMeshContainer)(LPD3DXMESHCONTAINER c) override
    {
        free(c->Name);
        c->MeshData.pMesh->Release();
        delete c;
        --containers;
        return S_OK;
    }
    int frames = 0, containers = 0;
    std::vector<std::string> textures;
};

TEST_F(MeshTest, TheHierarchyLoaderBuildsFramesThroughTheAllocatorAndRefusesAnimation)
{
    const std::string path = WriteFile(TempPath("tree.x"), kTwoMaterialQuad);
    CountingAllocator allocator;
    D3DXFRAME* root = nullptr;
    ID3DXAnimationController* controller = nullptr;
    ASSERT_EQ(D3D_OK, D3DXLoadMeshHierarchyFromXA(path.c_str(), D3DXMESH_MANAGED, device, &allocator,
                                                  nullptr, &root, &controller));
    EXPECT_EQ(nullptr, controller);
    EXPECT_EQ(2, allocator.frames);
    ASSERT_EQ(1, allocator.containers);
    EXPECT_EQ("tile.bmp", allocator.textures[0]);
    D3DXFRAME* child = D3DXFrameFind(root, "Child");
    ASSERT_NE(nullptr, child);
    EXPECT_EQ(child, root->pFrameFirstChild);
    EXPECT_FLOAT_EQ(2.0f, root->TransformationMatrix._41);
    EXPECT_EQ(2u, child->pMeshContainer->MeshData.pMesh->GetNumFaces());
    EXPECT_EQ(nullptr, D3DXFrameFind(root, "Missing"));
    EXPECT_EQ(D3D_OK, D3DXFrameDestroy(root, &allocator));
    EXPECT_EQ(0, allocator.frames);
    EXPECT_EQ(0, allocator.containers);

    const std::string animated = WriteFile(
        TempPath("animated.x"),
        std::string(kTwoMaterialQuad) +
            "AnimationSet Spin { Animation { {Root} AnimationKey { 4; 2; "
            "0;16;1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0;;, "
            "9;16;1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0,0.0,1.0,0.0,0.0,1.0;;; } } }\n");
    EXPECT_EQ(D3DXERR_SKINNINGNOTSUPPORTED,
              D3DXLoadMeshHierarchyFromXA(animated.c_str(), D3DXMESH_MANAGED, device, &allocator,
                                          nullptr, &root, &controller));
    EXPECT_EQ(nullptr, root);
    EXPECT_EQ(0, allocator.frames);
    std::remove(path.c_str());
    std::remove(animated.c_str());
}

TEST_F(MeshTest, MalformedXFilesAreRefusedWithoutAMesh)
{
    const std::string quad = kTwoMaterialQuad;
    const struct {
        const char* what;
        std::string text;
    } cases[] = {
        {"not a .x file", "solid cube\nfacet normal 0 0 1\n"},
        {"empty", ""},
        {"cut short", quad.substr(0, quad.size() / 2)},
        {"frames without a mesh", "xof 0303txt 0032\nFrame Empty { }\n"},
        // These took Assimp down (a crash, a leak, a request for 48 GB); it runs apart.
        {"unknown object after the material list",
         "xof 0303txt 0032\nMaterial Own { 1.0;1.0;1.0;1.0;; 0.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; }\n"
         "Mesh Plane { 3; 0.0;0.0;0.0;, 0.0;1.0;0.0;, 1.0;1.0;0.0;; 1; 3;0,1,2;;\n"
         " MeshMaterialList { 1; 1; 0;;k{Own} }\n MeshTextureC\x88ords { 3; 0.0;1.0;, 0.0;0.0;, 1.0;0.0;; } }\n"},
        {"a number that does not parse",
         "xof 0303txt 0032\nMesh M { 3; 0.0;0.0;0.0;, 0.0;1.0;0.0;, 1.0;1.0;0.0;; 1; 3;0,1,2;;\n"
         " MeshTextureCoords { 3; 0.0;1.0;, 0$mat.0;0.0;, 1.0;0.0;; } }\n"},
        {"a second material list in an unknown object",
         "xof 0303txt 0032\nMate03txt 0032\nMaterial Own { 1.0;1.0;1.0;1.0;; 0.0; 0.0;0.0;0.0;; "
         "0.0;0.0;0.0;; }\nMesh Plane {\n 4; -0.5;-0.5;0.0;, -0.5;0.5;0.0;, 0.5;0.5;0.0;, "
         "0.5;-0.5;0.0;;\n 2; 3;0,1,2;, 3;0,2,3;;\n MeshMaterialList { 1; 2; 0, 0;; {Own} }\n"
         " MeshTextureC\x88ords { 4; 0.0;1.0;, 0.0;0.0;, 1.0;0.00.0;0.0;-1.0;; 2; 3;0,0,0;, "
         "4;0,0,0,0;; }\n  MeshMaterialList { 2; 2; 0, 1;; {M} Material { 0.0;0.0;1.0;1.0;; 1.0; "
         "0.0;0.0;0.0;; 0.0;0.0;0.0;; } }\n  MeshTextureCoords { 4; 0.0;1.0;, 0.0;0.0;, 1.0;0.0;, "
         "1.0;1.0;; } } }\n"},
        {"face index past the vertices",
         "xof 0303txt 0032\nMesh M { 3; 0.0;0.0;0.0;, 0.0;1.0;0.0;, 1.0;1.0;0.0;; 1; 3;0,1,7;; }\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = WriteFile(TempPath("bad.x"), c.text);
        ID3DXMesh* mesh = nullptr;
        EXPECT_TRUE(FAILED(D3DXLoadMeshFromXA(path.c_str(), D3DXMESH_MANAGED, device, nullptr,
                                              nullptr, nullptr, nullptr, &mesh)));
        EXPECT_EQ(nullptr, mesh);
        std::remove(path.c_str());
    }
}

}  // namespace
