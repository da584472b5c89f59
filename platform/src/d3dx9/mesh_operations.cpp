// Operations on whole meshes: cloning into another vertex layout, adjacency, sorting the
// faces by attribute (OptimizeInplace) and D3DXComputeNormals.
//
// Attribute sort: faces are ordered by attribute id, keeping their order within an id
// (a stable sort); vertices keep their places, so the vertex remap is the identity. Each
// id gets one range of the attribute table, whose vertex range spans the lowest to the
// highest index its faces use.
#include "mesh.h"

#include "../d3d9/vertex_declaration.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <numeric>
#include <utility>

namespace vexa::platform::d3dx9 {

namespace {

constexpr DWORD kNoFace = 0xFFFFFFFF;

const D3DVERTEXELEMENT9* FindElement(const D3DVERTEXELEMENT9* declaration, BYTE usage, BYTE index)
{
    const int length = vexa::platform::d3d9::DeclarationLength(declaration);
    for (int i = 0; i < length; ++i)
        if (declaration[i].Usage == usage && declaration[i].UsageIndex == index)
            return &declaration[i];
    return nullptr;
}

D3DXVECTOR3 ReadVector(const BYTE* vertex, WORD offset)
{
    D3DXVECTOR3 v;
    std::memcpy(&v, vertex + offset, 12);
    return v;
}

D3DXVECTOR3 Cross(const D3DXVECTOR3& a, const D3DXVECTOR3& b)
{
    return D3DXVECTOR3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

}  // namespace

HRESULT Mesh::CloneMeshFVF(DWORD Options, DWORD FVF, LPDIRECT3DDEVICE9 pD3DDevice,
                           LPD3DXMESH* ppCloneMesh)
{
    D3DVERTEXELEMENT9 declaration[MAX_FVF_DECL_SIZE];
    if (ppCloneMesh)
        *ppCloneMesh = nullptr;
    if (!vexa::platform::d3d9::DeclarationOfFvf(FVF, declaration))
        return D3DERR_INVALIDCALL;
    return CloneMesh(Options, declaration, pD3DDevice, ppCloneMesh);
}

HRESULT Mesh::CloneMesh(DWORD Options, const D3DVERTEXELEMENT9* pDeclaration,
                        LPDIRECT3DDEVICE9 pD3DDevice, LPD3DXMESH* ppCloneMesh)
{
    if (!ppCloneMesh)
        return D3DERR_INVALIDCALL;
    *ppCloneMesh = nullptr;
    Mesh* clone = nullptr;
    HRESULT hr = Mesh::Create(faces_, vertices_, Options, pDeclaration, pD3DDevice, &clone);
    if (FAILED(hr))
        return hr;
    // Vertices: each element of the new layout takes the old element of the same usage
    // and type; elements the old layout lacks start as zeros.
    void* from = nullptr;
    void* to = nullptr;
    if (FAILED(hr = LockVertexBuffer(D3DLOCK_READONLY, &from))) {
        clone->Release();
        return hr;
    }
    if (FAILED(hr = clone->LockVertexBuffer(0, &to))) {
        UnlockVertexBuffer();
        clone->Release();
        return hr;
    }
    const int length = vexa::platform::d3d9::DeclarationLength(pDeclaration);
    for (int e = 0; e < length; ++e) {
        const D3DVERTEXELEMENT9& target = pDeclaration[e];
        const D3DVERTEXELEMENT9* source =
            FindElement(declaration_.data(), target.Usage, target.UsageIndex);
        const UINT size = vexa::platform::d3d9::DeclTypeSize(target.Type);
        for (DWORD v = 0; v < vertices_; ++v) {
            BYTE* out = static_cast<BYTE*>(to) + size_t(v) * clone->stride_ + target.Offset;
            if (source && source->Type == target.Type)
                std::memcpy(out, static_cast<const BYTE*>(from) + size_t(v) * stride_ + source->Offset,
                            size);
            else
                std::memset(out, 0, size);
        }
    }
    clone->UnlockVertexBuffer();
    UnlockVertexBuffer();
    clone->SetIndicesFrom(Indices());
    clone->attributes_ = attributes_;
    clone->table_ = table_;
    *ppCloneMesh = clone;
    return D3D_OK;
}

HRESULT Mesh::GenerateAdjacency(FLOAT Epsilon, DWORD* pAdjacency)
{
    if (!pAdjacency || Epsilon < 0.0f)
        return D3DERR_INVALIDCALL;
    const D3DVERTEXELEMENT9* position = FindElement(declaration_.data(), D3DDECLUSAGE_POSITION, 0);
    std::vector<DWORD> rep(vertices_);
    std::iota(rep.begin(), rep.end(), 0u);
    // Vertices at one position (within Epsilon on every axis) count as one point: sorted
    // by x, each vertex is compared with the ones after it until x is too far.
    if (position && position->Type == D3DDECLTYPE_FLOAT3) {
        void* data = nullptr;
        if (FAILED(LockVertexBuffer(D3DLOCK_READONLY, &data)))
            return D3DERR_INVALIDCALL;
        std::vector<D3DXVECTOR3> p(vertices_);
        for (DWORD v = 0; v < vertices_; ++v)
            p[v] = ReadVector(static_cast<const BYTE*>(data) + size_t(v) * stride_, position->Offset);
        UnlockVertexBuffer();
        std::vector<DWORD> order(vertices_);
        std::iota(order.begin(), order.end(), 0u);
        std::sort(order.begin(), order.end(), [&](DWORD a, DWORD b) { return p[a].x < p[b].x; });
        for (size_t i = 0; i < order.size(); ++i)
            for (size_t j = i + 1; j < order.size() && p[order[j]].x - p[order[i]].x <= Epsilon; ++j) {
                const DWORD a = order[i], b = order[j];
                if (std::fabs(p[a].y - p[b].y) <= Epsilon && std::fabs(p[a].z - p[b].z) <= Epsilon) {
                    const DWORD low = std::min(rep[a], rep[b]);
                    rep[a] = rep[b] = low;
                }
            }
    }
    const std::vector<DWORD> indices = Indices();
    std::map<std::pair<DWORD, DWORD>, DWORD> edges;  // directed edge -> face
    for (DWORD f = 0; f < faces_; ++f)
        for (int k = 0; k < 3; ++k) {
            const DWORD a = rep[std::min(indices[f * 3 + k], vertices_ - 1)];
            const DWORD b = rep[std::min(indices[f * 3 + (k + 1) % 3], vertices_ - 1)];
            edges.emplace(std::make_pair(a, b), f);
        }
    for (DWORD f = 0; f < faces_; ++f)
        for (int k = 0; k < 3; ++k) {
            const DWORD a = rep[std::min(indices[f * 3 + k], vertices_ - 1)];
            const DWORD b = rep[std::min(indices[f * 3 + (k + 1) % 3], vertices_ - 1)];
            auto found = edges.find(std::make_pair(b, a));
            pAdjacency[f * 3 + k] = found != edges.end() && found->second != f ? found->second : kNoFace;
        }
    return D3D_OK;
}

HRESULT Mesh::OptimizeInplace(DWORD Flags, const DWORD* pAdjacencyIn, DWORD* pAdjacencyOut,
                              DWORD* pFaceRemap, LPD3DXBUFFER* ppVertexRemap)
{
    if (ppVertexRemap)
        *ppVertexRemap = nullptr;
    // Vertex-cache and strip ordering include the attribute sort.
    const bool sort = Flags & (D3DXMESHOPT_ATTRSORT | D3DXMESHOPT_VERTEXCACHE |
                               D3DXMESHOPT_STRIPREORDER);
    std::vector<DWORD> order(faces_);  // new face -> old face
    std::iota(order.begin(), order.end(), 0u);
    std::vector<DWORD> indices = Indices();
    if (sort) {
        std::stable_sort(order.begin(), order.end(),
                         [&](DWORD a, DWORD b) { return attributes_[a] < attributes_[b]; });
        std::vector<DWORD> sortedIndices(indices.size());
        std::vector<DWORD> sortedAttributes(faces_);
        for (DWORD f = 0; f < faces_; ++f) {
            std::copy_n(&indices[size_t(order[f]) * 3], 3, &sortedIndices[size_t(f) * 3]);
            sortedAttributes[f] = attributes_[order[f]];
        }
        indices.swap(sortedIndices);
        attributes_.swap(sortedAttributes);
        SetIndicesFrom(indices);
        table_.clear();
        for (DWORD f = 0; f < faces_; ++f) {
            const DWORD* tri = &indices[size_t(f) * 3];
            const DWORD low = std::min({tri[0], tri[1], tri[2]});
            const DWORD high = std::max({tri[0], tri[1], tri[2]});
            if (table_.empty() || table_.back().AttribId != attributes_[f]) {
                table_.push_back(D3DXATTRIBUTERANGE{attributes_[f], f, 0, low, 0});
                table_.back().VertexCount = high - low + 1;
            }
            D3DXATTRIBUTERANGE& r = table_.back();
            ++r.FaceCount;
            const DWORD end = std::max(r.VertexStart + r.VertexCount, high + 1);
            r.VertexStart = std::min(r.VertexStart, low);
            r.VertexCount = end - r.VertexStart;
        }
    }
    if (pFaceRemap)
        std::copy(order.begin(), order.end(), pFaceRemap);
    if (pAdjacencyOut) {
        if (pAdjacencyIn) {
            std::vector<DWORD> newOf(faces_);
            for (DWORD f = 0; f < faces_; ++f)
                newOf[order[f]] = f;
            std::vector<DWORD> out(size_t(faces_) * 3);
            for (DWORD f = 0; f < faces_; ++f)
                for (int k = 0; k < 3; ++k) {
                    const DWORD n = pAdjacencyIn[size_t(order[f]) * 3 + k];
                    out[size_t(f) * 3 + k] = n < faces_ ? newOf[n] : kNoFace;
                }
            std::copy(out.begin(), out.end(), pAdjacencyOut);
        } else {
            GenerateAdjacency(0.0f, pAdjacencyOut);
        }
    }
    if (ppVertexRemap) {
        Buffer* remap = Buffer::Create(vertices_ * 4);
        if (!remap)
            return E_OUTOFMEMORY;
        DWORD* v = static_cast<DWORD*>(remap->GetBufferPointer());
        std::iota(v, v + vertices_, 0u);
        *ppVertexRemap = remap;
    }
    return D3D_OK;
}

}  // namespace vexa::platform::d3dx9

WINAPI_EXPORT HRESULT WINAPI D3DXComputeNormals(LPD3DXBASEMESH pMesh, const DWORD* pAdjacency)
{
    (void)pAdjacency;
    using vexa::platform::d3dx9::Cross;
    using vexa::platform::d3dx9::FindElement;
    using vexa::platform::d3dx9::ReadVector;
    if (!pMesh)
        return D3DERR_INVALIDCALL;
    D3DVERTEXELEMENT9 declaration[MAX_FVF_DECL_SIZE];
    pMesh->GetDeclaration(declaration);
    const D3DVERTEXELEMENT9* position = FindElement(declaration, D3DDECLUSAGE_POSITION, 0);
    const D3DVERTEXELEMENT9* normal = FindElement(declaration, D3DDECLUSAGE_NORMAL, 0);
    if (!position || !normal || position->Type != D3DDECLTYPE_FLOAT3 ||
        normal->Type != D3DDECLTYPE_FLOAT3)
        return D3DERR_INVALIDCALL;
    const DWORD faces = pMesh->GetNumFaces(), vertices = pMesh->GetNumVertices();
    const DWORD stride = pMesh->GetNumBytesPerVertex();
    const bool wide = pMesh->GetOptions() & D3DXMESH_32BIT;
    void* indexData = nullptr;
    void* vertexData = nullptr;
    if (FAILED(pMesh->LockIndexBuffer(D3DLOCK_READONLY, &indexData)))
        return D3DERR_INVALIDCALL;
    if (FAILED(pMesh->LockVertexBuffer(0, &vertexData))) {
        pMesh->UnlockIndexBuffer();
        return D3DERR_INVALIDCALL;
    }
    BYTE* base = static_cast<BYTE*>(vertexData);
    std::vector<D3DXVECTOR3> sum(vertices, D3DXVECTOR3(0, 0, 0));
    HRESULT result = D3D_OK;
    for (DWORD f = 0; f < faces; ++f) {
        DWORD tri[3];
        for (int k = 0; k < 3; ++k)
            tri[k] = wide ? static_cast<const DWORD*>(indexData)[f * 3 + k]
                          : static_cast<const WORD*>(indexData)[f * 3 + k];
        if (tri[0] >= vertices || tri[1] >= vertices || tri[2] >= vertices) {
            result = D3DERR_INVALIDCALL;
            break;
        }
        const D3DXVECTOR3 p0 = ReadVector(base + size_t(tri[0]) * stride, position->Offset);
        const D3DXVECTOR3 p1 = ReadVector(base + size_t(tri[1]) * stride, position->Offset);
        const D3DXVECTOR3 p2 = ReadVector(base + size_t(tri[2]) * stride, position->Offset);
        D3DXVECTOR3 n = Cross(p1 - p0, p2 - p0);
        const float length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
        if (!(length > 0.0f))
            continue;  // a degenerate face has no direction
        n = n / length;
        for (DWORD v : tri)
            sum[v] += n;
    }
    if (SUCCEEDED(result))
        for (DWORD v = 0; v < vertices; ++v) {
            D3DXVECTOR3 n = sum[v];
            const float length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
            if (length > 0.0f)
                n = n / length;
            std::memcpy(base + size_t(v) * stride + normal->Offset, &n, 12);
        }
    pMesh->UnlockVertexBuffer();
    pMesh->UnlockIndexBuffer();
    return result;
}
