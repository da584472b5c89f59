// CAllocateHierarchy: frames and mesh containers for D3DXLoadMeshHierarchyFromXA.
//
// Every record is allocated with new (nothrow) and freed by the matching Destroy; a
// CreateMeshContainer that fails part way frees what it took and answers E_OUTOFMEMORY
// (or E_FAIL for a mesh it cannot use), so the loader never sees half a container.
#include "AllocateHierarchy.h"

#include <new>
#include <string.h>

namespace {

char* CopyName(const char* name)
{
    if (!name)
        return nullptr;
    const size_t length = strlen(name) + 1;
    char* copy = new (std::nothrow) char[length];
    if (copy)
        memcpy(copy, name, length);
    return copy;
}

void FreeContainer(MeshContainer* c)
{
    delete[] c->Name;
    if (c->pMaterials)
        for (DWORD i = 0; i < c->NumMaterials; ++i)
            delete[] c->pMaterials[i].pTextureFilename;
    delete[] c->pMaterials;
    delete[] c->pAdjacency;
    delete[] c->boneOffsetMatrices;
    delete[] c->boneMatrixPointers;
    if (c->boneCombinations)
        c->boneCombinations->Release();
    if (c->pSkinInfo)
        c->pSkinInfo->Release();
    if (c->MeshData.pMesh)
        c->MeshData.pMesh->Release();
    delete c;
}

// The container's own mesh: the given one referenced, or a copy with normals made for it.
HRESULT TakeMesh(ID3DXMesh* mesh, ID3DXMesh** out)
{
    *out = nullptr;
    if (mesh->GetFVF() & D3DFVF_NORMAL) {
        mesh->AddRef();
        *out = mesh;
        return S_OK;
    }
    if (mesh->GetFVF() == 0)
        return E_FAIL;
    IDirect3DDevice9* device = nullptr;
    mesh->GetDevice(&device);
    HRESULT hr = mesh->CloneMeshFVF(mesh->GetOptions(), mesh->GetFVF() | D3DFVF_NORMAL, device, out);
    if (device)
        device->Release();
    if (FAILED(hr))
        return hr;
    D3DXComputeNormals(*out, nullptr);
    return S_OK;
}

}  // namespace

HRESULT CAllocateHierarchy::CreateFrame(LPCSTR Name, LPD3DXFRAME* ppNewFrame)
{
    if (!ppNewFrame)
        return E_INVALIDARG;
    *ppNewFrame = nullptr;
    MeshFrame* frame = new (std::nothrow) MeshFrame();
    if (!frame)
        return E_OUTOFMEMORY;
    frame->Name = CopyName(Name);
    if (Name && !frame->Name) {
        delete frame;
        return E_OUTOFMEMORY;
    }
    D3DXMatrixIdentity(&frame->TransformationMatrix);
    D3DXMatrixIdentity(&frame->combinedTransformationMatrix);
    *ppNewFrame = frame;
    return S_OK;
}

HRESULT CAllocateHierarchy::CreateMeshContainer(LPCSTR Name, const D3DXMESHDATA* pMeshData,
                                                const D3DXMATERIAL* pMaterials,
                                                const D3DXEFFECTINSTANCE* pEffectInstances,
                                                DWORD NumMaterials, const DWORD* pAdjacency,
                                                LPD3DXSKININFO pSkinInfo,
                                                LPD3DXMESHCONTAINER* ppNewMeshContainer)
{
    (void)pEffectInstances;
    if (!ppNewMeshContainer)
        return E_INVALIDARG;
    *ppNewMeshContainer = nullptr;
    if (!pMeshData || pMeshData->Type != D3DXMESHTYPE_MESH || !pMeshData->pMesh)
        return E_FAIL;
    MeshContainer* c = new (std::nothrow) MeshContainer();
    if (!c)
        return E_OUTOFMEMORY;
    c->Name = CopyName(Name);
    HRESULT hr = (Name && !c->Name) ? E_OUTOFMEMORY : S_OK;
    ID3DXMesh* mesh = nullptr;
    if (SUCCEEDED(hr))
        hr = TakeMesh(pMeshData->pMesh, &mesh);
    c->MeshData.Type = D3DXMESHTYPE_MESH;
    c->MeshData.pMesh = mesh;
    const DWORD faces = mesh ? mesh->GetNumFaces() : 0;

    // Materials: at least one slot; names are copied.
    const DWORD slots = NumMaterials > 0 ? NumMaterials : 1;
    if (SUCCEEDED(hr)) {
        c->pMaterials = new (std::nothrow) D3DXMATERIAL[slots]();
        c->NumMaterials = slots;
        if (!c->pMaterials)
            hr = E_OUTOFMEMORY, c->NumMaterials = 0;
    }
    for (DWORD i = 0; SUCCEEDED(hr) && i < slots; ++i) {
        if (NumMaterials == 0 || !pMaterials) {
            c->pMaterials[i].MatD3D.Diffuse = D3DCOLORVALUE{1.0f, 1.0f, 1.0f, 1.0f};
            c->pMaterials[i].MatD3D.Ambient = c->pMaterials[i].MatD3D.Diffuse;
            continue;
        }
        c->pMaterials[i].MatD3D = pMaterials[i].MatD3D;
        c->pMaterials[i].pTextureFilename = CopyName(pMaterials[i].pTextureFilename);
        if (pMaterials[i].pTextureFilename && !c->pMaterials[i].pTextureFilename)
            hr = E_OUTOFMEMORY;
    }
    // Adjacency: three entries per face.
    if (SUCCEEDED(hr) && pAdjacency) {
        c->pAdjacency = new (std::nothrow) DWORD[size_t(faces) * 3];
        if (c->pAdjacency)
            memcpy(c->pAdjacency, pAdjacency, size_t(faces) * 3 * sizeof(DWORD));
        else
            hr = E_OUTOFMEMORY;
    }
    // Skin: the bone offsets, and the mesh as an indexed blended mesh.
    if (SUCCEEDED(hr) && pSkinInfo) {
        c->pSkinInfo = pSkinInfo;
        pSkinInfo->AddRef();
        const DWORD bones = pSkinInfo->GetNumBones();
        c->boneOffsetMatrices = new (std::nothrow) D3DXMATRIX[bones ? bones : 1];
        c->boneMatrixPointers = new (std::nothrow) D3DXMATRIX*[bones ? bones : 1]();
        if (!c->boneOffsetMatrices || !c->boneMatrixPointers)
            hr = E_OUTOFMEMORY;
        for (DWORD i = 0; SUCCEEDED(hr) && i < bones; ++i)
            memcpy(&c->boneOffsetMatrices[i], pSkinInfo->GetBoneOffsetMatrix(i), 64);
        if (SUCCEEDED(hr)) {
            c->paletteSize = bones < MESH_MAX_PALETTE ? bones : MESH_MAX_PALETTE;
            ID3DXMesh* blended = nullptr;
            hr = pSkinInfo->ConvertToIndexedBlendedMesh(
                mesh, D3DXMESHOPT_VERTEXCACHE | D3DXMESH_MANAGED, c->paletteSize, c->pAdjacency,
                nullptr, nullptr, nullptr, &c->maxVertexInfluences, &c->boneCombinationCount,
                &c->boneCombinations, &blended);
            if (SUCCEEDED(hr)) {
                mesh->Release();
                c->MeshData.pMesh = blended;
            }
        }
    }
    if (FAILED(hr)) {
        FreeContainer(c);
        return hr;
    }
    *ppNewMeshContainer = c;
    return S_OK;
}

HRESULT CAllocateHierarchy::DestroyFrame(LPD3DXFRAME pFrameToFree)
{
    if (!pFrameToFree)
        return E_INVALIDARG;
    MeshFrame* frame = static_cast<MeshFrame*>(pFrameToFree);
    delete[] frame->Name;
    delete frame;
    return S_OK;
}

HRESULT CAllocateHierarchy::DestroyMeshContainer(LPD3DXMESHCONTAINER pMeshContainerToFree)
{
    if (!pMeshContainerToFree)
        return E_INVALIDARG;
    FreeContainer(static_cast<MeshContainer*>(pMeshContainerToFree));
    return S_OK;
}
