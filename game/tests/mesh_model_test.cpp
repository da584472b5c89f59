// CMeshModel on a real device: .x and .obj files written by the tests, pictures read back
// through the board's camera, refusals with their messages, and the rebuild around a
// device reset.
#include "D3DFixture.h"

#include <MeshModel.h>
#include <kvException.h>

#include <vexa/graphics.h>

#include <d3dx9.h>

#include <fstream>

namespace {

// A unit tile facing the camera, centred on the origin; texture "own.bmp" with (0, 0) at
// its top left.
const char kPlane[] = R"(xof 0303txt 0032
Material Own { 1.0;1.0;1.0;1.0;; 0.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; TextureFilename { "own.bmp"; } }
Mesh Plane {
 4; -0.5;-0.5;0.0;, -0.5;0.5;0.0;, 0.5;0.5;0.0;, 0.5;-0.5;0.0;;
 2; 3;0,1,2;, 3;0,2,3;;
 MeshMaterialList { 1; 2; 0, 0;; {Own} }
 MeshTextureCoords { 4; 0.0;1.0;, 0.0;0.0;, 1.0;0.0;, 1.0;1.0;; }
}
)";

// Two materials naming one texture; the first has a diffuse alpha of 0.
const char kShared[] = R"(xof 0303txt 0032
Mesh Quad {
 4; 0.0;0.0;0.0;, 0.0;1.0;0.0;, 1.0;1.0;0.0;, 1.0;0.0;0.0;;
 2; 3;0,1,2;, 3;0,2,3;;
 MeshMaterialList { 2; 2; 1, 0;;
  Material A { 0.2;0.4;0.6;0.0;; 1.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; TextureFilename { "shared.bmp"; } }
  Material B { 1.0;1.0;1.0;1.0;; 1.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; TextureFilename { "shared.bmp"; } } }
 MeshTextureCoords { 4; 0.0;1.0;, 0.0;0.0;, 1.0;0.0;, 1.0;1.0;; }
}
)";

class MeshModelTest : public D3DTest {
protected:
    void SetUp() override
    {
        D3DTest::SetUp();
        Start();
    }

    void Write(const char* name, const std::string& text)
    {
        std::ofstream(name, std::ios::binary) << text;
        files.push_back(name);
    }

    // The message of the exception loading raises, or "" when it loads.
    static std::string LoadMessage(CMeshModel& model, const char* name)
    {
        try {
            model.Load(name);
        } catch (kvException* e) {
            std::string message = e->message;
            DeleteException(e);
            EXPECT_EQ(nullptr, model.mesh);
            return message;
        }
        return "";
    }

    // The board's camera and frame states, then the model placed at cell (col, row).
    void DrawAtCell(CMeshModel& model, int col, int row, IDirect3DTexture9* substitute)
    {
        D3DXMATRIX world, view, projection;
        const D3DXVECTOR3 eye(0, 0, -9), at(0, 0, 0), up(0, 1, 0);
        D3DXMatrixLookAtLH(&view, &eye, &at, &up);
        D3DXMatrixPerspectiveFovLH(&projection, 1.0471976f, 320.0f / 240.0f, 0.015625f, 20.0f);
        D3DXMatrixTranslation(&world, (col - 5) * 1.1f, (8 - row - 4.95f) * 1.08f + 0.5f, 0.0f);
        d3d->ClearScreen(0xFF000000, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
        d3d->BeginScene();
        pd3dDevice->SetTransform(D3DTS_VIEW, &view);
        pd3dDevice->SetTransform(D3DTS_PROJECTION, &projection);
        pd3dDevice->SetTransform(D3DTS_WORLD, &world);
        pd3dDevice->SetRenderState(D3DRS_AMBIENT, 0x00666666);
        pd3dDevice->SetRenderState(D3DRS_ZENABLE, TRUE);
        pd3dDevice->SetRenderState(D3DRS_LIGHTING, FALSE);
        pd3dDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
        pd3dDevice->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
        pd3dDevice->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
        pd3dDevice->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
        pd3dDevice->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
        if (substitute)
            model.textures[0] = substitute;
        model.Render(false);
        if (substitute)
            model.textures[0] = nullptr;
        d3d->EndScene();
    }

    // Red, green / blue, white quarters.
    void WriteOwnTexture() { WriteBmp("own.bmp", 2, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}); }
};

// Cell (6, 4) sits at (1.1, -0.526) in the world: 9 units from the eye, the tile's centre
// lands on pixel (185.4, 132.1) of 320 x 240 and its half-size is 15.4 x 11.5 pixels.
TEST_F(MeshModelTest, ATileThroughTheBoardCameraShowsItsPictureWhereTheProjectionPutsIt)
{
    WriteOwnTexture();
    Write("plane.x", kPlane);
    CMeshModel model;
    ASSERT_EQ("", LoadMessage(model, "plane.x"));
    DrawAtCell(model, 6, 4, nullptr);
    const std::vector<DWORD> pixels = ReadBack();
    auto at = [&](int x, int y) { return pixels[size_t(y) * 320 + size_t(x)] & 0xFFFFFF; };
    const struct {
        int x, y;
        DWORD rgb;
    } probes[] = {
        {185 - 8, 132 - 6, 0xFF0000}, {185 + 8, 132 - 6, 0x00FF00}, {185 - 8, 132 + 6, 0x0000FF},
        {185 + 8, 132 + 6, 0xFFFFFF}, {185 + 18, 132, 0x000000},    {185, 132 - 14, 0x000000},
    };
    for (const auto& p : probes) {
        SCOPED_TRACE(testing::Message() << "pixel " << p.x << ", " << p.y);
        EXPECT_TRUE(Near(p.rgb, at(p.x, p.y), 24)) << std::hex << at(p.x, p.y);
    }

    // A texture stored in slot 0 around Render shows instead of the model's own.
    WriteBmp("yellow.bmp", 1, 1, {0xFFFF00});
    IDirect3DTexture9* yellow = static_cast<kvD3D*>(kvgi)->LoadImage(const_cast<char*>("yellow.bmp"), false, 0);
    ASSERT_NE(nullptr, yellow);
    DrawAtCell(model, 6, 4, yellow);
    EXPECT_TRUE(Near(0xFFFF00, Rgb(185 - 8, 132 - 6), 8));
    EXPECT_TRUE(Near(0xFFFF00, Rgb(185 + 8, 132 + 6), 8));
    EXPECT_EQ(nullptr, model.textures[0]);
    // The model's own texture is still owned and released once by Destroy.
    model.Destroy();
    EXPECT_EQ(0u, yellow->Release());
}

TEST_F(MeshModelTest, MaterialsSharingATextureLoadItOnceAndReleaseItOnce)
{
    WriteBmp("shared.bmp", 1, 1, {0x808080});
    Write("shared.x", kShared);
    CMeshModel model;
    ASSERT_EQ("", LoadMessage(model, "shared.x"));
    ASSERT_EQ(2u, model.materialCount);
    ASSERT_NE(nullptr, model.textures[0]);
    EXPECT_EQ(model.textures[0], model.textures[1]);
    EXPECT_STREQ("shared.bmp", model.materials[1].textureName);
    // Diffuse alpha 0 becomes 1; ambient follows diffuse.
    EXPECT_FLOAT_EQ(1.0f, model.materials[0].material.Diffuse.a);
    EXPECT_FLOAT_EQ(0.4f, model.materials[0].material.Ambient.g);
    EXPECT_EQ(1u, model.attributeTable[1].AttribId);
    IDirect3DTexture9* texture = model.textures[0];
    EXPECT_EQ(2u, texture->AddRef());  // the model's one reference and ours
    model.Destroy();
    EXPECT_EQ(0u, texture->Release());
}

TEST_F(MeshModelTest, ObjFaceIndicesCountFromOneOrBackFromTheLastVertex)
{
    const struct {
        const char* face;
        DWORD expected[3];
    } cases[] = {{"f 1 2 3", {0, 1, 2}}, {"F -1 -2 -3", {2, 1, 0}}, {"f 3 -3 2", {2, 0, 1}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.face);
        Write("tri.obj", std::string("# three vertices\nv 0 0 0\nV 0 1 0\nv 1 1 0\n\n") + c.face + "\n");
        CMeshModel model;
        ASSERT_EQ("", LoadMessage(model, "tri.obj"));
        ASSERT_EQ(1u, model.faceCount);
        EXPECT_EQ(3u, model.vertexCount);
        void* data = nullptr;
        ASSERT_EQ(D3D_OK, model.mesh->LockIndexBuffer(D3DLOCK_READONLY, &data));
        const DWORD* indices = static_cast<const DWORD*>(data);
        EXPECT_EQ(std::vector<DWORD>(c.expected, c.expected + 3), std::vector<DWORD>(indices, indices + 3));
        model.mesh->UnlockIndexBuffer();
    }
}

TEST_F(MeshModelTest, MalformedModelsAreRefusedWithTheirMessages)
{
    const std::string vertices = "v 0 0 0\nv 0 1 0\nv 1 1 0\n";
    std::string many = "xof 0303txt 0032\nMesh M { 3; 0.0;0.0;0.0;, 0.0;1.0;0.0;, 1.0;1.0;0.0;; "
                       "1; 3;0,1,2;; MeshMaterialList { 257; 1; 256;;\n";
    for (int i = 0; i < 257; ++i)
        many += "Material { 0.5;0.5;0.5;1.0;; 0.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; }\n";
    many += "} }\n";
    const struct {
        const char* file;
        std::string text;
        const char* message;
    } cases[] = {
        {"coords.obj", vertices + "vt 0 1\nf 1 2 3\n", "Texture coordinates are not ported currently. (LoadObjMesh)"},
        {"slash.obj", vertices + "f 1/1 2/2 3/3\n", "Multiple index are not ported currently. (LoadObjMesh)"},
        {"early.obj", "f 1 2 3\n" + vertices, "A face of the .obj file comes before any vertex. (LoadObjMesh)"},
        {"outside.obj", vertices + "f 1 2 4\n", "A face of the .obj file names a vertex it does not have. (LoadObjMesh)"},
        {"zero.obj", vertices + "f 0 1 2\n", "A face of the .obj file names a vertex it does not have. (LoadObjMesh)"},
        {"behind.obj", vertices + "f -4 1 2\n", "A face of the .obj file names a vertex it does not have. (LoadObjMesh)"},
        {"word.obj", "v 0 zero 0\n", "A vertex of the .obj file does not read as three numbers. (LoadObjMesh)"},
        {"huge.obj", vertices + "f 1 2 99999999999999999999\n", "A face of the .obj file does not read as three indices. (LoadObjMesh)"},
        {"long.obj", vertices + "# " + std::string(9998, 'x') + "\nf 1 2 3\n", "Lines of more than 9999 characters are not supported. (LoadObjMesh)"},
        {"nofaces.obj", vertices, "The .obj file holds no faces. (LoadObjMesh)"},
        {"", "", "Failed to specify a .x file."},
        {"many.x", many, "Failed to load .x file: more than 256 materials."},
        {"garbage.x", "xof 0303txt 0032\nMesh { 3; 0.0;", "Failed to load .x file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        if (c.file[0])
            Write(c.file, c.text);
        CMeshModel model;
        EXPECT_EQ(c.message, LoadMessage(model, c.file));
    }
    CMeshModel model;
    EXPECT_EQ("Failed to load .obj file", LoadMessage(model, "missing.obj"));
    EXPECT_EQ("Failed to load .x file", LoadMessage(model, "missing.x"));
    // A 9999-character line is still read.
    Write("edge.obj", vertices + "#" + std::string(9998, 'x') + "\nf 1 2 3\n");
    EXPECT_EQ("", LoadMessage(model, "edge.obj"));
}

// Builds the two models in LoadObjs and frees them in DestroyObjs, as the game does.
class MeshApp : public kvApplication {
public:
    void LoadObjs() override
    {
        plane.Load("plane.x");
        frame.Load("tri.obj");
        ++loads;
    }
    void DestroyObjs() override
    {
        plane.Destroy();
        frame.Destroy();
    }
    CMeshModel plane, frame;
    int loads = 0;
};

TEST_F(MeshModelTest, DeviceLossRebuildsTheModelsThroughDestroyObjsAndLoadObjs)
{
    WriteOwnTexture();
    Write("plane.x", kPlane);
    Write("tri.obj", "v 0 0 0\nv 0 1 0\nv 1 1 0\nf 1 2 3\n");
    auto* app = new MeshApp;
    kvApp = app;
    kvlib::LoadAppObjects();
    ID3DXMesh* before = app->plane.mesh;
    ASSERT_NE(nullptr, before);
    vexa::platform::LoseDevice(d3d->pDevice);
    d3d->UpdateScreen();
    kvRestoreObjects();
    EXPECT_FALSE(d3d->TestLost());
    EXPECT_EQ(2, app->loads);
    ASSERT_NE(nullptr, app->plane.mesh);
    EXPECT_EQ(1u, app->frame.faceCount);
    DrawAtCell(app->plane, 6, 4, nullptr);
    EXPECT_TRUE(Near(0xFF0000, Rgb(185 - 8, 132 - 6), 24));
    kvApp = nullptr;
    kvlib::DestroyAppObjects();
    delete app;
}

}  // namespace
