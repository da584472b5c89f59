// .x files through Assimp: reading, building a mesh and materials, and D3DXLoadMeshFromXA.
//
// D3DXLoadMeshFromXA collapses the frames: every mesh is placed by the product of its
// frame's matrix and those of the frames above it. Faces that are not triangles after
// triangulation (points, lines) are left out.
#include "x_scene.h"

#include <vexa/platform.h>

#include <assimp/postprocess.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <new>

namespace vexa::platform::d3dx9 {

namespace {

// Larger files are refused before Assimp sees them.
constexpr std::streamoff kMaxFileBytes = 64 << 20;

D3DCOLOR PackColor(const aiColor4D& c)
{
    auto byte = [](float f) { return DWORD(std::clamp(f, 0.0f, 1.0f) * 255.0f + 0.5f); };
    return (byte(c.a) << 24) | (byte(c.r) << 16) | (byte(c.g) << 8) | byte(c.b);
}

D3DCOLORVALUE ColorOf(const aiMaterial* m, const char* key, unsigned type, unsigned index,
                      float alpha)
{
    aiColor4D c(0, 0, 0, alpha);
    if (m->Get(key, type, index, c) != AI_SUCCESS)
        c = aiColor4D(0, 0, 0, alpha);
    return D3DCOLORVALUE{c.r, c.g, c.b, c.a};
}

void Collect(const aiScene* scene, const aiNode* node, const D3DXMATRIX& above,
             std::vector<XPart>* parts)
{
    const D3DXMATRIX place = MatrixOf(node->mTransformation) * above;
    for (unsigned i = 0; i < node->mNumMeshes; ++i)
        if (node->mMeshes[i] < scene->mNumMeshes)
            parts->push_back(XPart{scene->mMeshes[node->mMeshes[i]], place});
    for (unsigned i = 0; i < node->mNumChildren; ++i)
        Collect(scene, node->mChildren[i], place, parts);
}

}  // namespace

D3DXMATRIX MatrixOf(const aiMatrix4x4& m)
{
    return D3DXMATRIX(m.a1, m.b1, m.c1, m.d1, m.a2, m.b2, m.c2, m.d2, m.a3, m.b3, m.c3, m.d3,
                      m.a4, m.b4, m.c4, m.d4);
}

HRESULT ReadXScene(const char* path, XScene* out)
{
    if (!path || !out)
        return D3DERR_INVALIDCALL;
    std::ifstream in(vexa::platform::HostPath(path), std::ios::binary | std::ios::ate);
    if (!in)
        return D3DXERR_INVALIDDATA;
    const std::streamoff size = in.tellg();
    if (size < 16 || size > kMaxFileBytes)
        return D3DXERR_INVALIDDATA;
    std::vector<char> bytes;
    try {
        bytes.resize(size_t(size));
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    in.seekg(0);
    if (!in.read(bytes.data(), size))
        return D3DXERR_INVALIDDATA;
    // Every .x file opens with this signature; nothing else reaches the importer.
    if (std::memcmp(bytes.data(), "xof ", 4) != 0)
        return D3DXERR_INVALIDDATA;
    const unsigned flags = aiProcess_Triangulate | aiProcess_JoinIdenticalVertices |
                           aiProcess_ConvertToLeftHanded | aiProcess_ValidateDataStructure;
    try {
        out->scene = out->importer.ReadFileFromMemory(bytes.data(), bytes.size(), flags, "x");
    } catch (...) {
        out->scene = nullptr;
    }
    return out->scene && out->scene->mRootNode ? D3D_OK : D3DXERR_INVALIDDATA;
}

HRESULT BuildMesh(const std::vector<XPart>& parts, const std::vector<DWORD>& slotOfMaterial,
                  DWORD options, IDirect3DDevice9* device, Mesh** out)
{
    *out = nullptr;
    uint64_t vertices = 0, faces = 0;
    bool normals = !parts.empty(), texcoords = false, colors = false;
    for (const XPart& p : parts) {
        vertices += p.mesh->mNumVertices;
        for (unsigned f = 0; f < p.mesh->mNumFaces; ++f)
            faces += p.mesh->mFaces[f].mNumIndices == 3 && p.mesh->mNumVertices > 0;
        normals = normals && p.mesh->HasNormals();
        texcoords = texcoords || p.mesh->HasTextureCoords(0);
        colors = colors || p.mesh->HasVertexColors(0);
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
        const aiMesh* m = p.mesh;
        const DWORD slot = m->mMaterialIndex < slotOfMaterial.size()
                               ? slotOfMaterial[m->mMaterialIndex]
                               : 0;
        for (unsigned i = 0; i < m->mNumVertices; ++i, v += stride) {
            size_t at = 0;
            D3DXVECTOR3 position(m->mVertices[i].x, m->mVertices[i].y, m->mVertices[i].z);
            D3DXVec3TransformCoord(&position, &position, &p.place);
            std::memcpy(v, &position, 12);
            at = 12;
            if (normals) {
                D3DXVECTOR3 n(m->mNormals[i].x, m->mNormals[i].y, m->mNormals[i].z);
                D3DXVec3TransformNormal(&n, &n, &p.place);
                const float length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
                if (length > 0.0f)
                    n = n / length;
                std::memcpy(v + at, &n, 12);
                at += 12;
            }
            if (colors) {
                const D3DCOLOR c = m->HasVertexColors(0) ? PackColor(m->mColors[0][i]) : 0xFFFFFFFF;
                std::memcpy(v + at, &c, 4);
                at += 4;
            }
            if (texcoords) {
                float uv[2] = {0.0f, 0.0f};
                if (m->HasTextureCoords(0))
                    uv[0] = m->mTextureCoords[0][i].x, uv[1] = m->mTextureCoords[0][i].y;
                std::memcpy(v + at, uv, 8);
            }
        }
        for (unsigned f = 0; f < m->mNumFaces; ++f) {
            const aiFace& aface = m->mFaces[f];
            if (aface.mNumIndices != 3 || m->mNumVertices == 0)
                continue;
            for (int k = 0; k < 3; ++k)
                indices.push_back(first + std::min(aface.mIndices[k], m->mNumVertices - 1));
            attributes[face++] = slot;
        }
        first += m->mNumVertices;
    }
    mesh->UnlockVertexBuffer();
    mesh->SetIndicesFrom(indices);
    *out = mesh;
    return D3D_OK;
}

HRESULT BuildMaterials(const aiScene* scene, const std::vector<unsigned>& materials,
                       ID3DXBuffer** out)
{
    *out = nullptr;
    std::vector<std::string> names(materials.size());
    size_t bytes = materials.size() * sizeof(D3DXMATERIAL);
    for (size_t i = 0; i < materials.size(); ++i) {
        aiString file;
        const aiMaterial* m = scene->mMaterials[materials[i]];
        if (m->GetTexture(aiTextureType_DIFFUSE, 0, &file) == AI_SUCCESS && file.length > 0)
            names[i].assign(file.C_Str());
        if (!names[i].empty())
            bytes += names[i].size() + 1;
    }
    Buffer* buffer = Buffer::Create(DWORD(std::max<size_t>(bytes, 1)));
    if (!buffer)
        return E_OUTOFMEMORY;
    BYTE* base = static_cast<BYTE*>(buffer->GetBufferPointer());
    char* text = reinterpret_cast<char*>(base + materials.size() * sizeof(D3DXMATERIAL));
    for (size_t i = 0; i < materials.size(); ++i) {
        const aiMaterial* m = scene->mMaterials[materials[i]];
        D3DXMATERIAL record = {};
        record.MatD3D.Diffuse = ColorOf(m, AI_MATKEY_COLOR_DIFFUSE, 1.0f);
        record.MatD3D.Specular = ColorOf(m, AI_MATKEY_COLOR_SPECULAR, 1.0f);
        record.MatD3D.Emissive = ColorOf(m, AI_MATKEY_COLOR_EMISSIVE, 1.0f);
        float power = 0.0f;
        if (m->Get(AI_MATKEY_SHININESS, power) == AI_SUCCESS)
            record.MatD3D.Power = power;
        if (!names[i].empty()) {
            std::memcpy(text, names[i].c_str(), names[i].size() + 1);
            record.pTextureFilename = text;
            text += names[i].size() + 1;
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
    const aiScene* scene = x.scene;
    std::vector<XPart> parts;
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    Collect(scene, scene->mRootNode, identity, &parts);
    std::vector<DWORD> slots(scene->mNumMaterials);
    std::vector<unsigned> materials(scene->mNumMaterials);
    for (unsigned i = 0; i < scene->mNumMaterials; ++i)
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
        hr = BuildMaterials(scene, materials, &materialBuffer);
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
