// The D3DX mesh object: creation, the buffers and their locks, the attribute table and
// DrawSubset; D3DXCreateMesh, D3DXCreateMeshFVF, D3DXCreateBuffer and the declaration
// helpers.
//
// DrawSubset draws the ranges of the attribute table that carry the subset's id; a mesh
// without a table draws each run of consecutive faces with that attribute.
#include "mesh.h"

#include "../d3d9/vertex_declaration.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace vexa::platform::d3dx9 {

namespace d3d9 = vexa::platform::d3d9;

// ---- Buffer ------------------------------------------------------------------------------
Buffer* Buffer::Create(DWORD bytes)
{
    Buffer* b = new (std::nothrow) Buffer();
    if (!b)
        return nullptr;
    try {
        b->bytes_.assign(bytes, 0);
    } catch (const std::bad_alloc&) {
        delete b;
        return nullptr;
    }
    return b;
}

HRESULT Buffer::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_ID3DXBuffer) {
        *ppv = static_cast<ID3DXBuffer*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG Buffer::Release()
{
    if (references_ == 0)
        return 0;
    const ULONG left = --references_;
    if (left == 0)
        delete this;
    return left;
}

// ---- Mesh creation -------------------------------------------------------------------------
namespace {

D3DPOOL PoolOf(DWORD options, DWORD systemBit, DWORD managedBit)
{
    if (options & systemBit)
        return D3DPOOL_SYSTEMMEM;
    return (options & managedBit) ? D3DPOOL_MANAGED : D3DPOOL_DEFAULT;
}

DWORD UsageOf(DWORD options, DWORD writeOnlyBit, DWORD dynamicBit)
{
    return ((options & writeOnlyBit) ? DWORD(D3DUSAGE_WRITEONLY) : 0u) |
           ((options & dynamicBit) ? DWORD(D3DUSAGE_DYNAMIC) : 0u);
}

}  // namespace

Mesh::Mesh(IDirect3DDevice9* device, DWORD faces, DWORD vertices, DWORD options)
    : device_(device), faces_(faces), vertices_(vertices), options_(options)
{
    device_->AddRef();
}

Mesh::~Mesh()
{
    if (vertexBuffer_)
        vertexBuffer_->Release();
    if (indexBuffer_)
        indexBuffer_->Release();
    device_->Release();
}

HRESULT Mesh::Create(DWORD faces, DWORD vertices, DWORD options,
                     const D3DVERTEXELEMENT9* declaration, IDirect3DDevice9* device, Mesh** out)
{
    if (!out)
        return D3DERR_INVALIDCALL;
    *out = nullptr;
    const int length = d3d9::DeclarationLength(declaration);
    if (!device || faces == 0 || vertices == 0 || length <= 0)
        return D3DERR_INVALIDCALL;
    for (int i = 0; i < length; ++i)
        if (declaration[i].Stream != 0 || d3d9::DeclTypeSize(declaration[i].Type) == 0)
            return D3DERR_INVALIDCALL;
    const UINT stride = D3DXGetDeclVertexSize(declaration, 0);
    const bool wide = options & D3DXMESH_32BIT;
    // 16-bit indices reach 65535 vertices; buffers stay below 1 GiB.
    if (stride == 0 || (!wide && vertices > 0xFFFF) ||
        uint64_t(vertices) * stride > (1u << 30) ||
        uint64_t(faces) * 3 * (wide ? 4 : 2) > (1u << 30))
        return D3DERR_INVALIDCALL;
    Mesh* mesh = new (std::nothrow) Mesh(device, faces, vertices, options);
    if (!mesh)
        return E_OUTOFMEMORY;
    try {
        mesh->declaration_.assign(declaration, declaration + length + 1);
        mesh->attributes_.assign(faces, 0);
    } catch (const std::bad_alloc&) {
        mesh->Release();
        return E_OUTOFMEMORY;
    }
    DWORD fvf = 0;
    mesh->fvf_ = d3d9::FvfOfDeclaration(declaration, &fvf) ? fvf : 0;
    mesh->stride_ = stride;
    HRESULT hr = device->CreateVertexBuffer(
        vertices * stride, UsageOf(options, D3DXMESH_VB_WRITEONLY, D3DXMESH_VB_DYNAMIC), mesh->fvf_,
        PoolOf(options, D3DXMESH_VB_SYSTEMMEM, D3DXMESH_VB_MANAGED), &mesh->vertexBuffer_, nullptr);
    if (SUCCEEDED(hr))
        hr = device->CreateIndexBuffer(
            faces * 3 * (wide ? 4 : 2), UsageOf(options, D3DXMESH_IB_WRITEONLY, D3DXMESH_IB_DYNAMIC),
            wide ? D3DFMT_INDEX32 : D3DFMT_INDEX16,
            PoolOf(options, D3DXMESH_IB_SYSTEMMEM, D3DXMESH_IB_MANAGED), &mesh->indexBuffer_,
            nullptr);
    if (FAILED(hr)) {
        mesh->Release();
        return hr;
    }
    *out = mesh;
    return D3D_OK;
}

HRESULT Mesh::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_ID3DXBaseMesh || riid == IID_ID3DXMesh) {
        *ppv = static_cast<ID3DXMesh*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG Mesh::Release()
{
    if (references_ == 0)
        return 0;
    const ULONG left = --references_;
    if (left == 0)
        delete this;
    return left;
}

// ---- queries and locks -------------------------------------------------------------------
HRESULT Mesh::GetDeclaration(D3DVERTEXELEMENT9 Declaration[MAX_FVF_DECL_SIZE])
{
    if (!Declaration)
        return D3DERR_INVALIDCALL;
    std::copy(declaration_.begin(), declaration_.end(), Declaration);
    return D3D_OK;
}

HRESULT Mesh::GetDevice(LPDIRECT3DDEVICE9* ppDevice)
{
    if (!ppDevice)
        return D3DERR_INVALIDCALL;
    *ppDevice = device_;
    device_->AddRef();
    return D3D_OK;
}

HRESULT Mesh::GetVertexBuffer(LPDIRECT3DVERTEXBUFFER9* ppVB)
{
    if (!ppVB)
        return D3DERR_INVALIDCALL;
    *ppVB = vertexBuffer_;
    vertexBuffer_->AddRef();
    return D3D_OK;
}

HRESULT Mesh::GetIndexBuffer(LPDIRECT3DINDEXBUFFER9* ppIB)
{
    if (!ppIB)
        return D3DERR_INVALIDCALL;
    *ppIB = indexBuffer_;
    indexBuffer_->AddRef();
    return D3D_OK;
}

HRESULT Mesh::LockVertexBuffer(DWORD Flags, LPVOID* ppData)
{
    return vertexBuffer_->Lock(0, 0, ppData, Flags);
}

HRESULT Mesh::UnlockVertexBuffer() { return vertexBuffer_->Unlock(); }

HRESULT Mesh::LockIndexBuffer(DWORD Flags, LPVOID* ppData)
{
    return indexBuffer_->Lock(0, 0, ppData, Flags);
}

HRESULT Mesh::UnlockIndexBuffer() { return indexBuffer_->Unlock(); }

HRESULT Mesh::LockAttributeBuffer(DWORD Flags, DWORD** ppData)
{
    (void)Flags;
    if (!ppData)
        return D3DERR_INVALIDCALL;
    *ppData = attributes_.data();
    ++attributeLocks_;
    return D3D_OK;
}

HRESULT Mesh::UnlockAttributeBuffer()
{
    if (attributeLocks_ == 0)
        return D3DERR_INVALIDCALL;
    --attributeLocks_;
    return D3D_OK;
}

HRESULT Mesh::GetAttributeTable(D3DXATTRIBUTERANGE* pAttribTable, DWORD* pAttribTableSize)
{
    if (!pAttribTable && !pAttribTableSize)
        return D3DERR_INVALIDCALL;
    if (pAttribTableSize)
        *pAttribTableSize = DWORD(table_.size());
    if (pAttribTable)
        std::copy(table_.begin(), table_.end(), pAttribTable);
    return D3D_OK;
}

HRESULT Mesh::SetAttributeTable(const D3DXATTRIBUTERANGE* pAttribTable, DWORD cAttribTableSize)
{
    if (cAttribTableSize && !pAttribTable)
        return D3DERR_INVALIDCALL;
    for (DWORD i = 0; i < cAttribTableSize; ++i) {
        const D3DXATTRIBUTERANGE& r = pAttribTable[i];
        if (uint64_t(r.FaceStart) + r.FaceCount > faces_ ||
            uint64_t(r.VertexStart) + r.VertexCount > vertices_)
            return D3DERR_INVALIDCALL;
    }
    table_.assign(pAttribTable, pAttribTable + cAttribTableSize);
    return D3D_OK;
}

std::vector<DWORD> Mesh::Indices()
{
    std::vector<DWORD> out(size_t(faces_) * 3);
    void* data = nullptr;
    if (FAILED(LockIndexBuffer(D3DLOCK_READONLY, &data)))
        return out;
    if (options_ & D3DXMESH_32BIT)
        std::memcpy(out.data(), data, out.size() * 4);
    else
        for (size_t i = 0; i < out.size(); ++i)
            out[i] = static_cast<const WORD*>(data)[i];
    UnlockIndexBuffer();
    return out;
}

void Mesh::SetIndicesFrom(const std::vector<DWORD>& indices)
{
    void* data = nullptr;
    if (indices.size() != size_t(faces_) * 3 || FAILED(LockIndexBuffer(0, &data)))
        return;
    if (options_ & D3DXMESH_32BIT)
        std::memcpy(data, indices.data(), indices.size() * 4);
    else
        for (size_t i = 0; i < indices.size(); ++i)
            static_cast<WORD*>(data)[i] = WORD(indices[i]);
    UnlockIndexBuffer();
}

// ---- drawing -----------------------------------------------------------------------------
HRESULT Mesh::DrawFaces(DWORD first, DWORD count)
{
    if (count == 0)
        return D3D_OK;
    return device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, vertices_, first * 3, count);
}

HRESULT Mesh::DrawSubset(DWORD AttribId)
{
    if (fvf_ == 0)
        return D3DERR_INVALIDCALL;  // only declarations that spell a format are drawn
    device_->SetFVF(fvf_);
    device_->SetStreamSource(0, vertexBuffer_, 0, stride_);
    device_->SetIndices(indexBuffer_);
    HRESULT result = D3D_OK;
    if (!table_.empty()) {
        for (const D3DXATTRIBUTERANGE& r : table_)
            if (r.AttribId == AttribId) {
                const HRESULT hr = device_->DrawIndexedPrimitive(
                    D3DPT_TRIANGLELIST, 0, r.VertexStart, r.VertexCount, r.FaceStart * 3,
                    r.FaceCount);
                if (FAILED(hr))
                    result = hr;
            }
        return result;
    }
    DWORD runStart = 0;
    bool inRun = false;
    for (DWORD f = 0; f <= faces_; ++f) {
        const bool match = f < faces_ && attributes_[f] == AttribId;
        if (match && !inRun)
            runStart = f, inRun = true;
        if (!match && inRun) {
            const HRESULT hr = DrawFaces(runStart, f - runStart);
            if (FAILED(hr))
                result = hr;
            inRun = false;
        }
    }
    return result;
}

}  // namespace vexa::platform::d3dx9

using vexa::platform::d3dx9::Buffer;
using vexa::platform::d3dx9::Mesh;

WINAPI_EXPORT HRESULT WINAPI D3DXCreateBuffer(DWORD NumBytes, LPD3DXBUFFER* ppBuffer)
{
    if (!ppBuffer)
        return D3DERR_INVALIDCALL;
    *ppBuffer = Buffer::Create(NumBytes);
    return *ppBuffer ? D3D_OK : E_OUTOFMEMORY;
}

WINAPI_EXPORT HRESULT WINAPI D3DXCreateMesh(DWORD NumFaces, DWORD NumVertices, DWORD Options,
                                            const D3DVERTEXELEMENT9* pDeclaration,
                                            LPDIRECT3DDEVICE9 pD3DDevice, LPD3DXMESH* ppMesh)
{
    if (!ppMesh)
        return D3DERR_INVALIDCALL;
    Mesh* mesh = nullptr;
    const HRESULT hr = Mesh::Create(NumFaces, NumVertices, Options, pDeclaration, pD3DDevice, &mesh);
    *ppMesh = mesh;
    return hr;
}

WINAPI_EXPORT HRESULT WINAPI D3DXCreateMeshFVF(DWORD NumFaces, DWORD NumVertices, DWORD Options,
                                               DWORD FVF, LPDIRECT3DDEVICE9 pD3DDevice,
                                               LPD3DXMESH* ppMesh)
{
    D3DVERTEXELEMENT9 declaration[MAX_FVF_DECL_SIZE];
    if (ppMesh)
        *ppMesh = nullptr;
    if (!vexa::platform::d3d9::DeclarationOfFvf(FVF, declaration))
        return D3DERR_INVALIDCALL;
    return D3DXCreateMesh(NumFaces, NumVertices, Options, declaration, pD3DDevice, ppMesh);
}

WINAPI_EXPORT HRESULT WINAPI D3DXDeclaratorFromFVF(DWORD FVF,
                                                   D3DVERTEXELEMENT9 pDeclarator[MAX_FVF_DECL_SIZE])
{
    if (!pDeclarator)
        return D3DERR_INVALIDCALL;
    return vexa::platform::d3d9::DeclarationOfFvf(FVF, pDeclarator) ? D3D_OK : D3DERR_INVALIDCALL;
}

WINAPI_EXPORT HRESULT WINAPI D3DXFVFFromDeclarator(const D3DVERTEXELEMENT9* pDeclarator,
                                                   DWORD* pFVF)
{
    if (!pDeclarator || !pFVF)
        return D3DERR_INVALIDCALL;
    return vexa::platform::d3d9::FvfOfDeclaration(pDeclarator, pFVF) ? D3D_OK : D3DERR_INVALIDCALL;
}

WINAPI_EXPORT UINT WINAPI D3DXGetDeclVertexSize(const D3DVERTEXELEMENT9* pDecl, DWORD Stream)
{
    const int length = vexa::platform::d3d9::DeclarationLength(pDecl);
    UINT size = 0;
    for (int i = 0; i < length; ++i)
        if (pDecl[i].Stream == Stream)
            size = std::max<UINT>(size, pDecl[i].Offset +
                                            vexa::platform::d3d9::DeclTypeSize(pDecl[i].Type));
    return size;
}

WINAPI_EXPORT UINT WINAPI D3DXGetFVFVertexSize(DWORD FVF)
{
    D3DVERTEXELEMENT9 declaration[MAX_FVF_DECL_SIZE];
    if (!vexa::platform::d3d9::DeclarationOfFvf(FVF, declaration))
        return 0;
    return D3DXGetDeclVertexSize(declaration, 0);
}
