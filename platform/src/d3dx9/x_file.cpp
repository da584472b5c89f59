// .x files as D3DX meshes: building a mesh and materials from a read scene, and
// D3DXLoadMeshFromXA.
//
// D3DXLoadMeshFromXA collapses the frames: every mesh is placed by the product of its
// frame's matrix and those of the frames above it.
#include "x_scene.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace vexa::platform::d3dx9 {

namespace {

void Collect(const XScene& scene, DWORD node, const D3DXMATRIX& above, std::vector<XPart>* parts)
{
    const XNode& n = scene.nodes[node];
    const D3DXMATRIX place = n.matrix * above;
    for (DWORD mesh : n.meshes)
        parts->push_back(XPart{&scene.meshes[mesh], place});
    for (DWORD child : n.children)
        Collect(scene, child, place, parts);
}

}  // namespace

HRESULT BuildMesh(const std::vector<XPart>& parts, const std::vector<DWORD>& slotOfMaterial,
                  DWORD options, IDirect3DDevice9* device, Mesh** out)
{
    *out = nullptr;
    uint64_t vertices = 0, faces = 0;
    bool normals = !parts.empty(), texcoords = false, colors = false;
    for (const XPart& p : parts) {
        vertices += p.mesh->positions.size();
        faces += p.mesh->triangles.size() / 3;
        normals = normals && !p.mesh->normals.empty();
        texcoords = texcoords || !p.mesh->texcoords.empty();
        colors = colors || !p.mesh->colors.empty();
    }
    if (faces == 0 || vertices == 0)
        return D3DXERR_LOADEDMESHHASNODATA;
    if (vertices > 0xFFFFFFF || faces > 0xFFFFFFF)
        return E_OUTOFMEMORY;
    if (vertices > 0xFFFF)
        options |= D3DXMESH_32BIT;
    const DWORD fvf = D3DFVF_XYZ | (normals ? D3DFVF_NORMAL : 0) | (colors ? D3DFVF_DIFFUSE : 0) |
                      (texcoords ? D3DFVF_TEX1 : 0);
    D3DVERTEXELEMENT9 declaration[MAX_FVF_DECL_SIZE];
    D3DXDeclaratorFromFVF(fvf, declaration);
    Mesh* mesh = nullptr;
    HRESULT hr = Mesh::Create(DWORD(faces), DWORD(vertices), options, declaration, device, &mesh);
    if (FAILED(hr))
        return hr;
    void* data = nullptr;
    if (FAILED(hr = mesh->LockVertexBuffer(0, &data))) {
        mesh->Release();
        return hr;
    }
    const UINT stride = mesh->GetNumBytesPerVertex();
    BYTE* v = static_cast<BYTE*>(data);
    std::vector<DWORD> indices;
    indices.reserve(size_t(faces) * 3);
    std::vector<DWORD>& attributes = mesh->Attributes();
    DWORD first = 0, face = 0;
    for (const XPart& p : parts) {
        const XMesh& m = *p.mesh;
        const DWORD slot = m.material < slotOfMaterial.size() ? slotOfMaterial[m.material] : 0;
        for (size_t i = 0; i < m.positions.size(); ++i, v += stride) {
            D3DXVECTOR3 position = m.positions[i];
            D3DXVec3TransformCoord(&position, &position, &p.place);
            std::memcpy(v, &position, 12);
            size_t at = 12;
            if (normals) {
                D3DXVECTOR3 n = m.normals[i];
                D3DXVec3TransformNormal(&n, &n, &p.place);
                const float length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
                if (length > 0.0f)
                    n = n / length;
                std::memcpy(v + at, &n, 12);
                at += 12;
            }
            if (colors) {
                const D3DCOLOR c = m.colors.empty() ? 0xFFFFFFFF : m.colors[i];
                std::memcpy(v + at, &c, 4);
                at += 4;
            }
            if (texcoords) {
                const float none[2] = {0.0f, 0.0f};
                std::memcpy(v + at, m.texcoords.empty() ? none : &m.texcoords[i * 2], 8);
            }
        }
        for (size_t t = 0; t < m.triangles.size(); t += 3) {
            for (int k = 0; k < 3; ++k)
                indices.push_back(first + m.triangles[t + k]);
            attributes[face++] = slot;
        }
        first += DWORD(m.positions.size());
    }
    mesh->UnlockVertexBuffer();
    mesh->SetIndicesFrom(indices);
    *out = mesh;
    return D3D_OK;
}

HRESULT BuildMaterials(const XScene& scene, const std::vector<unsigned>& materials,
                       ID3DXBuffer** out)
{
    *out = nullptr;
    size_t bytes = materials.size() * sizeof(D3DXMATERIAL);
    for (unsigned i : materials)
        if (!scene.materials[i].texture.empty())
            bytes += scene.materials[i].texture.size() + 1;
    Buffer* buffer = Buffer::Create(DWORD(std::max<size_t>(bytes, 1)));
    if (!buffer)
        return E_OUTOFMEMORY;
    BYTE* base = static_cast<BYTE*>(buffer->GetBufferPointer());
    char* text = reinterpret_cast<char*>(base + materials.size() * sizeof(D3DXMATERIAL));
    for (size_t i = 0; i < materials.size(); ++i) {
        const XMaterial& m = scene.materials[materials[i]];
        D3DXMATERIAL record = {};
        record.MatD3D.Diffuse = m.diffuse;
        record.MatD3D.Specular = m.specular;
        record.MatD3D.Emissive = m.emissive;
        record.MatD3D.Power = m.power;
        if (!m.texture.empty()) {
            std::memcpy(text, m.texture.c_str(), m.texture.size() + 1);
            record.pTextureFilename = text;
            text += m.texture.size() + 1;
        }
        std::memcpy(base + i * sizeof(D3DXMATERIAL), &record, sizeof record);
    }
    *out = buffer;
    return D3D_OK;
}

HRESULT BuildEffects(DWORD count, ID3DXBuffer** out)
{
    *out = Buffer::Create(std::max<DWORD>(count, 1) * DWORD(sizeof(D3DXEFFECTINSTANCE)));
    return *out ? D3D_OK : E_OUTOFMEMORY;
}

}  // namespace vexa::platform::d3dx9

using namespace vexa::platform::d3dx9;

WINAPI_EXPORT HRESULT WINAPI D3DXLoadMeshFromXA(LPCSTR pFilename, DWORD Options,
                                                LPDIRECT3DDEVICE9 pD3DDevice,
                                                LPD3DXBUFFER* ppAdjacency,
                                                LPD3DXBUFFER* ppMaterials,
                                                LPD3DXBUFFER* ppEffectInstances,
                                                DWORD* pNumMaterials, LPD3DXMESH* ppMesh)
{
    if (!ppMesh || !pD3DDevice || !pFilename)
        return D3DERR_INVALIDCALL;
    *ppMesh = nullptr;
    for (LPD3DXBUFFER* b : {ppAdjacency, ppMaterials, ppEffectInstances})
        if (b)
            *b = nullptr;
    if (pNumMaterials)
        *pNumMaterials = 0;
    XScene x;
    HRESULT hr = ReadXScene(pFilename, &x);
    if (FAILED(hr))
        return hr;
    std::vector<XPart> parts;
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    Collect(x, 0, identity, &parts);
    std::vector<DWORD> slots(x.materials.size());
    std::vector<unsigned> materials(x.materials.size());
    for (unsigned i = 0; i < x.materials.size(); ++i)
        slots[i] = materials[i] = i;
    Mesh* mesh = nullptr;
    if (FAILED(hr = BuildMesh(parts, slots, Options, pD3DDevice, &mesh)))
        return hr;
    ID3DXBuffer* adjacency = nullptr;
    ID3DXBuffer* materialBuffer = nullptr;
    ID3DXBuffer* effects = nullptr;
    if (ppAdjacency) {
        adjacency = Buffer::Create(mesh->GetNumFaces() * 12);
        if (!adjacency)
            hr = E_OUTOFMEMORY;
        else
            mesh->GenerateAdjacency(0.0f, static_cast<DWORD*>(adjacency->GetBufferPointer()));
    }
    if (SUCCEEDED(hr) && ppMaterials)
        hr = BuildMaterials(x, materials, &materialBuffer);
    if (SUCCEEDED(hr) && ppEffectInstances)
        hr = BuildEffects(DWORD(materials.size()), &effects);
    if (FAILED(hr)) {
        for (ID3DXBuffer* b : {adjacency, materialBuffer, effects})
            if (b)
                b->Release();
        mesh->Release();
        return hr;
    }
    if (ppAdjacency)
        *ppAdjacency = adjacency;
    if (ppMaterials)
        *ppMaterials = materialBuffer;
    if (ppEffectInstances)
        *ppEffectInstances = effects;
    if (pNumMaterials)
        *pNumMaterials = DWORD(materials.size());
    *ppMesh = mesh;
    return D3D_OK;
}
