// CMeshModel: loading .x models, the material rules, drawing and destruction.
//
// .x loading tries the hierarchical loader first; a model without an animation
// controller (every static model) is destroyed again and read by the plain loader, which
// is the one that collects materials. Material rules: a diffuse alpha of 0 becomes 1, the
// ambient colour follows the diffuse one, and a texture file named by several materials
// is loaded once, with the slots of the later ones pointing at the first one's texture.
#include "MeshModel.h"

#include <KvD3D9.h>
#include <kvException.h>
#include <kvSystem.h>

#include <stdio.h>
#include <string.h>

namespace {

// Every frame of the tree, depth first (children before siblings).
D3DXFRAME* FirstFrameWithMesh(D3DXFRAME* frame)
{
    for (; frame; frame = frame->pFrameSibling) {
        if (frame->pMeshContainer)
            return frame;
        if (D3DXFRAME* below = FirstFrameWithMesh(frame->pFrameFirstChild))
            return below;
    }
    return nullptr;
}

// Points each skinned container's bone matrices at the frames its bones name.
HRESULT LinkBones(D3DXFRAME* root, D3DXFRAME* frame)
{
    for (; frame; frame = frame->pFrameSibling) {
        for (D3DXMESHCONTAINER* c = frame->pMeshContainer; c; c = c->pNextMeshContainer) {
            if (!c->pSkinInfo)
                continue;
            MeshContainer* mc = static_cast<MeshContainer*>(c);
            for (DWORD i = 0; i < c->pSkinInfo->GetNumBones(); ++i) {
                D3DXFRAME* bone = D3DXFrameFind(root, c->pSkinInfo->GetBoneName(i));
                if (!bone)
                    return E_FAIL;
                mc->boneMatrixPointers[i] = &static_cast<MeshFrame*>(bone)->combinedTransformationMatrix;
            }
        }
        if (FAILED(LinkBones(root, frame->pFrameFirstChild)))
            return E_FAIL;
    }
    return S_OK;
}

template <class Interface>
void ReleaseOnce(Interface*& object)
{
    if (object)
        object->Release();
    object = nullptr;
}

}  // namespace

CMeshModel::CMeshModel()
    : frameRoot(nullptr), animController(nullptr), faceCount(0), vertexCount(0), declaration(),
      attributeTable(), attributeCount(0), vertexBuffer(nullptr), indexBuffer(nullptr),
      mesh(nullptr), textures(), materials(nullptr), materialCount(0), ownedTextures(),
      ownedCount(0)
{
}

CMeshModel::~CMeshModel() { Destroy(); }

void CMeshModel::Load(const char* fileName)
{
    const char* name = fileName ? fileName : "";
    char path[MAX_PATH];
    const int length = snprintf(path, sizeof path, "%s%s", kvPath, name);
    const bool fits = length >= 0 && size_t(length) < sizeof path;
    const char* dot = strrchr(name, '.');
    char extension[4] = {};
    for (int i = 0; dot && i < 3 && dot[1 + i]; ++i)
        extension[i] = char(dot[1 + i] >= 'A' && dot[1 + i] <= 'Z' ? dot[1 + i] + 32 : dot[1 + i]);
    const bool obj = dot && strcmp(extension, "obj") == 0 && dot[4] == '\0';
    Destroy();
    if (obj) {
        if (!fits)
            NewException("Failed to load .obj file", KVEXCEPTION_GENERAL);
        LoadObjMesh(path);
        return;
    }
    LoadXMesh(name, fits ? path : nullptr);
}

void CMeshModel::LoadXMesh(const char* fileName, const char* path)
{
    if (!fileName[0])
        NewException("Failed to specify a .x file.", KVEXCEPTION_GENERAL);
    if (!path)
        NewException("Failed to load .x file", KVEXCEPTION_GENERAL);
    if (LoadHierarchy(path))
        return;
    LoadPlain(path);
}

bool CMeshModel::LoadHierarchy(const char* path)
{
    HRESULT hr = D3DXLoadMeshHierarchyFromXA(path, D3DXMESH_MANAGED, pd3dDevice, &allocator,
                                             nullptr, &frameRoot, &animController);
    D3DXFRAME* drawn = SUCCEEDED(hr) && animController ? FirstFrameWithMesh(frameRoot) : nullptr;
    if (drawn && SUCCEEDED(LinkBones(frameRoot, frameRoot))) {
        mesh = drawn->pMeshContainer->MeshData.pMesh;
        mesh->AddRef();
        Optimize();
        return true;
    }
    // No animation (or an unusable one): the plain loader reads the static model.
    if (frameRoot)
        D3DXFrameDestroy(frameRoot, &allocator);
    frameRoot = nullptr;
    if (animController)
        animController->Release();
    animController = nullptr;
    return false;
}

void CMeshModel::LoadPlain(const char* path)
{
    ID3DXBuffer* materialBuffer = nullptr;
    DWORD count = 0;
    HRESULT hr = D3DXLoadMeshFromXA(path, D3DXMESH_MANAGED, pd3dDevice, nullptr, &materialBuffer,
                                    nullptr, &count, &mesh);
    if (FAILED(hr) || !mesh) {
        if (materialBuffer)
            materialBuffer->Release();
        mesh = nullptr;
        NewException("Failed to load .x file", KVEXCEPTION_GENERAL);
    }
    if (count > MESH_MAX_MATERIALS) {
        materialBuffer->Release();
        Destroy();
        NewException("Failed to load .x file: more than 256 materials.", KVEXCEPTION_GENERAL);
    }
    try {
        Optimize();
        TakeMaterials(count && materialBuffer
                          ? static_cast<const D3DXMATERIAL*>(materialBuffer->GetBufferPointer())
                          : nullptr,
                      count);
    } catch (kvException*) {
        if (materialBuffer)
            materialBuffer->Release();
        throw;
    }
    if (materialBuffer)
        materialBuffer->Release();
}

void CMeshModel::TakeMaterials(const D3DXMATERIAL* source, DWORD count)
{
    materials = new MeshMaterial[count ? count : 1]();
    for (DWORD i = 0; i < count; ++i) {
        MeshMaterial& m = materials[i];
        m.textureName = new char[MESH_TEXTURE_NAME_SIZE]();
        materialCount = i + 1;  // Destroy frees the names made so far
        m.material = source[i].MatD3D;
        if (m.material.Diffuse.a == 0.0f)
            m.material.Diffuse.a = 1.0f;
        m.material.Ambient = m.material.Diffuse;
        const char* name = source[i].pTextureFilename;
        if (!name || !name[0])
            continue;
        snprintf(m.textureName, MESH_TEXTURE_NAME_SIZE, "%s", name);
        for (DWORD earlier = 0; earlier < i && !textures[i]; ++earlier)
            if (textures[earlier] && strcmp(materials[earlier].textureName, m.textureName) == 0)
                textures[i] = textures[earlier];
        if (textures[i])
            continue;
        char path[MAX_PATH];
        snprintf(path, sizeof path, "%s%s", kvPath, m.textureName);
        IDirect3DTexture9* texture = nullptr;
        if (SUCCEEDED(D3DXCreateTextureFromFileExA(pd3dDevice, path, D3DX_DEFAULT, D3DX_DEFAULT,
                                                   D3DX_DEFAULT, 0, D3DFMT_UNKNOWN,
                                                   D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, 0,
                                                   nullptr, nullptr, &texture)) &&
            texture) {
            textures[i] = texture;
            ownedTextures[ownedCount++] = texture;
        }
    }
}

void CMeshModel::Optimize()
{
    HRESULT hr = mesh->OptimizeInplace(D3DXMESHOPT_ATTRSORT, nullptr, nullptr, nullptr, nullptr);
    DWORD ranges = 0;
    if (SUCCEEDED(hr))
        hr = mesh->GetAttributeTable(nullptr, &ranges);
    if (FAILED(hr) || ranges > MESH_MAX_ATTRIBUTES) {
        Destroy();
        NewException("Failed to optimize mesh: its attribute table does not fit.",
                     KVEXCEPTION_GENERAL);
    }
    faceCount = mesh->GetNumFaces();
    vertexCount = mesh->GetNumVertices();
    mesh->GetAttributeTable(attributeTable, &attributeCount);
    mesh->GetIndexBuffer(&indexBuffer);
    mesh->GetVertexBuffer(&vertexBuffer);
    mesh->GetDeclaration(declaration);
}

void CMeshModel::Render(bool highlight)
{
    (void)highlight;
    if (!mesh)
        return;
    for (DWORD i = 0; i < materialCount; ++i) {
        pd3dDevice->SetMaterial(&materials[i].material);
        pd3dDevice->SetTexture(0, textures[i]);
        mesh->DrawSubset(i);
    }
}

void CMeshModel::Destroy()
{
    if (frameRoot)
        D3DXFrameDestroy(frameRoot, &allocator);
    frameRoot = nullptr;
    if (animController)
        animController->Release();
    animController = nullptr;
    if (materials)
        for (DWORD i = 0; i < materialCount; ++i)
            delete[] materials[i].textureName;
    delete[] materials;
    materials = nullptr;
    materialCount = 0;
    for (DWORD i = 0; i < ownedCount; ++i)
        ownedTextures[i]->Release();
    ownedCount = 0;
    memset(ownedTextures, 0, sizeof ownedTextures);
    memset(textures, 0, sizeof textures);
    ReleaseOnce(vertexBuffer);
    ReleaseOnce(indexBuffer);
    ReleaseOnce(mesh);
    faceCount = vertexCount = attributeCount = 0;
}
