// Frame hierarchies from .x files: D3DXLoadMeshHierarchyFromXA, D3DXFrameDestroy and
// D3DXFrameFind.
//
// Each node of the file becomes a frame with the node's matrix; a node with meshes gets one
// mesh container whose mesh joins them, unplaced (the frames place it), with its own
// list of the materials it uses. A failure part way hands everything built so far back to
// the allocator before it returns.
#include "x_scene.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace vexa::platform::d3dx9 {

namespace {

struct HierarchyBuilder {
    const XScene& scene;
    DWORD options;
    IDirect3DDevice9* device;
    ID3DXAllocateHierarchy* allocator;

    HRESULT Container(const XNode& node, D3DXMESHCONTAINER** out)
    {
        *out = nullptr;
        std::vector<XPart> parts;
        std::vector<DWORD> slots(scene.materials.size(), 0);
        std::vector<unsigned> materials;
        D3DXMATRIX identity;
        D3DXMatrixIdentity(&identity);
        for (DWORD index : node.meshes) {
            const XMesh& m = scene.meshes[index];
            parts.push_back(XPart{&m, identity});
            if (m.material < scene.materials.size() &&
                std::find(materials.begin(), materials.end(), m.material) == materials.end()) {
                slots[m.material] = DWORD(materials.size());
                materials.push_back(m.material);
            }
        }
        Mesh* mesh = nullptr;
        HRESULT hr = BuildMesh(parts, slots, options, device, &mesh);
        if (hr == D3DXERR_LOADEDMESHHASNODATA)
            return D3D_OK;  // a frame whose meshes hold no triangle gets no container
        if (FAILED(hr))
            return hr;
        ID3DXBuffer* materialBuffer = nullptr;
        ID3DXBuffer* effects = nullptr;
        std::vector<DWORD> adjacency;
        try {
            adjacency.resize(size_t(mesh->GetNumFaces()) * 3);
        } catch (const std::bad_alloc&) {
            hr = E_OUTOFMEMORY;
        }
        if (SUCCEEDED(hr))
            hr = mesh->GenerateAdjacency(0.0f, adjacency.data());
        if (SUCCEEDED(hr))
            hr = BuildMaterials(scene, materials, &materialBuffer);
        if (SUCCEEDED(hr))
            hr = BuildEffects(DWORD(materials.size()), &effects);
        if (SUCCEEDED(hr)) {
            D3DXMESHDATA data = {};
            data.Type = D3DXMESHTYPE_MESH;
            data.pMesh = mesh;
            hr = allocator->CreateMeshContainer(
                node.name.c_str(), &data,
                static_cast<const D3DXMATERIAL*>(materialBuffer->GetBufferPointer()),
                static_cast<const D3DXEFFECTINSTANCE*>(effects->GetBufferPointer()),
                DWORD(materials.size()), adjacency.data(), nullptr, out);
        }
        for (ID3DXBuffer* b : {materialBuffer, effects})
            if (b)
                b->Release();
        mesh->Release();  // the container referenced it if it keeps it
        if (FAILED(hr))
            *out = nullptr;
        return hr;
    }

    // The frame of node, with its subtree; *out stays null on failure, with nothing left.
    HRESULT Frame(DWORD index, int depth, D3DXFRAME** out)
    {
        *out = nullptr;
        if (depth > 256)
            return D3DXERR_INVALIDDATA;  // deeper than any model the loader is for
        const XNode& node = scene.nodes[index];
        D3DXFRAME* frame = nullptr;
        HRESULT hr = allocator->CreateFrame(node.name.c_str(), &frame);
        if (FAILED(hr) || !frame)
            return FAILED(hr) ? hr : E_OUTOFMEMORY;
        frame->TransformationMatrix = node.matrix;
        frame->pMeshContainer = nullptr;
        frame->pFrameSibling = frame->pFrameFirstChild = nullptr;
        hr = Container(node, &frame->pMeshContainer);
        D3DXFRAME** link = &frame->pFrameFirstChild;
        for (size_t i = 0; SUCCEEDED(hr) && i < node.children.size(); ++i) {
            hr = Frame(node.children[i], depth + 1, link);
            if (*link)
                link = &(*link)->pFrameSibling;
        }
        if (FAILED(hr)) {
            D3DXFrameDestroy(frame, allocator);
            return hr;
        }
        *out = frame;
        return D3D_OK;
    }
};

void DestroyTree(D3DXFRAME* frame, ID3DXAllocateHierarchy* allocator)
{
    while (frame) {
        D3DXFRAME* sibling = frame->pFrameSibling;
        DestroyTree(frame->pFrameFirstChild, allocator);
        for (D3DXMESHCONTAINER* c = frame->pMeshContainer; c;) {
            D3DXMESHCONTAINER* next = c->pNextMeshContainer;
            allocator->DestroyMeshContainer(c);
            c = next;
        }
        allocator->DestroyFrame(frame);
        frame = sibling;
    }
}

}  // namespace

}  // namespace vexa::platform::d3dx9

using namespace vexa::platform::d3dx9;

WINAPI_EXPORT HRESULT WINAPI D3DXLoadMeshHierarchyFromXA(
    LPCSTR Filename, DWORD MeshOptions, LPDIRECT3DDEVICE9 pD3DDevice,
    LPD3DXALLOCATEHIERARCHY pAlloc, LPD3DXLOADUSERDATA pUserDataLoader,
    LPD3DXFRAME* ppFrameHierarchy, LPD3DXANIMATIONCONTROLLER* ppAnimController)
{
    (void)pUserDataLoader;
    if (ppAnimController)
        *ppAnimController = nullptr;
    if (!Filename || !pD3DDevice || !pAlloc || !ppFrameHierarchy)
        return D3DERR_INVALIDCALL;
    *ppFrameHierarchy = nullptr;
    XScene x;
    HRESULT hr = ReadXScene(Filename, &x);
    if (FAILED(hr))
        return hr;
    if (x.animated)
        return D3DXERR_SKINNINGNOTSUPPORTED;
    HierarchyBuilder builder{x, MeshOptions, pD3DDevice, pAlloc};
    return builder.Frame(0, 0, ppFrameHierarchy);
}

WINAPI_EXPORT HRESULT WINAPI D3DXFrameDestroy(LPD3DXFRAME pFrameRoot,
                                              LPD3DXALLOCATEHIERARCHY pAlloc)
{
    if (!pFrameRoot || !pAlloc)
        return D3DERR_INVALIDCALL;
    DestroyTree(pFrameRoot, pAlloc);
    return D3D_OK;
}

WINAPI_EXPORT LPD3DXFRAME WINAPI D3DXFrameFind(const D3DXFRAME* pFrameRoot, LPCSTR Name)
{
    for (const D3DXFRAME* f = pFrameRoot; f; f = f->pFrameSibling) {
        if (Name && f->Name && std::strcmp(f->Name, Name) == 0)
            return const_cast<LPD3DXFRAME>(f);
        if (D3DXFRAME* below = D3DXFrameFind(f->pFrameFirstChild, Name))
            return below;
    }
    return nullptr;
}
